#include "app/report/headless_ui.h"

#include "app/window/controls.h"

namespace vlt {

HeadlessUi::HeadlessUi(std::ostream& messages) : messages_(messages) {
    for (const ControlInfo& s : MainWindowControls()) {
        Control m;
        m.isCheckBox = s.kind == CtlKind::CheckBox;
        m.isOption = s.kind == CtlKind::Option;
        m.text = s.caption;
        m.geometry = s.design;
        controls_[s.ctl] = m;
    }
    Control window;
    window.geometry = Rect{0, 0, DesignClientWidth(), DesignClientHeight()};
    controls_[Ctl(kMainWindow)] = window;
}

HeadlessUi::Control* HeadlessUi::Find(const Ctl& c) {
    auto it = controls_.find(c);
    return it == controls_.end() ? nullptr : &it->second;
}

const HeadlessUi::Control* HeadlessUi::Find(const Ctl& c) const {
    auto it = controls_.find(c);
    return it == controls_.end() ? nullptr : &it->second;
}

// ---------------------------------------------------------------- UiOps

std::string HeadlessUi::Text(const Ctl& c) const {
    const Control* m = Find(c);
    return m != nullptr ? m->text : std::string();
}

void HeadlessUi::SetText(const Ctl& c, const std::string& text) {
    if (Control* m = Find(c)) m->text = text;
}

int HeadlessUi::Value(const Ctl& c) const {
    const Control* m = Find(c);
    return m != nullptr ? m->value : 0;
}

void HeadlessUi::SetValue(const Ctl& c, int value) {
    Control* m = Find(c);
    if (m == nullptr) return;
    m->value = value;
    // The window's option buttons form one group (the centricity): selecting
    // one clears the others.
    if (m->isOption && value == 1) {
        for (auto& [ctl, other] : controls_) {
            if (other.isOption && !(ctl == c)) other.value = 0;
        }
    }
}

void HeadlessUi::ListClear(const Ctl& c) {
    if (Control* m = Find(c)) {
        m->items.clear();
        m->itemData.clear();
        m->index = -1;
    }
}

void HeadlessUi::ListAdd(const Ctl& c, const std::string& text) {
    if (Control* m = Find(c)) {
        m->items.push_back(text);
        m->itemData.push_back(0);
    }
}

void HeadlessUi::ListSetItemText(const Ctl& c, int item, const std::string& text) {
    Control* m = Find(c);
    if (m == nullptr || item < 0 || item >= static_cast<int>(m->items.size())) return;
    m->items[static_cast<std::size_t>(item)] = text;
}

void HeadlessUi::ListSetItemData(const Ctl& c, int item, int data) {
    Control* m = Find(c);
    if (m == nullptr || item < 0 || item >= static_cast<int>(m->items.size())) return;
    m->itemData[static_cast<std::size_t>(item)] = data;
}

int HeadlessUi::ListItemData(const Ctl& c, int item) const {
    const Control* m = Find(c);
    if (m == nullptr || item < 0 || item >= static_cast<int>(m->items.size())) return 0;
    return m->itemData[static_cast<std::size_t>(item)];
}

int HeadlessUi::ListCount(const Ctl& c) const {
    const Control* m = Find(c);
    return m != nullptr ? static_cast<int>(m->items.size()) : 0;
}

int HeadlessUi::ListIndex(const Ctl& c) const {
    const Control* m = Find(c);
    return m != nullptr ? m->index : -1;
}

void HeadlessUi::SetListIndex(const Ctl& c, int item) {
    Control* m = Find(c);
    // A list keeps its selection when asked for an entry it does not have.
    if (m == nullptr || item < -1 || item >= static_cast<int>(m->items.size())) return;
    m->index = item;
}

std::string HeadlessUi::ListItemText(const Ctl& c, int item) const {
    const Control* m = Find(c);
    if (m == nullptr || item < 0 || item >= static_cast<int>(m->items.size())) return "";
    return m->items[static_cast<std::size_t>(item)];
}

bool HeadlessUi::Enabled(const Ctl& c) const {
    const Control* m = Find(c);
    return m != nullptr && m->enabled;
}

void HeadlessUi::SetEnabled(const Ctl& c, bool enabled) {
    if (Control* m = Find(c)) m->enabled = enabled;
}

bool HeadlessUi::Visible(const Ctl& c) const {
    const Control* m = Find(c);
    return m != nullptr && m->visible;
}

void HeadlessUi::SetVisible(const Ctl& c, bool visible) {
    if (Control* m = Find(c)) m->visible = visible;
}

void HeadlessUi::SetFocus(const Ctl& /*c*/) {}
void HeadlessUi::SetFont(const Ctl& /*c*/, const std::string& /*family*/, int /*points*/) {}
void HeadlessUi::SetBold(const Ctl& /*c*/, bool /*bold*/) {}
void HeadlessUi::SetBackColor(const Ctl& /*c*/, Rgb /*colour*/) {}

Rect HeadlessUi::Geometry(const Ctl& c) const {
    const Control* m = Find(c);
    return m != nullptr ? m->geometry : Rect{};
}

void HeadlessUi::SetGeometry(const Ctl& c, const Rect& r) {
    if (Control* m = Find(c)) m->geometry = r;
}

void HeadlessUi::AppendText(const Ctl& c, const std::string& text) {
    if (Control* m = Find(c)) m->text += text;
}

std::string HeadlessUi::SaveFileDialog(const std::string& /*title*/,
                                       const std::string& /*filter*/) {
    return "";  // cancelled: there is nobody to choose a file
}

bool HeadlessUi::OpenWithDefaultProgram(const std::string& /*path*/) { return false; }

void HeadlessUi::PopUpInWindow(const std::string& text, const Rect& /*where*/,
                               int /*milliseconds*/) {
    // A notice ("Done", "Loading Pluto data ...") is not a message and is not
    // waited for: the command goes on at once.
    popUps_.push_back(text);
}

void HeadlessUi::ShowViewer(const std::string& /*caption*/, const std::string& /*path*/,
                            bool /*hideCopy*/, const Rect& /*place*/) {}

MsgResult HeadlessUi::Show(const std::string& text, const std::string& /*title*/,
                           MsgButtons buttons, MsgIcon /*icon*/) {
    ++boxesShown_;
    messages_ << text << '\n';
    messages_.flush();
    switch (buttons) {
        case MsgButtons::Ok: return MsgResult::Ok;
        case MsgButtons::YesNo: return MsgResult::Yes;
        case MsgButtons::YesNoCancel: return MsgResult::No;
    }
    return MsgResult::Ok;
}

// ---------------------------------------------------------------- user actions

bool HeadlessUi::Reachable(const Ctl& c) const {
    const Control* m = Find(c);
    return m != nullptr && m->enabled && m->visible;
}

bool HeadlessUi::Type(const Ctl& c, const std::string& text) {
    if (!Reachable(c)) return false;
    Find(c)->text = text;
    return true;
}

bool HeadlessUi::Leave(const Ctl& c) {
    if (Find(c) == nullptr) return false;
    if (events_ != nullptr) events_->OnLostFocus(c);
    return true;
}

bool HeadlessUi::Click(const Ctl& c) {
    if (!Reachable(c)) return false;
    Control& m = *Find(c);
    if (m.isCheckBox) {
        m.value = m.value == 1 ? 0 : 1;
    } else if (m.isOption) {
        SetValue(c, 1);
    }
    if (events_ != nullptr) events_->OnClick(c);
    return true;
}

bool HeadlessUi::Choose(const Ctl& c, int index) {
    if (!Reachable(c)) return false;
    Control& m = *Find(c);
    if (index < 0 || index >= static_cast<int>(m.items.size())) return false;
    m.index = index;
    if (events_ != nullptr) events_->OnClick(c);
    return true;
}

bool HeadlessUi::SetChecked(const Ctl& c, int value) {
    const Control* m = Find(c);
    if (m == nullptr || !m->isCheckBox) return false;
    if (m->value == value) return true;
    return Click(c);
}

}  // namespace vlt
