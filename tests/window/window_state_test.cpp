// Start-up, busy state, the timer, resizing, Help and Quit.
#include "app/window/control_names.h"
#include "app/window/controls.h"
#include "tests/window/window_fixture.h"

namespace vlt::testing {
namespace {

class WindowStateTest : public WindowTest {};

// Controls a user can still use while a command runs.
std::vector<Ctl> EnabledInputs(MemoryUi& ui) {
    std::vector<Ctl> on;
    for (const ControlInfo& s : MainWindowControls()) {
        if (s.kind != CtlKind::Frame && ui.Enabled(s.ctl)) on.push_back(s.ctl);
    }
    return on;
}

TEST_F(WindowStateTest, StartUpEndsIdleWithEverythingInPlace) {
    window.StartUp();
    EXPECT_TRUE(window.Loaded());
    EXPECT_EQ(services.initPositionsCalls, 1);
    EXPECT_EQ(services.indexLoads, 1);
    EXPECT_EQ(services.plutoLoads, 0);
    EXPECT_EQ(ui.Text(ctl::frmMain).rfind("Veltaro ", 0), 0u);
    // Dates of the current year, no saved state.
    EXPECT_EQ(ui.Text(Ctl(ctl::lblDate, 0)), "January 1, 2026 CE");
    EXPECT_EQ(ui.Text(Ctl(ctl::lblDate, 1)), "December 31, 2026 CE");
    EXPECT_EQ(ui.Text(ctl::cmdStart), "Mars and Jupiter");
    // Each show-all button names the planet its series keeps.
    EXPECT_EQ(ui.Text(Ctl(ctl::cmdShowAll, 0)), "Jupiter and the other planets.");
    EXPECT_EQ(ui.Text(Ctl(ctl::cmdShowAll, 1)), "Mars and the other planets.");
    // Geometry: output 130 below Frame3, reaching cmdQuit's right edge, the
    // window 380 wider than the box's right edge, at its minimum height.
    const Rect out = ui.Geometry(ctl::txbOutput);
    EXPECT_EQ(out.top, ui.Geometry(ctl::Frame3).Bottom() + 130);
    EXPECT_EQ(out.Right(), ui.Geometry(ctl::cmdQuit).Right());
    const Rect w = ui.Geometry(ctl::frmMain);
    EXPECT_EQ(w.width, out.Right() + 380);
    EXPECT_EQ(Inspect(window).fixedWidth, w.width);
    EXPECT_EQ(w.height, 5800);
    EXPECT_EQ(out.height, 5800 - out.top - 1250);
    // The output area starts empty and hidden.
    EXPECT_EQ(window.OutputText(), "");
    EXPECT_FALSE(ui.Visible(ctl::chkAppendToOutput));
    EXPECT_FALSE(ui.Visible(Ctl(ctl::cmdFile, 0)));
    EXPECT_FALSE(ui.Visible(ctl::chkOpenOutputFile));
    // Colours and fonts.
    const Rgb yellow{252, 253, 120};
    EXPECT_EQ(ui.Get(ctl::frmMain).back, yellow);
    for (const ControlInfo& s : MainWindowControls()) {
        const bool coloured = s.kind == CtlKind::Frame || s.kind == CtlKind::Label ||
                              s.kind == CtlKind::CheckBox || s.kind == CtlKind::Option;
        EXPECT_EQ(ui.Get(s.ctl).backSet, coloured) << s.ctl.ToString();
        if (coloured) {
            EXPECT_EQ(ui.Get(s.ctl).back, yellow) << s.ctl.ToString();
        }
        const bool output = s.kind == CtlKind::OutputBox;
        EXPECT_EQ(ui.Get(s.ctl).font, output ? "Courier New" : "Arial") << s.ctl.ToString();
        EXPECT_EQ(ui.Get(s.ctl).points, output ? 8 : 10) << s.ctl.ToString();
    }
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(WindowStateTest, PlutoNoticeComesLastWithControlsRestored) {
    window.StartUp();
    ui.SetYieldHook(nullptr);
    window.LoadPlutoTables();
    ASSERT_EQ(ui.PopUps().size(), 1u);
    const PopUpRecord& p = ui.PopUps()[0];
    EXPECT_EQ(p.text, "Loading Pluto data ...");
    EXPECT_EQ(p.milliseconds, 2000);
    EXPECT_EQ(p.where.width, 2880);
    EXPECT_EQ(p.where.height, 300);
    EXPECT_EQ(p.where.left, ui.Geometry(ctl::cmdStart).left + 100);
    EXPECT_EQ(p.where.top, ui.Geometry(ctl::chkAppendToOutput).top + 500);
    EXPECT_EQ(services.plutoLoads, 1);
    EXPECT_TRUE(window.PlutoLoaded());
    EXPECT_TRUE(ui.Enabled(ctl::cmdStart));
    EXPECT_TRUE(ui.Enabled(Ctl(ctl::cboPlanet, 1)));
    EXPECT_TRUE(ui.Enabled(ctl::lblConstructTransitTables));
    // Geocentric at the first start: the simulation stays unavailable.
    EXPECT_FALSE(ui.Enabled(ctl::cmdSimulateInvestment));
}

TEST_F(WindowStateTest, MissingPlutoTablesAreRemembered) {
    services.plutoResult = false;
    Start();
    EXPECT_FALSE(window.PlutoLoaded());
    EXPECT_FALSE(window.Snapshot().plutoLoaded);
}

TEST_F(WindowStateTest, BusyStateLeavesOnlyPauseQuitAndOutput) {
    Start();
    for (bool simulation : {false, true}) {
        SCOPED_TRACE(simulation);
        if (simulation) ui.Click(ctl::optHeliocentric);
        window.EnterBusyState(simulation ? RunKind::Simulation : RunKind::Transit);
        const Ctl busyButton = simulation ? Ctl(ctl::cmdSimulateInvestment) : Ctl(ctl::cmdStart);
        EXPECT_EQ(ui.Text(busyButton), "Pause");
        const std::vector<Ctl> expected = {busyButton, Ctl(ctl::txbOutput), Ctl(ctl::cmdQuit)};
        std::vector<Ctl> on = EnabledInputs(ui);
        std::sort(on.begin(), on.end());
        std::vector<Ctl> want = expected;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(on, want);
        EXPECT_TRUE(ui.Enabled(ctl::Frame1));  // frames keep their state
        EXPECT_TRUE(window.Running());
        window.LeaveBusyState();
        EXPECT_FALSE(window.Running());
        EXPECT_EQ(ui.Text(ctl::cmdStart), "Mars and Jupiter");
        EXPECT_EQ(ui.Text(ctl::cmdSimulateInvestment), "Simulate investment");
        EXPECT_TRUE(ui.Enabled(Ctl(ctl::txbYear, 0)));
        EXPECT_TRUE(ui.Enabled(ctl::lblYear));
        EXPECT_TRUE(ui.Enabled(ctl::chkAppendToOutput));
        EXPECT_EQ(ui.Enabled(ctl::cmdSimulateInvestment), simulation);
    }
}

TEST_F(WindowStateTest, ButtonsReachTheirCommands) {
    Start();
    ui.Click(ctl::optHeliocentric);
    ui.Click(ctl::cmdStart);
    ui.Click(ctl::cmdSearch);
    ui.Click(Ctl(ctl::cmdShowAll, 0));
    ui.Click(Ctl(ctl::cmdShowAll, 1));
    ui.Click(ctl::cmdSimulateInvestment);
    EXPECT_EQ(handlers.calls,
              (std::vector<std::string>{"Start", "Search", "ShowAll0", "ShowAll1", "Simulate"}));
}

TEST_F(WindowStateTest, PauseButtonOnlyRequestsAPause) {
    Start();
    window.EnterBusyState(RunKind::Transit);
    EXPECT_FALSE(window.Control().PauseRequested());
    ui.Click(ctl::cmdStart);
    EXPECT_TRUE(window.Control().PauseRequested());
    EXPECT_TRUE(handlers.calls.empty());
    window.Control().ClearPause();
    window.LeaveBusyState();
    ui.Click(ctl::optHeliocentric);
    window.EnterBusyState(RunKind::Simulation);
    ui.Click(ctl::cmdSimulateInvestment);
    EXPECT_TRUE(window.Control().PauseRequested());
    EXPECT_TRUE(handlers.calls.empty());
}

TEST_F(WindowStateTest, TimerShowsFileControlsAndEndsTheRecentSave) {
    Start();
    ui.Tick();
    EXPECT_FALSE(ui.Visible(Ctl(ctl::cmdFile, 0)));
    EXPECT_FALSE(ui.Visible(ctl::chkAppendToOutput));
    window.Output().Append("line\r\n");
    EXPECT_EQ(ui.Text(ctl::txbOutput), "line\r\n");
    ui.Tick();
    EXPECT_TRUE(ui.Visible(Ctl(ctl::cmdFile, 0)));
    EXPECT_TRUE(ui.Visible(ctl::chkOpenOutputFile));
    EXPECT_TRUE(ui.Visible(ctl::chkAppendToOutput));
    window.EnterBusyState(RunKind::Transit);
    ui.Tick();
    EXPECT_FALSE(ui.Visible(Ctl(ctl::cmdFile, 0)));
    EXPECT_FALSE(ui.Visible(ctl::chkOpenOutputFile));
    EXPECT_TRUE(ui.Visible(ctl::chkAppendToOutput));
    window.LeaveBusyState();
    window.Output().Clear();
    ui.Tick();
    EXPECT_FALSE(ui.Visible(ctl::chkAppendToOutput));

    ui.Click(ctl::cmdSaveState);
    EXPECT_TRUE(Inspect(window).recentSave);
    ui.Tick(10);
    EXPECT_TRUE(Inspect(window).recentSave);
    ui.Tick();
    EXPECT_FALSE(Inspect(window).recentSave);
}

TEST_F(WindowStateTest, ResizingKeepsTheWidthAndTheMinimumHeight) {
    Start();
    const int width = Inspect(window).fixedWidth;
    struct Case {
        int width;
        int height;
        int expectedHeight;
    } cases[] = {
        {width + 3000, 9000, 9000},
        {width - 2000, 3000, 5800},
        {width, 5799, 5800},
        {width, 40000, 15390},  // 95 % of the 16200-twip screen
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        ui.ResizeWindow(c.width, c.height);
        const Rect w = ui.Geometry(ctl::frmMain);
        EXPECT_EQ(w.width, width);
        EXPECT_EQ(w.height, c.expectedHeight);
        const Rect out = ui.Geometry(ctl::txbOutput);
        EXPECT_EQ(out.height, c.expectedHeight - out.top - 1250);
        const int top = out.Bottom() + 150;
        for (const Ctl& b : {Ctl(ctl::cmdQuit), Ctl(ctl::cmdFile, 0), Ctl(ctl::cmdHelp),
                             Ctl(ctl::cmdRestoreState), Ctl(ctl::cmdSaveState)}) {
            EXPECT_EQ(ui.Geometry(b).top, top) << b.ToString();
        }
        EXPECT_EQ(ui.Geometry(ctl::chkOpenOutputFile).top, top + 50);
    }
    // Maximised: the width is the screen's, only the layout follows.
    ui.SetState(WindowState::Maximised);
    ui.ResizeWindow(28800, 16000);
    EXPECT_EQ(ui.Geometry(ctl::frmMain).width, 28800);
    EXPECT_EQ(ui.Geometry(ctl::txbOutput).height, 16000 - ui.Geometry(ctl::txbOutput).top - 1250);
    // Minimised: nothing moves.
    ui.SetState(WindowState::Minimised);
    const Rect before = ui.Geometry(ctl::txbOutput);
    ui.ResizeWindow(100, 100);
    EXPECT_EQ(ui.Geometry(ctl::txbOutput), before);
}

TEST_F(WindowStateTest, RunGeometryOnlyInTheNormalState) {
    Start();
    window.ApplyRunGeometry();
    EXPECT_EQ(ui.Geometry(ctl::frmMain).top, 300);
    EXPECT_EQ(ui.Geometry(ctl::frmMain).height, 9000);
    window.ShrinkToMinimumHeight();
    EXPECT_EQ(ui.Geometry(ctl::frmMain).height, 5800);
    ui.SetState(WindowState::Maximised);
    Rect w = ui.Geometry(ctl::frmMain);
    w.top = 0;
    w.height = 16000;
    ui.SetGeometry(ctl::frmMain, w);
    window.ApplyRunGeometry();
    EXPECT_EQ(ui.Geometry(ctl::frmMain).height, 16000);
}

TEST_F(WindowStateTest, LayoutHasNoOverlapsAtTheDefaultSize) {
    Start();
    ui.ResizeWindow(Inspect(window).fixedWidth, 9000);
    std::vector<std::pair<Ctl, Rect>> placed;
    const Rect w = ui.Geometry(ctl::frmMain);
    for (const ControlInfo& s : MainWindowControls()) {
        const Rect r = ui.Geometry(s.ctl);
        EXPECT_GE(r.left, 0) << s.ctl.ToString();
        EXPECT_LE(r.Right(), w.width) << s.ctl.ToString();
        EXPECT_LE(r.Bottom(), w.height) << s.ctl.ToString();
        if (s.kind != CtlKind::Frame) placed.emplace_back(s.ctl, r);
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            const Rect& a = placed[i].second;
            const Rect& b = placed[j].second;
            const bool overlap = a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() &&
                                 b.top < a.Bottom();
            EXPECT_FALSE(overlap) << placed[i].first.ToString() << " and "
                                  << placed[j].first.ToString();
        }
    }
}

TEST_F(WindowStateTest, HelpOpensTheViewerOverTheWindow) {
    Start();
    Rect w = ui.Geometry(ctl::frmMain);
    w.left = 1500;
    w.top = 900;
    ui.SetGeometry(ctl::frmMain, w);
    ui.Click(ctl::cmdHelp);
    ASSERT_EQ(ui.Viewers().size(), 1u);
    const ViewerRecord& v = ui.Viewers()[0];
    EXPECT_EQ(v.caption, "Help");
    EXPECT_EQ(v.path, "/opt/veltaro/VLT_help.txt");
    EXPECT_TRUE(v.hideCopy);
    EXPECT_EQ(v.place, (Rect{1600, 1280, w.width - 200, w.height - 480}));
}

TEST_F(WindowStateTest, QuitAsksUnlessStateWasJustSaved) {
    struct Case {
        const char* how;
        MsgResult answer;
        bool ends;
        bool saves;
    } cases[] = {
        {"quit", MsgResult::Cancel, false, false}, {"close", MsgResult::Cancel, false, false},
        {"quit", MsgResult::No, true, false},      {"close", MsgResult::No, true, false},
        {"quit", MsgResult::Yes, true, true},      {"close", MsgResult::Yes, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.how) + " " + std::to_string(static_cast<int>(c.answer)));
        std::filesystem::remove_all(folder_ / "config");
        TestServices s;
        MemoryUi u;
        u.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        MainWindow w(u, s);
        u.Attach(&w);
        w.StartUp();
        w.LoadPlutoTables();
        u.Tick(11);
        ui.ClearBoxes();
        u.ExpectBox("Save program state for next run?", c.answer);
        bool closed = false;
        if (std::string(c.how) == "quit") {
            u.Click(ctl::cmdQuit);
        } else {
            closed = u.CloseBox();
            EXPECT_EQ(closed, c.ends);
        }
        ASSERT_EQ(u.Boxes().size(), 1u);
        EXPECT_EQ(u.Boxes()[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(u.Boxes()[0].icon, MsgIcon::Question);
        EXPECT_EQ(u.Boxes()[0].title, "Quit");
        EXPECT_EQ(u.Ended(), c.ends);
        std::string saved;
        EXPECT_EQ(GetStringSetting("\\VLT", "StateSaved", saved, false, ""), c.saves);
        if (!c.ends) {
            // Cancel keeps the window and its state.
            EXPECT_TRUE(u.Enabled(ctl::cmdStart));
            EXPECT_EQ(u.Text(ctl::cmdStart), "Mars and Jupiter");
        }
    }
}

TEST_F(WindowStateTest, QuitRightAfterSaveOrRestoreAsksNothing) {
    Start();
    ui.Click(ctl::cmdSaveState);
    ui.Tick(9);
    ui.Click(ctl::cmdQuit);
    EXPECT_TRUE(ui.Ended());
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(WindowStateTest, ProgressIsShownWhileBusyOnly) {
    Start();
    window.EnterBusyState(RunKind::Transit);
    window.ReportProgress(0.421);
    EXPECT_EQ(ui.Text(ctl::lblStatus), "Working: 42 %");
    window.LeaveBusyState();
    EXPECT_EQ(ui.Text(ctl::lblStatus), "");
}

TEST_F(WindowStateTest, DoneNoticeSitsOnTheStatusLabel) {
    Start();
    window.PopUpNotice("Done");
    ASSERT_EQ(ui.PopUps().size(), 2u);
    const PopUpRecord& p = ui.PopUps()[1];
    EXPECT_EQ(p.text, "Done");
    EXPECT_EQ(p.where, (Rect{ui.Geometry(ctl::lblStatus).left + 800,
                             ui.Geometry(ctl::lblStatus).top, 1200, 300}));
}

}  // namespace
}  // namespace vlt::testing
