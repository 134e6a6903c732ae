#pragma once
// An in-memory screen for the main window's logic.  It holds every control of
// the window's table with its state, records what the logic does to it, and
// answers message boxes and the file dialog from a script.  A box that the
// script did not announce is reported to the failure handler (a test makes
// that a failure) and answered with its default button.
//
// Tests drive the window as a user would: Type into a box, Leave it, Click a
// button or check box, Choose a list entry, PressEnter, Tick the timer.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/window/ui_ops.h"

namespace vlt {

struct MemControl {
    std::string text;
    int value = 0;
    std::vector<std::string> items;
    std::vector<int> itemData;
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

struct BoxRecord {
    std::string text;
    std::string title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    MsgResult answer = MsgResult::Ok;
};

struct PopUpRecord {
    std::string text;
    Rect where;
    int milliseconds = 0;
};

struct ViewerRecord {
    std::string caption;
    std::string path;
    bool hideCopy = false;
    Rect place;
};

class MemoryUi final : public UiOps {
public:
    MemoryUi();

    void Attach(UiEvents* events) { events_ = events; }
    void SetFailureHandler(std::function<void(const std::string&)> onFailure) {
        onFailure_ = std::move(onFailure);
    }

    // --- Script
    // The next box must show exactly this text; it is answered with `answer`.
    void ExpectBox(const std::string& text, MsgResult answer = MsgResult::Ok);
    // Boxes announced but not shown yet.
    std::size_t PendingBoxes() const { return expected_.size(); }
    // The next file dialog returns this path ("" = cancelled).
    void ScriptFileDialog(const std::string& path) { fileAnswers_.push_back(path); }
    void SetOpenResult(bool ok) { openResult_ = ok; }
    void SetState(WindowState s) { state_ = s; }
    // Runs at every YieldToEvents call (a test clicks "Pause" from here).
    void SetYieldHook(std::function<void()> hook) { yieldHook_ = std::move(hook); }

    // --- User actions
    void Type(const Ctl& c, const std::string& text);
    void Leave(const Ctl& c);
    void TypeAndLeave(const Ctl& c, const std::string& text);
    void Click(const Ctl& c);
    void Choose(const Ctl& c, int index);
    void PressEnter(const Ctl& c);
    void Tick(int times = 1);
    void ResizeWindow(int width, int height);
    bool CloseBox();

    // --- Inspection
    const MemControl& Get(const Ctl& c) const;
    MemControl& Get(const Ctl& c);
    const std::vector<BoxRecord>& Boxes() const { return boxes_; }
    void ClearBoxes() { boxes_.clear(); }
    const Ctl& Focus() const { return focus_; }
    const std::vector<PopUpRecord>& PopUps() const { return popups_; }
    const std::vector<ViewerRecord>& Viewers() const { return viewers_; }
    const std::vector<std::string>& OpenedFiles() const { return opened_; }
    const std::vector<std::string>& DialogTitles() const { return dialogTitles_; }
    bool Ended() const { return ended_; }
    int Yields() const { return yields_; }
    int MainRepaints() const { return Get(kMainWindow).repaints; }

    // --- UiOps
    std::string Text(const Ctl& c) const override { return Get(c).text; }
    void SetText(const Ctl& c, const std::string& text) override { Get(c).text = text; }
    int Value(const Ctl& c) const override { return Get(c).value; }
    void SetValue(const Ctl& c, int value) override;
    void ListClear(const Ctl& c) override;
    void ListAdd(const Ctl& c, const std::string& text) override;
    void ListSetItemText(const Ctl& c, int item, const std::string& text) override;
    void ListSetItemData(const Ctl& c, int item, int data) override;
    int ListItemData(const Ctl& c, int item) const override;
    int ListCount(const Ctl& c) const override { return static_cast<int>(Get(c).items.size()); }
    int ListIndex(const Ctl& c) const override { return Get(c).index; }
    void SetListIndex(const Ctl& c, int item) override;
    std::string ListItemText(const Ctl& c, int item) const override;
    bool Enabled(const Ctl& c) const override { return Get(c).enabled; }
    void SetEnabled(const Ctl& c, bool enabled) override { Get(c).enabled = enabled; }
    bool Visible(const Ctl& c) const override { return Get(c).visible; }
    void SetVisible(const Ctl& c, bool visible) override { Get(c).visible = visible; }
    void SetFocus(const Ctl& c) override;
    void SetFont(const Ctl& c, const std::string& family, int points) override;
    void SetBold(const Ctl& c, bool bold) override { Get(c).bold = bold; }
    void SetBackColor(const Ctl& c, Rgb colour) override;
    Rect Geometry(const Ctl& c) const override { return Get(c).geometry; }
    void SetGeometry(const Ctl& c, const Rect& r) override { Get(c).geometry = r; }
    WindowState State() const override { return state_; }
    int ScreenHeight() const override { return 16200; }
    int ScreenWidth() const override { return 28800; }
    void Repaint(const Ctl& c) override { ++Get(c).repaints; }
    void AppendText(const Ctl& c, const std::string& text) override { Get(c).text += text; }
    void CaretToEnd(const Ctl& c) override { caretAtEnd_[c] = true; }
    std::string SaveFileDialog(const std::string& title, const std::string& filter) override;
    bool OpenWithDefaultProgram(const std::string& path) override;
    void PopUpInWindow(const std::string& text, const Rect& where, int milliseconds) override;
    void ShowViewer(const std::string& caption, const std::string& path, bool hideCopy,
                    const Rect& place) override;
    void YieldToEvents() override;
    void EndProgram() override { ended_ = true; }
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override;

private:
    void Fail(const std::string& what) const;

    std::map<Ctl, MemControl> controls_;
    mutable MemControl scratch_;
    UiEvents* events_ = nullptr;
    std::function<void(const std::string&)> onFailure_;
    std::deque<std::pair<std::string, MsgResult>> expected_;
    std::deque<std::string> fileAnswers_;
    std::vector<BoxRecord> boxes_;
    std::vector<PopUpRecord> popups_;
    std::vector<ViewerRecord> viewers_;
    std::vector<std::string> opened_;
    std::vector<std::string> dialogTitles_;
    std::map<Ctl, bool> caretAtEnd_;
    std::function<void()> yieldHook_;
    Ctl focus_;
    bool openResult_ = true;
    bool ended_ = false;
    int yields_ = 0;
    WindowState state_ = WindowState::Normal;
};

}  // namespace vlt
