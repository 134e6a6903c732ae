// Vocabulary, angles and the dispatch to the positions library, with no data
// files: what must hold whatever the data folder holds.

#include <gtest/gtest.h>

#include <filesystem>

#include <cstring>

#include <cerrno>

#include <cmath>
#include <limits>
#include <string>

#include "app/positions/pluto_tables.h"
#include "app/positions/position_failure.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "tests/positions/test_support.h"

namespace {

using namespace vlt;

constexpr double kPi = 3.14159265358979323846;

TEST(PlanetName, NamesAndAbbreviationsInBothCentricities) {
    const struct {
        std::int16_t planet;
        const char* geoName;
        const char* geoAbbr;
        const char* helioName;
        const char* helioAbbr;
    } cases[] = {
        {1, "Sun", "Su", "Earth", "Ea"},       {2, "Mercury", "Me", "Mercury", "Me"},
        {3, "Venus", "Ve", "Venus", "Ve"},     {4, "Mars", "Ma", "Mars", "Ma"},
        {5, "Jupiter", "Ju", "Jupiter", "Ju"}, {6, "Saturn", "Sa", "Saturn", "Sa"},
        {7, "Uranus", "Ur", "Uranus", "Ur"},   {8, "Neptune", "Ne", "Neptune", "Ne"},
        {9, "Pluto", "Pl", "Pluto", "Pl"},     {10, "Moon", "Mo", "Moon", "Mo"},
        {0, "Sun", "Su", "Earth", "Ea"},       {11, "Sun", "Su", "Earth", "Ea"},
        {-1, "Sun", "Su", "Earth", "Ea"},      {32767, "Sun", "Su", "Earth", "Ea"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlanetName(c.planet, false, false), c.geoName) << c.planet;
        EXPECT_EQ(PlanetName(c.planet, false, true), c.geoAbbr) << c.planet;
        EXPECT_EQ(PlanetName(c.planet, true, false), c.helioName) << c.planet;
        EXPECT_EQ(PlanetName(c.planet, true, true), c.helioAbbr) << c.planet;
    }
}

TEST(AspectTables, NamesLabelsAndAnglesAfterStartUp) {
    vlt_test::ScratchFolder folder;
    InitPositionsWithFolder(folder.Path());
    const struct {
        int index;
        double degrees;
        const char* abbreviation;
        const char* name;
        const char* relation;
        const char* adjective;
        const char* label;
    } cases[] = {
        {1, 0, "Con", "Conjunction", "conjunct", "conjunct", "conjunction (0\xC2\xB0)"},
        {2, 180, "Opp", "Opposition", "opposite", "opposite", "opposition (180\xC2\xB0)"},
        {3, 90, "Sqr", "Square", "square to", "square", "square (90\xC2\xB0)"},
        {4, 120, "Tri", "Trine", "trine to", "trine", "trine (120\xC2\xB0)"},
        {5, 60, "Sxt", "Sextile", "sextile to", "sextile", "sextile (60\xC2\xB0)"},
        {6, 30, "Ssx", "Semisextile", "semisextile to", "semisextile", "semisextile (30\xC2\xB0)"},
        {7, 150, "Qui", "Quincunx", "quincunx to", "quincunx", "quincunx (150\xC2\xB0)"},
    };
    for (const auto& c : cases) {
        const auto& r = AspectNames[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(r.abbreviation, c.abbreviation);
        EXPECT_EQ(r.name, c.name);
        EXPECT_EQ(r.relation, c.relation);
        EXPECT_EQ(r.adjective, c.adjective);
        EXPECT_EQ(r.label, c.label);
        // The 15-digit 2π makes the angles differ from the exact ones by
        // less than 1e-14 radians.
        EXPECT_NEAR(AspectAngles[static_cast<std::size_t>(c.index)], c.degrees * kPi / 180.0,
                    1e-13);
        EXPECT_EQ(AspectAngles[static_cast<std::size_t>(c.index)],
                  c.degrees / 360.0 * 6.28318530717959);
    }
    EXPECT_EQ(DataFolder(), folder.Path());
}

struct SeparationCase {
    double a, b;
    std::int16_t directionIn;
    double separation;
    std::int16_t directionOut;
};

TEST(AngularSeparation, ShortestWayAndDirection) {
    const double twoPi = 6.28318530717959;
    const SeparationCase cases[] = {
        {0.1, 6.2, 0, twoPi - 6.1, +1},  // the short way across 0: a ahead of b
        {6.2, 0.1, 0, twoPi - 6.1, -1},  // b ahead of a
        {1.0, 1.0, 5, 0.0, -1},          // equal: the first test matches
        {1.0, 2.5, 0, 1.5, -1},
        {2.5, 1.0, 0, 1.5, +1},
        {0.0, 3.0, 0, 3.0, -1},
        {3.0, 0.0, 0, 3.0, +1},
        {1.0, 1.0 + twoPi / 2, 0, twoPi / 2, -1},  // half a circle: the first test matches
        {6.2831852, 1e-7, 0, twoPi - 6.2831852 + 1e-7, -1},
        {std::numeric_limits<double>::quiet_NaN(), 1.0, 7, std::numeric_limits<double>::quiet_NaN(),
         7},
    };
    for (const auto& c : cases) {
        std::int16_t direction = c.directionIn;
        const double s = AngularSeparation(c.a, c.b, direction);
        if (std::isnan(c.separation)) {
            EXPECT_TRUE(std::isnan(s));
        } else {
            EXPECT_NEAR(s, c.separation, 1e-12) << c.a << " " << c.b;
            EXPECT_GE(s, 0.0);
            EXPECT_LE(s, twoPi / 2);  // half the 15-digit circle
        }
        EXPECT_EQ(direction, c.directionOut) << c.a << " " << c.b;
    }
    // The documented figure.
    std::int16_t direction = 0;
    EXPECT_NEAR(AngularSeparation(0.1, 6.2, direction), 0.183185, 5e-7);
}

TEST(ReduceAngle, IntoZeroToTwoPi) {
    const double twoPi = 6.28318530717959;
    const struct {
        double x;
        double expected;
    } cases[] = {
        {0.0, 0.0},
        {-0.1, twoPi - 0.1},
        {twoPi, 0.0},
        {7.0, 7.0 - twoPi},
        {-twoPi, 0.0},
        {3 * twoPi + 1.0, 1.0},
        {-13 * twoPi + 2.0, 2.0},
    };
    for (const auto& c : cases) EXPECT_NEAR(ReduceAngle(c.x), c.expected, 1e-12) << c.x;
    for (double x : {1e10, -1e10, 1e300, -1e300, 123456.789}) {
        const double r = ReduceAngle(x);
        EXPECT_GE(r, 0.0) << x;
        EXPECT_LT(r, twoPi) << x;
    }
    EXPECT_NEAR(ReduceAngle(1e10), std::fmod(1e10, twoPi), 1e-6);
    EXPECT_TRUE(std::isnan(ReduceAngle(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(ReduceAngle(std::numeric_limits<double>::quiet_NaN())));
}

TEST(YearOfJulianDay, CivilYearWithYearZeroAndClamping) {
    const struct {
        double jd;
        std::int16_t year;
    } cases[] = {
        {2451544.5, 2000}, {2451544.49, 1999}, {2460436.0, 2024},  {1721059.5, 0},
        {1721059.49, -1},  {2743738.5, 2800},  {2743738.49, 2799}, {2305447.5, 1600},
        {1e12, 32767},     {-1e12, -32768},    {1e300, 32767},
    };
    for (const auto& c : cases) EXPECT_EQ(YearOfJulianDay(c.jd), c.year) << c.jd;
}

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlutoTables();
        InitPositionsWithFolder(folder_.Path());  // holds no data files
    }
    vlt_test::ScratchFolder folder_;
};

TEST_F(Dispatch, ErrorCodesPassThroughUnchanged) {
    const struct {
        std::int16_t planet;
        double jd;
        bool heliocentric;
        double code;
    } cases[] = {
        {10, 2451545.0, false, -101.0},  // no moon.chb in this folder
        {10, 2305447.0, false, -99.0},   // the Moon's file begins in 1600
        {10, 2743918.5, false, -100.0},  // and ends with 2799
        {10, 2451545.0, true, -999.0},   // no heliocentric Moon
        {-1, 2451545.0, true, -999.0},
        {11, 2451545.0, false, -999.0},
        {5, 2743738.5, true, -100.0},  // 2800-01-01: after the data
        {5, 2743738.5, false, -100.0},
        {5, 1e12, false, -100.0},  // far future: the year is clamped, not wrapped
        {6, -1e12, true, -99.0},
        {7, 2305447.0, true, -99.0},   // 1599 for Uranus
        {5, 2451545.0, true, -101.0},  // no jupiter.dac in this folder
        {8, 2451545.0, false, -101.0},
        {9, 2451545.0, false, -101.0},  // Pluto tables not loaded: no file read
        {9, 2305447.0, true, -99.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlanetLongitude(c.planet, c.jd, c.heliocentric), c.code)
            << c.planet << " " << c.jd << " " << c.heliocentric;
    }
    EXPECT_FALSE(IsRetrograde(5, 2451545.0));
}

// A code of a data file turns into the message that names the file and says
// why; the dispatch remembers the first one met until it is cleared, and
// -99/-100 (a date outside the data) are never taken for one.
TEST_F(Dispatch, DataFileFailuresAreDescribedAndRemembered) {
    ClearPositionFailure();
    EXPECT_EQ(PlanetLongitude(5, 2743738.5, true), -100.0);
    EXPECT_EQ(PlanetLongitude(9, 2305447.0, true), -99.0);
    EXPECT_EQ(PlanetLongitude(10, 2451545.0, true), -999.0);
    EXPECT_FALSE(FirstPositionFailure().has_value());
    EXPECT_EQ(PlanetLongitude(6, 2451545.0, false), -101.0);  // no saturn.dac here
    EXPECT_EQ(PlanetLongitude(5, 2451545.0, true), -101.0);
    ASSERT_TRUE(FirstPositionFailure().has_value());
    EXPECT_EQ(FirstPositionFailure()->Message(),
              "Cannot read the data file saturn.dac: " + std::string(std::strerror(ENOENT)) + ".");
    ClearPositionFailure();
    EXPECT_FALSE(FirstPositionFailure().has_value());

    const struct {
        std::int16_t planet;
        double jd;
        bool heliocentric;
        double code;
        const char* message;
    } cases[] = {
        {7, 2460310.5, false, -107.0,
         "Cannot read the data file uranus.dac: the record for the years 2020 to 2024 is damaged."},
        {5, 2460310.5, true, -103.0,
         "Cannot read the data file jupiter.dac: the file ends before the record for the years "
         "2020 to 2024."},
        {8, 2451545.0, true, -104.0,
         "Cannot read the data file neptune.dac: no data folder is set."},
        {9, 2460310.5, false, -106.0, "Cannot read the data file pluto.slx: an entry is damaged."},
        {9, 2460310.5, true, -103.0,
         "Cannot read the data file hpluto.2199.slx: the table ends before 2024-01-01."},
        {9, 2460310.5, true, -101.0,
         "Cannot read the data file hpluto.2199.slx: the table has not been read."},
        {10, 2460310.5, false, -107.0,
         "Cannot read the data file moon.chb: the record for 2024-01-01 is damaged."},
        {10, 2460310.5, false, -103.0,
         "Cannot read the data file moon.chb: the file ends before the record for 2024-01-01."},
        {10, 2460310.5, false, -104.0,
         "Cannot read the data file moon.chb: no data folder is set."},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(IsDataFileFailure(c.code));
        EXPECT_EQ(DescribePositionFailure(c.planet, c.jd, c.heliocentric, c.code).Message(),
                  c.message);
    }
    for (double notAFileCode : {-99.0, -100.0, -105.0, -999.0, 0.0, 1.0}) {
        EXPECT_FALSE(IsDataFileFailure(notAFileCode)) << notAFileCode;
    }
    const struct {
        double value;
        PositionKind kind;
    } kinds[] = {
        {0.0, PositionKind::Longitude},          {6.28, PositionKind::Longitude},
        {-99.0, PositionKind::BeforeData},       {-100.0, PositionKind::AfterData},
        {-101.0, PositionKind::DataFileFailure}, {-107.0, PositionKind::DataFileFailure},
        {-105.0, PositionKind::NoPosition},      {-999.0, PositionKind::NoPosition},
    };
    for (const auto& k : kinds) EXPECT_EQ(ClassifyLongitude(k.value), k.kind) << k.value;
    // A folder in a data file's place is named as such.
    std::filesystem::create_directory(std::filesystem::path(DataFolder()) / "saturn.dac");
    EXPECT_EQ(DescribePositionFailure(6, 2451545.0, false, -101.0).Message(),
              "Cannot read the data file saturn.dac: " + std::string(std::strerror(EISDIR)) + ".");
    std::filesystem::remove(std::filesystem::path(DataFolder()) / "saturn.dac");
}

// Past the dispatch a position is a longitude or a kind of failure; the code
// stays only to name the failing file.
TEST_F(Dispatch, PositionsComeBackTypedWithTheirFailures) {
    const struct {
        std::int16_t planet;
        double jd;
        bool heliocentric;
        PositionKind kind;
    } cases[] = {
        {1, 2451545.0, true, PositionKind::Longitude},  // the Earth needs no file
        {1, 2451545.0, false, PositionKind::Longitude},
        {10, 2305447.0, false, PositionKind::BeforeData},
        {5, 2743738.5, true, PositionKind::AfterData},
        {5, 2451545.0, true, PositionKind::DataFileFailure},    // no jupiter.dac here
        {10, 2451545.0, false, PositionKind::DataFileFailure},  // no moon.chb
        {10, 2451545.0, true, PositionKind::NoPosition},        // no heliocentric Moon
        {5, std::nan(""), true, PositionKind::NoPosition},
    };
    for (const auto& c : cases) {
        const PositionResult r = PlanetPosition(c.planet, c.jd, c.heliocentric);
        EXPECT_EQ(r.Kind(), c.kind) << c.planet << " " << c.jd;
        EXPECT_EQ(r.HasLongitude(), c.kind == PositionKind::Longitude) << c.planet;
        EXPECT_EQ(r.IsDataFileFailure(), c.kind == PositionKind::DataFileFailure) << c.planet;
        if (r.HasLongitude()) {
            EXPECT_GE(r.Longitude(), 0.0);
            EXPECT_LT(r.Longitude(), kTwoPi);
        }
    }
    // The failure still names its file.
    const PositionResult jupiter = PlanetPosition(5, 2451545.0, true);
    EXPECT_EQ(DescribePositionFailure(5, 2451545.0, true, jupiter.FailureCode()).fileName,
              "jupiter.dac");
    EXPECT_EQ(PositionResult::None().Kind(), PositionKind::NoPosition);
}

TEST_F(Dispatch, SunAndEarthAreHalfACircleApartAndNumberZeroIsTheSun) {
    for (double jd = 2415020.5; jd < 2488069.5; jd += 3652.5) {
        const double sun = PlanetLongitude(1, jd, false);
        const double earth = PlanetLongitude(1, jd, true);
        ASSERT_GE(sun, 0.0);
        ASSERT_GE(earth, 0.0);
        std::int16_t direction = 0;
        // Apparent of date against J2000: precession up to 1.4°, aberration
        // and nutation under 0.01°.
        EXPECT_NEAR(AngularSeparation(sun, earth, direction), kPi, 1.5 * kPi / 180) << jd;
        // Program number 0 is passed on unchanged and means the same body.
        EXPECT_EQ(PlanetLongitude(0, jd, false), sun);
        EXPECT_EQ(PlanetLongitude(0, jd, true), earth);
        // Inner planets never fail.
        for (std::int16_t p : {2, 3, 4}) {
            for (bool helio : {false, true}) {
                const double l = PlanetLongitude(p, jd, helio);
                EXPECT_GE(l, 0.0);
                EXPECT_LT(l, 6.283185307179586);
            }
        }
    }
    EXPECT_FALSE(IsRetrograde(1, 2451545.0));
    EXPECT_FALSE(IsRetrograde(10, 2451545.0));
}

}  // namespace
