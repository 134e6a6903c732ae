#pragma once
#include <string>

#include "app/support/message_box.h"
#include "app/support/output_box.h"
#include "app/support/run_control.h"

// What a long-running command (transit tables, search, show-all, investment
// simulation) needs from the window while it runs: the output it writes to,
// the run control it answers to, the busy indicator that shows the run, and
// the moments of the run it tells.  The window implements them; tests
// implement them in memory; vlt-report implements them without a screen.
// Commands never touch controls directly.
namespace vlt {

// The caption of a command's button while its run is under way.
inline constexpr const char* kPauseCaption = "Pause";

// How the window shows a run: its busy state (which also gives the run's
// button its caption back), the captions the commands read for their message
// boxes, and the progress.
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;

    // Every control disabled but the command's own button (now captioned
    // "Pause"), Quit and the output box; the run control learns which run
    // is under way.  Leaving restores the controls.
    virtual void EnterBusyState(RunKind kind) = 0;
    virtual void LeaveBusyState() = 0;

    // The window's caption, and the transit button's caption (the planet
    // pair, or "Pause" while a transit run is under way): message boxes carry
    // them as titles.
    virtual std::string WindowCaption() const = 0;
    virtual std::string StartCaption() const = 0;

    // How far a run is through its period, 0..1; the window shows it at most
    // a few times per second.  Not part of any report text.
    virtual void ReportProgress(double fraction) = 0;
};

// The moments of a run that only a screen shows, told as they happen; a
// front end without a screen ignores them.  The window takes its run
// geometry, hides and shows the "Append to output" box, ticks it for a
// show-all series and gives it back, shrinks when a run left the output
// empty, and pops up "Done".
class RunMoments {
public:
    virtual ~RunMoments() = default;

    // A long command has passed its checks and is about to run (each pair
    // of a show-all series, a search, a simulation).
    virtual void RunPrepared() {}
    // A scan has entered its busy state.
    virtual void PassStarted() {}
    // A scan has left its busy state; a scan that left the output empty
    // stops appending (the window unticks Append and shrinks).
    virtual void PassFinished(bool /*outputEmpty*/) {}
    // A show-all series appends each pair's table to the others from its
    // start to its end, when it gives back the append choice it found.
    virtual void SeriesStarted() {}
    virtual void SeriesFinished() {}
    // A run completed (a transit table, a show-all series, a simulation).
    virtual void RunDone() {}
};

class RunHost : public RunMoments {
public:
    virtual OutputBox& Output() = 0;
    virtual MessageBoxes& Boxes() = 0;
    virtual RunControl& Control() = 0;
    virtual BusyIndicator& Busy() = 0;

    // Whether a run adds its report to what the output holds rather than
    // clearing it first (the window's "Append to output" box).  A show-all
    // series and an empty output change it as RunMoments tell.
    virtual bool AppendsToOutput() const = 0;

    // Lets pending user-interface events run (a click on "Pause" asks the
    // run control to pause).  Called once per time step.
    virtual void YieldToEvents() = 0;

    // A show-all series has moved to its next pair (program planet numbers,
    // as the planet lists hold them), or back to the pair it began with;
    // `caption` titles the run's messages from now on, as the transit
    // button's caption would.  A host that shows no pair ignores it.
    virtual void SeriesPair(int /*first*/, int /*second*/, const std::string& /*caption*/) {}
};

}  // namespace vlt
