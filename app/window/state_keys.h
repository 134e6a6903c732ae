#pragma once
// The settings the window keeps between runs of the program, and the one
// place that knows under which section and name each is stored.  A setting
// of several controls (the two dates, the four orb lists, ...) takes the
// control's index as its item.

#include <string>

namespace vlt {

enum class StateKey {
    Year,            // item: date 0 or 1
    Month,           // item: date 0 or 1
    Day,             // item: date 0 or 1
    PlanetIndex,     // item: planet list 0 or 1
    OrbIndex,        // item: orb list 0..3
    Geocentric,      // "Y" or "N"
    Timezone,        // the index of the first zone list
    ZoneNames,       // "1" when the zones show their abbreviations
    StopDate,        // the text of the stop date
    SearchAspect,    // the index of the search's aspect list
    SearchWhen,      // the index of the search's start list
    StateSaved,      // "Y" once a state was saved at all
    ShowAspect,      // item: aspect type 0..6, "1" when checked
    InnerOuter,      // item: planet list 0 or 1, its index once more
    IncludeDetails,  // "1" when the simulation lists its transits
    PriceFile,       // the price file the simulation reads, "" for the built-in index
    PriceColumn,     // the column read from a CSV price file, "" for the default
    ShowAllMoon,     // "1" when show-all takes the pairs with the Moon too
    CalendarKinds,   // the calendar's kinds of event, "1" or "0" each
    CalendarTypes,   // the calendar's aspect types, "1" or "0" each
    CalendarZone,    // the calendar's zone, "" for the window's
};

// Stores `value`; false when the store could not take it.
bool StoreStateValue(StateKey key, int item, const std::string& value);
// The stored value, or `fallback` when there is none.
std::string StoredStateValue(StateKey key, int item, const std::string& fallback);
// Whether a state was ever saved.
bool StateWasSaved();

}  // namespace vlt
