#pragma once
// Where a long-running command stands, as the window sees it: which button
// started the run under way (that button reads "Pause" and a click on it only
// asks the run to pause), the pause and stop requests the run answers at its
// next step, and the end of the program.
//
// The requests are plain flags: a run sets and clears them itself, and a
// show-all series keeps its stop request between the runs of the series.

namespace vlt {

// The buttons that start a run and serve as its "Pause" button while it is
// under way.
enum class RunButton { None, Start, Simulate };

// The state in one word, the most pressing first: quitting beats a stop
// request, a stop request a pause request, and so on.
enum class RunState { Idle, Running, PauseRequested, StopRequested, Quitting };

class RunControl {
public:
    // `button` now reads "Pause": the run it started is under way.
    void Begin(RunButton button);
    // `button` has its own caption back; a run it started is over.
    void Release(RunButton button);

    bool Running() const { return button_ != RunButton::None; }
    RunButton Button() const { return button_; }

    // A click on `button`: true when it is the button of the run under way,
    // and the click only asked that run to pause.
    bool ClickRequestsPause(RunButton button);

    bool PauseRequested() const { return pause_; }
    void SetPauseRequested(bool on) { pause_ = on; }
    bool StopRequested() const { return stop_; }
    void SetStopRequested(bool on) { stop_ = on; }

    // The user quit the program: a run under way ends at its next step.
    void Quit() { quitting_ = true; }
    bool Quitting() const { return quitting_; }

    RunState State() const;

private:
    RunButton button_ = RunButton::None;
    bool pause_ = false;
    bool stop_ = false;
    bool quitting_ = false;
};

}  // namespace vlt
