#pragma once
// The two dates of the window: cleaning what is typed into the year, month
// and day boxes, the date in words beside them, the construction period
// label, and the checks the commands run before they compute.  It keeps the
// day number of each date as last computed.

#include <array>
#include <cstdint>
#include <string>

#include "app/window/ui_ops.h"
#include "app/window/window_services.h"

namespace vlt {

class DateEntry {
public:
    DateEntry(UiOps& ui, WindowServices& services) : ui_(ui), services_(services) {}

    // Date 0 is the start date, date 1 the end date.
    void YearLostFocus(int date);
    void UpdateDateDisplay(int date);
    void UpdateConstructionPeriodLabel();
    // The commands' checks: all three boxes filled, the date exists, and it
    // lies in the supported span.  Each shows its own message.
    bool CheckDateFieldsPresent(int date);
    bool ValidateDate(int date);
    bool CheckDateSpan(int date);
    std::int32_t DayNumber(int date) const;
    const std::array<std::int32_t, 2>& DayNumbers() const { return dayNumber_; }
    // Writes a day number into the boxes of a date, as a user would type it.
    void ShowDateInFields(int date, std::int32_t dayNumber);

private:
    std::string LongDateText(const std::string& yearDigits, std::int64_t month, std::int64_t day);
    // Stores the day number of date 0 or 1; true when the date exists.
    bool StoreDayNumber(int date, std::int64_t year, std::int64_t month, std::int64_t day);

    UiOps& ui_;
    WindowServices& services_;
    std::array<std::int32_t, 2> dayNumber_{};
};

}  // namespace vlt
