#include "app/qt/qt_popup.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace vlt {

QtPopUp::QtPopUp(QWidget* owner, std::function<int(int)> twipsToPixels,
                 std::function<int(int)> pixelsToTwips)
    : QDialog(owner, Qt::FramelessWindowHint | Qt::Dialog),
      label_(new QLabel(this)),
      timer_(new QTimer(this)),
      toPixels_(std::move(twipsToPixels)),
      toTwips_(std::move(pixelsToTwips)) {
    setModal(true);
    setObjectName("frmPopUp");
    label_->setObjectName("lblMessage");
    label_->setAlignment(Qt::AlignCenter);
    label_->setFrameShape(QFrame::Box);
    label_->installEventFilter(this);
    QFont f("Tahoma", 9);
    label_->setFont(f);
    setStyleSheet("QDialog { background: white; }");
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { accept(); });
}

void QtPopUp::SetMessage(const std::string& text) { label_->setText(QString::fromStdString(text)); }

void QtPopUp::SetWindowSize(int width, int height) {
    resize(toPixels_(width), toPixels_(height));
}

void QtPopUp::SetLabelSize(int width, int height) {
    label_->setGeometry(0, 0, toPixels_(width), toPixels_(height));
}

void QtPopUp::SetPosition(int top, int left) { move(toPixels_(left), toPixels_(top)); }

int QtPopUp::WindowWidth() const { return toTwips_(width()); }
int QtPopUp::WindowHeight() const { return toTwips_(height()); }

int QtPopUp::ScreenWidth() const {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return s != nullptr ? toTwips_(s->geometry().width()) : 0;
}

int QtPopUp::ScreenHeight() const {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return s != nullptr ? toTwips_(s->geometry().height()) : 0;
}

void QtPopUp::ShowModal(int milliseconds) {
    timer_->start(milliseconds);
    exec();  // a nested event loop keeps the screen painted while the caller waits
    timer_->stop();
}

void QtPopUp::BringToFront() { raise(); }

bool QtPopUp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label_ && event->type() == QEvent::MouseButtonRelease) {
        timer_->stop();
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vlt
