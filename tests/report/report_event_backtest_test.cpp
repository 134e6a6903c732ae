// The event backtest as a user runs it: the EVENT words and their refusals,
// the trades of new moon to full moon in the first half of 2010 against the
// almanac's dates and a recount of the gains from the price file, the
// statistics in research, and bad input giving one line.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/event_words.h"
#include "tests/report/report_fixture.h"

namespace vlt::testing {
namespace {

struct WordCase {
    const char* value;
    std::vector<std::string> kinds;  // the words written back, or
    const char* refusal;             // a part of the refusal
};

const WordCase kWords[] = {
    {"new-moon", {"new-moon"}, nullptr},
    {"Last-Quarter", {"last-quarter"}, nullptr},
    {"station-direct:mars", {"station-direct:Mars"}, nullptr},
    {"station-retrograde:all",
     {"station-retrograde:Mercury", "station-retrograde:Venus", "station-retrograde:Mars",
      "station-retrograde:Jupiter", "station-retrograde:Saturn", "station-retrograde:Uranus",
      "station-retrograde:Neptune", "station-retrograde:Pluto"},
     nullptr},
    {"ingress:Moon:aries", {"ingress:Moon:Aries"}, nullptr},
    {"ingress:all",
     {"ingress:Sun", "ingress:Moon", "ingress:Mercury", "ingress:Venus", "ingress:Mars",
      "ingress:Jupiter", "ingress:Saturn", "ingress:Uranus", "ingress:Neptune", "ingress:Pluto"},
     nullptr},
    {"aspect:Jupiter:Mars:sqr", {"aspect:Mars:Jupiter:sqr"}, nullptr},
    {"aspect:Moon:Sun:opp", {"aspect:Sun:Moon:opp"}, nullptr},
    {"aspect:Saturn:all:con",
     {"aspect:Sun:Saturn:con", "aspect:Moon:Saturn:con", "aspect:Mercury:Saturn:con",
      "aspect:Venus:Saturn:con", "aspect:Mars:Saturn:con", "aspect:Jupiter:Saturn:con",
      "aspect:Saturn:Uranus:con", "aspect:Saturn:Neptune:con", "aspect:Saturn:Pluto:con"},
     nullptr},
    {"station-direct:Sun", {}, "no stations"},
    {"station-retrograde:Moon", {}, "no stations"},
    {"station-direct", {}, "one planet"},
    {"ingress:Earth", {}, "unknown body \"Earth\""},
    {"ingress:Mars:Ophiuchus", {}, "unknown sign"},
    {"ingress:Mars:Aries:x", {}, "a body and may take a sign"},
    {"aspect:Mars:Mars:sqr", {}, "two bodies"},
    {"aspect:Mars:Jupiter:bisextile", {}, "unknown aspect"},
    {"aspect:Mars:sqr", {}, "two bodies and an aspect"},
    {"eclipse", {}, "unknown event"},
    {"", {}, "no event"},
};

TEST(EventWords, EachWordNamesItsKindsOrSaysWhatIsWrong) {
    for (const WordCase& c : kWords) {
        std::vector<EventWord> words;
        const auto problem = ReadEventWord(c.value, "--open", words);
        std::vector<std::string> texts;
        for (const EventWord& w : words) texts.push_back(w.text);
        EXPECT_EQ(texts, c.kinds) << c.value;
        if (c.refusal == nullptr) {
            EXPECT_FALSE(problem) << c.value << ": " << *problem;
        } else {
            ASSERT_TRUE(problem) << c.value;
            EXPECT_NE(problem->find(c.refusal), std::string::npos) << *problem;
            EXPECT_EQ(problem->rfind("--open \"", 0), 0u) << *problem;
        }
    }
}

// The prices of the committed file by date.
std::map<std::string, double> PricesOf(const std::string& csv) {
    std::map<std::string, double> prices;
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) prices[line.substr(0, 10)] = std::stod(line.substr(11));
    return prices;
}

const std::string kPrices = "weekdays_2010h1.csv";

class EventBacktestTest : public ReportFolderTest {
protected:
    void SetUp() override {
        ReportFolderTest::SetUp();
        std::filesystem::copy_file(std::filesystem::path(VLT_REPORT_TEST_DATA) / kPrices,
                                   folder_ / kPrices);
    }
};

TEST_F(EventBacktestTest, NewToFullMoonTradesOnTheAlmanacsDates) {
    const ProgramRun run = Run({"simulate", "--open", "new-moon", "--close", "full-moon",
                                "--prices", kPrices, "--format", "json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    // New moons of 2010 (UT): Jan 15, Feb 14 (a Sunday), Mar 15, Apr 14, May 14,
    // Jun 12 (a Saturday); full moons: Jan 30 (a Saturday), Feb 28 (a Sunday),
    // Mar 30, Apr 28, May 27, Jun 26 (a Saturday, after the period's last
    // trading day: that trade is not counted).
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"2010-01-15", "2010-02-01"}, {"2010-02-15", "2010-03-01"}, {"2010-03-15", "2010-03-30"},
        {"2010-04-14", "2010-04-28"}, {"2010-05-14", "2010-05-27"}, {"2010-06-14", "2010-06-28"}};
    const auto prices = PricesOf(ReadWholeFile(folder_ / kPrices));
    ASSERT_EQ(doc["combinations"].size(), 1u);
    const auto& c = doc["combinations"][0];
    ASSERT_EQ(c["trade_list"].size(), expected.size());
    double total = 0.0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& t = c["trade_list"][i];
        EXPECT_EQ(t["bought"], expected[i].first);
        EXPECT_EQ(t["sold"], expected[i].second);
        const double buy = prices.at(expected[i].first);
        const double gain = (prices.at(expected[i].second) - buy) * 100.0 / buy;
        EXPECT_NEAR(t["gain"].get<double>(), gain, 0.005);
        total += gain;
    }
    EXPECT_EQ(c["trades"], 6);
    EXPECT_NEAR(c["total_gain"].get<double>(), total, 0.02);
    EXPECT_FALSE(c.contains("p")) << "no statistics without --stats";
}

TEST_F(EventBacktestTest, ResearchJudgesEveryOpenAndCloseAsOneFamily) {
    const ProgramRun run = Run({"research", "--prices", kPrices, "--open", "new-moon,full-moon",
                                "--open", "first-quarter", "--close", "last-quarter", "--trials",
                                "99", "--jobs", "2", "--min-trades", "4", "--format", "csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream in(run.out);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header.rfind("open,close,hold_days,passed_over,open_at_end,trades,", 0), 0u);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);)
        rows.push_back(line.substr(0, line.find(',', line.find(',') + 1)));
    const std::vector<std::string> expected = {"new-moon,last-quarter", "full-moon,last-quarter",
                                               "first-quarter,last-quarter"};
    EXPECT_EQ(rows, expected);
    const ProgramRun json = Run({"research", "--prices", kPrices, "--open", "new-moon,full-moon",
                                 "--hold", "5", "--trials", "99", "--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["family_size"], 2);
    for (const auto& c : doc["combinations"]) {
        EXPECT_EQ(c["hold_days"], 5);
        const double p = c["p"].get<double>();
        EXPECT_TRUE(p >= 0.01 && p <= 1.0) << p;
        EXPECT_GE(c["p_adjusted"].get<double>(), p);
    }
}

TEST_F(EventBacktestTest, BadInputGivesOneLineAndNothingOnStandardOutput) {
    const std::vector<std::string> sim = {"simulate", "--prices", kPrices, "--open", "new-moon"};
    const auto with = [](std::vector<std::string> a, const std::vector<std::string>& more) {
        a.insert(a.end(), more.begin(), more.end());
        return a;
    };
    struct BadInput {
        std::vector<std::string> args;
        int exit;
        const char* says;
    } const cases[] = {
        {with(sim, {"--close", "full-mon"}), 2, "unknown event"},
        {with(sim, {"--hold", "0"}), 2, "--hold"},
        {sim, 2, "one of --close EVENT and --hold DAYS"},
        {with(sim, {"--close", "full-moon", "--hold", "3"}), 2, "one of --close"},
        {with(sim, {"--hold", "3", "--first", "Mars"}), 2, "--first does not go with --open"},
        {{"simulate", "--hold", "3"}, 2, "--hold needs --open"},
        {{"research", "--prices", kPrices, "--close", "new-moon"}, 2, "go with --open"},
        {{"research", "--prices", kPrices, "--open", "new-moon", "--hold", "2", "--holdout", "20%"},
         2,
         "--holdout does not go with --open"},
        {with(sim, {"--hold", "3", "--end", "2010-12-31"}), 1, "not within"},
        {with(sim, {"--hold", "3", "--start", "2010-06-01"}), 1, "22 prices"},
    };
    for (const BadInput& c : cases) {
        const ProgramRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exit) << c.says << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}

}  // namespace
}  // namespace vlt::testing
