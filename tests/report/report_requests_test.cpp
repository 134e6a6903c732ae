// The requests vlt-report builds from its command line: each option lands in
// the field the window's control would fill, anything left out takes the
// window's first-start value, and a simulation keeps the centricity every
// earlier command line had.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "app/report/report_options.h"
#include "app/report/report_run.h"

namespace vlt::testing {
namespace {

ReportOptions Parsed(const std::vector<std::string>& args) {
    const ReportArguments parsed = ParseReportArguments(args);
    EXPECT_TRUE(parsed.ok) << parsed.error;
    return parsed.options;
}

struct TablesCase {
    std::vector<std::string> args;
    std::int16_t first, second;
    bool heliocentric;
    CalendarDate start, end;
    int timezoneIndex;
    std::string timezoneLabel;
    std::array<bool, 7> aspects;
    std::array<int, 3> orbs;
};

constexpr std::array<bool, 7> kAll{true, true, true, true, true, true, true};

TEST(ReportRequests, TablesAndShowAllTakeEveryOption) {
    const std::vector<TablesCase> cases = {
        {{"tables", "--first", "Venus", "--second", "Saturn", "--start", "2022-01-01", "--end",
          "2022-12-31", "--tz", "GMT+1:00"},
         3,
         6,
         false,
         {2022, 1, 1},
         {2022, 12, 31},
         26,
         "GMT+1:00",
         kAll,
         {10, 5, 2}},
        {{"tables", "--helio", "--first", "Earth", "--second", "Venus", "--aspects", "con,opp,sqr",
          "--orbs", "8,4,1", "--natz", "--tz", "EST/CDT", "--start", "0900-02-28", "--end",
          "2799-12-31"},
         1,
         3,
         true,
         {900, 2, 28},
         {2799, 12, 31},
         14,
         "EST/CDT",
         {true, true, true, false, false, false, false},
         {8, 4, 1}},
        {{"showall", "--first", "Pluto", "--second", "Mercury", "--tz", "GMT-11:30", "--aspects",
          "qui", "--orbs", "15,14,13", "--start", "2024-02-29", "--end", "2024-03-01"},
         9,
         2,
         false,
         {2024, 2, 29},
         {2024, 3, 1},
         1,
         "GMT-11:30",
         {false, false, false, false, false, false, true},
         {15, 14, 13}},
    };
    for (const TablesCase& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2]);
        const ReportOptions o = Parsed(c.args);
        const TablesRequest r =
            o.command == ReportCommand::ShowAll ? ShowAllRequestOf(o) : TablesRequestOf(o);
        EXPECT_EQ(r.firstPlanet, c.first);
        EXPECT_EQ(r.secondPlanet, c.second);
        EXPECT_EQ(r.heliocentric, c.heliocentric);
        EXPECT_TRUE(r.start == c.start);
        EXPECT_TRUE(r.end == c.end);
        EXPECT_EQ(r.timezoneIndex, c.timezoneIndex);
        EXPECT_EQ(r.timezoneLabel, c.timezoneLabel);
        EXPECT_EQ(r.aspects, c.aspects);
        EXPECT_EQ(r.orbDegrees, c.orbs);
    }
}

TEST(ReportRequests, LeftOutOptionsTakeTheWindowsFirstStart) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int year = local.tm_year + 1900;
    const TablesRequest r = TablesRequestOf(Parsed({"tables", "--tz", "GMT"}));
    EXPECT_EQ(r.firstPlanet, kMars);
    EXPECT_EQ(r.secondPlanet, kJupiter);
    EXPECT_FALSE(r.heliocentric);
    EXPECT_TRUE(r.start == (CalendarDate{year, 1, 1}));
    EXPECT_TRUE(r.end == (CalendarDate{year, 12, 31}));
    EXPECT_EQ(r.aspects, kAll);
    EXPECT_EQ(r.orbDegrees, (std::array<int, 3>{10, 5, 2}));
    const SearchRequest s = SearchRequestOf(Parsed({"search"}));
    EXPECT_EQ(s.aspect, kConjunction);
    EXPECT_EQ(s.orbDegrees, 6);
    EXPECT_FALSE(s.fromEnd);
    EXPECT_TRUE(ShowAllRequestOf(Parsed({"showall"})).keepFirst);
}

TEST(ReportRequests, SearchAndShowAllChoices) {
    const SearchRequest s = SearchRequestOf(
        Parsed({"search", "--first", "Jupiter", "--second", "Saturn", "--aspect", "tri", "--orb",
                "9", "--from", "end", "--start", "2015-01-01", "--end", "2015-02-01"}));
    EXPECT_EQ(s.aspect, kTrine);
    EXPECT_EQ(s.orbDegrees, 9);
    EXPECT_TRUE(s.fromEnd);
    EXPECT_TRUE(s.end == (CalendarDate{2015, 2, 1}));
    EXPECT_FALSE(ShowAllRequestOf(Parsed({"showall", "--keep", "second"})).keepFirst);
    EXPECT_TRUE(ShowAllRequestOf(Parsed({"showall", "--keep", "first"})).keepFirst);
}

TEST(ReportRequests, SimulationCentricityKeepsEveryEarlierCommandLine) {
    struct Case {
        std::vector<std::string> args;
        bool heliocentric;
        const char* title;  // the report title's pair, from the lists of that centricity
    } cases[] = {
        // Earlier lines ran heliocentric with or without --helio.
        {{"simulate", "--first", "Earth", "--second", "Mars"},
         true,
         "Heliocentric transits for Earth and Mars"},
        {{"simulate", "--helio", "--first", "Earth", "--second", "Mars"},
         true,
         "Heliocentric transits for Earth and Mars"},
        {{"simulate", "--second", "Saturn"}, true, "Heliocentric transits for Mars and Saturn"},
        {{"simulate", "--helio", "--first", "Sun"},
         true,
         "Heliocentric transits for Earth and Jupiter"},
        // The Sun is a planet only from the Earth.
        {{"simulate", "--first", "Sun", "--second", "Mars"},
         false,
         "Geocentric transits for Sun and Mars"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--start", "2010-01-01", "--end", "2010-12-31"});
        const SimulationRequest r = SimulationRequestOf(Parsed(args));
        EXPECT_EQ(r.heliocentric, c.heliocentric) << c.title;
        EXPECT_EQ(r.reportTitle.rfind(c.title, 0), 0u) << r.reportTitle;
        EXPECT_EQ(r.startDay, 2455198);  // 2010-01-01
        EXPECT_EQ(r.endDay, 2455562);    // 2010-12-31
    }
}

TEST(ReportRequests, SimulationTakesTheListPositionsAndOrbs) {
    const SimulationRequest r = SimulationRequestOf(
        Parsed({"simulate", "--first", "Venus", "--second", "Pluto", "--aspects", "sxt,qui",
                "--orbs", "12,6,3", "--details", "--start", "2008-01-01", "--end", "2009-06-30"}));
    EXPECT_EQ(r.firstPlanetIndex, 2);   // Venus in the first list
    EXPECT_EQ(r.secondPlanetIndex, 7);  // Pluto in the second
    EXPECT_EQ(r.aspectChecked,
              (std::array<bool, 7>{false, false, false, false, true, false, true}));
    EXPECT_EQ(r.orbIndex, (std::array<int, 3>{11, 5, 2}));
    EXPECT_TRUE(r.includeDetails);
    EXPECT_FALSE(r.append);
}

}  // namespace
}  // namespace vlt::testing
