#include "app/window/control_store.h"
#include "app/window/control_names.h"

namespace vlt {

ControlStore::ControlStore() {
    for (const ControlInfo& s : MainWindowControls()) {
        MemControl m;
        m.kind = s.kind;
        m.text = s.caption;
        m.geometry = s.design;
        controls_[s.ctl] = m;
    }
    MemControl window;
    window.geometry = Rect{0, 0, DesignClientWidth(), DesignClientHeight()};
    controls_[Ctl(ctl::frmMain)] = window;
}

const MemControl& ControlStore::Get(const Ctl& c) const {
    auto it = controls_.find(c);
    if (it == controls_.end()) {
        OnMisuse("no control " + c.ToString());
        return scratch_;
    }
    return it->second;
}

MemControl& ControlStore::Get(const Ctl& c) {
    auto it = controls_.find(c);
    if (it == controls_.end()) {
        OnMisuse("no control " + c.ToString());
        return scratch_;
    }
    return it->second;
}

bool ControlStore::ItemExists(const Ctl& c, int item, const char* what) const {
    if (item >= 0 && item < static_cast<int>(Get(c).items.size())) return true;
    OnMisuse(std::string(what) + " " + std::to_string(item) + " outside " + c.ToString());
    return false;
}

void ControlStore::SetValue(const Ctl& c, int value) {
    MemControl& m = Get(c);
    m.value = value;
    // The window's option buttons form one group (the centricity): selecting
    // one clears the others.
    if (m.kind == CtlKind::Option && value == 1) {
        for (auto& [ctl, other] : controls_) {
            if (other.kind == CtlKind::Option && !(ctl == c)) other.value = 0;
        }
    }
}

void ControlStore::ListClear(const Ctl& c) {
    MemControl& m = Get(c);
    m.items.clear();
    m.index = -1;
}

void ControlStore::ListAdd(const Ctl& c, const std::string& text) {
    MemControl& m = Get(c);
    m.items.push_back(text);
}

void ControlStore::ListSetItemText(const Ctl& c, int item, const std::string& text) {
    if (!ItemExists(c, item, "item")) return;
    Get(c).items[static_cast<std::size_t>(item)] = text;
}

void ControlStore::SetListIndex(const Ctl& c, int item) {
    // A list keeps its selection when asked for an entry it does not have;
    // -1 clears it.
    if (item != -1 && !ItemExists(c, item, "index")) return;
    Get(c).index = item;
}

std::string ControlStore::ListItemText(const Ctl& c, int item) const {
    const MemControl& m = Get(c);
    if (item < 0 || item >= static_cast<int>(m.items.size())) return "";
    return m.items[static_cast<std::size_t>(item)];
}

void ControlStore::SetFont(const Ctl& c, const std::string& family, int points) {
    MemControl& m = Get(c);
    m.font = family;
    m.points = points;
}

void ControlStore::SetBackColor(const Ctl& c, Rgb colour) {
    MemControl& m = Get(c);
    m.back = colour;
    m.backSet = true;
}

MemControl* ControlStore::Reachable(const Ctl& c, const char* absent, const char* unreachable) {
    if (!Exists(c)) {
        OnMisuse(absent + c.ToString());
        return nullptr;
    }
    MemControl& m = Get(c);
    if (!m.enabled || !m.visible) {
        OnMisuse(unreachable + c.ToString());
        return nullptr;
    }
    return &m;
}

bool ControlStore::ApplyClick(const Ctl& c) {
    MemControl* m =
        Reachable(c, "click on no control ", "click on a control the user cannot reach: ");
    if (m == nullptr) return false;
    if (m->kind == CtlKind::CheckBox) {
        m->value = m->value == 1 ? 0 : 1;
    } else if (m->kind == CtlKind::Option) {
        SetValue(c, 1);
    }
    return true;
}

bool ControlStore::ApplyChoice(const Ctl& c, int index) {
    MemControl* m =
        Reachable(c, "choice in no control ", "choice in a list the user cannot reach: ");
    if (m == nullptr) return false;
    if (index < 0 || index >= static_cast<int>(m->items.size())) {
        OnMisuse("no entry " + std::to_string(index) + " in " + c.ToString());
        return false;
    }
    m->index = index;
    return true;
}

}  // namespace vlt
