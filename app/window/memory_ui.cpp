#include "app/window/memory_ui.h"

#include "app/window/controls.h"

namespace vlt {

MemoryUi::MemoryUi() {
    for (const ControlInfo& s : MainWindowControls()) {
        MemControl m;
        m.text = s.caption;
        m.geometry = s.design;
        controls_[s.ctl] = m;
    }
    MemControl window;
    window.geometry = Rect{0, 0, DesignClientWidth(), DesignClientHeight()};
    controls_[Ctl(kMainWindow)] = window;
}

void MemoryUi::Fail(const std::string& what) const {
    if (onFailure_) onFailure_(what);
}

const MemControl& MemoryUi::Get(const Ctl& c) const {
    auto it = controls_.find(c);
    if (it == controls_.end()) {
        Fail("no control " + c.ToString());
        return scratch_;
    }
    return it->second;
}

MemControl& MemoryUi::Get(const Ctl& c) {
    auto it = controls_.find(c);
    if (it == controls_.end()) {
        Fail("no control " + c.ToString());
        return scratch_;
    }
    return it->second;
}

void MemoryUi::SetValue(const Ctl& c, int value) {
    Get(c).value = value;
    // Option buttons of one group exclude each other.
    if (value == 1 && (c.name == "optGeocentric" || c.name == "optHeliocentric")) {
        Get(c.name == "optGeocentric" ? Ctl("optHeliocentric") : Ctl("optGeocentric")).value = 0;
    }
}

void MemoryUi::ListClear(const Ctl& c) {
    MemControl& m = Get(c);
    m.items.clear();
    m.itemData.clear();
    m.index = -1;
}

void MemoryUi::ListAdd(const Ctl& c, const std::string& text) {
    MemControl& m = Get(c);
    m.items.push_back(text);
    m.itemData.push_back(0);
}

void MemoryUi::ListSetItemText(const Ctl& c, int item, const std::string& text) {
    MemControl& m = Get(c);
    if (item < 0 || item >= static_cast<int>(m.items.size())) {
        Fail("item " + std::to_string(item) + " outside " + c.ToString());
        return;
    }
    m.items[static_cast<std::size_t>(item)] = text;
}

void MemoryUi::ListSetItemData(const Ctl& c, int item, int data) {
    MemControl& m = Get(c);
    if (item < 0 || item >= static_cast<int>(m.items.size())) {
        Fail("item " + std::to_string(item) + " outside " + c.ToString());
        return;
    }
    m.itemData[static_cast<std::size_t>(item)] = data;
}

int MemoryUi::ListItemData(const Ctl& c, int item) const {
    const MemControl& m = Get(c);
    if (item < 0 || item >= static_cast<int>(m.items.size())) return 0;
    return m.itemData[static_cast<std::size_t>(item)];
}

void MemoryUi::SetListIndex(const Ctl& c, int item) {
    MemControl& m = Get(c);
    if (item < -1 || item >= static_cast<int>(m.items.size())) {
        Fail("index " + std::to_string(item) + " outside " + c.ToString());
        return;
    }
    m.index = item;
}

std::string MemoryUi::ListItemText(const Ctl& c, int item) const {
    const MemControl& m = Get(c);
    if (item < 0 || item >= static_cast<int>(m.items.size())) return "";
    return m.items[static_cast<std::size_t>(item)];
}

void MemoryUi::SetFocus(const Ctl& c) {
    Get(c);
    focus_ = c;
}

void MemoryUi::SetFont(const Ctl& c, const std::string& family, int points) {
    MemControl& m = Get(c);
    m.font = family;
    m.points = points;
}

void MemoryUi::SetBackColor(const Ctl& c, Rgb colour) {
    MemControl& m = Get(c);
    m.back = colour;
    m.backSet = true;
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
        Fail("unexpected message box: \"" + text + "\" (title \"" + title + "\")" +
             (expected_.empty() ? std::string() : ", expected \"" + expected_.front().first + "\""));
        r.answer = buttons == MsgButtons::Ok          ? MsgResult::Ok
                   : buttons == MsgButtons::YesNo     ? MsgResult::Yes
                                                      : MsgResult::No;
    }
    boxes_.push_back(r);
    return r.answer;
}

std::string MemoryUi::SaveFileDialog(const std::string& title, const std::string& /*filter*/) {
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
    MemControl& m = Get(c);
    if (!m.enabled || !m.visible) {
        Fail("click on a control the user cannot reach: " + c.ToString());
        return;
    }
    const ControlInfo& spec = ControlInfoOf(c);
    if (spec.kind == CtlKind::CheckBox) {
        m.value = m.value == 1 ? 0 : 1;
    } else if (spec.kind == CtlKind::Option) {
        SetValue(c, 1);
    }
    if (events_ != nullptr) events_->OnClick(c);
}

void MemoryUi::Choose(const Ctl& c, int index) {
    MemControl& m = Get(c);
    if (!m.enabled || !m.visible) {
        Fail("choice in a list the user cannot reach: " + c.ToString());
        return;
    }
    if (index < 0 || index >= static_cast<int>(m.items.size())) {
        Fail("no entry " + std::to_string(index) + " in " + c.ToString());
        return;
    }
    m.index = index;
    if (events_ != nullptr) events_->OnClick(c);
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
    Rect& w = Get(kMainWindow).geometry;
    w.width = width;
    w.height = height;
    if (events_ != nullptr) events_->OnResize();
}

bool MemoryUi::CloseBox() { return events_ != nullptr && events_->OnCloseRequest(); }

}  // namespace vlt
