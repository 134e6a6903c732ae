#include "app/qt/qt_viewer.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextCursor>

namespace vlt {
namespace {

// The logic keeps CR LF line ends; the text box shows plain line feeds.
QString ToDisplay(const std::string& text) {
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString s = utf8(bytes);
    if (utf8.hasError()) s = QString::fromLatin1(bytes);  // a single-byte text file
    s.replace("\r\n", "\n");
    return s;
}

std::string FromDisplay(QString s) {
    s.replace(QChar::ParagraphSeparator, '\n');
    s.replace("\n", "\r\n");
    return s.toStdString();
}

}  // namespace

QtViewer::QtViewer(QWidget* owner, TwipsScale scale)
    : QDialog(owner, Qt::Window),
      logic_(*this),
      text_(new QPlainTextEdit(this)),
      copy_(new QPushButton(this)),
      close_(new QPushButton(this)),
      toPixels_(std::move(scale.toPixels)),
      toTwips_(std::move(scale.toTwips)) {
    setObjectName("frmView");
    text_->setObjectName("txbText1");
    copy_->setObjectName("cmdCopyToClipboard");
    close_->setObjectName("cmdClose");
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->viewport()->installEventFilter(this);
    QFont mono("Courier New", 9);
    mono.setStyleHint(QFont::Monospace);
    text_->setFont(mono);
    connect(copy_, &QPushButton::clicked, this, [this] { logic_.CopyClicked(); });
    connect(close_, &QPushButton::clicked, this, [this] { close(); });
    resize(toPixels_(9000), toPixels_(7000));
}

void QtViewer::SetCloseCaption(const std::string& caption) {
    close_->setText(QString::fromStdString(caption));
}

void QtViewer::SetText(const std::string& text) { text_->setPlainText(ToDisplay(text)); }

void QtViewer::SetCopyButton(const std::string& caption, int width, bool visible, bool enabled) {
    copy_->setText(QString::fromStdString(caption));
    copy_->resize(toPixels_(width), copy_->height() > 0 ? copy_->height() : toPixels_(375));
    copy_->setVisible(visible);
    copy_->setEnabled(enabled);
}

void QtViewer::SetLocked(bool locked) { text_->setReadOnly(locked); }

void QtViewer::CaretToStart() { text_->moveCursor(QTextCursor::Start); }
void QtViewer::Repaint() { text_->viewport()->update(); }

std::string QtViewer::SelectedText() const {
    return FromDisplay(text_->textCursor().selectedText());
}

void QtViewer::SetClipboard(const std::string& text) {
    // The desktop's clipboard carries plain line feeds on this platform.
    QString s = QString::fromStdString(text);
    s.replace("\r\n", "\n");
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(s);
}

void QtViewer::FocusClose() { close_->setFocus(); }
bool QtViewer::Minimised() const { return isMinimized(); }
int QtViewer::WindowWidth() const { return toTwips_(width()); }
int QtViewer::WindowHeight() const { return toTwips_(height()); }

void QtViewer::SetWindowSize(int width, int height) {
    sizing_ = true;
    resize(toPixels_(width), toPixels_(height));
    sizing_ = false;
}

void QtViewer::SetTextBoxSize(int width, int height) {
    const int margin = toPixels_(225);
    text_->setGeometry(margin, margin, toPixels_(width), std::max(0, toPixels_(height) - margin));
}

void QtViewer::SetButtonsTop(int top) {
    const int y = toPixels_(top);
    const int h = toPixels_(375);
    const int margin = toPixels_(225);
    copy_->setGeometry(margin, y, copy_->width(), h);
    close_->setGeometry(width() - margin - toPixels_(1200), y, toPixels_(1200), h);
}

bool QtViewer::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) logic_.Activate();
    return QDialog::event(e);
}

bool QtViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        logic_.MouseUpOnText();
    }
    return QDialog::eventFilter(watched, event);
}

void QtViewer::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!sizing_) logic_.Resize();
}

void QtViewer::closeEvent(QCloseEvent* event) {
    logic_.Close();
    QDialog::closeEvent(event);
}

}  // namespace vlt
