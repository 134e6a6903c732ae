// Neighbouring records of the committed files, read through the positions
// library, must agree where their blocks meet: each is within its fit error
// of the true orbit there, so a jump larger than twice that error means a
// damaged, shifted or misplaced record.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>

#include "planets/include/planets_vlt.h"
#include "planets/src/planets_internal.h"
#include "tests/tools/committed_data.h"
#include "tools/data_format.h"

namespace vlt::datagen {
namespace {

constexpr double kArcsec = std::numbers::pi / (180.0 * 3600.0);

struct Boundary {
    int planet;
    int first_year;
    int records;
    double longitude_arcsec, latitude_arcsec, radius_au;  // largest allowed jump
};

const Boundary kBoundaries[] = {
    {5, -4000, 1360, 9.0, 2.6, 7.5e-5},
    {6, -4000, 1360, 0.65, 0.05, 2.8e-5},
    {7, 1600, 240, 0.13, 0.01, 1.0e-5},
    {8, 1600, 240, 0.10, 0.01, 1.0e-5},
};

void PrintTo(const Boundary& b, std::ostream* os) { *os << "planet " << b.planet; }

class RecordContinuity : public ::testing::TestWithParam<Boundary> {
protected:
    void SetUp() override {
        folder_ = testing::DataFolder();
        ASSERT_EQ(set_datafiles_folder(folder_.c_str()), static_cast<int>(folder_.size()) + 1);
    }
    std::string folder_;
};

TEST_P(RecordContinuity, NeighbouringRecordsMeet) {
    const Boundary& b = GetParam();
    for (int k = 0; k + 1 < b.records; ++k) {
        const int last_year_of_block = b.first_year + 5 * k + 4;
        // Both records at the moment the next block begins, and at the margins
        // each side of it that the fits also cover.
        const double boundary = JulianDateOfNewYear(last_year_of_block + 1);
        for (double jd : {boundary - 20, boundary, boundary + 20}) {
            double lat1 = 0, rv1 = 0, lat2 = 0, rv2 = 0;
            const double l1 =
                pvlt::hc_long_lat_rv_planet(b.planet, jd, last_year_of_block, &lat1, &rv1);
            const double l2 =
                pvlt::hc_long_lat_rv_planet(b.planet, jd, last_year_of_block + 1, &lat2, &rv2);
            ASSERT_GT(l1, pvlt::kErrorLimit) << "record " << k;
            ASSERT_GT(l2, pvlt::kErrorLimit) << "record " << k + 1;
            const double jump = std::fabs(std::remainder(l2 - l1, 2 * std::numbers::pi));
            ASSERT_LE(jump, b.longitude_arcsec * kArcsec)
                << "records " << k << "/" << k + 1 << " at " << jd;
            ASSERT_LE(std::fabs(lat2 - lat1), b.latitude_arcsec * kArcsec)
                << "records " << k << "/" << k + 1;
            ASSERT_LE(std::fabs(rv2 - rv1), b.radius_au) << "records " << k << "/" << k + 1;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(OuterPlanets, RecordContinuity, ::testing::ValuesIn(kBoundaries),
                         [](const auto& info) {
                             return "planet" + std::to_string(info.param.planet);
                         });

}  // namespace
}  // namespace vlt::datagen
