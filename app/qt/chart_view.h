#pragma once
// The chart of a finished run drawn with Qt Charts: the same picture in the
// chart window, in the window's "Save image…" and in vlt-report's image
// files.
//
// Transit runs: one lane per aspect type (per planet pair in a show-all
// series), each transit's outer, middle and inner orb interval as nested bars
// in three shades of the aspect's colour, a marker at each minimum (exact: a
// dot; exact with the first planet retrograde: a triangle; not exact: a ring),
// the price line on the right-hand axis where the period has prices.
// Simulations: each aspect type's accumulated gain, with markers where
// investments open and close, over the price line.

#include <QChart>
#include <QChartView>
#include <QColor>
#include <QStringList>
#include <string>
#include <vector>

#include "app/chart/chart_model.h"

namespace vlt {

// The milliseconds since 1970 of a day's midnight (UTC), the time axis's unit.
qint64 ChartMilliseconds(std::int32_t day);

// The fill colours of an aspect type's orb intervals, outer to inner, and of
// the minimum markers.
QColor IntervalColour(int aspect, int level);
QColor EquityColour(int aspect);
inline const QColor kExactMarkerColour{0x1a, 0x1a, 0x1a};
inline const QColor kRetrogradeMarkerColour{0xb0, 0x14, 0x2c};
inline const QColor kApproximateMarkerColour{0x6b, 0x6b, 0x6b};

// A chart of the model; the caller owns it.
QChart* BuildChart(const ChartModel& model);

// The legend as the chart lays it out: each entry's label and where its
// swatch is drawn, in the chart's own coordinates.
struct DrawnLegendEntry {
    QString label;
    QRectF swatch;
};
std::vector<DrawnLegendEntry> DrawnLegend(QChart* chart);
// The tick labels of the time axis (Qt::AlignBottom) or of a value axis
// (Qt::AlignLeft: the gain, Qt::AlignRight: the price) as laid out last.
QStringList TickLabels(QChart* chart, Qt::Alignment side);

// Where a chart laid out at some size puts its days and lanes, in its own
// pixels.
struct ChartLayout {
    QRectF plot;
    qint64 firstMs = 0;  // the time axis's range
    qint64 lastMs = 0;
    int lanes = 0;
    double XOfDay(double day) const;
    double LaneCentre(int lane) const;
};
ChartLayout LayoutOf(QChart* chart, const ChartModel& model);

// Writes the chart as PNG or SVG (by the name's ending) at width x height
// pixels.  `path` is the file system's name, byte for byte (QFile::encodeName
// of a name the user chose).  The image replaces the file at once, through a
// temporary file beside it; a symbolic link there is replaced, not followed.
// Needs a QApplication.  False with a one-line error when the file cannot be
// written, the old file then untouched.
bool SaveChartImage(const ChartModel& model, const std::string& path, int width, int height,
                    std::string& error, ChartLayout* layout = nullptr);
bool SaveChartImage(QChart* chart, const std::string& path, int width, int height,
                    std::string& error);
// Several charts in one image, one above the other, each of an equal part of
// the height (the panels of a Kind::Panels model).
bool SaveChartImage(const std::vector<QChart*>& charts, const std::string& path, int width,
                    int height, std::string& error);

// The chart widget: hover shows dates and aspect, the wheel zooms the time
// axis about the cursor, dragging pans it.
class ChartView : public QChartView {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);
    void SetModel(const ChartModel& model);
    const ChartModel& Model() const { return model_; }
    // The text hovering at `pos` shows; empty where nothing is.
    QString HoverText(const QPointF& pos) const;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ChartModel model_;
    bool dragging_ = false;
    QPointF lastPos_;
};

}  // namespace vlt
