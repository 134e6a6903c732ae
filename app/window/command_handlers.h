#pragma once
// The entry points of the four commands and what a command may read from, or
// ask of, the main window.  The window owns the controls; a command sees only
// a snapshot of the inputs and a few window operations.

#include <array>
#include <cstdint>
#include <stop_token>
#include <string>

#include "app/support/run_host.h"

namespace vlt {

// A snapshot of everything the commands read from the controls, taken when
// the command asks for it (a show-all series asks again after each change of
// planet).
struct WindowInputs {
    // Planet lists: selected positions (-1: none) and program planet numbers
    // (first list position k is planet k + 1, Pluto when nothing is selected;
    // second list position k is planet k + 2), with the names as listed.
    int firstPlanetIndex = -1;
    int secondPlanetIndex = -1;
    int16_t firstPlanet = 9;
    int16_t secondPlanet = 2;
    std::string firstPlanetName;
    std::string secondPlanetName;
    int firstPlanetCount = 0;   // entries in the first list
    int secondPlanetCount = 0;  // entries in the second list

    bool heliocentric = false;

    // Aspect type b + 1 is enabled when chkAspectType(b) is checked.
    std::array<bool, 7> aspectEnabled{};

    // Selected positions of cboOrbs(0..3) and their values in whole degrees:
    // outer, middle, inner (position + 1), search orb (position + 3).
    std::array<int, 4> orbIndex{};
    std::array<int16_t, 4> orbDegrees{};
    std::string searchOrbText;  // selected entry of cboOrbs(3), e.g. "6°"

    // Time zone: selected position of cboTimezone(0), its minutes east of GMT
    // ((index - 24) * 30) and the entry's text as shown.
    int timezoneIndex = 0;
    int16_t timezoneMinutes = 0;
    std::string timezoneText;

    int searchAspectIndex = -1;  // aspect type = index + 1
    std::string searchAspectText;
    int searchWhenIndex = 0;  // 0 from the start date, 1 from the end date

    bool keepDates = false;
    bool showAllWithMoon = false;  // chkShowAllWithMoon
    bool includeTransitDetails = false;
    bool appendToOutput = false;

    // Day numbers of the start (0) and end (1) dates as last computed by the
    // date checks.
    std::array<int32_t, 2> dayNumber{};

    // The Pluto table of the chosen centricity is in memory; when not, the
    // message that says why.
    bool plutoLoaded = false;
    std::string plutoTableProblem;
    bool windowNormal = true;  // neither minimised nor maximised
};

// What a command may ask of the main window: the run host (output, busy
// state, pause, its events) that shows a service's run, the date boxes'
// checks, the few choices a command's outcome changes, the full snapshot of
// the inputs and the stop token of its runs.
class CommandWindow : public RunHost {
public:
    virtual WindowInputs Snapshot() const = 0;
    virtual bool ValidateOrbs() = 0;
    // Date checks of the date entry (date 0 start, 1 end); each shows its
    // own message and answers false on failure.  ValidateDate stores the
    // day number that the snapshot then holds.
    virtual bool CheckDateFieldsPresent(int date) = 0;
    virtual bool ValidateDate(int date) = 0;
    // Selects an entry of the time-zone list (GMT after "Please specify the
    // timezone ...").
    virtual void SelectTimezone(int index) = 0;
    // Selects the pair (program planet numbers) in the planet lists while a
    // show-all series runs, so that the lists follow the series.
    virtual void ShowPair(int first, int second) = 0;
    // Writes the calendar date of dayNumber into the boxes of date 0 or 1.
    virtual void ShowDateInFields(int date, int32_t dayNumber) = 0;
    // Stopped when the program quits: the one way a run is stopped from
    // outside.
    virtual std::stop_token StopToken() const = 0;
    // The caption of a button (the commands title their boxes with it).
    virtual std::string ButtonCaption(const std::string& name, int index) const = 0;
};

// The four command entry points.  The window calls them from its buttons;
// the default handlers do nothing, so that the window runs before the
// commands are connected.
class CommandHandlers {
public:
    virtual ~CommandHandlers() = default;
    virtual void Start(CommandWindow& /*window*/) {}
    virtual void Search(CommandWindow& /*window*/) {}
    virtual void ShowAll(CommandWindow& /*window*/, int /*item*/) {}
    virtual void SimulateInvestment(CommandWindow& /*window*/) {}
};

}  // namespace vlt
