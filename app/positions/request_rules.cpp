#include "app/positions/request_rules.h"

#include <cmath>

#include "app/positions/vocabulary.h"

namespace vlt {

void ShowRefusal(const Refusal& refusal, MessageBoxes& boxes, const std::string& buttonCaption) {
    boxes.Show(refusal.message, refusal.title.empty() ? buttonCaption : refusal.title,
               MsgButtons::Ok, refusal.icon);
}

std::int16_t FirstPlanetOfListIndex(int index) {
    if (index == kMoonListIndex) return kMoon;
    return static_cast<std::int16_t>(index < 0 ? kPluto : index + 1);
}

std::int16_t SecondPlanetOfListIndex(int index) {
    if (index == kMoonListIndex) return kMoon;
    return static_cast<std::int16_t>(index + 2);
}

int FirstListIndexOfPlanet(int planet) {
    if (planet == kMoon) return kMoonListIndex;
    return planet == kPluto ? -1 : planet - 1;
}

int SecondListIndexOfPlanet(int planet) {
    if (planet == kMoon) return kMoonListIndex;
    return planet - 2;
}

int PlanetOrderRank(int planet) {
    // Twice the planet number leaves room for the Moon between the Sun (2)
    // and Mercury (4).
    return planet == kMoon ? 2 * kSun + 1 : 2 * planet;
}

bool PlanetsInOrder(int first, int second) {
    return PlanetOrderRank(first) < PlanetOrderRank(second);
}

bool RefusesMoonHeliocentric(int first, int second, bool heliocentric) {
    return heliocentric && (first == kMoon || second == kMoon);
}

bool ShowAllPairsWithMoon(int keptPlanet, bool withMoon, bool heliocentric) {
    if (heliocentric) return false;
    return withMoon || keptPlanet == kMoon;
}

std::int16_t OrbDegreesOfListIndex(int index) { return static_cast<std::int16_t>(index + 1); }

std::int16_t SearchOrbDegreesOfListIndex(int index) { return static_cast<std::int16_t>(index + 3); }

int OrbListIndexOfDegrees(int degrees) { return degrees - 1; }

int SearchOrbListIndexOfDegrees(int degrees) { return degrees - 3; }

bool OrbsStrictlyDecreasing(int outer, int middle, int inner) {
    return outer > middle && middle > inner;
}

std::optional<Refusal> CheckOrbs(int outer, int middle, int inner) {
    if (OrbsStrictlyDecreasing(outer, middle, inner)) return std::nullopt;
    return Refusal{RefusalKind::OrbsNotDecreasing, "Orbs must be strictly decreasing.",
                   "Orb values", MsgIcon::Information};
}

std::optional<Refusal> CheckOrbs(const Orbs& orbs) {
    return CheckOrbs(orbs.outer, orbs.middle, orbs.inner);
}

std::optional<Refusal> CheckAspectTypesChosen(const std::array<bool, 7>& checked) {
    for (bool on : checked) {
        if (on) return std::nullopt;
    }
    return Refusal{RefusalKind::NoAspectType, "At least one aspect type must be checked.",
                   "Aspect type", MsgIcon::None};
}

bool GregorianDateExists(std::int64_t year, std::int64_t month, std::int64_t day) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + ((month == 2 && leap) ? 1 : 0);
}

Refusal InvalidDateRefusal(int date) {
    return Refusal{RefusalKind::DateInvalid,
                   std::string("The ") + (date == 0 ? "start" : "end") + " date is invalid.",
                   "Invalid input", MsgIcon::Information};
}

std::optional<Refusal> CheckDateExists(int date, std::int64_t year, std::int64_t month,
                                       std::int64_t day) {
    if (GregorianDateExists(year, month, day)) return std::nullopt;
    return InvalidDateRefusal(date);
}

std::optional<Refusal> CheckDateSpan(int date, std::int32_t dayNumber) {
    if (dayNumber < kFirstSupportedDay) {
        return Refusal{RefusalKind::DateTooEarly,
                       std::string(date == 0 ? "Start" : "End") + " date is too early", "",
                       MsgIcon::Information};
    }
    if (dayNumber >= kSupportedDayLimit) {
        // Either date reads "End": a start this late ends the period too.
        return Refusal{RefusalKind::DateTooLate, "End date is too late", "", MsgIcon::Information};
    }
    return std::nullopt;
}

std::optional<Refusal> CheckPeriod(const Period& period) {
    if (std::optional<Refusal> refusal = CheckDateSpan(0, period.startDay)) return refusal;
    return CheckDateSpan(1, period.endDay);
}

std::int16_t TimezoneMinutesOfIndex(int index) {
    return static_cast<std::int16_t>((index - kGmtIndex) * 30);
}

int TimezoneIndexOfMinutes(int minutesEast) {
    return static_cast<int>(std::nearbyint(minutesEast / 30.0)) + kGmtIndex;
}

}  // namespace vlt
