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

#include "app/window/control_names.h"
#include "app/window/control_store.h"

namespace vlt {

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

class MemoryUi final : public ControlStore {
public:
    MemoryUi() = default;

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
    const std::vector<BoxRecord>& Boxes() const { return boxes_; }
    void ClearBoxes() { boxes_.clear(); }
    const Ctl& Focus() const { return focus_; }
    const std::vector<PopUpRecord>& PopUps() const { return popups_; }
    const std::vector<ViewerRecord>& Viewers() const { return viewers_; }
    const std::vector<std::string>& OpenedFiles() const { return opened_; }
    const std::vector<std::string>& DialogTitles() const { return dialogTitles_; }
    bool Ended() const { return ended_; }
    int Yields() const { return yields_; }
    int MainRepaints() const { return Get(ctl::frmMain).repaints; }

    // --- UiOps beyond the controls' state
    void SetFocus(const Ctl& c) override;
    WindowState State() const override { return state_; }
    void CaretToEnd(const Ctl& c) override { caretAtEnd_[c] = true; }
    std::string SaveFileDialog(const std::string& title) override;
    bool OpenWithDefaultProgram(const std::string& path) override;
    void PopUpInWindow(const std::string& text, const Rect& where, int milliseconds) override;
    void ShowViewer(const std::string& caption, const std::string& path, bool hideCopy,
                    const Rect& place) override;
    void YieldToEvents() override;
    void EndProgram() override { ended_ = true; }
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override;

private:
    void OnMisuse(const std::string& what) const override { Fail(what); }
    void Fail(const std::string& what) const;

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
