#include "app/window/state_keys.h"

#include <cstddef>
#include <iterator>

#include "app/support/settings_store.h"

namespace vlt {
namespace {

struct Place {
    std::string section;
    std::string name;
};

// The section and name of every setting in the order of
// StateKey, as earlier versions of the program stored them.  A numbered
// setting appends its item to the name.
struct Entry {
    const char* section;
    const char* name;
    bool numbered;
};
constexpr Entry kEntries[] = {
    {"\\VLT\\Year", "", true},
    {"\\VLT\\Month", "", true},
    {"\\VLT\\Day", "", true},
    {"\\VLT\\PlanetLI", "", true},
    {"\\VLT\\OrbsLI", "", true},
    {"\\VLT", "Geocentric", false},
    {"\\VLT", "TZ0", false},
    {"\\VLT", "NATZ", false},
    {"\\VLT", "Stop", false},
    {"\\VLT", "SrchAsp", false},
    {"\\VLT", "SrchWhn", false},
    {"\\VLT", "StateSaved", false},
    {"\\VLT\\ShowAspect", "", true},
    {"\\VLT", "InnerOuter", true},
    {"\\VLT", "ITD", false},
    // Added with price files; a settings file from before has neither.
    {"\\VLT", "PriceFile", false},
    {"\\VLT", "PriceColumn", false},
    // Added with the Moon; a settings file from before reads as unchecked.
    {"\\VLT", "ShowAllMoon", false},
    // The calendar dialog's choices, kept when it searches.
    {"\\VLT\\Calendar", "Kinds", false},
    {"\\VLT\\Calendar", "Aspects", false},
    {"\\VLT\\Calendar", "Zone", false},
};
static_assert(std::size(kEntries) == static_cast<std::size_t>(StateKey::CalendarZone) + 1);

Place PlaceOf(StateKey key, int item) {
    const Entry& e = kEntries[static_cast<std::size_t>(key)];
    std::string name = e.name;
    if (e.numbered) name += std::to_string(item);
    return Place{e.section, name};
}

}  // namespace

bool StoreStateValue(StateKey key, int item, const std::string& value) {
    const Place place = PlaceOf(key, item);
    return SaveStringSetting(place.section, place.name, value, false);
}

std::string StoredStateValue(StateKey key, int item, const std::string& fallback) {
    const Place place = PlaceOf(key, item);
    std::string value;
    GetStringSetting(place.section, place.name, value, false, fallback);
    return value;
}

bool StateWasSaved() {
    const Place place = PlaceOf(StateKey::StateSaved, 0);
    std::string saved;
    return GetStringSetting(place.section, place.name, saved, false, "");
}

}  // namespace vlt
