#pragma once
#include <string>

#include "app/support/message_box.h"
#include "app/support/output_box.h"
#include "app/support/run_control.h"

// What a long-running command (transit tables, search, show-all, investment
// simulation) needs from the window while it runs, in three parts: the
// output it writes to, the run control it answers to, and the busy indicator
// that shows the run.  The window implements them; tests implement them in
// memory; vlt-report implements them without a screen.  Commands never touch
// controls directly.
namespace vlt {

// The caption of a command's button while its run is under way.
inline constexpr const char* kPauseCaption = "Pause";

// How the window shows a run: its busy state (which also gives the run's
// button its caption back), the captions the commands read for their message
// boxes, the append check box, the run's geometry, the closing notice and
// the progress.
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

    // The "Append to output" check box.
    virtual bool AppendChecked() const = 0;
    virtual void SetAppendChecked(bool checked) = 0;
    virtual void ShowAppendCheckBox(bool visible) = 0;

    // Long commands give the window its run geometry; a run that left the
    // output empty shrinks it to its minimum height.
    virtual void ApplyRunGeometry() = 0;
    virtual void ShrinkToMinimumHeight() = 0;

    // The transient notice at the end of a run ("Done").
    virtual void PopUpNotice(const std::string& text) = 0;

    // How far a run is through its period, 0..1; the window shows it at most
    // a few times per second.  Not part of any report text.
    virtual void ReportProgress(double fraction) = 0;
};

class RunHost {
public:
    virtual ~RunHost() = default;

    virtual OutputBox& Output() = 0;
    virtual MessageBoxes& Boxes() = 0;
    virtual RunControl& Control() = 0;
    virtual BusyIndicator& Busy() = 0;

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
