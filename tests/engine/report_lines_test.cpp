#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/engine/report_lines.h"
#include "app/engine/transit_request.h"
#include "app/engine/transit_scan.h"
#include "app/positions/positions.h"
#include "tests/engine/fake_host.h"
#include "tests/engine/profile_positions.h"

namespace vlt::testing {
namespace {

const std::string kDeg = "\xC2\xB0";

double Radians(double degrees) { return degrees / 360.0 * kTwoPi; }

struct DegMinCase {
    double degrees;
    bool dropZero, untrimmed;
    std::string expected;
};

TEST(FormatDegMin, DegreesAndMinutes) {
    const DegMinCase cases[] = {
        {0.0, false, false, "0" + kDeg + "0'"},
        {0.2, false, false, "0" + kDeg + "12'"},
        {0.2, false, true, "0" + kDeg + " 12'"},
        {1.25, false, false, "1" + kDeg + "15'"},
        {59.999, false, false, "60" + kDeg + "0'"},      // 59.94' rounds to 60 and carries
        {59.9999999, false, false, "60" + kDeg + "0'"},  // counted as 60 whole degrees
        {359.999, false, false, "359" + kDeg + "59'"},   // no carry past 359
        {45.0, true, false, "45" + kDeg},
        {45.5, true, false, "45" + kDeg + "30'"},
        {59.999, true, false, "60" + kDeg},
        {123.0 + 7.0 / 60.0, false, true, "123" + kDeg + " 7'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDegMin(Radians(c.degrees), c.dropZero, c.untrimmed), c.expected)
            << c.degrees;
    }
    EXPECT_EQ(FormatDegMin(-0.001, false, false), "");
    EXPECT_EQ(FormatDegMin(kTwoPi + 1e-9, false, false), "");
    EXPECT_EQ(FormatDegMin(kTwoPi, false, false), "360" + kDeg + "0'");
}

// The scan's own separation must be the shared one exactly, error codes
// included, or reports would change.
TEST(ShortestSeparation, SameValueAsTheSharedSeparation) {
    std::uint64_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    const double fixed[][2] = {
        {0.1, 6.2},   {1.0, 1.0},    {0.0, kTwoPi - 1e-12}, {3.14159265358979, 0},
        {-99.0, 1.0}, {2.0, -100.0}, {-999.0, -99.0}};
    for (const auto& p : fixed) {
        std::int16_t direction = 0;
        EXPECT_EQ(ShortestSeparation(p[0], p[1]), AngularSeparation(p[0], p[1], direction));
    }
    for (int i = 0; i < 100000; ++i) {
        const double a = next() * kTwoPi, b = next() * kTwoPi;
        std::int16_t direction = 0;
        ASSERT_EQ(ShortestSeparation(a, b), AngularSeparation(a, b, direction)) << a << " " << b;
    }
}

TEST(ClockTimeText, SecondsRoundTheMinutes) {
    struct Case {
        int h, m, s;
        std::string expected;
    };
    const Case cases[] = {
        {0, 0, 0, "00:00"},    {7, 5, 0, "07:05"},    {7, 5, 29, "07:05"},   {7, 5, 30, "07:06"},
        {10, 59, 45, "11:00"}, {23, 59, 30, "23:59"}, {23, 58, 31, "23:59"}, {12, 0, 0, "12:00"},
    };
    for (const auto& c : cases) {
        // Half a second into the second, as a fraction of a day.
        const double f = (c.h * 3600 + c.m * 60 + c.s + 0.5) / 86400.0;
        EXPECT_EQ(ClockTimeText(f), c.expected) << c.h << ":" << c.m << ":" << c.s;
    }
}

TEST(ReportTitle, TitlesOfTablesAndSearches) {
    struct Case {
        TitleInputs in;
        std::string expected;
    };
    auto inputs = [](bool helio, bool search, bool showAll, const char* first) {
        TitleInputs t;
        t.heliocentric = helio;
        t.searchMode = search;
        t.showAllMode = showAll;
        t.firstPlanetName = first;
        t.secondPlanetName = "Jupiter";
        t.startDay = 2460436;  // 2024-05-05
        t.endDay = 2460680;    // 2025-01-04
        t.searchOrbText = "6" + kDeg;
        t.searchAspectText = "trine";
        return t;
    };
    const Case cases[] = {
        {inputs(false, false, false, "Mars"),
         "Geocentric transits for Mars and Jupiter from May 5, 2024, to January 4, 2025 "
         "('r' = Mars retrograde)"},
        {inputs(false, false, true, "Mars"),
         "Geocentric transits for Mars and Jupiter from May 5, 2024, to January 4, 2025 "
         "('r' not shown)"},
        {inputs(false, false, false, "Moon"),
         "Geocentric transits for Moon and Jupiter from May 5, 2024, to January 4, 2025"},
        {inputs(false, false, false, "Sun"),
         "Geocentric transits for Sun and Jupiter from May 5, 2024, to January 4, 2025"},
        {inputs(true, false, false, "Mars"),
         "Heliocentric transits for Mars and Jupiter from May 5, 2024, to January 4, 2025"},
        {inputs(false, true, false, "Venus"),
         "First geocentric 6" + kDeg +
             " trine of Venus and Jupiter on or after May 5, 2024 "
             "('r' = Venus retrograde)"},
        {inputs(true, true, false, "Earth"),
         "First heliocentric 6" + kDeg + " trine of Earth and Jupiter on or after May 5, 2024"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReportTitle(c.in), c.expected);
}

TEST(TableRowLine, FixedColumns) {
    TransitRow row{"Conjunction", "2024-05-05",   "",
                   "2024-05-06r", "2024-05-07*r", "",
                   "2024-05-09",  "2024-05-10",   "23:59 AKST/HADT"};
    const std::string line = TableRowLine(row);
    EXPECT_EQ(line,
              "Conjunction | 2024-05-05              2024-05-06r | 2024-05-07*r| "
              "            2024-05-09  2024-05-10  | 23:59 AKST/HADT\r\n");
    EXPECT_EQ(TextLength(line), 119u + 2u);  // as wide as the hyphen lines

    TransitRow longCells{"Semisextile-x",   "2024-05-05-and-more", "", "", "", "", "", "",
                         "0" + kDeg + "36'"};
    const std::string cut = TableRowLine(longCells);
    EXPECT_EQ(cut.substr(0, 12), "Semisextile-");
    EXPECT_EQ(cut.substr(14, 12), "2024-05-05-a");
    EXPECT_EQ(TextLength(cut), 104u + 5u + 2u);
}

TEST(PadCell, CountsCharactersNotBytes) {
    EXPECT_EQ(PadCell("End 10" + kDeg), "End 10" + kDeg + "     ");
    EXPECT_EQ(TextLength(PadCell("End 10" + kDeg)), 12u);
    EXPECT_EQ(PadCell(kDeg + kDeg + kDeg, 2), kDeg + kDeg);
    EXPECT_EQ(PadCell(""), std::string(12, ' '));
}

// Typed lines to report lines: every cell the formatter writes, with the
// markers the report puts after a date.
TEST(TransitLineText, CellsFromTypedLines) {
    const std::int32_t may5 = 2460436;  // 2024-05-05
    const auto crossing = [](std::int32_t day, bool retro) {
        return std::optional<OrbCrossing>(OrbCrossing{day, retro});
    };
    TransitMinimum exact{may5 + 2, true, true, 23 * 60 + 59, 0.0001};
    TransitMinimum approximate{may5 + 3, false, false, 0, 0.2 / 360.0 * kTwoPi};
    struct Case {
        TransitLine line;
        const char* zone;
        std::string expected;
    };
    TransitLine full;
    full.aspect = Aspect::Conjunction;
    full.entry = {crossing(may5, false), std::nullopt, crossing(may5 + 1, true)};
    full.minimum = exact;
    full.exit = {crossing(may5 + 5, false), crossing(may5 + 4, false), std::nullopt};
    TransitLine unnamed;  // a later line of a transit: no aspect, an open start
    unnamed.minimum = approximate;
    unnamed.exit[2] = crossing(may5 + 4, true);
    const Case cases[] = {
        {full, "AKST/HADT",
         "Conjunction | 2024-05-05              2024-05-06r | 2024-05-07*r| "
         "            2024-05-09  2024-05-10  | 23:59 AKST/HADT\r\n"},
        {unnamed, "GMT",
         std::string(12, ' ') + "| " + std::string(36, ' ') + "| 2024-05-08  | " + "2024-05-09r" +
             std::string(25, ' ') + "| 0" + kDeg + "12'\r\n"},
        {TransitLine{}, "GMT",
         std::string(12, ' ') + "| " + std::string(36, ' ') + "| " + std::string(12, ' ') + "| " +
             std::string(36, ' ') + "| \r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(TransitLineText(c.line, c.zone), c.expected);
    EXPECT_TRUE(TransitLine{}.Empty());
    EXPECT_FALSE(unnamed.Empty());
    EXPECT_FALSE(unnamed.AnyEntry());
    EXPECT_TRUE(full.AnyEntry());
}

TEST(DegreesMinutesOf, RoundsAndCarriesAsTheReportWrites) {
    const struct {
        double degrees;
        std::optional<DegreesMinutes> expected;
    } cases[] = {
        {0.0, DegreesMinutes{0, 0}},
        {0.2, DegreesMinutes{0, 12}},
        {1.25, DegreesMinutes{1, 15}},
        {2.9999, DegreesMinutes{3, 0}},
        {359.9999, DegreesMinutes{359, 59}},
        {-1.0, std::nullopt},
        {361.0, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<DegreesMinutes> dm = DegreesMinutesOf(c.degrees / 360.0 * kTwoPi);
        ASSERT_EQ(dm.has_value(), c.expected.has_value()) << c.degrees;
        if (!dm) continue;
        EXPECT_EQ(dm->degrees, c.expected->degrees) << c.degrees;
        EXPECT_EQ(dm->minutes, c.expected->minutes) << c.degrees;
    }
}

// A written line goes out under the header, once per report, and into the
// results under a table of the request's pair.
TEST(WriteTableRow, HeaderOnceAndTheLineInTheResults) {
    InitPositionsWithFolder(VLT_BIN_DIR "/");
    FakeRunHost host;
    ProfilePositions positions(1, {{0, 45}, {1, 45}});
    TransitScanner scanner(host, positions);
    TransitRequest r;
    r.reportTitle = "Title";
    CompleteRequest(r);
    scanner.UseRequest(r);
    TransitTable& table = scanner.TableForEdit();
    table.Resize(200);
    FillTableHeader(table, "Title", 10, 5, 2);
    table.LineForWrite(3).aspect = Aspect::Trine;
    scanner.WriteTableRow(3);
    const std::string expected = std::string(119, '-') + "\r\nTitle\r\n";
    ASSERT_EQ(host.output.text.rfind(expected, 0), 0u);
    const std::string last = "Trine       | " + std::string(36, ' ') + "| " + std::string(12, ' ') +
                             "| " + std::string(36, ' ') + "| \r\n";
    ASSERT_GE(host.output.text.size(), last.size());
    EXPECT_EQ(host.output.text.substr(host.output.text.size() - last.size()), last);
    EXPECT_TRUE(scanner.HeaderPrinted());
    table.LineForWrite(4).aspect = Aspect::Square;
    scanner.WriteTableRow(4);
    EXPECT_EQ(host.output.text.find("Title", 130), std::string::npos);
    ASSERT_EQ(scanner.Results().size(), 1u);
    const TransitTableResult& result = scanner.Results()[0];
    EXPECT_EQ(result.first, Planet::Mars);
    EXPECT_EQ(result.second, Planet::Jupiter);
    EXPECT_EQ(result.orbs, (Orbs{10, 5, 2}));
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[0].aspect, Aspect::Trine);
    EXPECT_EQ(result.lines[1].aspect, Aspect::Square);
}

}  // namespace
}  // namespace vlt::testing
