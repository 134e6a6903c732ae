// The Moon's records as the library reads them: hand-written records with
// known series, the answers to damaged and missing ones, and the committed
// file's records meeting at their boundaries.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "planets/include/planets_vlt.h"
#include "planets/src/planets_internal.h"
#include "tests/planets/dac_file_writer.h"

namespace {

constexpr double kUntouched = -12345.678;
constexpr double kArcsecond = 4.84813681109536e-6;

// Record `index` with the given leading coefficients (whole units), the rest
// zero; laid out field by field from the documented widths.
std::string moon_record(int index, long long l0, long long l1, long long r0) {
    std::string line;
    const auto field = [&line](long long value, int width) {
        char text[32];
        std::snprintf(text, sizeof text, "%*lld", width, value);
        line += text;
    };
    field(2305448 + 16 * index, pvlt::kMoonDayWidth);
    for (int k = 0; k < pvlt::kMoonLongitudeTerms; ++k)
        field(k == 0 ? l0 : k == 1 ? l1 : 0, pvlt::kMoonLongitudeWidths[k]);
    for (int k = 0; k < pvlt::kMoonDistanceTerms; ++k)
        field(k == 0 ? r0 : 0, pvlt::kMoonDistanceWidths[k]);
    return line + "\n";
}

TEST(Chebyshev, SumsOfKnownSeries) {
    const struct {
        double c[4];
        int count;
        double x;
        double expected;
    } cases[] = {
        {{3, 0, 0, 0}, 1, 0.7, 3.0},
        {{1, 2, 0, 0}, 2, -0.5, 0.0},                   // 1 + 2x
        {{1, 2, 3, 0}, 3, 0.5, 1 + 1 + 3 * (0.5 - 1)},  // T2 = 2x^2 - 1
        {{0, 0, 0, 1}, 4, 0.3, 4 * 0.027 - 3 * 0.3},    // T3 = 4x^3 - 3x
        {{0, 0, 0, 1}, 4, 1.0, 1.0},
        {{0, 0, 0, 1}, 4, -1.0, -1.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(pvlt::chebyshev_sum(c.c, c.count, c.x), c.expected, 1e-15) << c.x;
    }
}

class MoonFile : public ::testing::Test {
protected:
    void SetUp() override { set_datafiles_folder(folder_.text().c_str()); }
    void write(const std::string& bytes) {
        planets_test::write_file(folder_.path() / "moon.chb", bytes);
    }
    planets_test::TempFolder folder_{"moon"};
};

// Longitude 1 + 0.5 x rad and distance 0.00257 AU over each record's 16 days
// (x from -1 to 1): the value at known dates, reduced into [0, 2pi).
TEST_F(MoonFile, HandWrittenRecordsGiveTheirSeries) {
    write(moon_record(0, 10000000, 5000000, 25700) + moon_record(1, 70000000, 5000000, 25800));
    const struct {
        double jd;
        double longitude;
        double distance;
    } cases[] = {
        {2305447.5, 0.5, 0.00257},                            // first day of record 0, x = -1
        {2305455.5, 1.0, 0.00257},                            // its middle
        {2305461.5, 1.375, 0.00257},                          // x = 0.75
        {2305463.5, 7.0 - 0.5 - pvlt::kTwoPiExact, 0.00258},  // record 1, x = -1, reduced
    };
    for (const auto& c : cases) {
        double rv = 0.0;
        EXPECT_NEAR(gc_app_long_rv_planet(10, c.jd, 0, &rv), c.longitude, 1e-12) << c.jd;
        EXPECT_NEAR(rv, c.distance, 1e-15) << c.jd;
    }
}

TEST_F(MoonFile, DamagedMissingAndOutOfSpanRecordsGiveTheirCodes) {
    const std::string good = moon_record(0, 10000000, 5000000, 25700);
    std::string letter = good;
    letter[20] = 'x';
    std::string point = good;
    point[16] = '.';
    std::string no_line_feed = good;
    no_line_feed.back() = ' ';
    const struct {
        const char* what;
        std::string file;
        double jd;
        double code;
    } cases[] = {
        {"before 1600", good, 2305447.4, PLANETS_VLT_ERR_YEAR_BEFORE},
        {"from 2800 on", good, 2743918.5, PLANETS_VLT_ERR_YEAR_AFTER},
        {"not a date", good, std::numeric_limits<double>::quiet_NaN(), PLANETS_VLT_ERR_JD},
        {"past the file's end", good, 2305463.5, PLANETS_VLT_ERR_SHORT},
        {"a letter in a field", letter, 2305450.0, PLANETS_VLT_ERR_RECORD},
        {"a decimal point", point, 2305450.0, PLANETS_VLT_ERR_RECORD},
        {"no line feed", no_line_feed, 2305450.0, PLANETS_VLT_ERR_RECORD},
        {"another record's day", moon_record(1, 1, 1, 1), 2305450.0, PLANETS_VLT_ERR_RECORD},
        {"a shifted file", " " + good + good, 2305470.0, PLANETS_VLT_ERR_RECORD},
    };
    for (const auto& c : cases) {
        write(c.file);
        double rv = kUntouched;
        EXPECT_EQ(gc_app_long_rv_planet(10, c.jd, 2000, &rv), c.code) << c.what;
        EXPECT_EQ(rv, kUntouched) << c.what;
    }
}

TEST_F(MoonFile, NoFolderOrNoFileAndNoHeliocentricMoon) {
    double rv = kUntouched;
    EXPECT_EQ(gc_app_long_rv_planet(10, 2451545.0, 2000, &rv), PLANETS_VLT_ERR_OPEN);
    set_datafiles_folder("");
    EXPECT_EQ(gc_app_long_rv_planet(10, 2451545.0, 2000, &rv), PLANETS_VLT_ERR_NO_FOLDER);
    EXPECT_EQ(hc_j2000_long_rv_planet(10, 2451545.0, 2000, &rv), PLANETS_VLT_ERR_PLANET);
    EXPECT_EQ(rv, kUntouched);
}

// The committed file: every record is read and the series of neighbouring
// records meet at their common instant (each fit follows the ephemeris to
// a fraction of an arc second, so a wrong record or branch shows as a jump).
TEST(CommittedMoonFile, NeighbouringRecordsMeet) {
    ASSERT_GT(set_datafiles_folder((std::string(VLT_DATA_DIR) + "/").c_str()), 1);
    const int records =
        static_cast<int>((pvlt::kMoonEndJd - pvlt::kMoonFirstJd) / pvlt::kMoonBlockDays) + 1;
    double worst = 0.0;
    for (int k = 1; k < records; k += 37) {
        pvlt::MoonRecord before;
        pvlt::MoonRecord after;
        ASSERT_EQ(pvlt::moon_read_record(k - 1, &before), 0) << k;
        ASSERT_EQ(pvlt::moon_read_record(k, &after), 0) << k;
        const double end = pvlt::kMoonLongitudeUnit *
                           pvlt::chebyshev_sum(before.longitude, pvlt::kMoonLongitudeTerms, 1.0);
        const double start = pvlt::kMoonLongitudeUnit *
                             pvlt::chebyshev_sum(after.longitude, pvlt::kMoonLongitudeTerms, -1.0);
        worst = std::max(worst, std::fabs(std::remainder(end - start, pvlt::kTwoPiExact)));
    }
    EXPECT_LT(worst, 0.5 * kArcsecond);
    pvlt::MoonRecord past;
    EXPECT_EQ(pvlt::moon_read_record(records, &past), PLANETS_VLT_ERR_SHORT);
}

}  // namespace
