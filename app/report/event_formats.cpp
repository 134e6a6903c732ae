#include "app/report/event_formats.h"

#include <nlohmann/json.hpp>

namespace vlt {

void WriteEventsJson(std::ostream& out, const std::vector<SkyEvent>& events,
                     const EventZone& zone) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const SkyEvent& e : events) {
        nlohmann::ordered_json j;
        j["time"] = IsoTime(ToLocal(e.jd, zone));
        j["kind"] = KindWord(e.kind);
        j["bodies"] = nlohmann::ordered_json::array({BodyName(e.body)});
        if (e.other) j["bodies"].push_back(BodyName(*e.other));
        if (e.aspect) j["aspect"] = AspectWord(*e.aspect);
        if (e.phase) j["phase"] = PhaseWord(*e.phase);
        if (e.motion) j["direction"] = MotionWord(*e.motion);
        if (e.sign) j["sign"] = SignName(*e.sign);
        j["longitude"] = RoundedLongitude(e.longitude);
        list.push_back(std::move(j));
    }
    nlohmann::ordered_json doc;
    doc["events"] = std::move(list);
    out << doc.dump(2) << '\n';
}

}  // namespace vlt
