#pragma once
// The chart window: the chart of the last run, and "Save image…" for a PNG
// or SVG file of it.  Made the first time the main window's "Chart" button is
// clicked and kept from then on.

#include <QWidget>

#include "app/qt/chart_view.h"

class QPushButton;
class QLabel;

namespace vlt {

class ChartWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChartWindow(QWidget* parent = nullptr);
    void Show(const ChartModel& model);
    ChartView* View() const { return view_; }

private:
    void SaveImage();

    ChartView* view_;
    QPushButton* save_;
    QLabel* hint_;
};

}  // namespace vlt
