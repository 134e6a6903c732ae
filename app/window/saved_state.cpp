// Saving the user's choices to the settings store and restoring them.
#include <cmath>
#include <limits>

#include "app/support/numbers.h"
#include "app/support/settings_store.h"
#include "app/window/main_window.h"
#include "app/window/control_names.h"

namespace vlt {
namespace {

bool SaveSetting(const std::string& key, const std::string& name, const std::string& value) {
    return SaveStringSetting(key, name, value, false);
}

std::string Get(const std::string& key, const std::string& name, const std::string& fallback) {
    std::string value;
    GetStringSetting(key, name, value, false, fallback);
    return value;
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
    const auto Save = [&saved](const std::string& key, const std::string& name,
                               const std::string& value) {
        saved = SaveSetting(key, name, value) && saved;
    };
    const char* const names[2] = {"0", "1"};
    for (int i = 0; i < 2; ++i) {
        Save("\\VLT\\Year", names[i], ui_.Text(Ctl(ctl::txbYear, i)));
        Save("\\VLT\\Month", names[i], ui_.Text(Ctl(ctl::txbMonth, i)));
        Save("\\VLT\\Day", names[i], ui_.Text(Ctl(ctl::txbDay, i)));
        Save("\\VLT\\PlanetLI", names[i], std::to_string(ui_.ListIndex(Ctl(ctl::cboPlanet, i))));
    }
    for (int i = 0; i < 4; ++i) {
        Save("\\VLT\\OrbsLI", std::to_string(i), std::to_string(ui_.ListIndex(Ctl(ctl::cboOrbs, i))));
    }
    Save("\\VLT", "Geocentric", ui_.Value(ctl::optGeocentric) == 1 ? "Y" : "N");
    Save("\\VLT", "TZ0", std::to_string(ui_.ListIndex(Ctl(ctl::cboTimezone, 0))));
    Save("\\VLT", "NATZ", ui_.Value(ctl::chkDisplayNATZabbr) == 1 ? "1" : "0");
    Save("\\VLT", "Stop", ui_.Text(ctl::txbStopDate));
    Save("\\VLT", "SrchAsp", std::to_string(ui_.ListIndex(ctl::cboSearchAspect)));
    Save("\\VLT", "SrchWhn", std::to_string(ui_.ListIndex(ctl::cboSearchWhen)));
    Save("\\VLT", "StateSaved", "Y");
    for (int i = 0; i < 7; ++i) {
        Save("\\VLT\\ShowAspect", std::to_string(i),
             ui_.Value(Ctl(ctl::chkAspectType, i)) == 1 ? "1" : "0");
    }
    Save("\\VLT", "InnerOuter0", std::to_string(ui_.ListIndex(Ctl(ctl::cboPlanet, 0))));
    Save("\\VLT", "InnerOuter1", std::to_string(ui_.ListIndex(Ctl(ctl::cboPlanet, 1))));
    Save("\\VLT", "ITD", ui_.Value(ctl::chkIncludeTransitDetails) == 1 ? "1" : "0");
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
    std::string saved;
    if (!GetStringSetting("\\VLT", "StateSaved", saved, false, "")) return;
    // Values come back one by one; a rule that looks at several controls
    // (aspect types, orbs) would complain about the half-restored state.
    restoring_ = true;
    const char* const names[2] = {"0", "1"};
    const char* const planetDefaults[2] = {"0", "1"};
    for (int i = 0; i < 2; ++i) {
        ui_.SetText(Ctl(ctl::txbYear, i), Get("\\VLT\\Year", names[i], ""));
        ui_.SetText(Ctl(ctl::txbMonth, i), Get("\\VLT\\Month", names[i], ""));
        ui_.SetText(Ctl(ctl::txbDay, i), Get("\\VLT\\Day", names[i], ""));
        SelectStoredIndex(Ctl(ctl::cboPlanet, i), Get("\\VLT\\PlanetLI", names[i], planetDefaults[i]));
    }
    const char* const orbDefaults[4] = {"9", "4", "1", "4"};
    for (int i = 0; i < 4; ++i) {
        SelectStoredIndex(Ctl(ctl::cboOrbs, i), Get("\\VLT\\OrbsLI", std::to_string(i), orbDefaults[i]));
    }
    SetCheck(ctl::chkDisplayNATZabbr, WholeNumber(Get("\\VLT", "NATZ", "1")) != 0 ? 1 : 0);
    SelectStoredIndex(Ctl(ctl::cboTimezone, 0), Get("\\VLT", "TZ0", "24"));
    stopDateText_ = Get("\\VLT", "Stop", "");
    SelectStoredIndex(ctl::cboSearchAspect, Get("\\VLT", "SrchAsp", "0"));
    SelectStoredIndex(ctl::cboSearchWhen, Get("\\VLT", "SrchWhn", "0"));
    for (int i = 0; i < 7; ++i) {
        SetCheck(Ctl(ctl::chkAspectType, i),
                 WholeNumber(Get("\\VLT\\ShowAspect", std::to_string(i), "")) != 0 ? 1 : 0);
    }
    SelectStoredIndex(Ctl(ctl::cboPlanet, 0), Get("\\VLT", "InnerOuter0", ""));
    SelectStoredIndex(Ctl(ctl::cboPlanet, 1), Get("\\VLT", "InnerOuter1", ""));
    const bool geocentric = Get("\\VLT", "Geocentric", "Y") == "Y";
    ui_.SetValue(geocentric ? ctl::optGeocentric : ctl::optHeliocentric, 1);
    HandleClick(geocentric ? ctl::optGeocentric : ctl::optHeliocentric);
    SetCheck(ctl::chkIncludeTransitDetails, WholeNumber(Get("\\VLT", "ITD", "1")) != 0 ? 1 : 0);
    restoring_ = false;
    recentSave_ = true;
    tickCount_ = 0;
}

}  // namespace vlt
