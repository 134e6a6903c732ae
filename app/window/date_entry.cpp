#include "app/window/date_entry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/positions/request_rules.h"
#include "app/window/control_names.h"

namespace vlt {
namespace {

// Every character that is not a digit goes.
std::string DigitsOnly(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c >= '0' && c <= '9') out += c;
    }
    return out;
}

// The value of a digits-only text, saturating instead of overflowing: a
// pasted 30-digit number reads as a very large value, never as garbage.
int64_t DigitsValue(const std::string& digits) {
    constexpr int64_t kCap = std::numeric_limits<int64_t>::max() / 10 - 10;
    int64_t v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') break;
        if (v > kCap) return kCap;
        v = v * 10 + (c - '0');
    }
    return v;
}

// Years at or beyond this are far past the supported span; they are not
// handed to the calendar, whose 32-bit day numbers they would overflow.
constexpr int64_t kFarYear = 1000000;

// The year as typed (without leading zeros), so that a year too large for
// any number type still reads as typed.
std::string YearText(const std::string& digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

const char* DateName(int date) { return date == 0 ? "start" : "end"; }

}  // namespace

std::string DateEntry::LongDateText(const std::string& yearDigits, int64_t month, int64_t day) {
    return services_.MonthName(static_cast<int>(month)) + " " + std::to_string(day) + ", " +
           YearText(yearDigits) + " CE";
}

void DateEntry::YearLostFocus(int date) {
    const Ctl year(ctl::txbYear, date);
    std::string text = ui_.Text(year);
    const std::size_t firstNonZero = text.find_first_not_of('0');
    text = firstNonZero == std::string::npos ? std::string() : text.substr(firstNonZero);
    ui_.SetText(year, text);
    if (!text.empty() && text[0] == '-') {
        ui_.Show("Year number must be positive.", "Invalid year", MsgButtons::Ok,
                 MsgIcon::Information);
        return;
    }
    UpdateDateDisplay(date);
}

void DateEntry::UpdateDateDisplay(int date) {
    const Ctl yearBox(ctl::txbYear, date);
    const Ctl monthBox(ctl::txbMonth, date);
    const Ctl dayBox(ctl::txbDay, date);
    const Ctl label(ctl::lblDate, date);
    const std::string y = DigitsOnly(ui_.Text(yearBox));
    const std::string m = DigitsOnly(ui_.Text(monthBox));
    const std::string d = DigitsOnly(ui_.Text(dayBox));
    ui_.SetText(yearBox, y);
    ui_.SetText(monthBox, m);
    ui_.SetText(dayBox, d);
    if (y.empty() || m.empty() || d.empty()) {
        ui_.SetText(label, "");
        return;
    }
    const int64_t year = DigitsValue(y);
    const int64_t month = DigitsValue(m);
    const int64_t day = DigitsValue(d);
    const bool valid = StoreDayNumber(date, year, month, day);
    if (valid) {
        ui_.SetText(label, LongDateText(y, month, day));
        ui_.Repaint(label);
        UpdateConstructionPeriodLabel();
    } else {
        ui_.SetText(label, "invalid date");
    }
}

bool DateEntry::StoreDayNumber(int date, int64_t year, int64_t month, int64_t day) {
    int32_t& stored = dayNumber_[static_cast<std::size_t>(date)];
    if (year >= kFarYear) {
        // Too late for any planet; the Gregorian calendar repeats every 400
        // years, so the same month and day exist in a year congruent to it.
        stored = std::numeric_limits<int32_t>::max();
        return GregorianDateExists(2000 + year % 400, month, day);
    }
    const bool inRange = month >= 0 && month <= 1000 && day >= 0 && day <= 100000;
    bool valid = false;
    stored = services_.DateToDayNumber(static_cast<int32_t>(year),
                                       static_cast<int32_t>(inRange ? month : 13),
                                       static_cast<int32_t>(inRange ? day : 0), valid);
    // The calendar's answer is trusted only for dates that exist.
    return valid && GregorianDateExists(year, month, day);
}

void DateEntry::UpdateConstructionPeriodLabel() {
    std::string texts[2];
    for (int i = 0; i < 2; ++i) {
        const auto value = [&](ControlName box) {
            const int64_t v = DigitsValue(DigitsOnly(ui_.Text(Ctl(box, i))));
            return static_cast<int32_t>(std::min<int64_t>(v, std::numeric_limits<int32_t>::max()));
        };
        texts[i] = services_.FormatNumericDate(value(ctl::txbYear), value(ctl::txbMonth),
                                               value(ctl::txbDay));
    }
    ui_.SetText(ctl::lblConstructTransitTables, "Construct transit tables for the period " +
                                                    texts[0] + " to " + texts[1] + " for:");
}

bool DateEntry::CheckDateFieldsPresent(int date) {
    const ControlName boxes[3] = {ctl::txbYear, ctl::txbMonth, ctl::txbDay};
    const char* const words[3] = {" year.", " month.", " day."};
    for (int k = 0; k < 3; ++k) {
        const Ctl box(boxes[k], date);
        const std::string digits = DigitsOnly(ui_.Text(box));
        ui_.SetText(box, digits);
        if (digits.empty()) {
            ui_.Show(std::string("Please specify ") + DateName(date) + words[k],
                     ui_.Text(ctl::cmdStart), MsgButtons::Ok, MsgIcon::None);
            return false;
        }
    }
    return true;
}

bool DateEntry::ValidateDate(int date) {
    const Ctl label(ctl::lblDate, date);
    ui_.SetText(label, "");
    const int64_t year = DigitsValue(DigitsOnly(ui_.Text(Ctl(ctl::txbYear, date))));
    const int64_t month = DigitsValue(DigitsOnly(ui_.Text(Ctl(ctl::txbMonth, date))));
    const int64_t day = DigitsValue(DigitsOnly(ui_.Text(Ctl(ctl::txbDay, date))));
    const bool valid = StoreDayNumber(date, year, month, day);
    if (!valid) {
        ui_.SetText(label, "invalid date");
        ShowRefusal(InvalidDateRefusal(date), ui_, ui_.Text(ctl::cmdStart));
        return false;
    }
    ui_.SetText(label, LongDateText(DigitsOnly(ui_.Text(Ctl(ctl::txbYear, date))), month, day));
    ui_.Repaint(label);
    return CheckDateSpan(date);
}

bool DateEntry::CheckDateSpan(int date) {
    const std::optional<Refusal> refusal =
        vlt::CheckDateSpan(date, dayNumber_[static_cast<std::size_t>(date)]);
    if (refusal) ShowRefusal(*refusal, ui_, ui_.Text(ctl::cmdStart));
    return !refusal;
}

int32_t DateEntry::DayNumber(int date) const {
    return dayNumber_.at(static_cast<std::size_t>(date));
}

void DateEntry::ShowDateInFields(int date, int32_t dayNumber) {
    int32_t y = 0;
    int32_t m = 0;
    int32_t d = 0;
    services_.DayNumberToDate(dayNumber, y, m, d);
    ui_.SetText(Ctl(ctl::txbYear, date), std::to_string(y));
    ui_.SetText(Ctl(ctl::txbMonth, date), std::to_string(m));
    ui_.SetText(Ctl(ctl::txbDay, date), std::to_string(d));
    UpdateDateDisplay(date);
}

}  // namespace vlt
