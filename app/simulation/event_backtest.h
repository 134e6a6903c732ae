#pragma once
// A backtest that opens on one kind of dated event and closes on another (or
// after a number of trading days): plain day numbers in, the trades out, so
// that the simulation layer knows nothing of how the events were found.
//
// The rules, chosen to match the event study and the simulation:
// - the days come from the event's universal-time date;
// - a trade buys at the close of the first trading day (a day with a price)
//   on or after an open event, and sells at the close of the first trading
//   day on or after the first close event that falls after the buying day;
//   with a holding time it sells at the close of the trading day that many
//   trading days after the buying day (weekends do not stretch it, as the
//   event study's offsets);
// - one position at a time: an open event while a trade is held is passed
//   over; a position may be bought on the day the previous one was sold;
// - a trade that the period ends before selling is not counted;
// - gains as the simulation's: $100 per trade, (sell - buy) * 100 / buy.

#include <cstdint>
#include <vector>

#include "app/simulation/family_statistics.h"

namespace vlt {

struct EventTradeRule {
    std::vector<std::int32_t> openDays;   // any order; duplicates allowed
    std::vector<std::int32_t> closeDays;  // used when holdTradingDays is 0
    int holdTradingDays = 0;              // > 0: sell after this many trading days
};

struct EventTrades {
    std::vector<FamilyTrade> trades;  // in time order
    int passedOver = 0;               // open events met while holding
    bool openAtEnd = false;           // a trade bought but not sold by the end
};

// The trades of `rule` over the period of `prices` (0 on days without
// trading).  Events outside the period play no part.
EventTrades PairEventTrades(const DailyValues& prices, const EventTradeRule& rule);

}  // namespace vlt
