// The commands of vlt-report that live in files of their own, in the order
// --help lists them.  A new command adds its entry here.
#include "app/report/command_line.h"
#include "app/report/event_commands.h"

namespace vlt {

// Each command's file gives its entry.
const ReportCommandEntry& ResearchCommandEntry();
const ReportCommandEntry& EventStudyCommandEntry();

const std::vector<ReportCommandEntry>& CommandEntries() {
    static const std::vector<ReportCommandEntry> kEntries = {
        ResearchCommandEntry(), EventStudyCommandEntry(), PhasesCommand(),
        StationsCommand(),      IngressesCommand(),       CalendarCommand(),
    };
    return kEntries;
}

}  // namespace vlt
