// --format csv and json: the records read back (JSON with nlohmann, CSV with
// a small reader of its own below) rebuild the text report's lines field by
// field: every transit row, every detail line and summary line of a
// simulation, and the statistics.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/report_formats.h"
#include "tests/report/report_fixture.h"

namespace vlt::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

class FormatsProgram : public ReportFolderTest {
protected:
    ProgramRun Run(std::vector<std::string> args, const std::string& format = "") {
        if (!format.empty()) args.insert(args.end(), {"--format", format});
        return ReportFolderTest::Run(args);
    }
};

// RFC 4180: records end with CR LF; a field in double quotes may hold
// commas, line ends and doubled quotes.  Each record becomes a map from the
// header's names.
std::vector<std::map<std::string, std::string>> ReadCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            record.push_back(field);
            field.clear();
            records.push_back(record);
            record.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.empty() && record.empty()) << "the last record ends with CR LF";
    std::vector<std::map<std::string, std::string>> rows;
    if (records.empty()) return rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
        EXPECT_EQ(records[r].size(), records[0].size()) << "record " << r;
        std::map<std::string, std::string> row;
        for (std::size_t k = 0; k < records[0].size() && k < records[r].size(); ++k) {
            row[records[0][k]] = records[r][k];
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A cell padded with blanks to 12 characters (the degree sign counts as one).
std::string Pad(const std::string& text) {
    std::size_t chars = 0;
    for (unsigned char c : text) chars += (c & 0xC0) != 0x80 ? 1 : 0;
    return text + std::string(chars < 12 ? 12 - chars : 0, ' ');
}

// One transit row as the fields say, in the text report's layout.
struct RowFields {
    std::string pair;  // centricity, planets: where one table ends
    std::string aspect;
    std::string cells[9];
};

std::string RowLine(const RowFields& r, bool showAspect) {
    std::string line = Pad(showAspect ? r.aspect : "") + "| ";
    for (int c = 1; c <= 3; ++c) line += Pad(r.cells[c]);
    line += "| " + Pad(r.cells[4]) + "| ";
    for (int c = 5; c <= 7; ++c) line += Pad(r.cells[c]);
    return line + "| " + r.cells[8];
}

// The transit rows of the text report, in order.
std::vector<std::string> TextRows(const std::string& text) {
    std::vector<std::string> rows;
    for (const std::string& line : Lines(text)) {
        if (line.size() >= 104 && line.compare(12, 2, "| ") == 0 && line.rfind("Aspect ", 0) != 0) {
            rows.push_back(line);
        }
    }
    return rows;
}

std::vector<std::string> Rebuilt(const std::vector<RowFields>& rows) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool newTable = i == 0 || rows[i].pair != rows[i - 1].pair;
        // The aspect is named on the first row of a table and where it changes.
        const bool show = newTable || rows[i].aspect != rows[i - 1].aspect;
        lines.push_back(RowLine(rows[i], show));
    }
    return lines;
}

std::string Dated(const std::string& date, bool retrograde) {
    return date + (retrograde ? "r" : "");
}

const std::vector<std::vector<std::string>>& TransitRequests() {
    static const std::vector<std::vector<std::string>> kRequests = {
        {"tables", "--first", "Mercury", "--second", "Venus", "--start", "2024-01-01", "--end",
         "2024-12-31", "--tz", "GMT"},
        {"tables", "--first", "Sun", "--second", "Mercury", "--start", "2024-01-01", "--end",
         "2024-12-31", "--tz", "GMT+5:30"},
        {"tables", "--helio", "--first", "Earth", "--second", "Mars", "--start", "2020-01-01",
         "--end", "2023-12-31", "--tz", "GMT"},
        {"search", "--first", "Sun", "--second", "Mercury", "--aspect", "con", "--orb", "6",
         "--start", "2024-05-05", "--tz", "GMT"},
        {"showall", "--first", "Venus", "--keep", "first", "--start", "2024-01-01", "--end",
         "2024-03-31", "--natz", "--tz", "EST/CDT"},
    };
    return kRequests;
}

TEST_F(FormatsProgram, TransitRowsReadBackAsTheTextReport) {
    int approximate = 0;
    int exact = 0;
    int retrograde = 0;
    for (const auto& request : TransitRequests()) {
        SCOPED_TRACE(request[0] + " " + request[2] + " " + request[4]);
        const ProgramRun text = Run(request);
        const ProgramRun json = Run(request, "json");
        const ProgramRun csv = Run(request, "csv");
        ASSERT_EQ(text.exitCode, 0) << text.err;
        EXPECT_EQ(json.exitCode, 0);
        EXPECT_EQ(csv.exitCode, 0);
        const std::vector<std::string> expected = TextRows(text.out);
        ASSERT_FALSE(expected.empty());

        const Json doc = Json::parse(json.out);
        EXPECT_EQ(doc["command"], request[0]);
        std::vector<RowFields> fromJson;
        for (const Json& r : doc["rows"]) {
            RowFields f;
            f.pair = r["centricity"].get<std::string>() + r["first_planet"].get<std::string>() +
                     r["second_planet"].get<std::string>();
            f.aspect = r["aspect"];
            const auto cell = [&](const char* name) {
                const Json& c = r[name];
                return c["date"].is_null() ? std::string()
                                           : Dated(c["date"], c["retrograde"].get<bool>());
            };
            f.cells[1] = cell("start_outer");
            f.cells[2] = cell("start_middle");
            f.cells[3] = cell("start_inner");
            f.cells[5] = cell("end_inner");
            f.cells[6] = cell("end_middle");
            f.cells[7] = cell("end_outer");
            const Json& m = r["minimum"];
            if (!m["date"].is_null()) {
                f.cells[4] = m["date"].get<std::string>() + (m["exact"].get<bool>() ? "*" : "") +
                             (m["retrograde"].get<bool>() ? "r" : "");
            }
            if (m["exact"].get<bool>()) {
                f.cells[8] = m["time"].get<std::string>() + " " + m["zone"].get<std::string>();
                ++exact;
            } else if (!m["distance"].is_null()) {
                f.cells[8] = m["distance"];
                // The degrees agree with the degrees-and-minutes text.
                int d = 0, minutes = 0;
                ASSERT_EQ(std::sscanf(f.cells[8].c_str(), "%d\xC2\xB0%d'", &d, &minutes), 2);
                EXPECT_NEAR(m["degrees"].get<double>(), d + minutes / 60.0, 1e-4);
                ++approximate;
            }
            retrograde += f.cells[4].find('r') != std::string::npos ? 1 : 0;
            // The orbs of the headings.
            EXPECT_NE(
                text.out.find("Start " + std::to_string(r["orbs"][0].get<int>()) + "\xC2\xB0"),
                std::string::npos);
            fromJson.push_back(f);
        }
        EXPECT_EQ(Rebuilt(fromJson), expected);

        std::vector<RowFields> fromCsv;
        for (const auto& r : ReadCsv(csv.out)) {
            RowFields f;
            f.pair = r.at("centricity") + r.at("first_planet") + r.at("second_planet");
            f.aspect = r.at("aspect");
            const auto cell = [&](const std::string& name) {
                return Dated(r.at(name), r.at(name + "_retrograde") == "1");
            };
            f.cells[1] = cell("start_outer");
            f.cells[2] = cell("start_middle");
            f.cells[3] = cell("start_inner");
            f.cells[5] = cell("end_inner");
            f.cells[6] = cell("end_middle");
            f.cells[7] = cell("end_outer");
            f.cells[4] = r.at("minimum_date") + (r.at("exact") == "1" ? "*" : "") +
                         (r.at("minimum_retrograde") == "1" ? "r" : "");
            f.cells[8] = r.at("exact") == "1" ? r.at("minimum_time") + " " + r.at("zone")
                                              : r.at("minimum_distance");
            fromCsv.push_back(f);
        }
        EXPECT_EQ(Rebuilt(fromCsv), expected);
        // The pair and centricity come from each table's title.
        for (const RowFields& f : fromJson) {
            EXPECT_NE(f.pair.find("centric"), std::string::npos);
        }
    }
    EXPECT_GT(exact, 0);
    EXPECT_GT(approximate, 0);
    EXPECT_GT(retrograde, 0);
}

std::string Abbreviation(const std::string& aspect) {
    static const std::map<std::string, std::string> kNames = {
        {"Conjunction", "con"}, {"Opposition", "opp"},  {"Square", "sqr"},  {"Trine", "tri"},
        {"Sextile", "sxt"},     {"Semisextile", "ssx"}, {"Quincunx", "qui"}};
    return kNames.at(aspect);
}

std::string Money(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", x);
    return text;
}

std::string Prefix(const std::string& aspect, int orb) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %3d\xC2\xB0", aspect.c_str(), orb);
    return text;
}

// The detail and summary lines of a simulation from its events and summary.
struct SimulationFields {
    struct Event {
        std::string kind, aspect, date;
        int orb = 0, number = 0;
        double gain = 0, total = 0;
    };
    struct Pair {
        std::string aspect;
        int orb = 0, investments = 0;
        double gain = 0;
    };
    struct AspectTotal {
        std::string aspect;
        int redemptions = 0;
        double gain = 0;
    };
    std::vector<Event> events;
    std::vector<Pair> pairs;
    std::vector<AspectTotal> aspects;
    int total = 0;
};

std::vector<std::string> SimulationLines(const SimulationFields& s) {
    std::vector<std::string> lines;
    for (const auto& e : s.events) {
        const std::string prefix = Prefix(e.aspect, e.orb);
        if (e.kind == "investment") {
            lines.push_back(prefix + ", investment #" + std::to_string(e.number) + " on " + e.date +
                            " of $100");
        } else if (e.kind == "redemption") {
            lines.push_back(
                prefix + ", redemption #" + std::to_string(e.number) + " on " + e.date +
                (e.gain < 0 ? ", lost $" + Money(-e.gain) : ", gained $" + Money(e.gain)) +
                (e.total < 0 ? ", total loss is $" + Money(-e.total)
                             : ", total gain is $" + Money(e.total)));
        } else {
            lines.push_back(prefix + ", investment #" + std::to_string(e.number) + " cancelled.");
        }
    }
    lines.push_back("");
    lines.push_back("Total number of investments = " + std::to_string(s.total));
    lines.push_back("");
    for (const auto& p : s.pairs) {
        char orb[16];
        std::snprintf(orb, sizeof orb, "%3d\xC2\xB0", p.orb);
        lines.push_back("Ea " + Abbreviation(p.aspect) + " Ma," + orb +
                        (p.investments < 1 ? ", no investments" : ", ends with $" + Money(p.gain)));
    }
    lines.push_back("");
    lines.push_back("Gain or loss by aspect for all orbs:");
    for (const auto& a : s.aspects) {
        std::string name = a.aspect;
        name.resize(14, ' ');
        lines.push_back(name + std::to_string(a.redemptions) + "  $" + Money(a.gain));
    }
    return lines;
}

TEST_F(FormatsProgram, SimulationRecordsReadBackAsTheTextReport) {
    const std::vector<std::string> request = {
        "simulate", "--first",    "Earth",     "--second", "Mars",     "--start", "2007-01-03",
        "--end",    "2014-12-31", "--details", "--stats",  "--trials", "100"};
    const ProgramRun text = Run(request);
    const ProgramRun json = Run(request, "json");
    const ProgramRun csv = Run(request, "csv");
    ASSERT_EQ(text.exitCode, 0) << text.err;
    ASSERT_EQ(json.exitCode, 0) << json.err;
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    // The text from the first detail line to the per-aspect totals.
    std::vector<std::string> expected = Lines(text.out);
    ASSERT_GT(expected.size(), 3u);
    expected.erase(expected.begin(), expected.begin() + 2);  // header, blank line
    std::vector<std::string> statsLines;
    auto it = std::find_if(expected.begin(), expected.end(),
                           [](const std::string& l) { return l.rfind("Statistics", 0) == 0; });
    ASSERT_NE(it, expected.end());
    statsLines.assign(it + 3, expected.end() - 1);  // pair lines, buy and hold left out
    const std::string familyLine = *(it + 1);
    expected.erase(it - 1, expected.end());

    const Json doc = Json::parse(json.out);
    EXPECT_EQ(doc["title"], Lines(text.out)[0]);
    EXPECT_EQ(doc["prices"], "DJIA_data.txt");
    EXPECT_TRUE(doc["completed"].get<bool>());
    SimulationFields fromJson;
    for (const Json& e : doc["events"]) {
        SimulationFields::Event f;
        f.kind = e["event"];
        f.aspect = e["aspect"];
        f.orb = e["orb"];
        f.number = e["number"];
        f.date = e["date"];
        if (f.kind == "redemption") {
            f.gain = e["gain"];
            f.total = e["total_gain"];
            // The gain follows from the two values.
            const double buy = e["purchase_value"], sell = e["value"];
            EXPECT_NEAR(f.gain, (sell - buy) * 100 / buy, 0.005);
        }
        fromJson.events.push_back(f);
    }
    fromJson.total = doc["summary"]["total_investments"];
    for (const Json& p : doc["summary"]["pairs"]) {
        fromJson.pairs.push_back({p["aspect"], p["orb"], p["investments"],
                                  p["gain"].is_null() ? 0.0 : p["gain"].get<double>()});
    }
    for (const Json& a : doc["summary"]["aspects"]) {
        fromJson.aspects.push_back({a["aspect"], a["redemptions"], a["gain"]});
    }
    EXPECT_EQ(SimulationLines(fromJson), expected);

    SimulationFields fromCsv;
    int buyAndHold = 0;
    std::vector<std::map<std::string, std::string>> csvPairs;
    for (const auto& r : ReadCsv(csv.out)) {
        const std::string& kind = r.at("record");
        if (kind == "investment" || kind == "redemption" || kind == "cancellation") {
            SimulationFields::Event f;
            f.kind = kind;
            f.aspect = r.at("aspect");
            f.orb = std::stoi(r.at("orb"));
            f.number = std::stoi(r.at("number"));
            f.date = r.at("date");
            if (kind == "redemption") {
                f.gain = std::stod(r.at("gain"));
                f.total = std::stod(r.at("total_gain"));
            }
            fromCsv.events.push_back(f);
        } else if (kind == "pair") {
            fromCsv.pairs.push_back(
                {r.at("aspect"), std::stoi(r.at("orb")), std::stoi(r.at("investments")),
                 r.at("total_gain").empty() ? 0.0 : std::stod(r.at("total_gain"))});
            csvPairs.push_back(r);
        } else if (kind == "aspect") {
            fromCsv.aspects.push_back(
                {r.at("aspect"), std::stoi(r.at("redemptions")), std::stod(r.at("gain"))});
        } else if (kind == "total") {
            fromCsv.total = std::stoi(r.at("investments"));
        } else if (kind == "buy_and_hold") {
            ++buyAndHold;
            EXPECT_NE(text.out.find("$100 gained $" + r.at("gain") + "\n"), std::string::npos);
        }
    }
    EXPECT_EQ(SimulationLines(fromCsv), expected);
    EXPECT_EQ(buyAndHold, 1);

    // The statistics: the text's lines rebuilt from the JSON's numbers, and
    // the CSV's the same as the JSON's.
    std::vector<std::string> statsFromJson;
    const Json& rows = doc["statistics"]["combinations"];
    ASSERT_EQ(rows.size(), csvPairs.size());
    int members = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Json& p = rows[i];
        char line[256];
        char orb[16];
        std::snprintf(orb, sizeof orb, "%3d\xC2\xB0", p["orb"].get<int>());
        const std::string label = "Ea " + p["aspect"].get<std::string>() + " Ma," + orb;
        std::snprintf(line, sizeof line, "%-17s %6d %5d %9.2f %7.2f %6.1f %6.1f %7.2f %6.1f %7.2f",
                      label.c_str(), p["trades"].get<int>(), p["winners"].get<int>(),
                      p["total_gain"].get<double>(), p["mean_gain"].get<double>(),
                      p["mean_holding_days"].get<double>(), p["time_in_market"].get<double>() * 100,
                      p["annualised_return"].get<double>(), p["max_drawdown"].get<double>(),
                      p["matched_buy_and_hold"].get<double>());
        std::string full = line;
        if (p["too_few_trades"].get<bool>()) {
            EXPECT_TRUE(p["p"].is_null());
            EXPECT_TRUE(csvPairs[i].at("p").empty());
            full += "  too few trades";
        } else {
            ++members;
            std::snprintf(line, sizeof line, " %7.4f %7.4f %7.4f", p["p"].get<double>(),
                          p["p_adjusted"].get<double>(), p["q"].get<double>());
            full += line;
            EXPECT_NEAR(std::stod(csvPairs[i].at("p_adjusted")), p["p_adjusted"].get<double>(),
                        1e-6);
            EXPECT_NEAR(std::stod(csvPairs[i].at("q")), p["q"].get<double>(), 1e-6);
        }
        statsFromJson.push_back(full);
        EXPECT_EQ(p["first"], "Earth");
        EXPECT_EQ(p["second"], "Mars");
        EXPECT_EQ(p["centricity"], "helio");
        EXPECT_EQ(Abbreviation(csvPairs[i].at("aspect")), p["aspect"]);
        EXPECT_EQ(std::stoi(csvPairs[i].at("trades")), p["trades"].get<int>());
        EXPECT_EQ(std::stoi(csvPairs[i].at("winners")), p["winners"].get<int>());
        // The statistics' total is the summary's.
        EXPECT_EQ(csvPairs[i].at("gain"),
                  csvPairs[i].at("total_gain").empty() ? "0.00" : csvPairs[i].at("total_gain"));
        EXPECT_NEAR(std::stod(csvPairs[i].at("max_drawdown")), p["max_drawdown"].get<double>(),
                    1e-4);
    }
    EXPECT_EQ(statsFromJson, statsLines);
    EXPECT_EQ(doc["statistics"]["trials"], 100);
    EXPECT_EQ(doc["statistics"]["seed"], 1);
    EXPECT_EQ(doc["statistics"]["family_size"], members);
    EXPECT_EQ(doc["statistics"]["method"], familyLine);
}

TEST(ReportCsv, FieldsAreQuotedAsRfc4180Says) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"line\nend", "\"line\nend\""},
        {"Adj Close", "Adj Close"},
    };
    std::string file = "field,other\r\n";
    for (const auto& [text, written] : cases) {
        EXPECT_EQ(CsvField(text), written);
        file += CsvField(text) + ",x\r\n";
    }
    // And the reader of these tests reads each back whole.
    const auto rows = ReadCsv(file);
    ASSERT_EQ(rows.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(rows[i].at("field"), cases[i].first);
        EXPECT_EQ(rows[i].at("other"), "x");
    }
}

TEST_F(FormatsProgram, NamesAndRefusalsInRecords) {
    // A price file whose name holds a comma and a quote lands in the JSON
    // intact; refused requests write no records at all.
    const ProgramRun refused =
        Run({"simulate", "--start", "2006-01-01", "--end", "2007-06-30"}, "json");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "Investment dates must be in the range\n 2007-01-03 through 2014-12-31.\n");
    fs::copy_file(folder_ / "DJIA_data.txt", folder_ / "dj,\"a\".txt");
    const std::vector<std::string> request = {"simulate",   "--start",  "2010-01-01",  "--end",
                                              "2010-03-31", "--prices", "dj,\"a\".txt"};
    const ProgramRun json = Run(request, "json");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(Json::parse(json.out)["prices"], "dj,\"a\".txt");
    const ProgramRun csv = Run(request, "csv");
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    const auto rows = ReadCsv(csv.out);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().at("record"), "total");
}

}  // namespace
}  // namespace vlt::testing
