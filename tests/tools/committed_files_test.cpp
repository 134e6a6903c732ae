// The committed data files: sizes, layout and plausibility of every record
// and every table entry, checked without the reference ephemeris.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>

#include "tests/tools/committed_data.h"
#include "tools/data_format.h"
#include "tools/pluto_codec.h"

namespace vlt::datagen {
namespace {

using testing::ReadDataFile;
using testing::SplitLines;

bool IsGregorianLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

struct PlanetFile {
    const char* file;
    int first_year;
    int records;
    double first_start_jd;  // 0h on January 1 of the first year
    double min_radius, max_radius, max_latitude_degrees;
};

const PlanetFile kPlanetFiles[] = {
    {"jupiter.dac", -4000, 1360, 260089.5, 4.9, 5.5, 2.0},
    {"saturn.dac", -4000, 1360, 260089.5, 8.8, 10.3, 3.2},
    {"uranus.dac", 1600, 240, 2305447.5, 18.1, 20.2, 1.0},
    {"neptune.dac", 1600, 240, 2305447.5, 29.7, 30.5, 2.0},
};

void PrintTo(const PlanetFile& p, std::ostream* os) { *os << p.file; }

class DacFile : public ::testing::TestWithParam<PlanetFile> {};

TEST_P(DacFile, HasExactlyItsRecords) {
    const PlanetFile& p = GetParam();
    EXPECT_EQ(ReadDataFile(p.file).size(), static_cast<std::size_t>(235 * p.records));
}

TEST_P(DacFile, EveryRecordParsesAndCoversItsFiveYears) {
    const PlanetFile& p = GetParam();
    const std::string contents = ReadDataFile(p.file);
    ASSERT_EQ(contents.size(), static_cast<std::size_t>(235 * p.records));
    constexpr double kDegree = std::numbers::pi / 180;
    double start = p.first_start_jd;
    for (int k = 0; k < p.records; ++k) {
        const std::string text = contents.substr(235 * static_cast<std::size_t>(k), 235);
        SCOPED_TRACE(std::string(p.file) + " record " + std::to_string(k));
        const auto record = ParseRecord(text);
        ASSERT_TRUE(record.has_value()) << text;
        for (std::size_t offset = 5; offset < 235; offset += 10) {
            ASSERT_TRUE(text[offset] == ' ' || text[offset] == '-') << offset;
        }
        const int year = p.first_year + 5 * k;
        ASSERT_EQ(record->first_year, year);
        int days = 0;
        for (int y = year; y < year + 5; ++y) days += IsGregorianLeap(y) ? 366 : 365;
        ASSERT_EQ(record->end_jd, start + days);
        ASSERT_EQ(record->t0, start + days / 2.0);
        const double lon0 = record->coefficients[0][0];
        EXPECT_GE(lon0, -1e-7);
        EXPECT_LT(lon0, 2 * std::numbers::pi + 1e-7);
        EXPECT_LE(std::fabs(record->coefficients[1][0]), p.max_latitude_degrees * kDegree);
        EXPECT_GE(record->coefficients[2][0], p.min_radius);
        EXPECT_LE(record->coefficients[2][0], p.max_radius);
        // The motion in longitude is direct: positive over the whole block.
        for (double jd = start - 30; jd <= start + days + 30; jd += 20) {
            const double step =
                EvaluateQuantity(*record, 0, jd + 1) - EvaluateQuantity(*record, 0, jd);
            ASSERT_GT(step, 0.0) << jd;
            ASSERT_LT(step, 0.0018) << jd;  // faster than Jupiter ever moves
        }
        start += days;
    }
}

INSTANTIATE_TEST_SUITE_P(OuterPlanets, DacFile, ::testing::ValuesIn(kPlanetFiles),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

struct PlutoFile {
    const char* file;
    bool geocentric;
    int entries;
    double max_daily_change_arcsec;
};

const PlutoFile kPlutoFiles[] = {
    // Geocentric motion stays under 2.5' a day; one minute of rounding on top.
    {"pluto.slx", true, kGeoPlutoEntries, 4 * 60},
    // Heliocentric motion stays under 25" a day; one second of rounding.
    {"hpluto.2199.slx", false, kHelioPlutoEntries, 30},
};

void PrintTo(const PlutoFile& p, std::ostream* os) { *os << p.file; }

class PlutoTable : public ::testing::TestWithParam<PlutoFile> {};

TEST_P(PlutoTable, OneValidEntryPerLineWithSmoothMotion) {
    const PlutoFile& p = GetParam();
    const std::string contents = ReadDataFile(p.file);
    ASSERT_FALSE(contents.empty());
    EXPECT_EQ(contents.find('\r'), std::string::npos) << "lines end in a line feed alone";
    std::string tail;
    const auto lines = SplitLines(contents, &tail);
    EXPECT_TRUE(tail.empty()) << "the last line has its line feed";
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(p.entries));
    const double unit = p.geocentric ? 60.0 : 1.0;  // arc seconds per unit
    const int turn = p.geocentric ? kMinutesPerTurn : kSecondsPerTurn;
    int previous = 0;
    for (int i = 0; i < p.entries; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i)];
        for (char c : line) {
            ASSERT_GE(static_cast<unsigned char>(c), kLowestCode) << i;
            ASSERT_LE(static_cast<unsigned char>(c), kHighestCode) << i;
        }
        const auto value = p.geocentric ? DecodeGeoEntry(i, line) : DecodeHelioEntry(i, line);
        ASSERT_TRUE(value.has_value()) << p.file << " entry " << i << " '" << line << "'";
        if (i > 0) {
            int change = *value - previous;
            if (change > turn / 2) change -= turn;
            if (change < -turn / 2) change += turn;
            ASSERT_LE(std::abs(change) * unit, p.max_daily_change_arcsec)
                << p.file << " entry " << i;
            if (!p.geocentric) {
                ASSERT_GT(change, 0) << "heliocentric motion is direct, entry " << i;
            }
        }
        previous = *value;
    }
}

INSTANTIATE_TEST_SUITE_P(Pluto, PlutoTable, ::testing::ValuesIn(kPlutoFiles),
                         [](const auto& info) { return info.param.geocentric ? "geo" : "helio"; });

}  // namespace
}  // namespace vlt::datagen
