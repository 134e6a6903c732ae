#include "app/support/service_host.h"

#include <utility>

namespace vlt {

ServiceHost::ServiceHost(RunObserver& observer, std::stop_token stop, std::string caption)
    : observer_(&observer), stop_(std::move(stop)), caption_(std::move(caption)) {}

void ServiceHost::Use(RunObserver& observer, std::stop_token stop) {
    observer_ = &observer;
    stop_ = std::move(stop);
}

void ServiceHost::YieldToEvents() {
    if (stop_.stop_requested()) control_.Quit();
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
    const bool starting = !control_.Running();
    control_.Begin(kind);
    if (starting) observer_->Started(kind);
}

void ServiceHost::LeaveBusyState() {
    control_.End();
    observer_->Finished();
}

}  // namespace vlt
