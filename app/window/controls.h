#pragma once
// The main window's controls: names, kinds, captions and design geometry.
// The logic, the Qt window and the in-memory window all build from this one
// table, so a control cannot exist in one and be missing in another.

#include <string>
#include <vector>

#include "app/window/ui_ops.h"

namespace vlt {

enum class CtlKind {
    Frame,  // a plain box that groups controls; drawn behind them
    Label,
    TextBox,    // one-line text entry
    OutputBox,  // the multi-line report box
    Button,
    CheckBox,
    Option,  // option (radio) button
    List,    // drop-down list
};

struct ControlInfo {
    Ctl ctl;
    CtlKind kind;
    std::string caption;  // initial caption or text
    Rect design;          // twips, relative to the window's client area
};

// Every control of the main window, frames first (so that a screen that
// creates them in this order draws frames behind their contents).
const std::vector<ControlInfo>& MainWindowControls();

// The description of one control; throws std::out_of_range for an unknown control.
const ControlInfo& ControlInfoOf(const Ctl& c);

// Design size of the window's client area, twips.
int DesignClientWidth();
int DesignClientHeight();

// Twips per pixel at the usual 96 dots per inch; used only by the design table.
inline constexpr int kTwipsPerDesignPixel = 15;

}  // namespace vlt
