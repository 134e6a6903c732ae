// Long statistics: the progress line and Ctrl-C.  A run is stopped by a
// real SIGINT, raised when the progress line first appears (so the trials
// are under way), and must leave the output as promised: a text report
// whole and without statistics, no records at all, exit status 130.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/report_options.h"
#include "app/report/report_run.h"
#include "app/report/stats_progress.h"
#include "app/simulation/price_series.h"
#include "app/simulation/simulation_stats.h"
#include "app/support/date_processing.h"

namespace vlt {
namespace {

using namespace std::chrono_literals;

// A message stream that raises SIGINT the first time the progress line is
// written to it, as a user pressing Ctrl-C while watching it.
class InterruptingBuffer : public std::stringbuf {
protected:
    int sync() override {
        if (!raised_ && str().find("Statistics: ") != std::string::npos) {
            raised_ = true;
            std::raise(SIGINT);
        }
        return std::stringbuf::sync();
    }

private:
    bool raised_ = false;
};

std::string PriceFile() {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("vlt-stats-" + std::to_string(::getpid()) + ".csv");
    std::ofstream out(path, std::ios::binary);
    out << "Date,Close\n";
    for (std::int32_t d = GregorianDayNumber(2009, 12, 1); d <= GregorianDayNumber(2011, 1, 31);
         ++d) {
        out << FormatDayNumber(d, kOrderYearMonthDay, "-", "", false) << ',' << 100 + d % 37
            << '\n';
    }
    return path.string();
}

struct Ran {
    int status = -1;
    std::string out;
    std::string messages;
};

Ran RunWith(const std::vector<std::string>& extra, bool interrupt) {
    static const std::string prices = PriceFile();
    std::vector<std::string> args = {"simulate",   "--first",   "Earth",      "--second",
                                     "Mars",       "--start",   "2010-01-01", "--end",
                                     "2010-12-31", "--details", "--prices",   prices};
    args.insert(args.end(), extra.begin(), extra.end());
    const ReportArguments parsed = ParseReportArguments(args);
    EXPECT_TRUE(parsed.ok) << parsed.error;
    std::ostringstream out;
    InterruptingBuffer interrupting;
    std::stringbuf plain;
    std::ostream messages(interrupt ? static_cast<std::streambuf*>(&interrupting) : &plain);
    Ran r;
    r.status = RunReport(parsed.options, out, messages, interrupt);
    r.out = out.str();
    r.messages = interrupt ? interrupting.str() : plain.str();
    return r;
}

TEST(StatsInterrupt, CtrlCLeavesNothingHalfWritten) {
    const std::string said =
        "vlt-report: interrupted; the statistics were not finished and are "
        "not written\n";
    const struct {
        const char* format;
        bool reportKept;  // the text report was streamed before the trials
    } cases[] = {{"text", true}, {"csv", false}, {"json", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const Ran plain = RunWith({"--format", c.format}, false);
        ASSERT_EQ(plain.status, kReportDone) << plain.messages;
        const Ran stopped = RunWith({"--format", c.format, "--stats", "--trials", "1000000"}, true);
        EXPECT_EQ(stopped.status, kReportInterrupted);
        EXPECT_EQ(stopped.out, c.reportKept ? plain.out : "");
        // The progress line was wiped before the one line of message.
        const std::size_t cut = stopped.messages.rfind('\r');
        ASSERT_NE(cut, std::string::npos);
        EXPECT_EQ(stopped.messages.substr(cut + 1), said);
    }
    // Ctrl-C has its usual meaning again afterwards.
    struct sigaction now {};
    ::sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST(StatsProgressLine, ShowsChangesAtMostEveryIntervalThenWipes) {
    auto now = std::chrono::steady_clock::time_point{};
    std::ostringstream out;
    {
        ProgressLine line(out, "Stats", 250ms, [&] { return now; });
        const struct {
            std::chrono::milliseconds at;
            double fraction;
        } steps[] = {{0ms, 0.0},     {100ms, 0.5}, {250ms, 0.505}, {260ms, 0.507},
                     {600ms, 0.507}, {900ms, 1.0}, {950ms, -1.0}};
        for (const auto& s : steps) {
            now = std::chrono::steady_clock::time_point{} + s.at;
            line.Show(s.fraction);
        }
    }
    EXPECT_EQ(out.str(), "\rStats: 0 %\rStats: 50 %\rStats: 100 %\r            \r");
}

}  // namespace
}  // namespace vlt
