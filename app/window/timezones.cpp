#include "app/window/timezones.h"

#include "app/window/control_names.h"
#include "app/window/main_window.h"

namespace vlt {

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
