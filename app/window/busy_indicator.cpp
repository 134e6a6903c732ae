#include "app/window/busy_indicator.h"

#include <algorithm>
#include <string>

#include "app/support/run_host.h"

namespace vlt {

void BusyIndicator::Enter(const Ctl& button) {
    ui_.SetText(button, kPauseCaption);
    ui_.SetEnabled(button, true);
    ui_.SetEnabled("cmdQuit", true);
    ui_.SetEnabled("txbOutput", true);
    busy_ = true;
    percent_ = -1;
}

void BusyIndicator::Leave() {
    busy_ = false;
    percent_ = -1;
    ui_.SetText("lblStatus", "");
}

void BusyIndicator::Progress(double fraction) {
    if (!(fraction >= 0.0)) fraction = 0.0;
    const int percent = static_cast<int>(std::min(1.0, fraction) * 100.0);
    if (percent == percent_) return;
    percent_ = percent;
    ui_.SetText("lblStatus", "Working: " + std::to_string(percent) + " %");
}

}  // namespace vlt
