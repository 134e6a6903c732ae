#pragma once
// Runs one command of the main window without a screen: the window starts as
// at a first start, its controls are set as a user would set them, the
// command's button is clicked, and the output box's text is written out.

#include <ostream>

#include "app/report/report_options.h"

namespace vlt {

// Exit statuses of vlt-report.
inline constexpr int kReportDone = 0;
inline constexpr int kReportRefused = 1;
inline constexpr int kReportUsage = 2;

// Writes the report to `out` as the command makes it (LF line ends unless
// options.crlf); with options.box, the window's output box with its size
// limit, written when the command ends.  The texts of the window's message
// boxes go to `messages`.  Returns kReportDone, or kReportRefused when the
// command showed a message (it was refused or ended without its full
// report) or when a start-up failure left it with nothing to report.  With
// showProgress the statistics' trials show their progress on `messages`
// (meant for a terminal: one line rewritten in place); Ctrl-C during them
// returns kReportInterrupted (stats_progress.h) with no statistics written.
int RunReport(const ReportOptions& options, std::ostream& out, std::ostream& messages,
              bool showProgress = false);

// The output box's text with its CR LF line ends turned into LF.
std::string WithLfLineEnds(const std::string& text);

}  // namespace vlt
