#include "app/simulation/simulation_stats.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "app/simulation/simulation_lines.h"
#include "app/support/date_processing.h"

namespace vlt {

std::vector<Trade> CompletedTrades(const std::vector<SimulationEvent>& events) {
    std::vector<Trade> trades;
    for (const SimulationEvent& e : events) {
        if (e.kind != SimulationEvent::Kind::Redemption) continue;
        trades.push_back(Trade{.aspect = e.aspect,
                               .orbDegrees = e.orbDegrees,
                               .buyDay = e.purchaseDay,
                               .sellDay = e.day,
                               .gain = e.gain});
    }
    return trades;
}

std::uint64_t UniformBelow(std::mt19937_64& generator, std::uint64_t n) {
    if (n <= 1) return 0;
    // Draws from the last, incomplete block of n values are thrown away, so
    // that every remainder is equally likely.
    const std::uint64_t limit =
        std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % n;
    std::uint64_t x = 0;
    do {
        x = generator();
    } while (x >= limit);
    return x % n;
}

std::mt19937_64 PairGenerator(std::uint64_t seed, int aspect, int orbDegrees) {
    std::seed_seq sequence{
        static_cast<std::uint32_t>(seed & 0xffffffffu), static_cast<std::uint32_t>(seed >> 32),
        static_cast<std::uint32_t>(aspect), static_cast<std::uint32_t>(orbDegrees)};
    return std::mt19937_64(sequence);
}

namespace {

// The value of every day of the period (and the four days a lookup may look
// ahead), 0 where there is none.
class DayValues {
public:
    DayValues(IndexLookup& lookup, std::int32_t first, std::int32_t last) : first_(first) {
        values_.resize(static_cast<std::size_t>(last - first + 1));
        for (std::int32_t d = first; d <= last; ++d) {
            double v = 0.0;
            if (!lookup.ValueForDay(d, v) || !(v > 0.0)) v = 0.0;
            values_[static_cast<std::size_t>(d - first)] = v;
        }
    }
    double At(std::int32_t day) const {
        const std::int64_t i = static_cast<std::int64_t>(day) - first_;
        if (i < 0 || i >= static_cast<std::int64_t>(values_.size())) return 0.0;
        return values_[static_cast<std::size_t>(i)];
    }

private:
    std::int32_t first_;
    std::vector<double> values_;
};

// Days without a value at either end of a drawn trade are drawn again, this
// many times at most; a trade that never finds one gains nothing.
constexpr int kRedraws = 1000;

}  // namespace

namespace {

// The trades of one aspect and orb: their count, wins and gains, and how long
// each held its investment.
std::vector<std::int32_t> CountTrades(PairStatistics& s, const std::vector<Trade>& trades) {
    std::vector<std::int32_t> holding;
    double heldDays = 0.0;
    for (const Trade& t : trades) {
        if (t.aspect != s.aspect || t.orbDegrees != s.orbDegrees) continue;
        ++s.trades;
        if (t.gain > 0.0) ++s.wins;
        s.totalGain += t.gain;
        heldDays += t.sellDay - t.buyDay;
        holding.push_back(t.sellDay - t.buyDay);
    }
    if (s.trades > 0) {
        s.meanGain = s.totalGain / s.trades;
        s.meanHoldingDays = heldDays / s.trades;
    }
    return holding;
}

// The total gain of one random timing: each holding period bought on a day
// drawn at random within the period.
double RandomTrialGain(std::mt19937_64& generator, const DayValues& days,
                       const std::vector<std::int32_t>& holding, std::int32_t startDay,
                       std::int32_t endDay) {
    double total = 0.0;
    for (const std::int32_t h : holding) {
        const std::int64_t span = static_cast<std::int64_t>(endDay) - h - startDay + 1;
        if (span < 1) continue;
        for (int attempt = 0; attempt < kRedraws; ++attempt) {
            const auto buy = static_cast<std::int32_t>(
                startDay + static_cast<std::int64_t>(
                               UniformBelow(generator, static_cast<std::uint64_t>(span))));
            const double bought = days.At(buy);
            const double sold = days.At(buy + h);
            if (bought > 0.0 && sold > 0.0) {
                total += (sold - bought) * 100.0 / bought;
                break;
            }
        }
    }
    return total;
}

// The random-timing baseline of one aspect and orb over the run's trials.
void AddBaseline(PairStatistics& s, const std::vector<std::int32_t>& holding, const DayValues& days,
                 const RunStatistics& run) {
    std::mt19937_64 generator = PairGenerator(run.seed, s.aspect, s.orbDegrees);
    // Running mean and squared deviations (Welford), steady however large
    // the totals.
    double mean = 0.0;
    double squares = 0.0;
    int beaten = 0;
    for (int trial = 0; trial < run.trials; ++trial) {
        const double total = RandomTrialGain(generator, days, holding, run.startDay, run.endDay);
        const double delta = total - mean;
        mean += delta / (trial + 1);
        squares += delta * (total - mean);
        if (s.totalGain > total) ++beaten;
    }
    s.baselineMean = mean;
    if (run.trials > 1) s.baselineStdDev = std::sqrt(squares / (run.trials - 1));
    s.shareBeaten = static_cast<double>(beaten) / run.trials;
}

}  // namespace

RunStatistics ComputeRunStatistics(const std::vector<std::pair<int, int>>& pairs,
                                   const std::vector<SimulationEvent>& events, IndexLookup& values,
                                   std::int32_t startDay, std::int32_t endDay, int trials,
                                   std::uint64_t seed) {
    RunStatistics run;
    run.startDay = startDay;
    run.endDay = endDay;
    run.trials = trials;
    run.seed = seed;
    const DayValues days(values, startDay, endDay);
    const double first = days.At(startDay);
    const double last = days.At(endDay);
    if (first > 0.0 && last > 0.0) {
        run.haveBuyAndHold = true;
        run.buyAndHoldGain = (last - first) * 100.0 / first;
    }

    const std::vector<Trade> trades = CompletedTrades(events);
    for (const auto& [aspect, orb] : pairs) {
        PairStatistics s;
        s.aspect = aspect;
        s.orbDegrees = orb;
        const std::vector<std::int32_t> holding = CountTrades(s, trades);
        if (trials > 0) AddBaseline(s, holding, days, run);
        run.pairs.push_back(s);
    }
    return run;
}

std::string StatisticsText(const RunStatistics& stats, std::int16_t firstPlanet,
                           std::int16_t secondPlanet, bool heliocentric) {
    const auto date = [](std::int32_t day) {
        return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
    };
    std::string text =
        "Statistics, $100 per investment; random timing: " + std::to_string(stats.trials) +
        " trials, seed " + std::to_string(stats.seed) + "\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-16s %6s %5s %10s %8s %9s %10s %10s %7s\n", "Pair", "Trades",
                  "Won", "Total $", "Mean %", "Mean days", "Random $", "Random sd", "Beats");
    text += line;
    for (const PairStatistics& p : stats.pairs) {
        // The label holds one "°" (two bytes), which printf counts as two.
        const std::string label =
            PairLabel(firstPlanet, secondPlanet, p.aspect, p.orbDegrees, heliocentric);
        std::snprintf(line, sizeof line, "%-17s %6d %5d %10.2f %8.2f %9.1f %10.2f %10.2f %6.1f%%\n",
                      label.c_str(), p.trades, p.wins, p.totalGain, p.meanGain, p.meanHoldingDays,
                      p.baselineMean, p.baselineStdDev, p.shareBeaten * 100.0);
        text += line;
    }
    text += "Buy and hold from " + date(stats.startDay) + " to " + date(stats.endDay) + ": ";
    if (stats.haveBuyAndHold) {
        std::snprintf(line, sizeof line, "$100 %s $%.2f\n",
                      stats.buyAndHoldGain < 0.0 ? "lost" : "gained",
                      std::fabs(stats.buyAndHoldGain));
        text += line;
    } else {
        text += "no value at one end of the period\n";
    }
    return text;
}

}  // namespace vlt
