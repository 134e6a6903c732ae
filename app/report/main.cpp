// vlt-report: the window's Start, Search, Show-all and Simulate-investment
// commands from the command line, printing what the output box would hold.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/report/report_options.h"
#include "app/report/report_run.h"
#include "app/support/checked_output.h"
#include "app/support/escaped_text.h"

namespace {

int Run(const std::vector<std::string>& args, std::ostream& out) {
    const vlt::ReportArguments parsed = vlt::ParseReportArguments(args);
    if (parsed.help) {
        out << vlt::ReportUsageText();
        return vlt::kReportDone;
    }
    if (!parsed.ok) {
        std::cerr << "vlt-report: " << vlt::EscapedForOneLine(parsed.error) << " (see --help)\n";
        return vlt::kReportUsage;
    }
    // Progress is for a person watching: a terminal, not a log file.
    return vlt::RunReport(parsed.options, out, std::cerr, ::isatty(STDERR_FILENO) == 1);
}

}  // namespace

int main(int argc, char** argv) {
    // Standard output goes through a buffer of the program's own that
    // remembers a failed write, so that a report cut short by a full disk
    // or a closed file never ends with success.
    vlt::CheckedFdBuffer buffer(STDOUT_FILENO);
    std::ostream out(&buffer);
    const int status = Run(std::vector<std::string>(argv + 1, argv + argc), out);
    if (const int error = buffer.Finish(); error != 0) {
        std::cerr << "vlt-report: " << vlt::OutputFailureText(error) << '\n';
        return vlt::kReportRefused;
    }
    return status;
}
