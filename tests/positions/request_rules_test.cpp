// The rules every front end applies to a request: planet list positions,
// orbs, aspect types, the accepted dates and the time-zone list.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/positions/request_rules.h"
#include "app/positions/vocabulary.h"

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

// The checks of a pair, a zone and a period: which inputs each refuses, with
// which kind, words and icon (an empty title: the pressed button's caption).
TEST(RequestRules, PairZoneAndPeriodRefusals) {
    struct Case {
        const char* what;
        std::optional<Refusal> refusal;
        std::optional<RefusalKind> kind;
        const char* message;
        MsgIcon icon;
    };
    const char* itself = "Transit of a planet to itself is not possible.";
    const char* order = "Second planet must be beyond first planet";
    const char* shortPeriod = "The start date must be at least 3 days prior to the end date.";
    const char* zone =
        "Please specify the timezone for the results, or use the default GMT timezone.";
    const std::vector<Case> cases = {
        {"table Mars Mars", CheckTablePair(kMars, kMars, false), RefusalKind::PlanetToItself,
         itself, MsgIcon::Exclamation},
        {"table Saturn Mars", CheckTablePair(kSaturn, kMars, false), RefusalKind::PairOutOfOrder,
         order, MsgIcon::Information},
        {"table Mars Saturn", CheckTablePair(kMars, kSaturn, false), std::nullopt, "",
         MsgIcon::None},
        {"search Mars Mars", CheckSearchPair(kMars, kMars, false), RefusalKind::PairOutOfOrder,
         order, MsgIcon::Information},
        {"search Saturn Mars", CheckSearchPair(kSaturn, kMars, false), RefusalKind::PairOutOfOrder,
         order, MsgIcon::Information},
        {"search Sun Pluto", CheckSearchPair(kSun, kPluto, false), std::nullopt, "", MsgIcon::None},
        {"table Sun Moon", CheckTablePair(kSun, kMoon, false), std::nullopt, "", MsgIcon::None},
        {"search Moon Mars", CheckSearchPair(kMoon, kMars, false), std::nullopt, "", MsgIcon::None},
        {"table Mars Moon", CheckTablePair(kMars, kMoon, false), RefusalKind::PairOutOfOrder, order,
         MsgIcon::Information},
        {"helio Moon Mars", CheckTablePair(kMoon, kMars, true), RefusalKind::MoonHeliocentric,
         kMoonGeocentricOnly, MsgIcon::Information},
        {"helio Mars Moon", CheckSearchPair(kMars, kMoon, true), RefusalKind::MoonHeliocentric,
         kMoonGeocentricOnly, MsgIcon::Information},
        {"zone none", CheckTimezoneChosen(0), RefusalKind::NoTimezone, zone, MsgIcon::None},
        {"zone first", CheckTimezoneChosen(1), std::nullopt, "", MsgIcon::None},
        {"zone GMT", CheckTimezoneChosen(kGmtIndex), std::nullopt, "", MsgIcon::None},
        {"3 days", CheckPeriodLength(2460000, 2460003), std::nullopt, "", MsgIcon::None},
        {"2 days", CheckPeriodLength(2460000, 2460002), RefusalKind::PeriodTooShort, shortPeriod,
         MsgIcon::Information},
        {"same day", CheckPeriodLength(2460000, 2460000), RefusalKind::PeriodTooShort, shortPeriod,
         MsgIcon::Information},
        {"backwards", CheckPeriodLength(2460010, 2460000), RefusalKind::PeriodTooShort, shortPeriod,
         MsgIcon::Information},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.refusal.has_value(), c.kind.has_value());
        if (!c.refusal) continue;
        EXPECT_EQ(c.refusal->kind, *c.kind);
        EXPECT_EQ(c.refusal->message, c.message);
        EXPECT_EQ(c.refusal->title, "");
        EXPECT_EQ(c.refusal->icon, c.icon);
    }
}

// Seen from the Earth, Mercury stays within 28 degrees of the Sun and Venus
// within 47, so the two within 75 of each other.  An aspect is possible when
// its angle lies within the widest orb the program offers (15 degrees) of
// that reach; the rule must refuse exactly the others, in either order of
// the pair, and leave every other pair alone.
TEST(RequestRules, GeocentricAspectsFollowTheInnerPlanetsReach) {
    struct Pair {
        std::int16_t a, b;
        double reach;
        const char* text;
    };
    const std::vector<Pair> pairs = {
        {kSun, kMercury, 28.0,
         "The only possible geocentric aspects between the Sun and Mercury\n"
         "are conjunction and semisextile."},
        {kSun, kVenus, 47.0,
         "The only possible geocentric aspects between the Sun and Venus\n"
         "are conjunction, sextile and semisextile."},
        {kMercury, kVenus, 75.0,
         "The only possible geocentric aspects between Mercury and Venus\n"
         "are conjunction, sextile and semisextile."},
    };
    const std::vector<double> angles = {0, 180, 90, 120, 60, 30, 150};  // aspects 1..7
    int refused = 0;
    for (const Pair& p : pairs) {
        for (int aspect = 1; aspect <= 7; ++aspect) {
            const bool possible = angles[static_cast<std::size_t>(aspect - 1)] - p.reach < 15.0;
            for (const auto& [first, second] : {std::pair{p.a, p.b}, std::pair{p.b, p.a}}) {
                SCOPED_TRACE(std::to_string(first) + "-" + std::to_string(second) + " aspect " +
                             std::to_string(aspect));
                const std::optional<Refusal> r = CheckGeocentricAspect(first, second, aspect);
                ASSERT_EQ(r.has_value(), !possible);
                if (!r) continue;
                ++refused;
                EXPECT_EQ(r->kind, RefusalKind::AspectNotPossible);
                EXPECT_EQ(r->message, p.text);
                EXPECT_EQ(r->title, "Search");
            }
        }
    }
    EXPECT_EQ(refused, 2 * (5 + 4 + 4));
    for (int aspect = 0; aspect <= 8; ++aspect) {
        EXPECT_FALSE(CheckGeocentricAspect(kSun, kMars, aspect));
        EXPECT_FALSE(CheckGeocentricAspect(kVenus, kPluto, aspect));
    }
    EXPECT_FALSE(CheckGeocentricAspect(kSun, kMercury, 0));  // no aspect chosen
}

TEST(RequestRules, DatesOutsideAPlanetsData) {
    const Refusal early = OutsideDataRefusal(0, true, "Jupiter");
    EXPECT_EQ(early.kind, RefusalKind::DateBeforeData);
    EXPECT_EQ(early.message, "Start date is too early for Jupiter.");
    const Refusal late = OutsideDataRefusal(1, false, "Pluto");
    EXPECT_EQ(late.kind, RefusalKind::DateAfterData);
    EXPECT_EQ(late.message, "End date is too late for Pluto.");
    EXPECT_EQ(late.icon, MsgIcon::None);
}

}  // namespace
