#include "app/window/busy_display.h"

#include <algorithm>
#include <string>

#include "app/simulation/investment_simulation.h"
#include "app/support/run_host.h"
#include "app/window/control_names.h"

namespace vlt {

void BusyDisplay::Enter(const Ctl& button) {
    ui_.SetText(button, kPauseCaption);
    ui_.SetEnabled(button, true);
    ui_.SetEnabled(ctl::cmdQuit, true);
    ui_.SetEnabled(ctl::txbOutput, true);
    percent_ = -1;
    button_ = button;
}

void BusyDisplay::Leave() {
    if (button_ == Ctl(ctl::cmdSimulateInvestment)) ui_.SetText(*button_, kSimulateCaption);
    button_.reset();
    percent_ = -1;
    ui_.SetText(ctl::lblStatus, "");
}

void BusyDisplay::Progress(double fraction) {
    if (!(fraction >= 0.0)) fraction = 0.0;
    const int percent = static_cast<int>(std::min(1.0, fraction) * 100.0);
    if (percent == percent_) return;
    percent_ = percent;
    ui_.SetText(ctl::lblStatus, "Working: " + std::to_string(percent) + " %");
}

}  // namespace vlt
