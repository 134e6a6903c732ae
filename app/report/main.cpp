// vlt-report: the window's Start, Search, Show-all and Simulate-investment
// commands from the command line, printing what the output box would hold.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/report/report_options.h"
#include "app/report/report_run.h"
#include "app/support/escaped_text.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const vlt::ReportArguments parsed = vlt::ParseReportArguments(args);
    if (parsed.help) {
        std::cout << vlt::ReportUsageText();
        return vlt::kReportDone;
    }
    if (!parsed.ok) {
        std::cerr << "vlt-report: " << vlt::EscapedForOneLine(parsed.error) << " (see --help)\n";
        return vlt::kReportUsage;
    }
    // Progress is for a person watching: a terminal, not a log file.
    return vlt::RunReport(parsed.options, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
}
