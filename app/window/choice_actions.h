#pragma once
// How a value the program chooses reaches the window: as a user's choice
// would, so that each control's click handling runs.

#include <functional>

#include "app/window/ui_ops.h"

namespace vlt {

struct ChoiceActions {
    std::function<void(const Ctl&, int)> setCheck;
    std::function<void(const Ctl&, int)> selectListEntry;
    std::function<void(const Ctl&)> click;
};

}  // namespace vlt
