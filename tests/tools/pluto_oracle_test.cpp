// Every entry of the committed Pluto tables against the reference
// ephemeris, queried here directly with the flags each table stands for.
#include <gtest/gtest.h>
#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

#include "tests/tools/committed_data.h"
#include "tools/pluto_codec.h"

namespace vlt::datagen {
namespace {

using testing::ReadDataFile;
using testing::SplitLines;

struct Table {
    const char* name;
    const char* file;
    int entries;
    bool geocentric;
    int flags;
    double tolerance_arcsec;  // half the unit of rounding and a little more
};

const Table kTables[] = {
    // Apparent place of date: light time, aberration, true equinox.
    {"geo", "pluto.slx", kGeoPlutoEntries, true, 0, 31.0},
    // Geometric heliocentric, equinox and ecliptic of J2000.0.
    {"helio", "hpluto.2199.slx", kHelioPlutoEntries, false,
     SEFLG_HELCTR | SEFLG_TRUEPOS | SEFLG_J2000, 0.6},
};

void PrintTo(const Table& b, std::ostream* os) { *os << b.file; }

class PlutoAgainstReference : public ::testing::TestWithParam<Table> {
protected:
    static void SetUpTestSuite() { swe_set_ephe_path(VLT_SWE_EPHE_DIR); }
    static void TearDownTestSuite() { swe_close(); }
};

// Every entry: a single edited line anywhere in a table shows.
TEST_P(PlutoAgainstReference, EveryEntryIsWithinRounding) {
    const Table& t = GetParam();
    std::string tail;
    const auto lines = SplitLines(ReadDataFile(t.file), &tail);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(t.entries));
    double worst = 0;
    for (int i = 0; i < t.entries; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i)];
        const auto units = t.geocentric ? DecodeGeoEntry(i, line) : DecodeHelioEntry(i, line);
        ASSERT_TRUE(units.has_value()) << t.file << " entry " << i;
        const double arcsec = *units * (t.geocentric ? 60.0 : 1.0);
        // Entry i is 0h of the day 2305448 + i, read as dynamical time.
        double xx[6];
        char error[AS_MAXCH] = "";
        const int result = swe_calc(2305447.5 + i, SE_PLUTO, t.flags | SEFLG_SWIEPH, xx, error);
        ASSERT_GE(result, 0) << error;
        ASSERT_NE(result & SEFLG_SWIEPH, 0);
        const double difference = std::fabs(std::remainder(arcsec - xx[0] * 3600, 1296000.0));
        ASSERT_LE(difference, t.tolerance_arcsec) << t.file << " entry " << i;
        worst = std::max(worst, difference);
    }
    RecordProperty("max_difference_arcsec", std::to_string(worst));
}

INSTANTIATE_TEST_SUITE_P(Pluto, PlutoAgainstReference, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vlt::datagen
