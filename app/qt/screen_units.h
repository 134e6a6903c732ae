#pragma once
// The logic places windows in twips; the screen counts pixels.  The main
// window knows the screen's resolution and lends its conversions to the
// pop-up and the viewer.

#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <QWidget>

#include <functional>

#include "app/support/popup.h"

namespace vlt {

struct TwipsScale {
    std::function<int(int)> toPixels;
    std::function<int(int)> toTwips;
};

// The size of the screen a window is on (the primary screen before the
// window is first shown) in twips: the whole screen, or only the part windows
// may use (`workArea`, without task bars).  `fallback` when there is no
// screen at all.
inline QSize ScreenTwips(const QWidget& w, bool workArea, const std::function<int(int)>& toTwips,
                         QSize fallback) {
    const QScreen* s = w.screen() != nullptr ? w.screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) return fallback;
    const QSize pixels = workArea ? s->availableGeometry().size() : s->geometry().size();
    return QSize(toTwips(pixels.width()), toTwips(pixels.height()));
}

// Moves a top-level window (its frame included) into the part of its
// screen that windows may use.
inline void KeepOnScreen(QWidget& w) {
    const QScreen* s = w.screen() != nullptr ? w.screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) return;
    const QRect frame = w.frameGeometry();
    const QRect area = s->availableGeometry();
    const ScreenPlace kept = KeptInside({frame.x(), frame.y(), frame.width(), frame.height()},
                                        {area.x(), area.y(), area.width(), area.height()});
    if (kept.left != frame.x() || kept.top != frame.y()) w.move(kept.left, kept.top);
}

}  // namespace vlt
