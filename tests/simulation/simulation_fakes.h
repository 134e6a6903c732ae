#pragma once
// In-memory stand-ins for the window and the data sources of an investment
// simulation: a run host that records what the run asks of the window and
// answers message boxes from a script, a position source built from a
// separation curve over the run's steps, and an index of chosen values.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/simulation/investment_simulation.h"
#include "app/support/run_host.h"

namespace vlt::testing {

struct ShownBox {
    std::string text;
    std::string title;
    MsgButtons buttons;
    MsgIcon icon;
};

class ScriptedBoxes : public MessageBoxes {
public:
    // The next box must show exactly `text`; it is answered with `answer`.
    void Expect(std::string text, MsgResult answer) {
        script_.push_back({std::move(text), answer});
    }
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override {
        shown.push_back({text, title, buttons, icon});
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected message box: " << text;
            return MsgResult::Ok;
        }
        auto next = script_.front();
        script_.pop_front();
        EXPECT_EQ(next.first, text);
        return next.second;
    }
    bool ScriptDone() const { return script_.empty(); }

    std::vector<ShownBox> shown;

private:
    std::deque<std::pair<std::string, MsgResult>> script_;
};

class MemoryOutput : public OutputBox {
public:
    const std::string& Text() const override { return text; }
    void Append(const std::string& more) override { text += more; }
    void Clear() override { text.clear(); }
    void MoveCaretToEnd() override { ++caretMoves; }
    void Refresh() override {}

    std::string text;
    int caretMoves = 0;
};

class MemoryRunHost : public RunHost {
public:
    OutputBox& Output() override { return output; }
    MessageBoxes& Boxes() override { return boxes; }
    void EnterBusyState(bool simulation) override {
        events.push_back(simulation ? "busy(simulation)" : "busy");
        busy = true;
    }
    void LeaveBusyState() override {
        events.push_back("idle");
        busy = false;
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
    std::string StartCaption() const override { return "Earth and Mars"; }
    void RestoreStartCaption() override {}
    void SetSimulateCaption(const std::string& caption) override {
        simulateCaption = caption;
        events.push_back("caption(" + caption + ")");
    }
    bool AppendChecked() const override { return appendChecked; }
    void SetAppendChecked(bool checked) override { appendChecked = checked; }
    void ShowAppendCheckBox(bool) override {}
    void ApplyRunGeometry() override { events.push_back("geometry"); }
    void ShrinkToMinimumHeight() override {}
    void PopUpNotice(const std::string& text, int width, int height, int ms) override {
        events.push_back("popup(" + text + "," + std::to_string(width) + "," +
                         std::to_string(height) + "," + std::to_string(ms) + ")");
    }
    void ReportProgress(double fraction) override {
        EXPECT_GE(fraction, lastProgress);
        lastProgress = fraction;
    }

    MemoryOutput output;
    ScriptedBoxes boxes;
    std::vector<std::string> events;
    std::function<void(int)> onYield;
    int yields = 0;
    bool busy = false;
    bool pause = false;
    bool quit = false;
    bool stop = false;
    bool appendChecked = false;
    std::string simulateCaption = "Simulate investment";
    double lastProgress = 0.0;
};

// Earth fixed at a base longitude, the second planet at base + separation,
// the separation a function of the step index (t = startDay - 0.25 + i / 8,
// so row -1 of the first step is i = -1).  Other planets have no position.
class CurvePositions : public HelioPositionSource {
public:
    CurvePositions(std::int32_t startDay, std::int16_t secondPlanet,
                   std::function<double(double)> separationDegrees)
        : firstT_(startDay - 0.25), second_(secondPlanet), curve_(std::move(separationDegrees)) {}

    double HelioLongitude(std::int16_t planet, double jd) override {
        ++calls;
        const double step = (jd - firstT_) * 8.0;
        if (invalidFirstPlanetAt && invalidFirstPlanetAt(step)) return -99.0;
        if (planet == 1) return kBase;
        if (planet != second_) return -999.0;
        double longitude = kBase + curve_(step) / 360.0 * 6.28318530717959;
        while (longitude >= 6.28318530717959) longitude -= 6.28318530717959;
        while (longitude < 0) longitude += 6.28318530717959;
        return longitude;
    }

    static constexpr double kBase = 1.0;
    int calls = 0;
    // Steps at which the Earth has no position.
    std::function<bool(double)> invalidFirstPlanetAt;

private:
    double firstT_;
    std::int16_t second_;
    std::function<double(double)> curve_;
};

// Index values by day; days not listed give `fallback` (0 or below: none).
class MapIndex : public IndexLookup {
public:
    explicit MapIndex(double fallback = 1000.0) : fallback_(fallback) {}
    bool ValueForDay(std::int32_t day, double& value) override {
        ++lookups;
        const auto it = values.find(day);
        const double v = it != values.end() ? it->second : fallback_;
        if (!(v > 0.0)) return false;
        value = v;
        return true;
    }
    std::map<std::int32_t, double> values;
    int lookups = 0;

private:
    double fallback_;
};

// Splits the output box text at CR LF.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (true) {
        const auto at = text.find("\r\n", from);
        if (at == std::string::npos) {
            lines.push_back(text.substr(from));
            break;
        }
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    return lines;
}

}  // namespace vlt::testing
