// The event commands as a user runs them (JSON layout, the zone's offsets
// through a change of the clocks, one line for each refusal) and the
// formats' own rules (iCalendar folding and escaping, positions in signs,
// zones).  The times themselves are checked against the Swiss Ephemeris in
// tests/engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/engine/event_zone.h"
#include "app/report/event_formats.h"
#include "app/report/option_values.h"
#include "tests/report/report_fixture.h"

namespace vlt {
namespace {

using testing::ProgramRun;

class EventCommands : public testing::ReportFolderTest {};

// Minutes since 1970 of "2027-01-07T15:24:00-05:00", read by the test.
long long UtcMinutesOfIso(const std::string& iso) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, oh = 0, om = 0;
    char sign = '+';
    EXPECT_EQ(std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%d%c%d:%d", &y, &mo, &d, &h, &mi, &s, &sign,
                          &oh, &om),
              9)
        << iso;
    // Days from the civil date (H. Hinnant's algorithm, written out here).
    y -= mo <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    const long long offset = (sign == '-' ? -1 : 1) * (oh * 60 + om);
    return days * 1440 + h * 60 + mi - offset;
}

TEST_F(EventCommands, CalendarJsonFollowsTheClockChangeOfNewYork) {
    const std::vector<std::string> period = {"--start", "2027-01-01", "--end", "2027-03-31"};
    std::vector<std::string> args = {"calendar"};
    args.insert(args.end(), period.begin(), period.end());
    args.insert(args.end(), {"--format", "json", "--tz", "America/New_York"});
    const ProgramRun ny = Run(args);
    ASSERT_EQ(ny.exitCode, 0) << ny.err;
    args.back() = "GMT";
    const ProgramRun gmt = Run(args);
    ASSERT_EQ(gmt.exitCode, 0) << gmt.err;
    const auto events = nlohmann::json::parse(ny.out).at("events");
    const auto utc = nlohmann::json::parse(gmt.out).at("events");
    ASSERT_EQ(events.size(), utc.size());
    std::set<std::string> kinds;
    // Daylight saving began on 2027-03-14 at 7:00 UTC.
    const long long change = UtcMinutesOfIso("2027-03-14T07:00:00+00:00");
    long long previous = 0;
    for (std::size_t k = 0; k < events.size(); ++k) {
        const std::string time = events[k].at("time");
        const long long at = UtcMinutesOfIso(time);
        EXPECT_EQ(time.substr(19), at < change ? "-05:00" : "-04:00") << time;
        EXPECT_EQ(at, UtcMinutesOfIso(utc[k].at("time"))) << "the same instant in both zones";
        EXPECT_GE(at, previous) << "time order";
        previous = at;
        const std::string kind = events[k].at("kind");
        kinds.insert(kind);
        // Each key where it applies, and only there.
        EXPECT_EQ(events[k].contains("aspect"), kind == "aspect") << time;
        EXPECT_EQ(events[k].contains("phase"), kind == "phase") << time;
        EXPECT_EQ(events[k].contains("sign"), kind == "ingress") << time;
        EXPECT_EQ(events[k].contains("direction"), kind == "station" || kind == "ingress");
        EXPECT_EQ(events[k].at("bodies").size(), kind == "aspect" || kind == "phase" ? 2u : 1u);
        const double longitude = events[k].at("longitude");
        EXPECT_TRUE(longitude >= 0.0 && longitude < 360.0) << time;
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"aspect", "phase", "station", "ingress"}));
}

// The period is the zone's days: an event just before local midnight of
// the first day is left out, one just after the last is too.
TEST_F(EventCommands, PhasesOfAMonthInOrderAndInTheZonesDays) {
    const ProgramRun run = Run({"phases", "--start", "2027-01-01", "--end", "2027-02-28", "--tz",
                                "GMT+5:30", "--format", "csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(run.out);
    while (std::getline(in, line)) {
        ASSERT_EQ(line.back(), '\r') << "CR LF line ends";
        lines.push_back(line.substr(0, line.size() - 1));
    }
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0], "time,kind,body,other,aspect,phase,direction,sign,longitude");
    const std::vector<std::string> cycle = {"new", "first", "full", "last"};
    std::size_t at = 0;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].substr(19, 6), "+05:30") << lines[k];
        EXPECT_GE(lines[k].substr(0, 10), "2027-01-01");
        EXPECT_LE(lines[k].substr(0, 10), "2027-02-28");
        const std::string phase = Split(lines[k], ',')[5];
        if (k == 1) at = std::find(cycle.begin(), cycle.end(), phase) - cycle.begin();
        EXPECT_EQ(phase, cycle[at % 4]) << lines[k];
        ++at;
    }
}

struct BadInput {
    std::vector<std::string> args;
    int exitCode;
    const char* words;
};

const BadInput kBadInputs[] = {
    {{"phases", "--start", "2027-01-01", "--end", "2027-02-01", "--tz", "Mars/Olympus"},
     2,
     "unknown time zone \"Mars/Olympus\""},
    {{"stations", "--planet", "Moon", "--start", "2027-01-01", "--end", "2027-02-01"},
     2,
     "Moon: it has no stations"},
    {{"stations", "--planet", "Ceres", "--start", "2027-01-01", "--end", "2027-02-01"},
     2,
     "\"Ceres\" is no planet"},
    {{"phases", "--start", "1500-01-01", "--end", "1500-02-01"}, 1, "too early for"},
    {{"stations", "--planet", "Pluto", "--start", "2150-01-01", "--end", "2150-12-31"},
     1,
     "too late for Pluto"},
    {{"calendar", "--start", "2099-06-01", "--end", "2100-06-01"}, 1, "too late for Pluto"},
    {{"ingresses", "--start", "2027-02-01", "--end", "2027-01-01"}, 2, "not be before --start"},
    {{"phases", "--start", "2027-01-01", "--end", "2027-02-01", "--format", "ics"}, 2, "--format"},
    {{"calendar", "--start", "2027-01-01", "--end", "2027-02-01", "--kinds", "eclipses"},
     2,
     "--kinds: \"eclipses\""},
    {{"calendar", "--start", "2027-01-01", "--end", "2027-02-01", "--aspects", "con,xyz"},
     2,
     "--aspects: \"xyz\""},
    {{"ingresses", "--start", "2027-02-30", "--end", "2027-03-01"}, 2, "is no date"},
};

TEST_F(EventCommands, BadInputGivesOneClearLine) {
    for (const BadInput& c : kBadInputs) {
        const ProgramRun run = Run(c.args);
        const std::string shown = c.args[0] + " " + c.args[2];
        EXPECT_EQ(run.exitCode, c.exitCode) << shown << ": " << run.err;
        EXPECT_NE(run.err.find(c.words), std::string::npos) << shown << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << shown << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << shown;
    }
}

TEST(EventFormats, IcsLinesFoldAfter75OctetsAndNeverInsideACharacter) {
    const std::string degree = "\u00b0";
    const struct {
        std::string line;
        std::vector<std::size_t> physical;  // octets of each line, CRLF aside
    } cases[] = {
        {std::string(75, 'a'), {75}},
        {std::string(76, 'a'), {75, 2}},
        {std::string(74, 'a') + degree, {74, 3}},  // the two octets stay together
        {std::string(200, 'b'), {75, 75, 52}},
    };
    for (const auto& c : cases) {
        const std::string folded = FoldedLine(c.line);
        std::vector<std::size_t> sizes;
        std::string unfolded;
        for (std::size_t from = 0; from < folded.size();) {
            const std::size_t end = folded.find("\r\n", from);
            ASSERT_NE(end, std::string::npos);
            sizes.push_back(end - from);
            unfolded += folded.substr(from + (from == 0 ? 0 : 1), end - from - (from == 0 ? 0 : 1));
            from = end + 2;
        }
        EXPECT_EQ(sizes, c.physical) << c.line.size();
        EXPECT_EQ(unfolded, c.line);
    }
    EXPECT_EQ(IcsText("a,b;c\\d"), "a\\,b\\;c\\\\d");
}

TEST(EventFormats, PositionsInSignsCarryTheRoundedMinute) {
    const struct {
        double longitude;
        const char* text;
    } cases[] = {
        {0.0, "00\u00b000' Aries"},
        {29.9999, "00\u00b000' Taurus"},  // 29°59.994' rounds into the next sign
        {287.304, "17\u00b018' Capricorn"},
        {359.9999, "00\u00b000' Aries"},
        {123.456, "03\u00b027' Leo"},
    };
    for (const auto& c : cases) EXPECT_EQ(ZodiacPosition(c.longitude), c.text) << c.longitude;
}

TEST(EventFormats, ZonesGiveTheirOffsetOfTheDay) {
    std::string error;
    const auto ny = EventZone::Read("America/New_York", error);
    ASSERT_TRUE(ny) << error;
    const auto india = EventZone::Read("GMT+5:30", error);
    ASSERT_TRUE(india) << error;
    const auto est = EventZone::Read("EST/CDT", error);
    ASSERT_TRUE(est) << error;
    EXPECT_FALSE(EventZone::Read("Mars/Olympus", error));
    const double jan = 2461406.5;   // 2027-01-01 0h UTC
    const double july = 2461587.5;  // 2027-07-01 0h UTC
    const struct {
        const EventZone& zone;
        double jd;
        int offset;
        const char* iso;
    } cases[] = {
        {*ny, jan, -300, "2026-12-31T19:00:00-05:00"},
        {*ny, july, -240, "2027-06-30T20:00:00-04:00"},
        {*india, jan, 330, "2027-01-01T05:30:00+05:30"},
        {*est, july, -300, "2027-06-30T19:00:00-05:00"},
    };
    for (const auto& c : cases) {
        const LocalTime t = ToLocal(c.jd, c.zone);
        EXPECT_EQ(t.offsetMinutes, c.offset) << c.iso;
        EXPECT_EQ(IsoTime(t), c.iso);
    }
    // 0h of 2027-01-01 in New York is 5h UTC; in July, 4h.
    EXPECT_DOUBLE_EQ(ny->StartOfDay({2027, 1, 1}), jan + 5.0 / 24.0);
    EXPECT_DOUBLE_EQ(ny->StartOfDay({2027, 6, 30}, 1), july + 4.0 / 24.0);
}

}  // namespace
}  // namespace vlt
