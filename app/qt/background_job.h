#pragma once
// Long work of the window (the statistics' trials, the research over all
// pairs) on a worker thread, so that the window stays responsive: a progress
// bar that follows it and a Cancel that stops it at its next progress call.
// The work reports to atomics that a timer on the window's thread reads; the
// result is read only after Finished.

#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>
#include <stop_token>

class QProgressBar;
class QTimer;

namespace vlt {

class BackgroundJob final : public QObject {
    Q_OBJECT
public:
    // Called by the work with how much of it is done; false asks it to stop.
    using Progress = std::function<bool(int done, int total)>;
    // `stop` is requested by Cancel too, for work that takes a token.
    using Work = std::function<void(const Progress& progress, std::stop_token stop)>;

    explicit BackgroundJob(QProgressBar* bar, QObject* parent = nullptr);
    // Cancels the work and waits for it: it captures its caller's objects.
    ~BackgroundJob() override;

    // Runs `work` on a new thread; false while another still runs.
    bool Start(Work work);
    void Cancel() {
        cancel_ = true;
        stop_.request_stop();
    }
    bool Running() const { return thread_ != nullptr; }
    // Whether the last work was asked to stop before it ended.
    bool Cancelled() const { return cancel_; }

signals:
    void Finished();

private:
    void ShowProgress();
    void Ended();

    QProgressBar* bar_;
    QTimer* timer_;
    QThread* thread_ = nullptr;
    std::atomic<int> done_{0};
    std::atomic<int> total_{0};
    std::atomic<bool> cancel_{false};
    std::stop_source stop_;
};

}  // namespace vlt
