#include "app/report/research_formats.h"

#include <cmath>
#include <cstdio>

#include "app/report/report_formats.h"
#include "app/simulation/simulation_lines.h"
#include "app/support/date_processing.h"
#include "app/support/numbers.h"

namespace vlt {

namespace {

using Json = nlohmann::ordered_json;

std::string DateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
}

std::string Label(const FamilyRow& row) {
    return PairLabel(static_cast<std::int16_t>(row.first), static_cast<std::int16_t>(row.second),
                     row.aspect, row.orbDegrees, row.helio);
}

// The label holds one "°" (two bytes), which printf counts as two.
std::string RowLine(std::size_t rank, const FamilyRow& row) {
    char line[256];
    std::snprintf(line, sizeof line, "%4zu  %-17s %-5s %6d %5d %7.2f %6.1f", rank,
                  Label(row).c_str(), row.helio ? "helio" : "geo", row.trades, row.winners,
                  row.meanGain, row.meanHoldingDays);
    std::string text = line;
    if (!row.inFamily) return text + "  too few trades\n";
    std::snprintf(line, sizeof line, " %7.4f %7.4f %7.4f\n", row.p, row.pAdjusted, row.q);
    return text + line;
}

std::string Heading() {
    char line[256];
    std::snprintf(line, sizeof line, "%4s  %-16s %-5s %6s %5s %7s %6s %7s %7s %7s\n", "Rank",
                  "Pair", "From", "Trades", "Won", "Mean %", "Days", "p", "p adj", "q");
    return line;
}

std::string HoldoutText(const ResearchReport& report) {
    const ResearchResult& r = *report.result;
    std::string text = "\nHold-out from " + DateText(r.holdoutStartDay) + " to " +
                       DateText(r.holdoutEndDay) + " (the last " +
                       std::to_string(report.holdoutPercent) +
                       " % of the period, not judged above): the ten best again, a family of " +
                       std::to_string(r.holdoutFamilySize) + "\n" + Heading();
    for (std::size_t k = 0; k < r.rows.size(); ++k) {
        if (!r.rows[k].holdout) continue;
        FamilyRow row = r.rows[k].row;
        const ResearchHoldout& h = *r.rows[k].holdout;
        row.trades = h.trades;
        row.meanGain = h.meanGain;
        row.inFamily = h.inFamily;
        row.p = h.p;
        row.pAdjusted = h.pAdjusted;
        row.q = h.q;
        // Winners and holding days are the judged part's; the hold-out
        // line shows what it was measured on.
        char line[256];
        std::snprintf(line, sizeof line, "%4zu  %-17s %-5s %6d %5s %7.2f %6s", k + 1,
                      Label(row).c_str(), row.helio ? "helio" : "geo", row.trades, "", row.meanGain,
                      "");
        text += line;
        if (!row.inFamily) {
            text += "  too few trades\n";
        } else {
            std::snprintf(line, sizeof line, " %7.4f %7.4f %7.4f\n", row.p, row.pAdjusted, row.q);
            text += line;
        }
    }
    return text;
}

}  // namespace

std::string ResearchText(const ResearchReport& report) {
    const ResearchResult& r = *report.result;
    std::string text = "Research on \"" + report.prices + "\" from " + DateText(r.startDay) +
                       " to " + DateText(r.endDay) + ": " + std::to_string(report.pairs) +
                       (report.pairs == 1 ? " pair, " : " pairs, ") + report.centres + ", " +
                       std::to_string(r.combinations) + " combinations; $100 per investment\n";
    text += "Random timing: " + std::to_string(r.trials) + " trials, seed " +
            std::to_string(r.seed) + "\n" + r.method + "\n" + Heading();
    for (std::size_t k = 0; k < r.rows.size(); ++k) text += RowLine(k + 1, r.rows[k].row);
    text += "Buy and hold from " + DateText(r.startDay) + " to " + DateText(r.endDay) + ": ";
    if (r.haveBuyAndHold) {
        char line[128];
        std::snprintf(line, sizeof line, "$100 %s $%.2f\n", r.buyAndHold < 0.0 ? "lost" : "gained",
                      std::fabs(r.buyAndHold));
        text += line;
    } else {
        text += "no value at one end of the period\n";
    }
    if (r.haveHoldout) text += HoldoutText(report);
    return text;
}

namespace {

Json HoldoutJson(const ResearchHoldout& h) {
    const auto p = [&](double x) { return h.inFamily ? Json(RoundHalfEven(x, 6)) : Json(nullptr); };
    return {{"trades", h.trades},
            {"mean_gain", RoundHalfEven(h.meanGain, 4)},
            {"too_few_trades", !h.inFamily},
            {"p", p(h.p)},
            {"p_adjusted", p(h.pAdjusted)},
            {"q", p(h.q)}};
}

}  // namespace

std::string ResearchJson(const ResearchReport& report) {
    const ResearchResult& r = *report.result;
    Json doc;
    doc["family_size"] = r.familySize;
    doc["method"] = r.method;
    doc["prices"] = report.prices;
    doc["start"] = DateText(r.startDay);
    doc["end"] = DateText(r.endDay);
    doc["centricity"] = report.centres;
    doc["pairs"] = report.pairs;
    doc["trials"] = r.trials;
    doc["seed"] = r.seed;
    doc["min_trades"] = r.minTrades;
    doc["buy_and_hold"] = r.haveBuyAndHold ? Json(RoundHalfEven(r.buyAndHold, 2)) : Json(nullptr);
    doc["holdout"] = r.haveHoldout ? Json{{"percent", report.holdoutPercent},
                                          {"start", DateText(r.holdoutStartDay)},
                                          {"end", DateText(r.holdoutEndDay)},
                                          {"family_size", r.holdoutFamilySize}}
                                   : Json(nullptr);
    doc["combinations"] = Json::array();
    for (const ResearchRow& row : r.rows) {
        Json j = FamilyRowJson(row.row);
        j["holdout"] = row.holdout ? HoldoutJson(*row.holdout) : Json(nullptr);
        doc["combinations"].push_back(std::move(j));
    }
    return ReportJsonText(doc);
}

std::string ResearchCsv(const ResearchReport& report) {
    const ResearchResult& r = *report.result;
    std::string text =
        "rank,first,second,centricity,aspect,orb,trades,winners,total_gain,mean_gain,"
        "mean_holding_days,time_in_market,annualised_return,max_drawdown,matched_buy_and_hold,"
        "too_few_trades,p,p_adjusted,q,holdout_trades,holdout_mean_gain,holdout_p,"
        "holdout_p_adjusted,holdout_q\r\n";
    // The same numbers as the JSON, in its order: the CSV is its table.
    const auto cell = [](const Json& v) -> std::string {
        if (v.is_null()) return "";
        if (v.is_string()) return CsvField(v.get<std::string>());
        if (v.is_boolean()) return v.get<bool>() ? "true" : "false";
        return v.dump();
    };
    for (std::size_t k = 0; k < r.rows.size(); ++k) {
        const Json j = FamilyRowJson(r.rows[k].row);
        std::string line = std::to_string(k + 1);
        for (const auto& [key, value] : j.items()) {
            line += ',';
            line += cell(value);
        }
        if (r.rows[k].holdout) {
            const Json h = HoldoutJson(*r.rows[k].holdout);
            for (const char* key : {"trades", "mean_gain", "p", "p_adjusted", "q"}) {
                line += ',';
                line += cell(h[key]);
            }
        } else {
            line += ",,,,,";
        }
        text += line + "\r\n";
    }
    return text;
}

}  // namespace vlt
