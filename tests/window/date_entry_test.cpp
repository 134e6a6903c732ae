// Date boxes as the user meets them: cleaning, the date in words, the
// construction period label and the checks the commands run.
#include "app/window/control_names.h"
#include "tests/window/window_fixture.h"

namespace vlt::testing {
namespace {

class DateEntryTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Start();
    }
    void EnterDate(int date, const std::string& y, const std::string& m, const std::string& d) {
        ui.TypeAndLeave(Ctl(ctl::txbYear, date), y);
        ui.TypeAndLeave(Ctl(ctl::txbMonth, date), m);
        ui.TypeAndLeave(Ctl(ctl::txbDay, date), d);
    }
};

struct YearCase {
    const char* typed;
    const char* box;    // text left in the year box
    const char* label;  // date 0 is January 1 of that year
};

TEST_F(DateEntryTest, YearBoxLosingFocusCleansTheText) {
    const YearCase cases[] = {
        {"0042", "42", "January 1, 42 CE"},
        {"2024", "2024", "January 1, 2024 CE"},
        {"20a24", "2024", "January 1, 2024 CE"},
        {" 1999 ", "1999", "January 1, 1999 CE"},
        {"000", "", ""},  // zeros only: an empty year, no date
        {"0", "", ""},
        {"+7", "7", "January 1, 7 CE"},
        {"123456789012345678901234567890", "123456789012345678901234567890",
         "January 1, 123456789012345678901234567890 CE"},
    };
    for (const YearCase& c : cases) {
        SCOPED_TRACE(c.typed);
        ui.TypeAndLeave(Ctl(ctl::txbYear, 0), c.typed);
        EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 0)), c.box);
        EXPECT_EQ(ui.Text(Ctl(ctl::lblDate, 0)), c.label);
    }
}

TEST_F(DateEntryTest, NegativeYearIsReportedAndKept) {
    ui.ExpectBox("Year number must be positive.");
    ui.TypeAndLeave(Ctl(ctl::txbYear, 1), "-5");
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].title, "Invalid year");
    EXPECT_EQ(ui.Boxes()[0].icon, MsgIcon::Information);
    EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 1)), "-5");
    // Reported again at every leaving.
    ui.ExpectBox("Year number must be positive.");
    ui.Leave(Ctl(ctl::txbYear, 1));
}

struct DateCase {
    const char* year;
    const char* month;
    const char* day;
    const char* monthBox;
    const char* dayBox;
    const char* label;
};

TEST_F(DateEntryTest, MonthAndDayBoxesAndTheDateInWords) {
    const DateCase cases[] = {
        {"2024", "02", "29", "02", "29", "February 29, 2024 CE"},
        {"2024", "2", "30", "2", "30", "invalid date"},
        {"2023", "2", "29", "2", "29", "invalid date"},
        {"2000", "2", "29", "2", "29", "February 29, 2000 CE"},
        {"1900", "2", "29", "2", "29", "invalid date"},
        {"2024", "5a", "5", "5", "5", "May 5, 2024 CE"},
        {"2024", "13", "1", "13", "1", "invalid date"},
        {"2024", "1", "0", "1", "0", "invalid date"},
        {"2024", "-4", "+3", "4", "3", "April 3, 2024 CE"},
        {"2024", "99999999999999999999999999999", "1", "99999999999999999999999999999", "1",
         "invalid date"},
        {"2024", "9", "", "9", "", ""},
        {"2799", "12", "31", "12", "31", "December 31, 2799 CE"},
    };
    for (const DateCase& c : cases) {
        SCOPED_TRACE(std::string(c.year) + "/" + c.month + "/" + c.day);
        EnterDate(0, c.year, c.month, c.day);
        EXPECT_EQ(ui.Text(Ctl(ctl::txbMonth, 0)), c.monthBox);
        EXPECT_EQ(ui.Text(Ctl(ctl::txbDay, 0)), c.dayBox);
        EXPECT_EQ(ui.Text(Ctl(ctl::lblDate, 0)), c.label);
    }
}

TEST_F(DateEntryTest, ConstructionPeriodLabelFollowsBothDates) {
    EXPECT_EQ(ui.Text(ctl::lblConstructTransitTables),
              "Construct transit tables for the period 2026-01-01 to 2026-12-31 for:");
    EnterDate(0, "2024", "5", "5");
    EnterDate(1, "2025", "11", "30");
    EXPECT_EQ(ui.Text(ctl::lblConstructTransitTables),
              "Construct transit tables for the period 2024-05-05 to 2025-11-30 for:");
}

struct SpanCase {
    const char* year;
    const char* month;
    const char* day;
    int date;
    const char* message;  // "" when accepted
    int32_t dayNumber;
};

TEST_F(DateEntryTest, ValidateDateChecksExistenceAndSpan) {
    const SpanCase cases[] = {
        {"2799", "12", "31", 0, "", 2743738},
        {"2800", "1", "1", 0, "End date is too late", 2743739},
        {"2800", "1", "1", 1, "End date is too late", 2743739},
        {"1", "1", "1", 0, "", 1721426},
        {"2024", "5", "5", 1, "", 2460436},
        {"2024", "2", "30", 0, "The start date is invalid.", 0},
        {"2023", "2", "29", 1, "The end date is invalid.", 0},
        // Far beyond any calendar: too late, and no overflow on the way.
        {"123456789012345678901234567890", "1", "1", 0, "End date is too late", 0},
        {"4294967297", "1", "1", 1, "End date is too late", 0},
    };
    for (const SpanCase& c : cases) {
        SCOPED_TRACE(std::string(c.year) + "-" + c.month + "-" + c.day);
        ui.SetText(Ctl(ctl::txbYear, c.date), c.year);
        ui.SetText(Ctl(ctl::txbMonth, c.date), c.month);
        ui.SetText(Ctl(ctl::txbDay, c.date), c.day);
        ui.ClearBoxes();
        if (*c.message != '\0') ui.ExpectBox(c.message);
        const bool ok = window.ValidateDate(c.date);
        EXPECT_EQ(ok, *c.message == '\0');
        if (ok) {
            EXPECT_EQ(window.DayNumber(c.date), c.dayNumber);
        }
        if (c.dayNumber != 0) {
            EXPECT_EQ(window.DayNumber(c.date), c.dayNumber);
        }
        if (!ok) {
            ASSERT_EQ(ui.Boxes().size(), 1u);
            EXPECT_EQ(ui.Boxes()[0].icon, MsgIcon::Information);
            const bool invalid = std::string(c.message).find("invalid") != std::string::npos;
            EXPECT_EQ(ui.Boxes()[0].title, invalid ? "Invalid input" : ui.Text(ctl::cmdStart));
            EXPECT_EQ(ui.Text(Ctl(ctl::lblDate, c.date)) == "invalid date", invalid);
        }
    }
}

TEST_F(DateEntryTest, MissingFieldsAreAskedForInOrder) {
    struct Case {
        int date;
        const char* year;
        const char* month;
        const char* day;
        const char* message;
    } cases[] = {
        {0, "", "1", "1", "Please specify start year."},
        {0, "2024", "x", "1", "Please specify start month."},
        {0, "2024", "1", "", "Please specify start day."},
        {1, "", "", "", "Please specify end year."},
        {1, "2024", "", "", "Please specify end month."},
        {1, "2024", "12", " ", "Please specify end day."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ui.SetText(Ctl(ctl::txbYear, c.date), c.year);
        ui.SetText(Ctl(ctl::txbMonth, c.date), c.month);
        ui.SetText(Ctl(ctl::txbDay, c.date), c.day);
        ui.ClearBoxes();
        ui.ExpectBox(c.message);
        EXPECT_FALSE(window.CheckDateFieldsPresent(c.date));
        ASSERT_EQ(ui.Boxes().size(), 1u);
        EXPECT_EQ(ui.Boxes()[0].icon, MsgIcon::None);
        EXPECT_EQ(ui.Boxes()[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(ui.Boxes()[0].title, ui.Text(ctl::cmdStart));
    }
    ui.SetText(Ctl(ctl::txbYear, 0), "20x24");
    ui.SetText(Ctl(ctl::txbMonth, 0), "1");
    ui.SetText(Ctl(ctl::txbDay, 0), "1");
    EXPECT_TRUE(window.CheckDateFieldsPresent(0));
    EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 0)), "2024");
}

TEST_F(DateEntryTest, ClearingTheDayEmptiesTheLabelSilently) {
    ui.TypeAndLeave(Ctl(ctl::txbDay, 1), "");
    EXPECT_EQ(ui.Text(Ctl(ctl::lblDate, 1)), "");
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(DateEntryTest, EnterInADateBoxStartsTheConstructCommandOnlyWhenEnabled) {
    ui.PressEnter(Ctl(ctl::txbDay, 1));
    EXPECT_EQ(handlers.calls, std::vector<std::string>{"Start"});
    window.EnterBusyState(RunKind::Simulation);  // the simulation runs: cmdStart is disabled
    ui.PressEnter(Ctl(ctl::txbYear, 0));
    EXPECT_EQ(handlers.calls.size(), 1u);
}

TEST_F(DateEntryTest, SearchWritesDatesIntoTheFields) {
    window.ShowDateInFields(1, 2488069);
    EXPECT_EQ(ui.Text(Ctl(ctl::txbYear, 1)), "2099");
    EXPECT_EQ(ui.Text(Ctl(ctl::txbMonth, 1)), "12");
    EXPECT_EQ(ui.Text(Ctl(ctl::txbDay, 1)), "31");
    EXPECT_EQ(ui.Text(Ctl(ctl::lblDate, 1)), "December 31, 2099 CE");
}

TEST_F(DateEntryTest, StopDateTextIsKeptTrimmed) {
    ui.TypeAndLeave(ctl::txbStopDate, "  2031-04-01 ");
    EXPECT_EQ(Inspect(window).stopDateText, "2031-04-01");
}

}  // namespace
}  // namespace vlt::testing
