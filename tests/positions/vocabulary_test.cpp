// The typed vocabulary: the one aspect table, the planet and aspect numbers
// the older interfaces take, and the request values.

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <optional>
#include <set>
#include <string>

#include "app/positions/request_rules.h"
#include "app/positions/vocabulary.h"

namespace {

using namespace vlt;

TEST(Vocabulary, AspectTableHoldsEveryAspectOnceInNumberOrder) {
    std::set<std::string_view> names;
    std::set<std::string_view> abbreviations;
    for (std::size_t k = 0; k < kAspectTable.size(); ++k) {
        const AspectInfo& a = kAspectTable[k];
        EXPECT_EQ(Number(a.aspect), static_cast<int>(k) + 1);
        EXPECT_EQ(&Info(a.aspect), &a);
        names.insert(a.name);
        abbreviations.insert(a.abbreviation);
        // The label is the lower-case name with the angle in degrees.
        std::string lower(a.name);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(a.label, lower + " (" + std::to_string(a.degrees) + "\xC2\xB0)");
        EXPECT_NEAR(a.angle, a.degrees * std::acos(-1.0) / 180.0, 1e-13) << a.name;
        EXPECT_EQ(AspectOfName(a.name), a.aspect);
    }
    EXPECT_EQ(names.size(), 7u);
    EXPECT_EQ(abbreviations.size(), 7u);
    EXPECT_EQ(AspectOfName("square"), std::nullopt);  // names match exactly
    EXPECT_EQ(AspectOfName(""), std::nullopt);
}

TEST(Vocabulary, NumbersConvertToTypedValuesOnlyInRange) {
    const struct {
        int number;
        std::optional<Aspect> aspect;
        std::optional<Planet> planet;
    } cases[] = {
        {0, std::nullopt, std::nullopt},    {1, Aspect::Conjunction, Planet::Sun},
        {3, Aspect::Square, Planet::Venus}, {7, Aspect::Quincunx, Planet::Uranus},
        {8, std::nullopt, Planet::Neptune}, {9, std::nullopt, Planet::Pluto},
        {10, std::nullopt, Planet::Moon},   {11, std::nullopt, std::nullopt},
        {-1, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AspectOfNumber(c.number), c.aspect) << c.number;
        EXPECT_EQ(PlanetOfNumber(c.number), c.planet) << c.number;
        if (c.planet) {
            EXPECT_EQ(Number(*c.planet), c.number);
        }
        if (c.aspect) {
            EXPECT_EQ(Number(*c.aspect), c.number);
        }
    }
}

TEST(Vocabulary, PlanetNamesFollowCentricityOnlyForTheSun) {
    const struct {
        Planet planet;
        Centricity centricity;
        const char* name;
        const char* abbreviation;
    } cases[] = {
        {Planet::Sun, Centricity::Geocentric, "Sun", "Su"},
        {Planet::Sun, Centricity::Heliocentric, "Earth", "Ea"},
        {Planet::Mercury, Centricity::Heliocentric, "Mercury", "Me"},
        {Planet::Mars, Centricity::Geocentric, "Mars", "Ma"},
        {Planet::Pluto, Centricity::Geocentric, "Pluto", "Pl"},
        {Planet::Moon, Centricity::Heliocentric, "Moon", "Mo"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Name(c.planet, c.centricity), c.name);
        EXPECT_EQ(Abbreviation(c.planet, c.centricity), c.abbreviation);
        // The number-taking form gives the same words.
        EXPECT_EQ(PlanetName(Number(c.planet), IsHeliocentric(c.centricity), false), c.name);
        EXPECT_EQ(PlanetName(Number(c.planet), IsHeliocentric(c.centricity), true), c.abbreviation);
    }
}

TEST(RequestValues, OrbsAreRefusedUnlessStrictlyDecreasing) {
    const struct {
        Orbs orbs;
        bool accepted;
    } cases[] = {
        {{10, 5, 2}, true}, {{15, 14, 13}, true}, {{3, 2, 1}, true},
        {{5, 5, 2}, false}, {{10, 5, 5}, false},  {{2, 5, 10}, false},
    };
    for (const auto& c : cases) {
        const std::optional<Refusal> refusal = CheckOrbs(c.orbs);
        EXPECT_EQ(!refusal.has_value(), c.accepted) << c.orbs.outer << c.orbs.middle;
        if (refusal) {
            EXPECT_EQ(refusal->kind, RefusalKind::OrbsNotDecreasing);
        }
    }
}

TEST(RequestValues, TimeZonesAndListPositionsMapBothWays) {
    const struct {
        int index;
        int minutes;
    } cases[] = {{24, 0}, {0, -720}, {1, -690}, {34, 300}, {47, 690}, {13, -330}};
    for (const auto& c : cases) {
        EXPECT_EQ(TimeZone::OfListIndex(c.index).minutesEast, c.minutes);
        EXPECT_EQ(TimeZone{static_cast<std::int16_t>(c.minutes)}.ListIndex(), c.index);
    }
}

TEST(RequestValues, PeriodsOutsideTheSupportedDaysAreRefused) {
    const struct {
        Period period;
        std::optional<RefusalKind> refusal;
        const char* message;
    } cases[] = {
        {{2451545, 2451910}, std::nullopt, ""},
        {{kFirstSupportedDay, kSupportedDayLimit - 1}, std::nullopt, ""},
        {{kFirstSupportedDay - 1, 2451910}, RefusalKind::DateTooEarly, "Start date is too early"},
        {{2451545, kFirstSupportedDay - 1}, RefusalKind::DateTooEarly, "End date is too early"},
        {{2451545, kSupportedDayLimit}, RefusalKind::DateTooLate, "End date is too late"},
        {{kSupportedDayLimit, 2451545}, RefusalKind::DateTooLate, "End date is too late"},
    };
    for (const auto& c : cases) {
        const std::optional<Refusal> refusal = CheckPeriod(c.period);
        ASSERT_EQ(refusal.has_value(), c.refusal.has_value()) << c.period.startDay;
        if (refusal) {
            EXPECT_EQ(refusal->kind, *c.refusal);
            EXPECT_EQ(refusal->message, c.message);
        }
    }
    EXPECT_EQ((Period{2451545, 2451545}).Days(), 1);
}

}  // namespace
