// The chart renderer that vlt-report loads for its chart command only, so
// that the report's other commands run without the toolkit.  It draws the
// chart without a display: the offscreen platform unless one is chosen.
//
// The toolkit ends the process (abort) when its platform cannot start, say
// QT_QPA_PLATFORM=xcb with no display.  So the drawing runs in a child
// process: when the child dies before the toolkit is up, the chart is drawn
// again on the offscreen platform, and when that fails too the report says
// so in one line.  The toolkit's own messages ("QStandardPaths:
// XDG_RUNTIME_DIR not set", a missing display) stay off standard error
// unless VLT_QT_MESSAGES is set to 1.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/chart/chart_render_entry.h"
#include "app/qt/chart_view.h"
#include "app/support/escaped_text.h"

namespace {

constexpr char kStarted = 'S';  // the child's toolkit is up
constexpr char kDrawn = '0';    // followed by nothing: the image is written
constexpr char kFailed = '1';   // followed by the one-line error

bool QtMessagesWanted() {
    const char* v = std::getenv("VLT_QT_MESSAGES");
    return v != nullptr && std::strcmp(v, "1") == 0;
}

void DropQtMessage(QtMsgType /*type*/, const QMessageLogContext& /*context*/,
                   const QString& /*text*/) {}

void SendAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

// The child: starts the toolkit on `platform`, reports that it is up, draws,
// and reports the outcome; never returns.
[[noreturn]] void DrawInChild(int fd, const char* platform, const vlt::ChartModel& model,
                              const char* path, int width, int height) {
    // A start-up that aborts leaves no core file behind.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    if (!QtMessagesWanted()) qInstallMessageHandler(DropQtMessage);
    ::setenv("QT_QPA_PLATFORM", platform, 1);
    static int argc = 1;
    static char name[] = "vlt-report";
    static char* argv[] = {name, nullptr};
    std::string outcome;
    {
        QApplication app(argc, argv);
        SendAll(fd, std::string(1, kStarted));
        std::string message;
        const bool ok = vlt::SaveChartImage(model, path, width, height, message);
        outcome = ok ? std::string(1, kDrawn) : kFailed + message;
    }
    SendAll(fd, outcome);
    ::_exit(0);
}

struct ChildOutcome {
    bool started = false;  // the toolkit came up
    bool drawn = false;
    std::string error;
};

ChildOutcome DrawOn(const char* platform, const vlt::ChartModel& model, const char* path, int width,
                    int height) {
    ChildOutcome outcome;
    int fds[2];
    if (::pipe(fds) != 0) {
        outcome.error = std::string("cannot start the drawing: ") + std::strerror(errno);
        return outcome;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        DrawInChild(fds[1], platform, model, path, width, height);
    }
    ::close(fds[1]);
    std::string said;
    char block[512];
    for (ssize_t n; (n = ::read(fds[0], block, sizeof block)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        said.append(block, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    if (pid > 0) ::waitpid(pid, &status, 0);
    outcome.started = !said.empty() && said[0] == kStarted;
    outcome.drawn = said.size() > 1 && said[1] == kDrawn;
    if (said.size() > 1 && said[1] == kFailed) outcome.error = said.substr(2);
    if (outcome.started && !outcome.drawn && outcome.error.empty()) {
        outcome.error = "the drawing of the chart stopped before the image was written";
    }
    return outcome;
}

void CopyError(const std::string& message, char* error, std::size_t errorSize) {
    if (error == nullptr || errorSize == 0) return;
    std::strncpy(error, message.c_str(), errorSize - 1);
    error[errorSize - 1] = '\0';
}

// Inside a program that already runs the toolkit: drawn in place.
int DrawInPlace(const vlt::ChartModel& model, const char* path, int width, int height, char* error,
                std::size_t errorSize) {
    std::string message;
    const bool ok = vlt::SaveChartImage(model, path, width, height, message);
    if (!ok) CopyError(message, error, errorSize);
    return ok ? 0 : 1;
}

}  // namespace

extern "C" int vlt_render_chart(const vlt::ChartModel* model, const char* path, int width,
                                int height, char* error, std::size_t errorSize) {
    if (QApplication::instance() != nullptr) {
        return DrawInPlace(*model, path, width, height, error, errorSize);
    }
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    const std::string platform = chosen != nullptr && *chosen != '\0' ? chosen : "offscreen";
    ChildOutcome outcome = DrawOn(platform.c_str(), *model, path, width, height);
    if (!outcome.started && outcome.error.empty() && platform != "offscreen") {
        outcome = DrawOn("offscreen", *model, path, width, height);
    }
    if (outcome.drawn) return 0;
    if (!outcome.started && outcome.error.empty()) {
        outcome.error = "cannot draw charts: the toolkit cannot start on the platform \"" +
                        vlt::EscapedForOneLine(platform) + "\"" +
                        (platform != "offscreen" ? " nor on \"offscreen\"" : "") +
                        " (set VLT_QT_MESSAGES=1 to see its messages)";
    }
    CopyError(outcome.error, error, errorSize);
    return 1;
}
