#include "app/positions/timezone_list.h"

#include <cmath>

namespace vlt {

std::vector<std::string> TimezoneEntryTexts(bool northAmericanLabels) {
    std::vector<std::string> t;
    t.reserve(kTimezoneCount);
    t.emplace_back("");
    for (int h = 11; h >= 0; --h) {
        t.push_back("GMT-" + std::to_string(h) + ":30");
        t.push_back(h != 0 ? "GMT-" + std::to_string(h) + ":00" : std::string("GMT"));
    }
    for (int h = 0; h <= 11; ++h) {
        if (h > 0) t.push_back("GMT+" + std::to_string(h) + ":00");
        t.push_back("GMT+" + std::to_string(h) + ":30");
    }
    if (northAmericanLabels) {
        static const struct {
            int index;
            const char* text;
        } kLabels[] = {{4, "HAST"},     {6, "AKST/HADT"}, {8, "PST/AKDT"}, {10, "MST/PDT"},
                       {12, "CST/MDT"}, {14, "EST/CDT"},  {16, "AST/EDT"}, {17, "NST"},
                       {18, "ADT"},     {19, "NDT"}};
        for (const auto& l : kLabels) t[static_cast<std::size_t>(l.index)] = l.text;
    }
    return t;
}

std::int16_t MinutesEastOfGmt(std::int32_t secondsWest) {
    return static_cast<std::int16_t>(std::nearbyint(-static_cast<double>(secondsWest) / 60.0));
}

}  // namespace vlt
