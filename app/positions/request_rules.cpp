#include "app/positions/request_rules.h"

#include <algorithm>
#include <cmath>

#include "app/positions/vocabulary.h"

namespace vlt {

void ShowRefusal(const Refusal& refusal, MessageBoxes& boxes, const std::string& buttonCaption) {
    boxes.Show(refusal.message, refusal.title.empty() ? buttonCaption : refusal.title,
               MsgButtons::Ok, refusal.icon);
}

std::optional<Refusal> CheckPeriodLength(std::int32_t startDay, std::int32_t endDay) {
    if (startDay <= endDay - 3) return std::nullopt;
    return Refusal{RefusalKind::PeriodTooShort,
                   "The start date must be at least 3 days prior to the end date.", "",
                   MsgIcon::Information};
}

std::optional<Refusal> CheckTimezoneChosen(int timezoneIndex) {
    if (timezoneIndex != 0) return std::nullopt;
    return Refusal{RefusalKind::NoTimezone,
                   "Please specify the timezone for the results, or use the default GMT timezone.",
                   "", MsgIcon::None};
}

namespace {

Refusal PairOutOfOrder() {
    return Refusal{RefusalKind::PairOutOfOrder, "Second planet must be beyond first planet", "",
                   MsgIcon::Information};
}

// The geocentric limits: the pair (lower planet number first), the aspects
// it can form (0 fills), and how the message words them.
struct GeocentricLimit {
    int lower;
    int upper;
    std::array<int, 3> possible;
    const char* text;
};

constexpr GeocentricLimit kGeocentricLimits[] = {
    {kSun,
     kMercury,
     {kConjunction, kSemisextile, 0},
     "The only possible geocentric aspects between the Sun and Mercury\n"
     "are conjunction and semisextile."},
    {kSun,
     kVenus,
     {kConjunction, kSextile, kSemisextile},
     "The only possible geocentric aspects between the Sun and Venus\n"
     "are conjunction, sextile and semisextile."},
    {kMercury,
     kVenus,
     {kConjunction, kSextile, kSemisextile},
     "The only possible geocentric aspects between Mercury and Venus\n"
     "are conjunction, sextile and semisextile."},
};

}  // namespace

namespace {

// The Moon's centricity before the order of the pair.
std::optional<Refusal> CheckPairOrder(int first, int second, bool heliocentric) {
    if (RefusesMoonHeliocentric(first, second, heliocentric)) {
        return Refusal{RefusalKind::MoonHeliocentric, kMoonGeocentricOnly, "",
                       MsgIcon::Information};
    }
    if (!PlanetsInOrder(first, second)) return PairOutOfOrder();
    return std::nullopt;
}

}  // namespace

std::optional<Refusal> CheckTablePair(int first, int second, bool heliocentric) {
    if (first == second) {
        return Refusal{RefusalKind::PlanetToItself,
                       "Transit of a planet to itself is not possible.", "", MsgIcon::Exclamation};
    }
    return CheckPairOrder(first, second, heliocentric);
}

std::optional<Refusal> CheckSearchPair(int first, int second, bool heliocentric) {
    return CheckPairOrder(first, second, heliocentric);
}

std::optional<Refusal> CheckGeocentricAspect(int first, int second, int aspect) {
    if (aspect < 1 || aspect > kAspectCount) return std::nullopt;
    const int lower = std::min(first, second);
    const int upper = std::max(first, second);
    for (const GeocentricLimit& limit : kGeocentricLimits) {
        if (limit.lower != lower || limit.upper != upper) continue;
        const auto& possible = limit.possible;
        if (std::find(possible.begin(), possible.end(), aspect) != possible.end()) {
            return std::nullopt;
        }
        return Refusal{RefusalKind::AspectNotPossible, limit.text, "Search", MsgIcon::Information};
    }
    return std::nullopt;
}

Refusal OutsideDataRefusal(int date, bool beforeData, const std::string& planetName) {
    return Refusal{beforeData ? RefusalKind::DateBeforeData : RefusalKind::DateAfterData,
                   std::string(date == 0 ? "Start date" : "End date") +
                       (beforeData ? " is too early for " : " is too late for ") + planetName + ".",
                   "", MsgIcon::None};
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
