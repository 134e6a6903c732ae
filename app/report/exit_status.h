#pragma once
// The exit statuses of vlt-report, defined once: each outcome of a run, its
// number and what it means.  ExitStatusOf answers from this table and
// --help lists it, so the two cannot drift apart.

#include <array>

namespace vlt {

// How a run ended (or why none began); its exit status follows from this
// alone.
enum class RunOutcome {
    Done,              // the report, its records or its chart written whole
    Refused,           // refused, or ended without its whole report (its message
                       // is on standard error), or its input or chart unusable
    WrongCommandLine,  // nothing run: the arguments are not a valid command line
    Interrupted,       // Ctrl-C stopped the statistics; none of them written
};

struct ExitStatusDefinition {
    RunOutcome outcome;
    int status;
    const char* meaning;  // as --help words it, after the number
};

// In the order of --help.
inline constexpr std::array<ExitStatusDefinition, 4> kExitStatuses = {{
    {RunOutcome::Done, 0, "the report was made"},
    {RunOutcome::Refused, 1,
     "the window refused the request or ended it early (its message is on standard error, as "
     "the window would show it in a box), or the price file cannot be read or is malformed (one "
     "line naming the file, line and column)"},
    {RunOutcome::WrongCommandLine, 2, "the command line is wrong (one line on standard error)"},
    // 128 + SIGINT, as a shell reports a program the signal ended.
    {RunOutcome::Interrupted, 130,
     "Ctrl-C stopped the statistics (nothing of them, and no records, written)"},
}};

constexpr int ExitStatusOf(RunOutcome outcome) {
    for (const ExitStatusDefinition& d : kExitStatuses) {
        if (d.outcome == outcome) return d.status;
    }
    return 1;
}

inline constexpr int kReportDone = ExitStatusOf(RunOutcome::Done);
inline constexpr int kReportRefused = ExitStatusOf(RunOutcome::Refused);
inline constexpr int kReportUsage = ExitStatusOf(RunOutcome::WrongCommandLine);
inline constexpr int kReportInterrupted = ExitStatusOf(RunOutcome::Interrupted);

}  // namespace vlt
