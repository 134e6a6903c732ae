#pragma once
// A service's run as the window shows it.  The services hear nothing of
// controls; this observer turns what they report into the window's busy
// state: the run's button reads "Pause" from the start to the end of the run,
// the status line follows its progress, the report goes into the output box
// (with the box's size limit) and its messages into message boxes; the
// run's moments (geometry, the Append box, shrinking, "Done") reach the
// window as they happen.  The
// window's run control is the run's, so that a click on "Pause" reaches it,
// and the run yields to the window's events at each step.

#include "app/support/service_host.h"
#include "app/window/command_handlers.h"

namespace vlt {

class WindowRun final : public RunObserver {
public:
    explicit WindowRun(CommandWindow& window) : window_(window) {}

    OutputBox& Output() override { return window_.Output(); }
    MessageBoxes& Messages() override { return window_.Boxes(); }
    void Started(RunKind kind) override { window_.Busy().EnterBusyState(kind); }
    void Progress(double fraction) override { window_.Busy().ReportProgress(fraction); }
    void Finished() override { window_.Busy().LeaveBusyState(); }
    void PairSelected(int first, int second) override { window_.ShowPair(first, second); }
    bool AppendsToOutput() const override { return window_.AppendsToOutput(); }
    void RunPrepared() override { window_.RunPrepared(); }
    void PassStarted() override { window_.PassStarted(); }
    void PassFinished(bool outputEmpty) override { window_.PassFinished(outputEmpty); }
    void SeriesStarted() override { window_.SeriesStarted(); }
    void SeriesFinished() override { window_.SeriesFinished(); }
    void RunDone() override { window_.RunDone(); }
    BusyIndicator* Display() override { return &window_.Busy(); }
    RunControl* Control() override { return &window_.Control(); }
    void YieldToEvents() override { window_.YieldToEvents(); }

private:
    CommandWindow& window_;
};

}  // namespace vlt
