#include "app/qt/qt_screen.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/qt/qt_popup.h"
#include "app/qt/qt_viewer.h"
#include "app/window/controls.h"

namespace vlt {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Line ends inside the output box are CR LF for the logic, LF on the screen.
QString ToScreen(const std::string& s) {
    QString q = Q(s);
    q.replace("\r\n", "\n");
    return q;
}

QWidget* NewFrame(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

QWidget* NewLabel(const QString& caption, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// The window watches its text boxes for Enter and for focus leaving them.
QWidget* NewTextBox(const QString& caption, QWidget* window) {
    auto* e = new QLineEdit(caption, window);
    e->installEventFilter(window);
    return e;
}

QWidget* NewOutputBox(QWidget* parent) {
    auto* o = new QPlainTextEdit(parent);
    // Reports are fixed-column text: no wrapping; the user reads and copies,
    // the program writes.
    o->setLineWrapMode(QPlainTextEdit::NoWrap);
    o->setReadOnly(true);
    o->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return o;
}

QMessageBox::Icon BoxIcon(MsgIcon icon) {
    return icon == MsgIcon::Information   ? QMessageBox::Information
           : icon == MsgIcon::Exclamation ? QMessageBox::Warning
           : icon == MsgIcon::Question    ? QMessageBox::Question
                                          : QMessageBox::NoIcon;
}

}  // namespace

QtScreen::QtScreen() : QWidget(nullptr) {
    setObjectName(ctl::frmMain.text);
    Build();
    const TwipsScale scale{[this](int t) { return TwipsToPixels(t); },
                           [this](int p) { return PixelsToTwips(p); }};
    popup_ = std::make_unique<QtPopUp>(this, scale);
    viewer_ = std::make_unique<QtViewer>(this, scale);
    timer_ = new QTimer(this);
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (events_ != nullptr) events_->OnTick();
    });
}

QtScreen::~QtScreen() = default;

void QtScreen::StartTimer() { timer_->start(); }

int QtScreen::TwipsToPixels(int twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiY() / 1440.0));
}

int QtScreen::PixelsToTwips(int pixels) const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return static_cast<int>(std::lround(pixels * 1440.0 / dpi));
}

// The window's controls, in the order of its table: later ones lie on top of
// earlier ones, except frames, which stay behind everything.
void QtScreen::Build() {
    resize(TwipsToPixels(DesignClientWidth()), TwipsToPixels(DesignClientHeight()));
    for (const ControlInfo& s : MainWindowControls()) Place(s, CreateControl(s));
}

QWidget* QtScreen::CreateControl(const ControlInfo& s) {
    const QString caption = Q(s.caption);
    switch (s.kind) {
        case CtlKind::Frame: return NewFrame(this);
        case CtlKind::Label: return NewLabel(caption, this);
        case CtlKind::TextBox: return NewTextBox(caption, this);
        case CtlKind::OutputBox: return NewOutputBox(this);
        case CtlKind::Button: return ReportingClicks(new QPushButton(caption, this), s.ctl);
        case CtlKind::CheckBox: return ReportingClicks(new QCheckBox(caption, this), s.ctl);
        case CtlKind::Option: return ReportingClicks(new QRadioButton(caption, this), s.ctl);
        case CtlKind::List: return NewList(s.ctl);
    }
    return nullptr;
}

// A click on a button, check box or option button reaches the logic as
// that control's Click.
QWidget* QtScreen::ReportingClicks(QAbstractButton* b, const Ctl& ctl) {
    connect(b, &QAbstractButton::clicked, this, [this, ctl] { ReportClick(ctl); });
    return b;
}

// Choosing an item, even the one already shown, is the list's Click.
QWidget* QtScreen::NewList(const Ctl& ctl) {
    auto* c = new QComboBox(this);
    c->setMaxVisibleItems(16);
    connect(c, &QComboBox::activated, this, [this, ctl](int) { ReportClick(ctl); });
    return c;
}

void QtScreen::ReportClick(const Ctl& ctl) {
    if (events_ != nullptr) events_->OnClick(ctl);
}

// Names the widget after its control and puts it where the design has it.
void QtScreen::Place(const ControlInfo& s, QWidget* w) {
    w->setObjectName(Q(s.ctl.ToString()));
    w->setGeometry(TwipsToPixels(s.design.left), TwipsToPixels(s.design.top),
                   TwipsToPixels(s.design.width), TwipsToPixels(s.design.height));
    if (s.kind == CtlKind::Frame) w->lower();
    widgets_[s.ctl] = w;
    names_[w] = s.ctl;
}

QWidget* QtScreen::Widget(const Ctl& c) const {
    if (IsMain(c)) return const_cast<QtScreen*>(this);
    auto it = widgets_.find(c);
    return it == widgets_.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------- texts and values

std::string QtScreen::Text(const Ctl& c) const {
    if (IsMain(c)) return windowTitle().toStdString();
    QWidget* w = Widget(c);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
    if (auto* o = qobject_cast<QPlainTextEdit*>(w)) {
        QString t = o->toPlainText();
        t.replace("\n", "\r\n");
        return t.toStdString();
    }
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        QString t = b->text();
        t.replace("&&", "&");
        return t.toStdString();
    }
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
    return "";
}

void QtScreen::SetText(const Ctl& c, const std::string& text) {
    if (IsMain(c)) {
        setWindowTitle(Q(text));
        return;
    }
    QWidget* w = Widget(c);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(Q(text));
    } else if (auto* o = qobject_cast<QPlainTextEdit*>(w)) {
        o->setPlainText(ToScreen(text));
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        // "&" is a plain character in these captions, not a shortcut mark.
        QString q = Q(text);
        q.replace("&", "&&");
        b->setText(q);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(Q(text));
    }
}

int QtScreen::Value(const Ctl& c) const {
    if (auto* b = qobject_cast<QAbstractButton*>(Widget(c))) return b->isChecked() ? 1 : 0;
    return 0;
}

void QtScreen::SetValue(const Ctl& c, int value) {
    if (auto* b = qobject_cast<QAbstractButton*>(Widget(c))) b->setChecked(value == 1);
}

// ---------------------------------------------------------------- lists

void QtScreen::ListClear(const Ctl& c) {
    if (auto* b = qobject_cast<QComboBox*>(Widget(c))) b->clear();
}

void QtScreen::ListAdd(const Ctl& c, const std::string& text) {
    if (auto* b = qobject_cast<QComboBox*>(Widget(c))) {
        const int before = b->currentIndex();
        b->addItem(Q(text));
        // Adding to an empty list must not select anything by itself.
        if (before < 0) b->setCurrentIndex(-1);
    }
}

void QtScreen::ListSetItemText(const Ctl& c, int item, const std::string& text) {
    if (auto* b = qobject_cast<QComboBox*>(Widget(c))) b->setItemText(item, Q(text));
}

int QtScreen::ListCount(const Ctl& c) const {
    if (auto* b = qobject_cast<QComboBox*>(Widget(c))) return b->count();
    return 0;
}

int QtScreen::ListIndex(const Ctl& c) const {
    if (auto* b = qobject_cast<QComboBox*>(Widget(c))) return b->currentIndex();
    return -1;
}

void QtScreen::SetListIndex(const Ctl& c, int item) {
    if (auto* b = qobject_cast<QComboBox*>(Widget(c))) b->setCurrentIndex(item);
}

std::string QtScreen::ListItemText(const Ctl& c, int item) const {
    if (auto* b = qobject_cast<QComboBox*>(Widget(c))) return b->itemText(item).toStdString();
    return "";
}

// ---------------------------------------------------------------- state, focus, looks

bool QtScreen::Enabled(const Ctl& c) const {
    QWidget* w = Widget(c);
    return w != nullptr && w->isEnabled();
}

void QtScreen::SetEnabled(const Ctl& c, bool enabled) {
    if (QWidget* w = Widget(c)) w->setEnabled(enabled);
}

bool QtScreen::Visible(const Ctl& c) const {
    QWidget* w = Widget(c);
    return w != nullptr && !w->isHidden();
}

void QtScreen::SetVisible(const Ctl& c, bool visible) {
    if (IsMain(c)) return;
    if (QWidget* w = Widget(c)) w->setVisible(visible);
}

void QtScreen::SetFocus(const Ctl& c) {
    if (QWidget* w = Widget(c)) w->setFocus(Qt::OtherFocusReason);
}

void QtScreen::SetFont(const Ctl& c, const std::string& family, int points) {
    QWidget* w = Widget(c);
    if (w == nullptr) return;
    QFont f = w->font();
    f.setFamily(Q(family));
    f.setPointSize(points);
    if (family == "Courier New") f.setStyleHint(QFont::TypeWriter);
    w->setFont(f);
}

void QtScreen::SetBold(const Ctl& c, bool bold) {
    QWidget* w = Widget(c);
    if (w == nullptr) return;
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

void QtScreen::SetBackColor(const Ctl& c, Rgb colour) {
    QWidget* w = Widget(c);
    if (w == nullptr) return;
    QPalette p = w->palette();
    const QColor fill(colour.red, colour.green, colour.blue);
    p.setColor(QPalette::Window, fill);
    // Check boxes and option buttons fill with their own role.
    p.setColor(w->backgroundRole(), fill);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// ---------------------------------------------------------------- geometry

Rect QtScreen::Geometry(const Ctl& c) const {
    if (IsMain(c)) {
        return Rect{PixelsToTwips(x()), PixelsToTwips(y()), PixelsToTwips(width()),
                    PixelsToTwips(height())};
    }
    QWidget* w = Widget(c);
    if (w == nullptr) return Rect{};
    const QRect g = w->geometry();
    return Rect{PixelsToTwips(g.x()), PixelsToTwips(g.y()), PixelsToTwips(g.width()),
                PixelsToTwips(g.height())};
}

void QtScreen::SetGeometry(const Ctl& c, const Rect& r) {
    if (IsMain(c)) {
        settingGeometry_ = true;
        move(TwipsToPixels(r.left), TwipsToPixels(r.top));
        resize(TwipsToPixels(r.width), TwipsToPixels(r.height));
        settingGeometry_ = false;
        return;
    }
    if (QWidget* w = Widget(c)) {
        w->setGeometry(TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.width),
                       TwipsToPixels(r.height));
    }
}

WindowState QtScreen::State() const {
    if (isMinimized()) return WindowState::Minimised;
    if (isMaximized() || isFullScreen()) return WindowState::Maximised;
    return WindowState::Normal;
}

// The part of the screen windows may use; without a screen, that of a
// 1920 x 1080 one at 96 dpi.
int QtScreen::ScreenHeight() const { return WorkAreaTwips().height(); }

int QtScreen::ScreenWidth() const { return WorkAreaTwips().width(); }

QSize QtScreen::WorkAreaTwips() const {
    const auto toTwips = [this](int p) { return PixelsToTwips(p); };
    return ScreenTwips(*this, true, toTwips, QSize(28800, 16200));
}

void QtScreen::Repaint(const Ctl& c) {
    if (QWidget* w = Widget(c)) w->repaint();
}

void QtScreen::AppendText(const Ctl& c, const std::string& text) {
    if (auto* o = qobject_cast<QPlainTextEdit*>(Widget(c))) {
        QTextCursor cursor(o->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(ToScreen(text));
    } else if (auto* e = qobject_cast<QLineEdit*>(Widget(c))) {
        e->setText(e->text() + Q(text));
    }
}

void QtScreen::CaretToEnd(const Ctl& c) {
    if (auto* o = qobject_cast<QPlainTextEdit*>(Widget(c))) {
        o->moveCursor(QTextCursor::End);
        o->ensureCursorVisible();
    } else if (auto* e = qobject_cast<QLineEdit*>(Widget(c))) {
        e->end(false);
    }
}

// ---------------------------------------------------------------- dialogs

MsgResult QtScreen::Show(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) {
    QMessageBox box(this);
    box.setWindowTitle(title.empty() ? windowTitle() : Q(title));
    box.setText(Q(text));
    box.setIcon(BoxIcon(icon));
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setDefaultButton(QMessageBox::Ok);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    const int r = box.exec();
    switch (r) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        case QMessageBox::Cancel: return MsgResult::Cancel;
        default: break;
    }
    // A box closed by its close button answers like Cancel, or OK when that
    // is all it offers.
    return buttons == MsgButtons::Ok      ? MsgResult::Ok
           : buttons == MsgButtons::YesNo ? MsgResult::No
                                          : MsgResult::Cancel;
}

std::string QtScreen::SaveFileDialog(const std::string& title) {
    const QString path = QFileDialog::getSaveFileName(this, Q(title), QString(),
                                                      "Text files (*.txt);;All files (*)");
    return path.toStdString();
}

bool QtScreen::OpenWithDefaultProgram(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
}

void QtScreen::PopUpInWindow(const std::string& text, const Rect& where, int milliseconds) {
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    PopUpInForm(*popup_, PixelsToTwips(origin.y()), PixelsToTwips(origin.x()), text, where.width,
                where.height, milliseconds, where.top, where.left);
}

void QtScreen::ShowViewer(const std::string& caption, const std::string& path, bool hideCopy,
                          const Rect& place) {
    TextViewer& logic = viewer_->Logic();
    logic.SetFile(path);
    logic.SetHideCopy(hideCopy);
    viewer_->setWindowTitle(Q(caption));
    if (viewer_->isMinimized()) viewer_->showNormal();
    if (!viewer_->isMaximized()) {
        viewer_->move(TwipsToPixels(place.left), TwipsToPixels(place.top));
        viewer_->resize(TwipsToPixels(place.width), TwipsToPixels(place.height));
    }
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
    // Platforms without window activation (offscreen) still load the text.
    logic.Activate();
}

void QtScreen::YieldToEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); }

void QtScreen::EndProgram() {
    if (ended_) return;
    ended_ = true;
    timer_->stop();
    viewer_->close();
    if (busy_ && busy_()) {
        // Quit from inside a running command: the command sees the quit at
        // its next step and returns; the event loop then ends, as it was
        // told here.  The window goes at once.
        hide();
        QCoreApplication::exit(0);
        return;
    }
    close();
    QCoreApplication::quit();
}

// ---------------------------------------------------------------- events

bool QtScreen::eventFilter(QObject* watched, QEvent* event) {
    auto it = names_.find(watched);
    if (it != names_.end() && events_ != nullptr) {
        if (event->type() == QEvent::FocusOut) {
            // Focus moving to a message box or another window is not leaving
            // the box; only moving within this window is.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                const Ctl ctl = it->second;
                events_->OnLostFocus(ctl);
            }
        } else if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                const Ctl ctl = it->second;
                events_->OnKeyUp(ctl, 13);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void QtScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!settingGeometry_ && events_ != nullptr) events_->OnResize();
}

void QtScreen::closeEvent(QCloseEvent* event) {
    if (ended_ || events_ == nullptr) {
        event->accept();
        return;
    }
    if (events_->OnCloseRequest()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace vlt
