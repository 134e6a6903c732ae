// Geometry and waiting of the pop-up notice.
#include <gtest/gtest.h>

#include "app/support/popup.h"

namespace vlt {
namespace {

class FakePopUp : public PopUpSurface {
public:
    std::vector<std::string> log;
    int width = 1000;
    int height = 400;
    int top = 0;
    int left = 0;
    int labelWidth = 0;
    int shownFor = -1;
    std::string message;

    void SetMessage(const std::string& text) override {
        message = text;
        log.push_back("message");
    }
    void SetWindowSize(int w, int h) override {
        width = w;
        height = h;
        log.push_back("size");
    }
    void SetLabelSize(int w, int) override { labelWidth = w; }
    void SetPosition(int t, int l) override {
        top = t;
        left = l;
        log.push_back("position");
    }
    int WindowWidth() const override { return width; }
    int WindowHeight() const override { return height; }
    int ScreenWidth() const override { return 28800; }
    int ScreenHeight() const override { return 16201; }
    void ShowModal(int ms) override {
        shownFor = ms;
        log.push_back("show");
    }
    void BringToFront() override { log.push_back("front"); }
};

TEST(PopUp, InFormIsPlacedByOffsetsFromTheOwner) {
    FakePopUp p;
    PopUpInForm(p, 2000, 3000, "Loading Pluto data ...", 2880, 300, 2000, 4700, 340);
    EXPECT_EQ(p.message, "Loading Pluto data ...");
    EXPECT_EQ(p.top, 6700);
    EXPECT_EQ(p.left, 3340);
    EXPECT_EQ(p.width, 2880);
    EXPECT_EQ(p.height, 300);
    EXPECT_EQ(p.labelWidth, 2880);
    EXPECT_EQ(p.shownFor, 2000);
    // The caller waits on the show; the window comes to the front after it.
    EXPECT_EQ(p.log.back(), "front");
    EXPECT_EQ(p.log[p.log.size() - 2], "show");
}

TEST(PopUp, PlainPopUpTakesScreenPositions) {
    FakePopUp p;
    PopUp(p, "Done", 1200, 300, 1500, 40000, 50000);  // beyond 16 bits: kept
    EXPECT_EQ(p.top, 40000);
    EXPECT_EQ(p.left, 50000);
    EXPECT_EQ(p.shownFor, 1500);
}

TEST(PopUp, CenteringUsesTheSizeBeforeTheShow) {
    FakePopUp p;  // 1000 x 400 before the first show
    PopUpCenterScreen(p, "first", 3000, 600, 100);
    EXPECT_EQ(p.left, (28800 - 1000) / 2);
    EXPECT_EQ(p.top, 7900);  // (16201 - 400) / 2 = 7900.5, halves to even
    EXPECT_EQ(p.width, 3000);
    PopUpCenterScreen(p, "second", 500, 100, 100);
    EXPECT_EQ(p.left, (28800 - 3000) / 2);  // centred by the first show's size
    EXPECT_EQ(p.top, 7800);                 // (16201 - 600) / 2 = 7800.5
    EXPECT_EQ(p.width, 500);
}

// A window is moved the least that puts it inside the area: a notice below
// the screen's bottom comes up, one left of it comes right, one that fits
// stays; one larger than the area keeps the area's left or top edge.
TEST(PopUp, KeptInsideTheScreensAvailableArea) {
    const ScreenPlace area{0, 30, 1920, 1000};  // a panel of 30 pixels on top
    const struct {
        const char* what;
        ScreenPlace window;
        int left, top;
    } cases[] = {
        {"fits", {100, 200, 300, 80}, 100, 200},
        {"below the bottom", {100, 1010, 300, 80}, 100, 950},
        {"partly below", {100, 990, 300, 80}, 100, 950},
        {"right of the edge", {1800, 200, 300, 80}, 1620, 200},
        {"under the panel", {100, 0, 300, 80}, 100, 30},
        {"left of the screen", {-50, 200, 300, 80}, 0, 200},
        {"exactly at the corner", {1620, 950, 300, 80}, 1620, 950},
        {"taller than the area", {100, 500, 300, 1200}, 100, 30},
        {"wider than the area", {500, 200, 2000, 80}, 0, 200},
    };
    for (const auto& c : cases) {
        const ScreenPlace kept = KeptInside(c.window, area);
        EXPECT_EQ(kept.left, c.left) << c.what;
        EXPECT_EQ(kept.top, c.top) << c.what;
        EXPECT_EQ(kept.width, c.window.width) << c.what;
        EXPECT_EQ(kept.height, c.window.height) << c.what;
    }
}

}  // namespace
}  // namespace vlt
