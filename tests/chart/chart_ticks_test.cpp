// Tick choice on the charts' axes: round dates and round values, checked
// against hand-made tables (dates also against the rules every tick must
// keep), with the calendar checked against the standard library's.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/chart/chart_ticks.h"

namespace vlt {
namespace {

namespace chr = std::chrono;

std::int32_t Day(int y, unsigned m, unsigned d) {
    const chr::sys_days days{chr::year{y} / chr::month{m} / chr::day{d}};
    return static_cast<std::int32_t>(2440588 + days.time_since_epoch().count());
}

std::vector<std::string> Labels(const std::vector<ChartTick>& ticks) {
    std::vector<std::string> labels;
    for (const ChartTick& t : ticks) labels.push_back(t.label);
    return labels;
}

TEST(ChartTicks, CalendarAgreesWithTheStandardLibrary) {
    for (std::int32_t day = Day(1, 1, 1); day <= Day(2800, 1, 1); day += 97) {
        const chr::year_month_day ymd{chr::sys_days{chr::days{day - 2440588}}};
        const ChartDate d = ChartDateOfDay(day);
        ASSERT_EQ(d.year, static_cast<int>(ymd.year())) << day;
        ASSERT_EQ(d.month, static_cast<int>(unsigned(ymd.month()))) << day;
        ASSERT_EQ(d.day, static_cast<int>(unsigned(ymd.day()))) << day;
        ASSERT_EQ(ChartDayOfDate(d.year, d.month, d.day), day);
    }
}

TEST(ChartTicks, DatesFallOnYearsMonthsOrDaysOfTheMonth) {
    const struct {
        std::int32_t first, last;
        int room;
        std::vector<std::string> labels;
    } cases[] = {
        // The index's years: every year from the first whole one.
        {Day(2007, 1, 3),
         Day(2014, 12, 31),
         10,
         {"2008", "2009", "2010", "2011", "2012", "2013", "2014"}},
        {Day(2007, 1, 3), Day(2014, 12, 31), 5, {"2008", "2010", "2012", "2014"}},
        // A period starting on 1 January has its first day as a tick.
        {Day(2007, 1, 1), Day(2010, 6, 30), 8, {"2007", "2008", "2009", "2010"}},
        // A year: quarters when months do not all fit.
        {Day(2024, 1, 1),
         Day(2024, 12, 31),
         12,
         {"Jan 2024", "Feb 2024", "Mar 2024", "Apr 2024", "May 2024", "Jun 2024", "Jul 2024",
          "Aug 2024", "Sep 2024", "Oct 2024", "Nov 2024", "Dec 2024"}},
        {Day(2024, 1, 1),
         Day(2024, 12, 31),
         6,
         {"Jan 2024", "Mar 2024", "May 2024", "Jul 2024", "Sep 2024", "Nov 2024"}},
        {Day(2024, 1, 1), Day(2024, 12, 31), 4, {"Jan 2024", "Apr 2024", "Jul 2024", "Oct 2024"}},
        // Across a year's end the months go on.
        {Day(2023, 11, 15), Day(2024, 2, 20), 8, {"Dec 2023", "Jan 2024", "Feb 2024"}},
        // A quarter of a year: days of the month when months are too few.
        {Day(2024, 1, 20),
         Day(2024, 2, 25),
         6,
         {"2024-01-21", "2024-02-01", "2024-02-11", "2024-02-21"}},
        {Day(2024, 2, 25),
         Day(2024, 3, 3),
         10,
         {"2024-02-25", "2024-02-26", "2024-02-27", "2024-02-28", "2024-02-29", "2024-03-01",
          "2024-03-02", "2024-03-03"}},
        // Centuries for the longest reports.
        {Day(1600, 1, 1), Day(2799, 12, 31), 8, {"1600", "1800", "2000", "2200", "2400", "2600"}},
        {Day(1, 1, 1), Day(2799, 12, 31), 7, {"500", "1000", "1500", "2000", "2500"}},
    };
    for (const auto& c : cases) {
        const std::vector<ChartTick> ticks = DateTicks(c.first, c.last, c.room);
        EXPECT_EQ(Labels(ticks), c.labels) << c.first << " " << c.last << " " << c.room;
        for (const ChartTick& t : ticks) {
            EXPECT_GE(t.at, c.first);
            EXPECT_LE(t.at, c.last);
        }
    }
}

// Whatever the period and room: never more ticks than room, increasing, on
// the first of a month unless they are days, and at least two where there
// is room for three.
TEST(ChartTicks, EveryDateTickKeepsTheRules) {
    for (int span : {3, 10, 40, 100, 400, 1000, 4000, 40000, 400000}) {
        for (int room : {2, 3, 5, 8, 13}) {
            const std::int32_t first = Day(2001, 3, 17) - span / 3;
            const std::vector<ChartTick> ticks = DateTicks(first, first + span, room);
            SCOPED_TRACE(std::to_string(span) + " days, room " + std::to_string(room));
            ASSERT_GE(ticks.size(), room >= 3 ? 2u : 1u);
            ASSERT_LE(ticks.size(), static_cast<std::size_t>(room));
            for (std::size_t i = 0; i < ticks.size(); ++i) {
                const ChartDate d = ChartDateOfDay(static_cast<std::int32_t>(ticks[i].at));
                if (ticks[i].label.size() != 10) {
                    EXPECT_EQ(d.day, 1) << ticks[i].label;
                }
                if (i > 0) {
                    EXPECT_GT(ticks[i].at, ticks[i - 1].at);
                }
            }
        }
    }
}

TEST(ChartTicks, ValuesAreRoundAndNeverMinusZero) {
    const struct {
        double lo, hi;
        int room;
        std::vector<std::string> labels;
    } cases[] = {
        // The index from 2007 to 2014, and a year's part of it.
        {6100, 18700, 8, {"8,000", "10,000", "12,000", "14,000", "16,000", "18,000"}},
        {10200, 12100, 6, {"10,500", "11,000", "11,500", "12,000"}},
        // A gain axis that crosses zero just below it: "0", not "-0".
        {-15.2, 30.4, 6, {"-10", "0", "10", "20", "30"}},
        {-0.4, 29.6, 4, {"0", "10", "20"}},
        {-0.3, 0.9, 5, {"0", "0.5"}},  // zero without decimals
        {-0.3, 0.9, 8, {"-0.2", "0", "0.2", "0.4", "0.6", "0.8"}},
        {-1250, -20, 3, {"-1,000", "-500"}},
        {0.012, 0.047, 4, {"0.02", "0.03", "0.04"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Labels(ValueTicks(c.lo, c.hi, c.room)), c.labels)
            << c.lo << " " << c.hi << " " << c.room;
    }
    EXPECT_TRUE(ValueTicks(5, 5, 4).empty());
    EXPECT_TRUE(ValueTicks(5, 1, 4).empty());
}

}  // namespace
}  // namespace vlt
