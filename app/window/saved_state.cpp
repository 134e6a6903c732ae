#include "app/window/saved_state.h"

#include <cmath>
#include <limits>

#include "app/support/numbers.h"
#include "app/support/settings_store.h"
#include "app/window/control_names.h"
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
void SavedState::SelectStoredIndex(const ChoiceActions& actions, const Ctl& c,
                                   const std::string& text) {
    const int index = WholeNumber(text);
    if (index < 0 || index >= ui_.ListCount(c)) return;
    actions.selectListEntry(c, index);
}

bool SavedState::Save() {
    bool saved = true;
    {
        SettingsBatch batch;  // one save of the file for all values
        const auto put = [&saved](StateKey key, int item, const std::string& value) {
            saved = StoreStateValue(key, item, value) && saved;
        };
        for (int i = 0; i < 2; ++i) {
            put(StateKey::Year, i, ui_.Text(Ctl(ctl::txbYear, i)));
            put(StateKey::Month, i, ui_.Text(Ctl(ctl::txbMonth, i)));
            put(StateKey::Day, i, ui_.Text(Ctl(ctl::txbDay, i)));
            put(StateKey::PlanetIndex, i, std::to_string(ui_.ListIndex(Ctl(ctl::cboPlanet, i))));
        }
        for (int i = 0; i < 4; ++i) {
            put(StateKey::OrbIndex, i, std::to_string(ui_.ListIndex(Ctl(ctl::cboOrbs, i))));
        }
        put(StateKey::Geocentric, 0, ui_.Value(ctl::optGeocentric) == 1 ? "Y" : "N");
        put(StateKey::Timezone, 0, std::to_string(ui_.ListIndex(Ctl(ctl::cboTimezone, 0))));
        put(StateKey::ZoneNames, 0, ui_.Value(ctl::chkDisplayNATZabbr) == 1 ? "1" : "0");
        put(StateKey::StopDate, 0, ui_.Text(ctl::txbStopDate));
        put(StateKey::SearchAspect, 0, std::to_string(ui_.ListIndex(ctl::cboSearchAspect)));
        put(StateKey::SearchWhen, 0, std::to_string(ui_.ListIndex(ctl::cboSearchWhen)));
        put(StateKey::StateSaved, 0, "Y");
        for (int i = 0; i < 7; ++i) {
            put(StateKey::ShowAspect, i, ui_.Value(Ctl(ctl::chkAspectType, i)) == 1 ? "1" : "0");
        }
        for (int i = 0; i < 2; ++i) {
            put(StateKey::InnerOuter, i, std::to_string(ui_.ListIndex(Ctl(ctl::cboPlanet, i))));
        }
        put(StateKey::IncludeDetails, 0, ui_.Value(ctl::chkIncludeTransitDetails) == 1 ? "1" : "0");
        put(StateKey::ShowAllMoon, 0, ui_.Value(ctl::chkShowAllWithMoon) == 1 ? "1" : "0");
        if (prices_ != nullptr) saved = prices_->Save() && saved;
        saved = batch.Commit() && saved;
    }
    if (!saved) {
        // Only a save that reached the file counts: Quit must still ask.
        ui_.Show("The program state could not be saved to " + SettingsFilePath() + ":\n" +
                     LastSettingsWriteError() + ".",
                 ui_.Text(ctl::cmdSaveState), MsgButtons::Ok, MsgIcon::Exclamation);
    }
    return saved;
}

bool SavedState::Available() {
    // Nothing is restored from an unreadable file, nothing written to it.
    if (const std::string problem = SettingsFileProblem(); !problem.empty()) {
        ui_.Show(problem, kDefaultTitle, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    return StateWasSaved();
}

std::string SavedState::Restore(const ChoiceActions& actions) {
    const char* const planetDefaults[2] = {"0", "1"};
    for (int i = 0; i < 2; ++i) {
        ui_.SetText(Ctl(ctl::txbYear, i), StoredStateValue(StateKey::Year, i, ""));
        ui_.SetText(Ctl(ctl::txbMonth, i), StoredStateValue(StateKey::Month, i, ""));
        ui_.SetText(Ctl(ctl::txbDay, i), StoredStateValue(StateKey::Day, i, ""));
        SelectStoredIndex(actions, Ctl(ctl::cboPlanet, i),
                          StoredStateValue(StateKey::PlanetIndex, i, planetDefaults[i]));
    }
    const char* const orbDefaults[4] = {"9", "4", "1", "4"};
    for (int i = 0; i < 4; ++i) {
        SelectStoredIndex(actions, Ctl(ctl::cboOrbs, i),
                          StoredStateValue(StateKey::OrbIndex, i, orbDefaults[i]));
    }
    actions.setCheck(ctl::chkDisplayNATZabbr,
                     WholeNumber(Stored(StateKey::ZoneNames, "1")) != 0 ? 1 : 0);
    SelectStoredIndex(actions, Ctl(ctl::cboTimezone, 0), Stored(StateKey::Timezone, "24"));
    std::string stopDateText = Stored(StateKey::StopDate, "");
    SelectStoredIndex(actions, ctl::cboSearchAspect, Stored(StateKey::SearchAspect, "0"));
    SelectStoredIndex(actions, ctl::cboSearchWhen, Stored(StateKey::SearchWhen, "0"));
    for (int i = 0; i < 7; ++i) {
        actions.setCheck(Ctl(ctl::chkAspectType, i),
                         WholeNumber(StoredStateValue(StateKey::ShowAspect, i, "")) != 0 ? 1 : 0);
    }
    for (int i = 0; i < 2; ++i) {
        SelectStoredIndex(actions, Ctl(ctl::cboPlanet, i),
                          StoredStateValue(StateKey::InnerOuter, i, ""));
    }
    if (prices_ != nullptr) prices_->Restore(ui_);
    const bool geocentric = Stored(StateKey::Geocentric, "Y") == "Y";
    ui_.SetValue(geocentric ? ctl::optGeocentric : ctl::optHeliocentric, 1);
    actions.click(geocentric ? ctl::optGeocentric : ctl::optHeliocentric);
    actions.setCheck(ctl::chkIncludeTransitDetails,
                     WholeNumber(Stored(StateKey::IncludeDetails, "1")) != 0 ? 1 : 0);
    actions.setCheck(ctl::chkShowAllWithMoon,
                     WholeNumber(Stored(StateKey::ShowAllMoon, "0")) != 0 ? 1 : 0);
    return stopDateText;
}

}  // namespace vlt
