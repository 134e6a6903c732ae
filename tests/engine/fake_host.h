#pragma once
// In-memory window for the engine's tests: an output box, scripted message
// boxes (an unexpected box fails the test), the run flags and captions, and
// the transit commands' window inputs.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/engine/transit_window.h"
#include "app/support/run_host.h"

namespace vlt::testing {

class FakeOutput final : public OutputBox {
public:
    const std::string& Text() const override { return text; }
    void Append(const std::string& piece) override { text += piece; }
    void Clear() override { text.clear(); }
    void MoveCaretToEnd() override { ++caretMoves; }
    void Refresh() override {}

    std::string text;
    int caretMoves = 0;
};

struct ShownBox {
    std::string text;
    std::string title;
    MsgButtons buttons;
    MsgIcon icon;
};

// Each expected box names its text and the answer; boxes must come in order.
class ScriptedBoxes final : public MessageBoxes {
public:
    struct Expect {
        std::string text;
        MsgResult answer = MsgResult::Ok;
    };
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override {
        shown.push_back({text, title, buttons, icon});
        if (script.empty()) {
            ADD_FAILURE() << "unexpected message box: \"" << text << "\" titled \"" << title
                          << "\"";
            return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
        }
        Expect next = script.front();
        script.pop_front();
        EXPECT_EQ(next.text, text);
        return next.answer;
    }
    void ExpectBox(const std::string& text, MsgResult answer = MsgResult::Ok) {
        script.push_back({text, answer});
    }

    std::deque<Expect> script;
    std::vector<ShownBox> shown;
};

struct Notice {
    std::string text;
    int width, height, milliseconds;
};

class FakeHost final : public RunHost {
public:
    OutputBox& Output() override { return output; }
    MessageBoxes& Boxes() override { return boxes; }

    void EnterBusyState(bool simulation) override {
        ++busyEntered;
        busy = true;
        EXPECT_FALSE(simulation);
        startCaption = "Pause";
        if (onEnterBusy) onEnterBusy();
    }
    void LeaveBusyState() override {
        ++busyLeft;
        busy = false;
        startCaption = captionStore;
    }
    void YieldToEvents() override {
        ++yields;
        if (onYield) onYield(yields);
    }
    bool PauseRequested() const override { return pause; }
    void SetPauseRequested(bool on) override { pause = on; }
    bool StopRequested() const override { return stop; }
    void SetStopRequested(bool on) override { stop = on; }
    bool QuitRequested() const override { return quit; }

    std::string WindowCaption() const override { return "Veltaro 1.0"; }
    std::string StartCaption() const override { return startCaption; }
    void RestoreStartCaption() override { startCaption = captionStore; }
    void SetSimulateCaption(const std::string&) override {}

    bool AppendChecked() const override { return appendChecked; }
    void SetAppendChecked(bool checked) override { appendChecked = checked; }
    void ShowAppendCheckBox(bool visible) override { appendVisible = visible; }

    void ApplyRunGeometry() override { ++geometryApplied; }
    void ShrinkToMinimumHeight() override { ++shrunk; }
    void PopUpNotice(const std::string& text, int w, int h, int ms) override {
        notices.push_back({text, w, h, ms});
    }
    void ReportProgress(double fraction) override {
        EXPECT_GE(fraction, 0.0);
        EXPECT_LE(fraction, 1.0);
        progress.push_back(fraction);
    }

    FakeOutput output;
    ScriptedBoxes boxes;
    bool busy = false;
    int busyEntered = 0, busyLeft = 0;
    long yields = 0;
    std::function<void(long)> onYield;
    std::function<void()> onEnterBusy;
    bool pause = false, stop = false, quit = false;
    std::string captionStore = "Mars and Jupiter";
    std::string startCaption = "Mars and Jupiter";
    bool appendChecked = false, appendVisible = true;
    int geometryApplied = 0, shrunk = 0;
    std::vector<Notice> notices;
    std::vector<double> progress;
};

// Planet lists as the window holds them: first list Sun/Earth..Neptune,
// second list Mercury..Pluto.
class FakeWindow final : public TransitWindow {
public:
    explicit FakeWindow(FakeHost& host) : host_(host) {}

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
    int PlanetListCount(int) const override { return 8; }
    int PlanetListIndex(int list) const override { return list == 0 ? first : second; }
    void SelectPlanet(int list, int index) override {
        (list == 0 ? first : second) = index;
        selections.push_back({list, index});
        // The list's click handling recaptions the Start button.
        const TransitInputs in = Inputs();
        host_.captionStore = (first < 0 ? std::string() : in.firstPlanetText) + " and " +
                             in.secondPlanetText;
        host_.startCaption = host_.captionStore;
    }
    void ShowDateInFields(int date, std::int32_t dayNumber) override {
        shownDates.push_back({date, dayNumber});
    }

    std::vector<std::string> FirstList() const {
        return {inputs.heliocentric ? "Earth" : "Sun", "Mercury", "Venus", "Mars",
                "Jupiter", "Saturn", "Uranus", "Neptune"};
    }
    static std::vector<std::string> SecondList() {
        return {"Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"};
    }

    TransitInputs inputs;
    int first = 3, second = 3;  // Mars, Jupiter
    bool present[2] = {true, true};
    bool valid[2] = {true, true};
    std::int32_t day[2] = {0, 0};
    std::vector<std::pair<int, int>> selections;
    std::vector<std::pair<int, std::int32_t>> shownDates;

private:
    FakeHost& host_;
};

}  // namespace vlt::testing
