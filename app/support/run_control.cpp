#include "app/support/run_control.h"

namespace vlt {

void RunControl::Begin(RunButton button) { button_ = button; }

void RunControl::Release(RunButton button) {
    // A button recaptioned while another one serves as "Pause" leaves that
    // run alone.
    if (button == button_) button_ = RunButton::None;
}

bool RunControl::ClickRequestsPause(RunButton button) {
    if (button == RunButton::None || button != button_) return false;
    pause_ = true;
    return true;
}

RunState RunControl::State() const {
    if (quitting_) return RunState::Quitting;
    if (stop_) return RunState::StopRequested;
    if (pause_) return RunState::PauseRequested;
    return Running() ? RunState::Running : RunState::Idle;
}

}  // namespace vlt
