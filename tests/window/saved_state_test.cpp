// Saving and restoring the user's choices through the settings store.
#include <fstream>

#include "app/window/control_names.h"
#include "tests/window/window_fixture.h"

namespace vlt::testing {
namespace {

class SavedStateTest : public WindowTest {
protected:
    std::string Stored(const std::string& key, const std::string& name) {
        std::string v;
        const SettingsResult status =
            RegReadString(RegRoot::CurrentUser, std::string(kMakerKey) + key, name, v);
        return status.Succeeded() ? v : "<" + status.text + ">";
    }
};

TEST_F(SavedStateTest, FirstRunRestoresNothing) {
    services.timezoneSeconds = -19800;
    Start();
    EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 0)), "2026");
    EXPECT_EQ(ui.Text(Ctl(ctl::txbMonth, 0)), "1");
    EXPECT_EQ(ui.Text(Ctl(ctl::txbDay, 1)), "31");
    EXPECT_EQ(ui.ListIndex(Ctl(ctl::cboTimezone, 0)), 35);
    EXPECT_FALSE(Inspect(window).recentSave);
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath()));
}

TEST_F(SavedStateTest, SaveWritesEveryValue) {
    Start();
    ui.TypeAndLeave(Ctl(ctl::txbYear, 0), "1999");
    ui.TypeAndLeave(Ctl(ctl::txbMonth, 1), "6");
    ui.Choose(Ctl(ctl::cboPlanet, 0), 2);
    ui.Choose(Ctl(ctl::cboTimezone, 0), 30);
    ui.Click(Ctl(ctl::chkAspectType, 1));
    ui.Click(ctl::cmdSaveState);
    struct Case {
        const char* key;
        const char* name;
        const char* value;
    } cases[] = {
        {"\\VLT\\Year", "0", "1999"},    {"\\VLT\\Year", "1", "2026"},
        {"\\VLT\\Month", "0", "1"},      {"\\VLT\\Month", "1", "6"},
        {"\\VLT\\Day", "0", "1"},        {"\\VLT\\Day", "1", "31"},
        {"\\VLT\\PlanetLI", "0", "2"},   {"\\VLT\\PlanetLI", "1", "3"},
        {"\\VLT\\OrbsLI", "0", "9"},     {"\\VLT\\OrbsLI", "1", "4"},
        {"\\VLT\\OrbsLI", "2", "1"},     {"\\VLT\\OrbsLI", "3", "3"},
        {"\\VLT", "Geocentric", "Y"},    {"\\VLT", "TZ0", "30"},
        {"\\VLT", "NATZ", "0"},          {"\\VLT", "Stop", " "},
        {"\\VLT", "SrchAsp", "0"},       {"\\VLT", "SrchWhn", "0"},
        {"\\VLT", "StateSaved", "Y"},    {"\\VLT\\ShowAspect", "0", "1"},
        {"\\VLT\\ShowAspect", "1", "0"}, {"\\VLT\\ShowAspect", "6", "1"},
        {"\\VLT", "InnerOuter0", "2"},   {"\\VLT", "InnerOuter1", "3"},
        {"\\VLT", "ITD", "0"},           {"\\VLT", "ShowAllMoon", "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Stored(c.key, c.name), c.value) << c.key << " " << c.name;
    }
    EXPECT_TRUE(Inspect(window).recentSave);
}

TEST_F(SavedStateTest, RoundTripOfEveryValue) {
    Start();
    // Change everything away from the defaults.
    ui.TypeAndLeave(Ctl(ctl::txbYear, 0), "1984");
    ui.TypeAndLeave(Ctl(ctl::txbMonth, 0), "7");
    ui.TypeAndLeave(Ctl(ctl::txbDay, 0), "14");
    ui.TypeAndLeave(Ctl(ctl::txbYear, 1), "1990");
    ui.TypeAndLeave(Ctl(ctl::txbMonth, 1), "2");
    ui.TypeAndLeave(Ctl(ctl::txbDay, 1), "28");
    ui.Click(ctl::optHeliocentric);
    ui.Choose(Ctl(ctl::cboPlanet, 0), 0);
    ui.Choose(Ctl(ctl::cboPlanet, 1), 6);
    ui.Choose(Ctl(ctl::cboOrbs, 0), 11);
    ui.Choose(Ctl(ctl::cboOrbs, 1), 7);
    ui.Choose(Ctl(ctl::cboOrbs, 2), 2);
    ui.Choose(Ctl(ctl::cboOrbs, 3), 10);
    ui.Click(ctl::chkDisplayNATZabbr);
    ui.Choose(Ctl(ctl::cboTimezone, 0), 12);
    ui.TypeAndLeave(ctl::txbStopDate, "soon");
    ui.Choose(ctl::cboSearchAspect, 6);
    ui.Choose(ctl::cboSearchWhen, 1);
    ui.Click(Ctl(ctl::chkAspectType, 0));
    ui.Click(Ctl(ctl::chkAspectType, 5));
    ui.Click(ctl::chkIncludeTransitDetails);
    ui.Click(ctl::chkShowAllWithMoon);
    const WindowInputs saved = window.Snapshot();
    ui.Click(ctl::cmdSaveState);

    // A new run: its start-up restores what was saved.
    TestServices s2;
    MemoryUi u2;
    u2.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
    MainWindow w2(u2, s2);
    u2.Attach(&w2);
    w2.StartUp();
    w2.LoadPlutoTables();
    const WindowInputs back = w2.Snapshot();
    EXPECT_EQ(u2.Text(Ctl(ctl::txbYear, 0)), "1984");
    EXPECT_EQ(u2.Text(Ctl(ctl::txbMonth, 0)), "7");
    EXPECT_EQ(u2.Text(Ctl(ctl::txbDay, 0)), "14");
    EXPECT_EQ(u2.Text(Ctl(ctl::lblDate, 1)), "February 28, 1990 CE");
    EXPECT_EQ(back.heliocentric, true);
    EXPECT_EQ(u2.ListItemText(Ctl(ctl::cboPlanet, 0), 0), "Earth");
    EXPECT_EQ(back.firstPlanetIndex, saved.firstPlanetIndex);
    EXPECT_EQ(back.secondPlanetIndex, saved.secondPlanetIndex);
    EXPECT_EQ(back.orbIndex, saved.orbIndex);
    EXPECT_EQ(back.timezoneIndex, 12);
    EXPECT_EQ(back.timezoneText, saved.timezoneText);
    EXPECT_EQ(u2.Value(ctl::chkDisplayNATZabbr), ui.Value(ctl::chkDisplayNATZabbr));
    EXPECT_EQ(back.searchAspectIndex, 6);
    EXPECT_EQ(back.searchWhenIndex, 1);
    EXPECT_EQ(back.aspectEnabled, saved.aspectEnabled);
    EXPECT_EQ(back.includeTransitDetails, saved.includeTransitDetails);
    EXPECT_TRUE(back.showAllWithMoon);
    EXPECT_EQ(Inspect(w2).stopDateText, "soon");
    EXPECT_EQ(u2.Text(ctl::txbStopDate), "");  // the box itself is not refilled
    EXPECT_EQ(u2.Text(ctl::cmdStart), "Earth and Neptune");
    EXPECT_TRUE(u2.Enabled(ctl::cmdSimulateInvestment));
    EXPECT_TRUE(u2.Boxes().empty());
}

TEST_F(SavedStateTest, MissingValuesTakeTheirDefaults) {
    ASSERT_TRUE(SaveStringSetting("\\VLT", "StateSaved", "Y", false));
    Start();
    const WindowInputs in = window.Snapshot();
    EXPECT_EQ(in.firstPlanetIndex, 0);   // InnerOuter0 empty reads as 0
    EXPECT_EQ(in.secondPlanetIndex, 0);  // InnerOuter1 empty reads as 0
    EXPECT_EQ(in.orbIndex, (std::array<int, 4>{9, 4, 1, 4}));
    EXPECT_EQ(in.timezoneIndex, 24);
    EXPECT_EQ(ui.Value(ctl::chkDisplayNATZabbr), 1);
    EXPECT_FALSE(in.heliocentric);
    EXPECT_TRUE(in.includeTransitDetails);
    EXPECT_FALSE(in.showAllWithMoon);                      // a file from before the Moon
    EXPECT_EQ(in.aspectEnabled, (std::array<bool, 7>{}));  // ShowAspect empty reads as 0
    EXPECT_EQ(in.searchAspectIndex, 0);
    // Year, month and day empty: the boxes stay empty and show no date.
    EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 0)), "");
    EXPECT_EQ(ui.Text(Ctl(ctl::lblDate, 0)), "");
    // Restoring broke the aspect rule; the start-up says nothing.
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(SavedStateTest, StoredTextsAreReadAsNumbers) {
    struct Case {
        const char* geocentric;
        bool helio;
        const char* tz;
        int tzIndex;
    } cases[] = {
        {"Y", false, "14", 14},    {"N", true, "60", 24},
        {"y", true, " 3 0", 30},   {" ", true, "-1", 24},
        {"Yes", true, "12.5", 12}, {"Y", false, "12.6", 13},
        {"Y", false, "abc", 0},    {"Y", false, "99999999999999999999", 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.geocentric) + " / " + c.tz);
        ASSERT_TRUE(SaveStringSetting("\\VLT", "StateSaved", "Y", false));
        ASSERT_TRUE(SaveStringSetting("\\VLT", "Geocentric", c.geocentric, false));
        ASSERT_TRUE(SaveStringSetting("\\VLT", "TZ0", c.tz, false));
        if (!window.Loaded()) Start();
        ui.SetListIndex(Ctl(ctl::cboTimezone, 0), 24);
        ui.Click(ctl::cmdRestoreState);
        EXPECT_EQ(window.Snapshot().heliocentric, c.helio);
        EXPECT_EQ(ui.ListIndex(Ctl(ctl::cboTimezone, 0)), c.tzIndex);
    }
}

TEST_F(SavedStateTest, OutOfRangeIndexesKeepTheCurrentSelection) {
    Start();
    ui.Choose(Ctl(ctl::cboPlanet, 0), 5);
    ui.Click(ctl::cmdSaveState);
    for (const char* name : {"0", "1", "2", "3"}) {
        ASSERT_TRUE(SaveStringSetting("\\VLT\\OrbsLI", name, "40", false));
    }
    // 8 is the Moon since it joined the list; 9 is past its end.
    ASSERT_TRUE(SaveStringSetting("\\VLT\\PlanetLI", "0", "9", false));
    ASSERT_TRUE(SaveStringSetting("\\VLT", "InnerOuter0", "-3", false));
    ASSERT_TRUE(SaveStringSetting("\\VLT", "SrchWhn", "2", false));
    ui.Choose(Ctl(ctl::cboPlanet, 0), 1);
    ui.Click(ctl::cmdRestoreState);
    EXPECT_EQ(ui.ListIndex(Ctl(ctl::cboPlanet, 0)), 1);
    EXPECT_EQ(window.Snapshot().orbIndex, (std::array<int, 4>{9, 4, 1, 3}));
    EXPECT_EQ(ui.ListIndex(ctl::cboSearchWhen), 0);
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(SavedStateTest, RestoreButtonSaysNothingAboutHalfRestoredChoices) {
    Start();
    // Saved: only the quincunx, orbs 3/2/1.
    ui.Choose(Ctl(ctl::cboOrbs, 2), 0);
    ui.Choose(Ctl(ctl::cboOrbs, 1), 1);
    ui.Choose(Ctl(ctl::cboOrbs, 0), 2);
    for (int b = 0; b < 6; ++b) ui.Click(Ctl(ctl::chkAspectType, b));
    ui.Click(ctl::cmdSaveState);
    // Now: only the conjunction, orbs 15/14/13.
    ui.Click(Ctl(ctl::chkAspectType, 0));
    ui.Click(Ctl(ctl::chkAspectType, 6));
    ui.Choose(Ctl(ctl::cboOrbs, 0), 14);
    ui.Choose(Ctl(ctl::cboOrbs, 1), 13);
    ui.Choose(Ctl(ctl::cboOrbs, 2), 12);
    ui.ClearBoxes();
    ui.Click(ctl::cmdRestoreState);
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(window.Snapshot().orbIndex[0], 2);
    EXPECT_EQ(window.Snapshot().aspectEnabled, (std::array<bool, 7>{0, 0, 0, 0, 0, 0, 1}));
    EXPECT_TRUE(Inspect(window).recentSave);
}

// A save that cannot reach the file (here the settings folder would lie
// below a regular file; a read-only folder would not stop root) is shown in
// a box with the reason, does not count as a save, and Quit still asks.
TEST_F(SavedStateTest, FailedSaveIsReportedAndQuitStillAsks) {
    Start();
    std::ofstream(folder_ / "plain") << "a file, not a folder";
    SetSettingsFolder((folder_ / "plain" / "Quillon").string());
    ui.ExpectBox("The program state could not be saved to " + SettingsFilePath() +
                 ":\nNot a directory.");
    ui.Click(ctl::cmdSaveState);
    ASSERT_FALSE(ui.Boxes().empty());
    EXPECT_EQ(ui.Boxes().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.Boxes().back().title, "Save state");
    EXPECT_FALSE(Inspect(window).recentSave);
    // Quit asks; Yes tries the save again, reports it, and the program stays.
    ui.ExpectBox("Save program state for next run?", MsgResult::Yes);
    ui.ExpectBox("The program state could not be saved to " + SettingsFilePath() +
                 ":\nNot a directory.");
    ui.Click(ctl::cmdQuit);
    EXPECT_FALSE(ui.Ended());
    // No leaves without saving.
    ui.ExpectBox("Save program state for next run?", MsgResult::No);
    ui.Click(ctl::cmdQuit);
    EXPECT_TRUE(ui.Ended());
}

// The settings folder is a folder where the file should be: the same.
TEST_F(SavedStateTest, SettingsFileThatIsAFolderIsNotSavedOver) {
    std::filesystem::create_directories(folder_ / "config" / "settings.ini");
    ui.ExpectBox("The settings file " + SettingsFilePath() +
                 " cannot be read (Is a directory). The saved program state is not restored, "
                 "and the file is left as it is.");
    Start();
    ui.ExpectBox("The program state could not be saved to " + SettingsFilePath() +
                 ":\nIs a directory.");
    ui.Click(ctl::cmdSaveState);
    EXPECT_FALSE(Inspect(window).recentSave);
    EXPECT_TRUE(std::filesystem::is_directory(SettingsFilePath()));
}

TEST_F(SavedStateTest, CorruptStoreReadsAsNothingSaved) {
    std::filesystem::create_directories(SettingsFolder());
    {
        std::ofstream f(SettingsFilePath(), std::ios::binary);
        f << "\x01\x02garbage\n[Software\\Quillon\\VLT\nStateSaved\n=Y\n\\x\n[]\n";
        f.write("\0\xff\xfe", 3);
    }
    Start();
    EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 0)), "2026");
    EXPECT_FALSE(Inspect(window).recentSave);
}

}  // namespace
}  // namespace vlt::testing
