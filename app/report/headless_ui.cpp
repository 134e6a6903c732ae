#include "app/report/headless_ui.h"

namespace vlt {

HeadlessUi::HeadlessUi(std::ostream& messages) : messages_(messages) {}

std::string HeadlessUi::SaveFileDialog(const std::string& /*title*/) {
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

bool HeadlessUi::Reachable(const Ctl& c) const { return Exists(c) && Enabled(c) && Visible(c); }

bool HeadlessUi::Type(const Ctl& c, const std::string& text) {
    if (!Reachable(c)) return false;
    SetText(c, text);
    return true;
}

bool HeadlessUi::Leave(const Ctl& c) {
    if (!Exists(c)) return false;
    if (events_ != nullptr) events_->OnLostFocus(c);
    return true;
}

bool HeadlessUi::Click(const Ctl& c) {
    if (!ApplyClick(c)) return false;
    if (events_ != nullptr) events_->OnClick(c);
    return true;
}

bool HeadlessUi::Choose(const Ctl& c, int index) {
    if (!ApplyChoice(c, index)) return false;
    if (events_ != nullptr) events_->OnClick(c);
    return true;
}

bool HeadlessUi::SetChecked(const Ctl& c, int value) {
    if (!Exists(c) || Get(c).kind != CtlKind::CheckBox) return false;
    if (Value(c) == value) return true;
    return Click(c);
}

}  // namespace vlt
