#pragma once
// The statistics' random trials can run for minutes: while they run,
// vlt-report shows how far they are on standard error (when it is a
// terminal), and Ctrl-C stops them cleanly instead of killing the program
// half-way through its output.

#include <signal.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

#include "app/report/exit_status.h"

namespace vlt {

// While it lives, SIGINT sets a flag instead of ending the program; the old
// handling comes back when it ends.  One at a time.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // Whether SIGINT came since the guard was made.
    static bool Interrupted();

private:
    struct sigaction old_ {};
};

// One line of progress, rewritten in place ("\rStatistics: 42 %"), at most
// every `interval` and only when the percentage changed, then wiped.
class ProgressLine {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    ProgressLine(std::ostream& out, std::string label,
                 std::chrono::milliseconds interval = std::chrono::milliseconds(250),
                 Clock clock = std::chrono::steady_clock::now);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(double fraction);
    // Wipes the line, so that what follows starts on a clean line.
    void Clear();

private:
    std::ostream& out_;
    std::string label_;
    std::chrono::milliseconds interval_;
    Clock clock_;
    std::chrono::steady_clock::time_point last_{};
    int percent_ = -1;
    bool shown_ = false;
};

}  // namespace vlt
