// Complete reports, produced through the commands with the program's
// own positions, compared with the expected texts under golden/.  Where the
// Swiss Ephemeris is at hand, every date, exact minimum and retrograde marker
// of each expected text is checked against it, so that the expected texts
// rest on an independent computation and not on the program's output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/engine/report_lines.h"
#include "app/engine/transit_commands.h"
#include "app/positions/positions.h"
#include "app/positions/vocabulary.h"
#include "app/support/date_processing.h"
#include "tests/engine/fake_host.h"
#include "tests/engine/report_parsing.h"
#ifdef VLT_SWE_EPHE_DIR
#include "tests/engine/oracle_check.h"
#endif

namespace vlt::testing {
namespace {

std::int32_t Day(int y, int m, int d) {
    DateRecord r{y, m, d, kCalendarGregorian, 0, 0};
    return DateToDayNumber(r);
}

std::string GoldenPath(const std::string& name) {
    return std::string(VLT_SOURCE_DIR) + "/tests/engine/golden/" + name;
}

// Line ends are kept as LF in the files; the box holds CR LF.
std::string ToLf(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

struct GoldenCase {
    const char* name;
    const char* file;
    bool search;
    bool heliocentric;
    int firstIndex, secondIndex;  // planet list indices
    std::int32_t start, end;
    std::int16_t first, second;  // the planets these indices mean
};

class GoldenReport : public ::testing::TestWithParam<GoldenCase> {
protected:
    static void SetUpTestSuite() {
        InitPositionsWithFolder(std::string(VLT_SOURCE_DIR) + "/data/");
    }
};

TEST_P(GoldenReport, MatchesTheExpectedText) {
    const GoldenCase& c = GetParam();
    FakeRunHost host;
    FakeWindow window;
    window.first = c.firstIndex;
    window.second = c.secondIndex;
    window.inputs.heliocentric = c.heliocentric;
    window.day[0] = c.start;
    window.day[1] = c.end;
    window.inputs.searchAspectIndex = 0;
    window.inputs.orbIndex[3] = 3;
    host.captionStore = host.startCaption = "report";
    TransitCommands commands(host);
    if (c.search) {
        commands.Search(window.Searched());
    } else {
        commands.Start(window.Tables());
    }
    const std::string text = host.output.text;
    EXPECT_EQ(ToLf(text).size() + std::count(text.begin(), text.end(), '\n'), text.size())
        << "every line ends with CR LF";

    if (std::getenv("VLT_WRITE_GOLDEN") != nullptr) {
        std::ofstream(GoldenPath(c.file), std::ios::binary) << ToLf(text);
    }
    std::ifstream in(GoldenPath(c.file), std::ios::binary);
    ASSERT_TRUE(in.good()) << "missing expected report " << c.file;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(ToLf(text), expected.str());

    // The typed results are what was written: each line, formatted again, is
    // the report's transit line at its place.
    std::vector<std::string> fromResults;
    for (const TransitTableResult& table : commands.Scanner().Results()) {
        for (const TransitLine& line : table.lines) {
            fromResults.push_back(TransitLineText(line, table.zoneLabel));
        }
    }
    std::vector<std::string> reportLines;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 14 && line.compare(12, 2, "| ") == 0 && line.rfind("Aspect", 0) != 0) {
            reportLines.push_back(line + "\n");
        }
    }
    EXPECT_EQ(fromResults, reportLines);

    const auto rows = TransitRows(expected.str().empty() ? "" : text);
    ASSERT_FALSE(rows.empty());
#ifdef VLT_SWE_EPHE_DIR
    // The expected text against the oracle (with its own line ends restored).
    std::string restored;
    for (char ch : expected.str()) {
        if (ch == '\n') restored += '\r';
        restored += ch;
    }
    ReportContext ctx{
        c.first, c.second,  c.heliocentric, !c.heliocentric, ScanStep(c.first, c.second),
        {},      {10, 5, 2}};
    if (c.search) ctx.orbs = {6, 4, 2};
    for (int a = 1; a <= 7; ++a) {
        ctx.aspectDegrees[AspectNames[static_cast<std::size_t>(a)].name] =
            AspectAngles[static_cast<std::size_t>(a)] * 360.0 / kTwoPi;
    }
    const OracleFigures fig = CheckReportAgainstOracle(TransitRows(restored), ctx);
    std::printf("%s: %s\n", c.name, fig.Summary().c_str());
    EXPECT_GT(fig.exactMinima, 0);
    if (!c.heliocentric) {
        EXPECT_GT(fig.markersChecked, 0);
    }
    for (const std::string& f : fig.failures) ADD_FAILURE() << f;
#endif
}

INSTANTIATE_TEST_SUITE_P(
    Reports, GoldenReport,
    ::testing::Values(
        GoldenCase{"GeocentricMercuryVenus2024", "geocentric_mercury_venus_2024.txt", false, false,
                   1, 1, Day(2024, 1, 1), Day(2024, 12, 31), kMercury, kVenus},
        GoldenCase{"HeliocentricEarthMars2020To2023", "heliocentric_earth_mars_2020_2023.txt",
                   false, true, 0, 2, Day(2020, 1, 1), Day(2023, 12, 31), kSun, kMars},
        GoldenCase{"SearchSunMercuryConjunction", "search_sun_mercury_conjunction_2024.txt", true,
                   false, 0, 0, Day(2024, 5, 5), Day(2024, 6, 30), kSun, kMercury},
        // The Moon, last in both lists.
        GoldenCase{"GeocentricSunMoon2025", "geocentric_sun_moon_2025.txt", false, false, 0, 8,
                   Day(2025, 1, 1), Day(2025, 12, 31), kSun, kMoon},
        GoldenCase{"GeocentricMoonMarsMarch2024", "geocentric_moon_mars_2024_03.txt", false, false,
                   8, 2, Day(2024, 3, 1), Day(2024, 3, 31), kMoon, kMars},
        GoldenCase{"SearchSunMoonConjunction", "search_sun_moon_conjunction_2027.txt", true, false,
                   0, 8, Day(2027, 1, 1), Day(2027, 3, 31), kSun, kMoon}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vlt::testing
