#pragma once
// The narrow interface through which every layer below the window asks the
// user something or tells the user something.  The window implements it with
// real modal boxes; tests implement it with a script; vlt-report implements
// it by writing to standard error.

#include <string>

namespace vlt {

enum class MsgIcon { None, Information, Exclamation, Question };

enum class MsgButtons {
    Ok,           // a single OK button
    YesNo,        // Yes and No, Yes the default
    YesNoCancel,  // Yes, No and Cancel, No the default
};

enum class MsgResult { Ok, Yes, No, Cancel };

// Marks "use the program's default title" (the window's own caption).
inline constexpr const char* kDefaultTitle = "";

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a modal box and returns the button pressed.  An empty title means
    // the program's default title.  Line breaks inside text are "\n".
    virtual MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                           MsgIcon icon) = 0;
};

}  // namespace vlt
