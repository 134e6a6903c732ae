#pragma once
// Does a combination (planet pair, aspect, orb) beat chance once every
// combination the user tried is counted?  The statistics of a family of
// combinations judged together:
//
// - one null for the whole family: in each trial the whole calendar of trades
//   is shifted by one random number of days, circularly within the period, so
//   every trade keeps its holding time and every combination keeps its
//   overlap with the others (the orbs of one aspect share most trades);
// - per combination the one-sided p of its total gain (share of trials at
//   least as good, +1 in numerator and denominator, so never 0), the
//   Romano-Wolf step-down p_adjusted (max statistic over the family, on the
//   same trials) and the Benjamini-Hochberg q;
// - the comparisons a trader needs to read a total fairly: time in the
//   market, the return compounded as traded, its worst drawdown, and buy and
//   hold over the same number of days in the market.
//
// The shifts are drawn from std::mt19937_64 in one sequence before any trial
// is valued, so the result is the same for a seed whatever the job count.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vlt {

class IndexLookup;
class InvestmentSimulation;

inline constexpr int kDefaultMinTrades = 5;
// Fewer prices in a period cannot say whether a timing beats chance.
inline constexpr int kStatisticsMinPrices = 30;

// One completed trade: bought at the close of openDay, sold at closeDay.
struct FamilyTrade {
    std::int32_t openDay = 0;
    std::int32_t closeDay = 0;
    double gain = 0.0;  // dollars on $100, as the report computes it
};

struct FamilyCombination {
    int first = 0;  // planet numbers
    int second = 0;
    bool helio = true;
    int aspect = 0;
    int orbDegrees = 0;
    std::vector<FamilyTrade> trades;  // in the order they were closed
};

// The value of every calendar day firstDay .. firstDay + size - 1; 0 where
// the series has none.
struct DailyValues {
    std::int32_t firstDay = 0;
    std::vector<double> values;
};

// The days startDay .. endDay valued by `lookup` (its own rule for days
// without trading).
DailyValues DailyValuesFrom(IndexLookup& lookup, std::int32_t startDay, std::int32_t endDay);

// The days of a period that have a price, ascending, with their prices: the
// days the studies of events count in.
struct TradingDays {
    std::vector<std::int32_t> days;
    std::vector<double> values;

    // Index of the first trading day on or after `day`; size() when none.
    std::size_t OnOrAfter(std::int32_t day) const;
};
TradingDays TradingDaysOf(const DailyValues& prices);

// Called after every block of trials with the trials done and the total;
// false stops the run (the result is then marked cancelled).  Called from one
// thread at a time.
using FamilyProgress = std::function<bool(int done, int total)>;

struct FamilyRequest {
    std::vector<FamilyCombination> combinations;
    DailyValues prices;  // the period: its first to its last day
    int trials = 1000;
    std::uint64_t seed = 1;
    int minTrades = kDefaultMinTrades;
    int jobs = 1;  // threads valuing trials; any count gives the same result
    FamilyProgress progress;
};

struct FamilyRow {
    // The combination, as the request named it.
    int first = 0;
    int second = 0;
    bool helio = true;
    int aspect = 0;
    int orbDegrees = 0;
    // Counts and gains of the trades as the report has them.
    int trades = 0;
    int winners = 0;         // gain above 0
    double totalGain = 0.0;  // dollars, the report's running total (RecordTotal)
    double meanGain = 0.0;   // percent per trade
    double meanHoldingDays = 0.0;
    // Fair comparisons over the period.
    double timeInMarket = 0.0;       // share of the period's days invested, 0..1
    double tradedReturn = 0.0;       // percent, the trades compounded
    double annualisedReturn = 0.0;   // percent a year, of tradedReturn
    double maxDrawdown = 0.0;        // percent below the running peak, daily, >= 0
    double matchedBuyAndHold = 0.0;  // percent, the market's rate over the days invested
    // Chance: absent for a combination outside the family (too few trades).
    bool inFamily = false;
    double p = 1.0;
    double pAdjusted = 1.0;
    double q = 1.0;
};

struct FamilyResult {
    int familySize = 0;         // combinations with at least minTrades trades
    std::int32_t startDay = 0;  // the period
    std::int32_t endDay = 0;
    int trials = 0;
    std::uint64_t seed = 0;
    int minTrades = 0;
    bool cancelled = false;
    bool haveBuyAndHold = false;
    double buyAndHold = 0.0;      // percent over the whole period
    std::vector<FamilyRow> rows;  // one per combination, in the request's order
};

// The one line that states what the p-values are and over how many.
std::string FamilyMethodLine(const FamilyResult& result);

// The statistics as text below a simulation's report: the heading, the
// family line, one line per combination (labelled as the summary lines are;
// "too few trades" in place of the p-values outside the family) and the
// buy-and-hold line.  Numbers use "." and no grouping.
std::string FamilyStatisticsText(const FamilyResult& result);

// Why a request cannot be judged ("--trials must be at least 1", ...), or
// nothing when it can.
std::optional<std::string> FamilyRequestProblem(const FamilyRequest& request);

FamilyResult ComputeFamilyStatistics(const FamilyRequest& request);

// The family of a completed simulation run: its (aspect, orb) combinations in
// the summary's order with their trades, and the run's period valued by
// `values`.  Trials, seed, minimum and jobs are left at their defaults.
FamilyRequest SimulationFamilyRequest(const InvestmentSimulation& simulation, IndexLookup& values);

// The running total a simulation record keeps: after every trade the total
// so far plus the trade's gain, written into the record's seven-character
// field (cents, halves to even; fewer decimals when it would not fit).
double RecordTotal(const std::vector<FamilyTrade>& trades);

// Step-down and false-discovery adjustments on their own, for the tests and
// for other families.  `observed[k]` is combination k's statistic and
// `null[b * m + k]` its value in trial b (m = observed.size()), larger is
// better; p-values with the +1 correction.
std::vector<double> RawPValues(const std::vector<double>& observed, const std::vector<double>& null,
                               int trials);
std::vector<double> RomanoWolfPValues(const std::vector<double>& observed,
                                      const std::vector<double>& null, int trials);
std::vector<double> BenjaminiHochbergQ(const std::vector<double>& p);

}  // namespace vlt
