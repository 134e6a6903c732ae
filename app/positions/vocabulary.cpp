#include "app/positions/vocabulary.h"

#include <string_view>

namespace vlt {

std::array<AspectRecord, 8> AspectNames{};
std::array<double, 8> AspectAngles{};

void SetUpAspectNames() {
    // The label ends in the degree sign (U+00B0, UTF-8) and ")".
    const std::string closing = "\u00b0)";
    AspectNames[0] = AspectRecord{};
    AspectNames[1] = {"Con", "Conjunction", "conjunct", "conjunct", "conjunction (0" + closing};
    AspectNames[2] = {"Opp", "Opposition", "opposite", "opposite", "opposition (180" + closing};
    AspectNames[3] = {"Sqr", "Square", "square to", "square", "square (90" + closing};
    AspectNames[4] = {"Tri", "Trine", "trine to", "trine", "trine (120" + closing};
    AspectNames[5] = {"Sxt", "Sextile", "sextile to", "sextile", "sextile (60" + closing};
    AspectNames[6] = {"Ssx", "Semisextile", "semisextile to", "semisextile",
                      "semisextile (30" + closing};
    AspectNames[7] = {"Qui", "Quincunx", "quincunx to", "quincunx", "quincunx (150" + closing};
}

std::string PlanetName(std::int16_t planet, bool heliocentric, bool abbreviated) {
    struct Names {
        std::string_view name;
        std::string_view abbreviation;
    };
    static constexpr Names kNames[] = {
        {"Mercury", "Me"}, {"Venus", "Ve"},   {"Mars", "Ma"},  {"Jupiter", "Ju"}, {"Saturn", "Sa"},
        {"Uranus", "Ur"},  {"Neptune", "Ne"}, {"Pluto", "Pl"}, {"Moon", "Mo"},
    };
    Names chosen = heliocentric ? Names{"Earth", "Ea"} : Names{"Sun", "Su"};
    if (planet >= kMercury && planet <= kMoon) chosen = kNames[planet - kMercury];
    return std::string(abbreviated ? chosen.abbreviation : chosen.name);
}

}  // namespace vlt
