// vlt-report simulate --prices: the index file given as a price file gives
// the window's report byte for byte; hand-made series whose answers are known
// by construction give those answers; bad price files stop the run with one
// line and no report.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/support/date_processing.h"
#include "tests/report/report_fixture.h"

namespace vlt::testing {
namespace {

namespace fs = std::filesystem;

class PricesProgram : public ReportFolderTest {};

// A CSV series with a value on every calendar day from `first` to `last`
// (day numbers): `before` up to the day before `change`, `after` from it on.
// Two columns: Close and Adj Close, the second the given series, the first
// constant.
std::string StepSeries(std::int32_t first, std::int32_t last, std::int32_t change, double before,
                       double after) {
    std::string text = "Date,Open,Close,Adj Close\n";
    for (std::int32_t d = first; d <= last; ++d) {
        const double v = d < change ? before : after;
        text += FormatDayNumber(d, kOrderYearMonthDay, "-", "", false) + ",1,50," +
                std::to_string(v) + "\n";
    }
    return text;
}

std::int32_t Day(const std::string& date) {
    const int y = std::stoi(date.substr(0, 4));
    const int m = std::stoi(date.substr(5, 2));
    const int d = std::stoi(date.substr(8, 2));
    // Day numbers of the proleptic Gregorian calendar (an independent
    // reckoning from the product's).
    const int a = (14 - m) / 12;
    const int yy = y + 4800 - a;
    const int mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

TEST_F(PricesProgram, IndexFileAsPricesGivesTheWindowsReport) {
    ASSERT_TRUE(fs::exists(folder_ / "DJIA_data.txt"))
        << "the build puts the index file beside the program";
    const std::vector<std::vector<std::string>> requests = {
        {"simulate", "--first", "Earth", "--second", "Mars", "--start", "2007-01-03", "--end",
         "2014-12-31", "--details"},
        {"simulate", "--first", "Venus", "--second", "Jupiter", "--aspects", "con,sqr,tri",
         "--orbs", "8,4,1", "--start", "2008-02-09", "--end", "2009-11-30", "--crlf"},
        // Refused with the window's message, naming the same range.
        {"simulate", "--start", "2006-06-01", "--end", "2007-06-30"},
        {"simulate", "--start", "2010-06-01", "--end", "2010-06-30"},
    };
    for (const auto& request : requests) {
        SCOPED_TRACE(request[3] + " " + request[4] + " " + request.back());
        const ProgramRun window = Run(request);
        std::vector<std::string> withPrices = request;
        withPrices.insert(withPrices.end(), {"--prices", "DJIA_data.txt"});
        const ProgramRun prices = Run(withPrices);
        EXPECT_EQ(prices.out, window.out);
        EXPECT_EQ(prices.err, window.err);
        EXPECT_EQ(prices.exitCode, window.exitCode);
    }
}

TEST_F(PricesProgram, SeriesThatDoublesOnOneDayGainsOnlyAcrossThatDay) {
    // At any price: whole dollars, prices with four decimals (a record keeps
    // two), and prices below half a cent.
    for (const double price : {100.0, 1.2345, 0.0041}) {
        SCOPED_TRACE(price);
        const std::int32_t change = Day("2010-07-01");
        char text[32];
        std::snprintf(text, sizeof text, "%.4f", price);
        const std::string low = text;
        std::snprintf(text, sizeof text, "%.4f", 2 * price);
        const std::string high = text;
        std::string series = "Date,Open,Close,Adj Close\n";
        for (std::int32_t d = Day("2009-12-01"); d <= Day("2011-01-31"); ++d) {
            series += FormatDayNumber(d, kOrderYearMonthDay, "-", "", false) + ",1,50," +
                      (d < change ? low : high) + "\n";
        }
        Write("doubling.csv", series);
        const ProgramRun run = Run({"simulate", "--first", "Earth", "--second", "Mars", "--start",
                                    "2010-01-01", "--end", "2010-12-31", "--details", "--prices",
                                    "doubling.csv", "--price-column", "Adj Close"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");

        // Every investment costs 100 and every redemption gains 100 when the
        // investment spans the change, nothing otherwise.
        const std::regex investment(R"(^(\w+) +(\d+)°, investment #(\d+) on (\S+) of \$100$)");
        const std::regex redemption(
            R"(^(\w+) +(\d+)°, redemption #(\d+) on (\S+), gained \$(\S+), total gain is \$(\S+)$)");
        // "no investments" reads as an end of 0.00 here.
        const std::regex summary(R"(^Ea (\w+) Ma, +(\d+)°, (?:ends with \$(\S+)|no investments)$)");
        std::map<std::string, std::string> openedOn;
        std::map<std::string, int> spanning;  // by aspect abbreviation and orb
        int gains = 0;
        int nothing = 0;
        std::istringstream lines(run.out);
        std::string line;
        int summaries = 0;
        while (std::getline(lines, line)) {
            std::smatch m;
            if (std::regex_match(line, m, investment)) {
                openedOn[m[1].str() + m[2].str()] = m[4];
            } else if (std::regex_match(line, m, redemption)) {
                const std::string key = m[1].str() + m[2].str();
                ASSERT_TRUE(openedOn.count(key)) << line;
                const bool spans = Day(openedOn[key]) < change && Day(m[4]) >= change;
                EXPECT_EQ(m[5].str(), spans ? "100.00" : "0.00") << line;
                (spans ? gains : nothing) += 1;
                std::string abbreviation = m[1].str().substr(0, 3);
                for (char& c : abbreviation) {
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                }
                if (m[1].str() == "Semisextile") abbreviation = "ssx";
                if (m[1].str() == "Sextile") abbreviation = "sxt";
                if (m[1].str() == "Square") abbreviation = "sqr";
                spanning[abbreviation + m[2].str()] += spans ? 1 : 0;
                openedOn.erase(key);
            } else if (std::regex_match(line, m, summary)) {
                ++summaries;
                const int expected = spanning[m[1].str() + m[2].str()] * 100;
                EXPECT_EQ(m[3].matched ? m[3].str() : "0.00", std::to_string(expected) + ".00")
                    << line;
            }
        }
        EXPECT_GT(gains, 0);
        EXPECT_GT(nothing, 0);
        EXPECT_EQ(summaries, 21);

        if (price != 100.0) continue;
        // The index file is not needed: without it the run is the same and
        // nothing is said about it.
        fs::remove(folder_ / "DJIA_data.txt");
        const ProgramRun alone = Run({"simulate", "--first", "Earth", "--second", "Mars", "--start",
                                      "2010-01-01", "--end", "2010-12-31", "--details", "--prices",
                                      "doubling.csv", "--price-column", "Adj Close"});
        EXPECT_EQ(alone.exitCode, 0);
        EXPECT_EQ(alone.err, "");
        EXPECT_EQ(alone.out, run.out);

        // The default column, Close, never moves: every pair ends with nothing.
        const ProgramRun flat =
            Run({"simulate", "--first", "Earth", "--second", "Mars", "--start", "2010-01-01",
                 "--end", "2010-12-31", "--prices", "doubling.csv"});
        ASSERT_EQ(flat.exitCode, 0) << flat.err;
        EXPECT_EQ(std::count(flat.out.begin(), flat.out.end(), '\n') > 21, true);
        std::istringstream flatLines(flat.out);
        int flatSummaries = 0;
        while (std::getline(flatLines, line)) {
            std::smatch m;
            if (std::regex_match(line, m, summary)) {
                ++flatSummaries;
                EXPECT_EQ(m[3].matched ? m[3].str() : "0.00", "0.00") << line;
            }
        }
        EXPECT_EQ(flatSummaries, 21);
    }
}

TEST_F(PricesProgram, RangeAndMissingValuesFollowTheFile) {
    Write("short.txt", "2010-01-01\n2010-01-04,10\n2010-01-05,10.5\n2010-03-31,11\n2010-04-01\n");
    Write("gap.csv", StepSeries(Day("2010-01-01"), Day("2010-02-10"), 0, 1, 1) +
                         StepSeries(Day("2010-02-16"), Day("2010-04-30"), 0, 1, 1).substr(26));
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"--start", "2010-01-03", "--end", "2010-03-31", "--prices", "short.txt"},
         1,
         "Investment dates must be in the range\n 2010-01-04 through 2010-03-31.\n"},
        {{"--start", "2010-01-04", "--end", "2010-04-01", "--prices", "short.txt"},
         1,
         "Investment dates must be in the range\n 2010-01-04 through 2010-03-31.\n"},
        {{"--start", "2010-03-02", "--end", "2010-03-31", "--prices", "short.txt"},
         1,
         "For the investment simulation the start date must be\nat least 30 days prior to the "
         "end date.\n"},
        // Values from 2010-02-10 reach back to 2010-02-06; 2010-02-11 has none
        // within four days.
        {{"--start", "2010-01-05", "--end", "2010-03-31", "--prices", "gap.csv"},
         1,
         "For 2010-02-11 cannot get value from gap.csv data.\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"simulate", "--first", "Earth", "--second", "Mars"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.args[1] + " " + c.args[3] + " " + c.args[5]);
        const ProgramRun run = Run(args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, c.err);
    }
    // Thirty days exactly inside the file's range are accepted.
    const ProgramRun ok =
        Run({"simulate", "--start", "2010-03-01", "--end", "2010-03-31", "--prices", "gap.csv"});
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_NE(ok.out.find("Total number of investments = "), std::string::npos);
}

TEST_F(PricesProgram, BadPriceFileGetsOneLineStatusOneAndNoReport) {
    Write("empty.csv", "");
    Write("order.txt", "2010-01-02,1\n2010-01-01,1\n");
    Write("repeat.csv", "Date,Close\n2010-01-01,1\n2010-01-01,1\n");
    Write("date.csv", "Date,Close\n2010-01-01,1\n2010-13-01,1\n");
    Write("value.csv", "Date,Close\n2010-01-01,1\n2010-01-02,1.2.3\n");
    Write("column.csv", "Date,Open\n2010-01-01,1\n");
    Write("long.txt", "2010-01-01," + std::string(2000, '9') + "\n");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--prices", "empty.csv"},
         "price file \"empty.csv\", line 1, column 1: the file is empty"},
        {{"--prices", "order.txt"},
         "price file \"order.txt\", line 2, column 1: date 2010-01-01 "
         "is before the date of line 1; dates must ascend"},
        {{"--prices", "repeat.csv"},
         "price file \"repeat.csv\", line 3, column 1: date 2010-01-01 is repeated (line 2)"},
        {{"--prices", "date.csv"},
         "price file \"date.csv\", line 3, column 1: \"2010-13-01\" is "
         "not a date"},
        {{"--prices", "value.csv"},
         "price file \"value.csv\", line 3, column 12: \"1.2.3\" is not a number"},
        {{"--prices", "column.csv"},
         "price file \"column.csv\", line 1, column 1: the header has no column \"Close\""},
        {{"--prices", "column.csv", "--price-column", "Adj Close"},
         "price file \"column.csv\", line 1, column 1: the header has no column \"Adj Close\""},
        {{"--prices", "long.txt"},
         "price file \"long.txt\", line 1, column 1001: the line is longer than 1000 characters"},
        {{"--prices", "missing.csv"}, "price file \"missing.csv\" cannot be read"},
        {{"--prices", "a\nb\x1b[2J.csv"}, "price file \"a\\nb\\x1B[2J.csv\" cannot be read"},
        {{"--prices", "column.csv", "--price-column", "X\n\x1b[31m"},
         "price file \"column.csv\", line 1, column 1: the header has no column "
         "\"X\\n\\x1B[31m\""},
    };
    for (const auto& [extra, says] : cases) {
        std::vector<std::string> args = {"simulate", "--start",    "2010-01-01",
                                         "--end",    "2010-12-31", "--details"};
        args.insert(args.end(), extra.begin(), extra.end());
        SCOPED_TRACE(extra[1]);
        const ProgramRun run = Run(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("vlt-report: " + says, 0), 0u) << run.err;
    }
}

// Files as spreadsheets write them read as the plain file; a name that is
// not UTF-8 still gives a valid JSON document.
TEST_F(PricesProgram, SpreadsheetFilesAndAnyNameAreRead) {
    std::string lf = StepSeries(Day("2009-12-01"), Day("2011-01-31"), Day("2010-07-01"), 10, 20);
    std::string cr = lf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    Write("lf.csv", lf);
    Write("bom.csv", "\xEF\xBB\xBF" + lf);
    Write("cr.csv", cr);
    Write("p\xFF\xFE.csv", lf);
    const std::vector<std::string> request = {
        "simulate",   "--first", "Earth",      "--second",       "Mars",      "--start",
        "2010-01-01", "--end",   "2010-12-31", "--price-column", "Adj Close", "--prices"};
    const auto run = [&](const std::string& file, const std::vector<std::string>& more) {
        std::vector<std::string> args = request;
        args.push_back(file);
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    };
    const ProgramRun plain = run("lf.csv", {"--format", "json"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    const auto parsed = nlohmann::json::parse(plain.out);
    const struct {
        std::string file;
        std::vector<std::string> more;
        std::string shownName;
    } cases[] = {
        {"bom.csv", {"--format", "json"}, "bom.csv"},
        {"cr.csv", {"--format", "json"}, "cr.csv"},
        {"p\xFF\xFE.csv", {"--format", "json"}, "p\xEF\xBF\xBD\xEF\xBF\xBD.csv"},
        {"p\xFF\xFE.csv",
         {"--format", "json", "--stats", "--trials", "10"},
         "p\xEF\xBF\xBD\xEF\xBF\xBD.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shownName);
        const ProgramRun r = run(c.file, c.more);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        nlohmann::json doc;
        ASSERT_NO_THROW(doc = nlohmann::json::parse(r.out));
        EXPECT_EQ(doc["prices"], c.shownName);
        EXPECT_EQ(doc["events"], parsed["events"]);
        EXPECT_EQ(doc["summary"], parsed["summary"]);
        EXPECT_EQ(doc.contains("statistics"), c.more.size() > 2);
    }
    // The text report does not depend on the line ends either.
    EXPECT_EQ(run("cr.csv", {"--details"}).out, run("lf.csv", {"--details"}).out);
}

}  // namespace
}  // namespace vlt::testing

namespace vlt::testing {
namespace {

// A transit chart's price line comes from the price file when one is given:
// its name heads the price axis, and its values (far below the index's) set
// the axis' range; without it the index file does, where it has values.
TEST_F(PricesProgram, TransitChartsDrawTheGivenPrices) {
    // A build without the Qt program (the sanitizer builds) has no chart
    // renderer beside vlt-report.
    if (!fs::exists(fs::path(VLT_REPORT_PROGRAM).parent_path() / "libvlt_chart_render.so")) {
        GTEST_SKIP() << "no chart renderer in this build";
    }
    Write("p.csv", StepSeries(Day("2020-01-01"), Day("2024-12-31"), Day("2022-01-01"), 7.25, 9.75));
    const struct {
        std::vector<std::string> args;
        const char* axis;    // the price axis' title
        const char* absent;  // a name the chart must not show
    } cases[] = {
        {{"chart", "--of", "tables", "--first", "Mars", "--second", "Jupiter", "--start",
          "2020-01-01", "--end", "2024-12-31", "--tz", "GMT", "--prices", "p.csv", "--price-column",
          "Adj Close", "--out", "t.svg"},
         "p.csv",
         "DJIA"},
        {{"chart", "--of", "showall", "--first", "Saturn", "--start", "2021-07-01", "--end",
          "2022-06-30", "--tz", "GMT", "--prices", "p.csv", "--price-column", "Adj Close", "--out",
          "t.svg"},
         "p.csv",
         "DJIA"},
        {{"chart", "--of", "tables", "--start", "2010-01-01", "--end", "2010-12-31", "--tz", "GMT",
          "--out", "t.svg"},
         "DJIA",
         "p.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[2]);
        fs::remove(folder_ / "t.svg");
        const ProgramRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const std::string svg = ReadWholeFile(folder_ / "t.svg");
        EXPECT_NE(svg.find(c.axis), std::string::npos);
        EXPECT_EQ(svg.find(c.absent), std::string::npos);
        // The axis' ticks follow the values drawn: 7.25 to 9.75 gives round
        // tenths, the index of 2010 gives thousands.
        const bool ownPrices = std::string(c.axis) == "p.csv";
        EXPECT_EQ(svg.find(">8.0<") != std::string::npos, ownPrices);
        EXPECT_EQ(svg.find(">9.0<") != std::string::npos, ownPrices);
    }
}

}  // namespace
}  // namespace vlt::testing
