#pragma once
// A run host for runs that nobody watches (oracle comparisons, benchmarks):
// every window operation does nothing and the plain flags are kept.  The
// output box and the message boxes are the user's to supply.

#include <string>

#include "app/support/run_host.h"

namespace vlt {

class QuietRunHost : public RunHost {
public:
    void EnterBusyState(bool) override {}
    void LeaveBusyState() override {}
    void YieldToEvents() override {}
    bool PauseRequested() const override { return pause; }
    void SetPauseRequested(bool on) override { pause = on; }
    bool StopRequested() const override { return stop; }
    void SetStopRequested(bool on) override { stop = on; }
    std::string WindowCaption() const override { return "Veltaro"; }
    std::string StartCaption() const override { return startCaption; }
    void RestoreStartCaption() override {}
    void SetSimulateCaption(const std::string&) override {}
    bool AppendChecked() const override { return append; }
    void SetAppendChecked(bool on) override { append = on; }
    void ShowAppendCheckBox(bool) override {}
    void ApplyRunGeometry() override {}
    void ShrinkToMinimumHeight() override {}
    void PopUpNotice(const std::string&, int, int, int) override {}
    void ReportProgress(double) override {}

    bool pause = false;
    bool stop = false;
    bool append = false;
    std::string startCaption;
};

}  // namespace vlt
