#pragma once
// What the three transit commands read from the main window and the few
// window operations they need beyond RunHost.  The window fills
// TransitInputs from its controls when a command starts and implements
// TransitWindow; tests implement it in memory.

#include <array>
#include <cstdint>
#include <string>

namespace vlt {

// A snapshot of the inputs, as list indices and texts of the controls.
struct TransitInputs {
    int firstPlanetIndex = 3;   // cboPlanet(0): 0 Sun/Earth .. 7 Neptune, 8 Moon, -1 none (Pluto)
    int secondPlanetIndex = 3;  // cboPlanet(1): 0 Mercury .. 7 Pluto, 8 Moon
    std::string firstPlanetText = "Mars";  // selected texts ("" when none)
    std::string secondPlanetText = "Jupiter";
    bool heliocentric = false;  // optHeliocentric
    std::array<bool, 7> aspectChecked{true, true, true, true,
                                      true, true, true};  // chkAspectType(0..6)
    std::array<int, 4> orbIndex{9, 4, 1, 3};              // cboOrbs(0..3) list indices
    std::string searchOrbText = "6\xC2\xB0";              // cboOrbs(3) selected text
    int timezoneIndex = 24;            // cboTimezone list index (0 = none chosen)
    std::string timezoneText = "GMT";  // its selected text
    int searchAspectIndex = 0;         // cboSearchAspect (aspect type - 1), -1 none
    std::string searchAspectText = "conjunction";
    int searchWhenIndex = 0;        // cboSearchWhen: 0 start date, 1 end date
    bool keepDates = false;         // chkKeepDates
    bool showAllWithMoon = false;   // chkShowAllWithMoon: show-all pairs with the Moon too
    bool plutoTablesLoaded = true;  // the Pluto table of this centricity is in memory
    std::string plutoTableProblem;  // when not: "Cannot read the data file ..."
};

class TransitWindow {
public:
    virtual ~TransitWindow() = default;

    virtual TransitInputs Inputs() const = 0;

    // Date checks of the date entry (date 0 start, 1 end); each shows its
    // own message and answers false on failure.  ValidateDate stores the
    // day number that DayNumber then returns.
    virtual bool CheckDateFieldsPresent(int date) = 0;
    virtual bool ValidateDate(int date) = 0;
    virtual std::int32_t DayNumber(int date) const = 0;

    // Selects an entry of the time-zone list (GMT after "Please specify the
    // timezone ...").
    virtual void SelectTimezone(int index) = 0;

    // Planet lists (0 first, 1 second).  SelectPlanet runs the list's click
    // handling, which recaptions cmdStart with the new pair; index -1
    // selects nothing (the first list then means Pluto).
    virtual int PlanetListCount(int list) const = 0;
    virtual int PlanetListIndex(int list) const = 0;
    virtual void SelectPlanet(int list, int index) = 0;

    // Writes the calendar date of dayNumber into the year, month and day
    // fields of date 0 or 1 and refreshes that date's display.
    virtual void ShowDateInFields(int date, std::int32_t dayNumber) = 0;
};

}  // namespace vlt
