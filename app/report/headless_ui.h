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

#include <ostream>
#include <string>
#include <vector>

#include "app/window/control_store.h"

namespace vlt {

class HeadlessUi final : public ControlStore {
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

    // --- UiOps beyond the controls' state
    void SetFocus(const Ctl& /*c*/) override {}
    WindowState State() const override { return WindowState::Normal; }
    void CaretToEnd(const Ctl& /*c*/) override {}
    std::string SaveFileDialog(const std::string& title) override;
    bool OpenWithDefaultProgram(const std::string& path) override;
    void PopUpInWindow(const std::string& text, const Rect& where, int milliseconds) override;
    void ShowViewer(const std::string& caption, const std::string& path, bool hideCopy,
                    const Rect& place) override;
    void YieldToEvents() override {}
    void EndProgram() override { ended_ = true; }
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override;

private:
    // A report never names a control the window does not have; if it did,
    // the request would simply change nothing.
    void OnMisuse(const std::string& /*what*/) const override {}
    bool Reachable(const Ctl& c) const;

    std::ostream& messages_;
    UiEvents* events_ = nullptr;
    std::vector<std::string> popUps_;
    int boxesShown_ = 0;
    bool ended_ = false;
};

}  // namespace vlt
