#include "app/qt/panel_chart.h"

#include <QAreaSeries>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace vlt {
namespace {

constexpr std::int32_t kJdnOf1970 = 2440588;
constexpr double kMsPerDay = 86400000.0;

const QColor kPalette[] = {QColor(0x1f, 0x5f, 0xbf), QColor(0x60, 0x60, 0x60),
                           QColor(0xc0, 0x39, 0x2b), QColor(0x27, 0x8e, 0x3c),
                           QColor(0x8e, 0x44, 0xad), QColor(0xd3, 0x7a, 0x00),
                           QColor(0x00, 0x8b, 0x8b)};

QColor Colour(int index) {
    const int n = static_cast<int>(std::size(kPalette));
    return kPalette[((index % n) + n) % n];
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

// Days go to the date axis as milliseconds since 1970.
double X(const PlotPanel& panel, double x) {
    return panel.xIsDay ? (x - kJdnOf1970) * kMsPerDay : x;
}

struct Range {
    double lo = HUGE_VAL;
    double hi = -HUGE_VAL;
    void Take(double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
};

QLineSeries* LineOf(const PlotPanel& panel, const std::vector<PlotPoint>& points, Range& x,
                    Range& y) {
    auto* s = new QLineSeries;
    for (const PlotPoint& p : points) {
        s->append(X(panel, p.x), p.y);
        x.Take(X(panel, p.x));
        y.Take(p.y);
    }
    return s;
}

QAbstractSeries* SeriesOf(const PlotPanel& panel, const PlotLine& line, Range& x, Range& y) {
    if (line.dots) {
        auto* dots = new QScatterSeries;
        dots->setMarkerSize(5);
        dots->setColor(Colour(line.colour));
        dots->setBorderColor(Colour(line.colour));
        for (const PlotPoint& p : line.points) {
            dots->append(X(panel, p.x), p.y);
            x.Take(X(panel, p.x));
            y.Take(p.y);
        }
        dots->setName(Text(line.label));
        return dots;
    }
    QLineSeries* s = LineOf(panel, line.points, x, y);
    QPen pen(Colour(line.colour), 2);
    if (line.dashed) pen.setStyle(Qt::DashLine);
    s->setPen(pen);
    s->setName(Text(line.label));
    return s;
}

QAbstractAxis* HorizontalAxis(const PlotPanel& panel, const Range& x) {
    if (panel.xIsDay) {
        auto* axis = new QDateTimeAxis;
        axis->setFormat("yyyy");
        axis->setTitleText(Text(panel.xTitle));
        axis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(x.lo), Qt::UTC),
                       QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(x.hi), Qt::UTC));
        return axis;
    }
    auto* axis = new QValueAxis;
    axis->setTitleText(Text(panel.xTitle));
    axis->setRange(x.lo, x.hi);
    return axis;
}

}  // namespace

QChart* BuildPanelChart(const PlotPanel& panel) {
    auto* chart = new QChart;
    chart->setTitle(Text(panel.title));
    chart->setMargins(QMargins(6, 6, 6, 6));
    chart->setBackgroundRoundness(0);
    Range x, y;
    std::vector<QAbstractSeries*> series;
    for (const PlotBand& band : panel.bands) {
        auto* area =
            new QAreaSeries(LineOf(panel, band.upper, x, y), LineOf(panel, band.lower, x, y));
        area->setName(Text(band.label));
        area->setBrush(QColor(0xc8, 0xc8, 0xc8, 0x90));
        area->setPen(Qt::NoPen);
        series.push_back(area);
    }
    for (const PlotLine& line : panel.lines) series.push_back(SeriesOf(panel, line, x, y));
    if (x.lo > x.hi) x = Range{0.0, 1.0};
    if (y.lo > y.hi) y = Range{0.0, 1.0};
    const double pad = (y.hi - y.lo) * 0.05 + 1e-9;
    QAbstractAxis* horizontal = HorizontalAxis(panel, x);
    auto* vertical = new QValueAxis;
    vertical->setTitleText(Text(panel.yTitle));
    vertical->setRange(y.lo - pad, y.hi + pad);
    chart->addAxis(horizontal, Qt::AlignBottom);
    chart->addAxis(vertical, Qt::AlignLeft);
    for (QAbstractSeries* s : series) {
        chart->addSeries(s);
        s->attachAxis(horizontal);
        s->attachAxis(vertical);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

}  // namespace vlt
