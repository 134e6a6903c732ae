#include "app/support/popup.h"

#include <cmath>

namespace vlt {
namespace {

// Halves round to even, like every rounding of positions in this program.
int RoundHalfEven(double x) { return static_cast<int>(std::nearbyint(x)); }

void ShowAndWait(PopUpSurface& surface, int interval) {
    surface.ShowModal(interval);
    surface.BringToFront();
}

}  // namespace

ScreenPlace KeptInside(const ScreenPlace& window, const ScreenPlace& area) {
    const auto keep = [](int at, int size, int areaAt, int areaSize) {
        if (at + size > areaAt + areaSize) at = areaAt + areaSize - size;
        return at < areaAt ? areaAt : at;
    };
    return {keep(window.left, window.width, area.left, area.width),
            keep(window.top, window.height, area.top, area.height), window.width, window.height};
}

void PopUp(PopUpSurface& surface, const std::string& message, int width, int height, int interval,
           int top, int left) {
    surface.SetMessage(message);
    surface.SetWindowSize(width, height);
    surface.SetLabelSize(width, height);
    surface.SetPosition(top, left);
    ShowAndWait(surface, interval);
}

void PopUpCenterScreen(PopUpSurface& surface, const std::string& message, int width, int height,
                       int interval) {
    const int left = RoundHalfEven((surface.ScreenWidth() - surface.WindowWidth()) / 2.0);
    const int top = RoundHalfEven((surface.ScreenHeight() - surface.WindowHeight()) / 2.0);
    PopUp(surface, message, width, height, interval, top, left);
}

void PopUpInForm(PopUpSurface& surface, int ownerTop, int ownerLeft, const std::string& message,
                 int width, int height, int interval, int top, int left) {
    surface.SetPosition(ownerTop + top, ownerLeft + left);
    surface.SetMessage(message);
    surface.SetWindowSize(width, height);
    surface.SetLabelSize(width, height);
    ShowAndWait(surface, interval);
}

}  // namespace vlt
