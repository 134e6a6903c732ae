// Jupiter to Neptune as the positions library computes them from the
// committed data files, against the reference ephemeris.  Every record is
// hit at least once, at a random moment of its five years.
#include <gtest/gtest.h>
#include <swephexp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <ostream>
#include <random>
#include <string>

#include "planets/include/planets_vlt.h"
#include "planets/src/planets_internal.h"
#include "tests/tools/committed_data.h"
#include "tools/data_format.h"

namespace vlt::datagen {
namespace {

constexpr double kArcsecPerRadian = 180.0 * 3600.0 / std::numbers::pi;

struct Bounds {
    const char* name;
    int planet;  // the library's and the reference's number alike
    int first_year;
    int records;
    double longitude_arcsec, latitude_arcsec, radius_au;  // heliocentric of date
    double apparent_arcsec;                               // geocentric, 1600-2799
};

// Jupiter's longitude and radius bounds are the least a degree-6 polynomial
// over five years and two months can reach (4.03" and 3.5e-5 AU at worst,
// near perihelion); the others are the accuracy aimed at.
const Bounds kBounds[] = {
    {"Jupiter", 5, -4000, 1360, 4.2, 1.5, 3.6e-5, 6.0},
    {"Saturn", 6, -4000, 1360, 0.3, 0.1, 1.5e-5, 3.0},
    {"Uranus", 7, 1600, 240, 0.1, 0.1, 1.0e-5, 3.0},
    {"Neptune", 8, 1600, 240, 0.1, 0.1, 1.0e-5, 7.0},
};

void PrintTo(const Bounds& b, std::ostream* os) { *os << b.name; }

// Reference position at jd read as dynamical time; false unless it came from
// the ephemeris files themselves.
bool Reference(int body, double jd, int flags, double out[3]) {
    char error[AS_MAXCH] = "";
    double xx[6] = {0, 0, 0, 0, 0, 0};
    const int result = swe_calc(jd, body, flags | SEFLG_SWIEPH, xx, error);
    if (result < 0 || (result & SEFLG_SWIEPH) == 0) return false;
    out[0] = xx[0];
    out[1] = xx[1];
    out[2] = xx[2];
    return true;
}

double Uniform(std::mt19937_64& rng) { return static_cast<double>(rng() >> 11) * 0x1.0p-53; }

class OuterAccuracy : public ::testing::TestWithParam<Bounds> {
protected:
    static void SetUpTestSuite() { swe_set_ephe_path(VLT_SWE_EPHE_DIR); }
    static void TearDownTestSuite() { swe_close(); }
    void SetUp() override {
        const std::string folder = testing::DataFolder();
        set_datafiles_folder(folder.c_str());
    }
};

TEST_P(OuterAccuracy, HeliocentricOfDateInEveryRecord) {
    const Bounds& b = GetParam();
    std::mt19937_64 rng(20240 + static_cast<unsigned>(b.planet));
    double worst[3] = {0, 0, 0};
    for (int k = 0; k < b.records; ++k) {
        const int year = b.first_year + 5 * k;
        const double start = swe_julday(year, 1, 1, 0.0, SE_GREG_CAL);
        const double end = swe_julday(year + 5, 1, 1, 0.0, SE_GREG_CAL);
        const double jd = start + (end - start) * Uniform(rng);
        double ref[3];
        ASSERT_TRUE(Reference(b.planet, jd, SEFLG_HELCTR | SEFLG_TRUEPOS | SEFLG_NONUT, ref));
        int y = 0, m = 0, d = 0;
        double hour = 0;
        swe_revjul(jd, SE_GREG_CAL, &y, &m, &d, &hour);
        double lat = 0, rv = 0;
        const double lon = pvlt::hc_long_lat_rv_planet(b.planet, jd, y, &lat, &rv);
        ASSERT_GT(lon, pvlt::kErrorLimit) << b.name << " record " << k;
        const double dl =
            std::fabs(std::remainder(lon * kArcsecPerRadian - ref[0] * 3600, 1296000.0));
        const double db = std::fabs(lat * kArcsecPerRadian - ref[1] * 3600);
        const double dr = std::fabs(rv - ref[2]);
        EXPECT_LE(dl, b.longitude_arcsec) << b.name << " record " << k << " jd " << jd;
        EXPECT_LE(db, b.latitude_arcsec) << b.name << " record " << k << " jd " << jd;
        EXPECT_LE(dr, b.radius_au) << b.name << " record " << k << " jd " << jd;
        worst[0] = std::max(worst[0], dl);
        worst[1] = std::max(worst[1], db);
        worst[2] = std::max(worst[2], dr);
    }
    RecordProperty("max_longitude_arcsec", std::to_string(worst[0]));
    RecordProperty("max_latitude_arcsec", std::to_string(worst[1]));
    RecordProperty("max_radius_au", std::to_string(worst[2]));
}

TEST_P(OuterAccuracy, GeocentricApparentFrom1600To2799) {
    const Bounds& b = GetParam();
    std::mt19937_64 rng(777 + static_cast<unsigned>(b.planet));
    const double start = swe_julday(1600, 1, 1, 0.0, SE_GREG_CAL);
    const double end = swe_julday(2800, 1, 1, 0.0, SE_GREG_CAL);
    for (int n = 0; n < 1000; ++n) {
        const double jd = start + (end - start) * Uniform(rng);
        double ref[3];
        ASSERT_TRUE(Reference(b.planet, jd, 0, ref));
        int y = 0, m = 0, d = 0;
        double hour = 0;
        swe_revjul(jd, SE_GREG_CAL, &y, &m, &d, &hour);
        double distance = 0;
        const double lon = gc_app_long_rv_planet(b.planet, jd, y, &distance);
        ASSERT_GT(lon, pvlt::kErrorLimit) << b.name << " jd " << jd;
        const double dl =
            std::fabs(std::remainder(lon * kArcsecPerRadian - ref[0] * 3600, 1296000.0));
        EXPECT_LE(dl, b.apparent_arcsec) << b.name << " jd " << jd;
        // The distance is the geometric one, without light time.
        double geometric[3];
        ASSERT_TRUE(Reference(b.planet, jd, SEFLG_TRUEPOS, geometric));
        EXPECT_NEAR(distance, geometric[2], 1e-4) << b.name << " jd " << jd;
    }
}

INSTANTIATE_TEST_SUITE_P(OuterPlanets, OuterAccuracy, ::testing::ValuesIn(kBounds),
                         [](const auto& info) { return std::string(info.param.name); });

// The calendar that numbers the records, against the reference's own.
TEST(RecordCalendar, NewYearAgreesWithTheReferenceCalendar) {
    for (int year = -4001; year <= 2805; ++year) {
        ASSERT_EQ(JulianDateOfNewYear(year), swe_julday(year, 1, 1, 0.0, SE_GREG_CAL)) << year;
        const double noon = swe_julday(year, 7, 2, 12.0, SE_GREG_CAL);
        ASSERT_EQ(YearOfJulianDate(noon), year);
    }
}

}  // namespace
}  // namespace vlt::datagen
