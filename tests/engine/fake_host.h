#pragma once
// The inputs of the transit commands' tests, held as the window's controls
// hold them (list positions, day numbers) and turned into the typed requests
// the commands take, beside the tests' shared run host.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "app/engine/transit_commands.h"
#include "app/engine/transit_service.h"
#include "app/positions/request_rules.h"
#include "app/support/date_processing.h"
#include "tests/common/fake_run_host.h"

namespace vlt::testing {

struct Choices {
    bool heliocentric = false;
    std::array<bool, 7> aspectChecked{true, true, true, true, true, true, true};
    std::array<int, 4> orbIndex{9, 4, 1, 3};  // outer, middle, inner, search orb
    int timezoneIndex = kGmtIndex;
    std::string timezoneText = "GMT";
    int searchAspectIndex = 0;  // aspect type - 1
    int searchWhenIndex = 0;    // 0 from the start date, 1 from the end date
    bool showAllWithMoon = false;
};

inline CalendarDate DateOfDay(std::int32_t day) {
    DateRecord r{};
    r.jdn = day;
    r.calendar = kCalendarGregorian;
    DayNumberToDate(r);
    return CalendarDate{r.year, r.month, r.day};
}

// The tests' Pluto tables are in memory whatever the data folder holds.
inline void AssumePlutoTables(TransitCommands& commands) {
    commands.SetPlutoTableProblem([](bool) { return std::string(); });
}

// Planet lists as the window holds them: first list Sun/Earth..Neptune,
// second list Mercury..Pluto, each ending with the Moon; -1 in the first
// list is Pluto.
class FakeWindow {
public:
    TablesRequest Tables() const {
        TablesRequest r;
        Fill(r);
        r.aspects = inputs.aspectChecked;
        for (std::size_t level = 0; level < 3; ++level) {
            r.orbDegrees[level] = OrbDegreesOfListIndex(inputs.orbIndex[level]);
        }
        return r;
    }
    SearchRequest Searched() const {
        SearchRequest r;
        Fill(r);
        r.aspect = inputs.searchAspectIndex + 1;
        r.orbDegrees = SearchOrbDegreesOfListIndex(inputs.orbIndex[3]);
        r.fromEnd = inputs.searchWhenIndex == 1;
        return r;
    }
    // The request of show-all button `item`: 1 keeps the first planet.
    ShowAllRequest ShowAll(int item) const {
        ShowAllRequest r;
        static_cast<TablesRequest&>(r) = Tables();
        r.keepFirst = item == 1;
        r.withMoon = inputs.showAllWithMoon;
        return r;
    }

    Choices inputs;
    int first = 3, second = 3;                 // Mars, Jupiter
    std::int32_t day[2] = {2451545, 2451585};  // 2000-01-01, 2000-02-10

private:
    void Fill(TransitBasics& r) const {
        r.firstPlanet = FirstPlanetOfListIndex(first);
        r.secondPlanet = SecondPlanetOfListIndex(second);
        r.heliocentric = inputs.heliocentric;
        r.start = DateOfDay(day[0]);
        r.end = DateOfDay(day[1]);
        r.timezoneIndex = inputs.timezoneIndex;
        r.timezoneLabel = inputs.timezoneText;
    }
};

}  // namespace vlt::testing
