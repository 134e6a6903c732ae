#pragma once
// The event commands of vlt-report, each in a file of its own.
#include "app/report/command_line.h"

namespace vlt {

ReportCommandEntry PhasesCommand();
ReportCommandEntry StationsCommand();
ReportCommandEntry IngressesCommand();
ReportCommandEntry CalendarCommand();

}  // namespace vlt
