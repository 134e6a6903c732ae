#include "tools/dac_fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vlt::datagen {

namespace {

constexpr int kMaxDegree = 16;
constexpr int kMaxIterations = 40;

using Real = long double;

// Solves the n x n system m * u = r in place by Gaussian elimination with
// partial pivoting.  False when the matrix is singular.
bool Solve(int n, Real m[][kMaxDegree + 2], Real* r, Real* u) {
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int row = col + 1; row < n; ++row) {
            if (std::fabs(m[row][col]) > std::fabs(m[pivot][col])) pivot = row;
        }
        if (m[pivot][col] == 0) return false;
        if (pivot != col) {
            for (int k = 0; k < n; ++k) std::swap(m[pivot][k], m[col][k]);
            std::swap(r[pivot], r[col]);
        }
        for (int row = col + 1; row < n; ++row) {
            const Real factor = m[row][col] / m[col][col];
            for (int k = col; k < n; ++k) m[row][k] -= factor * m[col][k];
            r[row] -= factor * r[col];
        }
    }
    for (int row = n - 1; row >= 0; --row) {
        Real sum = r[row];
        for (int k = row + 1; k < n; ++k) sum -= m[row][k] * u[k];
        u[row] = sum / m[row][row];
    }
    return true;
}

void ChebyshevValues(Real x, int degree, Real* t) {
    t[0] = 1;
    if (degree >= 1) t[1] = x;
    for (int k = 2; k <= degree; ++k) t[k] = 2 * x * t[k - 1] - t[k - 2];
}

Real EvaluateSeries(const Real* a, int degree, Real x) {
    Real t[kMaxDegree + 1];
    ChebyshevValues(x, degree, t);
    Real sum = 0;
    for (int k = 0; k <= degree; ++k) sum += a[k] * t[k];
    return sum;
}

bool LeastSquares(const double* x, const double* f, int count, int degree, Real* a) {
    const int n = degree + 1;
    Real m[kMaxDegree + 2][kMaxDegree + 2] = {};
    Real r[kMaxDegree + 2] = {};
    for (int i = 0; i < count; ++i) {
        Real t[kMaxDegree + 1];
        ChebyshevValues(x[i], degree, t);
        for (int k = 0; k < n; ++k) {
            r[k] += t[k] * f[i];
            for (int l = 0; l < n; ++l) m[k][l] += t[k] * t[l];
        }
    }
    return Solve(n, m, r, a);
}

// The polynomial that, on the reference points, errs by the same amount with
// alternating signs.
bool LevelledFit(const double* x, const double* f, const std::vector<int>& ref, int degree,
                 Real* a) {
    const int n = degree + 2;
    Real m[kMaxDegree + 2][kMaxDegree + 2] = {};
    Real r[kMaxDegree + 2] = {};
    Real u[kMaxDegree + 2] = {};
    for (int i = 0; i < n; ++i) {
        Real t[kMaxDegree + 1];
        ChebyshevValues(x[ref[i]], degree, t);
        for (int k = 0; k <= degree; ++k) m[i][k] = t[k];
        m[i][degree + 1] = (i % 2 == 0) ? 1 : -1;
        r[i] = f[ref[i]];
    }
    if (!Solve(n, m, r, u)) return false;
    for (int k = 0; k <= degree; ++k) a[k] = u[k];
    return true;
}

// One point of largest error per run of equal error sign, then thinned to
// degree + 2 points keeping the alternation and the largest errors.
std::vector<int> AlternatingExtrema(const std::vector<Real>& error, int wanted) {
    std::vector<int> points;
    const int count = static_cast<int>(error.size());
    int i = 0;
    while (i < count) {
        const bool positive = error[i] >= 0;
        int best = i;
        while (i < count && (error[i] >= 0) == positive) {
            if (std::fabs(error[i]) > std::fabs(error[best])) best = i;
            ++i;
        }
        points.push_back(best);
    }
    auto magnitude = [&](int k) { return std::fabs(error[points[k]]); };
    while (static_cast<int>(points.size()) > wanted) {
        const int size = static_cast<int>(points.size());
        if (size == wanted + 1) {
            points.erase(magnitude(0) < magnitude(size - 1) ? points.begin() : points.end() - 1);
            continue;
        }
        int weakest = 0;
        for (int k = 1; k < size; ++k) {
            if (magnitude(k) < magnitude(weakest)) weakest = k;
        }
        if (weakest == 0 || weakest == size - 1) {
            points.erase(points.begin() + weakest);
        } else {
            // Dropping two neighbours keeps the signs alternating.
            const int partner =
                magnitude(weakest - 1) < magnitude(weakest + 1) ? weakest - 1 : weakest + 1;
            const int first = std::min(weakest, partner);
            points.erase(points.begin() + first, points.begin() + first + 2);
        }
    }
    return points;
}

Real MaxError(const double* x, const double* f, int count, int degree, const Real* a,
              std::vector<Real>* error) {
    Real largest = 0;
    for (int i = 0; i < count; ++i) {
        (*error)[i] = f[i] - EvaluateSeries(a, degree, x[i]);
        largest = std::max(largest, std::fabs((*error)[i]));
    }
    return largest;
}

}  // namespace

double MinimaxChebyshevFit(const double* x, const double* f, int count, int degree, double* out) {
    Real best[kMaxDegree + 1] = {};
    if (degree < 0 || degree > kMaxDegree || count < degree + 2 ||
        !LeastSquares(x, f, count, degree, best)) {
        return HUGE_VAL;
    }
    std::vector<Real> error(count);
    Real best_error = MaxError(x, f, count, degree, best, &error);
    Real current[kMaxDegree + 1];
    std::copy(best, best + degree + 1, current);
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        const std::vector<int> ref = AlternatingExtrema(error, degree + 2);
        if (static_cast<int>(ref.size()) < degree + 2) break;
        if (!LevelledFit(x, f, ref, degree, current)) break;
        const Real levelled = std::fabs(f[ref[0]] - EvaluateSeries(current, degree, x[ref[0]]));
        const Real largest = MaxError(x, f, count, degree, current, &error);
        if (largest < best_error) {
            best_error = largest;
            std::copy(current, current + degree + 1, best);
        }
        // Converged once the largest error hardly exceeds the levelled one.
        if (largest <= levelled * (1 + 1e-6L) + 1e-18L) break;
    }
    for (int k = 0; k <= degree; ++k) out[k] = static_cast<double>(best[k]);
    return static_cast<double>(best_error);
}

void ChebyshevToPowers(const double* a, int degree, double* powers) {
    // Power coefficients of T_{k-1} and T_k, built by T_{k+1} = 2x T_k - T_{k-1}.
    std::vector<Real> previous(degree + 1, 0), current(degree + 1, 0), sum(degree + 1, 0);
    previous[0] = 1;
    sum[0] = a[0];
    if (degree >= 1) {
        current[1] = 1;
        sum[1] += a[1];
    }
    for (int k = 2; k <= degree; ++k) {
        std::vector<Real> next(degree + 1, 0);
        for (int p = 0; p <= degree; ++p) {
            next[p] = -previous[p] + (p > 0 ? 2 * current[p - 1] : 0);
        }
        for (int p = 0; p <= degree; ++p) sum[p] += a[k] * next[p];
        previous = current;
        current = next;
    }
    for (int p = 0; p <= degree; ++p) powers[p] = static_cast<double>(sum[p]);
}

bool FitRecord(int first_year, const PositionSampler& sampler, DacRecordData* record,
               FitQuality* quality) {
    const double start = JulianDateOfNewYear(first_year) - kFitMarginDays;
    const double end = BlockEnd(first_year) + kFitMarginDays;
    const double t0 = BlockOrigin(first_year);
    const double half = 0.5 * (end - start);

    std::vector<double> x(kSamplesPerRecord), jd(kSamplesPerRecord);
    std::vector<double> values[3];
    for (auto& v : values) v.resize(kSamplesPerRecord);
    for (int i = 0; i < kSamplesPerRecord; ++i) {
        x[i] = -std::cos(std::numbers::pi * i / (kSamplesPerRecord - 1));
        jd[i] = t0 + half * x[i];
        double position[3];
        if (!sampler(jd[i], position)) return false;
        for (int q = 0; q < 3; ++q) values[q][i] = position[q];
    }
    // Continuous longitude, on the branch where the middle sample (the origin)
    // lies in [0, 2pi).
    constexpr double kTwoPi = 2 * std::numbers::pi;
    std::vector<double>& lon = values[0];
    for (int i = 1; i < kSamplesPerRecord; ++i) {
        lon[i] -= kTwoPi * std::round((lon[i] - lon[i - 1]) / kTwoPi);
    }
    const double shift = kTwoPi * std::floor(lon[kSamplesPerRecord / 2] / kTwoPi);
    for (double& v : lon) v -= shift;

    record->first_year = first_year;
    record->t0 = t0;
    record->end_jd = BlockEnd(first_year);
    const double scale = kDaysPerTimeUnit / half;
    for (int q = 0; q < 3; ++q) {
        double chebyshev[kCoefficients];
        double powers[kCoefficients];
        MinimaxChebyshevFit(x.data(), values[q].data(), kSamplesPerRecord, kDegree, chebyshev);
        ChebyshevToPowers(chebyshev, kDegree, powers);
        double factor = 1;
        for (int k = 0; k < kCoefficients; ++k) {
            record->coefficients[q][k] = powers[k] * factor;
            factor *= scale;
        }
    }
    // What the library will read is the decimal text: measure that.
    const auto written = ParseRecord(FormatRecord(*record));
    if (!written) return false;
    *record = *written;
    if (quality) {
        for (int q = 0; q < 3; ++q) {
            double largest = 0;
            for (int i = 0; i < kSamplesPerRecord; ++i) {
                largest = std::max(largest,
                                   std::fabs(EvaluateQuantity(*record, q, jd[i]) - values[q][i]));
            }
            quality->max_error[q] = largest;
        }
    }
    return true;
}

}  // namespace vlt::datagen
