// Saving the user's choices to the settings store and restoring them.
#include <cmath>
#include <limits>

#include "app/support/numbers.h"
#include "app/support/settings_store.h"
#include "app/window/control_names.h"
#include "app/window/main_window.h"
#include "app/window/state_keys.h"

namespace vlt {
namespace {

// The value of a setting with a single item.
std::string Stored(StateKey key, const std::string& fallback) {
    return StoredStateValue(key, 0, fallback);
}

// A stored number, read as plain numeric text and rounded to a whole number.
// Anything beyond int's range reads as out of range for every list.
int WholeNumber(const std::string& text) {
    const double v = RoundHalfEven(NumberFromText(text), 0);
    if (!(v >= -1e9 && v <= 1e9)) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

}  // namespace

// Selects a stored list position when the list has it; a position outside the
// list keeps the current selection.
bool MainWindow::SelectStoredIndex(const Ctl& c, const std::string& text) {
    const int index = WholeNumber(text);
    if (index < 0 || index >= ui_.ListCount(c)) return false;
    SelectListEntry(c, index);
    return true;
}

void MainWindow::SaveState() {
    bool saved = true;
    {
        SettingsBatch batch;  // one save of the file for all values
        const auto Save = [&saved](StateKey key, int item, const std::string& value) {
            saved = StoreStateValue(key, item, value) && saved;
        };
        for (int i = 0; i < 2; ++i) {
            Save(StateKey::Year, i, ui_.Text(Ctl(ctl::txbYear, i)));
            Save(StateKey::Month, i, ui_.Text(Ctl(ctl::txbMonth, i)));
            Save(StateKey::Day, i, ui_.Text(Ctl(ctl::txbDay, i)));
            Save(StateKey::PlanetIndex, i, std::to_string(ui_.ListIndex(Ctl(ctl::cboPlanet, i))));
        }
        for (int i = 0; i < 4; ++i) {
            Save(StateKey::OrbIndex, i, std::to_string(ui_.ListIndex(Ctl(ctl::cboOrbs, i))));
        }
        Save(StateKey::Geocentric, 0, ui_.Value(ctl::optGeocentric) == 1 ? "Y" : "N");
        Save(StateKey::Timezone, 0, std::to_string(ui_.ListIndex(Ctl(ctl::cboTimezone, 0))));
        Save(StateKey::ZoneNames, 0, ui_.Value(ctl::chkDisplayNATZabbr) == 1 ? "1" : "0");
        Save(StateKey::StopDate, 0, ui_.Text(ctl::txbStopDate));
        Save(StateKey::SearchAspect, 0, std::to_string(ui_.ListIndex(ctl::cboSearchAspect)));
        Save(StateKey::SearchWhen, 0, std::to_string(ui_.ListIndex(ctl::cboSearchWhen)));
        Save(StateKey::StateSaved, 0, "Y");
        for (int i = 0; i < 7; ++i) {
            Save(StateKey::ShowAspect, i, ui_.Value(Ctl(ctl::chkAspectType, i)) == 1 ? "1" : "0");
        }
        for (int i = 0; i < 2; ++i) {
            Save(StateKey::InnerOuter, i, std::to_string(ui_.ListIndex(Ctl(ctl::cboPlanet, i))));
        }
        Save(StateKey::IncludeDetails, 0,
             ui_.Value(ctl::chkIncludeTransitDetails) == 1 ? "1" : "0");
        saved = batch.Commit() && saved;
    }
    if (!saved) {
        // Only a save that reached the file counts: Quit must still ask.
        ui_.Show("The program state could not be saved to " + SettingsFilePath() + ":\n" +
                     LastSettingsWriteError() + ".",
                 ui_.Text(ctl::cmdSaveState), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    recentSave_ = true;
    tickCount_ = 0;
}

void MainWindow::RestoreState() {
    // A file that cannot be read (larger than 1 MB, no permission) is said
    // so, and left alone: nothing is restored from it, nothing written to it.
    if (const std::string problem = SettingsFileProblem(); !problem.empty()) {
        ui_.Show(problem, kDefaultTitle, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (!StateWasSaved()) return;
    // Values come back one by one; a rule that looks at several controls
    // (aspect types, orbs) would complain about the half-restored state.
    restoring_ = true;
    const char* const planetDefaults[2] = {"0", "1"};
    for (int i = 0; i < 2; ++i) {
        ui_.SetText(Ctl(ctl::txbYear, i), StoredStateValue(StateKey::Year, i, ""));
        ui_.SetText(Ctl(ctl::txbMonth, i), StoredStateValue(StateKey::Month, i, ""));
        ui_.SetText(Ctl(ctl::txbDay, i), StoredStateValue(StateKey::Day, i, ""));
        SelectStoredIndex(Ctl(ctl::cboPlanet, i),
                          StoredStateValue(StateKey::PlanetIndex, i, planetDefaults[i]));
    }
    const char* const orbDefaults[4] = {"9", "4", "1", "4"};
    for (int i = 0; i < 4; ++i) {
        SelectStoredIndex(Ctl(ctl::cboOrbs, i),
                          StoredStateValue(StateKey::OrbIndex, i, orbDefaults[i]));
    }
    SetCheck(ctl::chkDisplayNATZabbr, WholeNumber(Stored(StateKey::ZoneNames, "1")) != 0 ? 1 : 0);
    SelectStoredIndex(Ctl(ctl::cboTimezone, 0), Stored(StateKey::Timezone, "24"));
    stopDateText_ = Stored(StateKey::StopDate, "");
    SelectStoredIndex(ctl::cboSearchAspect, Stored(StateKey::SearchAspect, "0"));
    SelectStoredIndex(ctl::cboSearchWhen, Stored(StateKey::SearchWhen, "0"));
    for (int i = 0; i < 7; ++i) {
        SetCheck(Ctl(ctl::chkAspectType, i),
                 WholeNumber(StoredStateValue(StateKey::ShowAspect, i, "")) != 0 ? 1 : 0);
    }
    for (int i = 0; i < 2; ++i) {
        SelectStoredIndex(Ctl(ctl::cboPlanet, i), StoredStateValue(StateKey::InnerOuter, i, ""));
    }
    const bool geocentric = Stored(StateKey::Geocentric, "Y") == "Y";
    ui_.SetValue(geocentric ? ctl::optGeocentric : ctl::optHeliocentric, 1);
    HandleClick(geocentric ? ctl::optGeocentric : ctl::optHeliocentric);
    SetCheck(ctl::chkIncludeTransitDetails,
             WholeNumber(Stored(StateKey::IncludeDetails, "1")) != 0 ? 1 : 0);
    restoring_ = false;
    recentSave_ = true;
    tickCount_ = 0;
}

}  // namespace vlt
