#pragma once
// The one in-memory run host of the tests and benchmarks: an output box that
// keeps its text, message boxes answered from a script (an unexpected box
// fails the test), a real run control, and a busy indicator that records
// what a run asked of the window.  A test or benchmark that needs another
// output or other boxes overrides Output() or Boxes().

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/support/run_host.h"

namespace vlt::testing {

class FakeOutput : public OutputBox {
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

// Each expected box names its text and its answer; boxes must come in order.
class ScriptedBoxes : public MessageBoxes {
public:
    struct Expected {
        std::string text;
        MsgResult answer = MsgResult::Ok;
    };
    void Expect(std::string text, MsgResult answer = MsgResult::Ok) {
        script.push_back({std::move(text), answer});
    }
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override {
        shown.push_back({text, title, buttons, icon});
        if (script.empty()) {
            ADD_FAILURE() << "unexpected message box: \"" << text << "\" titled \"" << title
                          << "\"";
            return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
        }
        const Expected next = script.front();
        script.pop_front();
        EXPECT_EQ(next.text, text);
        return next.answer;
    }
    bool ScriptDone() const { return script.empty(); }

    std::deque<Expected> script;
    std::vector<ShownBox> shown;
};

// Answers every box at once and records nothing: for runs nobody watches
// (benchmarks).  An Ok box is acknowledged; any question is answered No.
class SilentBoxes : public MessageBoxes {
public:
    MsgResult Show(const std::string&, const std::string&, MsgButtons buttons, MsgIcon) override {
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
    }
};

class FakeRunHost : public RunHost, public BusyIndicator {
public:
    // The kind of run the code under test may start.
    explicit FakeRunHost(RunKind expectedRun = RunKind::Transit) : expectedRun_(expectedRun) {}

    OutputBox& Output() override { return output; }
    MessageBoxes& Boxes() override {
        return silentBoxes ? static_cast<MessageBoxes&>(silent) : boxes;
    }
    RunControl& Control() override { return control; }
    BusyIndicator& Busy() override { return *this; }
    void YieldToEvents() override {
        ++yields;
        if (onYield) onYield(yields);
    }

    // The pairs of a show-all series as announced; each recaptions the run's
    // messages.
    void SeriesPair(int first, int second, const std::string& caption) override {
        seriesPairs.push_back({first, second});
        captionStore = startCaption = caption;
    }

    // --- BusyIndicator: the transit button reads "Pause" while busy, as the
    // window's does.
    void EnterBusyState(RunKind kind) override {
        EXPECT_EQ(kind, expectedRun_);
        ++busyEntered;
        control.Begin(kind);
        events.push_back(kind == RunKind::Simulation ? "busy(simulation)" : "busy");
        if (kind == RunKind::Transit) startCaption = kPauseCaption;
        if (onEnterBusy) onEnterBusy();
    }
    void LeaveBusyState() override {
        ++busyLeft;
        control.End();
        events.push_back("idle");
        startCaption = captionStore;
    }
    std::string WindowCaption() const override { return "Veltaro 1.0"; }
    std::string StartCaption() const override { return startCaption; }
    // --- RunMoments: the Append box, geometry, shrinking and the notice as
    // the window shows them.
    bool AppendsToOutput() const override { return appendChecked; }
    void RunPrepared() override {
        ++geometryApplied;
        events.push_back("geometry");
    }
    void PassStarted() override { appendVisible = false; }
    void PassFinished(bool outputEmpty) override {
        if (outputEmpty) {
            appendChecked = false;
            ++shrunk;
        }
        appendVisible = !outputEmpty;
    }
    void SeriesStarted() override {
        keptAppend = appendChecked;
        appendChecked = true;
    }
    void SeriesFinished() override { appendChecked = keptAppend; }
    void RunDone() override {
        notices.push_back("Done");
        events.push_back("popup(Done)");
    }
    void ReportProgress(double fraction) override {
        EXPECT_GE(fraction, 0.0);
        EXPECT_LE(fraction, 1.0);
        progress.push_back(fraction);
    }

    FakeOutput output;
    ScriptedBoxes boxes;
    bool keptAppend = false;
    bool silentBoxes = false;  // answer every box at once instead of from the script
    SilentBoxes silent;
    RunControl control;

    long yields = 0;
    std::function<void(long)> onYield;
    std::function<void()> onEnterBusy;
    int busyEntered = 0, busyLeft = 0;
    std::vector<std::string> events;  // busy, idle, captions, geometry, notices in order
    std::string captionStore = "Mars and Jupiter";
    std::string startCaption = "Mars and Jupiter";
    bool appendChecked = false, appendVisible = true;
    int geometryApplied = 0, shrunk = 0;
    std::vector<std::string> notices;
    std::vector<double> progress;
    std::vector<std::pair<int, int>> seriesPairs;

private:
    RunKind expectedRun_;
};

}  // namespace vlt::testing
