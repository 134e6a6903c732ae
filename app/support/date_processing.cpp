#include "app/support/date_processing.h"

#include <array>
#include <string_view>

namespace vlt {

namespace {

// Index 0 unused so that month numbers index directly.
constexpr std::array<std::string_view, 13> kEnglish = {
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};
constexpr std::array<std::string_view, 13> kEnglishShort = {"",     "Jan.", "Feb.", "Mar.", "Apr.",
                                                            "May",  "June", "July", "Aug.", "Sept.",
                                                            "Oct.", "Nov.", "Dec."};
constexpr std::array<std::string_view, 13> kGerman = {
    "",     "Januar", "Februar",   "M\u00e4rz", "April",    "Mai",     "Juni",
    "Juli", "August", "September", "Oktober",   "November", "Dezember"};
constexpr std::array<std::string_view, 13> kGermanShort = {
    "",     "Jan.", "Feb.",  "M\u00e4rz", "Apr.", "Mai", "Juni",
    "Juli", "Aug.", "Sept.", "Okt.",      "Nov.", "Dez."};

std::string MonthFrom(const std::array<std::string_view, 13>& table, int month) {
    if (month < 1 || month > 12) return std::string();
    return std::string(table[static_cast<std::size_t>(month)]);
}

std::string TwoDigits(std::int32_t value) {
    std::string text = std::to_string(value);
    if (value >= 0 && value < 10) text.insert(0, 1, '0');
    return text;
}

bool IsLongYear(std::int32_t year) { return year > 9999 || year < -9999; }

DateRecord GregorianRecordOf(std::int32_t dayNumber) {
    DateRecord r{};
    r.calendar = kCalendarGregorian;
    r.jdn = dayNumber;
    DayNumberToDate(r);
    return r;
}

}  // namespace

std::string EnglishMonthName(int month, bool abbreviated) {
    return MonthFrom(abbreviated ? kEnglishShort : kEnglish, month);
}

std::string GermanMonthName(int month, bool abbreviated) {
    return MonthFrom(abbreviated ? kGermanShort : kGerman, month);
}

std::int32_t DateToDayNumber(DateRecord& r) { return EuroDateToJdn(r); }

void DayNumberToDate(DateRecord& r) { JdnToEuroDate(r); }

std::string FormatNumericDate(const DateRecord& r, int order, const std::string& separator,
                              const std::string& thousandsSeparator, bool withEra) {
    const bool astronomical = r.calendar == kCalendarAstronomical;
    const std::string s = astronomical ? std::string("-") : separator;
    const std::string day = TwoDigits(r.day);
    const std::string month = TwoDigits(r.month);
    std::string year = std::to_string(r.year);
    if (IsLongYear(r.year) && !astronomical) year = SeparateThousands(year, thousandsSeparator);

    std::string text;
    if (order == kOrderYearMonthDay) {
        text = year + s + month + s + day;
    } else if (order == kOrderDayMonthYear) {
        text = day + s + month + s + (r.year < 0 ? "(" + year + ")" : year);
    } else if (astronomical) {
        text = year + s + month + s + day;
    } else if (r.year < 0) {
        text = month + s + day + s + "(" + year + ")";
    } else {
        text = month + s + day + s + year;
    }
    if (withEra) {
        if (astronomical) {
            text += " AN";
        } else if (r.calendar == kCalendarJulian) {
            text += " JC";
        } else if (r.calendar == kCalendarGregorian) {
            text += " CE";
        }
    }
    return text;
}

std::string FormatDayNumber(std::int32_t dayNumber, int order, const std::string& separator,
                            const std::string& thousandsSeparator, bool withEra) {
    const DateRecord r = GregorianRecordOf(dayNumber);
    std::string text = FormatNumericDate(r, order, separator, thousandsSeparator, false);
    if (withEra) text += " CE";
    return text;
}

std::string FormatLongDate(std::int32_t dayNumber, bool abbreviated, int language) {
    const bool german = language == kLanguageGerman;
    const DateRecord r = GregorianRecordOf(dayNumber);
    std::string year = std::to_string(r.year);
    if (IsLongYear(r.year)) year = SeparateThousands(year, german ? "." : ",");
    if (german) {
        return std::to_string(r.day) + "." + GermanMonthName(r.month, abbreviated) + " " + year;
    }
    return EnglishMonthName(r.month, abbreviated) + " " + std::to_string(r.day) + ", " + year;
}

std::string FormatMediumDate(std::int32_t dayNumber) {
    const DateRecord r = GregorianRecordOf(dayNumber);
    std::string month = EnglishMonthName(r.month, false);
    if (month.size() > 5) month = EnglishMonthName(r.month, true);
    return month + " " + std::to_string(r.day) + ", " + std::to_string(r.year);
}

std::string SeparateThousands(const std::string& numberText, const std::string& separator) {
    if (separator.empty()) return numberText;
    return SeparateThousandsRaw(numberText, static_cast<unsigned char>(separator[0]));
}

}  // namespace vlt
