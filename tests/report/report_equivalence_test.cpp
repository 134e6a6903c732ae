// vlt-report --box prints byte for byte what the window's output box holds:
// each request runs as the vlt-report program and as a user would run it in
// the window (the window logic on the in-memory screen, with the real
// commands, positions and data files), and the two must agree in the report
// text, the message texts and whether the request was refused.  Without
// --box the program writes the report as it goes and has no size limit: up
// to the box's limit it prints the same bytes; past it, the whole report,
// which begins with everything the box had room for.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/report/report_options.h"
#include "app/report/report_run.h"
#include "app/support/settings_store.h"
#include "app/window/control_names.h"
#include "app/window/main_window.h"
#include "app/window/memory_ui.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"
#include "app/window/window_requests.h"
#include "tests/report/run_program.h"

namespace vlt::testing {
namespace {

namespace fs = std::filesystem;

// A date as the user types it into its three boxes.
struct TypedDate {
    const char* year;
    const char* month;
    const char* day;
};

// What the user does in the window, in this order: answer the message boxes
// the run shows, set the controls that are given, click the button.
struct WindowSteps {
    std::vector<std::pair<std::string, MsgResult>> answers = {};  // boxes during the run
    bool natz = false;
    bool helio = false;
    std::optional<int> first = {};  // list position; -1: no entry selected (Pluto)
    std::optional<int> second = {};
    std::vector<int> clearedAspects = {};
    std::vector<std::pair<int, int>> orbs = {};  // (orb list, position), in the user's order
    TypedDate start = {};
    TypedDate end = {};
    std::optional<int> timezone = {};
    std::optional<int> searchAspect = {};
    std::optional<int> searchOrb = {};
    std::optional<int> searchWhen = {};
    bool details = false;
    Ctl button = {};
};

struct Request {
    const char* name;
    std::vector<std::string> args;
    WindowSteps window;
    std::vector<std::string> boxes = {};  // message boxes the window shows, in order
    int exitCode = 0;
    bool crlf = false;             // vlt-report keeps the box's CR LF
    const char* locale = nullptr;  // LC_ALL for both runs, when set
};

// Test names and failure messages name the request, not its bytes.
void PrintTo(const Request& r, std::ostream* os) { *os << r.name; }

void TypeDate(MemoryUi& ui, int date, const TypedDate& d) {
    ui.TypeAndLeave(Ctl(ctl::txbYear, date), d.year);
    ui.TypeAndLeave(Ctl(ctl::txbMonth, date), d.month);
    ui.TypeAndLeave(Ctl(ctl::txbDay, date), d.day);
}

void Choose(MemoryUi& ui, const Ctl& list, const std::optional<int>& position) {
    if (position) ui.Choose(list, *position);
}

void Drive(const WindowSteps& s, MemoryUi& ui, MainWindow& window) {
    for (const auto& [text, answer] : s.answers) ui.ExpectBox(text, answer);
    if (s.natz) ui.Click(ctl::chkDisplayNATZabbr);
    if (s.helio) ui.Click(ctl::optHeliocentric);
    if (s.first == -1) {
        window.SelectPlanet(0, -1);
    } else {
        Choose(ui, Ctl(ctl::cboPlanet, 0), s.first);
    }
    Choose(ui, Ctl(ctl::cboPlanet, 1), s.second);
    for (int b : s.clearedAspects) ui.Click(Ctl(ctl::chkAspectType, b));
    for (const auto& [list, position] : s.orbs) ui.Choose(Ctl(ctl::cboOrbs, list), position);
    TypeDate(ui, 0, s.start);
    TypeDate(ui, 1, s.end);
    Choose(ui, Ctl(ctl::cboTimezone, 0), s.timezone);
    Choose(ui, ctl::cboSearchAspect, s.searchAspect);
    Choose(ui, Ctl(ctl::cboOrbs, 3), s.searchOrb);
    Choose(ui, ctl::cboSearchWhen, s.searchWhen);
    if (s.details) ui.Click(ctl::chkIncludeTransitDetails);
    ui.Click(s.button);
}

std::string LfOnly(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) continue;
        out += text[i];
    }
    return out;
}

// List positions used below.  First list: 0 Sun/Earth, 1 Mercury, 2 Venus,
// 3 Mars, 4 Jupiter, 5 Saturn.  Second list: 0 Mercury, 1 Venus, 2 Mars,
// 3 Jupiter, 4 Saturn, 7 Pluto; 8 the Moon in both.  Time zones: 24 GMT, two
// entries per hour.
const std::vector<Request>& Requests() {
    const Ctl tables(ctl::cmdStart);
    const Ctl search(ctl::cmdSearch);
    const Ctl simulate(ctl::cmdSimulateInvestment);
    static const std::vector<Request> kRequests = {
        {"TablesGeocentricMarsJupiter",
         {"tables", "--start", "2024-01-01", "--end", "2024-12-31", "--tz", "GMT+1:00"},
         {.start = {"2024", "1", "1"},
          .end = {"2024", "12", "31"},
          .timezone = 26,
          .button = tables}},
        {"TablesHeliocentricEarthVenusThreeAspects",
         {"tables", "--helio", "--first", "Earth", "--second", "Venus", "--aspects", "con,opp,sqr",
          "--orbs", "8,4,1", "--start", "2023-03-01", "--end", "2024-09-30", "--tz", "GMT-5:00"},
         {.helio = true,
          .first = 0,
          .second = 1,
          .clearedAspects = {3, 4, 5, 6},
          .orbs = {{2, 0}, {1, 3}, {0, 7}},
          .start = {"2023", "3", "1"},
          .end = {"2024", "9", "30"},
          .timezone = 14,
          .button = tables}},
        {"TablesSunMercuryNorthAmericanLabel",
         {"tables", "--first", "Sun", "--second", "Mercury", "--natz", "--tz", "EST/CDT", "--start",
          "2024-01-01", "--end", "2024-06-30"},
         {.natz = true,
          .first = 0,
          .second = 0,
          .start = {"2024", "1", "1"},
          .end = {"2024", "6", "30"},
          .timezone = 14,
          .button = tables}},
        {"TablesVenusSaturnWithCrLf",
         {"tables", "--first", "Venus", "--second", "Saturn", "--start", "2022-01-01", "--end",
          "2022-12-31", "--tz", "GMT+5:30", "--crlf"},
         {.first = 2,
          .second = 4,
          .start = {"2022", "1", "1"},
          .end = {"2022", "12", "31"},
          .timezone = 35,
          .button = tables},
         {},
         0,
         true},
        {"TablesInTheComputersZone",
         {"tables", "--first", "Jupiter", "--second", "Saturn", "--start", "2020-06-01", "--end",
          "2021-06-30"},
         {.first = 4,
          .second = 4,
          .start = {"2020", "6", "1"},
          .end = {"2021", "6", "30"},
          .button = tables}},
        {"SearchGeocentricJupiterSaturnConjunction",
         {"search", "--first", "Jupiter", "--second", "Saturn", "--aspect", "con", "--orb", "6",
          "--from", "start", "--start", "2015-01-01", "--end", "2015-02-01", "--tz", "GMT"},
         {.first = 4,
          .second = 4,
          .start = {"2015", "1", "1"},
          .end = {"2015", "2", "1"},
          .timezone = 24,
          .searchAspect = 0,
          .searchOrb = 3,
          .searchWhen = 0,
          .button = search}},
        {"SearchHeliocentricMarsJupiterTrineFromEnd",
         {"search", "--helio", "--first", "Mars", "--second", "Jupiter", "--aspect", "tri", "--orb",
          "8", "--from", "end", "--start", "2020-01-01", "--end", "2021-01-01", "--tz", "GMT+2:00"},
         {.helio = true,
          .first = 3,
          .second = 3,
          .start = {"2020", "1", "1"},
          .end = {"2021", "1", "1"},
          .timezone = 28,
          .searchAspect = 3,
          .searchOrb = 5,
          .searchWhen = 1,
          .button = search}},
        {"SearchRefusedGeocentricSunMercurySextile",
         {"search", "--first", "Sun", "--second", "Mercury", "--aspect", "sxt", "--start",
          "2024-01-01", "--end", "2024-02-01", "--tz", "GMT"},
         {.first = 0,
          .second = 0,
          .start = {"2024", "1", "1"},
          .end = {"2024", "2", "1"},
          .timezone = 24,
          .searchAspect = 4,
          .button = search},
         {"The only possible geocentric aspects between the Sun and Mercury\n"
          "are conjunction and semisextile."},
         1},
        {"ShowAllGeocentricKeepingVenus",
         {"showall", "--first", "Venus", "--keep", "first", "--start", "2024-01-01", "--end",
          "2024-02-29", "--tz", "GMT-3:30"},
         {.first = 2,
          .start = {"2024", "1", "1"},
          .end = {"2024", "2", "29"},
          .timezone = 17,
          .button = Ctl(ctl::cmdShowAll, 1)}},
        // The Moon, last in both lists.
        {"TablesSunMoon",
         {"tables", "--first", "Sun", "--second", "Moon", "--start", "2024-01-01", "--end",
          "2024-02-29", "--tz", "GMT+5:30"},
         {.first = 0,
          .second = 8,
          .start = {"2024", "1", "1"},
          .end = {"2024", "2", "29"},
          .timezone = 35,
          .button = Ctl(ctl::cmdStart)}},
        {"ShowAllKeepingTheMoon",
         {"showall", "--second", "Moon", "--keep", "second", "--start", "2024-01-01", "--end",
          "2024-01-31", "--tz", "GMT"},
         {.second = 8,
          .start = {"2024", "1", "1"},
          .end = {"2024", "1", "31"},
          .timezone = 24,
          .button = Ctl(ctl::cmdShowAll, 0)}},
        {"RefusedHeliocentricMoon",
         {"tables", "--helio", "--first", "Moon", "--second", "Mars", "--start", "2024-01-01",
          "--end", "2024-02-01", "--tz", "GMT"},
         {.helio = true,
          .first = 8,
          .second = 2,
          .start = {"2024", "1", "1"},
          .end = {"2024", "2", "1"},
          .timezone = 24,
          .button = Ctl(ctl::cmdStart)},
         {"The Moon is geocentric only: choose Geocentric to use it."},
         1},
        {"ShowAllHeliocentricKeepingSaturn",
         {"showall", "--helio", "--second", "Saturn", "--keep", "second", "--start", "2024-01-01",
          "--end", "2024-03-31", "--tz", "GMT+9:30"},
         {.helio = true,
          .second = 4,
          .start = {"2024", "1", "1"},
          .end = {"2024", "3", "31"},
          .timezone = 43,
          .button = Ctl(ctl::cmdShowAll, 0)}},
        {"ShowAllHeliocentricKeepingPluto",
         {"showall", "--helio", "--first", "Pluto", "--keep", "first", "--start", "2024-01-01",
          "--end", "2024-12-31", "--tz", "GMT"},
         {.helio = true,
          .first = -1,
          .start = {"2024", "1", "1"},
          .end = {"2024", "12", "31"},
          .timezone = 24,
          .button = Ctl(ctl::cmdShowAll, 1)}},
        {"SimulateEarthMarsWithDetails",
         {"simulate", "--first", "Earth", "--second", "Mars", "--aspects", "con,opp", "--start",
          "2010-01-01", "--end", "2010-12-31", "--details"},
         {.helio = true,
          .first = 0,
          .second = 2,
          .clearedAspects = {2, 3, 4, 5, 6},
          .start = {"2010", "1", "1"},
          .end = {"2010", "12", "31"},
          .details = true,
          .button = simulate}},
        // Past the box's limit: the window stops (its box is full, "Stop?" is
        // answered Yes); the streamed report goes on to the end.
        {"TablesPastTheBoxLimit",
         {"tables", "--helio", "--first", "Earth", "--second", "Mercury", "--start", "2000-01-01",
          "--end", "2019-12-31", "--tz", "GMT"},
         {.answers = {{"Output textbox is full.", MsgResult::Ok}, {"Stop?", MsgResult::Yes}},
          .helio = true,
          .first = 0,
          .second = 0,
          .start = {"2000", "1", "1"},
          .end = {"2019", "12", "31"},
          .timezone = 24,
          .button = tables},
         {},
         1},
        {"SimulatePastTheBoxLimit",
         {"simulate", "--first", "Earth", "--second", "Mercury", "--start", "2007-01-03", "--end",
          "2014-12-31", "--details", "--crlf"},
         {.helio = true,
          .first = 0,
          .second = 0,
          .start = {"2007", "1", "3"},
          .end = {"2014", "12", "31"},
          .details = true,
          .button = simulate},
         {"Output textbox is full.\n\nPlease specify a shorter period or fewer aspect types."},
         1,
         true},
        {"SimulateVenusJupiterInADecimalCommaLocale",
         {"simulate", "--helio", "--first", "Venus", "--second", "Jupiter", "--start", "2008-01-01",
          "--end", "2009-06-30", "--details"},
         {.helio = true,
          .first = 2,
          .second = 3,
          .start = {"2008", "1", "1"},
          .end = {"2009", "6", "30"},
          .details = true,
          .button = simulate},
         {},
         0,
         false,
         "de_DE.UTF-8"},
        {"SimulateRefusedBeforeTheIndexData",
         {"simulate", "--start", "2006-06-01", "--end", "2007-06-30"},
         {.helio = true,
          .start = {"2006", "6", "1"},
          .end = {"2007", "6", "30"},
          .button = simulate},
         {"Investment dates must be in the range\n 2007-01-03 through 2014-12-31."},
         1},
        {"TablesRefusedShortPeriod",
         {"tables", "--start", "2024-01-01", "--end", "2024-01-03", "--tz", "GMT"},
         {.start = {"2024", "1", "1"}, .end = {"2024", "1", "3"}, .timezone = 24, .button = tables},
         {"The start date must be at least 3 days prior to the end date."},
         1},
        {"TablesRefusedPlutoWithItself",
         {"tables", "--first", "Pluto", "--second", "Pluto", "--start", "2024-01-01", "--end",
          "2024-12-31", "--tz", "GMT"},
         {.first = -1,
          .second = 7,
          .start = {"2024", "1", "1"},
          .end = {"2024", "12", "31"},
          .timezone = 24,
          .button = tables},
         {"Transit of a planet to itself is not possible."},
         1},
        {"TablesRefusedTooLateForTheData",
         {"tables", "--first", "Jupiter", "--second", "Pluto", "--start", "2099-06-01", "--end",
          "2201-01-01", "--tz", "GMT"},
         {.first = 4,
          .second = 7,
          .start = {"2099", "6", "1"},
          .end = {"2201", "1", "1"},
          .timezone = 24,
          .button = tables},
         {"End date is too late for Pluto."},
         1},
    };
    return kRequests;
}

struct WindowRun {
    std::string box;                    // the output box's text (CR LF)
    std::vector<std::string> boxTexts;  // the message boxes shown after start-up
};

// The request as a user runs it in the window, in `folder` (the index file's
// working folder) with an empty settings store of its own.
WindowRun RunInWindow(const Request& r, const fs::path& folder) {
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    SetSettingsFolder((folder / "config").string());
    WindowRun run;
    {
        ProgramServices services;
        MemoryUi ui;
        MainWindow window(ui, services);
        ProgramCommands commands(window, services.Index());
        window.SetCommandHandlers(&commands);
        ui.Attach(&window);
        ui.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        window.StartUp();
        window.LoadPlutoTables();
        EXPECT_TRUE(ui.Boxes().empty()) << "start-up showed " << ui.Boxes().front().text;
        ui.ClearBoxes();
        for (const std::string& text : r.boxes) ui.ExpectBox(text);
        Drive(r.window, ui, window);
        EXPECT_EQ(ui.PendingBoxes(), 0u) << "an announced message box never showed";
        EXPECT_FALSE(window.Running());
        for (const BoxRecord& b : ui.Boxes()) run.boxTexts.push_back(b.text);
        run.box = ui.Get(Ctl(ctl::txbOutput)).text;
        EXPECT_EQ(run.box, window.OutputText());
    }
    SetSettingsFolder("");
    fs::current_path(before);
    return run;
}

class ReportMatchesWindow : public ::testing::TestWithParam<Request> {};

TEST_P(ReportMatchesWindow, SameTextMessagesAndOutcome) {
    const Request& r = GetParam();
    const fs::path index = fs::path(VLT_BIN_DIR) / "DJIA_data.txt";
    ASSERT_TRUE(fs::exists(index)) << "no index file beside the programs";
    const fs::path folder = FreshTestFolder(r.name);
    fs::copy_file(index, folder / "DJIA_data.txt");
    const ScopedEnv locale("LC_ALL", r.locale);

    const WindowRun window = RunInWindow(r, folder);
    std::vector<std::string> boxArgs = r.args;
    boxArgs.push_back("--box");
    const ProgramRun report = RunProgram(VLT_REPORT_PROGRAM, boxArgs, folder);
    const ProgramRun streamed = RunProgram(VLT_REPORT_PROGRAM, r.args, folder);

    std::string messages;
    for (const std::string& text : window.boxTexts) messages += text + "\n";
    const std::string expected = r.crlf ? window.box : LfOnly(window.box);
    EXPECT_EQ(report.exitCode, r.exitCode) << report.err;
    EXPECT_EQ(report.err, messages);
    EXPECT_EQ(report.out, expected);
    if (r.exitCode == 0) {
        // An empty report on both sides would agree without proving anything.
        EXPECT_NE(window.box.find("\r\n"), std::string::npos) << "the window wrote no report";
    }
    if (!r.crlf) {
        EXPECT_EQ(report.out.find('\r'), std::string::npos);
        EXPECT_EQ(streamed.out.find('\r'), std::string::npos);
    }

    // Where the box's own ending begins: the transit tables' and the
    // simulation's.
    std::size_t full = window.box.find("Textbox is full -- ");
    if (full == std::string::npos) full = window.box.find("\r\nTextbox is full\r\n");
    if (full == std::string::npos) {
        EXPECT_EQ(streamed.exitCode, report.exitCode) << streamed.err;
        EXPECT_EQ(streamed.err, report.err);
        EXPECT_EQ(streamed.out, report.out);
    } else {
        // The box filled up; the streamed report went on to the end.
        const std::string keptBox = window.box.substr(0, full);
        const std::string kept = r.crlf ? keptBox : LfOnly(keptBox);
        EXPECT_EQ(streamed.exitCode, 0) << streamed.err;
        EXPECT_EQ(streamed.err, "");
        EXPECT_EQ(streamed.out.compare(0, kept.size(), kept), 0);
        EXPECT_GT(streamed.out.size(), report.out.size() + 1000);
        EXPECT_EQ(streamed.out.find("Textbox is full"), std::string::npos);
        EXPECT_EQ(streamed.out.back(), '\n');
    }
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Requests, ReportMatchesWindow, ::testing::ValuesIn(Requests()),
                         [](const ::testing::TestParamInfo<Request>& info) {
                             return std::string(info.param.name);
                         });

// The request each front end builds for the same inputs: the window's from its
// controls (after its own date checks), vlt-report's from the command line.
// Every request of the table above is built both ways without running it; a
// request the window's date boxes refuse is one vlt-report refuses too.

// The requests a click builds, kept instead of run.
class BuiltRequests final : public CommandHandlers {
public:
    std::optional<TablesRequest> tables;
    std::optional<SearchRequest> search;
    std::optional<ShowAllRequest> showAll;
    std::optional<SimulationRequest> simulation;
    void Start(CommandWindow& w) override { tables = TablesRequestOfClick(w); }
    void Search(CommandWindow& w) override { search = SearchRequestOfClick(w); }
    void ShowAll(CommandWindow& w, int item) override { showAll = ShowAllRequestOfClick(w, item); }
    void SimulateInvestment(CommandWindow& w) override { simulation = SimulationRequestOfClick(w); }
    bool Any() const { return tables || search || showAll || simulation; }
};

// The program's services, but the index file is not read: no request needs it.
class NoIndexServices final : public ProgramServices {
public:
    void LoadIndexData(MessageBoxes& /*boxes*/) override {}
};

BuiltRequests BuildInWindow(const Request& r) {
    BuiltRequests built;
    NoIndexServices services;
    MemoryUi ui;
    MainWindow window(ui, services);
    window.SetCommandHandlers(&built);
    ui.Attach(&window);
    window.StartUp();
    window.LoadPlutoTables();
    Drive(r.window, ui, window);
    return built;
}

class WindowBuildsTheReportsRequest : public ::testing::TestWithParam<Request> {};

TEST_P(WindowBuildsTheReportsRequest, SameTypedRequest) {
    const Request& r = GetParam();
    const ScopedEnv locale("LC_ALL", r.locale);
    const fs::path folder = FreshTestFolder(std::string("requests-") + r.name);
    SetSettingsFolder((folder / "config").string());
    const BuiltRequests window = BuildInWindow(r);
    SetSettingsFolder("");
    fs::remove_all(folder);

    const ReportArguments parsed = ParseReportArguments(r.args);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const ReportOptions& o = parsed.options;
    if (!window.Any()) {
        EXPECT_EQ(r.exitCode, 1) << "the window refused a request the report runs";
        return;
    }
    switch (o.command) {
        case ReportCommand::Tables:
            ASSERT_TRUE(window.tables);
            EXPECT_TRUE(*window.tables == TablesRequestOf(o));
            break;
        case ReportCommand::Search:
            ASSERT_TRUE(window.search);
            EXPECT_TRUE(*window.search == SearchRequestOf(o));
            break;
        case ReportCommand::ShowAll:
            ASSERT_TRUE(window.showAll);
            EXPECT_TRUE(*window.showAll == ShowAllRequestOf(o));
            break;
        case ReportCommand::Simulate:
            ASSERT_TRUE(window.simulation);
            EXPECT_TRUE(*window.simulation == SimulationRequestOf(o));
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, WindowBuildsTheReportsRequest, ::testing::ValuesIn(Requests()),
                         [](const ::testing::TestParamInfo<Request>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace vlt::testing
