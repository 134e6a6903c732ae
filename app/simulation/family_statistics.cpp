#include "app/simulation/family_statistics.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <numeric>
#include <random>
#include <thread>

#include "app/simulation/amount_format.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/simulation_lines.h"
#include "app/simulation/simulation_stats.h"
#include "app/support/date_processing.h"
#include "app/support/numbers.h"

namespace vlt {

DailyValues DailyValuesFrom(IndexLookup& lookup, std::int32_t startDay, std::int32_t endDay) {
    DailyValues days;
    days.firstDay = startDay;
    for (std::int32_t d = startDay; d <= endDay; ++d) {
        double v = 0.0;
        if (!lookup.ValueForDay(d, v) || !(v > 0.0)) v = 0.0;
        days.values.push_back(v);
    }
    return days;
}

std::size_t TradingDays::OnOrAfter(std::int32_t day) const {
    return static_cast<std::size_t>(std::lower_bound(days.begin(), days.end(), day) - days.begin());
}

TradingDays TradingDaysOf(const DailyValues& prices) {
    TradingDays t;
    for (std::size_t i = 0; i < prices.values.size(); ++i) {
        if (!(prices.values[i] > 0.0)) continue;
        t.days.push_back(prices.firstDay + static_cast<std::int32_t>(i));
        t.values.push_back(prices.values[i]);
    }
    return t;
}

double RecordTotal(const std::vector<FamilyTrade>& trades) {
    double total = 0.0;
    for (const FamilyTrade& t : trades) total = RecordedTotal(total + t.gain);
    return total;
}

std::vector<double> RawPValues(const std::vector<double>& observed, const std::vector<double>& null,
                               int trials) {
    const std::size_t m = observed.size();
    std::vector<double> p(m, 1.0);
    for (std::size_t k = 0; k < m; ++k) {
        int atLeast = 0;
        for (int b = 0; b < trials; ++b) {
            if (null[static_cast<std::size_t>(b) * m + k] >= observed[k]) ++atLeast;
        }
        p[k] = (atLeast + 1.0) / (trials + 1.0);
    }
    return p;
}

namespace {

// Each combination's statistic measured in standard deviations of its own
// null, so that no combination rules the family's maximum by its scale (one
// with many trades has a wider spread of totals than one with few).
struct Standardised {
    std::vector<double> observed;
    std::vector<double> null;
};

Standardised Standardise(const std::vector<double>& observed, const std::vector<double>& null,
                         int trials) {
    const std::size_t m = observed.size();
    Standardised z{observed, null};
    for (std::size_t k = 0; k < m; ++k) {
        double mean = 0.0;
        double squares = 0.0;
        for (int b = 0; b < trials; ++b) {
            const double x = null[static_cast<std::size_t>(b) * m + k];
            const double delta = x - mean;
            mean += delta / (b + 1);
            squares += delta * (x - mean);
        }
        const double sd = trials > 1 ? std::sqrt(squares / (trials - 1)) : 0.0;
        // A null without spread: only its own value ties, as on the raw scale.
        const double scale = sd > 0.0 ? sd : 1.0;
        z.observed[k] = (observed[k] - mean) / scale;
        for (int b = 0; b < trials; ++b) {
            double& x = z.null[static_cast<std::size_t>(b) * m + k];
            x = (x - mean) / scale;
        }
    }
    return z;
}

}  // namespace

std::vector<double> RomanoWolfPValues(const std::vector<double>& observed,
                                      const std::vector<double>& null, int trials) {
    const std::size_t m = observed.size();
    std::vector<double> adjusted(m, 1.0);
    if (m == 0) return adjusted;
    const Standardised z = Standardise(observed, null, trials);
    // Most significant first; each step compares with the maximum over the
    // combinations not yet rejected (itself and all less significant ones).
    std::vector<std::size_t> order(m);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return z.observed[a] > z.observed[b]; });
    std::vector<int> atLeast(m, 0);
    std::vector<double> suffixMax(m);
    for (int b = 0; b < trials; ++b) {
        const double* row = &z.null[static_cast<std::size_t>(b) * m];
        double running = -HUGE_VAL;
        for (std::size_t j = m; j-- > 0;) {
            running = std::max(running, row[order[j]]);
            suffixMax[j] = running;
        }
        for (std::size_t j = 0; j < m; ++j) {
            if (suffixMax[j] >= z.observed[order[j]]) ++atLeast[j];
        }
    }
    double previous = 0.0;
    for (std::size_t j = 0; j < m; ++j) {
        previous = std::max(previous, (atLeast[j] + 1.0) / (trials + 1.0));
        adjusted[order[j]] = previous;
    }
    return adjusted;
}

std::vector<double> BenjaminiHochbergQ(const std::vector<double>& p) {
    const std::size_t m = p.size();
    std::vector<double> q(m, 1.0);
    std::vector<std::size_t> order(m);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return p[a] < p[b]; });
    double smallest = 1.0;
    for (std::size_t j = m; j-- > 0;) {
        smallest = std::min(smallest, p[order[j]] * static_cast<double>(m) / (j + 1.0));
        q[order[j]] = smallest;
    }
    return q;
}

namespace {

// The period's values as a circle: every day valued by the first day with a
// value at or after it, wrapping from the end to the start.
class CircularPrices {
public:
    explicit CircularPrices(const DailyValues& days) : values_(days.values) {
        const std::size_t n = values_.size();
        double next = 0.0;
        for (std::size_t pass = 0; pass < 2; ++pass) {
            for (std::size_t i = n; i-- > 0;) {
                if (days.values[i] > 0.0) next = days.values[i];
                values_[i] = next;
            }
        }
    }
    std::int64_t Size() const { return static_cast<std::int64_t>(values_.size()); }
    bool Valued() const { return !values_.empty() && values_[0] > 0.0; }
    double At(std::int64_t i) const { return values_[static_cast<std::size_t>(i)]; }

    // The gain of $100 bought on day index `open` and held `hold` days; a
    // holding past the end goes on from the start, the two parts compounded
    // as if the market had not moved between the last day and the first.
    double Gain(std::int64_t open, std::int64_t hold) const {
        const std::int64_t close = open + hold;
        if (close < Size()) return (At(close) / At(open) - 1.0) * 100.0;
        const double factor = At(Size() - 1) / At(open) * At(close - Size()) / At(0);
        return (factor - 1.0) * 100.0;
    }

private:
    std::vector<double> values_;
};

// A trade as day offsets within the period.
struct Offsets {
    std::int64_t open = 0;
    std::int64_t hold = 0;
};

struct Member {
    std::size_t combination = 0;
    std::vector<Offsets> trades;
};

// A shift of a few days leaves most of every trade where it was (an orb's
// trades overlap their own neighbours), so the null would copy the observed
// result; shifts move the calendar by more than the longest holding time,
// forwards or backwards, whenever the period leaves room for that.
std::vector<std::int64_t> DrawShifts(std::uint64_t seed, int trials, std::int64_t days,
                                     std::int64_t longestHold) {
    std::int64_t gap = longestHold + 1;
    if (days - 2 * gap + 1 < 1) gap = 1;
    const std::int64_t choices = std::max<std::int64_t>(days - 2 * gap + 1, 1);
    std::seed_seq sequence{static_cast<std::uint32_t>(seed & 0xffffffffu),
                           static_cast<std::uint32_t>(seed >> 32), 0x66616d31u};
    std::mt19937_64 generator(sequence);
    std::vector<std::int64_t> shifts(static_cast<std::size_t>(trials));
    for (std::int64_t& s : shifts) {
        s = gap +
            static_cast<std::int64_t>(UniformBelow(generator, static_cast<std::uint64_t>(choices)));
        s %= days;
    }
    return shifts;
}

std::int64_t LongestHold(const std::vector<Member>& members) {
    std::int64_t longest = 0;
    for (const Member& m : members) {
        for (const Offsets& t : m.trades) longest = std::max(longest, t.hold);
    }
    return longest;
}

// Values the trials of the family into null[b * m + k], spread over `jobs`
// threads in blocks; each trial is written by one thread only.
class TrialRunner {
public:
    TrialRunner(const std::vector<Member>& members, const CircularPrices& prices,
                const std::vector<std::int64_t>& shifts, const FamilyProgress& progress)
        : members_(members),
          prices_(prices),
          shifts_(shifts),
          progress_(progress),
          null_(shifts.size() * members.size()) {}

    bool Run(int jobs) {
        const int threads = std::max(1, std::min(jobs, static_cast<int>(shifts_.size())));
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t) pool.emplace_back([this] { Work(); });
        Work();
        for (std::thread& t : pool) t.join();
        return !stopped_.load();
    }
    std::vector<double>& Null() { return null_; }

private:
    static constexpr std::size_t kBlock = 16;

    void Work() {
        const std::size_t total = shifts_.size();
        while (!stopped_.load()) {
            const std::size_t first = next_.fetch_add(kBlock);
            if (first >= total) return;
            const std::size_t last = std::min(total, first + kBlock);
            for (std::size_t b = first; b < last; ++b) Trial(b);
            Report(last - first);
        }
    }

    void Trial(std::size_t b) {
        const std::int64_t n = prices_.Size();
        const std::size_t m = members_.size();
        for (std::size_t k = 0; k < m; ++k) {
            double total = 0.0;
            for (const Offsets& t : members_[k].trades) {
                total += prices_.Gain((t.open + shifts_[b]) % n, t.hold);
            }
            null_[b * m + k] = total;
        }
    }

    void Report(std::size_t finished) {
        const std::lock_guard<std::mutex> lock(progressMutex_);
        done_ += finished;
        if (progress_ && !progress_(static_cast<int>(done_), static_cast<int>(shifts_.size()))) {
            stopped_.store(true);
        }
    }

    const std::vector<Member>& members_;
    const CircularPrices& prices_;
    const std::vector<std::int64_t>& shifts_;
    const FamilyProgress& progress_;
    std::vector<double> null_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stopped_{false};
    std::mutex progressMutex_;
    std::size_t done_ = 0;
};

// Day index of `day` within the period, clamped to it.
std::int64_t OffsetOf(std::int32_t day, const DailyValues& days) {
    const std::int64_t i = static_cast<std::int64_t>(day) - days.firstDay;
    return std::clamp<std::int64_t>(i, 0, static_cast<std::int64_t>(days.values.size()) - 1);
}

// Counts, gains and holding time of a combination's trades.
void CountTrades(FamilyRow& row, const FamilyCombination& c) {
    double sum = 0.0;
    double held = 0.0;
    for (const FamilyTrade& t : c.trades) {
        ++row.trades;
        if (t.gain > 0.0) ++row.winners;
        sum += t.gain;
        held += t.closeDay - t.openDay;
    }
    row.totalGain = RecordTotal(c.trades);
    if (row.trades > 0) {
        row.meanGain = sum / row.trades;
        row.meanHoldingDays = held / row.trades;
    }
}

// Time in the market, the trades compounded and their daily drawdown, and the
// market's own rate over as many days.
void CompareFairly(FamilyRow& row, const FamilyCombination& c, const CircularPrices& prices,
                   const DailyValues& days) {
    const std::int64_t n = prices.Size();
    std::vector<char> invested(static_cast<std::size_t>(n), 0);
    double equity = 1.0;
    double peak = 1.0;
    double worst = 0.0;
    for (const FamilyTrade& t : c.trades) {
        const std::int64_t open = OffsetOf(t.openDay, days);
        const std::int64_t close = OffsetOf(t.closeDay, days);
        for (std::int64_t d = open; d < close; ++d) invested[static_cast<std::size_t>(d)] = 1;
        // Marked to the market every day held; the close at the trade's own gain.
        for (std::int64_t d = open + 1; d < close; ++d) {
            worst = std::max(worst, 1.0 - equity * prices.At(d) / prices.At(open) / peak);
        }
        equity *= 1.0 + t.gain / 100.0;
        peak = std::max(peak, equity);
        worst = std::max(worst, 1.0 - equity / peak);
    }
    const double daysIn = static_cast<double>(std::count(invested.begin(), invested.end(), 1));
    const double span = static_cast<double>(n - 1);
    row.timeInMarket = n > 0 ? daysIn / static_cast<double>(n) : 0.0;
    row.tradedReturn = (equity - 1.0) * 100.0;
    const double years = std::max(span, 1.0) / 365.25;
    row.annualisedReturn = equity > 0.0 ? (std::pow(equity, 1.0 / years) - 1.0) * 100.0 : -100.0;
    row.maxDrawdown = worst * 100.0;
    const double market = prices.At(n - 1) / prices.At(0);
    row.matchedBuyAndHold = (std::pow(market, daysIn / std::max(span, 1.0)) - 1.0) * 100.0;
}

std::vector<Member> FamilyMembers(const FamilyRequest& request, std::vector<FamilyRow>& rows) {
    std::vector<Member> members;
    for (std::size_t k = 0; k < request.combinations.size(); ++k) {
        const FamilyCombination& c = request.combinations[k];
        if (static_cast<int>(c.trades.size()) < request.minTrades || c.trades.empty()) continue;
        rows[k].inFamily = true;
        Member member{k, {}};
        for (const FamilyTrade& t : c.trades) {
            const std::int64_t open = OffsetOf(t.openDay, request.prices);
            const std::int64_t hold = std::clamp<std::int64_t>(
                t.closeDay - t.openDay, 0,
                static_cast<std::int64_t>(request.prices.values.size()) - 1);
            member.trades.push_back({open, hold});
        }
        members.push_back(std::move(member));
    }
    return members;
}

// p, p_adjusted and q of the family members from their null.
void JudgeFamily(FamilyResult& result, const FamilyRequest& request,
                 const std::vector<Member>& members, const std::vector<double>& null) {
    std::vector<double> observed;
    for (const Member& member : members) {
        double sum = 0.0;
        for (const FamilyTrade& t : request.combinations[member.combination].trades) sum += t.gain;
        observed.push_back(sum);
    }
    const std::vector<double> p = RawPValues(observed, null, request.trials);
    const std::vector<double> adjusted = RomanoWolfPValues(observed, null, request.trials);
    const std::vector<double> q = BenjaminiHochbergQ(p);
    for (std::size_t j = 0; j < members.size(); ++j) {
        FamilyRow& row = result.rows[members[j].combination];
        row.p = p[j];
        row.pAdjusted = adjusted[j];
        row.q = q[j];
    }
}

}  // namespace

std::optional<std::string> FamilyRequestProblem(const FamilyRequest& request) {
    if (request.trials < 1) return "the number of trials must be at least 1";
    if (request.jobs < 1) return "the number of jobs must be at least 1";
    if (request.minTrades < 1) return "the minimum number of trades must be at least 1";
    if (request.prices.values.size() < 2) return "the period must hold at least two days";
    if (!CircularPrices(request.prices).Valued()) return "the period holds no price";
    return std::nullopt;
}

FamilyResult ComputeFamilyStatistics(const FamilyRequest& request) {
    FamilyResult result;
    result.trials = request.trials;
    result.seed = request.seed;
    result.minTrades = request.minTrades;
    result.rows.resize(request.combinations.size());
    if (FamilyRequestProblem(request)) return result;
    const CircularPrices prices(request.prices);
    const DailyValues& days = request.prices;
    result.haveBuyAndHold = days.values.front() > 0.0 && days.values.back() > 0.0;
    if (result.haveBuyAndHold) {
        result.buyAndHold = (days.values.back() / days.values.front() - 1.0) * 100.0;
    }
    result.startDay = days.firstDay;
    result.endDay = days.firstDay + static_cast<std::int32_t>(days.values.size()) - 1;
    for (std::size_t k = 0; k < request.combinations.size(); ++k) {
        const FamilyCombination& c = request.combinations[k];
        FamilyRow& row = result.rows[k];
        row.first = c.first;
        row.second = c.second;
        row.helio = c.helio;
        row.aspect = c.aspect;
        row.orbDegrees = c.orbDegrees;
        CountTrades(result.rows[k], request.combinations[k]);
        CompareFairly(result.rows[k], request.combinations[k], prices, days);
    }
    const std::vector<Member> members = FamilyMembers(request, result.rows);
    result.familySize = static_cast<int>(members.size());
    const std::vector<std::int64_t> shifts =
        DrawShifts(request.seed, request.trials, prices.Size(), LongestHold(members));
    TrialRunner runner(members, prices, shifts, request.progress);
    if (!runner.Run(request.jobs)) {
        result.cancelled = true;
        return result;
    }
    JudgeFamily(result, request, members, runner.Null());
    return result;
}

namespace {

std::string StatisticsLine(const FamilyRow& row) {
    // The label holds one "°" (two bytes), which printf counts as two.
    const std::string label =
        PairLabel(static_cast<std::int16_t>(row.first), static_cast<std::int16_t>(row.second),
                  row.aspect, row.orbDegrees, row.helio);
    char line[256];
    std::snprintf(line, sizeof line, "%-17s %6d %5d %9.2f %7.2f %6.1f %6.1f %7.2f %6.1f %7.2f",
                  label.c_str(), row.trades, row.winners, row.totalGain, row.meanGain,
                  row.meanHoldingDays, row.timeInMarket * 100.0, row.annualisedReturn,
                  row.maxDrawdown, row.matchedBuyAndHold);
    std::string text = line;
    if (!row.inFamily) return text + "  too few trades\n";
    std::snprintf(line, sizeof line, " %7.4f %7.4f %7.4f\n", row.p, row.pAdjusted, row.q);
    return text + line;
}

}  // namespace

std::string FamilyStatisticsText(const FamilyResult& result) {
    const auto date = [](std::int32_t day) {
        return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
    };
    std::string text =
        "Statistics, $100 per investment; random timing: " + std::to_string(result.trials) +
        " trials, seed " + std::to_string(result.seed) + "\n" + FamilyMethodLine(result) + "\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-16s %6s %5s %9s %7s %6s %6s %7s %6s %7s %7s %7s %7s\n",
                  "Pair", "Trades", "Won", "Total $", "Mean %", "Days", "In %", "Year %", "DD %",
                  "B&H %", "p", "p adj", "q");
    text += line;
    for (const FamilyRow& row : result.rows) text += StatisticsLine(row);
    text += "Buy and hold from " + date(result.startDay) + " to " + date(result.endDay) + ": ";
    if (result.haveBuyAndHold) {
        std::snprintf(line, sizeof line, "$100 %s $%.2f\n",
                      result.buyAndHold < 0.0 ? "lost" : "gained", std::fabs(result.buyAndHold));
        text += line;
    } else {
        text += "no value at one end of the period\n";
    }
    return text;
}

FamilyRequest SimulationFamilyRequest(const InvestmentSimulation& simulation, IndexLookup& values) {
    FamilyRequest request;
    request.prices = DailyValuesFrom(values, simulation.StartDay(), simulation.EndDay());
    const std::vector<Trade> trades = CompletedTrades(simulation.Events());
    for (const SimulationPair& pair : simulation.Pairs()) {
        FamilyCombination c{simulation.FirstPlanet(),  simulation.SecondPlanet(),
                            simulation.Heliocentric(), Number(pair.aspect),
                            pair.orbDegrees,           {}};
        for (const Trade& t : trades) {
            if (t.aspect == c.aspect && t.orbDegrees == c.orbDegrees) {
                c.trades.push_back({t.buyDay, t.sellDay, t.gain});
            }
        }
        request.combinations.push_back(std::move(c));
    }
    return request;
}

std::string FamilyMethodLine(const FamilyResult& result) {
    return "Family of " + std::to_string(result.familySize) + " combinations with at least " +
           std::to_string(result.minTrades) +
           " trades; p: random timing, one circular shift of all trades per trial; "
           "p_adjusted: Romano-Wolf step-down; q: Benjamini-Hochberg";
}

}  // namespace vlt
