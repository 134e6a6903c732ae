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
#include <functional>
#include <string>
#include <vector>

#include "app/support/settings_store.h"
#include "app/window/main_window.h"
#include "app/window/memory_ui.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"
#include "tests/report/run_program.h"
#include "app/window/control_names.h"

namespace vlt::testing {
namespace {

namespace fs = std::filesystem;

using Drive = std::function<void(MemoryUi&, MainWindow&)>;

struct Request {
    Request(const char* n, std::vector<std::string> a, Drive d,
            std::vector<std::string> b = {}, int exit = 0, bool lineEnds = false,
            const char* loc = nullptr)
        : name(n), args(std::move(a)), drive(std::move(d)), boxes(std::move(b)),
          exitCode(exit), crlf(lineEnds), locale(loc) {}

    const char* name;
    std::vector<std::string> args;
    Drive drive;
    std::vector<std::string> boxes;  // message boxes the window shows, in order
    int exitCode;
    bool crlf;                       // vlt-report keeps the box's CR LF
    const char* locale;              // LC_ALL for both runs, when set
};

// Test names and failure messages name the request, not its bytes.
void PrintTo(const Request& r, std::ostream* os) { *os << r.name; }

// The user's typing of one date into its three boxes.
void TypeDate(MemoryUi& ui, int date, const char* year, const char* month, const char* day) {
    ui.TypeAndLeave(Ctl(ctl::txbYear, date), year);
    ui.TypeAndLeave(Ctl(ctl::txbMonth, date), month);
    ui.TypeAndLeave(Ctl(ctl::txbDay, date), day);
}

void ClearAspectBoxes(MemoryUi& ui, std::initializer_list<int> boxes) {
    for (int b : boxes) ui.Click(Ctl(ctl::chkAspectType, b));
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
// 3 Jupiter, 4 Saturn, 7 Pluto.  Time zones: 24 GMT, two entries per hour.
const std::vector<Request>& Requests() {
    static const std::vector<Request> kRequests = {
        {"TablesGeocentricMarsJupiter",
         {"tables", "--start", "2024-01-01", "--end", "2024-12-31", "--tz", "GMT+1:00"},
         [](MemoryUi& ui, MainWindow&) {
             TypeDate(ui, 0, "2024", "1", "1");
             TypeDate(ui, 1, "2024", "12", "31");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 26);
             ui.Click(ctl::cmdStart);
         }},
        {"TablesHeliocentricEarthVenusThreeAspects",
         {"tables", "--helio", "--first", "Earth", "--second", "Venus", "--aspects", "con,opp,sqr",
          "--orbs", "8,4,1", "--start", "2023-03-01", "--end", "2024-09-30", "--tz", "GMT-5:00"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Click(ctl::optHeliocentric);
             ui.Choose(Ctl(ctl::cboPlanet, 0), 0);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 1);
             ClearAspectBoxes(ui, {3, 4, 5, 6});
             ui.Choose(Ctl(ctl::cboOrbs, 2), 0);
             ui.Choose(Ctl(ctl::cboOrbs, 1), 3);
             ui.Choose(Ctl(ctl::cboOrbs, 0), 7);
             TypeDate(ui, 0, "2023", "3", "1");
             TypeDate(ui, 1, "2024", "9", "30");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 14);
             ui.Click(ctl::cmdStart);
         }},
        {"TablesSunMercuryNorthAmericanLabel",
         {"tables", "--first", "Sun", "--second", "Mercury", "--natz", "--tz", "EST/CDT", "--start",
          "2024-01-01", "--end", "2024-06-30"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Click(ctl::chkDisplayNATZabbr);
             ui.Choose(Ctl(ctl::cboPlanet, 0), 0);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 0);
             TypeDate(ui, 0, "2024", "1", "1");
             TypeDate(ui, 1, "2024", "6", "30");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 14);
             ui.Click(ctl::cmdStart);
         }},
        {"TablesVenusSaturnWithCrLf",
         {"tables", "--first", "Venus", "--second", "Saturn", "--start", "2022-01-01", "--end",
          "2022-12-31", "--tz", "GMT+5:30", "--crlf"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Choose(Ctl(ctl::cboPlanet, 0), 2);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 4);
             TypeDate(ui, 0, "2022", "1", "1");
             TypeDate(ui, 1, "2022", "12", "31");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 35);
             ui.Click(ctl::cmdStart);
         },
         {},
         0,
         true},
        {"TablesInTheComputersZone",
         {"tables", "--first", "Jupiter", "--second", "Saturn", "--start", "2020-06-01", "--end",
          "2021-06-30"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Choose(Ctl(ctl::cboPlanet, 0), 4);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 4);
             TypeDate(ui, 0, "2020", "6", "1");
             TypeDate(ui, 1, "2021", "6", "30");
             ui.Click(ctl::cmdStart);
         }},
        {"SearchGeocentricJupiterSaturnConjunction",
         {"search", "--first", "Jupiter", "--second", "Saturn", "--aspect", "con", "--orb", "6",
          "--from", "start", "--start", "2015-01-01", "--end", "2015-02-01", "--tz", "GMT"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Choose(Ctl(ctl::cboPlanet, 0), 4);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 4);
             TypeDate(ui, 0, "2015", "1", "1");
             TypeDate(ui, 1, "2015", "2", "1");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 24);
             ui.Choose(ctl::cboSearchAspect, 0);
             ui.Choose(Ctl(ctl::cboOrbs, 3), 3);
             ui.Choose(ctl::cboSearchWhen, 0);
             ui.Click(ctl::cmdSearch);
         }},
        {"SearchHeliocentricMarsJupiterTrineFromEnd",
         {"search", "--helio", "--first", "Mars", "--second", "Jupiter", "--aspect", "tri", "--orb",
          "8", "--from", "end", "--start", "2020-01-01", "--end", "2021-01-01", "--tz", "GMT+2:00"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Click(ctl::optHeliocentric);
             ui.Choose(Ctl(ctl::cboPlanet, 0), 3);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 3);
             TypeDate(ui, 0, "2020", "1", "1");
             TypeDate(ui, 1, "2021", "1", "1");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 28);
             ui.Choose(ctl::cboSearchAspect, 3);
             ui.Choose(Ctl(ctl::cboOrbs, 3), 5);
             ui.Choose(ctl::cboSearchWhen, 1);
             ui.Click(ctl::cmdSearch);
         }},
        {"SearchRefusedGeocentricSunMercurySextile",
         {"search", "--first", "Sun", "--second", "Mercury", "--aspect", "sxt", "--start",
          "2024-01-01", "--end", "2024-02-01", "--tz", "GMT"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Choose(Ctl(ctl::cboPlanet, 0), 0);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 0);
             TypeDate(ui, 0, "2024", "1", "1");
             TypeDate(ui, 1, "2024", "2", "1");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 24);
             ui.Choose(ctl::cboSearchAspect, 4);
             ui.Click(ctl::cmdSearch);
         },
         {"The only possible geocentric aspects between the Sun and Mercury\n"
          "are conjunction and semisextile."},
         1},
        {"ShowAllGeocentricKeepingVenus",
         {"showall", "--first", "Venus", "--keep", "first", "--start", "2024-01-01", "--end",
          "2024-02-29", "--tz", "GMT-3:30"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Choose(Ctl(ctl::cboPlanet, 0), 2);
             TypeDate(ui, 0, "2024", "1", "1");
             TypeDate(ui, 1, "2024", "2", "29");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 17);
             ui.Click(Ctl(ctl::cmdShowAll, 1));
         }},
        {"ShowAllHeliocentricKeepingSaturn",
         {"showall", "--helio", "--second", "Saturn", "--keep", "second", "--start", "2024-01-01",
          "--end", "2024-03-31", "--tz", "GMT+9:30"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Click(ctl::optHeliocentric);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 4);
             TypeDate(ui, 0, "2024", "1", "1");
             TypeDate(ui, 1, "2024", "3", "31");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 43);
             ui.Click(Ctl(ctl::cmdShowAll, 0));
         }},
        {"ShowAllHeliocentricKeepingPluto",
         {"showall", "--helio", "--first", "Pluto", "--keep", "first", "--start", "2024-01-01",
          "--end", "2024-12-31", "--tz", "GMT"},
         [](MemoryUi& ui, MainWindow& window) {
             ui.Click(ctl::optHeliocentric);
             window.SelectPlanet(0, -1);  // no first planet selected: Pluto
             TypeDate(ui, 0, "2024", "1", "1");
             TypeDate(ui, 1, "2024", "12", "31");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 24);
             ui.Click(Ctl(ctl::cmdShowAll, 1));
         }},
        {"SimulateEarthMarsWithDetails",
         {"simulate", "--first", "Earth", "--second", "Mars", "--aspects", "con,opp", "--start",
          "2010-01-01", "--end", "2010-12-31", "--details"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Click(ctl::optHeliocentric);
             ui.Choose(Ctl(ctl::cboPlanet, 0), 0);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 2);
             ClearAspectBoxes(ui, {2, 3, 4, 5, 6});
             TypeDate(ui, 0, "2010", "1", "1");
             TypeDate(ui, 1, "2010", "12", "31");
             ui.Click(ctl::chkIncludeTransitDetails);
             ui.Click(ctl::cmdSimulateInvestment);
         }},
        // Past the box's limit: the window stops (its box is full, "Stop?" is
        // answered Yes); the streamed report goes on to the end.
        {"TablesPastTheBoxLimit",
         {"tables", "--helio", "--first", "Earth", "--second", "Mercury", "--start", "2000-01-01",
          "--end", "2019-12-31", "--tz", "GMT"},
         [](MemoryUi& ui, MainWindow&) {
             ui.ExpectBox("Output textbox is full.");
             ui.ExpectBox("Stop?", MsgResult::Yes);
             ui.Click(ctl::optHeliocentric);
             ui.Choose(Ctl(ctl::cboPlanet, 0), 0);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 0);
             TypeDate(ui, 0, "2000", "1", "1");
             TypeDate(ui, 1, "2019", "12", "31");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 24);
             ui.Click(ctl::cmdStart);
         },
         {},
         1},
        {"SimulatePastTheBoxLimit",
         {"simulate", "--first", "Earth", "--second", "Mercury", "--start", "2007-01-03", "--end",
          "2014-12-31", "--details", "--crlf"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Click(ctl::optHeliocentric);
             ui.Choose(Ctl(ctl::cboPlanet, 0), 0);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 0);
             TypeDate(ui, 0, "2007", "1", "3");
             TypeDate(ui, 1, "2014", "12", "31");
             ui.Click(ctl::chkIncludeTransitDetails);
             ui.Click(ctl::cmdSimulateInvestment);
         },
         {"Output textbox is full.\n\nPlease specify a shorter period or fewer aspect types."},
         1,
         true},
        {"SimulateVenusJupiterInADecimalCommaLocale",
         {"simulate", "--helio", "--first", "Venus", "--second", "Jupiter", "--start", "2008-01-01",
          "--end", "2009-06-30", "--details"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Click(ctl::optHeliocentric);
             ui.Choose(Ctl(ctl::cboPlanet, 0), 2);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 3);
             TypeDate(ui, 0, "2008", "1", "1");
             TypeDate(ui, 1, "2009", "6", "30");
             ui.Click(ctl::chkIncludeTransitDetails);
             ui.Click(ctl::cmdSimulateInvestment);
         },
         {},
         0,
         false,
         "de_DE.UTF-8"},
        {"SimulateRefusedBeforeTheIndexData",
         {"simulate", "--start", "2006-06-01", "--end", "2007-06-30"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Click(ctl::optHeliocentric);
             TypeDate(ui, 0, "2006", "6", "1");
             TypeDate(ui, 1, "2007", "6", "30");
             ui.Click(ctl::cmdSimulateInvestment);
         },
         {"Investment dates must be in the range\n 2007-01-03 through 2014-12-31."},
         1},
        {"TablesRefusedShortPeriod",
         {"tables", "--start", "2024-01-01", "--end", "2024-01-03", "--tz", "GMT"},
         [](MemoryUi& ui, MainWindow&) {
             TypeDate(ui, 0, "2024", "1", "1");
             TypeDate(ui, 1, "2024", "1", "3");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 24);
             ui.Click(ctl::cmdStart);
         },
         {"The start date must be at least 3 days prior to the end date."},
         1},
        {"TablesRefusedPlutoWithItself",
         {"tables", "--first", "Pluto", "--second", "Pluto", "--start", "2024-01-01", "--end",
          "2024-12-31", "--tz", "GMT"},
         [](MemoryUi& ui, MainWindow& window) {
             window.SelectPlanet(0, -1);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 7);
             TypeDate(ui, 0, "2024", "1", "1");
             TypeDate(ui, 1, "2024", "12", "31");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 24);
             ui.Click(ctl::cmdStart);
         },
         {"Transit of a planet to itself is not possible."},
         1},
        {"TablesRefusedTooLateForTheData",
         {"tables", "--first", "Jupiter", "--second", "Pluto", "--start", "2099-06-01", "--end",
          "2201-01-01", "--tz", "GMT"},
         [](MemoryUi& ui, MainWindow&) {
             ui.Choose(Ctl(ctl::cboPlanet, 0), 4);
             ui.Choose(Ctl(ctl::cboPlanet, 1), 7);
             TypeDate(ui, 0, "2099", "6", "1");
             TypeDate(ui, 1, "2201", "1", "1");
             ui.Choose(Ctl(ctl::cboTimezone, 0), 24);
             ui.Click(ctl::cmdStart);
         },
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
        r.drive(ui, window);
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

}  // namespace
}  // namespace vlt::testing
