#pragma once
// The commands of vlt-report that have a file of their own describe their
// options once, as a table of OptionSpec: the same table feeds the parser
// (CLI11) and the command's section of --help, so an option cannot be
// accepted without being documented, or documented without being read.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vlt {

struct OptionSpec {
    const char* name;     // "--planet"
    const char* value;    // "NAME" as --help shows it; nullptr for a flag
    const char* help;     // what it does and its default; '\n' between lines
    const char* example;  // "--planet Mars", or nullptr
};

struct CommandSpec {
    const char* name;                   // the command word, "stations"
    const char* summary;                // one paragraph; '\n' between lines
    std::vector<const char*> examples;  // whole command lines
    std::vector<OptionSpec> options;
};

// The options a line gave, each with the values of its uses in order.
class CommandLine {
public:
    struct Use {
        std::string name;
        std::vector<std::string> values;  // empty for a flag
    };

    bool Given(std::string_view name) const;
    // The value of the option's last use; nothing when it was not given.
    std::optional<std::string> Value(std::string_view name) const;

    std::vector<Use> uses;
};

struct ReadCommandResult {
    bool ok = false;
    bool help = false;  // --help or -h: print CommandHelp, exit 0
    std::string error;  // one line when neither
    CommandLine line;
};

// Reads the arguments that follow the command word.  Each option takes its
// value as the next argument or after "="; a word that is no option, an
// unknown option, a flag with a value and a missing value are refused.
ReadCommandResult ReadCommandLine(const CommandSpec& spec, const std::vector<std::string>& args);

// The command's section of --help: its line, summary, examples and options.
std::string CommandHelp(const CommandSpec& spec);

// Where a command of its own file writes and what it may show.
struct CommandIo {
    std::ostream& out;       // the report
    std::ostream& messages;  // refusals and progress
    bool showProgress;       // messages is a terminal
};

// A command of its own file: its options and how it runs.  `run` returns
// the exit status (kReportDone, kReportRefused, kReportUsage, ...).
struct ReportCommandEntry {
    const CommandSpec& (*spec)();
    int (*run)(const CommandLine& line, CommandIo& io);
};

// Every command of its own file, in the order of --help.
const std::vector<ReportCommandEntry>& CommandEntries();
const ReportCommandEntry* FindCommandEntry(std::string_view name);

}  // namespace vlt
