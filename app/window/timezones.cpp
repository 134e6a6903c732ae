#include "app/window/timezones.h"

#include <cmath>

#include "app/window/control_names.h"
#include "app/window/main_window.h"

namespace vlt {

std::vector<std::string> TimezoneEntryTexts(bool northAmericanLabels) {
    std::vector<std::string> t;
    t.reserve(kTimezoneCount);
    t.emplace_back("");
    for (int h = 11; h >= 0; --h) {
        t.push_back("GMT-" + std::to_string(h) + ":30");
        t.push_back(h != 0 ? "GMT-" + std::to_string(h) + ":00" : std::string("GMT"));
    }
    for (int h = 0; h <= 11; ++h) {
        if (h > 0) t.push_back("GMT+" + std::to_string(h) + ":00");
        t.push_back("GMT+" + std::to_string(h) + ":30");
    }
    if (northAmericanLabels) {
        static const struct {
            int index;
            const char* text;
        } kLabels[] = {{4, "HAST"},     {6, "AKST/HADT"}, {8, "PST/AKDT"}, {10, "MST/PDT"},
                       {12, "CST/MDT"}, {14, "EST/CDT"},  {16, "AST/EDT"}, {17, "NST"},
                       {18, "ADT"},     {19, "NDT"}};
        for (const auto& l : kLabels) t[static_cast<std::size_t>(l.index)] = l.text;
    }
    return t;
}

int16_t MinutesEastOfGmt(int32_t secondsWest) {
    return static_cast<int16_t>(std::nearbyint(-static_cast<double>(secondsWest) / 60.0));
}

void MainWindow::SetUpTimezoneComboBoxes(bool preserveIndices) {
    const Ctl list(ctl::cboTimezone, 0);
    const int preserved = preserveIndices ? ui_.ListIndex(list) : 0;
    ui_.ListClear(list);
    const std::vector<std::string> texts =
        TimezoneEntryTexts(ui_.Value(ctl::chkDisplayNATZabbr) == 1);
    for (const std::string& t : texts) ui_.ListAdd(list, t);
    ui_.SetListIndex(list, loaded_ ? preserved : -1);
}

int16_t MainWindow::LocalTimezoneMinutes() { return MinutesEastOfGmt(services_.TimezoneSeconds()); }

void MainWindow::SelectTimezone(int index) {
    const Ctl list(ctl::cboTimezone, 0);
    if (index >= -1 && index < ui_.ListCount(list)) ui_.SetListIndex(list, index);
}

}  // namespace vlt
