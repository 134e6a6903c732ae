#pragma once
// A started main window on the in-memory screen, with a private settings
// store and services whose clock, time zone, positions and data files a test
// can set.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/support/settings_store.h"
#include "app/window/main_window.h"
#include "app/window/memory_ui.h"
#include "app/window/program_services.h"

namespace vlt {

// What the tests read of the window's own state.
struct MainWindowProbe {
    struct Inspection {
        bool recentSave;                // saved within the last ten ticks
        int fixedWidth;                 // the width the window keeps
        std::string stopDateText;       // the trimmed text of `txbStopDate`
        std::string startCaptionStore;  // the planet pair on `cmdStart`
    };
    static Inspection Of(const MainWindow& w) {
        return Inspection{w.recentSave_, w.fixedWidth_, w.stopDateText_, w.startCaptionStore_};
    }
};

}  // namespace vlt

namespace vlt::testing {

inline MainWindowProbe::Inspection Inspect(const MainWindow& window) {
    return MainWindowProbe::Of(window);
}

// The real dates and names; a fixed year and zone; start-up steps that would
// read files only counted.
class TestServices : public ProgramServices {
public:
    int year = 2026;
    int32_t timezoneSeconds = 0;
    bool plutoResult = true;
    int initPositionsCalls = 0;
    int indexLoads = 0;
    int plutoLoads = 0;
    std::string folder = "/opt/veltaro/";

    void InitPositions() override { ++initPositionsCalls; }
    void LoadIndexData(MessageBoxes&) override { ++indexLoads; }
    bool ReadPlutoData(MessageBoxes&) override {
        ++plutoLoads;
        return plutoResult;
    }
    std::string PlutoTableProblem(bool) override {
        return plutoResult
                   ? std::string()
                   : std::string("Cannot read the data file pluto.slx: No such file or directory.");
    }
    int CurrentYear() override { return year; }
    int32_t TimezoneSeconds() override { return timezoneSeconds; }
    std::string ProgramFolder() override { return folder; }
};

// Records which command the window asked for.
class RecordingHandlers : public CommandHandlers {
public:
    std::vector<std::string> calls;
    void Start(CommandWindow&) override { calls.push_back("Start"); }
    void Search(CommandWindow&) override { calls.push_back("Search"); }
    void ShowAll(CommandWindow&, int item) override {
        calls.push_back("ShowAll" + std::to_string(item));
    }
    void SimulateInvestment(CommandWindow&) override { calls.push_back("Simulate"); }
};

inline std::filesystem::path FreshFolder(const std::string& tag) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path p = std::filesystem::temp_directory_path() /
                              ("vlt-window-" + tag + "-" + info->test_suite_name() + "-" +
                               info->name() + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(p);
    std::filesystem::create_directories(p);
    return p;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = FreshFolder("store");
        SetSettingsFolder((folder_ / "config").string());
        ui.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        ui.Attach(&window);
        window.SetCommandHandlers(&handlers);
    }
    void TearDown() override {
        EXPECT_EQ(ui.PendingBoxes(), 0u) << "announced message boxes never shown";
        SetSettingsFolder("");
        std::filesystem::remove_all(folder_);
    }
    // The whole start-up, as the program runs it.
    void Start() {
        window.StartUp();
        window.LoadPlutoTables();
    }
    std::string Item(const Ctl& list, int i) { return ui.ListItemText(list, i); }
    std::string Selected(const Ctl& list) { return ui.ListItemText(list, ui.ListIndex(list)); }

    std::filesystem::path folder_;
    TestServices services;
    MemoryUi ui;
    MainWindow window{ui, services};
    RecordingHandlers handlers;
};

}  // namespace vlt::testing
