// The event backtest's report as text, CSV and JSON; the numbers and their
// names are those of `simulate --stats` and `research` (FamilyRowJson).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/report/event_backtest_run.h"
#include "app/report/report_formats.h"
#include "app/support/date_processing.h"
#include "app/support/numbers.h"

namespace vlt {
namespace {

using Json = nlohmann::ordered_json;

std::string DateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
}

std::string CloseText(const EventBacktestReport& r, const EventCombination& c) {
    return r.holdDays > 0 ? std::to_string(r.holdDays) + " trading days" : c.close;
}

std::string Label(const EventBacktestReport& r, const EventCombination& c) {
    return c.open + " -> " + CloseText(r, c);
}

std::string Money(double gain) {
    char text[64];
    std::snprintf(text, sizeof text, "%s $%.2f", gain < 0.0 ? "lost" : "gained", std::fabs(gain));
    return text;
}

std::string RuleText(const EventBacktestReport& r) {
    const std::string sell =
        r.holdDays > 0
            ? "the trading day " + std::to_string(r.holdDays) + " trading days after the buying day"
            : "the first trading day on or after the first close event after the "
              "buying day";
    return "Buy at the close of the first trading day on or after an open event, sell at the "
           "close of " +
           sell +
           "; one position at a time (an open event while holding is passed over); a trade "
           "still open at the end is not counted\n";
}

std::string TradeLines(const EventBacktestReport& r) {
    std::string text;
    for (const EventCombination& c : r.combinations) {
        for (const FamilyTrade& t : c.trades.trades) {
            text += Label(r, c) + ": bought " + DateText(t.openDay) + ", sold " +
                    DateText(t.closeDay) + ", " + Money(t.gain) + "\n";
        }
    }
    return text;
}

std::string TableText(const EventBacktestReport& r) {
    std::size_t width = std::string("Open -> close").size();
    for (const EventCombination& c : r.combinations) width = std::max(width, Label(r, c).size());
    const int w = static_cast<int>(width);
    char line[512];
    std::snprintf(line, sizeof line, "%-*s %6s %5s %9s %7s %6s %6s %7s %6s %7s", w, "Open -> close",
                  "Trades", "Won", "Total $", "Mean %", "Days", "In %", "Year %", "DD %", "B&H %");
    std::string text = line;
    text += r.statistics ? "       p   p adj       q\n" : "\n";
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const FamilyRow& row = r.family.rows[k];
        std::snprintf(line, sizeof line, "%-*s %6d %5d %9.2f %7.2f %6.1f %6.1f %7.2f %6.1f %7.2f",
                      w, Label(r, r.combinations[k]).c_str(), row.trades, row.winners,
                      row.totalGain, row.meanGain, row.meanHoldingDays, row.timeInMarket * 100.0,
                      row.annualisedReturn, row.maxDrawdown, row.matchedBuyAndHold);
        text += line;
        if (!r.statistics) {
            text += "\n";
        } else if (!row.inFamily) {
            text += "  too few trades\n";
        } else {
            std::snprintf(line, sizeof line, " %7.4f %7.4f %7.4f\n", row.p, row.pAdjusted, row.q);
            text += line;
        }
    }
    return text;
}

// The family row's numbers without the planet pair it does not have.
Json RowJson(const EventBacktestReport& r, std::size_t k) {
    const EventCombination& c = r.combinations[k];
    Json j;
    j["open"] = c.open;
    j["close"] = r.holdDays > 0 ? Json(nullptr) : Json(c.close);
    j["hold_days"] = r.holdDays > 0 ? Json(r.holdDays) : Json(nullptr);
    j["passed_over"] = c.trades.passedOver;
    j["open_at_end"] = c.trades.openAtEnd;
    const Json row = FamilyRowJson(r.family.rows[k]);
    for (const auto& [key, value] : row.items()) {
        const bool pair = key == "first" || key == "second" || key == "centricity" ||
                          key == "aspect" || key == "orb";
        const bool chance =
            key == "too_few_trades" || key == "p" || key == "p_adjusted" || key == "q";
        if (!pair && (r.statistics || !chance)) j[key] = value;
    }
    return j;
}

}  // namespace

std::string EventBacktestText(const EventBacktestReport& r) {
    const FamilyResult& f = r.family;
    std::string text = "Event backtest on \"" + r.prices + "\" from " + DateText(f.startDay) +
                       " to " + DateText(f.endDay) + ": " + std::to_string(r.combinations.size()) +
                       (r.combinations.size() == 1 ? " combination" : " combinations") +
                       "; $100 per investment\n" + RuleText(r);
    if (r.listTrades) text += TradeLines(r);
    if (r.statistics) {
        text += "Random timing: " + std::to_string(f.trials) + " trials, seed " +
                std::to_string(f.seed) + "\n" + FamilyMethodLine(f) + "\n";
    }
    text += TableText(r);
    text += "Buy and hold from " + DateText(f.startDay) + " to " + DateText(f.endDay) + ": ";
    text += f.haveBuyAndHold ? "$100 " + Money(f.buyAndHold) + "\n"
                             : "no value at one end of the period\n";
    return text;
}

std::string EventBacktestJson(const EventBacktestReport& r) {
    const FamilyResult& f = r.family;
    Json doc;
    doc["prices"] = r.prices;
    doc["start"] = DateText(f.startDay);
    doc["end"] = DateText(f.endDay);
    doc["hold_days"] = r.holdDays > 0 ? Json(r.holdDays) : Json(nullptr);
    if (r.statistics) {
        doc["family_size"] = f.familySize;
        doc["method"] = FamilyMethodLine(f);
        doc["trials"] = f.trials;
        doc["seed"] = f.seed;
        doc["min_trades"] = f.minTrades;
    }
    doc["buy_and_hold"] = f.haveBuyAndHold ? Json(RoundHalfEven(f.buyAndHold, 2)) : Json(nullptr);
    doc["combinations"] = Json::array();
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        Json j = RowJson(r, k);
        if (r.listTrades) {
            j["trade_list"] = Json::array();
            for (const FamilyTrade& t : r.combinations[k].trades.trades) {
                j["trade_list"].push_back({{"bought", DateText(t.openDay)},
                                           {"sold", DateText(t.closeDay)},
                                           {"gain", RoundHalfEven(t.gain, 2)}});
            }
        }
        doc["combinations"].push_back(std::move(j));
    }
    return ReportJsonText(doc);
}

std::string EventBacktestCsv(const EventBacktestReport& r) {
    const auto cell = [](const Json& v) -> std::string {
        if (v.is_null()) return "";
        if (v.is_string()) return CsvField(v.get<std::string>());
        if (v.is_boolean()) return v.get<bool>() ? "true" : "false";
        return v.dump();
    };
    std::string text;
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const Json j = RowJson(r, k);
        std::string header;
        std::string line;
        for (const auto& [key, value] : j.items()) {
            if (!header.empty()) {
                header += ',';
                line += ',';
            }
            header += key;
            line += cell(value);
        }
        if (k == 0) text += header + "\r\n";
        text += line + "\r\n";
    }
    return text;
}

}  // namespace vlt
