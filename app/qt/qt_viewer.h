#pragma once
// The text viewer on the screen: a resizable window with the read-only text,
// a copy button and a Close button; the rules are TextViewer's.

#include <QDialog>

#include <functional>

#include "app/qt/screen_units.h"
#include "app/support/text_viewer.h"

class QPlainTextEdit;
class QPushButton;

namespace vlt {

class QtViewer final : public QDialog, public ViewerSurface {
    Q_OBJECT
public:
    QtViewer(QWidget* owner, TwipsScale scale);

    TextViewer& Logic() { return logic_; }
    QPlainTextEdit* TextBox() const { return text_; }
    QPushButton* CopyButton() const { return copy_; }
    QPushButton* CloseButton() const { return close_; }

    // --- ViewerSurface
    void SetCloseCaption(const std::string& caption) override;
    void SetText(const std::string& text) override;
    void SetCopyButton(const std::string& caption, int width, bool visible, bool enabled) override;
    void SetLocked(bool locked) override;
    void CaretToStart() override;
    void Repaint() override;
    std::string SelectedText() const override;
    void SetClipboard(const std::string& text) override;
    void FocusClose() override;
    bool Minimised() const override;
    int WindowWidth() const override;
    int WindowHeight() const override;
    void SetWindowSize(int width, int height) override;
    void SetTextBoxSize(int width, int height) override;
    void SetButtonsTop(int top) override;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TextViewer logic_;
    QPlainTextEdit* text_;
    QPushButton* copy_;
    QPushButton* close_;
    std::function<int(int)> toPixels_;
    std::function<int(int)> toTwips_;
    bool sizing_ = false;
};

}  // namespace vlt
