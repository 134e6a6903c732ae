// The calendar component against the standard library's civil calendar
// (std::chrono, proleptic Gregorian with a year 0) and fixed points of the
// Julian calendar.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "calvexa/include/calvexa.h"

namespace {

namespace chr = std::chrono;

// Julian day number of 1970-01-01.
constexpr std::int64_t kUnixEpochJdn = 2440588;

std::int64_t ChronoJdn(int y, unsigned m, unsigned d) {
    const chr::sys_days days{chr::year{y} / chr::month{m} / chr::day{d}};
    return kUnixEpochJdn + days.time_since_epoch().count();
}

calvexa_date Make(int y, int m, int d, int calendar) {
    calvexa_date r{};
    r.year = y;
    r.month = m;
    r.day = d;
    r.calendar = calendar;
    return r;
}

struct ValidityCase {
    int year, month, day;
    char calendar;
    bool valid;
};

TEST(CalvexaValidity, FlagsDatesThatDoNotExist) {
    const ValidityCase cases[] = {
        {2024, 4, 31, 'G', false}, {2024, 4, 30, 'G', true},  {1900, 2, 29, 'G', false},
        {2100, 2, 29, 'G', false}, {2000, 2, 29, 'G', true},  {2024, 2, 29, 'G', true},
        {2023, 2, 29, 'G', false}, {2024, 2, 30, 'G', false}, {1900, 2, 29, 'J', true},
        {2100, 2, 29, 'J', true},  {2023, 2, 29, 'J', false}, {2024, 13, 1, 'G', false},
        {2024, 0, 1, 'G', false},  {2024, 1, 0, 'G', false},  {2024, 12, 31, 'G', true},
        {0, 2, 29, 'G', true},     {-1, 2, 29, 'G', false},   {-4, 2, 29, 'J', true},
        {2024, 5, 5, 'A', true},   {2024, 5, 5, 'X', false},
    };
    for (const auto& c : cases) {
        calvexa_date r = Make(c.year, c.month, c.day, c.calendar);
        r.valid = c.valid ? 0 : 7;  // must be overwritten either way
        euro_date_to_jdn(&r);
        EXPECT_EQ(r.valid != 0, c.valid)
            << c.year << "-" << c.month << "-" << c.day << " " << c.calendar;
        EXPECT_TRUE(r.valid == 0 || r.valid == 1);
    }
}

TEST(CalvexaGregorian, DayNumbersAgreeWithStdChronoBothWays) {
    // Every day of 1580..2820 and a sparse sweep over years -32000..32000.
    auto check = [](std::int64_t jdn) {
        const chr::sys_days days{chr::days{jdn - kUnixEpochJdn}};
        const chr::year_month_day ymd{days};
        calvexa_date r = Make(static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                              static_cast<int>(unsigned(ymd.day())), 'G');
        const std::int32_t got = euro_date_to_jdn(&r);
        ASSERT_EQ(got, jdn) << static_cast<int>(ymd.year());
        ASSERT_EQ(r.jdn, jdn);
        ASSERT_EQ(r.valid, 1);
        calvexa_date back{};
        back.calendar = 'G';
        back.jdn = static_cast<std::int32_t>(jdn);
        jdn_to_euro_date(&back);
        ASSERT_EQ(back.year, static_cast<int>(ymd.year())) << jdn;
        ASSERT_EQ(back.month, static_cast<int>(unsigned(ymd.month()))) << jdn;
        ASSERT_EQ(back.day, static_cast<int>(unsigned(ymd.day()))) << jdn;
    };
    for (std::int64_t j = ChronoJdn(1580, 1, 1); j <= ChronoJdn(2820, 12, 31); ++j) check(j);
    for (std::int64_t j = ChronoJdn(-32000, 1, 1); j <= ChronoJdn(32000, 12, 31); j += 1009) {
        check(j);
    }
}

struct JulianCase {
    int year, month, day;
    std::int32_t jdn;
};

TEST(CalvexaJulian, KnownDayNumbers) {
    // Fixed points: the epoch of the day numbers, the last Julian day before
    // the Gregorian reform, J2000 in the Julian calendar (13 days behind).
    const JulianCase cases[] = {
        {-4712, 1, 1, 0},        {1582, 10, 4, 2299160}, {1582, 10, 5, 2299161},
        {1999, 12, 19, 2451545}, {2000, 1, 1, 2451558},  {1, 1, 1, 1721424},
        {0, 12, 31, 1721423},    {-500, 3, 1, 1538493},
    };
    for (const auto& c : cases) {
        calvexa_date r = Make(c.year, c.month, c.day, 'J');
        EXPECT_EQ(euro_date_to_jdn(&r), c.jdn) << c.year << "-" << c.month << "-" << c.day;
        calvexa_date back{};
        back.calendar = 'J';
        back.jdn = c.jdn;
        jdn_to_euro_date(&back);
        EXPECT_EQ(back.year, c.year);
        EXPECT_EQ(back.month, c.month);
        EXPECT_EQ(back.day, c.day);
    }
}

TEST(CalvexaJulian, DriftFromGregorianGrowsAtCenturyLeapDays) {
    // The Julian calendar runs behind by 10 days in 1582, 13 in 1900..2100,
    // 14 from 1 March 2100 (Julian), and 0 in the third century.
    const struct {
        int year, month, day;
        std::int64_t behind;
    } cases[] = {
        {1582, 10, 15, 10}, {1950, 6, 1, 13}, {2100, 2, 28, 13}, {2100, 3, 1, 14}, {250, 6, 1, 0}};
    for (const auto& c : cases) {
        const std::int64_t gregorian = ChronoJdn(c.year, unsigned(c.month), unsigned(c.day));
        calvexa_date r{};
        r.calendar = 'J';
        r.jdn = static_cast<std::int32_t>(gregorian);
        jdn_to_euro_date(&r);
        calvexa_date again = Make(r.year, r.month, r.day, 'J');
        EXPECT_EQ(euro_date_to_jdn(&again), gregorian);
        calvexa_date sameNumbers = Make(c.year, c.month, c.day, 'J');
        EXPECT_EQ(euro_date_to_jdn(&sameNumbers) - gregorian, c.behind) << c.year;
    }
}

TEST(CalvexaJuldat, YearOfTheCivilDayWithYearZero) {
    const struct {
        double jd;
        int year;
    } cases[] = {
        {2451544.5, 2000}, {2451544.4999, 1999}, {2451545.0, 2000}, {2460436.0, 2024},
        {1721059.5, 0},    {1721059.49, -1},     {2743738.5, 2800}, {2743738.4, 2799},
        {1721425.5, 1},    {-1000000.0, -7451},
    };
    for (const auto& c : cases) {
        std::int32_t y = 0, m = 0, d = 0, w = -1;
        juldat(c.jd, "A", &y, &m, &d, &w);
        EXPECT_EQ(y, c.year) << c.jd;
        // The oracle: the same civil day through std::chrono.
        const std::int64_t jdn = static_cast<std::int64_t>(std::floor(c.jd + 0.5));
        const chr::sys_days days{chr::days{jdn - kUnixEpochJdn}};
        const chr::year_month_day ymd{days};
        EXPECT_EQ(y, static_cast<int>(ymd.year())) << c.jd;
        EXPECT_EQ(m, static_cast<int>(unsigned(ymd.month()))) << c.jd;
        EXPECT_EQ(d, static_cast<int>(unsigned(ymd.day()))) << c.jd;
        EXPECT_EQ(static_cast<unsigned>(w), chr::weekday{days}.c_encoding()) << c.jd;
    }
}

TEST(CalvexaJuldat, ExtremeDatesStayInRangeAndKeepTheirSign) {
    std::int32_t y = 0;
    juldat(1e300, "A", &y, nullptr, nullptr, nullptr);
    EXPECT_GT(y, 2000000000);
    juldat(-1e300, "A", &y, nullptr, nullptr, nullptr);
    EXPECT_LT(y, -2000000000);
    juldat(std::numeric_limits<double>::infinity(), "A", &y, nullptr, nullptr, nullptr);
    EXPECT_GT(y, 2000000000);
    juldat(std::numeric_limits<double>::quiet_NaN(), nullptr, &y, nullptr, nullptr, nullptr);
    EXPECT_LT(y, 0);
}

TEST(CalvexaDayNumbers, HugeYearsAreInvalidWithoutOverflow) {
    calvexa_date r = Make(std::numeric_limits<std::int32_t>::max(), 12, 31, 'G');
    EXPECT_EQ(euro_date_to_jdn(&r), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(r.valid, 0);
    r = Make(std::numeric_limits<std::int32_t>::min(), 1, 1, 'J');
    EXPECT_EQ(euro_date_to_jdn(&r), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(r.valid, 0);
    r = Make(2024, std::numeric_limits<std::int32_t>::min(),
             std::numeric_limits<std::int32_t>::max(), 'G');
    euro_date_to_jdn(&r);
    EXPECT_EQ(r.valid, 0);
    // The extreme day numbers convert back to dates without trapping.
    for (std::int32_t jdn :
         {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}) {
        calvexa_date back{};
        back.calendar = 'G';
        back.jdn = jdn;
        jdn_to_euro_date(&back);
        calvexa_date again = Make(back.year, back.month, back.day, 'G');
        EXPECT_EQ(euro_date_to_jdn(&again), jdn);
        EXPECT_EQ(again.valid, 1);
    }
}

class CalvexaTimezone : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        hadTz_ = tz != nullptr;
        if (hadTz_) saved_ = tz;
    }
    void TearDown() override {
        if (hadTz_) {
            setenv("TZ", saved_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    static std::int32_t OffsetIn(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
        return get_timezone();
    }

private:
    bool hadTz_ = false;
    std::string saved_;
};

TEST_F(CalvexaTimezone, SecondsWestOfGreenwichIncludingDaylightSaving) {
    EXPECT_EQ(OffsetIn("UTC0"), 0);
    EXPECT_EQ(OffsetIn("EST5"), 18000);       // GMT-5:00
    EXPECT_EQ(OffsetIn("IST-5:30"), -19800);  // east of Greenwich
    EXPECT_EQ(OffsetIn("NPT-5:45"), -20700);
    // Daylight saving the whole year round: the offset is one hour less.
    EXPECT_EQ(OffsetIn("EST5EDT,J1/0,J365/25"), 14400);
}

struct SeparateCase {
    const char* digits;
    int separator;
    const char* expected;
};

TEST(CalvexaSeparateThousands, GroupsOfThreeDigits) {
    const SeparateCase cases[] = {
        {"12345", ',', "12,345"},
        {"-500", ',', "-500"},
        {"1234", '.', "1.234"},
        {"-1234567", ',', "-1,234,567"},
        {"999", ',', "999"},
        {"1000", ',', "1,000"},
        {"", ',', ""},
        {"-", ',', ""},
        {"100000", ',', "100,000"},
        {"12a345", ',', "12"},
        {"12345", 0, "12345"},
    };
    for (const auto& c : cases) {
        char out[21];
        std::memset(out, ' ', 20);
        out[20] = '\0';
        separate_thousands(c.digits, c.separator, out);
        EXPECT_STREQ(out, c.expected) << c.digits;
    }
}

TEST(CalvexaSeparateThousands, NeverWritesPastTheTwentyOneByteBuffer) {
    // The longest inputs: a 64-bit minimum (26 characters once separated) and
    // far more digits than fit.  Guard bytes around the buffer must survive.
    const std::string inputs[] = {"-9223372036854775808", std::string(200, '9'),
                                  "-" + std::string(60, '1'), "12345678901234567"};
    for (const auto& in : inputs) {
        char guarded[64];
        std::memset(guarded, 'G', sizeof guarded);
        char* out = guarded + 16;
        std::memset(out, ' ', 20);
        out[20] = '\0';
        separate_thousands(in.c_str(), ',', out);
        for (int k = 0; k < 16; ++k) EXPECT_EQ(guarded[k], 'G') << in;
        for (std::size_t k = 16 + 21; k < sizeof guarded; ++k) EXPECT_EQ(guarded[k], 'G') << in;
        const std::size_t len = std::strlen(out);
        EXPECT_LE(len, 20u);
        // What is written is a prefix of the full separated text.
        std::string full;
        std::string digits = in[0] == '-' ? in.substr(1) : in;
        if (in[0] == '-') full = "-";
        for (std::size_t k = 0; k < digits.size(); ++k) {
            if (k > 0 && (digits.size() - k) % 3 == 0) full += ',';
            full += digits[k];
        }
        EXPECT_EQ(std::string(out), full.substr(0, len)) << in;
        const std::size_t room = full.size() > 20 && full[19] == ',' ? 19 : 20;
        EXPECT_EQ(len, std::min(room, full.size())) << in;
    }
}

}  // namespace
