#pragma once
// What the window shows while a long command runs: the command's button
// reads "Pause" and stays usable together with Quit and the output box, and
// the status line tells how far the run has come.

#include <optional>

#include "app/window/ui_ops.h"

namespace vlt {

class BusyDisplay {
public:
    explicit BusyDisplay(UiOps& ui) : ui_(ui) {}

    // The other controls are disabled already; `button` started the run and
    // reads "Pause".
    void Enter(const Ctl& button);
    // The controls are enabled again; the status line empties; the
    // simulation's button reads its own caption again (the transit button's
    // names the pair, which the window keeps).
    void Leave();
    // Shows `fraction` (0..1) of the run as whole percent, each value once.
    void Progress(double fraction);

private:
    UiOps& ui_;
    int percent_ = -1;           // the percentage shown, -1 for none
    std::optional<Ctl> button_;  // the button of the run under way
};

}  // namespace vlt
