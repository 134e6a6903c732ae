// vlt-report eventstudy as a user runs it: bad input gives one line, the
// documented exit status and nothing on standard output; a market built to
// jump the day after each event the command finds shows that jump, in JSON
// and CSV alike.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/report/report_fixture.h"

namespace vlt::testing {
namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

std::string DateText(sys_days day) {
    const year_month_day d(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(d.year()),
                  static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
    return text;
}

bool Weekday(sys_days day) {
    const unsigned w = std::chrono::weekday(day).c_encoding();
    return w != 0 && w != 6;
}

// Weekdays from 2007 to 2014 at 100, times 1.03 from the weekday after each
// of `events` on.
std::string PlantedCsv(const std::set<std::string>& events) {
    std::ostringstream csv;
    csv.precision(17);
    csv << "Date,Close\n";
    double value = 100.0;
    bool jumpNext = false;
    for (sys_days d = sys_days(std::chrono::year(2007) / 1 / 1);
         d <= sys_days(std::chrono::year(2014) / 12 / 31); d += std::chrono::days(1)) {
        if (!Weekday(d)) continue;
        if (jumpNext) value *= 1.03;
        jumpNext = events.count(DateText(d)) > 0;
        csv << DateText(d) << ',' << value << '\n';
    }
    return csv.str();
}

const std::vector<std::string> kStudy = {
    "eventstudy",  "--first", "Earth", "--second", "Mars", "--helio", "--aspects",
    "con,opp,sqr", "--at",    "entry", "--orb",    "5",    "--days",  "3"};

TEST_F(ReportFolderTest, EventStudyShowsAJumpPlantedAfterEveryEvent) {
    const ProgramRun found = Run(With(kStudy, {"--prices", "DJIA_data.txt", "--format", "json"}));
    ASSERT_EQ(found.exitCode, 0) << found.err;
    std::set<std::string> events;
    const auto foundDoc = nlohmann::json::parse(found.out);
    for (const auto& e : foundDoc["events"]) events.insert(e.get<std::string>());
    // Earth enters the 5° orb of these aspects to Mars 15 times in the eight
    // years, each far enough from the next for a window of three days.
    ASSERT_EQ(events.size(), 15u);
    Write("planted.csv", PlantedCsv(events));

    const ProgramRun json = Run(With(kStudy, {"--prices", "planted.csv", "--format", "json"}));
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["events"].size(), events.size());
    const auto& offsets = doc["offsets"];
    ASSERT_EQ(offsets.size(), 7u);
    for (const auto& o : offsets) {
        const double expected = o["offset"].get<int>() >= 1 ? 3.0 : 0.0;
        for (const char* key : {"mean", "median", "lower", "upper"}) {
            EXPECT_NEAR(o[key].get<double>(), expected, 1e-9) << key << " " << o["offset"];
        }
    }
    // The CSV is the same table.
    const ProgramRun csv = Run(With(kStudy, {"--prices", "planted.csv", "--format", "csv"}));
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "offset,mean,median,lower,upper");
    EXPECT_NE(csv.out.find("\n1,3.000000,3.000000,3.000000,3.000000\n"), std::string::npos);
    EXPECT_NE(csv.out.find("\n-3,0.000000,0.000000,0.000000,0.000000\n"), std::string::npos);
}

TEST_F(ReportFolderTest, EventStudyDrawsItsChartBesideTheReport) {
    // A build without the Qt program (the sanitizer builds) has no chart
    // renderer beside vlt-report.
    if (!std::filesystem::exists(std::filesystem::path(VLT_REPORT_PROGRAM).parent_path() /
                                 "libvlt_chart_render.so")) {
        GTEST_SKIP() << "no chart renderer in this build";
    }
    const ProgramRun run =
        Run(With(kStudy, {"--prices", "DJIA_data.txt", "--format", "csv", "--chart", "study.svg"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "offset,mean,median,lower,upper");
    std::ifstream svg(folder_ / "study.svg");
    const std::string image((std::istreambuf_iterator<char>(svg)),
                            std::istreambuf_iterator<char>());
    EXPECT_NE(image.find("<svg"), std::string::npos);
    EXPECT_NE(image.find("band of the mean"), std::string::npos);
}

TEST_F(ReportFolderTest, EventStudyBadInputGivesOneLineAndNothingOnStandardOutput) {
    std::string shortCsv = "Date,Close\n";
    for (int d = 1; d <= 29; ++d)
        shortCsv += "2007-01-" + std::to_string(100 + d).substr(1) + ",1\n";
    Write("short.csv", shortCsv);
    const std::vector<std::string> dji = With(kStudy, {"--prices", "DJIA_data.txt"});
    const Refusal cases[] = {
        {"29 prices", With(kStudy, {"--prices", "short.csv"}), 1, "29 prices"},
        {"no days", With(dji, {"--days", "0"}), 2, "--days"},
        {"no trials", With(dji, {"--trials", "0"}), 2, "--trials"},
        {"no price file", kStudy, 2, "--prices"},
        {"no pair", {"eventstudy", "--prices", "DJIA_data.txt"}, 2, "--first"},
        {"unknown planet", With(dji, {"--second", "Vulcan"}), 2, "Vulcan"},
        {"orb of exact", With(dji, {"--at", "exact"}), 2, "--orb"},
        {"at when", With(dji, {"--at", "exit"}), 2, "--at"},
        {"missing file", With(kStudy, {"--prices", "none.csv"}), 1, "none.csv"},
        {"period outside", With(dji, {"--end", "2030-01-01"}), 1, "not within"},
        {"chart name", With(dji, {"--chart", "study.gif"}), 2, "--chart"},
    };
    for (const Refusal& c : cases) ExpectRefused(c);
}

}  // namespace
}  // namespace vlt::testing
