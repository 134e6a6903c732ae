#include "app/chart/chart_band.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

namespace vlt {
namespace {

// The period's values as a circle, each day valued by the first day with a
// value at or after it, wrapping from the end to the start.
std::vector<double> FilledValues(const DailyValues& days) {
    std::vector<double> values = days.values;
    double next = 0.0;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = values.size(); i-- > 0;) {
            if (days.values[i] > 0.0) next = days.values[i];
            values[i] = next;
        }
    }
    return values;
}

struct Held {
    std::int64_t open = 0;  // day offset within the period
    std::int64_t hold = 0;  // days
};

// One trade moved to `open`: the day offset it closes on and its gain.  A
// holding past the end goes on from the start, the two parts compounded.
std::pair<std::int64_t, double> Moved(const std::vector<double>& v, std::int64_t open,
                                      std::int64_t hold) {
    const auto n = static_cast<std::int64_t>(v.size());
    const auto at = [&v](std::int64_t i) { return v[static_cast<std::size_t>(i)]; };
    const std::int64_t close = open + hold;
    if (close < n) return {close, (at(close) / at(open) - 1.0) * 100.0};
    const double factor = at(n - 1) / at(open) * at(close - n) / at(0);
    return {close - n, (factor - 1.0) * 100.0};
}

// The accumulated gain of `trades` moved by `shift`, at each of `grid`'s
// day offsets.
void AddLine(const std::vector<double>& v, const std::vector<Held>& trades, std::int64_t shift,
             const std::vector<std::int64_t>& grid, std::vector<std::vector<double>>& out) {
    const auto n = static_cast<std::int64_t>(v.size());
    std::vector<std::pair<std::int64_t, double>> closes;
    closes.reserve(trades.size());
    for (const Held& t : trades) closes.push_back(Moved(v, (t.open + shift) % n, t.hold));
    std::sort(closes.begin(), closes.end());
    double total = 0.0;
    std::size_t next = 0;
    for (std::size_t g = 0; g < grid.size(); ++g) {
        while (next < closes.size() && closes[next].first <= grid[g])
            total += closes[next++].second;
        out[g].push_back(total);
    }
}

double Percentile(std::vector<double>& values, double share) {
    const auto k =
        static_cast<std::size_t>(std::lround(share * static_cast<double>(values.size() - 1)));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
    return values[k];
}

}  // namespace

std::vector<ChartPoint> BuyAndHoldLine(const std::vector<ChartPoint>& prices) {
    std::vector<ChartPoint> line;
    if (prices.empty() || prices.front().value <= 0.0) return line;
    const double first = prices.front().value;
    for (const ChartPoint& p : prices) line.push_back({p.day, (p.value / first - 1.0) * 100.0});
    return line;
}

GainBand RandomTimingBand(const std::vector<SimulationEvent>& events, const DailyValues& prices,
                          int trials, std::uint64_t seed) {
    GainBand band;
    const std::vector<double> v = FilledValues(prices);
    const auto n = static_cast<std::int64_t>(v.size());
    if (n < 2 || v[0] <= 0.0 || trials < 1) return band;
    std::map<int, std::vector<Held>> byAspect;
    for (const SimulationEvent& e : events) {
        if (e.kind != SimulationEvent::Kind::Redemption) continue;
        const std::int64_t open = e.purchaseDay - prices.firstDay;
        if (open < 0 || open >= n || e.day < e.purchaseDay) continue;
        byAspect[Number(e.aspect)].push_back({open, e.day - e.purchaseDay});
    }
    if (byAspect.empty()) return band;
    const std::int64_t points = std::min<std::int64_t>(n, kBandPoints);
    std::vector<std::int64_t> grid;
    for (std::int64_t g = 0; g < points; ++g) grid.push_back(g * (n - 1) / (points - 1));
    std::vector<std::vector<double>> lines(grid.size());
    std::mt19937_64 generator(seed);
    std::uniform_int_distribution<std::int64_t> shifts(1, n - 1);
    for (int b = 0; b < trials; ++b) {
        const std::int64_t shift = shifts(generator);
        for (const auto& [aspect, trades] : byAspect) AddLine(v, trades, shift, grid, lines);
    }
    for (std::size_t g = 0; g < grid.size(); ++g) {
        const auto day = static_cast<std::int32_t>(prices.firstDay + grid[g]);
        band.low.push_back({day, Percentile(lines[g], kBandLowShare)});
        band.high.push_back({day, Percentile(lines[g], kBandHighShare)});
    }
    return band;
}

void AddSimulationComparisons(ChartModel& model, const std::vector<SimulationEvent>& events,
                              IndexLookup& prices) {
    if (model.kind != ChartModel::Kind::Simulation) return;
    model.buyAndHold = BuyAndHoldLine(model.prices);
    const GainBand band =
        RandomTimingBand(events, DailyValuesFrom(prices, model.firstDay, model.lastDay));
    model.bandLow = band.low;
    model.bandHigh = band.high;
}

}  // namespace vlt
