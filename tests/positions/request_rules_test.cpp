// The rules every front end applies to a request: planet list positions,
// orbs, aspect types, the accepted dates and the time-zone list.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/positions/request_rules.h"

namespace {

using namespace vlt;

TEST(RequestRules, PlanetListPositionsAndNumbersMapBothWays) {
    const struct {
        int list;  // 0 first, 1 second
        int index;
        int planet;
    } cases[] = {
        {0, -1, 9}, {0, 0, 1}, {0, 3, 4}, {0, 7, 8},  // no selection in the first list: Pluto
        {1, 0, 2},  {1, 3, 5}, {1, 7, 9}, {0, 8, 10},
        {1, 8, 10},  // the Moon, appended to both lists
    };
    for (const auto& c : cases) {
        const int planet =
            c.list == 0 ? FirstPlanetOfListIndex(c.index) : SecondPlanetOfListIndex(c.index);
        const int index =
            c.list == 0 ? FirstListIndexOfPlanet(c.planet) : SecondListIndexOfPlanet(c.planet);
        EXPECT_EQ(planet, c.planet) << "list " << c.list << " index " << c.index;
        EXPECT_EQ(index, c.index) << "list " << c.list << " planet " << c.planet;
    }
}

TEST(RequestRules, TheMoonRanksRightAfterTheSun) {
    const struct {
        int first, second;
        bool inOrder;
    } cases[] = {
        {1, 10, true},  {10, 2, true},  {10, 4, true},  {10, 9, true},   {4, 10, false},
        {9, 10, false}, {2, 10, false}, {10, 1, false}, {10, 10, false}, {4, 5, true},
        {5, 4, false},  {1, 2, true},   {8, 9, true},   {4, 4, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlanetsInOrder(c.first, c.second), c.inOrder) << c.first << "-" << c.second;
    }
}

TEST(RequestRules, TheMoonIsGeocentricOnly) {
    EXPECT_TRUE(RefusesMoonHeliocentric(1, 10, true));
    EXPECT_TRUE(RefusesMoonHeliocentric(10, 4, true));
    EXPECT_FALSE(RefusesMoonHeliocentric(10, 4, false));
    EXPECT_FALSE(RefusesMoonHeliocentric(1, 4, true));
}

TEST(RequestRules, ShowAllTakesTheMoonOnlyWhenKeptOrAskedFor) {
    const struct {
        int kept;
        bool withMoon, heliocentric, paired;
    } cases[] = {
        {10, false, false, true}, {4, true, false, true},   {1, true, false, true},
        {4, false, false, false}, {1, false, false, false}, {9, false, false, false},
        {4, true, true, false},   {10, false, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowAllPairsWithMoon(c.kept, c.withMoon, c.heliocentric), c.paired)
            << c.kept << " " << c.withMoon << " " << c.heliocentric;
    }
}

TEST(RequestRules, OrbListPositionsAreDegrees) {
    EXPECT_EQ(OrbDegreesOfListIndex(0), 1);
    EXPECT_EQ(OrbDegreesOfListIndex(14), 15);
    EXPECT_EQ(SearchOrbDegreesOfListIndex(0), 3);
    EXPECT_EQ(SearchOrbDegreesOfListIndex(3), 6);
    for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(OrbListIndexOfDegrees(OrbDegreesOfListIndex(k)), k);
        EXPECT_EQ(SearchOrbListIndexOfDegrees(SearchOrbDegreesOfListIndex(k)), k);
    }
}

TEST(RequestRules, OrbsMustBeStrictlyDecreasing) {
    const struct {
        int outer, middle, inner;
        bool accepted;
    } cases[] = {
        {10, 5, 2, true}, {3, 2, 1, true},   {5, 5, 2, false},
        {6, 2, 2, false}, {2, 5, 10, false}, {6, 7, 2, false},
    };
    for (const auto& c : cases) {
        const std::optional<Refusal> r = CheckOrbs(c.outer, c.middle, c.inner);
        EXPECT_EQ(!r, c.accepted) << c.outer << "," << c.middle << "," << c.inner;
        EXPECT_EQ(OrbsStrictlyDecreasing(c.outer, c.middle, c.inner), c.accepted);
        if (r) {
            EXPECT_EQ(r->kind, RefusalKind::OrbsNotDecreasing);
            EXPECT_EQ(r->message, "Orbs must be strictly decreasing.");
            EXPECT_EQ(r->title, "Orb values");
            EXPECT_EQ(r->icon, MsgIcon::Information);
        }
    }
}

TEST(RequestRules, AtLeastOneAspectType) {
    std::array<bool, 7> checked{};
    const std::optional<Refusal> none = CheckAspectTypesChosen(checked);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->kind, RefusalKind::NoAspectType);
    EXPECT_EQ(none->message, "At least one aspect type must be checked.");
    EXPECT_EQ(none->title, "Aspect type");
    EXPECT_EQ(none->icon, MsgIcon::None);
    for (std::size_t k = 0; k < checked.size(); ++k) {
        std::array<bool, 7> one{};
        one[k] = true;
        EXPECT_FALSE(CheckAspectTypesChosen(one)) << "box " << k;
    }
}

TEST(RequestRules, GregorianCalendarDays) {
    const struct {
        long long y, m, d;
        bool exists;
    } cases[] = {
        {2024, 2, 29, true},  {2023, 2, 29, false}, {1900, 2, 29, false}, {2000, 2, 29, true},
        {2024, 4, 31, false}, {2024, 12, 31, true}, {2024, 13, 1, false}, {2024, 0, 1, false},
        {2024, 1, 0, false},  {0, 1, 1, false},     {1, 1, 1, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GregorianDateExists(c.y, c.m, c.d), c.exists) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(RequestRules, DaysThatDoNotExistAreRefusedByName) {
    const struct {
        int date;
        long long y, m, d;
        const char* message;  // empty: accepted
    } cases[] = {
        {0, 2023, 2, 29, "The start date is invalid."},
        {1, 2023, 2, 29, "The end date is invalid."},
        {1, 2024, 2, 29, ""},
        {0, 0, 1, 1, "The start date is invalid."},
    };
    for (const auto& c : cases) {
        const std::optional<Refusal> r = CheckDateExists(c.date, c.y, c.m, c.d);
        EXPECT_EQ(r ? r->message : std::string(), c.message) << c.y << "-" << c.m << "-" << c.d;
        if (r) {
            EXPECT_EQ(r->kind, RefusalKind::DateInvalid);
            EXPECT_EQ(r->title, "Invalid input");
        }
    }
}

TEST(RequestRules, SupportedDateSpan) {
    const struct {
        int date;
        std::int32_t day;
        const char* message;  // empty: accepted
    } cases[] = {
        {0, 1721425, "Start date is too early"},
        {1, 1721425, "End date is too early"},
        {0, 1721426, ""},
        {1, 2743738, ""},
        {0, 2743739, "End date is too late"},
        {1, 2743739, "End date is too late"},
    };
    for (const auto& c : cases) {
        const std::optional<Refusal> r = CheckDateSpan(c.date, c.day);
        EXPECT_EQ(r ? r->message : std::string(), c.message) << c.date << " " << c.day;
        if (r) {
            EXPECT_TRUE(r->title.empty());  // titled with the pressed button's caption
            EXPECT_EQ(r->icon, MsgIcon::Information);
        }
    }
}

TEST(RequestRules, TimezoneListPositionsAndMinutes) {
    const struct {
        int index;
        int minutes;
    } cases[] = {{24, 0}, {14, -300}, {1, -690}, {47, 690}, {35, 330}, {25, 30}};
    for (const auto& c : cases) {
        EXPECT_EQ(TimezoneMinutesOfIndex(c.index), c.minutes) << c.index;
        EXPECT_EQ(TimezoneIndexOfMinutes(c.minutes), c.index) << c.minutes;
    }
    EXPECT_EQ(kGmtIndex, 24);
    // GMT+5:45 lies between two entries: halves go to the even neighbour.
    EXPECT_EQ(TimezoneIndexOfMinutes(345), 36);
    EXPECT_EQ(TimezoneIndexOfMinutes(-15), 24);
}

}  // namespace
