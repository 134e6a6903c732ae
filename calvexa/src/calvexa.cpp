// The calendar component.  All arithmetic runs in 64 bits with floor
// division, so that negative years and huge inputs neither overflow nor round
// the wrong way.

#include "calvexa/include/calvexa.h"

#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>

namespace {

using i64 = std::int64_t;

i64 FloorDiv(i64 a, i64 b) {
    i64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

i64 FloorMod(i64 a, i64 b) { return a - FloorDiv(a, b) * b; }

bool IsJulian(std::int32_t calendar) { return calendar == 'J'; }
bool IsKnownCalendar(std::int32_t calendar) {
    return calendar == 'G' || calendar == 'J' || calendar == 'A';
}

bool IsLeapYear(i64 year, bool julian) {
    if (julian) return FloorMod(year, 4) == 0;
    return (FloorMod(year, 4) == 0 && FloorMod(year, 100) != 0) || FloorMod(year, 400) == 0;
}

int DaysInMonth(i64 year, int month, bool julian) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year, julian)) return 29;
    return kDays[month - 1];
}

// Day number of a date; month 1..12, any day (days beyond the month run on).
i64 DayNumberOf(i64 year, i64 month, i64 day, bool julian) {
    const i64 a = (14 - month) / 12;  // 1 for January and February
    const i64 y = year + 4800 - a;
    const i64 m = month + 12 * a - 3;
    i64 jdn = day + (153 * m + 2) / 5 + 365 * y + FloorDiv(y, 4);
    if (julian) return jdn - 32083;
    return jdn - FloorDiv(y, 100) + FloorDiv(y, 400) - 32045;
}

struct Ymd {
    i64 year;
    i64 month;
    i64 day;
};

Ymd DateOf(i64 jdn, bool julian) {
    i64 b = 0;
    i64 c = 0;
    if (julian) {
        c = jdn + 32082;
    } else {
        const i64 a = jdn + 32044;
        b = FloorDiv(4 * a + 3, 146097);
        c = a - FloorDiv(146097 * b, 4);
    }
    const i64 d = FloorDiv(4 * c + 3, 1461);
    const i64 e = c - FloorDiv(1461 * d, 4);
    const i64 m = FloorDiv(5 * e + 2, 153);
    Ymd r{};
    r.day = e - FloorDiv(153 * m + 2, 5) + 1;
    r.month = m + 3 - 12 * FloorDiv(m, 10);
    r.year = 100 * b + d - 4800 + FloorDiv(m, 10);
    return r;
}

std::int32_t ClampToInt32(i64 v) {
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

// Day numbers whose year still fits 32 bits in either calendar.
constexpr double kDayLimit = 7.8e11;

}  // namespace

extern "C" {

CALVEXA_API int32_t euro_date_to_jdn(calvexa_date* date) {
    if (date == nullptr) return 0;
    const bool julian = IsJulian(date->calendar);
    i64 year = date->year;
    i64 month = date->month;
    bool valid = IsKnownCalendar(date->calendar);
    if (month < 1 || month > 12) {
        // Carry a month outside the year into the year, so that the day
        // number stays defined; the date itself does not exist.
        valid = false;
        year += FloorDiv(month - 1, 12);
        month = FloorMod(month - 1, 12) + 1;
    } else if (date->day < 1 || date->day > DaysInMonth(year, static_cast<int>(month), julian)) {
        valid = false;
    }
    const i64 jdn = DayNumberOf(year, month, date->day, julian);
    const std::int32_t result = ClampToInt32(jdn);
    if (result != jdn) valid = false;
    date->jdn = result;
    date->valid = valid ? 1 : 0;
    return result;
}

CALVEXA_API void jdn_to_euro_date(calvexa_date* date) {
    if (date == nullptr) return;
    const Ymd ymd = DateOf(date->jdn, IsJulian(date->calendar));
    // A 32-bit day number gives a year of at most about 5.9 million.
    date->year = static_cast<std::int32_t>(ymd.year);
    date->month = static_cast<std::int32_t>(ymd.month);
    date->day = static_cast<std::int32_t>(ymd.day);
    date->valid = 1;
}

CALVEXA_API void juldat(double jd, const char* calendar, int32_t* out1, int32_t* out2,
                        int32_t* out3, int32_t* out4) {
    const bool julian = calendar != nullptr && calendar[0] == 'J';
    double day = std::floor(jd + 0.5);
    if (!(day > -kDayLimit)) day = -kDayLimit;  // also catches NaN
    if (day > kDayLimit) day = kDayLimit;
    const i64 jdn = static_cast<i64>(day);
    const Ymd ymd = DateOf(jdn, julian);
    if (out1 != nullptr) *out1 = ClampToInt32(ymd.year);
    if (out2 != nullptr) *out2 = static_cast<std::int32_t>(ymd.month);
    if (out3 != nullptr) *out3 = static_cast<std::int32_t>(ymd.day);
    if (out4 != nullptr) *out4 = static_cast<std::int32_t>(FloorMod(jdn + 1, 7));
}

CALVEXA_API int32_t get_timezone(void) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return 0;
    return static_cast<std::int32_t>(-local.tm_gmtoff);
}

CALVEXA_API void separate_thousands(const char* digits, int32_t separator, char* out) {
    if (out == nullptr) return;
    constexpr int kCapacity = 20;  // characters before the terminating zero
    int n = 0;
    out[0] = '\0';
    if (digits == nullptr) return;
    const char* p = digits;
    while (*p == ' ') ++p;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = (*p == '-');
        ++p;
    }
    int digitCount = 0;
    while (p[digitCount] >= '0' && p[digitCount] <= '9') ++digitCount;
    const bool haveSeparator = separator > 0 && separator < 256;
    if (negative && digitCount > 0 && n < kCapacity) out[n++] = '-';
    for (int i = 0; i < digitCount && n < kCapacity; ++i) {
        if (haveSeparator && i > 0 && (digitCount - i) % 3 == 0) {
            // A cut text never ends in a separator.
            if (n + 1 >= kCapacity) break;
            out[n++] = static_cast<char>(separator);
        }
        out[n++] = p[i];
    }
    out[n] = '\0';
}

}  // extern "C"
