// vlt-report: the window's Start, Search, Show-all and Simulate-investment
// commands from the command line, printing what the output box would hold.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/report/command_line.h"
#include "app/report/report_options.h"
#include "app/report/report_run.h"
#include "app/support/checked_output.h"
#include "app/support/escaped_text.h"

namespace {

// A command of its own file reads its own options.
int RunEntry(const vlt::ReportCommandEntry& entry, const std::vector<std::string>& args,
             std::ostream& out) {
    const vlt::ReadCommandResult read =
        vlt::ReadCommandLine(entry.spec(), std::vector<std::string>(args.begin() + 1, args.end()));
    if (read.help) {
        out << "Usage: vlt-report " << entry.spec().name << " [OPTIONS]\n\n"
            << vlt::CommandHelp(entry.spec());
        return vlt::kReportDone;
    }
    if (!read.ok) {
        std::cerr << "vlt-report: " << vlt::EscapedForOneLine(read.error) << " (see --help)\n";
        return vlt::kReportUsage;
    }
    vlt::CommandIo io{out, std::cerr, ::isatty(STDERR_FILENO) == 1};
    return entry.run(read.line, io);
}

// --help: the commands of the window, then those of their own files.
std::string UsageText() {
    std::string text = vlt::ReportUsageText();
    if (vlt::CommandEntries().empty()) return text;
    text += "\nMore commands (each takes only the options listed under it):\n\n";
    for (const vlt::ReportCommandEntry& entry : vlt::CommandEntries()) {
        text += vlt::CommandHelp(entry.spec()) + "\n";
    }
    return text;
}

int Run(const std::vector<std::string>& args, std::ostream& out) {
    if (!args.empty()) {
        if (const vlt::ReportCommandEntry* entry = vlt::FindCommandEntry(args.front())) {
            return RunEntry(*entry, args, out);
        }
    }
    const vlt::ReportArguments parsed = vlt::ParseReportArguments(args);
    if (parsed.help) {
        out << UsageText();
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
