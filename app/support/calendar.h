#pragma once
// The main program's binding to the calendar component (libcalvexa).  The
// rest of the program calls these wrappers, never the C functions directly,
// so that the record type and the calendar codes have C++ names.

#include <cstdint>
#include <string>

#include "calvexa/include/calvexa.h"

namespace vlt {

// Year, month, day, calendar code, day number, validity flag.  Value-
// initialise it (DateRecord r{};) before filling it.
using DateRecord = ::calvexa_date;

inline constexpr std::int32_t kCalendarGregorian = 'G';  // 71, what the program stores
inline constexpr std::int32_t kCalendarJulian = 'J';
inline constexpr std::int32_t kCalendarAstronomical = 'A';

// euro_date_to_jdn: day number of the record's date; sets r.valid.
std::int32_t EuroDateToJdn(DateRecord& r);
// jdn_to_euro_date: fills year, month and day from r.calendar and r.jdn.
void JdnToEuroDate(DateRecord& r);
// juldat(jd, calendar, &year, &month, &day, &weekday); the year of jd.
std::int32_t JulDatYear(double jd, const char* calendar = "A");
// get_timezone(): seconds west of Greenwich, daylight saving included.
std::int32_t GetTimezone();
// separate_thousands with a caller-side 21-byte buffer; the text up to the
// first zero character.
std::string SeparateThousandsRaw(const std::string& digits, std::int32_t separatorCode);

}  // namespace vlt
