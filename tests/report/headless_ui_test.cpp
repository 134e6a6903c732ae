// The screen without a screen: what it tells the user, what it answers, and
// which user actions it refuses as a real window would.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/report/headless_ui.h"
#include "app/report/report_run.h"
#include "app/window/control_names.h"

namespace vlt {
namespace {

class RecordingEvents : public UiEvents {
public:
    std::vector<std::string> seen;
    void OnClick(const Ctl& c) override { seen.push_back("click " + c.ToString()); }
    void OnLostFocus(const Ctl& c) override { seen.push_back("leave " + c.ToString()); }
    void OnKeyUp(const Ctl& c, int key) override {
        seen.push_back("key " + c.ToString() + " " + std::to_string(key));
    }
    void OnTick() override { seen.push_back("tick"); }
    void OnResize() override { seen.push_back("resize"); }
    bool OnCloseRequest() override { return true; }
};

struct BoxCase {
    MsgButtons buttons;
    MsgResult answer;  // the window's default button
};

TEST(HeadlessUi, MessageBoxesGoToTheStreamAndTakeTheDefaultButton) {
    const std::vector<BoxCase> cases = {
        {MsgButtons::Ok, MsgResult::Ok},
        {MsgButtons::YesNo, MsgResult::Yes},
        {MsgButtons::YesNoCancel, MsgResult::No},
    };
    for (const BoxCase& c : cases) {
        std::ostringstream messages;
        HeadlessUi ui(messages);
        EXPECT_EQ(ui.Show("Output textbox is full.\n\nPlease specify a shorter period.", "Veltaro",
                          c.buttons, MsgIcon::Exclamation),
                  c.answer);
        EXPECT_EQ(ui.Show("Done?", "", c.buttons, MsgIcon::None), c.answer);
        EXPECT_EQ(messages.str(),
                  "Output textbox is full.\n\nPlease specify a shorter period.\nDone?\n");
        EXPECT_EQ(ui.BoxesShown(), 2);
    }
}

TEST(HeadlessUi, NoticesAreKeptNotShown) {
    std::ostringstream messages;
    HeadlessUi ui(messages);
    ui.PopUpInWindow("Loading Pluto data ...", Rect{100, 200, 2880, 300}, 2000);
    ui.PopUpInWindow("Done", Rect{0, 0, 1200, 300}, 2000);
    EXPECT_EQ(ui.PopUpTexts(), (std::vector<std::string>{"Loading Pluto data ...", "Done"}));
    EXPECT_EQ(messages.str(), "");
    EXPECT_EQ(ui.BoxesShown(), 0);
}

TEST(HeadlessUi, OptionButtonsExcludeEachOther) {
    std::ostringstream messages;
    HeadlessUi ui(messages);
    RecordingEvents events;
    ui.Attach(&events);
    ui.SetValue(ctl::optGeocentric, 1);
    ASSERT_TRUE(ui.Click(ctl::optHeliocentric));
    EXPECT_EQ(ui.Value(ctl::optHeliocentric), 1);
    EXPECT_EQ(ui.Value(ctl::optGeocentric), 0);
    ui.SetValue(ctl::optGeocentric, 1);
    EXPECT_EQ(ui.Value(ctl::optHeliocentric), 0);
    // A check box is no option button: checking one leaves the others.
    ui.SetValue(Ctl(ctl::chkAspectType, 0), 1);
    ui.SetValue(Ctl(ctl::chkAspectType, 1), 1);
    EXPECT_EQ(ui.Value(Ctl(ctl::chkAspectType, 0)), 1);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"click optHeliocentric(0)"}));
}

TEST(HeadlessUi, ClicksToggleCheckBoxesAndReachTheWindow) {
    std::ostringstream messages;
    HeadlessUi ui(messages);
    RecordingEvents events;
    ui.Attach(&events);
    const Ctl box(ctl::chkAspectType, 3);
    ASSERT_TRUE(ui.Click(box));
    EXPECT_EQ(ui.Value(box), 1);
    ASSERT_TRUE(ui.Click(box));
    EXPECT_EQ(ui.Value(box), 0);
    // SetChecked clicks only when the box is not already as wanted.
    ASSERT_TRUE(ui.SetChecked(box, 0));
    ASSERT_TRUE(ui.SetChecked(box, 1));
    EXPECT_EQ(ui.Value(box), 1);
    EXPECT_FALSE(ui.SetChecked(ctl::cmdStart, 1));  // a button has no checked state
    EXPECT_EQ(events.seen,
              (std::vector<std::string>{"click chkAspectType(3)", "click chkAspectType(3)",
                                        "click chkAspectType(3)"}));
}

TEST(HeadlessUi, RefusesWhatAUserCouldNotDo) {
    std::ostringstream messages;
    HeadlessUi ui(messages);
    RecordingEvents events;
    ui.Attach(&events);
    const Ctl list(ctl::cboOrbs, 0);
    ui.ListAdd(list, "1°");
    ui.ListAdd(list, "2°");

    EXPECT_FALSE(ui.Choose(list, 2));   // no such entry
    EXPECT_FALSE(ui.Choose(list, -1));  // a user cannot choose "nothing"
    EXPECT_EQ(ui.ListIndex(list), -1);
    EXPECT_FALSE(ui.Click(Ctl(std::string("cmdNoSuchButton"))));
    EXPECT_FALSE(ui.Type(Ctl(ctl::txbYear, 2), "2024"));

    ui.SetEnabled(ctl::cmdSimulateInvestment, false);
    EXPECT_FALSE(ui.Click(ctl::cmdSimulateInvestment));
    ui.SetEnabled(list, false);
    EXPECT_FALSE(ui.Choose(list, 1));
    ui.SetEnabled(Ctl(ctl::txbYear, 0), false);
    EXPECT_FALSE(ui.Type(Ctl(ctl::txbYear, 0), "2024"));
    EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 0)), "");
    ui.SetVisible(ctl::cmdSearch, false);
    EXPECT_FALSE(ui.Click(ctl::cmdSearch));
    EXPECT_TRUE(events.seen.empty());

    ui.SetEnabled(list, true);
    EXPECT_TRUE(ui.Choose(list, 1));
    EXPECT_EQ(ui.ListIndex(list), 1);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"click cboOrbs(0)"}));
}

TEST(HeadlessUi, ListsKeepTheirSelectionOnAnIndexTheyDoNotHave) {
    std::ostringstream messages;
    HeadlessUi ui(messages);
    const Ctl list(ctl::cboTimezone, 0);
    for (const char* t : {"", "GMT-11:30", "GMT-11:00"}) ui.ListAdd(list, t);
    ui.SetListIndex(list, 2);
    ui.SetListIndex(list, 3);
    ui.SetListIndex(list, -2);
    EXPECT_EQ(ui.ListIndex(list), 2);
    ui.ListSetItemText(list, 2, "HAST");
    ui.ListSetItemText(list, 5, "none");
    EXPECT_EQ(ui.ListItemText(list, 2), "HAST");
    EXPECT_EQ(ui.ListItemText(list, 5), "");
    ui.SetListIndex(list, -1);
    EXPECT_EQ(ui.ListIndex(list), -1);
    ui.ListClear(list);
    EXPECT_EQ(ui.ListCount(list), 0);
}

TEST(HeadlessUi, OutputBoxGrowsByAppending) {
    std::ostringstream messages;
    HeadlessUi ui(messages);
    ui.AppendText(ctl::txbOutput, "line 1\r\n");
    ui.AppendText(ctl::txbOutput, "line 2\r\n");
    EXPECT_EQ(ui.Text(ctl::txbOutput), "line 1\r\nline 2\r\n");
    ui.SetText(ctl::txbOutput, "");
    EXPECT_EQ(ui.Text(ctl::txbOutput), "");
}

struct LineEndCase {
    std::string box;
    std::string printed;
};

TEST(ReportText, CrLfBecomesLfAndNothingElseChanges) {
    const std::vector<LineEndCase> cases = {
        {"", ""},
        {"a\r\nb\r\n", "a\nb\n"},
        {"\r\n\r\n", "\n\n"},
        {"no end", "no end"},
        {"lone\rreturn\r", "lone\rreturn\r"},
        {"already\nLF\n", "already\nLF\n"},
        {"\r\r\n", "\r\n"},
        {"5\xC2\xB0\r\n", "5\xC2\xB0\n"},
    };
    for (const LineEndCase& c : cases) EXPECT_EQ(WithLfLineEnds(c.box), c.printed) << c.box;
}

}  // namespace
}  // namespace vlt
