#pragma once
// The state of every control of the main window's table, held in memory: the
// part of a screen that the in-memory test screen keeps, which adds its own
// message boxes, notices, file dialog and way of driving the window.
//
// A request that no real screen could honour (an unknown control, a list
// entry that does not exist) leaves the state as it is and is reported to
// `OnMisuse`, which a test screen turns into a failure.

#include <map>
#include <string>
#include <vector>

#include "app/window/controls.h"
#include "app/window/ui_ops.h"

namespace vlt {

struct MemControl {
    CtlKind kind = CtlKind::Label;
    std::string text;
    int value = 0;
    std::vector<std::string> items;
    int index = -1;
    bool enabled = true;
    bool visible = true;
    std::string font;
    int points = 0;
    bool bold = false;
    Rgb back{};
    bool backSet = false;
    Rect geometry{};
    int repaints = 0;
};

class ControlStore : public UiOps {
public:
    // A screen of 1920 by 1080 pixels at 96 dots per inch, in twips; only the
    // window's height limit on resizing reads it.
    static constexpr int kScreenWidth = 28800;
    static constexpr int kScreenHeight = 16200;

    ControlStore();

    bool Exists(const Ctl& c) const { return controls_.count(c) != 0; }
    // An unknown control is reported and answered by a scratch control.
    const MemControl& Get(const Ctl& c) const;
    MemControl& Get(const Ctl& c);

    // --- UiOps: the controls' state
    std::string Text(const Ctl& c) const override { return Get(c).text; }
    void SetText(const Ctl& c, const std::string& text) override { Get(c).text = text; }
    int Value(const Ctl& c) const override { return Get(c).value; }
    void SetValue(const Ctl& c, int value) override;
    void ListClear(const Ctl& c) override;
    void ListAdd(const Ctl& c, const std::string& text) override;
    void ListSetItemText(const Ctl& c, int item, const std::string& text) override;
    int ListCount(const Ctl& c) const override { return static_cast<int>(Get(c).items.size()); }
    int ListIndex(const Ctl& c) const override { return Get(c).index; }
    void SetListIndex(const Ctl& c, int item) override;
    std::string ListItemText(const Ctl& c, int item) const override;
    bool Enabled(const Ctl& c) const override { return Get(c).enabled; }
    void SetEnabled(const Ctl& c, bool enabled) override { Get(c).enabled = enabled; }
    bool Visible(const Ctl& c) const override { return Get(c).visible; }
    void SetVisible(const Ctl& c, bool visible) override { Get(c).visible = visible; }
    void SetFont(const Ctl& c, const std::string& family, int points) override;
    void SetBold(const Ctl& c, bool bold) override { Get(c).bold = bold; }
    void SetBackColor(const Ctl& c, Rgb colour) override;
    Rect Geometry(const Ctl& c) const override { return Get(c).geometry; }
    void SetGeometry(const Ctl& c, const Rect& r) override { Get(c).geometry = r; }
    int ScreenHeight() const override { return kScreenHeight; }
    int ScreenWidth() const override { return kScreenWidth; }
    void Repaint(const Ctl& c) override { ++Get(c).repaints; }
    void AppendText(const Ctl& c, const std::string& text) override { Get(c).text += text; }

protected:
    virtual void OnMisuse(const std::string& what) const = 0;

    // What a user's click or choice does to the control, before the window
    // hears of it.  False (and reported) when the user could not reach it.
    bool ApplyClick(const Ctl& c);
    bool ApplyChoice(const Ctl& c, int index);

private:
    bool ItemExists(const Ctl& c, int item, const char* what) const;
    // The control a user acts on, or nullptr (and reported with `absent` or
    // `unreachable` before its name) when it does not exist or is disabled
    // or hidden.
    MemControl* Reachable(const Ctl& c, const char* absent, const char* unreachable);

    std::map<Ctl, MemControl> controls_;
    mutable MemControl scratch_;
};

}  // namespace vlt
