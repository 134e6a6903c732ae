#pragma once
// The pop-up notice on the screen: a frameless modal window with one label,
// hidden again by its timer or by a click on the text.

#include <QDialog>

#include "app/qt/screen_units.h"
#include "app/support/popup.h"

class QLabel;
class QTimer;

namespace vlt {

class QtPopUp final : public QDialog, public PopUpSurface {
    Q_OBJECT
public:
    QtPopUp(QWidget* owner, TwipsScale scale);

    void SetMessage(const std::string& text) override;
    void SetWindowSize(int width, int height) override;
    void SetLabelSize(int width, int height) override;
    void SetPosition(int top, int left) override;
    int WindowWidth() const override;
    int WindowHeight() const override;
    int ScreenWidth() const override;
    int ScreenHeight() const override;
    void ShowModal(int milliseconds) override;
    void BringToFront() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label_;
    QTimer* timer_;
    std::function<int(int)> toPixels_;
    std::function<int(int)> toTwips_;
};

}  // namespace vlt
