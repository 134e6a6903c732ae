#pragma once
// In-memory window for the engine's tests: the transit commands' window
// inputs, beside the tests' shared run host.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/engine/transit_window.h"
#include "app/support/run_host.h"
#include "tests/common/fake_run_host.h"

namespace vlt::testing {

// Planet lists as the window holds them: first list Sun/Earth..Neptune,
// second list Mercury..Pluto, each ending with the Moon.
class FakeWindow final : public TransitWindow {
public:
    explicit FakeWindow(FakeRunHost& host) : host_(host) {}

    TransitInputs Inputs() const override {
        TransitInputs in = inputs;
        in.firstPlanetIndex = first;
        in.secondPlanetIndex = second;
        in.firstPlanetText = first < 0 ? "" : FirstList()[static_cast<std::size_t>(first)];
        in.secondPlanetText = second < 0 ? "" : SecondList()[static_cast<std::size_t>(second)];
        return in;
    }
    bool CheckDateFieldsPresent(int date) override { return present[date]; }
    bool ValidateDate(int date) override { return valid[date]; }
    std::int32_t DayNumber(int date) const override { return day[date]; }
    void SelectTimezone(int index) override { inputs.timezoneIndex = index; }
    int PlanetListCount(int) const override { return 9; }
    int PlanetListIndex(int list) const override { return list == 0 ? first : second; }
    void SelectPlanet(int list, int index) override {
        (list == 0 ? first : second) = index;
        selections.push_back({list, index});
        // The list's click handling recaptions the Start button.
        const TransitInputs in = Inputs();
        host_.captionStore =
            (first < 0 ? std::string() : in.firstPlanetText) + " and " + in.secondPlanetText;
        host_.startCaption = host_.captionStore;
    }
    void ShowDateInFields(int date, std::int32_t dayNumber) override {
        shownDates.push_back({date, dayNumber});
    }

    std::vector<std::string> FirstList() const {
        return {inputs.heliocentric ? "Earth" : "Sun",
                "Mercury",
                "Venus",
                "Mars",
                "Jupiter",
                "Saturn",
                "Uranus",
                "Neptune",
                "Moon"};
    }
    static std::vector<std::string> SecondList() {
        return {"Mercury", "Venus",   "Mars",  "Jupiter", "Saturn",
                "Uranus",  "Neptune", "Pluto", "Moon"};
    }

    TransitInputs inputs;
    int first = 3, second = 3;  // Mars, Jupiter
    bool present[2] = {true, true};
    bool valid[2] = {true, true};
    std::int32_t day[2] = {0, 0};
    std::vector<std::pair<int, int>> selections;
    std::vector<std::pair<int, std::int32_t>> shownDates;

private:
    FakeRunHost& host_;
};

}  // namespace vlt::testing
