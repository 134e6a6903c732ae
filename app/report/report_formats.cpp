#include "app/report/report_formats.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/positions/vocabulary.h"
#include "app/simulation/simulation_record.h"
#include "app/support/date_processing.h"
#include "app/support/numbers.h"

namespace vlt {

using Json = nlohmann::ordered_json;

namespace {

constexpr const char* kCsvLineEnd = "\r\n";

std::string DateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
}

double Cents(double x) { return RoundHalfEven(x, 2); }

std::string Fixed(double x, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    return text;
}

// The shortest text that reads back as the same double.
std::string Exact(double x) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, x);
    return std::string(text, result.ptr);
}

std::string JoinCsv(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += CsvField(fields[i]);
    }
    return line + kCsvLineEnd;
}

Json DateOrNull(const std::string& date) { return date.empty() ? Json(nullptr) : Json(date); }

const char* const kStartNames[3] = {"start_outer", "start_middle", "start_inner"};
const char* const kEndNames[3] = {"end_inner", "end_middle", "end_outer"};

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string TransitCsv(const std::vector<TransitRecord>& rows) {
    std::vector<std::string> header = {"centricity", "first_planet", "second_planet", "aspect",
                                       "outer_orb", "middle_orb", "inner_orb"};
    for (const char* n : kStartNames) {
        header.push_back(n);
        header.push_back(std::string(n) + "_retrograde");
    }
    for (const char* n : {"minimum_date", "minimum_retrograde", "exact", "minimum_time", "zone",
                          "minimum_distance", "minimum_degrees"}) {
        header.push_back(n);
    }
    for (const char* n : kEndNames) {
        header.push_back(n);
        header.push_back(std::string(n) + "_retrograde");
    }
    std::string csv = JoinCsv(header);
    const auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    for (const TransitRecord& r : rows) {
        std::vector<std::string> f = {r.centricity, r.firstPlanet, r.secondPlanet, r.aspect,
                                      std::to_string(r.outerOrb), std::to_string(r.middleOrb),
                                      std::to_string(r.innerOrb)};
        for (int k = 0; k < 3; ++k) {
            f.push_back(r.start[k]);
            f.push_back(flag(r.startRetrograde[k]));
        }
        f.push_back(r.minimumDate);
        f.push_back(flag(r.minimumRetrograde));
        f.push_back(flag(r.exact));
        f.push_back(r.minimumTime);
        f.push_back(r.zone);
        f.push_back(r.minimumDistance);
        f.push_back(r.minimumDegrees < 0 ? std::string() : Fixed(r.minimumDegrees, 4));
        for (int k = 0; k < 3; ++k) {
            f.push_back(r.end[k]);
            f.push_back(flag(r.endRetrograde[k]));
        }
        csv += JoinCsv(f);
    }
    return csv;
}

std::string TransitJson(ReportCommand command, const std::vector<TransitRecord>& rows) {
    static const char* const kCommands[] = {"tables", "search", "showall", "simulate"};
    Json doc;
    doc["command"] = kCommands[static_cast<int>(command)];
    doc["rows"] = Json::array();
    for (const TransitRecord& r : rows) {
        Json row;
        row["centricity"] = r.centricity;
        row["first_planet"] = r.firstPlanet;
        row["second_planet"] = r.secondPlanet;
        row["aspect"] = r.aspect;
        row["orbs"] = {r.outerOrb, r.middleOrb, r.innerOrb};
        for (int k = 0; k < 3; ++k) {
            row[kStartNames[k]] = {{"date", DateOrNull(r.start[k])},
                                   {"retrograde", r.startRetrograde[k]}};
        }
        Json minimum;
        minimum["date"] = DateOrNull(r.minimumDate);
        minimum["retrograde"] = r.minimumRetrograde;
        minimum["exact"] = r.exact;
        minimum["time"] = r.exact ? Json(r.minimumTime) : Json(nullptr);
        minimum["zone"] = r.exact ? Json(r.zone) : Json(nullptr);
        minimum["distance"] = r.minimumDegrees < 0 ? Json(nullptr) : Json(r.minimumDistance);
        minimum["degrees"] = r.minimumDegrees < 0 ? Json(nullptr)
                                                  : Json(RoundHalfEven(r.minimumDegrees, 4));
        row["minimum"] = minimum;
        for (int k = 0; k < 3; ++k) {
            row[kEndNames[k]] = {{"date", DateOrNull(r.end[k])},
                                 {"retrograde", r.endRetrograde[k]}};
        }
        doc["rows"].push_back(row);
    }
    return doc.dump(2) + "\n";
}

namespace {

const char* KindName(SimulationEvent::Kind kind) {
    switch (kind) {
        case SimulationEvent::Kind::Investment: return "investment";
        case SimulationEvent::Kind::Redemption: return "redemption";
        case SimulationEvent::Kind::Cancellation: return "cancellation";
    }
    return "investment";
}

std::string PlanetText(std::int16_t planet) { return PlanetName(planet, true, false); }

const AspectRecord& Aspect(int aspect) {
    static const AspectRecord none{};
    if (aspect < 1 || aspect > kAspectCount) return none;
    return AspectNames[static_cast<std::size_t>(aspect)];
}

}  // namespace

std::string SimulationJson(const SimulationReport& report) {
    const InvestmentSimulation& sim = *report.simulation;
    Json doc;
    doc["command"] = "simulate";
    doc["title"] = report.title;
    doc["prices"] = report.prices;
    doc["first_planet"] = PlanetText(sim.FirstPlanet());
    doc["second_planet"] = PlanetText(sim.SecondPlanet());
    doc["start"] = DateText(sim.StartDay());
    doc["end"] = DateText(sim.EndDay());
    doc["completed"] = report.completed;
    doc["events"] = Json::array();
    for (const SimulationEvent& e : sim.Events()) {
        Json j;
        j["event"] = KindName(e.kind);
        j["aspect"] = Aspect(e.aspect).name;
        j["orb"] = e.orbDegrees;
        j["number"] = e.number;
        j["date"] = DateText(e.day);
        if (e.kind == SimulationEvent::Kind::Investment) {
            j["value"] = e.value;
            j["amount"] = 100;
        } else if (e.kind == SimulationEvent::Kind::Redemption) {
            j["value"] = e.value;
            j["purchase_date"] = DateText(e.purchaseDay);
            j["purchase_value"] = e.purchaseValue;
            j["gain"] = Cents(e.gain);
            j["total_gain"] = Cents(e.totalGain);
        } else {
            j["purchase_date"] = DateText(e.purchaseDay);
            j["purchase_value"] = e.purchaseValue;
        }
        doc["events"].push_back(j);
    }
    if (report.completed) {
        Json summary;
        summary["total_investments"] = sim.Totals().completedInvestments;
        summary["pairs"] = Json::array();
        for (const SimulationRecord& r : sim.Records()) {
            const int count = RecordCount(r);
            summary["pairs"].push_back({{"aspect", Aspect(RecordAspect(r)).name},
                                        {"orb", RecordOrb(r)},
                                        {"investments", count},
                                        {"gain", count < 1 ? Json(nullptr) : Json(RecordGain(r))}});
        }
        summary["aspects"] = Json::array();
        for (int a = 1; a <= 7; ++a) {
            const auto i = static_cast<std::size_t>(a);
            if (sim.Totals().redemptions[i] <= 0) continue;
            summary["aspects"].push_back({{"aspect", Aspect(a).name},
                                          {"redemptions", sim.Totals().redemptions[i]},
                                          {"gain", Cents(sim.Totals().gainSum[i])}});
        }
        doc["summary"] = summary;
    }
    if (report.statistics != nullptr) {
        const RunStatistics& s = *report.statistics;
        Json stats;
        stats["trials"] = s.trials;
        stats["seed"] = s.seed;
        stats["buy_and_hold"] = {{"start", DateText(s.startDay)},
                                 {"end", DateText(s.endDay)},
                                 {"gain", s.haveBuyAndHold ? Json(Cents(s.buyAndHoldGain))
                                                           : Json(nullptr)}};
        stats["pairs"] = Json::array();
        for (const PairStatistics& p : s.pairs) {
            stats["pairs"].push_back({{"aspect", Aspect(p.aspect).name},
                                      {"orb", p.orbDegrees},
                                      {"trades", p.trades},
                                      {"wins", p.wins},
                                      {"total_gain", Cents(p.totalGain)},
                                      {"mean_gain_percent", RoundHalfEven(p.meanGain, 4)},
                                      {"mean_holding_days", RoundHalfEven(p.meanHoldingDays, 4)},
                                      {"baseline_mean", RoundHalfEven(p.baselineMean, 4)},
                                      {"baseline_sd", RoundHalfEven(p.baselineStdDev, 4)},
                                      {"share_beaten", RoundHalfEven(p.shareBeaten, 6)}});
        }
        doc["statistics"] = stats;
    }
    return doc.dump(2) + "\n";
}

std::string SimulationCsv(const SimulationReport& report) {
    const InvestmentSimulation& sim = *report.simulation;
    const std::vector<std::string> header = {
        "record",        "first_planet",   "second_planet", "aspect",       "orb",
        "number",        "date",           "value",         "purchase_date", "purchase_value",
        "gain",          "total_gain",     "investments",   "redemptions",  "trades",
        "wins",          "mean_gain_percent", "mean_holding_days", "baseline_mean",
        "baseline_sd",   "share_beaten"};
    std::string csv = JoinCsv(header);
    const std::string p1 = PlanetText(sim.FirstPlanet());
    const std::string p2 = PlanetText(sim.SecondPlanet());
    const auto row = [&](const std::vector<std::pair<std::size_t, std::string>>& set) {
        std::vector<std::string> f(header.size());
        for (const auto& [column, text] : set) f[column] = text;
        csv += JoinCsv(f);
    };
    for (const SimulationEvent& e : sim.Events()) {
        std::vector<std::pair<std::size_t, std::string>> set = {
            {0, KindName(e.kind)}, {1, p1}, {2, p2}, {3, Aspect(e.aspect).name},
            {4, std::to_string(e.orbDegrees)}, {5, std::to_string(e.number)}, {6, DateText(e.day)}};
        if (e.kind != SimulationEvent::Kind::Cancellation) set.push_back({7, Exact(e.value)});
        if (e.kind != SimulationEvent::Kind::Investment) {
            set.push_back({8, DateText(e.purchaseDay)});
            set.push_back({9, Exact(e.purchaseValue)});
        }
        if (e.kind == SimulationEvent::Kind::Redemption) {
            set.push_back({10, Fixed(e.gain, 2)});
            set.push_back({11, Fixed(e.totalGain, 2)});
        }
        row(set);
    }
    if (!report.completed) return csv;
    for (const SimulationRecord& r : sim.Records()) {
        const int count = RecordCount(r);
        std::vector<std::pair<std::size_t, std::string>> set = {
            {0, "pair"}, {1, p1}, {2, p2}, {3, Aspect(RecordAspect(r)).name},
            {4, std::to_string(RecordOrb(r))}, {12, std::to_string(count)}};
        if (count >= 1) set.push_back({11, Fixed(RecordGain(r), 2)});
        if (report.statistics != nullptr) {
            for (const PairStatistics& p : report.statistics->pairs) {
                if (p.aspect != RecordAspect(r) || p.orbDegrees != RecordOrb(r)) continue;
                set.push_back({10, Fixed(p.totalGain, 2)});
                set.push_back({14, std::to_string(p.trades)});
                set.push_back({15, std::to_string(p.wins)});
                set.push_back({16, Fixed(p.meanGain, 4)});
                set.push_back({17, Fixed(p.meanHoldingDays, 4)});
                set.push_back({18, Fixed(p.baselineMean, 4)});
                set.push_back({19, Fixed(p.baselineStdDev, 4)});
                set.push_back({20, Fixed(p.shareBeaten, 6)});
            }
        }
        row(set);
    }
    for (int a = 1; a <= 7; ++a) {
        const auto i = static_cast<std::size_t>(a);
        if (sim.Totals().redemptions[i] <= 0) continue;
        row({{0, "aspect"}, {1, p1}, {2, p2}, {3, Aspect(a).name},
             {10, Fixed(sim.Totals().gainSum[i], 2)},
             {13, std::to_string(sim.Totals().redemptions[i])}});
    }
    row({{0, "total"}, {1, p1}, {2, p2}, {8, DateText(sim.StartDay())}, {6, DateText(sim.EndDay())},
         {12, std::to_string(sim.Totals().completedInvestments)}});
    if (report.statistics != nullptr && report.statistics->haveBuyAndHold) {
        const RunStatistics& s = *report.statistics;
        row({{0, "buy_and_hold"}, {8, DateText(s.startDay)}, {6, DateText(s.endDay)},
             {10, Fixed(s.buyAndHoldGain, 2)}});
    }
    return csv;
}

}  // namespace vlt
