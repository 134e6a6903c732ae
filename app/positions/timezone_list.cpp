#include "app/positions/timezone_list.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace vlt {

namespace {

std::string LowerAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

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

int TimezoneIndex(const std::string& text, bool labels, bool& isLabel) {
    isLabel = false;
    const std::vector<std::string> plain = TimezoneEntryTexts(false);
    const std::vector<std::string> labelled = TimezoneEntryTexts(true);
    const std::string t = LowerAscii(text);
    for (int k = 1; k < kTimezoneCount; ++k) {
        if (t == LowerAscii(plain[static_cast<std::size_t>(k)])) return k;
    }
    for (int k = 1; k < kTimezoneCount; ++k) {
        if (t == LowerAscii(labelled[static_cast<std::size_t>(k)])) {
            isLabel = true;
            return labels ? k : 0;
        }
    }
    return 0;
}

}  // namespace vlt
