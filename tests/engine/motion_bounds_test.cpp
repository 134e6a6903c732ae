// The motion table against the program's own positions, sampled afresh at
// random grid points of every grid the scans walk: no sample may move or
// bend more than the table says (its figures are maxima, rounded up), and
// the table may not be far above what the samples reach (a figure in the
// wrong unit or the wrong row would make the scan skip nothing, or too
// much).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "app/engine/motion_bounds.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/calendar.h"
#include "app/support/date_processing.h"
#include "tests/common/fake_run_host.h"

namespace vlt::testing {
namespace {

constexpr double kDegreesPerRadian = 360.0 / kTwoPi;

double Wrap(double a) {
    while (a > kTwoPi / 2) a -= kTwoPi;
    while (a <= -kTwoPi / 2) a += kTwoPi;
    return a;
}

// 0h universal time of 1 January of the year after the one of x.
double NextNewYear(double x) {
    DateRecord newYear{JulDatYear(x) + 1, 1, 1, kCalendarGregorian, 0, 0};
    return DateToDayNumber(newYear) - 0.5;
}

struct Body {
    std::int16_t planet;
    bool heliocentric;
    double firstDay;  // span of its positions
    double lastDay;
    int samples;  // fewer for the data-file planets, which read a file per position
};

constexpr double kYear1 = 1721426, k1600 = 2305448, k2800 = 2743739;
const Body kBodies[] = {
    {kSun, false, kYear1, k2800, 4000},
    {kMercury, false, kYear1, k2800, 4000},
    {kVenus, false, kYear1, k2800, 4000},
    {kMars, false, kYear1, k2800, 4000},
    {kJupiter, false, kYear1, k2800, 600},
    {kSaturn, false, kYear1, k2800, 600},
    {kUranus, false, k1600, k2800, 600},
    {kNeptune, false, k1600, k2800, 600},
    {kPluto, false, kPlutoFirstDay, kGeoPlutoLastDay, 20000},
    {kSun, true, kYear1, k2800, 4000},
    {kMercury, true, kYear1, k2800, 4000},
    {kVenus, true, kYear1, k2800, 4000},
    {kMars, true, kYear1, k2800, 4000},
    {kJupiter, true, kYear1, k2800, 600},
    {kSaturn, true, kYear1, k2800, 600},
    {kUranus, true, k1600, k2800, 600},
    {kNeptune, true, k1600, k2800, 600},
    {kPluto, true, kPlutoFirstDay, kHelioPlutoLastDay, 20000},
};

TEST(MotionBounds, TableHoldsAndIsTightOnFreshSamples) {
    std::string folder = std::string(VLT_BIN_DIR) + "/";
    if (!std::filesystem::exists(folder + "jupiter.dac")) folder = std::string(VLT_DATA_DIR) + "/";
    ASSERT_TRUE(std::filesystem::exists(folder + "jupiter.dac")) << folder;
    InitPositionsWithFolder(folder);
    SilentBoxes boxes;
    ASSERT_TRUE(ReadPlutoData(boxes));
    std::mt19937 random(23);
    const double steps[3] = {0.125, 0.25, 0.5};
    for (const Body& body : kBodies) {
        const auto table = MeasuredMotion(body.planet, body.heliocentric);
        ASSERT_TRUE(table) << body.planet << " " << body.heliocentric;
        double rate = 0.0;
        double acceleration[3] = {};
        double jerk[3] = {};
        const auto halfHours = static_cast<unsigned>((body.lastDay - body.firstDay - 2) * 48);
        for (int i = 0; i < body.samples; ++i) {
            // A grid point on a whole half hour, as the scans' are; every
            // other one in the day before a new year, where the data files
            // change records.
            double x = body.firstDay + (random() % halfHours) / 48.0;
            if (i % 2 == 1 && NextNewYear(x) + 2 < body.lastDay) {
                x = NextNewYear(x) - (random() % 49) / 48.0;
            }
            const int g = i % 3;
            const double h = steps[g];
            const double a = PlanetLongitude(body.planet, x, body.heliocentric);
            const double b = PlanetLongitude(body.planet, x + h, body.heliocentric);
            const double c = PlanetLongitude(body.planet, x + 2 * h, body.heliocentric);
            const double d = PlanetLongitude(body.planet, x + 3 * h, body.heliocentric);
            ASSERT_TRUE(a >= 0 && b >= 0 && c >= 0 && d >= 0) << body.planet << " at " << x;
            const double m1 = Wrap(b - a), m2 = Wrap(c - b), m3 = Wrap(d - c);
            rate = std::max({rate, std::fabs(m1) / h, std::fabs(m2) / h});
            acceleration[g] = std::max(acceleration[g], std::fabs(m2 - m1) / (h * h));
            // Only inside one piece: a sample across a record boundary, which
            // half of the new-year samples are for the data-file planets,
            // would exceed it if the pieces were placed wrongly.
            if (SmoothPiece(body.planet, x) == SmoothPiece(body.planet, x + 3 * h)) {
                jerk[g] = std::max(jerk[g], std::fabs(m3 - 2 * m2 + m1) / (h * h * h));
            }
        }
        SCOPED_TRACE("planet " + std::to_string(body.planet) +
                     (body.heliocentric ? " heliocentric" : " geocentric"));
        EXPECT_LE(rate * kDegreesPerRadian, table->rate);
        EXPECT_GT(rate * kDegreesPerRadian, 0.5 * table->rate);
        for (int g = 0; g < 3; ++g) {
            EXPECT_LE(acceleration[g] * kDegreesPerRadian, table->acceleration[g]) << steps[g];
            EXPECT_GT(acceleration[g] * kDegreesPerRadian, 0.05 * table->acceleration[g])
                << steps[g];
            EXPECT_LE(jerk[g] * kDegreesPerRadian, table->jerk[g]) << steps[g];
            EXPECT_GT(jerk[g] * kDegreesPerRadian, 0.05 * table->jerk[g]) << steps[g];
        }
    }
}

// The pieces change where the data files change record, and only there:
// at 0h on 1 January of a year divisible by 5, for Jupiter to Neptune.  The
// positions themselves are the oracle: four half-day points straddling such
// a new year bend more than the table's third difference allows inside a
// piece (the records' jump), and across any other new year they do not.
TEST(MotionBounds, PiecesChangeWhereTheRecordsDo) {
    std::string folder = std::string(VLT_BIN_DIR) + "/";
    if (!std::filesystem::exists(folder + "jupiter.dac")) folder = std::string(VLT_DATA_DIR) + "/";
    InitPositionsWithFolder(folder);
    struct Case {
        std::int16_t planet;
        bool heliocentric;
        int year;
        bool recordChange;
    };
    const Case cases[] = {
        {kJupiter, false, 2000, true},  {kJupiter, false, 2001, false},
        {kSaturn, false, 1605, true},   {kSaturn, false, 1604, false},
        {kUranus, false, 2795, true},   {kNeptune, false, 2100, true},
        {kNeptune, false, 2099, false}, {kJupiter, true, 1800, true},
        {kMars, false, 2000, false},    {kSun, false, 1900, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("planet " + std::to_string(c.planet) + " year " + std::to_string(c.year));
        DateRecord date{c.year, 1, 1, kCalendarGregorian, 0, 0};
        const double newYear = DateToDayNumber(date) - 0.5;
        const double before = newYear - 1.0 / 48, after = newYear + 1.0 / 48;
        EXPECT_EQ(SmoothPiece(c.planet, before) != SmoothPiece(c.planet, after), c.recordChange);
        double lon[4];
        for (int i = 0; i < 4; ++i) {
            lon[i] = PlanetLongitude(c.planet, newYear - 0.75 + 0.5 * i, c.heliocentric);
        }
        const double third =
            std::fabs(Wrap(lon[3] - lon[2]) - 2 * Wrap(lon[2] - lon[1]) + Wrap(lon[1] - lon[0])) /
            0.125 * kDegreesPerRadian;
        EXPECT_EQ(third > MeasuredMotion(c.planet, c.heliocentric)->jerk[2], c.recordChange)
            << third;
    }
}

}  // namespace
}  // namespace vlt::testing
