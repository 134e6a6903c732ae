#pragma once
// The pop-up notice: one line of text in a small frameless window that the
// caller waits on until it ends by itself (its interval) or by a click.  The
// geometry rules live here; the screen is behind PopUpSurface.  Positions and
// sizes are twips on the screen.

#include <string>

namespace vlt {

class PopUpSurface {
public:
    virtual ~PopUpSurface() = default;
    virtual void SetMessage(const std::string& text) = 0;
    virtual void SetWindowSize(int width, int height) = 0;
    virtual void SetLabelSize(int width, int height) = 0;
    virtual void SetPosition(int top, int left) = 0;
    virtual int WindowWidth() const = 0;
    virtual int WindowHeight() const = 0;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
    // Shows the window modally: returns when the interval has passed or the
    // user clicked the text; the window is hidden again by then.
    virtual void ShowModal(int milliseconds) = 0;
    virtual void BringToFront() = 0;
};

// Text, size, position (screen twips) and interval (milliseconds).  The
// sizes are plain int: the position of a window on a wide screen does not fit
// the 16 bits that the classic interface allowed.
void PopUp(PopUpSurface& surface, const std::string& message, int width, int height, int interval,
           int top, int left);

// Centres by the size the window has before this show, then as PopUp.
void PopUpCenterScreen(PopUpSurface& surface, const std::string& message, int width, int height,
                       int interval);

// A window's place, or the part of a screen windows may use.
struct ScreenPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The place of a window moved the least distance that puts it inside the
// area, its size kept; one larger than the area keeps its left or top edge
// on the area's.  A notice placed below a window near the screen's bottom
// would otherwise be shown where nobody can see it.
ScreenPlace KeptInside(const ScreenPlace& window, const ScreenPlace& area);

// `top` and `left` are offsets from the owner window's top and left edges.
void PopUpInForm(PopUpSurface& surface, int ownerTop, int ownerLeft, const std::string& message,
                 int width, int height, int interval, int top, int left);

}  // namespace vlt
