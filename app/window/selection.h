#pragma once
// The planet lists, the orb lists and the aspect types: filling the lists
// and the rules that check the choices (at least one aspect type, orbs from
// outer to inner strictly decreasing).

#include "app/window/choice_actions.h"
#include "app/window/ui_ops.h"
#include "app/window/window_services.h"

namespace vlt {

class Selection {
public:
    Selection(UiOps& ui, WindowServices& services, ChoiceActions actions)
        : ui_(ui), services_(services), actions_(std::move(actions)) {}

    // Both planet lists with the names of the chosen centricity, Mars and
    // Jupiter selected.
    void FillPlanetLists();
    // The three orb lists (1° to 15°; 10°, 5° and 2° selected) and the
    // search orb list (3° to 15°; 6° selected).
    void FillOrbLists();
    // Shows the refusal when no aspect type is checked.
    void CheckAspectTypes();
    void SetAllAspectTypes(int value);
    // Shows the refusal when the orbs do not decrease; true when they do.
    bool ValidateOrbs();

private:
    UiOps& ui_;
    WindowServices& services_;
    ChoiceActions actions_;
};

}  // namespace vlt
