#pragma once
// Runs one command from the command line: the request is built from the
// options (anything left out as the window has it at a first start), handed
// to its service, and the report, its records or its chart written out.

#include <ostream>

#include "app/engine/transit_service.h"
#include "app/report/exit_status.h"
#include "app/report/report_options.h"
#include "app/simulation/simulation_request.h"

namespace vlt {

// The request each command builds from the options.
TablesRequest TablesRequestOf(const ReportOptions& options);
SearchRequest SearchRequestOf(const ReportOptions& options);
ShowAllRequest ShowAllRequestOf(const ReportOptions& options);
SimulationRequest SimulationRequestOf(const ReportOptions& options);

// Writes the report to `out` as the command makes it (LF line ends unless
// options.crlf); with options.box, the window's output box with its size
// limit, written when the command ends.  The texts of the window's message
// boxes go to `messages`.  Returns the exit status of the run's outcome:
// Refused when the service says the command was refused or ended without
// its full report, or when a data file of the start-up could not be read
// and the command left nothing to report.  With
// showProgress the statistics' trials show their progress on `messages`
// (meant for a terminal: one line rewritten in place); Ctrl-C during them
// returns kReportInterrupted (exit_status.h) with no statistics written.
int RunReport(const ReportOptions& options, std::ostream& out, std::ostream& messages,
              bool showProgress = false);

// The output box's text with its CR LF line ends turned into LF.
std::string WithLfLineEnds(const std::string& text);

}  // namespace vlt
