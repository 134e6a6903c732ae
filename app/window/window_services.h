#pragma once
// What the main window needs from the layers below it: dates, positions,
// vocabulary, the Pluto tables, the index data and the clock.  The program
// binds these to the real modules (program_services.cpp); tests replace the
// start-up steps that read files.

#include <cstdint>
#include <string>

#include "app/support/message_box.h"

namespace vlt {

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // Start-up steps, in the order the window calls them.
    virtual void InitPositions() = 0;
    // Reads the index file from the working folder; reports its own failure.
    virtual void LoadIndexData(MessageBoxes& boxes) = 0;
    // Reads both Pluto tables; reports its own failure; true when loaded.
    virtual bool ReadPlutoData(MessageBoxes& boxes) = 0;
    // "" when the Pluto table of this centricity is in memory, else the
    // message that names its file and says why it is not.
    virtual std::string PlutoTableProblem(bool heliocentric) = 0;

    // Gregorian date to day number; `valid` tells whether the date exists.
    virtual int32_t DateToDayNumber(int32_t year, int32_t month, int32_t day, bool& valid) = 0;
    virtual void DayNumberToDate(int32_t dayNumber, int32_t& year, int32_t& month,
                                 int32_t& day) = 0;
    // Year-month-day with "-", no thousands separator, no era.
    virtual std::string FormatNumericDate(int32_t year, int32_t month, int32_t day) = 0;
    // Full English month name, 1..12.
    virtual std::string MonthName(int month) = 0;

    // The computer's offset from GMT in seconds, positive west of Greenwich.
    virtual int32_t TimezoneSeconds() = 0;
    // The current year by the system clock.
    virtual int CurrentYear() = 0;

    virtual std::string PlanetName(int planet, bool heliocentric) = 0;
    // Capitalised name of aspect 1..7.
    virtual std::string AspectName(int aspect) = 0;

    // The folder that holds the program and its data files, with a trailing
    // separator.
    virtual std::string ProgramFolder() = 0;
};

}  // namespace vlt
