// The exported functions and the series bodies: published reference values,
// planet numbering, angle reduction and the answers to bad input.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "planets/include/planets_vlt.h"
#include "planets/src/planets_internal.h"
#include "tests/planets/dac_file_writer.h"

namespace {

constexpr double kDeg = 57.29577951308232;
constexpr double kJ2000 = 2451545.0;

// A value that no computation produces, to see whether a pointer was written.
constexpr double kUntouched = -12345.678;

bool in_circle(double angle) { return angle >= 0.0 && angle < pvlt::kTwoPiExact; }

TEST(ReferenceValues, SunGeometricAtJ2000) {
    double rv = 0.0;
    const double l = pvlt::sun_long_rv(kJ2000, &rv);
    EXPECT_NEAR(l * kDeg, 280.3778, 0.00005);
    EXPECT_NEAR(l, 4.893516, 0.0000005);
    EXPECT_NEAR(rv, 0.983326, 0.0000005);
}

TEST(ReferenceValues, SunApparentAtJ2000) {
    double rv = 0.0;
    const double l = pvlt::sun_app_long_rv(kJ2000, &rv);
    EXPECT_NEAR(l * kDeg, 280.3682, 0.00005);
    EXPECT_NEAR(rv, 0.983326, 0.0000005);
    // The same through the export, for both numbers of the Sun.
    for (int planet : {0, 3}) {
        double rv2 = 0.0;
        EXPECT_NEAR(gc_app_long_rv_planet(planet, kJ2000, 2000, &rv2) * kDeg, 280.3682, 0.00005);
        EXPECT_NEAR(rv2, 0.983326, 0.0000005);
    }
}

TEST(ReferenceValues, SunCorrectionsAtJ2000) {
    // Nutation -0.00379 deg and the Sun's aberration row -0.00579 deg.
    EXPECT_NEAR(pvlt::nutation_in_longitude(kJ2000) * kDeg, -0.00379, 0.000005);
    const double with_corrections = pvlt::app_correction(kJ2000, 0, 1.0);
    EXPECT_NEAR((with_corrections - 1.0) * kDeg, -0.00579 - 0.00379, 0.00001);
}

TEST(ReferenceValues, EarthJ2000LongitudeAtJ2000) {
    for (int planet : {0, 3}) {
        double rv = 0.0;
        const double l = hc_j2000_long_rv_planet(planet, kJ2000, 2000, &rv);
        EXPECT_NEAR(l * kDeg, 100.37475, 0.00005);
        EXPECT_NEAR(l, 1.75187, 0.000005);
        EXPECT_NEAR(rv, 0.983326, 0.0000005);
    }
}

TEST(ReferenceValues, PrecessionStepAtJ2000Is0_003052Degrees) {
    for (int planet : {0, 1, 2, 4}) {
        const double of_date = pvlt::hc_long_lat_rv_planet(planet, kJ2000, 2000, nullptr, nullptr);
        const double j2000 = hc_j2000_long_rv_planet(planet, kJ2000, 2000, nullptr);
        EXPECT_NEAR((of_date - j2000) * kDeg, 0.003052, 0.0000005) << "planet " << planet;
    }
}

TEST(ReferenceValues, LatitudeAndDistanceUnchangedByPrecession) {
    for (int planet : {1, 2, 4}) {
        double lat = 0.0, rv = 0.0, lat2 = 0.0, rv2 = 0.0;
        pvlt::hc_long_lat_rv_planet(planet, 2455000.25, 2009, &lat, &rv);
        hc_j2000_long_lat_rv_planet(planet, 2455000.25, 2009, &lat2, &rv2);
        EXPECT_EQ(lat, lat2);
        EXPECT_EQ(rv, rv2);
    }
}

TEST(ReferenceValues, SetFolderReturnsLengthPlusOne) {
    EXPECT_EQ(set_datafiles_folder("/a/b/cd/"), 9);
    EXPECT_EQ(set_datafiles_folder(""), 1);
    EXPECT_STREQ(pvlt::data_folder(), "");
}

// Every operation refuses a planet outside 0..8 and writes nothing; the one
// exception is the geocentric function, for which 10 is the Moon.
TEST(PlanetNumbers, UnsupportedNumbersAreRefused) {
    for (int planet : {9, 10, 11, -1, -3, 100, INT_MAX, INT_MIN}) {
        for (double jd : {kJ2000, 2440000.5}) {
            double lat = kUntouched, rv = kUntouched;
            if (planet != 10) {
                EXPECT_EQ(gc_app_long_rv_planet(planet, jd, 2000, &rv), -999.0);
            }
            EXPECT_EQ(hc_j2000_long_rv_planet(planet, jd, 2000, &rv), -999.0);
            EXPECT_EQ(hc_j2000_long_lat_rv_planet(planet, jd, 2000, &lat, &rv), -999.0);
            EXPECT_EQ(pvlt::hc_long_lat_rv_planet(planet, jd, 2000, &lat, &rv), -999.0);
            EXPECT_EQ(pvlt::gc_geom_long_lat_rv(planet, jd, 2000, &lat, &rv), -999.0);
            EXPECT_EQ(lat, kUntouched) << planet;
            EXPECT_EQ(rv, kUntouched) << planet;
        }
    }
}

TEST(PlanetNumbers, ZeroAndThreeAreTheSameBody) {
    for (double jd : {kJ2000, 2415020.5, 2488069.25, 1000000.5, 3000000.0}) {
        double lat0 = 1, rv0 = 1, lat3 = 2, rv3 = 2;
        EXPECT_EQ(gc_app_long_rv_planet(0, jd, 2000, &rv0),
                  gc_app_long_rv_planet(3, jd, 2000, &rv3));
        EXPECT_EQ(rv0, rv3);
        EXPECT_EQ(hc_j2000_long_rv_planet(0, jd, 2000, &rv0),
                  hc_j2000_long_rv_planet(3, jd, 2000, &rv3));
        EXPECT_EQ(rv0, rv3);
        EXPECT_EQ(hc_j2000_long_lat_rv_planet(0, jd, 2000, &lat0, &rv0),
                  hc_j2000_long_lat_rv_planet(3, jd, 2000, &lat3, &rv3));
        EXPECT_EQ(lat0, 0.0);
        EXPECT_EQ(lat3, 0.0);
        EXPECT_EQ(rv0, rv3);
        EXPECT_EQ(pvlt::gc_geom_long_lat_rv(0, jd, 2000, &lat0, &rv0),
                  pvlt::gc_geom_long_lat_rv(3, jd, 2000, &lat3, &rv3));
        EXPECT_EQ(pvlt::app_correction(jd, 0, 1.0), pvlt::app_correction(jd, 3, 1.0));
    }
}

TEST(PlanetNumbers, EarthIsTheSunSeenFromTheOtherSide) {
    for (double jd : {kJ2000, 2433282.5, 2469807.5}) {
        double rs = 0.0, re = 0.0, lat = 1.0;
        const double sun = pvlt::sun_long_rv(jd, &rs);
        const double earth = pvlt::hc_long_lat_rv_planet(0, jd, 2000, &lat, &re);
        EXPECT_NEAR(std::remainder(earth - sun - std::numbers::pi, pvlt::kTwoPiExact), 0.0, 1e-12);
        EXPECT_EQ(lat, 0.0);
        EXPECT_EQ(rs, re);
    }
}

TEST(PlanetNumbers, EmptyFolderStopsOnlyTheFilePlanets) {
    set_datafiles_folder("");
    for (int planet = 0; planet <= 8; ++planet) {
        double lat = kUntouched, rv = kUntouched;
        const double gc = gc_app_long_rv_planet(planet, kJ2000, 2000, &rv);
        const double hc = hc_j2000_long_lat_rv_planet(planet, kJ2000, 2000, &lat, &rv);
        if (planet >= 5) {
            EXPECT_EQ(gc, -104.0) << planet;
            EXPECT_EQ(hc, -104.0) << planet;
            EXPECT_EQ(lat, kUntouched);
            EXPECT_EQ(rv, kUntouched);
        } else {
            EXPECT_TRUE(in_circle(gc)) << planet;
            EXPECT_TRUE(in_circle(hc)) << planet;
            EXPECT_NE(rv, kUntouched);
        }
    }
}

TEST(SeriesBodies, MercuryAtJ2000IsTheConstantPlusTheTableAndTheLongTerm) {
    // Sum of the longitude table at U = 0, straight from the terms.
    const pvlt::PeriodicTable& t = pvlt::periodic_tables()[0];
    ASSERT_STREQ(t.name, "mercury_longitude");
    double sum = 0.0;
    for (int i = 0; i < t.count; ++i) sum += t.terms[i].amplitude * std::sin(t.terms[i].phase);
    const double expected =
        std::fmod(4.4429839 + 1e-7 * sum + 0.4098942 * std::sin(3.053817), pvlt::kTwoPiExact);
    EXPECT_NEAR(pvlt::mercury_long_lat_rv(kJ2000, nullptr, nullptr), expected, 1e-12);
}

struct BodyRange {
    const char* name;
    int planet;
    double min_rv, max_rv, max_abs_lat;
};

// Far from J2000 (U = -0.6 in the year -4000, U = +0.08 in 2800) every body
// still gives a longitude in [0, 2pi) and a plausible latitude and distance.
TEST(SeriesBodies, DatesAtTheEndsOfTheTheoryStayInRange) {
    const BodyRange bodies[] = {
        {"Earth", 0, 0.98, 1.02, 0.0},
        {"Mercury", 1, 0.30, 0.47, 0.13},
        {"Venus", 2, 0.71, 0.73, 0.07},
        {"Mars", 4, 1.37, 1.67, 0.04},
    };
    for (const BodyRange& b : bodies) {
        for (double u : {-0.6, -0.3, 0.0, 0.05, 0.08}) {
            for (double offset : {0.0, 17.3, 101.9, 250.0}) {
                const double jd = kJ2000 + u * 3652500.0 + offset;
                double lat = 99.0, rv = 99.0;
                const double l = pvlt::hc_long_lat_rv_planet(b.planet, jd, 2000, &lat, &rv);
                EXPECT_TRUE(in_circle(l)) << b.name << " jd " << jd;
                EXPECT_GE(rv, b.min_rv) << b.name << " jd " << jd;
                EXPECT_LE(rv, b.max_rv) << b.name << " jd " << jd;
                EXPECT_LE(std::fabs(lat), b.max_abs_lat + 1e-15) << b.name << " jd " << jd;
                EXPECT_TRUE(in_circle(gc_app_long_rv_planet(b.planet, jd, 2000, nullptr)))
                    << b.name;
                EXPECT_TRUE(in_circle(hc_j2000_long_rv_planet(b.planet, jd, 2000, nullptr)))
                    << b.name;
            }
        }
    }
}

struct ReduceCase {
    double in;
    double out;
};

TEST(ReduceAngle, IntoZeroToTwoPi) {
    const ReduceCase cases[] = {
        {0.0, 0.0},
        {pvlt::kTwoPiExact, 0.0},
        {-pvlt::kTwoPiExact, 0.0},
        {2.0 * pvlt::kTwoPiExact, 0.0},
        {-0.001, pvlt::kTwoPiExact - 0.001},
        {1.0, 1.0},
        {1.0 + 3.0 * pvlt::kTwoPiExact,
         std::fmod(1.0 + 3.0 * pvlt::kTwoPiExact, pvlt::kTwoPiExact)},
        {-1.0 - 5.0 * pvlt::kTwoPiExact,
         pvlt::kTwoPiExact + std::fmod(-1.0 - 5.0 * pvlt::kTwoPiExact, pvlt::kTwoPiExact)},
    };
    for (const ReduceCase& c : cases) {
        EXPECT_NEAR(pvlt::reduce_angle(c.in), c.out, 1e-12) << c.in;
        EXPECT_TRUE(in_circle(pvlt::reduce_angle(c.in))) << c.in;
    }
}

TEST(ReduceAngle, EdgesNeverReachTwoPi) {
    // A tiny negative angle plus 2pi rounds to 2pi; the answer must still be
    // inside the circle.  Large angles must come back without looping.
    for (double a : {-1e-18, -1e-300, -0.0, std::nextafter(pvlt::kTwoPiExact, 0.0), 1e12, -1e12,
                     1e300, -1e300}) {
        EXPECT_TRUE(in_circle(pvlt::reduce_angle(a))) << a;
    }
}

TEST(ReduceAngle, SlightlyNegativeGeometricLongitudeEndsInTheCircle) {
    for (int planet : {0, 1, 2, 4, 5, 6, 7, 8}) {
        for (double jd : {kJ2000, 2440000.5, 2460000.5}) {
            const double l = pvlt::reduce_angle(pvlt::app_correction(jd, planet, -0.001));
            EXPECT_TRUE(in_circle(l)) << planet;
            // The corrections are a few arc minutes at most.
            EXPECT_NEAR(l, pvlt::kTwoPiExact - 0.001, 0.001) << planet;
        }
    }
}

TEST(AppCorrection, ErrorCodesPassUnchanged) {
    for (double code : {-99.0, -100.0, -101.0, -104.0, -105.0, -999.0}) {
        EXPECT_EQ(pvlt::app_correction(kJ2000, 5, code), code);
    }
    EXPECT_EQ(pvlt::app_correction(kJ2000, 9, 1.0), -999.0);
}

struct GeoCase {
    double ls, rs, l, b, r;
    double lambda, beta, rho;
};

TEST(HelioToGeo, HandWorkedPositions) {
    const double s3 = std::sqrt(3.0);
    const GeoCase cases[] = {
        // Sun at longitude 0, 1 AU; planet at 90 deg, 1 AU, in the ecliptic.
        {0.0, 1.0, std::numbers::pi / 2, 0.0, 1.0, std::numbers::pi / 4, 0.0, std::sqrt(2.0)},
        // Planet 30 deg above the ecliptic at 2 AU.
        {0.0, 1.0, std::numbers::pi / 2, std::numbers::pi / 6, 2.0, std::numbers::pi / 3,
         std::atan(0.5), std::sqrt(5.0)},
        // Opposition: planet straight behind the Earth, seen opposite the Sun.
        {std::numbers::pi, 1.0, 0.0, 0.0, 1.5, 0.0, 0.0, 0.5},
        // Conjunction beyond the Sun.
        {0.0, 1.0, 0.0, 0.0, 5.2, 0.0, 0.0, 6.2},
        // Planet below the ecliptic, third quadrant.
        {std::numbers::pi, 1.0, std::numbers::pi, -std::numbers::pi / 4, 2.0 * std::sqrt(2.0),
         std::numbers::pi, -std::atan(2.0 / 3.0), std::sqrt(13.0)},
        // Inferior position in the fourth quadrant.
        {0.0, 1.0, -std::numbers::pi / 3, 0.0, 2.0, -std::atan2(s3, 2.0), 0.0, std::sqrt(7.0)},
    };
    for (const GeoCase& c : cases) {
        double beta = 99.0, rho = 99.0;
        const double lambda = pvlt::helio_to_geo(c.ls, c.rs, c.l, c.b, c.r, &beta, &rho);
        EXPECT_NEAR(std::remainder(lambda - c.lambda, pvlt::kTwoPiExact), 0.0, 1e-14);
        EXPECT_GT(lambda, -std::numbers::pi);
        EXPECT_LE(lambda, std::numbers::pi);
        EXPECT_NEAR(beta, c.beta, 1e-14);
        EXPECT_NEAR(rho, c.rho, 1e-14);
    }
}

// ---- Bad input --------------------------------------------------------------

TEST(BadInput, NonFiniteJulianDayIsAnErrorCode) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    planets_test::TempFolder folder("nonfinite");
    planets_test::write_numbered_file(folder.path() / "jupiter.dac", -4000, 1360);
    set_datafiles_folder(folder.text().c_str());
    for (double jd : {nan, inf, -inf}) {
        for (int planet = 0; planet <= 8; ++planet) {
            double lat = kUntouched, rv = kUntouched;
            EXPECT_EQ(gc_app_long_rv_planet(planet, jd, 2000, &rv), PLANETS_VLT_ERR_JD) << planet;
            EXPECT_EQ(hc_j2000_long_rv_planet(planet, jd, 2000, &rv), PLANETS_VLT_ERR_JD) << planet;
            EXPECT_EQ(hc_j2000_long_lat_rv_planet(planet, jd, 2000, &lat, &rv), PLANETS_VLT_ERR_JD);
            EXPECT_EQ(pvlt::gc_geom_long_lat_rv(planet, jd, 2000, &lat, &rv), PLANETS_VLT_ERR_JD);
            EXPECT_EQ(lat, kUntouched);
            EXPECT_EQ(rv, kUntouched);
        }
    }
    set_datafiles_folder("");
}

TEST(BadInput, HugeJulianDayIsALongitudeOrAnErrorNeverNaN) {
    for (double jd : {1e15, -1e15, 1e200, -1e300, std::numeric_limits<double>::max()}) {
        for (int planet : {0, 1, 2, 4}) {
            for (double l : {gc_app_long_rv_planet(planet, jd, 2000, nullptr),
                             hc_j2000_long_rv_planet(planet, jd, 2000, nullptr)}) {
                EXPECT_TRUE(in_circle(l) || l == PLANETS_VLT_ERR_JD)
                    << planet << " " << jd << " " << l;
            }
        }
    }
}

TEST(BadInput, NullOutPointersAreTolerated) {
    planets_test::TempFolder folder("nullptr");
    planets_test::write_numbered_file(folder.path() / "saturn.dac", -4000, 1360);
    set_datafiles_folder(folder.text().c_str());
    for (int planet : {0, 1, 2, 3, 4, 6}) {
        const double jd = planet == 6 ? 1000000.5 + 1826.0 * 1300 : 2456789.5;
        const int year = planet == 6 ? 2500 : 2014;
        double lat = 0.0, rv = 0.0;
        const double gc = gc_app_long_rv_planet(planet, jd, year, &rv);
        EXPECT_EQ(gc_app_long_rv_planet(planet, jd, year, nullptr), gc) << planet;
        const double hc = hc_j2000_long_lat_rv_planet(planet, jd, year, &lat, &rv);
        EXPECT_EQ(hc_j2000_long_lat_rv_planet(planet, jd, year, nullptr, nullptr), hc);
        EXPECT_EQ(hc_j2000_long_lat_rv_planet(planet, jd, year, &lat, nullptr), hc);
        EXPECT_EQ(hc_j2000_long_rv_planet(planet, jd, year, nullptr), hc);
        EXPECT_TRUE(in_circle(gc));
        EXPECT_TRUE(in_circle(hc));
    }
    EXPECT_TRUE(in_circle(pvlt::sun_long_rv(kJ2000, nullptr)));
    EXPECT_TRUE(in_circle(pvlt::sun_app_long_rv(kJ2000, nullptr)));
    set_datafiles_folder("");
}

TEST(BadInput, FolderTextLimits) {
    set_datafiles_folder("/kept/");
    // Null: refused, folder kept.
    EXPECT_EQ(set_datafiles_folder(nullptr), 0);
    EXPECT_STREQ(pvlt::data_folder(), "/kept/");
    // 256 and more characters: refused, folder kept.
    for (std::size_t n : {256u, 257u, 1000u}) {
        const std::string long_text(n, 'x');
        EXPECT_EQ(set_datafiles_folder(long_text.c_str()), 0) << n;
        EXPECT_STREQ(pvlt::data_folder(), "/kept/");
    }
    // 255 characters fit exactly.
    const std::string longest(255, 'y');
    EXPECT_EQ(set_datafiles_folder(longest.c_str()), 256);
    EXPECT_EQ(std::string(pvlt::data_folder()), longest);
    set_datafiles_folder("");
}

}  // namespace

namespace {

// Dates no record answers for, and dates no computation can take: every
// planet, every function, a longitude in [0, 2pi) or one of the header's
// codes; the outer planets, whose records cover five years each, always a
// code, whatever year goes with the date.
TEST(BadInput, FarAndNonFiniteDatesGiveADocumentedCode) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    planets_test::TempFolder folder("far");
    planets_test::write_numbered_file(folder.path() / "jupiter.dac", -4000, 1360);
    planets_test::write_numbered_file(folder.path() / "saturn.dac", -4000, 1360);
    planets_test::write_numbered_file(folder.path() / "uranus.dac", 1600, 240);
    planets_test::write_numbered_file(folder.path() / "neptune.dac", 1600, 240);
    set_datafiles_folder(folder.text().c_str());
    const double codes[] = {
        PLANETS_VLT_ERR_YEAR_BEFORE, PLANETS_VLT_ERR_YEAR_AFTER, PLANETS_VLT_ERR_OPEN,
        PLANETS_VLT_ERR_SEEK,        PLANETS_VLT_ERR_SHORT,      PLANETS_VLT_ERR_NO_FOLDER,
        PLANETS_VLT_ERR_JD,          PLANETS_VLT_ERR_RECORD,     PLANETS_VLT_ERR_PLANET};
    auto documented = [&](double l) {
        for (double c : codes) {
            if (l == c) return true;
        }
        return false;
    };
    for (double jd : {nan, inf, -inf, 0.0, 1e300, -1e300}) {
        for (int year : {2000, 1600, -4000, 2799}) {
            for (int planet = -1; planet <= 10; ++planet) {
                double lat = kUntouched, rv = kUntouched;
                const double results[] = {gc_app_long_rv_planet(planet, jd, year, &rv),
                                          hc_j2000_long_rv_planet(planet, jd, year, &rv),
                                          hc_j2000_long_lat_rv_planet(planet, jd, year, &lat, &rv)};
                for (double l : results) {
                    SCOPED_TRACE("planet " + std::to_string(planet) + " jd " + std::to_string(jd) +
                                 " year " + std::to_string(year) + " result " + std::to_string(l));
                    if ((planet >= 5 && planet <= 8) || planet == 10) {
                        EXPECT_TRUE(documented(l));
                    } else {
                        EXPECT_TRUE(in_circle(l) || documented(l));
                    }
                    if (!std::isfinite(jd)) {
                        EXPECT_TRUE(documented(l));
                    }
                }
                if (planet >= 5 && planet <= 8) {
                    EXPECT_EQ(lat, kUntouched);
                    EXPECT_EQ(rv, kUntouched);
                }
            }
        }
    }
    // The figures once reported: Jupiter at jd 0 and 1e300 with the year 2000.
    double rv = 0.0;
    EXPECT_EQ(hc_j2000_long_rv_planet(5, 0.0, 2000, &rv), PLANETS_VLT_ERR_RECORD);
    EXPECT_EQ(hc_j2000_long_rv_planet(5, 1e300, 2000, &rv), PLANETS_VLT_ERR_RECORD);
    set_datafiles_folder("");
}

}  // namespace
