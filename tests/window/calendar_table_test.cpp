// The calendar table sorts its event column by text (equal texts together)
// and its other columns by instant and longitude; the dialog's choices come
// back as kept, a settings file from before the calendar gives the
// defaults, and flags written by hand read as the user meant them.
#include <gtest/gtest.h>

#include "app/window/calendar_table.h"
#include "tests/window/window_fixture.h"

namespace vlt::testing {
namespace {

SkyEvent Phase(double jd, LunarPhase phase, double longitude) {
    SkyEvent e;
    e.jd = jd;
    e.kind = SkyEventKind::Phase;
    e.body = Planet::Moon;
    e.other = Planet::Sun;
    e.phase = phase;
    e.longitude = longitude;
    return e;
}

TEST(CalendarTable, ColumnsSortByInstantTextAndLongitude) {
    // 2027-01-07 20:24 UT is 15:24 in New York.
    const std::vector<SkyEvent> events = {
        Phase(2461413.35, LunarPhase::New, 287.3), Phase(2461420.5, LunarPhase::FirstQuarter, 10.0),
        Phase(2461428.0, LunarPhase::Full, 120.0), Phase(2461442.5, LunarPhase::New, 317.0)};
    std::string error;
    const std::vector<CalendarRow> rows =
        CalendarRows(events, *EventZone::Read("America/New_York", error));
    ASSERT_EQ(rows.size(), 4u);
    const struct {
        std::size_t row;
        std::string time, event, position;
        double eventKey;
    } cases[] = {
        {0, "2027-01-07 15:24 -05:00", "New moon", "Moon 17\u00b018' Capricorn", 2},
        {1, "2027-01-14 19:00 -05:00", "First quarter", "Moon 10\u00b000' Aries", 0},
        {2, "2027-01-22 07:00 -05:00", "Full moon", "Moon 00\u00b000' Leo", 1},
        {3, "2027-02-05 19:00 -05:00", "New moon", "Moon 17\u00b000' Aquarius", 2},
    };
    for (const auto& c : cases) {
        const CalendarRow& r = rows[c.row];
        EXPECT_EQ(CalendarCell(r, 0), c.time);
        EXPECT_EQ(CalendarCell(r, 1), c.event);
        EXPECT_EQ(CalendarCell(r, 2), c.position);
        EXPECT_EQ(CalendarSortKey(r, 0), events[c.row].jd);
        EXPECT_EQ(CalendarSortKey(r, 1), c.eventKey);
        EXPECT_EQ(CalendarSortKey(r, 2), events[c.row].longitude);
    }
}

class CalendarChoicesTest : public WindowTest {};

TEST_F(CalendarChoicesTest, KeptChoicesComeBackAndOldFilesGiveTheDefaults) {
    const CalendarChoices fresh = StoredCalendarChoices();
    EXPECT_EQ(fresh.kinds, CalendarKinds{});
    EXPECT_EQ(fresh.aspects, (std::array<bool, 7>{1, 1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(fresh.zone, "");
    CalendarChoices kept;
    kept.kinds = {false, true, false, true};
    kept.aspects = {0, 1, 0, 0, 0, 0, 1};
    kept.zone = "Europe/London";
    ASSERT_TRUE(StoreCalendarChoices(kept));
    const CalendarChoices back = StoredCalendarChoices();
    EXPECT_EQ(back.kinds, kept.kinds);
    EXPECT_EQ(back.aspects, kept.aspects);
    EXPECT_EQ(back.zone, kept.zone);
    EXPECT_EQ(AspectsOf(back.aspects), (std::vector<Aspect>{Aspect::Opposition, Aspect::Quincunx}));
    // Short flags keep the defaults past their end.
    ASSERT_TRUE(SaveStringSetting("\\VLT\\Calendar", "Kinds", "0", false));
    ASSERT_TRUE(SaveStringSetting("\\VLT\\Calendar", "Aspects", "01", false));
    EXPECT_EQ(StoredCalendarChoices().kinds, (CalendarKinds{false, true, true, true}));
    EXPECT_EQ(StoredCalendarChoices().aspects, (std::array<bool, 7>{0, 1, 1, 1, 1, 0, 0}));
}

}  // namespace
}  // namespace vlt::testing
