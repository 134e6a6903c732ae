#pragma once
// What the investment simulation reads from the main window when its button
// is clicked.  The window maps its controls onto this plain struct; the
// simulation never touches a control.

#include <array>
#include <cstdint>
#include <string>

namespace vlt {

struct SimulationRequest {
    // Selected position of the first planet list (`cboPlanet`(0)), counted
    // from 0: position k means planet k + 1 (0 is the Earth).  -1 (no entry
    // selected) means Pluto.
    int firstPlanetIndex = 0;
    // Selected position of the second planet list (`cboPlanet`(1)): position
    // k means planet k + 2 (0 is Mercury, 7 is Pluto).
    int secondPlanetIndex = 0;
    // `chkAspectType`(0..6): box b stands for aspect number b + 1.
    std::array<bool, 7> aspectChecked{};
    // Selected positions of `cboOrbs`(0..2), counted from 0: position k means
    // an orb of k + 1 whole degrees (outer, middle, inner).
    std::array<int, 3> orbIndex{9, 4, 1};
    // Start and end date as Julian day numbers.
    std::int32_t startDay = 0;
    std::int32_t endDay = 0;
    // The window simulates heliocentrically only; vlt-report also from the
    // Earth (the positions then come from a geocentric source, and the
    // first planet of the lists is the Sun).
    bool heliocentric = true;
    // `chkIncludeTransitDetails`: one line per investment, redemption and
    // cancellation.
    bool includeDetails = false;
    // `chkAppendToOutput`: keep what the output box holds and add below it.
    bool append = false;
    // The report title the transit commands would show for this request
    // ("Heliocentric transits for Earth and Mars from ..."); the simulation
    // keeps its text after the first "for ".
    std::string reportTitle;

    bool operator==(const SimulationRequest&) const = default;
};

// How a click on the simulation button ended.
enum class SimulationOutcome {
    Refused,            // dates outside the index data or period too short: message shown
    InvalidRequest,     // a list position the window can never produce: nothing done
    PauseRequested,     // a run is under way: the click only asked it to pause
    Completed,          // normal end with summary
    Stopped,            // "Stop?" answered Yes
    OutputFull,         // the output box exceeded its limit
    MissingIndexValue,  // a day without an index value within four days
    DataFileFailed,     // a data file could not give a position of the pair: message shown
};

}  // namespace vlt
