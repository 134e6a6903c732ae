// simulate --stats on the index file, 2007-2014, for every pair of planets
// the simulation offers: each combination's statistics total is its summary
// line's "ends with $", cent for cent, and every combination of the summary
// has its statistics line.  One test per pair, a second or two each.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/report/run_program.h"

namespace vlt::testing {
namespace {

using Pair = std::pair<std::string, std::string>;

std::vector<Pair> EveryPair() {
    const std::vector<std::string> planets = {"Earth",  "Mercury", "Venus",   "Mars", "Jupiter",
                                              "Saturn", "Uranus",  "Neptune", "Pluto"};
    std::vector<Pair> pairs;
    for (std::size_t i = 0; i < planets.size(); ++i) {
        for (std::size_t j = i + 1; j < planets.size(); ++j)
            pairs.emplace_back(planets[i], planets[j]);
    }
    return pairs;
}

class EveryPairTotals : public ::testing::TestWithParam<Pair> {
protected:
    void SetUp() override {
        folder_ = FreshTestFolder("totals-" + GetParam().first + "-" + GetParam().second);
        std::filesystem::copy_file(std::filesystem::path(VLT_BIN_DIR) / "DJIA_data.txt",
                                   folder_ / "DJIA_data.txt");
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_P(EveryPairTotals, StatisticsTotalsAreTheSummarys) {
    const auto& [first, second] = GetParam();
    const ProgramRun run =
        RunProgram(VLT_REPORT_PROGRAM,
                   {"simulate", "--first", first, "--second", second, "--start", "2007-01-03",
                    "--end", "2014-12-31", "--stats", "--trials", "10", "--jobs", "1"},
                   folder_);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::regex summaryLine(R"(^(\S+ \w+ \S+), +(\d+)°, (ends with \$(\S+)|no investments)$)");
    const std::regex statLine(R"(^(\S+ \w+ \S+), +(\d+)° +(\d+) +\d+ +(\S+) .*$)");
    std::map<std::string, std::string> summary, stats;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_match(line, m, summaryLine)) {
            summary[m[1].str() + " " + m[2].str()] = m[4].matched ? m[4].str() : "0.00";
        } else if (std::regex_match(line, m, statLine)) {
            stats[m[1].str() + " " + m[2].str()] = m[4];
        }
    }
    EXPECT_EQ(stats.size(), 21u);
    if (run.out.find("Total number of investments = 0\n") != std::string::npos) {
        // No summary lines: nothing was traded (Neptune and Pluto barely move).
        EXPECT_TRUE(summary.empty());
        for (const auto& [key, total] : stats) EXPECT_EQ(total, "0.00") << key;
    } else {
        EXPECT_EQ(stats, summary);
    }
}

std::string PairName(const ::testing::TestParamInfo<Pair>& info) {
    return info.param.first + info.param.second;
}

INSTANTIATE_TEST_SUITE_P(Index2007To2014, EveryPairTotals, ::testing::ValuesIn(EveryPair()),
                         PairName);

}  // namespace
}  // namespace vlt::testing
