#pragma once
// Typed constants for the main window's controls, made from the list in
// control_names.def: `ctl::cmdStart` names the button, `ctl::cboPlanet[1]` the
// second planet list.  Code names controls only through these.

#include "app/window/ui_ops.h"

namespace vlt::ctl {

#define VLT_CONTROL(name, count) inline constexpr ControlName name{#name, count};
#include "app/window/control_names.def"
#undef VLT_CONTROL

// Every name of the list, in its order.
inline constexpr ControlName kAllNames[] = {
#define VLT_CONTROL(name, count) name,
#include "app/window/control_names.def"
#undef VLT_CONTROL
};

}  // namespace vlt::ctl
