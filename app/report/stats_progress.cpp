#include "app/report/stats_progress.h"

#include <algorithm>
#include <csignal>
#include <utility>

namespace vlt {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void NoteInterrupt(int) { g_interrupted = 1; }

}  // namespace

InterruptGuard::InterruptGuard() {
    g_interrupted = 0;
    struct sigaction on {};
    on.sa_handler = NoteInterrupt;
    sigemptyset(&on.sa_mask);
    on.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &on, &old_);
}

InterruptGuard::~InterruptGuard() { ::sigaction(SIGINT, &old_, nullptr); }

bool InterruptGuard::Interrupted() { return g_interrupted != 0; }

ProgressLine::ProgressLine(std::ostream& out, std::string label, std::chrono::milliseconds interval,
                           Clock clock)
    : out_(out), label_(std::move(label)), interval_(interval), clock_(std::move(clock)) {}

ProgressLine::~ProgressLine() { Clear(); }

void ProgressLine::Show(double fraction) {
    if (!(fraction >= 0.0)) fraction = 0.0;
    const int percent = static_cast<int>(std::min(1.0, fraction) * 100.0);
    if (percent == percent_) return;
    const auto now = clock_();
    if (shown_ && now - last_ < interval_) return;
    last_ = now;
    percent_ = percent;
    shown_ = true;
    out_ << '\r' << label_ << ": " << percent << " %" << std::flush;
}

void ProgressLine::Clear() {
    if (!shown_) return;
    // Blanks over the longest text written ("label: 100 %"), then back.
    out_ << '\r' << std::string(label_.size() + 7, ' ') << '\r' << std::flush;
    shown_ = false;
}

}  // namespace vlt
