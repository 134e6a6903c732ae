#pragma once
// A run without a window.  The services (transit tables, search, show-all,
// simulation) run their commands against a RunHost; this one is made from
// what a front end hands a service: an observer that takes the report's
// text, answers the run's messages and hears how the run goes, and a stop
// token, the one way to stop a run from outside.
//
// The host keeps the transit button's caption as the window would (the
// pair, "Pause" while a transit run is under way), for the titles of the
// run's messages; what only a screen shows (the busy state, the run's
// moments) goes to the observer, and never reaches a report.

#include <cstddef>
#include <stop_token>
#include <string>

#include "app/support/message_box.h"
#include "app/support/output_box.h"
#include "app/support/run_control.h"
#include "app/support/run_host.h"

namespace vlt {

class RunObserver : public RunMoments {
public:
    virtual ~RunObserver() = default;

    // Where the report's text goes (a stream, or a box with the window's
    // size limit), and who answers the run's messages.
    virtual OutputBox& Output() = 0;
    virtual MessageBoxes& Messages() = 0;

    // The run has begun its steps; how far it is through its period (0..1);
    // one more piece of the report (a header, a finished transit, a
    // summary) is in the output; the run has left its steps.
    virtual void Started(RunKind /*kind*/) {}
    virtual void Progress(double /*fraction*/) {}
    virtual void RowWritten(const std::string& /*text*/) {}
    virtual void Finished() {}
    // A show-all series has moved to the pair (first, second) of the planet
    // lists, or back to the pair it began with at its end.
    virtual void PairSelected(int /*first*/, int /*second*/) {}

    // Whether the run adds to what the output holds (the window's Append
    // box when the run begins); a fresh output by default.
    virtual bool AppendsToOutput() const { return false; }

    // A front end with a screen shows the run there and lets its user act
    // on it: the display (the window's caption for the run's messages; the
    // RunMoments show the rest), the run control
    // that a click on "Pause" reaches, and the event loop the run yields to
    // at each step.  Without a screen there is none of it (nullptr, nothing
    // to yield to), and the run keeps its own control.
    virtual BusyIndicator* Display() { return nullptr; }
    virtual RunControl* Control() { return nullptr; }
    virtual void YieldToEvents() {}
};

class ServiceHost final : public RunHost,
                          private OutputBox,
                          private MessageBoxes,
                          private BusyIndicator {
public:
    // `caption` heads the run's messages as the command's button caption
    // would in the window.
    ServiceHost(RunObserver& observer, std::stop_token stop, std::string caption = "");

    OutputBox& Output() override { return *this; }
    MessageBoxes& Boxes() override { return *this; }
    RunControl& Control() override;
    BusyIndicator& Busy() override { return *this; }
    // A stop asked for through the token ends the run at its next step,
    // without asking, as quitting the program does.
    void YieldToEvents() override;
    // Recaptions the run's messages and tells the observer.
    void SeriesPair(int first, int second, const std::string& caption) override;

    // Points the host at another run's observer and stop token (a service
    // whose command outlives one run).
    void Use(RunObserver& observer, std::stop_token stop);

    // Messages shown since construction (refusals, data-file failures, a
    // full box, "Stop?").
    int MessagesShown() const { return messagesShown_; }
    // The pair's caption (a show-all series recaptions with each pair).
    void SetCaption(const std::string& caption);

    // RunHost: the append choice is the run's own from the observer's on,
    // and every moment reaches the observer.
    bool AppendsToOutput() const override { return append_; }
    void RunPrepared() override { observer_->RunPrepared(); }
    void PassStarted() override { observer_->PassStarted(); }
    void PassFinished(bool outputEmpty) override;
    void SeriesStarted() override;
    void SeriesFinished() override;
    void RunDone() override { observer_->RunDone(); }

private:
    // OutputBox: the observer's output, each piece also reported.
    const std::string& Text() const override;
    void Append(const std::string& text) override;
    void Clear() override;
    void MoveCaretToEnd() override {}
    void Refresh() override;
    bool Empty() const override;
    bool LongerThan(std::size_t characters) const override;

    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override;

    void EnterBusyState(RunKind kind) override;
    void LeaveBusyState() override;
    std::string WindowCaption() const override;
    std::string StartCaption() const override { return startCaption_; }
    void ReportProgress(double fraction) override { observer_->Progress(fraction); }

    RunObserver* observer_;
    std::stop_token stop_;
    std::string caption_;
    std::string startCaption_ = caption_;
    RunControl control_;
    bool append_ = observer_->AppendsToOutput();
    bool keptAppend_ = false;  // the choice a show-all series found
    int messagesShown_ = 0;
};

}  // namespace vlt
