#include "app/window/selection.h"

#include <algorithm>

#include "app/positions/vocabulary.h"
#include "app/window/control_names.h"
#include "app/window/main_window.h"
#include "app/window/timezones.h"

namespace vlt {

void Selection::FillPlanetLists() {
    const bool helio = ui_.Value(ctl::optHeliocentric) == 1;
    const Ctl first(ctl::cboPlanet, 0);
    const Ctl second(ctl::cboPlanet, 1);
    ui_.ListClear(first);
    for (int p = 1; p <= 8; ++p) ui_.ListAdd(first, services_.PlanetName(p, helio));
    ui_.ListClear(second);
    for (int p = 2; p <= 9; ++p) ui_.ListAdd(second, services_.PlanetName(p, helio));
    // The Moon comes last in both, so that saved list positions keep their
    // planets.
    for (const Ctl& list : {first, second}) ui_.ListAdd(list, services_.PlanetName(kMoon, helio));
    // Entry 3 of each list: Mars in the first, Jupiter in the second.
    for (int k = 0; k < 2; ++k) actions_.selectListEntry(Ctl(ctl::cboPlanet, k), 3);
}

void Selection::FillOrbLists() {
    static const char* const kDegree = "\xC2\xB0";
    const int defaults[3] = {9, 4, 1};
    for (int k = 0; k < 3; ++k) {
        const Ctl list(ctl::cboOrbs, k);
        ui_.ListClear(list);
        for (int d = 1; d <= 15; ++d) ui_.ListAdd(list, std::to_string(d) + kDegree);
        actions_.selectListEntry(list, defaults[k]);
    }
    const Ctl search(ctl::cboOrbs, 3);
    ui_.ListClear(search);
    for (int d = 3; d <= 15; ++d) ui_.ListAdd(search, std::to_string(d) + kDegree);
    actions_.selectListEntry(search, 3);
}

void Selection::CheckAspectTypes() {
    std::array<bool, 7> checked{};
    for (int b = 0; b < 7; ++b) {
        checked[static_cast<std::size_t>(b)] = ui_.Value(Ctl(ctl::chkAspectType, b)) == 1;
    }
    if (const std::optional<Refusal> refusal = CheckAspectTypesChosen(checked)) {
        ShowRefusal(*refusal, ui_, kDefaultTitle);
    }
}

void Selection::SetAllAspectTypes(int value) {
    for (int b = 0; b < 7; ++b) actions_.setCheck(Ctl(ctl::chkAspectType, b), value);
    if (ui_.Visible(ctl::txbOutput)) ui_.SetFocus(ctl::txbOutput);
}

bool Selection::ValidateOrbs() {
    const int outer = ui_.ListIndex(Ctl(ctl::cboOrbs, 0));
    const int middle = ui_.ListIndex(Ctl(ctl::cboOrbs, 1));
    const int inner = ui_.ListIndex(Ctl(ctl::cboOrbs, 2));
    const std::optional<Refusal> refusal = CheckOrbs(outer, middle, inner);
    if (refusal) ShowRefusal(*refusal, ui_, kDefaultTitle);
    return !refusal;
}

// ---------------------------------------------------------------- the window's part

void MainWindow::PlanetListClicked() {
    if (!loaded_) return;
    UpdatePlanetCaptions(false);
    ui_.SetFocus(ctl::cmdStart);
}

void MainWindow::SelectPlanet(int list, int index) {
    const Ctl c(ctl::cboPlanet, list);
    if (index < -1 || index >= ui_.ListCount(c)) return;
    ui_.SetListIndex(c, index);
    // Recaptioned even when the same entry is selected again, and with no
    // entry selected.
    UpdatePlanetCaptions(false);
    if (loaded_) ui_.SetFocus(ctl::cmdStart);
}

void MainWindow::ShowPair(int first, int second) {
    SelectPlanet(0, FirstListIndexOfPlanet(first));
    SelectPlanet(1, SecondListIndexOfPlanet(second));
    // The selection recaptions the transit button; it reads "Pause" as long
    // as the series runs.
    if (run_.Running(RunKind::Transit)) ui_.SetText(ctl::cmdStart, kPauseCaption);
}

WindowInputs MainWindow::Snapshot() const {
    WindowInputs in;
    const Ctl first(ctl::cboPlanet, 0);
    const Ctl second(ctl::cboPlanet, 1);
    in.firstPlanetIndex = ui_.ListIndex(first);
    in.secondPlanetIndex = ui_.ListIndex(second);
    in.firstPlanetCount = ui_.ListCount(first);
    in.secondPlanetCount = ui_.ListCount(second);
    in.firstPlanet = FirstPlanetOfListIndex(in.firstPlanetIndex);
    in.secondPlanet = SecondPlanetOfListIndex(in.secondPlanetIndex);
    in.firstPlanetName = in.firstPlanetIndex >= 0 ? ListText(first) : std::string("Pluto");
    in.secondPlanetName = ListText(second);
    in.heliocentric = ui_.Value(ctl::optHeliocentric) == 1;
    for (int b = 0; b < 7; ++b) {
        in.aspectEnabled[static_cast<std::size_t>(b)] = ui_.Value(Ctl(ctl::chkAspectType, b)) == 1;
    }
    for (int k = 0; k < 4; ++k) {
        const int i = ui_.ListIndex(Ctl(ctl::cboOrbs, k));
        in.orbIndex[static_cast<std::size_t>(k)] = i;
        in.orbDegrees[static_cast<std::size_t>(k)] =
            k < 3 ? OrbDegreesOfListIndex(i) : SearchOrbDegreesOfListIndex(i);
    }
    in.searchOrbText = ListText(Ctl(ctl::cboOrbs, 3));
    // No selection counts as "no zone chosen", which the commands refuse.
    in.timezoneIndex = std::max(0, ui_.ListIndex(Ctl(ctl::cboTimezone, 0)));
    in.timezoneMinutes = TimezoneMinutesOfIndex(in.timezoneIndex);
    in.timezoneText = ListText(Ctl(ctl::cboTimezone, 0));
    in.searchAspectIndex = ui_.ListIndex(ctl::cboSearchAspect);
    in.searchAspectText = ListText(ctl::cboSearchAspect);
    in.searchWhenIndex = std::max(0, ui_.ListIndex(ctl::cboSearchWhen));
    in.keepDates = ui_.Value(ctl::chkKeepDates) == 1;
    in.showAllWithMoon = ui_.Value(ctl::chkShowAllWithMoon) == 1;
    in.includeTransitDetails = ui_.Value(ctl::chkIncludeTransitDetails) == 1;
    in.appendToOutput = ui_.Value(ctl::chkAppendToOutput) == 1;
    in.dayNumber = dates_.DayNumbers();
    // Each Pluto table counts on its own: a geocentric run needs only the
    // geocentric one.
    in.plutoTableProblem = services_.PlutoTableProblem(in.heliocentric);
    in.plutoLoaded = in.plutoTableProblem.empty();
    in.windowNormal = ui_.State() == WindowState::Normal;
    return in;
}

}  // namespace vlt
