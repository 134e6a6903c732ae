#include "app/support/service_host.h"

#include <utility>

namespace vlt {

ServiceHost::ServiceHost(RunObserver& observer, std::stop_token stop, std::string caption)
    : observer_(&observer), stop_(std::move(stop)), caption_(std::move(caption)) {}

void ServiceHost::Use(RunObserver& observer, std::stop_token stop) {
    observer_ = &observer;
    stop_ = std::move(stop);
    append_ = observer.AppendsToOutput();
}

RunControl& ServiceHost::Control() {
    RunControl* shared = observer_->Control();
    return shared != nullptr ? *shared : control_;
}

void ServiceHost::YieldToEvents() {
    observer_->YieldToEvents();
    if (stop_.stop_requested()) Control().Quit();
}

void ServiceHost::SeriesPair(int first, int second, const std::string& caption) {
    SetCaption(caption);
    observer_->PairSelected(first, second);
}

void ServiceHost::SetCaption(const std::string& caption) {
    caption_ = caption;
    startCaption_ = caption;
}

const std::string& ServiceHost::Text() const { return observer_->Output().Text(); }

void ServiceHost::Append(const std::string& text) {
    observer_->Output().Append(text);
    observer_->RowWritten(text);
}

void ServiceHost::Clear() { observer_->Output().Clear(); }
void ServiceHost::Refresh() { observer_->Output().Refresh(); }
bool ServiceHost::Empty() const { return observer_->Output().Empty(); }

bool ServiceHost::LongerThan(std::size_t characters) const {
    return observer_->Output().LongerThan(characters);
}

MsgResult ServiceHost::Show(const std::string& text, const std::string& title, MsgButtons buttons,
                            MsgIcon icon) {
    ++messagesShown_;
    return observer_->Messages().Show(text, title.empty() ? caption_ : title, buttons, icon);
}

// A show-all series enters the busy state with each pair; the observer hears
// one start and one end of the whole run.
void ServiceHost::EnterBusyState(RunKind kind) {
    RunControl& control = Control();
    const bool starting = !control.Running();
    control.Begin(kind);
    if (kind == RunKind::Transit) startCaption_ = kPauseCaption;
    if (starting) observer_->Started(kind);
}

void ServiceHost::LeaveBusyState() {
    Control().End();
    startCaption_ = caption_;
    observer_->Finished();
}

// The rest shows only on a screen.
std::string ServiceHost::WindowCaption() const {
    const BusyIndicator* display = observer_->Display();
    return display != nullptr ? display->WindowCaption() : caption_;
}

void ServiceHost::PassFinished(bool outputEmpty) {
    if (outputEmpty) append_ = false;
    observer_->PassFinished(outputEmpty);
}

void ServiceHost::SeriesStarted() {
    keptAppend_ = append_;
    append_ = true;
    observer_->SeriesStarted();
}

void ServiceHost::SeriesFinished() {
    append_ = keptAppend_;
    observer_->SeriesFinished();
}

}  // namespace vlt
