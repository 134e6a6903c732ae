#include "app/qt/background_job.h"

#include <QProgressBar>
#include <QTimer>

namespace vlt {

BackgroundJob::BackgroundJob(QProgressBar* bar, QObject* parent)
    : QObject(parent), bar_(bar), timer_(new QTimer(this)) {
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &BackgroundJob::ShowProgress);
}

BackgroundJob::~BackgroundJob() {
    if (thread_ == nullptr) return;
    Cancel();
    thread_->wait();
    delete thread_;
}

bool BackgroundJob::Start(Work work) {
    if (thread_ != nullptr) return false;
    done_ = 0;
    total_ = 0;
    cancel_ = false;
    stop_ = std::stop_source();
    bar_->setRange(0, 0);  // busy until the work first says how much there is
    bar_->setVisible(true);
    thread_ = QThread::create([this, work = std::move(work), stop = stop_.get_token()] {
        work(
            [this](int done, int total) {
                done_ = done;
                total_ = total;
                return !cancel_.load();
            },
            stop);
    });
    // Queued: the thread's own end is seen on the window's thread.
    connect(thread_, &QThread::finished, this, &BackgroundJob::Ended, Qt::QueuedConnection);
    thread_->start(QThread::LowPriority);
    timer_->start();
    return true;
}

void BackgroundJob::ShowProgress() {
    const int total = total_;
    if (total <= 0) return;
    bar_->setRange(0, total);
    bar_->setValue(done_);
}

void BackgroundJob::Ended() {
    timer_->stop();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    ShowProgress();
    bar_->setVisible(false);
    emit Finished();
}

}  // namespace vlt
