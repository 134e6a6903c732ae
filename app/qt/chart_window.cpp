#include "app/qt/chart_window.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlt {

ChartWindow::ChartWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle("Chart");
    view_ = new ChartView(this);
    save_ = new QPushButton("Save image\u2026", this);
    hint_ = new QLabel(
        "Wheel: zoom the dates \u00b7 drag: move along them \u00b7 hover: dates and aspect", this);
    auto* row = new QHBoxLayout;
    row->addWidget(hint_, 1);
    row->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(row);
    connect(save_, &QPushButton::clicked, this, [this] { SaveImage(); });
    resize(1100, 650);
}

void ChartWindow::Show(const ChartModel& model) {
    view_->SetModel(model);
    show();
    raise();
    activateWindow();
}

void ChartWindow::SaveImage() {
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, "Save image", "chart.png",
                                                "PNG image (*.png);;SVG image (*.svg)", &filter);
    if (path.isEmpty()) return;
    if (!path.endsWith(".png", Qt::CaseInsensitive) &&
        !path.endsWith(".svg", Qt::CaseInsensitive)) {
        path += filter.startsWith("SVG") ? ".svg" : ".png";
    }
    std::string error;
    if (!SaveChartImage(view_->Model(), QFile::encodeName(path).toStdString(), view_->width(),
                        view_->height(), error)) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(error));
    }
}

}  // namespace vlt
