#include "app/support/calendar.h"

#include <array>

namespace vlt {

std::int32_t EuroDateToJdn(DateRecord& r) { return euro_date_to_jdn(&r); }

void JdnToEuroDate(DateRecord& r) { jdn_to_euro_date(&r); }

std::int32_t JulDatYear(double jd, const char* calendar) {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t weekday = 0;
    juldat(jd, calendar, &year, &month, &day, &weekday);
    return year;
}

std::int32_t GetTimezone() { return get_timezone(); }

std::string SeparateThousandsRaw(const std::string& digits, std::int32_t separatorCode) {
    // 20 blanks and a terminating zero, as the component expects.
    std::array<char, 21> out{};
    out.fill(' ');
    out[20] = '\0';
    separate_thousands(digits.c_str(), separatorCode, out.data());
    return std::string(out.data());  // up to the first zero character
}

}  // namespace vlt
