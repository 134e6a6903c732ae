#pragma once
// The backtest on dated events that `simulate --open` and `research --open`
// run: the events of each named kind are found over the period of a price
// file (or of the index file), their universal-time dates go as plain day
// numbers to PairEventTrades (app/simulation/event_backtest.h), and every
// combination of an open kind with a close kind (or the holding time) is
// judged as one family by the family statistics.  The report is made whole
// before any of it is printed.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/report/command_line.h"
#include "app/report/event_words.h"
#include "app/report/option_values.h"
#include "app/simulation/event_backtest.h"
#include "app/simulation/family_statistics.h"

namespace vlt {

enum class EventBacktestFormat { Text, Csv, Json };

struct EventBacktestOptions {
    std::vector<EventWord> opens;
    std::vector<EventWord> closes;          // or a holding time
    int holdDays = 0;                       // trading days; 0 when closing on events
    std::optional<std::string> pricesFile;  // nothing: the index file
    std::string priceColumn = "Close";
    std::optional<ReportDate> start;  // nothing: the prices' first (last) day
    std::optional<ReportDate> end;
    bool statistics = true;   // p, p_adjusted and q; without them the counts and gains
    bool listTrades = false;  // every trade of every combination, in the text
    int trials = 1000;
    std::uint64_t seed = 1;
    int minTrades = kDefaultMinTrades;
    int jobs = 1;
    EventBacktestFormat format = EventBacktestFormat::Text;
};

// The help line of --hold.
extern const char* const kHoldHelp;
// The largest holding time, in trading days (some four years).
inline constexpr int kMaxHoldDays = 1000;

// What is wrong with the options as a whole (no --open; neither or both of
// --close and --hold), or nothing.
std::optional<std::string> EventBacktestProblem(const EventBacktestOptions& options);

// One combination's trades and statistics, as the formats read them.
struct EventCombination {
    std::string open;   // the open kind's text
    std::string close;  // the close kind's text, or "" with a holding time
    EventTrades trades;
};

struct EventBacktestReport {
    std::string prices;  // the file as given
    int holdDays = 0;
    bool statistics = true;
    bool listTrades = false;
    std::vector<EventCombination> combinations;
    const DailyValues* values = nullptr;
    FamilyResult family;  // rows in the combinations' order
};

std::string EventBacktestText(const EventBacktestReport& report);
std::string EventBacktestCsv(const EventBacktestReport& report);
std::string EventBacktestJson(const EventBacktestReport& report);

// Runs the backtest and writes its report; the exit status.
int RunEventBacktest(const EventBacktestOptions& options, CommandIo& io);

}  // namespace vlt
