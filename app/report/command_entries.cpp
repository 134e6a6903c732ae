// The commands of vlt-report that live in files of their own, in the order
// --help lists them.  A new command adds its entry here.
#include "app/report/command_line.h"

namespace vlt {

const std::vector<ReportCommandEntry>& CommandEntries() {
    static const std::vector<ReportCommandEntry> kEntries = {};
    return kEntries;
}

}  // namespace vlt
