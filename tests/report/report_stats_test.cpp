// vlt-report simulate --stats: the statistics agree with a recount from the
// report's own detail lines and the index file, their totals are the
// summary's to the cent, q is Benjamini-Hochberg of the p shown, the random
// columns follow the seed, and the report above the statistics is the report
// without them.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/report/report_fixture.h"

namespace vlt::testing {
namespace {

namespace fs = std::filesystem;

class StatsProgram : public ReportFolderTest {};

// Days since an epoch, counted here without the product's date code.
long DayCount(const std::string& date) {
    const int y = std::stoi(date.substr(0, 4));
    const int m = std::stoi(date.substr(5, 2));
    const int d = std::stoi(date.substr(8, 2));
    const int a = (14 - m) / 12;
    const long yy = y + 4800 - a;
    const long mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400;
}

std::string AbbreviationOf(const std::string& aspect) {
    static const std::map<std::string, std::string> kNames = {
        {"Conjunction", "con"}, {"Opposition", "opp"},  {"Square", "sqr"},  {"Trine", "tri"},
        {"Sextile", "sxt"},     {"Semisextile", "ssx"}, {"Quincunx", "qui"}};
    return kNames.at(aspect);
}

struct Recount {
    int trades = 0;
    int wins = 0;
    double total = 0;
    long heldDays = 0;
};

const std::vector<std::string> kRequest = {"simulate",   "--first",  "Earth",      "--second",
                                           "Mars",       "--start",  "2007-01-03", "--end",
                                           "2014-12-31", "--details"};

TEST_F(StatsProgram, StatisticsAgreeWithARecountFromTheTrades) {
    const ProgramRun plain = Run(kRequest);
    const ProgramRun run = Run(With(kRequest, {"--stats"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The report itself is unchanged; the statistics follow a blank line.
    ASSERT_EQ(run.out.rfind(plain.out + "\nStatistics", 0), 0u);

    // Recount from the detail lines.
    const std::regex investment(R"(^(\w+) +(\d+)°, investment #(\d+) on (\S+) of \$100$)");
    const std::regex redemption(
        R"(^(\w+) +(\d+)°, redemption #(\d+) on (\S+), (gained|lost) \$([0-9.,]+), .*$)");
    std::map<std::string, std::string> opened;
    std::map<std::string, Recount> recount;
    std::istringstream lines(plain.out);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_match(line, m, investment)) {
            opened[m[1].str() + m[2].str()] = m[4];
        } else if (std::regex_match(line, m, redemption)) {
            const std::string key = AbbreviationOf(m[1]) + " " + m[2].str();
            Recount& r = recount[key];
            const double gain = std::stod(m[6]) * (m[5] == "lost" ? -1 : 1);
            ++r.trades;
            r.wins += gain > 0 ? 1 : 0;
            r.total += gain;
            r.heldDays += DayCount(m[4]) - DayCount(opened.at(m[1].str() + m[2].str()));
        }
    }
    ASSERT_FALSE(recount.empty());

    const std::regex statLine(
        R"(^Ea (\w+) Ma, +(\d+)° +(\d+) +(\d+) +(\S+) +(\S+) +(\S+) +(\S+) +(\S+) +(\S+) +(\S+) +(.*)$)");
    const std::regex summaryLine(R"(^Ea (\w+) Ma, +(\d+)°, ends with \$(\S+)$)");
    std::map<std::string, std::string> summaryTotal;
    std::istringstream summary(plain.out);
    for (std::string line; std::getline(summary, line);) {
        std::smatch m;
        if (std::regex_match(line, m, summaryLine))
            summaryTotal[m[1].str() + " " + m[2].str()] = m[3];
    }
    int pairs = 0;
    std::vector<double> p, q;
    std::istringstream stats(run.out.substr(plain.out.size()));
    for (std::string line; std::getline(stats, line);) {
        std::smatch m;
        if (!std::regex_match(line, m, statLine)) continue;
        SCOPED_TRACE(line);
        ++pairs;
        const std::string key = m[1].str() + " " + m[2].str();
        const Recount r = recount[key];
        EXPECT_EQ(std::stoi(m[3]), r.trades);
        EXPECT_EQ(std::stoi(m[4]), r.wins);
        EXPECT_EQ(m[5].str(), r.trades > 0 ? summaryTotal.at(key) : "0.00");
        if (r.trades > 0) {
            EXPECT_NEAR(std::stod(m[6]), r.total / r.trades, 0.01);
            EXPECT_NEAR(std::stod(m[7]), static_cast<double>(r.heldDays) / r.trades, 0.05);
        }
        if (r.trades < 5) {
            EXPECT_EQ(m[12].str(), "too few trades");
            continue;
        }
        double pRow = 0, pAdjusted = 0, qRow = 0;
        ASSERT_EQ(std::sscanf(m[12].str().c_str(), "%lf %lf %lf", &pRow, &pAdjusted, &qRow), 3);
        EXPECT_GE(pAdjusted, pRow);
        EXPECT_GT(pRow, 0.0);
        p.push_back(pRow);
        q.push_back(qRow);
    }
    EXPECT_EQ(pairs, 21);
    ASSERT_FALSE(p.empty());
    EXPECT_NE(run.out.find("Family of " + std::to_string(p.size()) + " combinations"),
              std::string::npos);
    // Benjamini-Hochberg recounted from the p shown (four decimals).
    for (std::size_t i = 0; i < p.size(); ++i) {
        double best = 1.0;
        for (std::size_t j = 0; j < p.size(); ++j) {
            const auto rank =
                std::count_if(p.begin(), p.end(), [&](double x) { return x <= p[j]; });
            if (p[j] >= p[i])
                best = std::min(best,
                                p[j] * static_cast<double>(p.size()) / static_cast<double>(rank));
        }
        EXPECT_NEAR(q[i], best, 0.0002 * static_cast<double>(p.size()));
    }

    // Buy and hold from the index file itself: 2007-01-03 and 2014-12-31
    // both have a line.
    std::ifstream index(folder_ / "DJIA_data.txt");
    std::map<std::string, double> values;
    for (std::string line; std::getline(index, line);) {
        if (line.size() > 11) values[line.substr(0, 10)] = std::stod(line.substr(11));
    }
    const double first = values.at("2007-01-03");
    const double last = values.at("2014-12-31");
    char expected[64];
    std::snprintf(expected, sizeof expected, "$100 gained $%.2f\n", (last - first) * 100 / first);
    EXPECT_NE(run.out.find("Buy and hold from 2007-01-03 to 2014-12-31: " + std::string(expected)),
              std::string::npos)
        << run.out;
}

TEST_F(StatsProgram, SeedDecidesTheBaselineAndNothingElse) {
    const std::vector<std::string> request = {
        "simulate", "--first",    "Earth",   "--second", "Mars", "--start",      "2009-01-01",
        "--end",    "2010-12-31", "--stats", "--trials", "200",  "--min-trades", "1"};
    const ProgramRun a = Run(request);
    const ProgramRun again = Run(request);
    const ProgramRun seedOne = Run(With(request, {"--seed", "1"}));
    const ProgramRun other = Run(With(request, {"--seed", "2"}));
    ASSERT_EQ(a.exitCode, 0) << a.err;
    EXPECT_EQ(a.out, again.out);
    EXPECT_EQ(a.out, seedOne.out);  // 1 is the default seed
    EXPECT_NE(a.out, other.out);
    // Only the random columns differ: the first 86 bytes (label to buy and hold) agree.
    std::istringstream x(a.out), y(other.out);
    std::string lx, ly;
    int differing = 0;
    while (std::getline(x, lx) && std::getline(y, ly)) {
        if (lx.rfind("Ea ", 0) == 0 && lx.find(" ends with ") == std::string::npos &&
            lx.find("no investments") == std::string::npos) {
            EXPECT_EQ(lx.substr(0, 86), ly.substr(0, 86));
            differing += lx != ly ? 1 : 0;
        } else if (lx.rfind("Statistics", 0) == 0) {
            EXPECT_NE(lx.find("200 trials, seed 1"), std::string::npos);
            EXPECT_NE(ly.find("200 trials, seed 2"), std::string::npos);
        } else if (lx.rfind("Statistics", 0) != 0) {
            EXPECT_EQ(lx, ly);
        }
    }
    EXPECT_GT(differing, 0);
}

// Input the statistics cannot judge: one line on standard error, the
// documented status (2 for a bad command line, 1 for bad data), and nothing
// on standard output.
TEST_F(StatsProgram, BadInputGetsOneLineAndNoReport) {
    // A price every third day: 29 prices over 85 days, every day valued.
    std::string few = "Date,Close\n";
    for (int i = 0; i < 29; ++i) {
        using namespace std::chrono;
        const year_month_day date{sys_days{2010y / 1 / 1} + days{3 * i}};
        char line[32];
        std::snprintf(line, sizeof line, "%04d-%02u-%02u,100\n", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
        few += line;
    }
    Write("few.csv", few);
    const std::vector<std::string> simulate = {"simulate",   "--first", "Earth",
                                               "--second",   "Mars",    "--start",
                                               "2010-01-01", "--end",   "2010-03-26"};
    const struct {
        std::vector<std::string> more;
        int status;
        std::string message;
    } kCases[] = {
        {{"--stats", "--trials", "0"}, 2, "--trials takes a whole number"},
        {{"--stats", "--jobs", "0"}, 2, "--jobs takes a whole number"},
        {{"--stats", "--min-trades", "0"}, 2, "--min-trades takes a whole number"},
        {{"--jobs", "2"}, 2, "--jobs needs --stats"},
        {{"--stats", "--prices", "few.csv"},
         1,
         "holds 29 prices in the period; --stats needs at least 30"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.message);
        const ProgramRun run = Run(With(simulate, c.more));
        EXPECT_EQ(run.exitCode, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    // The same file without --stats is a report.
    EXPECT_EQ(Run(With(simulate, {"--prices", "few.csv"})).exitCode, 0);
}

}  // namespace
}  // namespace vlt::testing
