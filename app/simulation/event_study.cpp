#include "app/simulation/event_study.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "app/simulation/simulation_stats.h"

namespace vlt {

std::optional<std::string> EventStudyRequestProblem(const EventStudyRequest& request) {
    const auto prices = std::count_if(request.prices.values.begin(), request.prices.values.end(),
                                      [](double v) { return v > 0.0; });
    if (prices < kStatisticsMinPrices) {
        return "the period holds " + std::to_string(prices) + " prices; an event study needs " +
               std::to_string(kStatisticsMinPrices) + " or more";
    }
    if (request.days < 1 || request.days > kEventStudyMaxDays) {
        return "--days must be from 1 to " + std::to_string(kEventStudyMaxDays);
    }
    if (request.trials < 1) return "--trials must be at least 1";
    if (!(request.confidence > 0.0 && request.confidence < 1.0)) {
        return "the confidence must lie between 0 and 1";
    }
    return std::nullopt;
}

namespace {

// The median of `v` (reordered).
double Median(std::vector<double>& v) {
    const std::size_t n = v.size();
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n / 2), v.end());
    const double high = v[n / 2];
    if (n % 2 == 1) return high;
    const double low = *std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n / 2));
    return (low + high) / 2.0;
}

// The share-th value of sorted `v`, nearest rank.
double Percentile(const std::vector<double>& v, double share) {
    const auto i = static_cast<std::size_t>(share * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

// The mean of every offset over one bootstrap resample, per offset.
void BootstrapBands(const std::vector<std::vector<double>>& paths, const EventStudyRequest& r,
                    EventStudyResult& result) {
    const std::size_t events = paths.size();
    const std::size_t width = result.offsets.size();
    std::mt19937_64 generator(r.seed);
    std::vector<std::vector<double>> means(width,
                                           std::vector<double>(static_cast<std::size_t>(r.trials)));
    std::vector<double> sum(width);
    for (std::size_t b = 0; b < static_cast<std::size_t>(r.trials); ++b) {
        std::fill(sum.begin(), sum.end(), 0.0);
        for (std::size_t e = 0; e < events; ++e) {
            const auto& path = paths[UniformBelow(generator, events)];
            for (std::size_t k = 0; k < width; ++k) sum[k] += path[k];
        }
        for (std::size_t k = 0; k < width; ++k) means[k][b] = sum[k] / static_cast<double>(events);
    }
    const double tail = (1.0 - r.confidence) / 2.0;
    for (std::size_t k = 0; k < width; ++k) {
        std::sort(means[k].begin(), means[k].end());
        result.offsets[k].lower = Percentile(means[k], tail);
        result.offsets[k].upper = Percentile(means[k], 1.0 - tail);
    }
}

}  // namespace

EventStudyResult ComputeEventStudy(const EventStudyRequest& r) {
    EventStudyResult result;
    result.days = r.days;
    result.trials = r.trials;
    result.seed = r.seed;
    result.confidence = r.confidence;
    const TradingDays t = TradingDaysOf(r.prices);
    std::vector<std::int32_t> events = r.eventDays;
    std::sort(events.begin(), events.end());
    // Each event's cumulative returns, percent, offsets -days .. +days.
    std::vector<std::vector<double>> paths;
    const auto n = static_cast<std::ptrdiff_t>(t.days.size());
    for (const std::int32_t day : events) {
        const auto at = static_cast<std::ptrdiff_t>(t.OnOrAfter(day));
        if (at - r.days < 0 || at + r.days >= n) {
            ++result.leftOut;
            continue;
        }
        std::vector<double> path;
        for (std::ptrdiff_t k = at - r.days; k <= at + r.days; ++k) {
            path.push_back(
                (t.values[static_cast<std::size_t>(k)] / t.values[static_cast<std::size_t>(at)] -
                 1.0) *
                100.0);
        }
        paths.push_back(std::move(path));
        result.used.push_back(t.days[static_cast<std::size_t>(at)]);
    }
    if (paths.empty()) return result;
    std::vector<double> column(paths.size());
    for (int k = -r.days; k <= r.days; ++k) {
        const auto i = static_cast<std::size_t>(k + r.days);
        double sum = 0.0;
        for (std::size_t e = 0; e < paths.size(); ++e) {
            column[e] = paths[e][i];
            sum += column[e];
        }
        EventOffset o;
        o.offset = k;
        o.mean = sum / static_cast<double>(paths.size());
        o.median = Median(column);
        result.offsets.push_back(o);
    }
    BootstrapBands(paths, r, result);
    return result;
}

}  // namespace vlt
