#pragma once
// Date processing: day numbers to and from calendar dates, and the date texts
// shown by the window and written into every report.

#include <cstdint>
#include <string>

#include "app/support/calendar.h"

namespace vlt {

// Order of the parts of a numeric date (any other value: month, day, year).
inline constexpr int kOrderDayMonthYear = 1;
inline constexpr int kOrderYearMonthDay = 2;

// Language of a long date: 1 German, anything else English.
inline constexpr int kLanguageEnglish = 0;
inline constexpr int kLanguageGerman = 1;

// Month names, month 1..12 (anything else gives an empty text).
std::string EnglishMonthName(int month, bool abbreviated);
std::string GermanMonthName(int month, bool abbreviated);

// Day number of the record's year, month, day and calendar; sets r.valid.
std::int32_t DateToDayNumber(DateRecord& r);
// Fills year, month and day from r.calendar and r.jdn.
void DayNumberToDate(DateRecord& r);

// "2024-05-05" for order 2 and separator "-".  Day and month at least two
// digits; years beyond +-9999 are separated into thousands (not for code
// "A"); code "A" always uses "-"; withEra appends " CE", " JC" or " AN".
std::string FormatNumericDate(const DateRecord& r, int order, const std::string& separator,
                              const std::string& thousandsSeparator, bool withEra);
// The Gregorian date of a day number, formatted as above (era " CE").
std::string FormatDayNumber(std::int32_t dayNumber, int order, const std::string& separator,
                            const std::string& thousandsSeparator, bool withEra);
// "May 5, 2024" (English) or "5.Mai 2024" (German).
std::string FormatLongDate(std::int32_t dayNumber, bool abbreviated, int language);
// "Sept. 5, 2024", "March 5, 2024".
std::string FormatMediumDate(std::int32_t dayNumber);
// "12,345" for ("12345", ","); an empty separator returns the text unchanged.
std::string SeparateThousands(const std::string& numberText, const std::string& separator);

}  // namespace vlt
