#pragma once
// The main window on the screen: Qt widgets for every control of the window's
// table, placed by their design geometry (twips converted to pixels by the
// screen's logical resolution), and the UiOps the logic drives them through.
// User actions go to the logic as UiEvents; changes the logic makes are never
// reported back.

#include <QWidget>

#include <map>
#include <memory>

#include "app/window/control_names.h"
#include "app/window/ui_ops.h"

class QAbstractButton;
class QSize;
class QTimer;

namespace vlt {

struct ControlInfo;
class QtPopUp;
class QtViewer;

class QtScreen final : public QWidget, public UiOps {
    Q_OBJECT
public:
    QtScreen();
    ~QtScreen() override;

    void Attach(UiEvents* events) { events_ = events; }
    // Asked before the program ends: a command still running cannot be
    // returned to, so the program then ends at once.
    void SetBusyProbe(std::function<bool()> busy) { busy_ = std::move(busy); }
    void StartTimer();

    int TwipsToPixels(int twips) const;
    int PixelsToTwips(int pixels) const;
    QWidget* Widget(const Ctl& c) const;

    // --- UiOps
    std::string Text(const Ctl& c) const override;
    void SetText(const Ctl& c, const std::string& text) override;
    int Value(const Ctl& c) const override;
    void SetValue(const Ctl& c, int value) override;
    void ListClear(const Ctl& c) override;
    void ListAdd(const Ctl& c, const std::string& text) override;
    void ListSetItemText(const Ctl& c, int item, const std::string& text) override;
    int ListCount(const Ctl& c) const override;
    int ListIndex(const Ctl& c) const override;
    void SetListIndex(const Ctl& c, int item) override;
    std::string ListItemText(const Ctl& c, int item) const override;
    bool Enabled(const Ctl& c) const override;
    void SetEnabled(const Ctl& c, bool enabled) override;
    bool Visible(const Ctl& c) const override;
    void SetVisible(const Ctl& c, bool visible) override;
    void SetFocus(const Ctl& c) override;
    void SetFont(const Ctl& c, const std::string& family, int points) override;
    void SetBold(const Ctl& c, bool bold) override;
    void SetBackColor(const Ctl& c, Rgb colour) override;
    Rect Geometry(const Ctl& c) const override;
    void SetGeometry(const Ctl& c, const Rect& r) override;
    WindowState State() const override;
    int ScreenHeight() const override;
    int ScreenWidth() const override;
    void Repaint(const Ctl& c) override;
    void AppendText(const Ctl& c, const std::string& text) override;
    void CaretToEnd(const Ctl& c) override;
    std::string SaveFileDialog(const std::string& title) override;
    bool OpenWithDefaultProgram(const std::string& path) override;
    void PopUpInWindow(const std::string& text, const Rect& where, int milliseconds) override;
    void ShowViewer(const std::string& caption, const std::string& path, bool hideCopy,
                    const Rect& place) override;
    void YieldToEvents() override;
    void EndProgram() override;
    MsgResult Show(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override;

    QtViewer* Viewer() const { return viewer_.get(); }
    bool Ended() const { return ended_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Build();
    QWidget* CreateControl(const ControlInfo& s);
    QWidget* ReportingClicks(QAbstractButton* b, const Ctl& ctl);
    QWidget* NewList(const Ctl& ctl);
    void ReportClick(const Ctl& ctl);
    void Place(const ControlInfo& s, QWidget* w);
    QSize WorkAreaTwips() const;
    bool IsMain(const Ctl& c) const { return c.name == ctl::frmMain; }

    std::map<Ctl, QWidget*> widgets_;
    std::map<QObject*, Ctl> names_;
    UiEvents* events_ = nullptr;
    std::function<bool()> busy_;
    QTimer* timer_ = nullptr;
    std::unique_ptr<QtPopUp> popup_;
    std::unique_ptr<QtViewer> viewer_;
    bool settingGeometry_ = false;
    bool ended_ = false;
};

}  // namespace vlt
