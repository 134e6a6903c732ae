// Planet, aspect-type, orb and time-zone selection through the window.
#include <cstdlib>

#include "app/window/control_names.h"
#include "app/window/timezones.h"
#include "app/window/window_requests.h"
#include "tests/window/window_fixture.h"

namespace vlt::testing {
namespace {

class SelectionTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Start();
    }
    int CheckedAspects() {
        int n = 0;
        for (int b = 0; b < 7; ++b) n += ui.Value(Ctl(ctl::chkAspectType, b));
        return n;
    }
};

TEST_F(SelectionTest, ListsHoldWhatTheUserChoosesFrom) {
    const Ctl first(ctl::cboPlanet, 0);
    const Ctl second(ctl::cboPlanet, 1);
    ASSERT_EQ(ui.ListCount(first), 9);
    ASSERT_EQ(ui.ListCount(second), 9);
    EXPECT_EQ(Item(first, 0), "Sun");
    EXPECT_EQ(Item(first, 7), "Neptune");
    EXPECT_EQ(Item(second, 0), "Mercury");
    EXPECT_EQ(Item(second, 7), "Pluto");
    // The Moon last in both, after the positions saved states hold.
    EXPECT_EQ(Item(first, 8), "Moon");
    EXPECT_EQ(Item(second, 8), "Moon");
    EXPECT_EQ(ui.Value(ctl::chkShowAllWithMoon), 0);
    // First start: Mars and Jupiter.
    EXPECT_EQ(Selected(first), "Mars");
    EXPECT_EQ(Selected(second), "Jupiter");
    for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(ui.ListCount(Ctl(ctl::cboOrbs, k)), 15);
        EXPECT_EQ(Item(Ctl(ctl::cboOrbs, k), 0), "1\xC2\xB0");
        EXPECT_EQ(Item(Ctl(ctl::cboOrbs, k), 14), "15\xC2\xB0");
    }
    EXPECT_EQ(Selected(Ctl(ctl::cboOrbs, 0)), "10\xC2\xB0");
    EXPECT_EQ(Selected(Ctl(ctl::cboOrbs, 1)), "5\xC2\xB0");
    EXPECT_EQ(Selected(Ctl(ctl::cboOrbs, 2)), "2\xC2\xB0");
    ASSERT_EQ(ui.ListCount(Ctl(ctl::cboOrbs, 3)), 13);
    EXPECT_EQ(Item(Ctl(ctl::cboOrbs, 3), 0), "3\xC2\xB0");
    EXPECT_EQ(Selected(Ctl(ctl::cboOrbs, 3)), "6\xC2\xB0");
    const std::vector<std::string> aspects = {"conjunction", "opposition",  "square",  "trine",
                                              "sextile",     "semisextile", "quincunx"};
    EXPECT_EQ(ui.Get(ctl::cboSearchAspect).items, aspects);
    EXPECT_EQ(ui.Get(ctl::cboSearchWhen).items,
              (std::vector<std::string>{"on or after start date", "on or after end date"}));
    EXPECT_EQ(ui.ListIndex(ctl::cboSearchAspect), 0);
    EXPECT_EQ(ui.ListIndex(ctl::cboSearchWhen), 0);
    EXPECT_EQ(CheckedAspects(), 7);
    EXPECT_EQ(ui.Value(ctl::chkKeepDates), 1);
}

TEST_F(SelectionTest, SnapshotMapsListPositionsToPlanetsAndDegrees) {
    ui.Choose(Ctl(ctl::cboPlanet, 0), 1);
    ui.Choose(Ctl(ctl::cboPlanet, 1), 7);
    ui.Choose(Ctl(ctl::cboOrbs, 3), 12);
    ui.Choose(ctl::cboSearchAspect, 4);
    WindowInputs in = window.Snapshot();
    EXPECT_EQ(in.firstPlanet, 2);
    EXPECT_EQ(in.secondPlanet, 9);
    EXPECT_EQ(in.firstPlanetName, "Mercury");
    EXPECT_EQ(in.secondPlanetName, "Pluto");
    EXPECT_EQ(in.orbDegrees[0], 10);
    EXPECT_EQ(in.orbDegrees[1], 5);
    EXPECT_EQ(in.orbDegrees[2], 2);
    EXPECT_EQ(in.orbDegrees[3], 15);
    EXPECT_EQ(in.searchOrbText, "15\xC2\xB0");
    EXPECT_EQ(in.searchAspectText, "sextile");
    EXPECT_FALSE(in.heliocentric);
    // No entry selected in the first list means Pluto.
    window.SelectPlanet(0, -1);
    in = window.Snapshot();
    EXPECT_EQ(in.firstPlanet, 9);
    EXPECT_EQ(in.firstPlanetName, "Pluto");
    const TablesRequest r = TablesRequestFromControls(in);
    EXPECT_EQ(r.firstPlanet, kPluto);
    EXPECT_EQ(r.secondPlanet, kPluto);
}

TEST_F(SelectionTest, TheMoonsListPositionsAndTheShowAllBoxReachTheCommands) {
    ui.Choose(Ctl(ctl::cboPlanet, 0), 8);
    ui.Choose(Ctl(ctl::cboPlanet, 1), 2);
    EXPECT_EQ(ui.Text(ctl::cmdStart), "Moon and Mars");
    WindowInputs in = window.Snapshot();
    EXPECT_EQ(in.firstPlanet, 10);  // the Moon
    EXPECT_EQ(in.secondPlanet, 4);  // Mars
    EXPECT_FALSE(window.Snapshot().showAllWithMoon);
    ui.Click(ctl::chkShowAllWithMoon);
    EXPECT_TRUE(window.Snapshot().showAllWithMoon);
    ui.Choose(Ctl(ctl::cboPlanet, 1), 8);
    EXPECT_EQ(window.Snapshot().secondPlanet, 10);
    EXPECT_EQ(window.Snapshot().secondPlanetName, "Moon");
}

TEST_F(SelectionTest, PlanetClickRecaptionsAndFocusesStart) {
    ui.Choose(Ctl(ctl::cboPlanet, 0), 2);
    EXPECT_EQ(ui.Text(ctl::cmdStart), "Venus and Jupiter");
    EXPECT_EQ(Inspect(window).startCaptionStore, "Venus and Jupiter");
    EXPECT_EQ(ui.Text(Ctl(ctl::cmdShowAll, 0)), "Jupiter and the other planets.");
    EXPECT_EQ(ui.Text(Ctl(ctl::cmdShowAll, 1)), "Venus and the other planets.");
    EXPECT_EQ(ui.Focus(), Ctl(ctl::cmdStart));
}

// A show-all series names each pair it takes up: the lists follow it, and
// the transit button reads "Pause" while the series runs.
TEST_F(SelectionTest, TheListsFollowTheSeriesPairs) {
    const struct {
        int first, second;  // program planet numbers
        bool running;
        int firstIndex, secondIndex;
        const char* caption;
    } cases[] = {
        {kSaturn, kMars, true, 5, 2, "Pause"},
        {kPluto, kMars, true, -1, 2, "Pause"},
        {kMoon, kPluto, true, 8, 7, "Pause"},
        {kSun, kMoon, false, 0, 8, "Sun and Moon"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        if (c.running) window.Control().Begin(RunKind::Transit);
        window.ShowPair(c.first, c.second);
        window.Control().End();
        EXPECT_EQ(ui.ListIndex(Ctl(ctl::cboPlanet, 0)), c.firstIndex);
        EXPECT_EQ(ui.ListIndex(Ctl(ctl::cboPlanet, 1)), c.secondIndex);
        EXPECT_EQ(ui.Text(ctl::cmdStart), c.caption);
    }
}

TEST_F(SelectionTest, CentricityRenamesTheFirstPlanetAndGatesTheSimulation) {
    ui.Choose(Ctl(ctl::cboPlanet, 0), 0);
    EXPECT_FALSE(ui.Enabled(ctl::cmdSimulateInvestment));
    EXPECT_FALSE(ui.Enabled(ctl::chkIncludeTransitDetails));
    ui.Click(ctl::optHeliocentric);
    EXPECT_EQ(Item(Ctl(ctl::cboPlanet, 0), 0), "Earth");
    EXPECT_EQ(ui.Text(ctl::cmdStart), "Earth and Jupiter");
    EXPECT_EQ(ui.Text(Ctl(ctl::cmdShowAll, 1)), "Earth and the other planets.");
    EXPECT_TRUE(ui.Get(ctl::optHeliocentric).bold);
    EXPECT_FALSE(ui.Get(ctl::optGeocentric).bold);
    EXPECT_TRUE(ui.Enabled(ctl::cmdSimulateInvestment));
    EXPECT_TRUE(ui.Enabled(ctl::chkIncludeTransitDetails));
    EXPECT_TRUE(window.Snapshot().heliocentric);
    ui.Click(ctl::optGeocentric);
    EXPECT_EQ(Item(Ctl(ctl::cboPlanet, 0), 0), "Sun");
    EXPECT_EQ(ui.Text(ctl::cmdStart), "Sun and Jupiter");
    EXPECT_TRUE(ui.Get(ctl::optGeocentric).bold);
    EXPECT_FALSE(ui.Get(ctl::optHeliocentric).bold);
    EXPECT_FALSE(ui.Enabled(ctl::cmdSimulateInvestment));
    EXPECT_FALSE(ui.Enabled(ctl::chkIncludeTransitDetails));
}

TEST_F(SelectionTest, AspectRuleMessages) {
    struct Case {
        const char* name;
        std::vector<int> checkedBefore;
        const char* action;  // "clear", "all" or a box number to click
        int messages;
    } cases[] = {
        {"clear with three checked", {0, 3, 6}, "clear", 1},
        {"clear with all checked", {0, 1, 2, 3, 4, 5, 6}, "clear", 1},
        {"clear with none checked", {}, "clear", 0},
        {"all with none checked", {}, "all", 0},
        {"uncheck the only box", {4}, "4", 1},
        {"uncheck one of two", {1, 4}, "4", 0},
        {"check a box", {}, "2", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Set up silently, as a restored state would.
        for (int b = 0; b < 7; ++b) ui.SetValue(Ctl(ctl::chkAspectType, b), 0);
        for (int b : c.checkedBefore) ui.SetValue(Ctl(ctl::chkAspectType, b), 1);
        ui.ClearBoxes();
        for (int i = 0; i < c.messages; ++i)
            ui.ExpectBox("At least one aspect type must be checked.");
        const std::string action = c.action;
        if (action == "clear") {
            ui.Click(ctl::cmdClear);
            EXPECT_EQ(CheckedAspects(), 0);
        } else if (action == "all") {
            ui.Click(ctl::cmdAll);
            EXPECT_EQ(CheckedAspects(), 7);
        } else {
            ui.Click(Ctl(ctl::chkAspectType, std::stoi(action)));
        }
        EXPECT_EQ(static_cast<int>(ui.Boxes().size()), c.messages);
        for (const BoxRecord& b : ui.Boxes()) {
            EXPECT_EQ(b.title, "Aspect type");
            EXPECT_EQ(b.icon, MsgIcon::None);
        }
    }
    // The box that was just cleared stays cleared.
    EXPECT_EQ(CheckedAspects(), 1);
    ui.ExpectBox("At least one aspect type must be checked.");
    ui.Click(Ctl(ctl::chkAspectType, 2));
    EXPECT_EQ(CheckedAspects(), 0);
}

TEST_F(SelectionTest, OrbsMustBeStrictlyDecreasing) {
    struct Case {
        int outer;
        int middle;
        int inner;
        bool valid;
    } cases[] = {
        {10, 5, 2, true}, {6, 5, 2, true},  {5, 5, 2, false},   {4, 5, 2, false},
        {3, 2, 1, true},  {3, 2, 2, false}, {15, 14, 13, true}, {2, 3, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.outer) + "/" + std::to_string(c.middle) + "/" +
                     std::to_string(c.inner));
        ui.SetListIndex(Ctl(ctl::cboOrbs, 0), c.outer - 1);
        ui.SetListIndex(Ctl(ctl::cboOrbs, 1), c.middle - 1);
        ui.SetListIndex(Ctl(ctl::cboOrbs, 2), c.inner - 1);
        ui.ClearBoxes();
        if (!c.valid) ui.ExpectBox("Orbs must be strictly decreasing.");
        // A click on the inner orb list runs the check and focuses Start.
        ui.Choose(Ctl(ctl::cboOrbs, 2), c.inner - 1);
        EXPECT_EQ(ui.Boxes().size(), c.valid ? 0u : 1u);
        if (!c.valid) {
            EXPECT_EQ(ui.Boxes()[0].title, "Orb values");
            EXPECT_EQ(ui.Boxes()[0].icon, MsgIcon::Information);
        }
        EXPECT_EQ(ui.Focus(), Ctl(ctl::cmdStart));
        if (!c.valid) ui.ExpectBox("Orbs must be strictly decreasing.");
        EXPECT_EQ(window.ValidateOrbs(), c.valid);
    }
}

TEST_F(SelectionTest, SearchOrbNeverRunsTheOrbCheck) {
    ui.SetListIndex(Ctl(ctl::cboOrbs, 0), 1);  // outer 2°, middle 5°: broken
    ui.Choose(Ctl(ctl::cboOrbs, 3), 5);
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(ui.Focus(), Ctl(ctl::cmdSearch));
    EXPECT_EQ(window.Snapshot().orbDegrees[3], 8);
}

TEST_F(SelectionTest, SearchControlsFocusTheSearchButton) {
    for (const ControlName& name : {ctl::cboSearchAspect, ctl::cboSearchWhen}) {
        ui.SetFocus(ctl::txbOutput);
        ui.Choose(name, 1);
        EXPECT_EQ(ui.Focus(), Ctl(ctl::cmdSearch)) << name.text;
    }
    ui.SetFocus(ctl::txbOutput);
    ui.Click(ctl::chkKeepDates);
    EXPECT_EQ(ui.Focus(), Ctl(ctl::cmdSearch));
}

TEST(TimezoneList, EntriesAndLabels) {
    const std::vector<std::string> plain = TimezoneEntryTexts(false);
    const std::vector<std::string> labelled = TimezoneEntryTexts(true);
    ASSERT_EQ(plain.size(), 48u);
    ASSERT_EQ(labelled.size(), 48u);
    struct Case {
        int index;
        const char* plain;
        const char* labelled;
    } cases[] = {
        {0, "", ""},
        {1, "GMT-11:30", "GMT-11:30"},
        {2, "GMT-11:00", "GMT-11:00"},
        {4, "GMT-10:00", "HAST"},
        {6, "GMT-9:00", "AKST/HADT"},
        {8, "GMT-8:00", "PST/AKDT"},
        {10, "GMT-7:00", "MST/PDT"},
        {12, "GMT-6:00", "CST/MDT"},
        {13, "GMT-5:30", "GMT-5:30"},
        {14, "GMT-5:00", "EST/CDT"},
        {16, "GMT-4:00", "AST/EDT"},
        {17, "GMT-3:30", "NST"},
        {18, "GMT-3:00", "ADT"},
        {19, "GMT-2:30", "NDT"},
        {20, "GMT-2:00", "GMT-2:00"},
        {23, "GMT-0:30", "GMT-0:30"},
        {24, "GMT", "GMT"},
        {25, "GMT+0:30", "GMT+0:30"},
        {26, "GMT+1:00", "GMT+1:00"},
        {35, "GMT+5:30", "GMT+5:30"},
        {46, "GMT+11:00", "GMT+11:00"},
        {47, "GMT+11:30", "GMT+11:30"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plain[static_cast<std::size_t>(c.index)], c.plain) << c.index;
        EXPECT_EQ(labelled[static_cast<std::size_t>(c.index)], c.labelled) << c.index;
    }
    int differing = 0;
    for (std::size_t i = 0; i < 48; ++i) differing += plain[i] != labelled[i];
    EXPECT_EQ(differing, 10);
}

TEST(TimezoneList, ComputerZoneToEntry) {
    struct Case {
        int32_t secondsWest;
        int index;
    } cases[] = {
        {18000, 14},   // GMT-5:00
        {0, 24},       // GMT
        {-3600, 26},   // GMT+1:00
        {-19800, 35},  // GMT+5:30
        {-20700, 36},  // GMT+5:45: 11.5 half hours, to the even 12
        {-34200, 43},  // GMT+9:30
        {12600, 17},   // GMT-3:30
        {16200, 15},   // GMT-4:30
        {-900, 24},    // GMT+0:15: half a half hour, to the even 0
        {-2700, 26},   // GMT+0:45: 1.5 half hours, to the even 2
        {43200, 0},    // GMT-12:00 lands on the empty entry
        {-46800, 50},  // GMT+13:00 is beyond the list
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TimezoneIndexOfMinutes(MinutesEastOfGmt(c.secondsWest)), c.index)
            << c.secondsWest;
    }
}

class TimezoneWindowTest : public WindowTest {};

TEST_F(TimezoneWindowTest, FirstStartSelectsTheComputersZone) {
    struct Case {
        int32_t secondsWest;
        int index;
    } cases[] = {{18000, 14}, {-19800, 35}, {-20700, 36},
                 {0, 24},     {43200, 0},   {-46800, 0}};  // no entry: the commands will ask
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secondsWest);
        TestServices s;
        s.timezoneSeconds = c.secondsWest;
        MemoryUi u;
        u.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        MainWindow w(u, s);
        u.Attach(&w);
        w.StartUp();
        EXPECT_EQ(u.ListIndex(Ctl(ctl::cboTimezone, 0)), c.index);
        EXPECT_EQ(w.Snapshot().timezoneMinutes, (c.index - 24) * 30);
    }
}

TEST_F(TimezoneWindowTest, AbbreviationsToggleKeepsTheIndex) {
    Start();
    const Ctl list(ctl::cboTimezone, 0);
    // The first start shows the abbreviations (no saved state: default on).
    ui.Choose(list, 14);
    if (ui.Value(ctl::chkDisplayNATZabbr) == 1) ui.Click(ctl::chkDisplayNATZabbr);
    EXPECT_EQ(Item(list, 14), "GMT-5:00");
    ui.Click(ctl::chkDisplayNATZabbr);
    EXPECT_EQ(ui.Value(ctl::chkDisplayNATZabbr), 1);
    EXPECT_EQ(Item(list, 14), "EST/CDT");
    EXPECT_EQ(Item(list, 13), "GMT-5:30");
    EXPECT_EQ(ui.ListIndex(list), 14);
    EXPECT_EQ(window.Snapshot().timezoneText, "EST/CDT");
    EXPECT_EQ(ui.Focus(), Ctl(ctl::cmdStart));
    ui.Click(ctl::chkDisplayNATZabbr);
    EXPECT_EQ(Item(list, 14), "GMT-5:00");
    EXPECT_EQ(ui.ListIndex(list), 14);
    // Each entry's text names the offset that its position stands for.
    for (int k = 1; k < 48; ++k) {
        const int minutes = TimezoneMinutesOfIndex(k);
        const int h = std::abs(minutes) / 60;
        const int m = std::abs(minutes) % 60;
        const std::string text = minutes == 0 ? std::string("GMT")
                                              : std::string(minutes < 0 ? "GMT-" : "GMT+") +
                                                    std::to_string(h) + (m == 0 ? ":00" : ":30");
        EXPECT_EQ(Item(list, k), text) << k;
    }
}

}  // namespace
}  // namespace vlt::testing
