#include "app/window/state_keys.h"

#include "app/support/settings_store.h"

namespace vlt {
namespace {

struct Place {
    std::string section;
    std::string name;
};

// The section and name of every setting, as earlier versions of
// the program stored them.
Place PlaceOf(StateKey key, int item) {
    const std::string index = std::to_string(item);
    switch (key) {
        case StateKey::Year:
            return {"\\VLT\\Year", index};
        case StateKey::Month:
            return {"\\VLT\\Month", index};
        case StateKey::Day:
            return {"\\VLT\\Day", index};
        case StateKey::PlanetIndex:
            return {"\\VLT\\PlanetLI", index};
        case StateKey::OrbIndex:
            return {"\\VLT\\OrbsLI", index};
        case StateKey::Geocentric:
            return {"\\VLT", "Geocentric"};
        case StateKey::Timezone:
            return {"\\VLT", "TZ0"};
        case StateKey::ZoneNames:
            return {"\\VLT", "NATZ"};
        case StateKey::StopDate:
            return {"\\VLT", "Stop"};
        case StateKey::SearchAspect:
            return {"\\VLT", "SrchAsp"};
        case StateKey::SearchWhen:
            return {"\\VLT", "SrchWhn"};
        case StateKey::StateSaved:
            return {"\\VLT", "StateSaved"};
        case StateKey::ShowAspect:
            return {"\\VLT\\ShowAspect", index};
        case StateKey::InnerOuter:
            return {"\\VLT", "InnerOuter" + index};
        case StateKey::IncludeDetails:
            return {"\\VLT", "ITD"};
    }
    return {"\\VLT", ""};
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
