#include "tools/dac_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace vlt::datagen {
namespace {

std::vector<double> Grid(int n) {
    std::vector<double> x(n);
    for (int i = 0; i < n; ++i) x[i] = -std::cos(std::numbers::pi * i / (n - 1));
    return x;
}

double Series(const double* a, int degree, double x) {
    double t_prev = 1, t = x, sum = a[0] + (degree >= 1 ? a[1] * x : 0);
    for (int k = 2; k <= degree; ++k) {
        const double next = 2 * x * t - t_prev;
        sum += a[k] * next;
        t_prev = t;
        t = next;
    }
    return sum;
}

TEST(ChebyshevConversion, KnownPowerForms) {
    struct Case {
        int k;
        std::vector<double> powers;
    };
    const Case cases[] = {
        {0, {1, 0, 0, 0, 0, 0, 0}},
        {3, {0, -3, 0, 4, 0, 0, 0}},
        {4, {1, 0, -8, 0, 8, 0, 0}},
        {6, {-1, 0, 18, 0, -48, 0, 32}},
    };
    for (const Case& c : cases) {
        double a[7] = {0, 0, 0, 0, 0, 0, 0};
        a[c.k] = 1;
        double p[7];
        ChebyshevToPowers(a, 6, p);
        for (int j = 0; j < 7; ++j) EXPECT_EQ(p[j], c.powers[j]) << "T" << c.k << " x^" << j;
    }
}

TEST(MinimaxFit, ReproducesAPolynomialOfTheFittedDegree) {
    const std::vector<double> x = Grid(301);
    std::vector<double> f(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double v = x[i];
        f[i] = 0.3 - 1.7 * v + 0.25 * v * v + 2 * std::pow(v, 5) - 0.5 * std::pow(v, 6);
    }
    double a[7];
    const double error = MinimaxChebyshevFit(x.data(), f.data(), 301, 6, a);
    EXPECT_LT(error, 1e-13);
    double p[7];
    ChebyshevToPowers(a, 6, p);
    const double expected[7] = {0.3, -1.7, 0.25, 0, 0, 2, -0.5};
    for (int j = 0; j < 7; ++j) EXPECT_NEAR(p[j], expected[j], 1e-12) << j;
}

// The best degree-6 approximation of x^7 on [-1, 1] leaves T7 / 64.
TEST(MinimaxFit, LeavesTheChebyshevErrorForTheNextPower) {
    const std::vector<double> x = Grid(1025);
    std::vector<double> f(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) f[i] = std::pow(x[i], 7);
    double a[7];
    const double error = MinimaxChebyshevFit(x.data(), f.data(), 1025, 6, a);
    EXPECT_NEAR(error, 1.0 / 64, 1e-5);
    for (double v : {-1.0, -0.5, 0.0, 0.3, 1.0}) {
        EXPECT_NEAR(std::pow(v, 7) - Series(a, 6, v), std::cos(7 * std::acos(v)) / 64, 2e-5) << v;
    }
}

// Minimax: the largest error is no larger than a least-squares fit's and is
// reached with alternating signs at eight points.
TEST(MinimaxFit, EquioscillatesOnASmoothFunction) {
    const int n = 1025;
    const std::vector<double> x = Grid(n);
    std::vector<double> f(n);
    for (int i = 0; i < n; ++i) f[i] = std::exp(x[i]) + 0.01 * std::sin(9 * x[i]);
    double a[7];
    const double error = MinimaxChebyshevFit(x.data(), f.data(), n, 6, a);
    // Count sign changes between points where the error is at its maximum.
    int alternations = 0;
    int last_sign = 0;
    for (int i = 0; i < n; ++i) {
        const double e = f[i] - Series(a, 6, x[i]);
        ASSERT_LE(std::fabs(e), error * (1 + 1e-9));
        if (std::fabs(e) > error * 0.999) {
            const int sign = e > 0 ? 1 : -1;
            if (sign != last_sign) ++alternations;
            last_sign = sign;
        }
    }
    EXPECT_GE(alternations, 8);
}

TEST(RecordFit, LongitudeIsContinuousAcrossTheFullTurn) {
    // A body moving 0.002 rad a day that crosses 0 inside the block, with a
    // latitude that is a polynomial of the fit's degree and a wavy radius.
    const int year = 2000;
    const double t0 = BlockOrigin(year);
    const PositionSampler sampler = [t0](double jd, double p[3]) {
        const double t = (jd - t0) / 2000;
        p[0] = std::fmod(6.2 + 0.002 * (jd - t0) + 20 * std::numbers::pi, 2 * std::numbers::pi);
        p[1] = 0.01 - 0.02 * t + 0.003 * std::pow(t, 6);
        p[2] = 5 + 0.1 * std::sin(jd / 100);
        return true;
    };
    DacRecordData record;
    FitQuality quality;
    ASSERT_TRUE(FitRecord(year, sampler, &record, &quality));
    EXPECT_EQ(record.first_year, 2000);
    EXPECT_EQ(record.t0, t0);
    EXPECT_EQ(record.end_jd, JulianDateOfNewYear(2005));
    EXPECT_GE(record.coefficients[0][0], 0.0);
    EXPECT_LT(record.coefficients[0][0], 2 * std::numbers::pi);
    EXPECT_NEAR(record.coefficients[0][0], 6.2, 1e-7);
    EXPECT_NEAR(record.coefficients[0][1], 4.0, 1e-7);
    for (double jd = JulianDateOfNewYear(2000) - 30; jd <= JulianDateOfNewYear(2005) + 30;
         jd += 7.25) {
        EXPECT_NEAR(EvaluateQuantity(record, 0, jd), 6.2 + 0.002 * (jd - t0), 2e-7) << jd;
        const double t = (jd - t0) / 2000;
        EXPECT_NEAR(EvaluateQuantity(record, 1, jd), 0.01 - 0.02 * t + 0.003 * std::pow(t, 6),
                    2e-8);
    }
    EXPECT_LT(quality.max_error[0], 2e-7);
    EXPECT_LT(quality.max_error[1], 2e-8);
    // The radius is not a polynomial: the reported error is the real one.
    double largest = 0;
    for (double jd = JulianDateOfNewYear(2000) - 30; jd <= JulianDateOfNewYear(2005) + 30;
         jd += 0.5) {
        largest = std::fmax(
            largest, std::fabs(EvaluateQuantity(record, 2, jd) - 5 - 0.1 * std::sin(jd / 100)));
    }
    EXPECT_GT(quality.max_error[2], 0.0);
    EXPECT_NEAR(largest, quality.max_error[2], 0.05 * quality.max_error[2]);
}

TEST(RecordFit, FailsWhenTheEphemerisHasNoAnswer) {
    int calls = 0;
    const PositionSampler sampler = [&calls](double, double p[3]) {
        p[0] = p[1] = p[2] = 0;
        return ++calls < 100;
    };
    DacRecordData record;
    EXPECT_FALSE(FitRecord(1600, sampler, &record, nullptr));
}

}  // namespace
}  // namespace vlt::datagen
