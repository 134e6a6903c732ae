#pragma once
// Where a chart's axes put their ticks: on round dates (years, months, or
// days of the month) and on round values (1, 2 or 5 times a power of ten),
// with labels a reader takes in at a glance.  Pure functions of the range
// and of how many labels fit, so that the window, the image files and the
// tests agree on them.

#include <cstdint>
#include <string>
#include <vector>

namespace vlt {

struct ChartTick {
    double at = 0.0;    // a day number (time axis) or a value
    std::string label;  // "2010", "Mar 2010", "2010-03-15"; "1,500", "-20", "0.5"
};

// The round dates from firstDay to lastDay (day numbers, both included),
// at most maxTicks of them: every 1, 2, 5, 10, 20, 50, 100, 200, 500 or 1000
// years (on 1 January), else every 1, 2, 3 or 6 months (on the 1st), else
// every 1, 2, 5, 10 or 15 days of the month
// (from the 1st).  The coarsest unit that still gives
// two ticks wins over a finer one; within the unit the smallest step that
// fits.  Labels name only what the unit tells apart.
std::vector<ChartTick> DateTicks(std::int32_t firstDay, std::int32_t lastDay, int maxTicks);

// Multiples of the smallest round step (1, 2 or 5 times a power of ten) that
// puts at most maxTicks of them between lo and hi.  Labels have as many
// decimals as the step needs, thousands separated by commas, and never read
// "-0".
std::vector<ChartTick> ValueTicks(double lo, double hi, int maxTicks);

// The Gregorian date of a day number, and back.
struct ChartDate {
    int year = 0;
    int month = 0;
    int day = 0;
};
ChartDate ChartDateOfDay(std::int32_t day);
std::int32_t ChartDayOfDate(int year, int month, int day);

}  // namespace vlt
