#include "tools/moon_records.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace vlt::datagen {
namespace {

constexpr double kPi = std::numbers::pi;
// Points per record at which the fit is checked, besides the nodes.
constexpr int kCheckPoints = 64;

double RecordStart(int k) { return pvlt::kMoonFirstJd + pvlt::kMoonBlockDays * k; }

double JulianDateAt(int k, double x) {
    return RecordStart(k) + (x + 1.0) * 0.5 * pvlt::kMoonBlockDays;
}

// Chebyshev interpolation at the n nodes cos(pi (j + 1/2) / n), in whole units.
void Interpolate(const std::vector<double>& values, double unit, std::int64_t* out) {
    const int n = static_cast<int>(values.size());
    for (int k = 0; k < n; ++k) {
        double sum = 0.0;
        for (int j = 0; j < n; ++j) sum += values[j] * std::cos(kPi * k * (j + 0.5) / n);
        double c = 2.0 / n * sum;
        if (k == 0) c *= 0.5;
        out[k] = static_cast<std::int64_t>(std::llround(c / unit));
    }
}

double Sum(const std::int64_t* c, int count, double x, double unit) {
    double b1 = 0.0;
    double b2 = 0.0;
    for (int k = count - 1; k >= 1; --k) {
        const double b = 2.0 * x * b1 - b2 + static_cast<double>(c[k]);
        b2 = b1;
        b1 = b;
    }
    return unit * (x * b1 - b2 + static_cast<double>(c[0]));
}

// One quantity sampled at the n nodes; the longitude is brought within pi of
// `branch`.
bool SampleNodes(int k, int n, const MoonSampler& sampler, bool longitude, double branch,
                 std::vector<double>* values) {
    values->assign(static_cast<std::size_t>(n), 0.0);
    for (int j = 0; j < n; ++j) {
        double l = 0.0;
        double r = 0.0;
        if (!sampler(JulianDateAt(k, std::cos(kPi * (j + 0.5) / n)), &l, &r)) return false;
        (*values)[static_cast<std::size_t>(j)] =
            longitude ? branch + std::remainder(l - branch, 2 * kPi) : r;
    }
    return true;
}

}  // namespace

std::optional<MoonRecordData> FitMoonRecord(int k, const MoonSampler& sampler,
                                            MoonFitQuality* quality) {
    MoonRecordData record;
    record.first_day = static_cast<std::int64_t>(RecordStart(k) + 0.5);
    double middle = 0.0;
    double ignored = 0.0;
    if (!sampler(JulianDateAt(k, 0.0), &middle, &ignored)) return std::nullopt;
    middle = middle - 2 * kPi * std::floor(middle / (2 * kPi));
    std::vector<double> values;
    if (!SampleNodes(k, pvlt::kMoonLongitudeTerms, sampler, true, middle, &values))
        return std::nullopt;
    Interpolate(values, pvlt::kMoonLongitudeUnit, record.longitude);
    if (!SampleNodes(k, pvlt::kMoonDistanceTerms, sampler, false, 0.0, &values))
        return std::nullopt;
    Interpolate(values, pvlt::kMoonDistanceUnit, record.distance);
    for (int i = 0; i <= kCheckPoints; ++i) {
        const double jd = JulianDateAt(k, -1.0 + 2.0 * i / kCheckPoints);
        double l = 0.0;
        double r = 0.0;
        double fl = 0.0;
        double fr = 0.0;
        if (!sampler(jd, &l, &r)) return std::nullopt;
        EvaluateMoonRecord(record, jd, &fl, &fr);
        quality->longitude =
            std::max(quality->longitude, std::fabs(std::remainder(fl - l, 2 * kPi)));
        quality->distance = std::max(quality->distance, std::fabs(fr - r));
    }
    return record;
}

void EvaluateMoonRecord(const MoonRecordData& record, double jd, double* longitude,
                        double* distance) {
    const double start = static_cast<double>(record.first_day) - 0.5;
    const double x = 2.0 * (jd - start) / pvlt::kMoonBlockDays - 1.0;
    *longitude = Sum(record.longitude, pvlt::kMoonLongitudeTerms, x, pvlt::kMoonLongitudeUnit);
    *distance = Sum(record.distance, pvlt::kMoonDistanceTerms, x, pvlt::kMoonDistanceUnit);
}

std::optional<std::string> FormatMoonRecord(const MoonRecordData& record) {
    std::string line;
    // A field holds its number right aligned after at least one blank (or
    // the minus sign), so that no field runs on into the next.
    const auto field = [&line](std::int64_t value, int width) {
        char text[32];
        std::snprintf(text, sizeof text, "%*lld", width, static_cast<long long>(value));
        const std::string s = text;
        if (static_cast<int>(s.size()) != width || (s[0] != ' ' && s[0] != '-')) return false;
        line += s;
        return true;
    };
    bool ok = field(record.first_day, pvlt::kMoonDayWidth);
    for (int k = 0; k < pvlt::kMoonLongitudeTerms; ++k)
        ok = ok && field(record.longitude[k], pvlt::kMoonLongitudeWidths[k]);
    for (int k = 0; k < pvlt::kMoonDistanceTerms; ++k)
        ok = ok && field(record.distance[k], pvlt::kMoonDistanceWidths[k]);
    line += '\n';
    if (!ok || static_cast<int>(line.size()) != pvlt::kMoonRecordBytes) return std::nullopt;
    return line;
}

}  // namespace vlt::datagen
