#pragma once
// A screen without a screen: every control of the main window's table held in
// memory, so that the window's own logic runs unchanged for the report
// command.  Message boxes are written to an error stream with their exact
// texts and answered with the button the window would have as its default.
// Pop-up notices are kept, not shown and not waited for; the file dialog,
// the viewer and the desktop hand-over do nothing, since no command of the
// report reaches them.
//
// The report drives the window as a user would, through the same controls:
// Type into a box and Leave it, Click a button, check box or option button,
// Choose a list entry.

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "app/window/ui_ops.h"

namespace vlt {

class HeadlessUi final : public UiOps {
public:
    // Message boxes go to `messages`, one text per box, each followed by a
    // line end.
    explicit HeadlessUi(std::ostream& messages);

    void Attach(UiEvents* events) { events_ = events; }

    // --- User actions.  Each is refused (false) when a user could not do it:
    // an unknown control, a disabled or hidden one, a list entry that does
    // not exist.
    bool Type(const Ctl& c, const std::string& text);
    bool Leave(const Ctl& c);
    bool Click(const Ctl& c);
    bool Choose(const Ctl& c, int index);
    // Sets a check box to `value` (0 or 1) by clicking it when it differs.
    bool SetChecked(const Ctl& c, int value);

    // --- What happened.
    int BoxesShown() const { return boxesShown_; }
    const std::vector<std::string>& PopUpTexts() const { return popUps_; }
    bool Ended() const { return ended_; }
    bool Exists(const Ctl& c) const { return controls_.count(c) != 0; }

    // --- UiOps
    std::string Text(const Ctl& c) const override;
    void SetText(const Ctl& c, const std::string& text) override;
    int Value(const Ctl& c) const override;
    void SetValue(const Ctl& c, int value) override;
    void ListClear(const Ctl& c) override;
    void ListAdd(const Ctl& c, const std::string& text) override;
    void ListSetItemText(const Ctl& c, int item, const std::string& text) override;
    void ListSetItemData(const Ctl& c, int item, int data) override;
    int ListItemData(const Ctl& c, int item) const override;
    int ListCount(const Ctl& c) const override;
    int ListIndex(const Ctl& c) const override;
    void SetListIndex(const Ctl& c, int item) override;
    std::string ListItemText(const Ctl& c, int item) const override;
    bool Enabled(const Ctl& c) const override;
    void SetEnabled(const Ctl& c, bool enabled) override;
    bool Visible(const Ctl& c) const override;
    void SetVisible(const Ctl& c, bool visible) override;
    void SetFocus(const Ctl& c) override;
    void SetFont(const Ctl& c, const std::string& family, int points) override;
    void SetBold(const Ctl& c, bool bold) override;
    void SetBackColor(const Ctl& c, Rgb colour) override;
    Rect Geometry(const Ctl& c) const override;
    void SetGeometry(const Ctl& c, const Rect& r) override;
    WindowState State() const override { return WindowState::Normal; }
    int ScreenHeight() const override { return kScreenHeight; }
    int ScreenWidth() const override { return kScreenWidth; }
    void Repaint(const Ctl& /*c*/) override {}
    void AppendText(const Ctl& c, const std::string& text) override;
    void CaretToEnd(const Ctl& /*c*/) override {}
    std::string SaveFileDialog(const std::string& title, const std::string& filter) override;
    bool OpenWithDefaultProgram(const std::string& path) override;
    void PopUpInWindow(const std::string& text, const Rect& where, int milliseconds) override;
    void ShowViewer(const std::string& caption, const std::string& path, bool hideCopy,
                    const Rect& place) override;
    void YieldToEvents() override {}
    void EndProgram() override { ended_ = true; }
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override;

    // A screen of 1920 by 1080 pixels at 96 dots per inch, in twips; only the
    // window's height limit on resizing reads it.
    static constexpr int kScreenWidth = 28800;
    static constexpr int kScreenHeight = 16200;

private:
    struct Control {
        bool isCheckBox = false;
        bool isOption = false;
        std::string text;
        int value = 0;
        std::vector<std::string> items;
        std::vector<int> itemData;
        int index = -1;
        bool enabled = true;
        bool visible = true;
        Rect geometry{};
    };

    Control* Find(const Ctl& c);
    const Control* Find(const Ctl& c) const;
    bool Reachable(const Ctl& c) const;

    std::map<Ctl, Control> controls_;
    std::ostream& messages_;
    UiEvents* events_ = nullptr;
    std::vector<std::string> popUps_;
    int boxesShown_ = 0;
    bool ended_ = false;
};

}  // namespace vlt
