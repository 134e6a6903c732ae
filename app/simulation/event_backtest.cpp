#include "app/simulation/event_backtest.h"

#include <algorithm>

namespace vlt {
namespace {

std::vector<std::int32_t> Sorted(std::vector<std::int32_t> days) {
    std::sort(days.begin(), days.end());
    return days;
}

// Index of the trading day that sells a position bought on trading day `buy`;
// size() when the period ends first.
std::size_t SellIndex(const TradingDays& t, std::size_t buy, const EventTradeRule& rule,
                      const std::vector<std::int32_t>& closes) {
    if (rule.holdTradingDays > 0) {
        return std::min(buy + static_cast<std::size_t>(rule.holdTradingDays), t.days.size());
    }
    const auto close = std::upper_bound(closes.begin(), closes.end(), t.days[buy]);
    if (close == closes.end()) return t.days.size();
    return t.OnOrAfter(*close);
}

}  // namespace

EventTrades PairEventTrades(const DailyValues& prices, const EventTradeRule& rule) {
    const TradingDays t = TradingDaysOf(prices);
    const std::int32_t lastDay = prices.firstDay + static_cast<std::int32_t>(prices.values.size());
    const std::vector<std::int32_t> opens = Sorted(rule.openDays);
    const std::vector<std::int32_t> closes = Sorted(rule.closeDays);
    EventTrades result;
    std::int32_t soldDay = prices.firstDay;
    for (const std::int32_t open : opens) {
        if (open < prices.firstDay || open >= lastDay) continue;
        const std::size_t buy = t.OnOrAfter(open);
        if (buy >= t.days.size()) break;
        // Still held: the event is passed over.
        if (result.openAtEnd || t.days[buy] < soldDay) {
            ++result.passedOver;
            continue;
        }
        const std::size_t sell = SellIndex(t, buy, rule, closes);
        if (sell >= t.days.size()) {
            result.openAtEnd = true;
            continue;
        }
        const double gain = (t.values[sell] - t.values[buy]) * 100.0 / t.values[buy];
        result.trades.push_back({t.days[buy], t.days[sell], gain});
        soldDay = t.days[sell];
    }
    return result;
}

}  // namespace vlt
