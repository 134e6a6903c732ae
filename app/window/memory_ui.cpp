#include "app/window/memory_ui.h"
#include "app/window/control_names.h"

namespace vlt {

void MemoryUi::Fail(const std::string& what) const {
    if (onFailure_) onFailure_(what);
}

void MemoryUi::SetFocus(const Ctl& c) {
    Get(c);
    focus_ = c;
}

void MemoryUi::ExpectBox(const std::string& text, MsgResult answer) {
    expected_.emplace_back(text, answer);
}

MsgResult MemoryUi::Show(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) {
    BoxRecord r{text, title, buttons, icon, MsgResult::Ok};
    if (!expected_.empty() && expected_.front().first == text) {
        r.answer = expected_.front().second;
        expected_.pop_front();
    } else {
        Fail(
            "unexpected message box: \"" + text + "\" (title \"" + title + "\")" +
            (expected_.empty() ? std::string() : ", expected \"" + expected_.front().first + "\""));
        r.answer = buttons == MsgButtons::Ok      ? MsgResult::Ok
                   : buttons == MsgButtons::YesNo ? MsgResult::Yes
                                                  : MsgResult::No;
    }
    boxes_.push_back(r);
    return r.answer;
}

std::string MemoryUi::SaveFileDialog(const std::string& title) {
    dialogTitles_.push_back(title);
    if (fileAnswers_.empty()) {
        Fail("unexpected file dialog \"" + title + "\"");
        return "";
    }
    std::string path = fileAnswers_.front();
    fileAnswers_.pop_front();
    return path;
}

bool MemoryUi::OpenWithDefaultProgram(const std::string& path) {
    opened_.push_back(path);
    return openResult_;
}

void MemoryUi::PopUpInWindow(const std::string& text, const Rect& where, int milliseconds) {
    popups_.push_back(PopUpRecord{text, where, milliseconds});
}

void MemoryUi::ShowViewer(const std::string& caption, const std::string& path, bool hideCopy,
                          const Rect& place) {
    viewers_.push_back(ViewerRecord{caption, path, hideCopy, place});
}

void MemoryUi::YieldToEvents() {
    ++yields_;
    if (yieldHook_) yieldHook_();
}

// ---------------------------------------------------------------- user actions

void MemoryUi::Type(const Ctl& c, const std::string& text) {
    if (!Get(c).enabled) Fail("typing into disabled " + c.ToString());
    Get(c).text = text;
    focus_ = c;
}

void MemoryUi::Leave(const Ctl& c) {
    if (events_ != nullptr) events_->OnLostFocus(c);
}

void MemoryUi::TypeAndLeave(const Ctl& c, const std::string& text) {
    Type(c, text);
    Leave(c);
}

void MemoryUi::Click(const Ctl& c) {
    if (ApplyClick(c) && events_ != nullptr) events_->OnClick(c);
}

void MemoryUi::Choose(const Ctl& c, int index) {
    if (ApplyChoice(c, index) && events_ != nullptr) events_->OnClick(c);
}

void MemoryUi::PressEnter(const Ctl& c) {
    if (events_ != nullptr) events_->OnKeyUp(c, 13);
}

void MemoryUi::Tick(int times) {
    for (int i = 0; i < times; ++i) {
        if (events_ != nullptr) events_->OnTick();
    }
}

void MemoryUi::ResizeWindow(int width, int height) {
    Rect& w = Get(ctl::frmMain).geometry;
    w.width = width;
    w.height = height;
    if (events_ != nullptr) events_->OnResize();
}

bool MemoryUi::CloseBox() { return events_ != nullptr && events_->OnCloseRequest(); }

}  // namespace vlt
