#include "app/qt/qt_popup.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace vlt {

QtPopUp::QtPopUp(QWidget* owner, TwipsScale scale)
    : QDialog(owner, Qt::FramelessWindowHint | Qt::Dialog),
      label_(new QLabel(this)),
      timer_(new QTimer(this)),
      toPixels_(std::move(scale.toPixels)),
      toTwips_(std::move(scale.toTwips)) {
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

void QtPopUp::SetWindowSize(int width, int height) { resize(toPixels_(width), toPixels_(height)); }

void QtPopUp::SetLabelSize(int width, int height) {
    label_->setGeometry(0, 0, toPixels_(width), toPixels_(height));
}

void QtPopUp::SetPosition(int top, int left) { move(toPixels_(left), toPixels_(top)); }

int QtPopUp::WindowWidth() const { return toTwips_(width()); }
int QtPopUp::WindowHeight() const { return toTwips_(height()); }

// The whole screen, not only the part windows may use.
int QtPopUp::ScreenWidth() const {
    return ScreenTwips(*this, false, toTwips_, QSize(0, 0)).width();
}

int QtPopUp::ScreenHeight() const {
    return ScreenTwips(*this, false, toTwips_, QSize(0, 0)).height();
}

void QtPopUp::ShowModal(int milliseconds) {
    KeepOnScreen(*this);
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
