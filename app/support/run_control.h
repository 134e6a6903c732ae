#pragma once
// Where a long command's run stands: which command runs, and what the user
// (or the run itself) has asked of it.  The window and the commands share one
// RunControl; a click on a running command's button asks it to pause, and
// nothing is ever read back from a button's caption.

#include <optional>

namespace vlt {

// The two kinds of run, each with its own button (`cmdStart` for the transit
// commands, whose show-all series and search run through it too, and
// `cmdSimulateInvestment`).
enum class RunKind { Transit, Simulation };

class RunControl {
public:
    // The window's busy state: from the first step of a run to its end (for
    // a show-all series, to the end of the series).
    void Begin(RunKind kind) { running_ = kind; }
    void End() { running_.reset(); }
    bool Running() const { return running_.has_value(); }
    bool Running(RunKind kind) const { return running_ == kind; }

    // Pause: asked by a click on the running command's button, or by the run
    // itself when its output box is full.  The run asks "Stop?" at its next
    // step and clears the request when the answer is No.
    void RequestPause() { pause_ = true; }
    void ClearPause() { pause_ = false; }
    bool PauseRequested() const { return pause_; }

    // Stop: ends a show-all series after the pair under way.
    void RequestStop() { stop_ = true; }
    void ClearStop() { stop_ = false; }
    bool StopRequested() const { return stop_; }

    // The user quit the program while a run was under way: the run ends at
    // its next step, without asking, and returns to the event loop.
    void Quit() { quitting_ = true; }
    bool Quitting() const { return quitting_; }

private:
    std::optional<RunKind> running_;
    bool pause_ = false;
    bool stop_ = false;
    bool quitting_ = false;
};

}  // namespace vlt
