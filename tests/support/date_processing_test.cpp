#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/support/date_processing.h"

namespace {

using namespace vlt;
namespace chr = std::chrono;

DateRecord Record(int year, int month, int day, std::int32_t calendar) {
    DateRecord r{};
    r.year = year;
    r.month = month;
    r.day = day;
    r.calendar = calendar;
    return r;
}

struct NumericCase {
    DateRecord record;
    int order;
    const char* separator;
    const char* thousands;
    bool era;
    const char* expected;
};

TEST(FormatNumericDate, OrdersSeparatorsErasAndLongYears) {
    const NumericCase cases[] = {
        {Record(2024, 5, 5, kCalendarGregorian), 2, "-", "", false, "2024-05-05"},
        {Record(12345, 1, 1, kCalendarGregorian), 2, "-", ",", false, "12,345-01-01"},
        {Record(12345, 1, 1, kCalendarGregorian), 2, "-", "", false, "12345-01-01"},
        {Record(-12345, 1, 1, kCalendarGregorian), 2, "-", ".", false, "-12.345-01-01"},
        {Record(9999, 12, 31, kCalendarGregorian), 2, "-", ",", false, "9999-12-31"},
        {Record(-500, 1, 5, kCalendarGregorian), 1, "-", ",", false, "05-01-(-500)"},
        {Record(2024, 5, 5, kCalendarGregorian), 1, ".", ",", false, "05.05.2024"},
        {Record(2024, 5, 5, kCalendarGregorian), 0, "/", ",", false, "05/05/2024"},
        {Record(-44, 3, 15, kCalendarJulian), 0, "/", ",", true, "03/15/(-44) JC"},
        {Record(2024, 5, 5, kCalendarGregorian), 2, "-", "", true, "2024-05-05 CE"},
        {Record(2024, 12, 25, kCalendarJulian), 2, "-", "", true, "2024-12-25 JC"},
        // Code "A" always reads year-month-day with "-", years never separated.
        {Record(2024, 5, 5, kCalendarAstronomical), 0, "/", ",", true, "2024-05-05 AN"},
        {Record(12345, 6, 7, kCalendarAstronomical), 1, ".", ",", false, "07-06-12345"},
        {Record(-3, 11, 10, kCalendarAstronomical), 0, "/", ",", false, "-3-11-10"},
        {Record(7, 10, 11, 'X'), 2, "-", "", true, "7-10-11"},
        {Record(42, 1, 2, kCalendarGregorian), 2, "-", "", false, "42-01-02"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumericDate(c.record, c.order, c.separator, c.thousands, c.era),
                  c.expected);
    }
}

struct DayCase {
    std::int32_t day;
    const char* report;
    const char* longDate;
    const char* medium;
    const char* german;
};

TEST(FormatDayNumber, ReportLongMediumAndGermanDates) {
    const DayCase cases[] = {
        {2460436, "2024-05-05", "May 5, 2024", "May 5, 2024", "5.Mai 2024"},
        {2460559, "2024-09-05", "September 5, 2024", "Sept. 5, 2024", "5.September 2024"},
        {2460375, "2024-03-05", "March 5, 2024", "March 5, 2024", "5.M\u00e4rz 2024"},
        {2460467, "2024-06-05", "June 5, 2024", "June 5, 2024", "5.Juni 2024"},
        {2460528, "2024-08-05", "August 5, 2024", "Aug. 5, 2024", "5.August 2024"},
        {2454104, "2007-01-03", "January 3, 2007", "Jan. 3, 2007", "3.Januar 2007"},
        {2460676, "2024-12-31", "December 31, 2024", "Dec. 31, 2024", "31.Dezember 2024"},
        {6230101, "12,345-05-03", "May 3, 12,345", "May 3, 12345", "3.Mai 12.345"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDayNumber(c.day, kOrderYearMonthDay, "-", ",", false), c.report);
        EXPECT_EQ(FormatLongDate(c.day, false, kLanguageEnglish), c.longDate);
        EXPECT_EQ(FormatMediumDate(c.day), c.medium);
        EXPECT_EQ(FormatLongDate(c.day, false, kLanguageGerman), c.german);
    }
    EXPECT_EQ(FormatDayNumber(2460436, kOrderYearMonthDay, "-", ",", true), "2024-05-05 CE");
    EXPECT_EQ(FormatLongDate(2460559, true, kLanguageEnglish), "Sept. 5, 2024");
    EXPECT_EQ(FormatLongDate(2460559, true, kLanguageGerman), "5.Sept. 2024");
    EXPECT_EQ(FormatLongDate(2460528, true, kLanguageGerman), "5.Aug. 2024");
}

TEST(FormatDayNumber, AgreesWithStdChronoOverTheProgramsSpan) {
    // Every 7th day from 1 January 1 to the end of 2799, against the
    // standard library's civil calendar.
    const std::int64_t epoch = 2440588;  // 1970-01-01
    for (std::int32_t day = 1721426; day < 2743739; day += 7) {
        const chr::year_month_day ymd{chr::sys_days{chr::days{day - epoch}}};
        char expected[32];
        std::snprintf(expected, sizeof expected, "%d-%02u-%02u", static_cast<int>(ymd.year()),
                      unsigned(ymd.month()), unsigned(ymd.day()));
        ASSERT_EQ(FormatDayNumber(day, kOrderYearMonthDay, "-", ",", false), expected) << day;
    }
}

TEST(DateToDayNumber, RoundTripAndValidity) {
    DateRecord r = Record(2024, 5, 5, kCalendarGregorian);
    EXPECT_EQ(DateToDayNumber(r), 2460436);
    EXPECT_NE(r.valid, 0);
    DateRecord bad = Record(2024, 2, 30, kCalendarGregorian);
    DateToDayNumber(bad);
    EXPECT_EQ(bad.valid, 0);
    DateRecord back{};
    back.calendar = kCalendarGregorian;
    back.jdn = 2460436;
    DayNumberToDate(back);
    EXPECT_EQ(back.year, 2024);
    EXPECT_EQ(back.month, 5);
    EXPECT_EQ(back.day, 5);
}

TEST(SeparateThousands, EmptySeparatorLeavesTheTextAndOthersGroup) {
    EXPECT_EQ(SeparateThousands("12345", ""), "12345");
    EXPECT_EQ(SeparateThousands("12345", ","), "12,345");
    EXPECT_EQ(SeparateThousands("-123456", "."), "-123.456");
    // A result longer than the component's buffer is cut, never overrun.
    EXPECT_EQ(SeparateThousands(std::string(30, '1'), ","), "111,111,111,111,111");
}

TEST(MonthNames, TablesAndOutOfRange) {
    EXPECT_EQ(EnglishMonthName(9, true), "Sept.");
    EXPECT_EQ(EnglishMonthName(3, true), "Mar.");
    EXPECT_EQ(GermanMonthName(10, true), "Okt.");
    EXPECT_EQ(GermanMonthName(3, false), "M\u00e4rz");
    EXPECT_EQ(EnglishMonthName(0, false), "");
    EXPECT_EQ(EnglishMonthName(13, true), "");
}

}  // namespace
