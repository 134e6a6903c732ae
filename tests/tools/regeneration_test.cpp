// Parts of the committed files made again from the reference ephemeris must
// match them byte for byte: a hand edit, a stale file or a generator that no
// longer reproduces its output shows here.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "tests/tools/committed_data.h"
#include "tools/data_format.h"
#include "tools/ephemeris_source.h"
#include "tools/moon_records.h"
#include "tools/pluto_codec.h"

namespace vlt::datagen {
namespace {

using testing::ReadDataFile;
using testing::SplitLines;

class Regeneration : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OpenEphemeris(VLT_SWE_EPHE_DIR); }
    static void TearDownTestSuite() { CloseEphemeris(); }
};

TEST_F(Regeneration, RecordsMatchTheCommittedFiles) {
    std::mt19937 rng(4242);
    for (const OuterPlanet& planet : OuterPlanets()) {
        const std::string contents = ReadDataFile(planet.file);
        ASSERT_EQ(contents.size(), static_cast<std::size_t>(kRecordLength * planet.records))
            << planet.file;
        std::set<int> records = {0, planet.records / 2, planet.records - 1};
        while (records.size() < 6) records.insert(static_cast<int>(rng() % planet.records));
        for (int k : records) {
            const auto made = MakeDacRecord(planet, k, nullptr);
            ASSERT_TRUE(made.has_value()) << planet.file << " record " << k;
            EXPECT_EQ(*made,
                      contents.substr(static_cast<std::size_t>(kRecordLength) * k, kRecordLength))
                << planet.file << " record " << k;
        }
    }
}

TEST_F(Regeneration, MoonRecordsMatchTheCommittedFile) {
    const MoonSampler sampler = [](double jd, double* longitude, double* distance) {
        return MoonApparentAtUniversalTime(jd, longitude, distance);
    };
    const std::string contents = ReadDataFile(pvlt::kMoonFile);
    const auto bytes = static_cast<std::size_t>(pvlt::kMoonRecordBytes);
    ASSERT_EQ(contents.size(), bytes * kMoonRecords);
    std::mt19937 rng(2026);
    std::set<int> records = {0, kMoonRecords / 2, kMoonRecords - 1};
    while (records.size() < 40) records.insert(static_cast<int>(rng() % kMoonRecords));
    for (int k : records) {
        MoonFitQuality quality;
        const auto fitted = FitMoonRecord(k, sampler, &quality);
        ASSERT_TRUE(fitted.has_value()) << k;
        const auto made = FormatMoonRecord(*fitted);
        ASSERT_TRUE(made.has_value()) << k;
        EXPECT_EQ(*made, contents.substr(bytes * static_cast<std::size_t>(k), bytes)) << k;
        // Between its nodes the series stays within a fraction of an arc
        // second of the ephemeris.
        EXPECT_LT(quality.longitude, 0.25 / 206264.806) << k;
    }
}

TEST_F(Regeneration, PlutoEntriesMatchTheCommittedTables) {
    std::mt19937 rng(99);
    struct Table {
        const char* file;
        int entries;
        bool geocentric;
    };
    for (const Table& t : {Table{"pluto.slx", kGeoPlutoEntries, true},
                           Table{"hpluto.2199.slx", kHelioPlutoEntries, false}}) {
        std::string tail;
        const auto lines = SplitLines(ReadDataFile(t.file), &tail);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(t.entries)) << t.file;
        std::set<int> indices = {0, 1, t.entries - 2, t.entries - 1};
        while (indices.size() < 300) indices.insert(static_cast<int>(rng() % t.entries));
        for (int i : indices) {
            const auto made = t.geocentric ? MakeGeoPlutoEntry(i) : MakeHelioPlutoEntry(i);
            ASSERT_TRUE(made.has_value()) << t.file << " entry " << i;
            EXPECT_EQ(*made, lines[static_cast<std::size_t>(i)]) << t.file << " entry " << i;
        }
    }
}

}  // namespace
}  // namespace vlt::datagen
