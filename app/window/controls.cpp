#include "app/window/controls.h"
#include "app/window/control_names.h"

#include <map>
#include <stdexcept>
#include <string>

#include "app/positions/vocabulary.h"

namespace vlt {
namespace {

constexpr int P = kTwipsPerDesignPixel;

// Every control stands this far right of its sketch position, so that the
// left margin matches the 380-twip margin right of the output box.
constexpr int kLeftMargin = 17;

Rect Px(int x, int y, int w, int h) { return Rect{(x + kLeftMargin) * P, y * P, w * P, h * P}; }

// Data table: every control of the window with its kind, caption and place.
std::vector<ControlInfo> BuildTable() {
    std::vector<ControlInfo> t;
    auto add = [&t](Ctl c, CtlKind k, std::string caption, Rect r) {
        t.push_back(ControlInfo{std::move(c), k, std::move(caption), r});
    };
    using K = CtlKind;

    // Frames first: they are drawn behind the controls they group.
    add(ctl::Frame1, K::Frame, "", Px(8, 8, 350, 136));
    add(ctl::Frame2, K::Frame, "", Px(366, 8, 471, 136));
    add(ctl::Frame3, K::Frame, "", Px(8, 152, 829, 124));
    add(ctl::fraAspectTypes, K::Frame, "", Px(372, 12, 196, 100));
    add(ctl::fraCentricity, K::Frame, "", Px(574, 12, 112, 70));

    // Dates and planets.
    add(ctl::lblYear, K::Label, "Year", Px(56, 12, 54, 16));
    add(ctl::lblMonthDay, K::Label, "Month Day", Px(114, 12, 80, 16));
    const char* const startEnd[2] = {"Start", "End"};
    for (int i = 0; i < 2; ++i) {
        const int y = 30 + 28 * i;
        add(Ctl(ctl::lblStartEnd, i), K::Label, startEnd[i], Px(16, y + 3, 38, 18));
        add(Ctl(ctl::txbYear, i), K::TextBox, "", Px(56, y, 54, 22));
        add(Ctl(ctl::txbMonth, i), K::TextBox, "", Px(114, y, 36, 22));
        add(Ctl(ctl::txbDay, i), K::TextBox, "", Px(154, y, 36, 22));
        add(Ctl(ctl::lblDate, i), K::Label, "", Px(196, y + 3, 158, 18));
    }
    add(Ctl(ctl::lblPlanet, 0), K::Label, "First planet", Px(16, 90, 104, 16));
    add(Ctl(ctl::cboPlanet, 0), K::List, "", Px(16, 108, 104, 24));
    add(Ctl(ctl::lblPlanet, 1), K::Label, "Second planet", Px(128, 90, 104, 16));
    add(Ctl(ctl::cboPlanet, 1), K::List, "", Px(128, 108, 104, 24));
    add(ctl::lblStopDate, K::Label, "Stop date", Px(240, 90, 110, 16));
    add(ctl::txbStopDate, K::TextBox, "", Px(240, 108, 110, 24));

    // Aspect types, centricity, orbs and time zone.
    add(ctl::Label3, K::Label, "Aspect type", Px(378, 14, 120, 16));
    for (int b = 0; b < 7; ++b) {
        const Rect r = b < 4 ? Px(378, 32 + 18 * b, 94, 18) : Px(474, 32 + 18 * (b - 4), 92, 18);
        add(Ctl(ctl::chkAspectType, b), K::CheckBox,
            std::string(kAspectTable[static_cast<std::size_t>(b)].name), r);
    }
    add(ctl::cmdAll, K::Button, "All", Px(474, 86, 44, 22));
    add(ctl::cmdClear, K::Button, "Clear", Px(522, 86, 44, 22));
    add(ctl::Label2, K::Label, "Centricity", Px(580, 14, 100, 16));
    add(ctl::optGeocentric, K::Option, "Geocentric", Px(580, 34, 104, 20));
    add(ctl::optHeliocentric, K::Option, "Heliocentric", Px(580, 56, 104, 20));
    const char* const orbs[3] = {"Outer orb", "Middle orb", "Inner orb"};
    for (int k = 0; k < 3; ++k) {
        add(Ctl(ctl::lblOrbs, k), K::Label, orbs[k], Px(694, 16 + 28 * k, 70, 18));
        add(Ctl(ctl::cboOrbs, k), K::List, "", Px(766, 12 + 28 * k, 64, 24));
    }
    add(ctl::lblTimezone, K::Label, "Time zone", Px(378, 118, 62, 18));
    add(Ctl(ctl::cboTimezone, 0), K::List, "", Px(442, 115, 112, 24));
    add(ctl::chkDisplayNATZabbr, K::CheckBox, "N. Amer. TZ abbr.", Px(562, 117, 150, 20));

    // Commands.
    add(ctl::lblConstructTransitTables, K::Label,
        "Construct transit tables for the period  for:", Px(16, 158, 560, 18));
    add(ctl::cmdStart, K::Button, "", Px(16, 178, 300, 26));
    add(Ctl(ctl::cmdShowAll, 0), K::Button, "", Px(324, 178, 250, 26));
    add(Ctl(ctl::cmdShowAll, 1), K::Button, "", Px(580, 178, 250, 26));
    add(ctl::cmdSearch, K::Button, "Search", Px(16, 212, 84, 26));
    add(ctl::Label1, K::Label, "for first", Px(106, 216, 56, 18));
    add(Ctl(ctl::cboOrbs, 3), K::List, "", Px(164, 213, 58, 24));
    add(ctl::cboSearchAspect, K::List, "", Px(228, 213, 110, 24));
    add(ctl::cboSearchWhen, K::List, "", Px(344, 213, 172, 24));
    add(ctl::chkKeepDates, K::CheckBox, "Keep start/end dates", Px(524, 215, 176, 20));
    add(ctl::cmdSimulateInvestment, K::Button, "Simulate investment", Px(16, 244, 160, 26));
    add(ctl::chkIncludeTransitDetails, K::CheckBox, "Include transit details",
        Px(184, 247, 190, 20));
    add(ctl::chkAppendToOutput, K::CheckBox, "Append to output", Px(454, 247, 140, 20));
    // Off unless saved checked: a show-all series pairs with the Moon only
    // when asked (or when it keeps the Moon).
    add(ctl::chkShowAllWithMoon, K::CheckBox, "With the Moon", Px(706, 215, 124, 20));
    // The simulation's prices, its statistics, the research over all pairs
    // and the calendar of the sky, in the room the row leaves; the chosen
    // prices named above.
    add(ctl::cmdPrices, K::Button, "Prices\u2026", Px(378, 244, 70, 26));
    add(ctl::lblPrices, K::Label, "DJIA (built in)", Px(580, 158, 250, 18));
    add(ctl::cmdStatistics, K::Button, "Statistics\u2026", Px(600, 244, 74, 26));
    add(ctl::cmdResearch, K::Button, "Research\u2026", Px(678, 244, 74, 26));
    add(ctl::cmdCalendar, K::Button, "Calendar\u2026", Px(756, 244, 74, 26));

    // Output and the row below it (moved by the resizing rule).
    add(ctl::txbOutput, K::OutputBox, "", Px(8, 285, 829, 200));
    add(Ctl(ctl::cmdFile, 0), K::Button, "Write output to file", Px(8, 495, 150, 26));
    add(ctl::chkOpenOutputFile, K::CheckBox, "Open output file", Px(166, 498, 130, 20));
    // The chart of the last run, in the free space before "Save state".
    add(ctl::cmdChart, K::Button, "Chart", Px(304, 495, 80, 26));
    add(ctl::cmdSaveState, K::Button, "Save state", Px(453, 495, 100, 26));
    add(ctl::cmdRestoreState, K::Button, "Restore state", Px(561, 495, 100, 26));
    add(ctl::cmdHelp, K::Button, "Help", Px(669, 495, 80, 26));
    add(ctl::cmdQuit, K::Button, "Quit", Px(757, 495, 80, 26));
    add(ctl::lblStatus, K::Label, "", Px(8, 530, 600, 18));
    return t;
}

}  // namespace

const std::vector<ControlInfo>& MainWindowControls() {
    static const std::vector<ControlInfo> table = BuildTable();
    return table;
}

const ControlInfo& ControlInfoOf(const Ctl& c) {
    static const std::map<Ctl, const ControlInfo*> index = [] {
        std::map<Ctl, const ControlInfo*> m;
        for (const ControlInfo& s : MainWindowControls()) m[s.ctl] = &s;
        return m;
    }();
    auto it = index.find(c);
    if (it == index.end()) throw std::out_of_range("no control " + c.ToString());
    return *it->second;
}

int DesignClientWidth() { return (837 + kLeftMargin) * P + 380; }
int DesignClientHeight() { return 568 * P; }

}  // namespace vlt
