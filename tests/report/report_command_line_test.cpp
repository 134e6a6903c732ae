// The vlt-report program's command line, run as a user runs it: bad input
// gets one line on standard error and exit status 2 before anything is
// computed; good input in its less common spellings reaches the window;
// --help documents every option; the saved program state is left alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/report_options.h"
#include "app/support/settings_store.h"
#include "tests/report/report_fixture.h"

namespace vlt::testing {
namespace {

namespace fs = std::filesystem;

class ReportProgram : public ReportFolderTest {};

struct BadInput {
    std::vector<std::string> args;
    std::string says;  // what the one line must contain
};

const std::vector<BadInput>& BadInputs() {
    static const std::vector<BadInput> kCases = {
        // planets
        {{"tables", "--first", "Ceres"}, "unknown planet \"Ceres\" for --first"},
        {{"tables", "--second", "Vulcan"}, "unknown planet \"Vulcan\" for --second"},
        {{"tables", "--second", "Sun"},
         "the second planet list holds Mercury to Pluto and the Moon, not \"Sun\""},
        {{"tables", "--second", "Earth"}, "the second planet list holds Mercury to Pluto"},
        // aspects
        {{"tables", "--aspects", "con,foo"}, "unknown aspect \"foo\" for --aspects"},
        {{"tables", "--aspects", "con,,opp"}, "unknown aspect \"\" for --aspects"},
        {{"tables", "--aspects", ""}, "unknown aspect \"\" for --aspects"},
        {{"search", "--aspect", "conjunction"}, "unknown aspect \"conjunction\" for --aspect"},
        // dates
        {{"tables", "--start", "2024-13-01"}, "malformed date \"2024-13-01\" for --start"},
        {{"tables", "--start", "2024-00-10"}, "malformed date \"2024-00-10\" for --start"},
        {{"tables", "--end", "2023-02-29"}, "malformed date \"2023-02-29\" for --end"},
        {{"tables", "--end", "1900-02-29"}, "malformed date \"1900-02-29\" for --end"},
        {{"tables", "--end", "2024-04-31"}, "malformed date \"2024-04-31\" for --end"},
        {{"tables", "--start", "2024/01/01"}, "malformed date \"2024/01/01\" for --start"},
        {{"tables", "--start", "2024-1"}, "malformed date \"2024-1\" for --start"},
        {{"tables", "--start", "0000-01-01"}, "malformed date \"0000-01-01\" for --start"},
        {{"tables", "--start", "2024-01-01x"}, "malformed date \"2024-01-01x\" for --start"},
        {{"tables", "--start", "-2024-01-01"}, "malformed date \"-2024-01-01\" for --start"},
        {{"tables", "--start", "12024-01-01"}, "malformed date \"12024-01-01\" for --start"},
        // orbs
        {{"tables", "--orbs", "5,5,2"}, "orbs \"5,5,2\" are not strictly decreasing"},
        {{"tables", "--orbs", "2,5,10"}, "orbs \"2,5,10\" are not strictly decreasing"},
        {{"tables", "--orbs", "10,5,5"}, "orbs \"10,5,5\" are not strictly decreasing"},
        {{"tables", "--orbs", "10,5"}, "malformed orbs \"10,5\" for --orbs"},
        {{"tables", "--orbs", "16,5,2"}, "malformed orbs \"16,5,2\" for --orbs"},
        {{"tables", "--orbs", "10,5,0"}, "malformed orbs \"10,5,0\" for --orbs"},
        {{"tables", "--orbs", "10,5.5,2"}, "malformed orbs \"10,5.5,2\" for --orbs"},
        {{"search", "--orb", "2"}, "search orb \"2\" for --orb is not a whole degree from 3 to 15"},
        {{"search", "--orb", "16"}, "search orb \"16\" for --orb is not a whole degree"},
        // time zones
        {{"tables", "--tz", "GMT+5:45"}, "time zone \"GMT+5:45\" is not in the list"},
        {{"tables", "--tz", "GMT+12:00"}, "time zone \"GMT+12:00\" is not in the list"},
        {{"tables", "--tz", "GMT-12:00"}, "time zone \"GMT-12:00\" is not in the list"},
        {{"tables", "--tz", "GMT+01:00"}, "time zone \"GMT+01:00\" is not in the list"},
        {{"tables", "--tz", "GMT+0:00"}, "time zone \"GMT+0:00\" is not in the list"},
        {{"tables", "--tz", "UTC"}, "time zone \"UTC\" is not in the list"},
        {{"tables", "--tz", ""}, "time zone \"\" is not in the list"},
        {{"tables", "--tz", "EST/CDT"}, "its North-American label needs --natz"},
        // the command and the options' places
        {{}, "no command"},
        {{"--tz", "GMT"}, "no command"},
        {{"report"}, "unknown command \"report\""},
        {{"tables", "search"}, "one command at a time"},
        {{"tables", "--colour"}, "unknown option \"--colour\""},
        {{"tables", "--first"}, "--first needs a value"},
        {{"tables", "--helio=yes"}, "--helio takes no value"},
        {{"tables", "--box=64000"}, "--box takes no value"},
        {{"search", "--from", "middle"}, "--from takes start or end, not \"middle\""},
        {{"showall", "--keep", "both"}, "--keep takes first or second, not \"both\""},
        {{"tables", "--details"}, "--details belongs to the simulate command"},
        {{"tables", "--keep", "first"}, "--keep belongs to the showall command"},
        {{"simulate", "--aspect", "con"}, "--aspect belongs to the search command"},
        {{"showall", "--from", "end"}, "--from belongs to the search command"},
        {{"search", "--aspects", "con"},
         "--aspects belongs to the tables, showall and simulate commands"},
        {{"search", "--with-moon"}, "--with-moon belongs to the showall command"},
        {{"showall", "--with-moon=yes"}, "--with-moon takes no value"},
        // price files, statistics and formats
        {{"tables", "--prices", "p.csv"}, "--prices belongs to the chart and simulate commands"},
        {{"search", "--stats"}, "--stats belongs to the simulate command"},
        {{"simulate", "--prices"}, "--prices needs a value"},
        {{"simulate", "--prices="}, "--prices needs a file name"},
        {{"simulate", "--price-column", "Adj Close"}, "--price-column needs --prices"},
        {{"simulate", "--prices", "p.csv", "--price-column="},
         "--price-column needs a column name"},
        {{"simulate", "--trials", "10"}, "--trials needs --stats"},
        {{"simulate", "--seed", "7"}, "--seed needs --stats"},
        {{"simulate", "--stats", "--trials", "0"},
         "--trials takes a whole number from 1 to 1000000, not \"0\""},
        {{"simulate", "--stats", "--trials", "1000001"},
         "--trials takes a whole number from 1 to 1000000"},
        {{"simulate", "--stats", "--trials", "-5"},
         "--trials takes a whole number from 1 to 1000000"},
        {{"simulate", "--stats", "--seed", "x"},
         "--seed takes a whole number of at most 19 digits, not \"x\""},
        {{"simulate", "--stats=yes"}, "--stats takes no value"},
        {{"simulate", "--jobs", "2"}, "--jobs needs --stats"},
        {{"simulate", "--min-trades", "3"}, "--min-trades needs --stats"},
        {{"simulate", "--stats", "--jobs", "0"},
         "--jobs takes a whole number from 1 to 1024, not \"0\""},
        {{"simulate", "--stats", "--min-trades", "0"},
         "--min-trades takes a whole number from 1 to 1000000, not \"0\""},
        {{"tables", "--format", "xml"}, "--format takes text, csv or json, not \"xml\""},
    };
    return kCases;
}

TEST_F(ReportProgram, BadInputGetsOneLineAndStatusTwo) {
    for (const BadInput& c : BadInputs()) {
        std::string shown;
        for (const std::string& a : c.args) shown += " [" + a + "]";
        SCOPED_TRACE("vlt-report" + shown);
        const ProgramRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("vlt-report: ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_FALSE(run.err.empty() || run.err.back() != '\n');
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

// Each option that only some commands take, given to another command (or a
// chart option without chart), is refused with the commands it belongs to.
TEST(ReportArguments, OptionsOutsideTheirCommand) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"tables", "--aspect", "con"}, "--aspect belongs to the search command"},
        {{"tables", "--orb", "6"}, "--orb belongs to the search command"},
        {{"tables", "--from", "end"}, "--from belongs to the search command"},
        {{"search", "--keep", "second"}, "--keep belongs to the showall command"},
        {{"showall", "--details"}, "--details belongs to the simulate command"},
        {{"search", "--prices", "p.csv"}, "--prices belongs to the chart and simulate commands"},
        {{"simulate", "--price-column", "Open"}, "--price-column needs --prices"},
        {{"simulate", "--trials", "5"}, "--trials needs --stats"},
        {{"simulate", "--seed", "5"}, "--seed needs --stats"},
        {{"tables", "--of", "tables"}, "--of belongs to the chart command"},
        {{"tables", "--out", "a.png"}, "--out belongs to the chart command"},
        {{"simulate", "--width", "800"}, "--width belongs to the chart command"},
        {{"showall", "--height", "800"}, "--height belongs to the chart command"},
        // A chart takes the options of the run it draws, and no others.
        {{"chart", "--of", "tables", "--out", "a.png", "--keep", "first"},
         "--keep belongs to the showall command"},
        {{"chart", "--of", "showall", "--out", "a.png", "--details"},
         "--details belongs to the simulate command"},
        {{"chart", "--of", "simulate", "--out", "a.png", "--aspect", "con"},
         "--aspect belongs to the search command"},
        {{"chart", "--of", "tables", "--out", "a.png", "--crlf"}, "--crlf does not apply to chart"},
        {{"chart", "--of", "search", "--out", "a.png"},
         "--of takes tables, showall or simulate, not \"search\""},
        {{"chart", "--out", "a.png"}, "chart needs --of tables, showall or simulate"},
        {{"chart", "--of", "tables"}, "chart needs --out FILE.png or --out FILE.svg"},
    };
    for (const auto& [args, error] : cases) {
        SCOPED_TRACE(args[1]);
        const ReportArguments parsed = ParseReportArguments(args);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.error, error);
    }
    // In their own command the same options are taken.
    EXPECT_TRUE(ParseReportArguments({"chart", "--of", "showall", "--out", "a.svg", "--width",
                                      "800", "--height", "600"})
                    .ok);
    EXPECT_TRUE(
        ParseReportArguments({"search", "--aspect", "con", "--orb", "6", "--from", "end"}).ok);
    EXPECT_TRUE(ParseReportArguments({"simulate", "--prices", "p.csv", "--price-column", "Open",
                                      "--stats", "--trials", "5", "--seed", "5", "--details"})
                    .ok);
}

// The command line's corners, read in the program itself: how "=" and
// empty values, repeated options, option-like values, "--" and words that
// are neither options nor commands are taken.
TEST(ReportArguments, CornersOfTheCommandLine) {
    struct Case {
        std::vector<std::string> args;
        std::string error;  // empty: accepted
    };
    const std::vector<Case> cases = {
        {{"tables", "--first=Mars", "--second=Jupiter", "--tz=GMT+1:00"}, ""},
        {{"--tz", "GMT-11:30", "tables"}, "no command"},
        {{"tables", "--first"}, "--first needs a value"},
        {{"tables", "--first="}, "unknown planet \"\" for --first"},
        {{"tables", "--first", ""}, "unknown planet \"\" for --first"},
        {{"tables", "--first", "--helio"}, "unknown planet \"--helio\" for --first"},
        {{"tables", "--tz", "--first"}, "time zone \"--first\" is not in the list"},
        {{"tables", "--helio=yes"}, "--helio takes no value"},
        {{"tables", "--helio="}, "--helio takes no value"},
        {{"tables", "--helio", "--helio"}, ""},
        {{"tables", "--colour=red"}, "unknown option \"--colour\""},
        {{"tables", "--colour", "x"}, "unknown option \"--colour\""},
        {{"tables", "---first", "Mars"}, "unknown option \"---first\""},
        {{"tables", "--FIRST", "Mars"}, "unknown option \"--FIRST\""},
        {{"tables", "--"}, "unknown option \"--\""},
        {{"tables", "--", "--first"}, "unknown option \"--\""},
        {{"-x", "tables"}, "unknown command \"-x\""},
        {{"tables", "-first", "Mars"}, "unexpected \"-first\" for tables"},
        {{"tables", ""}, "unexpected \"\" for tables"},
        {{"tables", "--first", "Mars", "extra"}, "unexpected \"extra\" for tables"},
        {{"tables", "--first", "Mars", "tables"}, "one command at a time, not \"tables\" as well"},
        {{"tables", "--first", "Mars", "chart"}, "one command at a time, not \"chart\" as well"},
        {{"--first", "Mars"}, "no command"},
        {{"tables", "--first", "Ceres", "--first", "Mars"}, "unknown planet \"Ceres\" for --first"},
        {{"tables", "--first", "Mars", "--first", "Ceres"}, "unknown planet \"Ceres\" for --first"},
        {{"tables", "--start", "-2024-01-01"}, "malformed date \"-2024-01-01\" for --start"},
        {{"tables", "--start=-2024-01-01"}, "malformed date \"-2024-01-01\" for --start"},
        {{"tables", "--format", "xml", "--format", "csv"}, "--format takes text, csv or json"},
        {{"simulate", "--stats", "--seed", "12345678901234567890"}, "--seed takes a whole number"},
        {{"simulate", "--prices=p.csv", "--price-column="}, "--price-column needs a column name"},
        {{"simulate", "--prices", "a=b.csv", "--price-column", "x=y"}, ""},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.args) shown += " [" + a + "]";
        SCOPED_TRACE(shown);
        const ReportArguments parsed = ParseReportArguments(c.args);
        EXPECT_FALSE(parsed.help);
        EXPECT_EQ(parsed.ok, c.error.empty()) << parsed.error;
        if (!c.error.empty()) {
            EXPECT_EQ(parsed.error.rfind(c.error, 0), 0u) << parsed.error;
        }
    }

    // The last of a repeated option holds; every new option lands in its field.
    const ReportArguments r = ParseReportArguments({"simulate",
                                                    "--first",
                                                    "Mars",
                                                    "--first",
                                                    "Venus",
                                                    "--prices",
                                                    "spy.csv",
                                                    "--price-column",
                                                    "Adj Close",
                                                    "--stats",
                                                    "--trials",
                                                    "250",
                                                    "--seed",
                                                    "1234567890123456789",
                                                    "--format",
                                                    "JSON",
                                                    "--format=csv",
                                                    "--details",
                                                    "--crlf",
                                                    "--min-trades",
                                                    "9",
                                                    "--jobs",
                                                    "3"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.options.command, ReportCommand::Simulate);
    EXPECT_EQ(r.options.firstPlanetIndex, 2);
    EXPECT_EQ(r.options.pricesFile, "spy.csv");
    EXPECT_EQ(r.options.priceColumn, "Adj Close");
    EXPECT_TRUE(r.options.stats);
    EXPECT_EQ(r.options.trials, 250);
    EXPECT_EQ(r.options.seed, 1234567890123456789ull);
    EXPECT_EQ(r.options.minTrades, 9);
    EXPECT_EQ(r.options.jobs, 3);
    EXPECT_EQ(r.options.format, ReportFormat::Csv);
    EXPECT_TRUE(r.options.includeTransitDetails);
    EXPECT_TRUE(r.options.crlf);
    const ReportArguments defaults = ParseReportArguments({"simulate"});
    ASSERT_TRUE(defaults.ok);
    EXPECT_FALSE(defaults.options.pricesFile.has_value());
    EXPECT_EQ(defaults.options.priceColumn, "Close");
    EXPECT_EQ(defaults.options.trials, 1000);
    EXPECT_EQ(defaults.options.seed, 1u);
    EXPECT_EQ(defaults.options.format, ReportFormat::Text);
}

struct GoodInput {
    std::vector<std::string> args;
    std::string shows;  // a text the report holds because of the input
};

TEST_F(ReportProgram, LessCommonSpellingsReachTheWindow) {
    ASSERT_TRUE(fs::exists(folder_ / "DJIA_data.txt")) << "no index file beside the programs";
    const std::vector<GoodInput> cases = {
        {{"tables", "--tz=GMT+1:00", "--start=2024-01-01", "--end=2024-06-30"}, "GMT+1:00"},
        {{"tables", "--tz", "GMT-11:30", "--start", "2024-01-01", "--end", "2024-06-30"},
         "GMT-11:30"},
        {{"tables", "--natz", "--tz", "EST/CDT", "--start", "2024-01-01", "--end", "2024-06-30"},
         "EST/CDT"},
        {{"tables", "--tz", "GMT-5:00", "--natz", "--start", "2024-01-01", "--end", "2024-06-30"},
         "EST/CDT"},
        {{"tables", "--natz", "--tz", "nst", "--start", "2024-01-01", "--end", "2024-06-30"},
         "NST"},
        {{"tables", "--tz", "gmt+11:30", "--start", "2024-01-01", "--end", "2024-06-30"},
         "GMT+11:30"},
        {{"tables", "--first", "earth", "--second", "MARS", "--start", "2024-01-01", "--end",
          "2024-12-31", "--tz", "GMT"},
         "transits for Sun and Mars"},
        {{"tables", "--helio", "--first", "Sun", "--second", "Mars", "--start", "2024-01-01",
          "--end", "2024-12-31", "--tz", "GMT"},
         "transits for Earth and Mars"},
        {{"tables", "--start", "2024-1-5", "--end", "2024-02-29", "--tz", "GMT"},
         "from January 5, 2024, to February 29, 2024"},
        {{"tables", "--start", "2000-02-29", "--end", "2000-12-31", "--tz", "GMT"},
         "from February 29, 2000,"},
        {{"tables", "--orbs", "15,14,13", "--start", "2024-01-01", "--end", "2024-12-31", "--tz",
          "GMT"},
         "Start 15°   Start 14°   Start 13°"},
        {{"tables", "--aspects", "CON,opp,sqr,tri,sxt,ssx,QUI,con", "--start", "2024-01-01",
          "--end", "2024-12-31", "--tz", "GMT"},
         "Conjunction"},
    };
    for (const GoodInput& c : cases) {
        std::string shown;
        for (const std::string& a : c.args) shown += " [" + a + "]";
        SCOPED_TRACE("vlt-report" + shown);
        const ProgramRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find(c.shows), std::string::npos) << run.out;
    }
}

// The Moon by name in either list: runs in order and geocentric, one line
// and status 1 otherwise; show-all takes it last, and only when asked or
// kept.
TEST_F(ReportProgram, TheMoonRunsAndIsRefusedByTheRules) {
    const std::vector<std::string> period = {"--start",    "2024-03-01", "--end",
                                             "2024-03-31", "--tz",       "GMT"};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), period.begin(), period.end());
        return args;
    };
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string says;   // in the report, or the whole of standard error
        std::string lacks;  // a text the report must not hold ("" for none)
    } cases[] = {
        {with({"tables", "--first", "Sun", "--second", "moon"}), 0,
         "Geocentric transits for Sun and Moon from March 1, 2024, to March 31, 2024\n", ""},
        {with({"tables", "--first", "Moon", "--second", "Mercury"}), 0,
         "transits for Moon and Mercury", "retrograde"},
        {with({"search", "--first", "Sun", "--second", "Moon", "--aspect", "opp"}), 0,
         "First geocentric 6\xC2\xB0 opposition of Sun and Moon on or after March 1, 2024", ""},
        {with({"tables", "--first", "Mars", "--second", "Moon"}), 1,
         "Second planet must be beyond first planet\n", ""},
        {with({"tables", "--helio", "--first", "Earth", "--second", "Moon"}), 1,
         "The Moon is geocentric only: choose Geocentric to use it.\n", ""},
        {with({"search", "--helio", "--first", "Moon", "--second", "Mars"}), 1,
         "The Moon is geocentric only: choose Geocentric to use it.\n", ""},
        {with({"showall", "--helio", "--first", "Moon"}), 1,
         "The Moon is geocentric only: choose Geocentric to use it.\n", ""},
        {{"simulate", "--first", "Moon", "--second", "Mars", "--start", "2010-01-01", "--end",
          "2010-12-31"},
         1,
         "The investment simulation takes the planets only, not the Moon.\n",
         ""},
        {{"tables", "--first", "Moon", "--second", "Mars", "--start", "1599-12-01", "--end",
          "1600-03-01", "--tz", "GMT"},
         1,
         "Start date is too early for Moon.\n",
         ""},
        {with({"showall", "--first", "Venus"}), 0, "transits for Venus and Pluto", "Moon"},
        {with({"showall", "--first", "Venus", "--with-moon"}), 0,
         "Geocentric transits for Venus and Moon", ""},
        {with({"showall", "--second", "Moon", "--keep", "second"}), 0,
         "Geocentric transits for Sun and Moon", ""},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const std::string& a : c.args) shown += " [" + a + "]";
        SCOPED_TRACE("vlt-report" + shown);
        const ProgramRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(run.err, "");
            EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
            if (!c.lacks.empty()) {
                EXPECT_EQ(run.out.find(c.lacks), std::string::npos);
            }
        } else {
            EXPECT_EQ(run.err, c.says);
            EXPECT_EQ(run.out, "");
        }
    }
}

TEST_F(ReportProgram, RefusedRequestPrintsTheMessageAndStatusOne) {
    const ProgramRun run = Run({"tables", "--first", "Jupiter", "--second", "Mars", "--start",
                                "2024-01-01", "--end", "2024-12-31", "--tz", "GMT"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Second planet must be beyond first planet\n");
    EXPECT_EQ(run.out, "");
}

// A run that went through without a whole report ends with status 1 and its
// messages on standard error: nothing found, a pair of a series refused
// while the series went on, the box filled up.
TEST_F(ReportProgram, RunsWithoutAWholeReportEndWithStatusOne) {
    const struct {
        std::vector<std::string> args;
        std::string err;
        std::string reportHas;  // "" for an empty report
    } cases[] = {
        {{"search", "--first", "Neptune", "--second", "Pluto", "--aspect", "con", "--start",
          "2090-01-01", "--tz", "GMT"},
         "There are no transits of this kind before January 1, 2100.\n",
         ""},
        {{"showall", "--second", "Jupiter", "--keep", "second", "--start", "2099-06-01", "--end",
          "2100-03-01", "--tz", "GMT"},
         "End date is too late for Pluto.\n",
         "transits for Neptune and Jupiter"},
        {{"tables", "--first", "Sun", "--second", "Mercury", "--start", "1900-01-01", "--end",
          "1960-12-31", "--tz", "GMT", "--box"},
         "Output textbox is full.\nStop?\n",
         "Textbox is full -- \nStopped"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        const ProgramRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.err);
        if (c.reportHas.empty()) {
            EXPECT_EQ(run.out, "");
        } else {
            EXPECT_NE(run.out.find(c.reportHas), std::string::npos) << run.out;
        }
    }
}

// An error line is one line whatever the command line held: a line end or
// an escape sequence in a value is shown escaped, never passed on.
TEST_F(ReportProgram, ErrorLinesShowControlCharactersEscaped) {
    const struct {
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        {{"tables", "--tz", "GMT\n"}, "time zone \"GMT\\n\" is not in the list"},
        {{"tables", "--first", "\x1b[31mMars"}, "unknown planet \"\\x1B[31mMars\""},
        {{"tables\r", "--first", "Mars"}, "unknown command \"tables\\r\""},
        {{"tables", "--start", "2024\t01-01"}, "malformed date \"2024\\t01-01\""},
    };
    for (const auto& c : cases) {
        const ProgramRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
        EXPECT_EQ(run.err.find('\r'), std::string::npos);
    }
}

// A computer whose zone lies beyond the list (past GMT+11:30) starts with no
// zone chosen: the window's own message, and how to give one here.
TEST_F(ReportProgram, ComputersZoneOutsideTheListPointsToTz) {
    const ScopedEnv tz("TZ", "XYZ-13");  // GMT+13:00, beyond the list
    const ProgramRun run = Run({"tables", "--start", "2024-01-01", "--end", "2024-03-31"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Please specify the timezone for the results, or use the default GMT "
                           "timezone.\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("give one with --tz"), std::string::npos) << run.err;
    // Given a zone, the same request runs.
    const ProgramRun given =
        Run({"tables", "--start", "2024-01-01", "--end", "2024-03-31", "--tz", "GMT+5:30"});
    EXPECT_EQ(given.err.find("--tz"), std::string::npos) << given.err;
    EXPECT_NE(given.out.find("transits for Mars and Jupiter"), std::string::npos);
}

TEST_F(ReportProgram, IndexFileComesFromTheWorkingFolder) {
    ASSERT_TRUE(fs::exists(folder_ / "DJIA_data.txt")) << "no index file beside the programs";
    const std::vector<std::string> args = {"simulate", "--start", "2010-01-01", "--end",
                                           "2010-06-30"};
    const ProgramRun with = Run(args);
    EXPECT_EQ(with.exitCode, 0) << with.err;
    EXPECT_NE(with.out.find("Total number of investments = "), std::string::npos);

    // The program's own folder holds a copy too; it must not be used.
    fs::remove(folder_ / "DJIA_data.txt");
    const ProgramRun without = Run(args);
    EXPECT_EQ(without.exitCode, 1);
    const std::string missing = "Error reading DJIA data file " +
                                (folder_ / "DJIA_data.txt").string() +
                                ": No such file or directory\n";
    EXPECT_EQ(without.err, missing + "For 2010-01-01 cannot get value from DJIA data.\n");
    EXPECT_EQ(without.out.find("Total number of investments"), std::string::npos);

    // A command that does not need the index says nothing of it.
    const ProgramRun tables =
        Run({"tables", "--start", "2010-01-01", "--end", "2010-06-30", "--tz", "GMT"});
    EXPECT_EQ(tables.exitCode, 0);
    EXPECT_EQ(tables.err, "");
    EXPECT_NE(tables.out.find("transits for Mars and Jupiter"), std::string::npos);
}

TEST_F(ReportProgram, HelpDocumentsEveryOptionWithAnExample) {
    const ProgramRun run = Run({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    std::vector<std::string> examples;  // the example lines
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("e.g. ") != std::string::npos) examples.push_back(line + " ");
    }
    for (const char* option :
         {"--first",  "--second",  "--helio",  "--start",  "--end",          "--aspects",
          "--orbs",   "--tz",      "--natz",   "--aspect", "--orb",          "--from",
          "--keep",   "--details", "--crlf",   "--prices", "--price-column", "--stats",
          "--trials", "--seed",    "--format", "--box",    "--min-trades",   "--jobs",
          "--of",     "--out",     "--width",  "--height"}) {
        const std::string word = std::string(" ") + option + " ";
        EXPECT_NE(run.out.find(std::string("\n    ") + option + " "), std::string::npos) << option;
        EXPECT_TRUE(std::any_of(
            examples.begin(), examples.end(),
            [&](const std::string& line) { return line.find(word) != std::string::npos; }))
            << "no example for " << option;
    }
    for (const char* command : {"tables", "search", "showall", "simulate", "chart"}) {
        EXPECT_NE(run.out.find(std::string("vlt-report ") + command + " --"), std::string::npos)
            << command;
    }
    // --help wins over anything else on the line, even bad input.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"tables", "--first", "Ceres", "--help"},
          std::vector<std::string>{"-h", "tables", "--first", "Ceres"}}) {
        const ProgramRun mixed = Run(args);
        EXPECT_EQ(mixed.exitCode, 0);
        EXPECT_EQ(mixed.err, "");
        EXPECT_EQ(mixed.out, run.out);
    }
}

// A saved state that would change the report (heliocentric, other planets, a
// time zone) sits in the user's settings store; vlt-report neither reads nor
// changes it.
TEST_F(ReportProgram, SavedStateIsNeitherReadNorWritten) {
    ASSERT_TRUE(fs::exists(folder_ / "DJIA_data.txt")) << "no index file beside the programs";
    const fs::path config = folder_ / "config";
    const fs::path empty = folder_ / "empty-config";
    fs::create_directories(empty);
    SetSettingsFolder((config / "Quillon").string());
    ASSERT_TRUE(SaveStringSetting("\\VLT", "StateSaved", "Y", false));
    ASSERT_TRUE(SaveStringSetting("\\VLT", "Geocentric", "N", false));
    ASSERT_TRUE(SaveStringSetting("\\VLT", "TZ0", "30", false));
    ASSERT_TRUE(SaveStringSetting("\\VLT\\PlanetLI", "0", "5", false));
    ASSERT_TRUE(SaveStringSetting("\\VLT", "InnerOuter0", "5", false));
    SetSettingsFolder("");
    const fs::path store = config / "Quillon" / "settings.ini";
    ASSERT_TRUE(fs::exists(store));
    const std::string before = ReadWholeFile(store);
    const auto listing = [&config] {
        std::vector<fs::path> files;
        for (const auto& e : fs::recursive_directory_iterator(config)) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        return files;
    };
    // Quillon, its settings.ini and the lock file of the saves above.
    const std::vector<fs::path> filesBefore = listing();
    EXPECT_EQ(filesBefore.size(), 3u);

    const std::vector<std::string> args = {"tables", "--start", "2024-01-01", "--end",
                                           "2024-12-31"};
    ProgramRun withStore;
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
        withStore = Run(args);
    }
    ProgramRun withoutStore;
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", empty.c_str());
        withoutStore = Run(args);
    }
    EXPECT_EQ(withStore.exitCode, 0) << withStore.err;
    EXPECT_NE(withStore.out.find("Geocentric transits for Mars and Jupiter"), std::string::npos)
        << withStore.out;
    EXPECT_EQ(withStore.out, withoutStore.out);
    EXPECT_EQ(ReadWholeFile(store), before);
    EXPECT_TRUE(fs::is_empty(empty));
    EXPECT_EQ(listing(), filesBefore);  // nothing added
}

}  // namespace
}  // namespace vlt::testing
