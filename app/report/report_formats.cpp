#include "app/report/report_formats.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/positions/vocabulary.h"
#include "app/support/date_processing.h"
#include "app/support/numbers.h"

namespace vlt {

using Json = nlohmann::ordered_json;

std::string ReportJsonText(const Json& doc) {
    return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

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

// The document as text.  A file name need not be UTF-8 (a name is any bytes
// on this system); each byte that is not part of valid UTF-8 becomes
// U+FFFD, so that the document is always valid JSON.
std::string DumpJson(const Json& doc) { return ReportJsonText(doc); }

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
                                       "outer_orb",  "middle_orb",   "inner_orb"};
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
        std::vector<std::string> f = {r.centricity,
                                      r.firstPlanet,
                                      r.secondPlanet,
                                      r.aspect,
                                      std::to_string(r.outerOrb),
                                      std::to_string(r.middleOrb),
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
        minimum["degrees"] =
            r.minimumDegrees < 0 ? Json(nullptr) : Json(RoundHalfEven(r.minimumDegrees, 4));
        row["minimum"] = minimum;
        for (int k = 0; k < 3; ++k) {
            row[kEndNames[k]] = {{"date", DateOrNull(r.end[k])},
                                 {"retrograde", r.endRetrograde[k]}};
        }
        doc["rows"].push_back(row);
    }
    return DumpJson(doc);
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

const AspectRecord& AspectRecordOf(int aspect) {
    static const AspectRecord none{};
    if (aspect < 1 || aspect > kAspectCount) return none;
    return AspectNames[static_cast<std::size_t>(aspect)];
}

Json EventJson(const SimulationEvent& e) {
    Json j;
    j["event"] = KindName(e.kind);
    j["aspect"] = std::string(Info(e.aspect).name);
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
    return j;
}

Json SummaryJson(const InvestmentSimulation& sim) {
    const SimulationTotals& totals = sim.Totals();
    Json summary;
    summary["total_investments"] = totals.completedInvestments;
    summary["pairs"] = Json::array();
    for (const SimulationPair& p : sim.Pairs()) {
        summary["pairs"].push_back(
            {{"aspect", std::string(Info(p.aspect).name)},
             {"orb", p.orbDegrees},
             {"investments", p.investments},
             {"gain", p.investments < 1 ? Json(nullptr) : Json(p.totalGain)}});
    }
    summary["aspects"] = Json::array();
    for (const Aspect a : RedeemedAspects(totals)) {
        summary["aspects"].push_back({{"aspect", std::string(Info(a).name)},
                                      {"redemptions", totals.Of(a).redemptions},
                                      {"gain", Cents(totals.Of(a).gainSum)}});
    }
    return summary;
}

// "sqr": the aspect as the family's rows name it.
std::string AspectKey(int aspect) {
    std::string key = AspectRecordOf(aspect).abbreviation;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

// A p-value of a family member; null outside the family.
Json FamilyP(const FamilyRow& row, double p) {
    return row.inFamily ? Json(RoundHalfEven(p, 6)) : Json(nullptr);
}

}  // namespace

Json FamilyRowJson(const FamilyRow& r) {
    return {{"first", PlanetName(static_cast<std::int16_t>(r.first), r.helio, false)},
            {"second", PlanetName(static_cast<std::int16_t>(r.second), r.helio, false)},
            {"centricity", r.helio ? "helio" : "geo"},
            {"aspect", AspectKey(r.aspect)},
            {"orb", r.orbDegrees},
            {"trades", r.trades},
            {"winners", r.winners},
            {"total_gain", Cents(r.totalGain)},
            {"mean_gain", RoundHalfEven(r.meanGain, 4)},
            {"mean_holding_days", RoundHalfEven(r.meanHoldingDays, 4)},
            {"time_in_market", RoundHalfEven(r.timeInMarket, 6)},
            {"annualised_return", RoundHalfEven(r.annualisedReturn, 4)},
            {"max_drawdown", RoundHalfEven(r.maxDrawdown, 4)},
            {"matched_buy_and_hold", RoundHalfEven(r.matchedBuyAndHold, 4)},
            {"too_few_trades", !r.inFamily},
            {"p", FamilyP(r, r.p)},
            {"p_adjusted", FamilyP(r, r.pAdjusted)},
            {"q", FamilyP(r, r.q)}};
}

namespace {

Json StatisticsJson(const FamilyResult& s) {
    Json stats;
    stats["trials"] = s.trials;
    stats["seed"] = s.seed;
    stats["family_size"] = s.familySize;
    stats["min_trades"] = s.minTrades;
    stats["method"] = FamilyMethodLine(s);
    stats["buy_and_hold"] = {
        {"start", DateText(s.startDay)},
        {"end", DateText(s.endDay)},
        {"gain", s.haveBuyAndHold ? Json(Cents(s.buyAndHold)) : Json(nullptr)}};
    stats["combinations"] = Json::array();
    for (const FamilyRow& r : s.rows) stats["combinations"].push_back(FamilyRowJson(r));
    return stats;
}

// The columns of the simulation's CSV, in order; each record fills some.
enum CsvColumn : std::size_t {
    kRecord,
    kFirstPlanet,
    kSecondPlanet,
    kAspectName,
    kOrb,
    kNumber,
    kDate,
    kValue,
    kPurchaseDate,
    kPurchaseValue,
    kGain,
    kTotalGain,
    kInvestments,
    kRedemptions,
    kTrades,
    kWins,
    kMeanGain,
    kMeanHoldingDays,
    kTimeInMarket,
    kAnnualisedReturn,
    kMaxDrawdown,
    kMatchedBuyAndHold,
    kP,
    kPAdjusted,
    kQ,
    kColumnCount
};

constexpr const char* kSimulationHeader[kColumnCount] = {"record",
                                                         "first_planet",
                                                         "second_planet",
                                                         "aspect",
                                                         "orb",
                                                         "number",
                                                         "date",
                                                         "value",
                                                         "purchase_date",
                                                         "purchase_value",
                                                         "gain",
                                                         "total_gain",
                                                         "investments",
                                                         "redemptions",
                                                         "trades",
                                                         "winners",
                                                         "mean_gain",
                                                         "mean_holding_days",
                                                         "time_in_market",
                                                         "annualised_return",
                                                         "max_drawdown",
                                                         "matched_buy_and_hold",
                                                         "p",
                                                         "p_adjusted",
                                                         "q"};

// The cells of one CSV record, by column; the others stay empty.
using CsvCells = std::vector<std::pair<CsvColumn, std::string>>;

std::string CsvRecord(const CsvCells& cells) {
    std::vector<std::string> fields(kColumnCount);
    for (const auto& [column, text] : cells) fields[column] = text;
    return JoinCsv(fields);
}

CsvCells EventCells(const SimulationEvent& e) {
    CsvCells cells = {{kRecord, KindName(e.kind)},
                      {kAspectName, std::string(Info(e.aspect).name)},
                      {kOrb, std::to_string(e.orbDegrees)},
                      {kNumber, std::to_string(e.number)},
                      {kDate, DateText(e.day)}};
    if (e.kind != SimulationEvent::Kind::Cancellation) cells.push_back({kValue, Exact(e.value)});
    if (e.kind != SimulationEvent::Kind::Investment) {
        cells.push_back({kPurchaseDate, DateText(e.purchaseDay)});
        cells.push_back({kPurchaseValue, Exact(e.purchaseValue)});
    }
    if (e.kind == SimulationEvent::Kind::Redemption) {
        cells.push_back({kGain, Fixed(e.gain, 2)});
        cells.push_back({kTotalGain, Fixed(e.totalGain, 2)});
    }
    return cells;
}

// A pair's summary, with its statistics when they were asked for.
CsvCells PairCells(const SimulationPair& pair, const FamilyResult* statistics) {
    CsvCells cells = {{kRecord, "pair"},
                      {kAspectName, std::string(Info(pair.aspect).name)},
                      {kOrb, std::to_string(pair.orbDegrees)},
                      {kInvestments, std::to_string(pair.investments)}};
    if (pair.investments >= 1) cells.push_back({kTotalGain, Fixed(pair.totalGain, 2)});
    if (statistics == nullptr) return cells;
    for (const FamilyRow& p : statistics->rows) {
        if (p.aspect != Number(pair.aspect) || p.orbDegrees != pair.orbDegrees) continue;
        cells.insert(cells.end(), {{kGain, Fixed(p.totalGain, 2)},
                                   {kTrades, std::to_string(p.trades)},
                                   {kWins, std::to_string(p.winners)},
                                   {kMeanGain, Fixed(p.meanGain, 4)},
                                   {kMeanHoldingDays, Fixed(p.meanHoldingDays, 4)},
                                   {kTimeInMarket, Fixed(p.timeInMarket, 6)},
                                   {kAnnualisedReturn, Fixed(p.annualisedReturn, 4)},
                                   {kMaxDrawdown, Fixed(p.maxDrawdown, 4)},
                                   {kMatchedBuyAndHold, Fixed(p.matchedBuyAndHold, 4)}});
        if (!p.inFamily) continue;
        cells.insert(
            cells.end(),
            {{kP, Fixed(p.p, 6)}, {kPAdjusted, Fixed(p.pAdjusted, 6)}, {kQ, Fixed(p.q, 6)}});
    }
    return cells;
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
    for (const SimulationEvent& e : sim.Events()) doc["events"].push_back(EventJson(e));
    if (report.completed) doc["summary"] = SummaryJson(sim);
    if (report.statistics != nullptr) doc["statistics"] = StatisticsJson(*report.statistics);
    return DumpJson(doc);
}

std::string SimulationCsv(const SimulationReport& report) {
    const InvestmentSimulation& sim = *report.simulation;
    const SimulationTotals& totals = sim.Totals();
    std::string csv = JoinCsv({std::begin(kSimulationHeader), std::end(kSimulationHeader)});
    const std::string p1 = PlanetText(sim.FirstPlanet());
    const std::string p2 = PlanetText(sim.SecondPlanet());
    // Every record but the buy-and-hold line names the planet pair.
    const auto withPlanets = [&](CsvCells cells) {
        cells.push_back({kFirstPlanet, p1});
        cells.push_back({kSecondPlanet, p2});
        csv += CsvRecord(cells);
    };
    for (const SimulationEvent& e : sim.Events()) withPlanets(EventCells(e));
    if (!report.completed) return csv;
    for (const SimulationPair& p : sim.Pairs()) withPlanets(PairCells(p, report.statistics));
    for (const Aspect a : RedeemedAspects(totals)) {
        withPlanets({{kRecord, "aspect"},
                     {kAspectName, std::string(Info(a).name)},
                     {kGain, Fixed(totals.Of(a).gainSum, 2)},
                     {kRedemptions, std::to_string(totals.Of(a).redemptions)}});
    }
    withPlanets({{kRecord, "total"},
                 {kPurchaseDate, DateText(sim.StartDay())},
                 {kDate, DateText(sim.EndDay())},
                 {kInvestments, std::to_string(totals.completedInvestments)}});
    if (report.statistics != nullptr && report.statistics->haveBuyAndHold) {
        const FamilyResult& s = *report.statistics;
        csv += CsvRecord({{kRecord, "buy_and_hold"},
                          {kPurchaseDate, DateText(s.startDay)},
                          {kDate, DateText(s.endDay)},
                          {kGain, Fixed(s.buyAndHold, 2)}});
    }
    return csv;
}

}  // namespace vlt
