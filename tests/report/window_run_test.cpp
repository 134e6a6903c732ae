// A service's run as the window shows it: the window builds the request,
// the real service runs it, and what the user sees and does meanwhile goes
// through the window's observer.  The button reads "Pause" while the run is
// under way, a click on it asks "Stop?" under that title, quitting stops the
// run through its stop token, and the window acts on the typed result.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/support/settings_store.h"
#include "app/window/control_names.h"
#include "app/window/main_window.h"
#include "app/window/memory_ui.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"
#include "tests/report/run_program.h"

namespace vlt::testing {
namespace {

namespace fs = std::filesystem;

// No request here values days by the index file.
class NoIndexServices final : public ProgramServices {
public:
    void LoadIndexData(MessageBoxes& /*boxes*/) override {}
};

class WindowRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = FreshTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        SetSettingsFolder((folder_ / "config").string());
        window.SetCommandHandlers(&commands);
        ui.Attach(&window);
        ui.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        window.StartUp();
        window.LoadPlutoTables();
        ui.ClearBoxes();
        // Mars and Jupiter, geocentric, 2024, GMT.
        ui.Choose(Ctl(ctl::cboPlanet, 0), 3);
        ui.Choose(Ctl(ctl::cboPlanet, 1), 3);
        for (int date : {0, 1}) {
            ui.TypeAndLeave(Ctl(ctl::txbYear, date), "2024");
            ui.TypeAndLeave(Ctl(ctl::txbMonth, date), date == 0 ? "1" : "12");
            ui.TypeAndLeave(Ctl(ctl::txbDay, date), date == 0 ? "1" : "31");
        }
        ui.Choose(Ctl(ctl::cboTimezone, 0), kGmtIndex);
    }
    void TearDown() override {
        EXPECT_EQ(ui.PendingBoxes(), 0u) << "an announced message box never showed";
        SetSettingsFolder("");
        fs::remove_all(folder_);
    }
    std::string Output() const { return window.OutputText(); }

    fs::path folder_;
    NoIndexServices services;
    MemoryUi ui;
    MainWindow window{ui, services};
    ProgramCommands commands{window, services.Index()};
};

// What the user does at the run's first step, and what follows.
struct DuringRun {
    const char* name;
    std::vector<Ctl> clicks;       // at the first step
    std::vector<BoxRecord> boxes;  // text, title and answer, in order
    bool stopped;                  // the report ends in "Stopped"
    bool done;                     // the "Done" notice shows
    bool ended;                    // the program ended
};

TEST_F(WindowRunTest, PauseStopAndQuitReachTheRun) {
    const std::vector<DuringRun> cases = {
        {"undisturbed", {}, {}, false, true, false},
        {"pause, go on",
         {ctl::cmdStart},
         {{"Stop?", "Pause", MsgButtons::YesNo, MsgIcon::Question, MsgResult::No}},
         false,
         true,
         false},
        {"pause, stop",
         {ctl::cmdStart},
         {{"Stop?", "Pause", MsgButtons::YesNo, MsgIcon::Question, MsgResult::Yes}},
         true,
         false,
         false},
        {"quit",
         {ctl::cmdQuit},
         {{"Save program state for next run?", "Quit", MsgButtons::YesNoCancel, MsgIcon::Question,
           MsgResult::No}},
         true,
         false,
         true},
    };
    // One window for all; the case that quits comes last.
    for (const DuringRun& c : cases) {
        SCOPED_TRACE(c.name);
        ui.ClearBoxes();
        const std::size_t popUps = ui.PopUps().size();
        for (const BoxRecord& b : c.boxes) ui.ExpectBox(b.text, b.answer);
        std::vector<std::string> seen;
        bool first = true;
        ui.SetYieldHook([&] {
            if (!first) return;
            first = false;
            seen = {ui.Text(ctl::cmdStart), window.Running() ? "running" : "idle"};
            for (const Ctl& click : c.clicks) ui.Click(click);
        });
        ui.Click(ctl::cmdStart);
        ui.SetYieldHook(nullptr);
        EXPECT_EQ(seen, (std::vector<std::string>{"Pause", "running"}));
        ASSERT_EQ(ui.Boxes().size(), c.boxes.size());
        for (std::size_t k = 0; k < c.boxes.size(); ++k) {
            EXPECT_EQ(ui.Boxes()[k].text, c.boxes[k].text);
            EXPECT_EQ(ui.Boxes()[k].title, c.boxes[k].title);
        }
        // Stopped at its first step, before any table was written.
        if (c.stopped) {
            EXPECT_EQ(Output(), "\r\nStopped");
        } else {
            EXPECT_NE(Output().find("Mars and Jupiter"), std::string::npos);
            EXPECT_EQ(Output().find("Stopped"), std::string::npos);
        }
        const bool done = ui.PopUps().size() > popUps && ui.PopUps().back().text == "Done";
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(ui.Ended(), c.ended);
        EXPECT_FALSE(window.Running());
        EXPECT_EQ(ui.Text(ctl::cmdStart), "Mars and Jupiter");
        EXPECT_EQ(ui.Text(ctl::lblStatus), "");
    }
}

// The zone refused: its message under the button's caption, nothing
// written, and the GMT entry chosen for the next click.
TEST_F(WindowRunTest, RefusedZoneChoosesGmt) {
    ui.Choose(Ctl(ctl::cboTimezone, 0), 0);
    ui.ExpectBox("Please specify the timezone for the results, or use the default GMT timezone.");
    ui.Click(ctl::cmdStart);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].title, "Mars and Jupiter");
    EXPECT_EQ(Output(), "");
    EXPECT_EQ(ui.ListIndex(Ctl(ctl::cboTimezone, 0)), kGmtIndex);
}

// A search that finds its transit shows the period it searched, unless the
// dates are kept; one that finds none leaves the dates alone.
TEST_F(WindowRunTest, FoundSearchShowsThePeriodSearched) {
    struct Case {
        bool keepDates;
        int aspect;  // list position
        const char* endYear;
    };
    // Mars and Jupiter meet in August 2024; a trine of Mars and Jupiter
    // within the 3-degree orb follows soon after as well, so every search
    // below finds one.
    for (const Case& c : {Case{true, 0, "2024"}, Case{false, 0, "2099"}, Case{false, 3, "2099"}}) {
        SCOPED_TRACE(std::to_string(c.keepDates) + " " + std::to_string(c.aspect));
        if ((ui.Value(ctl::chkKeepDates) == 1) != c.keepDates) ui.Click(ctl::chkKeepDates);
        ui.TypeAndLeave(Ctl(ctl::txbYear, 1), "2024");
        ui.Choose(ctl::cboSearchAspect, c.aspect);
        ui.Click(ctl::cmdSearch);
        EXPECT_NE(Output().find("Mars and Jupiter"), std::string::npos);
        EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 1)), c.endYear);
        EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 0)), "2024");
    }
}

}  // namespace
}  // namespace vlt::testing
