#pragma once
// The user's choices kept in the settings store between runs of the program:
// the dates, planets, orbs, aspect types, time zone, centricity and search
// options, under the keys of state_keys.h.

#include <string>

#include "app/window/choice_actions.h"
#include "app/window/price_choice.h"
#include "app/window/ui_ops.h"

namespace vlt {

class SavedState {
public:
    explicit SavedState(UiOps& ui) : ui_(ui) {}
    // The price choice saved and restored with the rest; null: none.
    void UsePrices(PriceChoice* prices) { prices_ = prices; }

    // Writes every choice in one save of the file; true when all of it
    // reached the file.  A failure is shown, naming the file and the reason.
    bool Save();

    // Whether there is a saved state to restore.  A file that cannot be read
    // (larger than 1 MB, no permission) is said so, and left alone.
    bool Available();
    // Restores every choice; returns the stop date text, which is kept
    // rather than put back into its box.
    std::string Restore(const ChoiceActions& actions);

private:
    // Selects a stored list position when the list has it; a position
    // outside the list keeps the current selection.
    void SelectStoredIndex(const ChoiceActions& actions, const Ctl& c, const std::string& text);

    UiOps& ui_;
    PriceChoice* prices_ = nullptr;
};

}  // namespace vlt
