// vlt-report's standard output when it cannot be written: to /dev/full, up
// against the file size limit (a full disk as the writer meets it) and into
// a tiny file system where the machine lets the test mount one.  Every such
// run ends with one line on standard error and status 1; nothing written is
// no failure.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/report/report_fixture.h"

namespace vlt::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kCannotMount = 100;

struct Sink {
    Sink(const char* path, rlim_t limit = 0, bool tiny = false)
        : stdoutPath(path), fileSizeLimit(limit), tinyFileSystem(tiny) {}
    std::string stdoutPath;  // relative to the test folder, or a device
    rlim_t fileSizeLimit;    // 0: none
    bool tinyFileSystem;     // a 16 kB tmpfs mounted at the folder "tiny"
};

// Runs vlt-report with standard output to the sink; the status is
// kCannotMount when the tiny file system could not be mounted.
ProgramRun RunInto(const std::vector<std::string>& args, const fs::path& folder, const Sink& sink) {
    fs::create_directories(folder / "tiny");
    const fs::path errPath = folder / "stderr.txt";
    std::vector<std::string> argv{VLT_REPORT_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(126);
        if (sink.tinyFileSystem &&
            (::unshare(CLONE_NEWNS) != 0 ||
             ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
             ::mount("vlt-test", "tiny", "tmpfs", 0, "size=16k") != 0)) {
            ::_exit(kCannotMount);
        }
        const int out = ::open(sink.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0) ::_exit(126);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (sink.fileSizeLimit > 0) {
            std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead (EFBIG)
            const rlimit limit{sink.fileSizeLimit, sink.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execv(cargv[0], cargv.data());
        ::_exit(127);
    }
    ProgramRun run;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    run.err = ReadWholeFile(errPath);
    return run;
}

class ReportWrites : public ReportFolderTest {};

TEST_F(ReportWrites, FailedStandardOutputGivesOneLineAndStatusOne) {
    const std::vector<std::string> shortRun = {"tables",     "--first", "Mars",       "--second",
                                               "Jupiter",    "--start", "2007-01-03", "--end",
                                               "2014-12-31", "--tz",    "GMT"};
    const auto with = [](std::vector<std::string> args, std::vector<std::string> more) {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const std::string full = "cannot write to standard output: No space left on device";
    struct Case {
        std::vector<std::string> args;
        Sink sink;
        int exit;
        std::string says;  // the one line on standard error; "" for none
    };
    const std::vector<Case> cases = {
        {shortRun, Sink("/dev/full"), 1, full},
        {with(shortRun, {"--format", "csv"}), Sink("/dev/full"), 1, full},
        {with(shortRun, {"--format", "json"}), Sink("/dev/full"), 1, full},
        {with(shortRun, {"--box"}), Sink("/dev/full"), 1, full},
        {{"--help"}, Sink("/dev/full"), 1, full},
        // Nothing is written: the usage error keeps its status and line.
        {{"tables", "--first", "Ceres"}, Sink("/dev/full"), 2, "unknown planet \"Ceres\""},
        // Some 6 kB of text and 8 kB of CSV against a 4 kB limit; 50 kB of
        // JSON into 16 kB.
        {shortRun, Sink("report.txt", 4096), 1, "cannot write to standard output: File too large"},
        {with(shortRun, {"--format", "csv"}), Sink("report.csv", 4096), 1, "File too large"},
        {with(shortRun, {"--format", "json"}), Sink("tiny/report.json", 0, true), 1, full},
        {with(shortRun, {"--format", "json"}), Sink("report.json"), 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args) + " > " + c.sink.stdoutPath);
        if (c.sink.stdoutPath.rfind("/dev/", 0) == 0 && !fs::exists(c.sink.stdoutPath)) continue;
        const ProgramRun run = RunInto(c.args, folder_, c.sink);
        if (run.exitCode == kCannotMount) continue;  // no tmpfs here: the other rows stand
        EXPECT_EQ(run.exitCode, c.exit) << run.err;
        if (c.says.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        }
    }
}

}  // namespace
}  // namespace vlt::testing
