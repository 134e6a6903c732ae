#include "app/positions/vocabulary.h"

#include <string_view>

namespace vlt {

std::array<AspectRecord, 8> AspectNames{};
std::array<double, 8> AspectAngles{};

void SetUpAspectNames() {
    AspectNames[0] = AspectRecord{};
    AspectAngles[0] = 0.0;
    for (const AspectInfo& a : kAspectTable) {
        const auto n = static_cast<std::size_t>(Number(a.aspect));
        AspectNames[n] = {std::string(a.abbreviation), std::string(a.name), std::string(a.relation),
                          std::string(a.adjective), std::string(a.label)};
        AspectAngles[n] = a.angle;
    }
}

std::optional<Aspect> AspectOfName(std::string_view name) {
    for (const AspectInfo& a : kAspectTable) {
        if (a.name == name) return a.aspect;
    }
    return std::nullopt;
}

namespace {

struct PlanetNames {
    std::string_view name;
    std::string_view abbreviation;
};

PlanetNames NamesOf(Planet p, Centricity c) {
    static constexpr PlanetNames kNames[] = {
        {"Mercury", "Me"}, {"Venus", "Ve"},   {"Mars", "Ma"},  {"Jupiter", "Ju"}, {"Saturn", "Sa"},
        {"Uranus", "Ur"},  {"Neptune", "Ne"}, {"Pluto", "Pl"}, {"Moon", "Mo"},
    };
    if (p == Planet::Sun)
        return IsHeliocentric(c) ? PlanetNames{"Earth", "Ea"} : PlanetNames{"Sun", "Su"};
    return kNames[Number(p) - kMercury];
}

}  // namespace

std::string_view Name(Planet p, Centricity c) { return NamesOf(p, c).name; }
std::string_view Abbreviation(Planet p, Centricity c) { return NamesOf(p, c).abbreviation; }

std::string PlanetName(std::int16_t planet, bool heliocentric, bool abbreviated) {
    // Any number outside the planets reads as the Sun (or the Earth).
    const Planet p = PlanetOfNumber(planet).value_or(Planet::Sun);
    const Centricity c = CentricityOf(heliocentric);
    return std::string(abbreviated ? Abbreviation(p, c) : Name(p, c));
}

}  // namespace vlt
