#pragma once
// The operations the main window's logic needs from a screen.  The logic names
// controls as the window's control table does (`cmdStart`, `cboPlanet` with
// index 0 or 1, ...) and measures geometry in twips (1440 to the inch), so the
// same logic drives the Qt window, an in-memory window in tests, or no screen.

#include <compare>
#include <cstdint>
#include <string>

#include "app/support/message_box.h"

namespace vlt {

struct Ctl;

// A control's name as a typed constant (`ctl::cmdStart`, see control_names.h):
// `count` controls share it, with indices 0 .. count - 1.
struct ControlName {
    const char* text;
    int count = 1;

    Ctl operator[](int index) const;
    friend bool operator==(const std::string& name, const ControlName& n) { return name == n.text; }
};

// Names one control: its name and its index within a control array (0 for a
// control that is not part of an array).
struct Ctl {
    std::string name;
    int index = 0;

    Ctl() = default;
    Ctl(const ControlName& n, int i = 0) : name(n.text), index(i) {}  // NOLINT: reads as a name
    // A name read from a file or built at run time; code names controls
    // through the typed constants, never through string literals.
    explicit Ctl(std::string n, int i = 0) : name(std::move(n)), index(i) {}
    Ctl(const char*, int = 0) = delete;

    auto operator<=>(const Ctl&) const = default;
    bool operator==(const Ctl&) const = default;
    std::string ToString() const { return name + "(" + std::to_string(index) + ")"; }
};

inline Ctl ControlName::operator[](int index) const { return Ctl(*this, index); }

// Geometry in twips.  Control positions are measured from the top-left corner
// of the window's client area; the window's own position is on the screen.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool operator==(const Rect&) const = default;
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

enum class WindowState { Normal, Minimised, Maximised };

class UiOps : public MessageBoxes {
public:
    // Text of a text box; caption of a button, label, check box, option
    // button, frame or of the window (`frmMain`).
    virtual std::string Text(const Ctl& c) const = 0;
    virtual void SetText(const Ctl& c, const std::string& text) = 0;

    // Check box or option button: 1 checked/selected, 0 not.  Setting a value
    // does not raise a click; the logic runs its own click handling.
    virtual int Value(const Ctl& c) const = 0;
    virtual void SetValue(const Ctl& c, int value) = 0;

    // Lists.  An index of -1 means no selection.  Setting the index does not
    // raise a click either.
    virtual void ListClear(const Ctl& c) = 0;
    virtual void ListAdd(const Ctl& c, const std::string& text) = 0;
    virtual void ListSetItemText(const Ctl& c, int item, const std::string& text) = 0;
    virtual int ListCount(const Ctl& c) const = 0;
    virtual int ListIndex(const Ctl& c) const = 0;
    virtual void SetListIndex(const Ctl& c, int item) = 0;
    virtual std::string ListItemText(const Ctl& c, int item) const = 0;

    virtual bool Enabled(const Ctl& c) const = 0;
    virtual void SetEnabled(const Ctl& c, bool enabled) = 0;
    virtual bool Visible(const Ctl& c) const = 0;
    virtual void SetVisible(const Ctl& c, bool visible) = 0;
    virtual void SetFocus(const Ctl& c) = 0;

    // Font family and size; the weight stays as it is.
    virtual void SetFont(const Ctl& c, const std::string& family, int points) = 0;
    virtual void SetBold(const Ctl& c, bool bold) = 0;
    virtual void SetBackColor(const Ctl& c, Rgb colour) = 0;

    virtual Rect Geometry(const Ctl& c) const = 0;
    virtual void SetGeometry(const Ctl& c, const Rect& r) = 0;
    virtual WindowState State() const = 0;
    virtual int ScreenHeight() const = 0;  // twips
    virtual int ScreenWidth() const = 0;   // twips
    virtual void Repaint(const Ctl& c) = 0;

    // Adds text at the end of a text box (the output box grows by appending;
    // replacing its whole text for every line would be slow).
    virtual void AppendText(const Ctl& c, const std::string& text) = 0;
    // Puts the caret of a text box at the end of its text (no selection).
    virtual void CaretToEnd(const Ctl& c) = 0;

    // Modal file dialog; returns the chosen path, empty when cancelled or
    // when the dialog could not be shown.
    virtual std::string SaveFileDialog(const std::string& title) = 0;
    // Opens a written file with the desktop's default program; false and an
    // error text when that fails.
    virtual bool OpenWithDefaultProgram(const std::string& path) = 0;

    // A frameless modal notice over the window that ends by itself after the
    // interval or at a click; returns when it has ended.  Geometry in twips,
    // relative to the window's top-left corner.
    virtual void PopUpInWindow(const std::string& text, const Rect& where, int milliseconds) = 0;

    // Shows the text viewer on a file.  A minimised viewer is restored first;
    // a viewer in its normal state is then placed at `place` (screen twips);
    // a maximised one stays as it is.
    virtual void ShowViewer(const std::string& caption, const std::string& path, bool hideCopy,
                            const Rect& place) = 0;

    // Lets pending user-interface events run once.
    virtual void YieldToEvents() = 0;
    // Ends the program (after the logic has done its own closing work).
    virtual void EndProgram() = 0;
};

// What the screen reports to the logic.  User actions only: a change that the
// logic itself makes through UiOps is never reported back.
class UiEvents {
public:
    virtual ~UiEvents() = default;
    // A click on a button, check box (after its value toggled), option
    // button (after it was selected) or a list (after the index changed).
    virtual void OnClick(const Ctl& c) = 0;
    virtual void OnLostFocus(const Ctl& c) = 0;
    virtual void OnKeyUp(const Ctl& c, int keyCode) = 0;
    virtual void OnTick() = 0;  // every 500 ms
    virtual void OnResize() = 0;
    // The window's close box; true lets the window close.
    virtual bool OnCloseRequest() = 0;
};

}  // namespace vlt
