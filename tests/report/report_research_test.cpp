// vlt-report research as a user runs it: bad input gives one line, the
// documented exit status and nothing on standard output; the JSON carries the
// names the issue fixed, with the rows of simulate --stats under the same
// names; CSV and JSON tell the same ranking; the job count changes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/report/report_fixture.h"

namespace vlt::testing {
namespace {

class ResearchProgram : public ReportFolderTest {
protected:
    // A daily random walk from 2003-01-01, `days` days, as a CSV export.
    void WriteWalk(const std::string& name, int days) {
        std::mt19937_64 generator(17);
        std::normal_distribution<double> step(0.0, 0.01);
        std::ostringstream csv;
        csv << "Date,Open,Close\n";
        int y = 2003, m = 1, d = 1;
        const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        double value = 100.0;
        for (int i = 0; i < days; ++i) {
            char date[40];
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", y, m, d);
            csv << date << ",1," << value << "\n";
            value *= std::exp(step(generator));
            const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
            if (++d > lengths[m - 1] + (m == 2 && leap ? 1 : 0)) {
                d = 1;
                if (++m > 12) {
                    m = 1;
                    ++y;
                }
            }
        }
        Write(name, csv.str());
    }
};

const std::vector<std::string> kSmall = {
    "research",  "--prices", "walk.csv", "--first", "Earth",     "--second", "Mercury,Venus",
    "--aspects", "sqr,tri",  "--trials", "49",      "--holdout", "30%"};

TEST_F(ResearchProgram, BadInputGivesOneLineAndNothingOnStandardOutput) {
    WriteWalk("walk.csv", 800);
    WriteWalk("short.csv", 29);
    const Refusal cases[] = {
        {"29 prices", {"research", "--prices", "short.csv"}, 1, "holds 29 prices"},
        {"no trials", With(kSmall, {"--trials", "0"}), 2, "--trials"},
        {"hold-out 95%", With(kSmall, {"--holdout", "95%"}), 2, "--holdout"},
        {"no jobs", With(kSmall, {"--jobs", "0"}), 2, "--jobs"},
        {"no price file", {"research", "--first", "Earth"}, 2, "--prices"},
        {"missing file", {"research", "--prices", "none.csv"}, 1, "none.csv"},
        {"two centres", With(kSmall, {"--geo", "--both"}), 2, "--both"},
        {"Earth second", With(kSmall, {"--second", "Earth"}), 2, "Earth"},
        {"orbs", With(kSmall, {"--orbs", "2,5,10"}), 2, "--orbs"},
        {"period outside", With(kSmall, {"--end", "2030-01-01"}), 1, "not within"},
        {"hold-out too short", With(kSmall, {"--start", "2005-01-01", "--holdout", "10%"}), 1,
         "the hold-out"},
        {"unknown option", With(kSmall, {"--stats"}), 2, "--stats"},
    };
    for (const Refusal& c : cases) ExpectRefused(c);
}

TEST_F(ResearchProgram, JsonNamesTheRowsAsSimulateStatsDoesAndCsvAgrees) {
    WriteWalk("walk.csv", 800);
    const ProgramRun json = Run(With(kSmall, {"--format", "json", "--min-trades", "3"}));
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto doc = nlohmann::json::parse(json.out);
    for (const char* key : {"family_size", "method", "combinations", "holdout"}) {
        EXPECT_TRUE(doc.contains(key)) << key;
    }
    const auto& rows = doc["combinations"];
    // Earth with Mercury and with Venus, two aspects, three orbs.
    ASSERT_EQ(rows.size(), 12u);
    int members = 0;
    double lastAdjusted = 0.0;
    int withHoldout = 0;
    for (const auto& row : rows) {
        for (const char* key : {"first", "second", "centricity", "aspect", "orb", "trades",
                                "mean_gain", "p", "p_adjusted", "q", "holdout"}) {
            EXPECT_TRUE(row.contains(key)) << key;
        }
        EXPECT_EQ(row["first"], "Earth");
        EXPECT_EQ(row["centricity"], "helio");
        if (row["too_few_trades"].get<bool>()) continue;
        ++members;
        // Ranked: p_adjusted never falls down the list.
        EXPECT_GE(row["p_adjusted"].get<double>(), lastAdjusted);
        lastAdjusted = row["p_adjusted"].get<double>();
        if (!row["holdout"].is_null()) ++withHoldout;
    }
    EXPECT_EQ(doc["family_size"].get<int>(), members);
    EXPECT_EQ(withHoldout, std::min(members, 10));

    // simulate --stats names its rows alike: every name it uses is here too.
    const ProgramRun sim = Run({"simulate", "--prices", "walk.csv", "--first", "Earth", "--second",
                                "Mercury", "--start", "2003-01-01", "--end", "2004-12-31",
                                "--stats", "--trials", "19", "--format", "json"});
    ASSERT_EQ(sim.exitCode, 0) << sim.err;
    const auto simRow = nlohmann::json::parse(sim.out)["statistics"]["combinations"].at(0);
    for (const auto& [key, value] : simRow.items()) EXPECT_TRUE(rows[0].contains(key)) << key;

    // The CSV is the same table: its rows in the same order with the same p.
    const ProgramRun csv = Run(With(kSmall, {"--format", "csv", "--min-trades", "3"}));
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    std::istringstream lines(csv.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("rank,first,second,centricity,aspect,orb,trades,", 0), 0u);
    for (std::size_t k = 0; std::getline(lines, line); ++k) {
        ASSERT_LT(k, rows.size());
        std::vector<std::string> cells;
        std::istringstream fields(line.substr(0, line.size() - 1));  // without CR
        for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
        ASSERT_GE(cells.size(), 19u) << line;
        EXPECT_EQ(cells[0], std::to_string(k + 1));
        EXPECT_EQ(cells[4], rows[k]["aspect"].get<std::string>()) << k;
        EXPECT_EQ(cells[5], std::to_string(rows[k]["orb"].get<int>())) << k;
        if (!rows[k]["p"].is_null()) {
            EXPECT_DOUBLE_EQ(std::stod(cells[16]), rows[k]["p"].get<double>());
        }
    }
}

TEST_F(ResearchProgram, TheJobCountChangesNoByte) {
    WriteWalk("walk.csv", 800);
    const ProgramRun one = Run(With(kSmall, {"--jobs", "1", "--both"}));
    const ProgramRun two = Run(With(kSmall, {"--jobs", "2", "--both"}));
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(one.out, two.out);
    EXPECT_NE(one.out.find("Hold-out from"), std::string::npos);
}

}  // namespace
}  // namespace vlt::testing
