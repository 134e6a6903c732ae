#include "app/qt/chart_view.h"

#include <QApplication>
#include <QAreaSeries>
#include <QBuffer>
#include <QCategoryAxis>
#include <QGraphicsScene>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/support/atomic_file.h"
#include "app/support/escaped_text.h"

#include "app/chart/chart_legend.h"
#include "app/chart/chart_ticks.h"
#include "app/qt/panel_chart.h"

namespace vlt {
namespace {

constexpr std::int32_t kJdnOf1970 = 2440588;
constexpr qint64 kMsPerDay = 86400000;

// One hue per aspect type 1..7, far enough apart to tell the lanes and curves
// of a show-all series apart.
const QColor kAspectColours[8] = {QColor(0x60, 0x60, 0x60), QColor(0x1f, 0x5f, 0xbf),
                                  QColor(0xc0, 0x39, 0x2b), QColor(0x27, 0x8e, 0x3c),
                                  QColor(0x8e, 0x44, 0xad), QColor(0xd3, 0x7a, 0x00),
                                  QColor(0x00, 0x8b, 0x8b), QColor(0x9c, 0x64, 0x2a)};

// Bar heights of the three orb levels, as parts of a lane.
constexpr double kBarHeight[kOrbLevels] = {0.76, 0.52, 0.28};

QString Text(const std::string& s) { return QString::fromStdString(s); }
QString Date(std::int32_t day) { return Text(ChartDateText(day)); }

// The axes are told apart by name: the time axis, the value axes (price,
// gain) whose ticks are chosen here, and the lanes of a transit chart.
const QString kTimeAxisName = "time";
const QString kValueAxisName = "value";

QValueAxis* TimeAxis(QChart* chart) {
    for (QAbstractAxis* a : chart->axes(Qt::Horizontal)) {
        if (a->objectName() == kTimeAxisName) return qobject_cast<QValueAxis*>(a);
    }
    return nullptr;
}

// Minimum markers, the same in the chart and in its legend.
void DrawMinimumMarker(QPainter* p, QPointF c, double r, bool exact, bool retrograde) {
    if (exact && retrograde) {
        p->setPen(Qt::NoPen);
        p->setBrush(kRetrogradeMarkerColour);
        const QPointF tri[3] = {c + QPointF(-r * 1.2, -r), c + QPointF(r * 1.2, -r),
                                c + QPointF(0, r * 1.3)};
        p->drawPolygon(tri, 3);
    } else if (exact) {
        p->setPen(Qt::NoPen);
        p->setBrush(kExactMarkerColour);
        p->drawEllipse(c, r, r);
    } else {
        p->setPen(QPen(kApproximateMarkerColour, 2));
        p->setBrush(Qt::white);
        p->drawEllipse(c, r, r);
    }
}

// The transits' bars and minima, drawn between the grid and the price line
// and laid out again whenever the plot area or the time axis changes.
class TransitLayer : public QGraphicsObject {
public:
    TransitLayer(QChart* chart, const ChartModel& model)
        : QGraphicsObject(chart), chart_(chart), model_(model) {
        setZValue(3.5);  // above the grid and axes, below the series
        connect(chart, &QChart::plotAreaChanged, this, [this] { prepareGeometryChange(); });
        if (QValueAxis* t = TimeAxis(chart)) {
            connect(t, &QValueAxis::rangeChanged, this, [this] { update(); });
        }
    }
    QRectF boundingRect() const override { return chart_->plotArea(); }
    void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override {
        const ChartLayout l = LayoutOf(chart_, model_);
        if (l.lanes == 0) return;
        p->save();
        p->setClipRect(l.plot);
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setPen(Qt::NoPen);
        const double laneHeight = l.plot.height() / l.lanes;
        for (int level = 0; level < kOrbLevels; ++level) {
            for (const ChartInterval& iv : model_.intervals) {
                if (iv.level != level) continue;
                const double h = laneHeight * kBarHeight[level];
                const double x0 = l.XOfDay(iv.startDay);
                const double x1 = l.XOfDay(iv.endDay + 1);
                if (x1 < l.plot.left() || x0 > l.plot.right()) continue;
                p->setBrush(IntervalColour(iv.aspect, level));
                p->drawRect(QRectF(x0, l.LaneCentre(iv.lane) - h / 2, std::max(1.0, x1 - x0), h));
            }
        }
        p->setRenderHint(QPainter::Antialiasing, true);
        const double r = std::clamp(laneHeight * 0.12, 3.0, 7.0);
        for (const ChartMinimum& mn : model_.minima) {
            const QPointF c(l.XOfDay(mn.day + 0.5), l.LaneCentre(mn.lane));
            if (c.x() < l.plot.left() || c.x() > l.plot.right()) continue;
            DrawMinimumMarker(p, c, r, mn.exact, mn.retrograde);
        }
        p->restore();
    }

private:
    QChart* chart_;
    const ChartModel& model_;
};

QLineSeries* PriceLine(const ChartModel& model) {
    auto* s = new QLineSeries;
    s->setName(Text(model.priceName));
    s->setPen(QPen(QColor(0x50, 0x50, 0x50), 1.2));
    for (const ChartPoint& p : model.prices) {
        s->append(static_cast<double>(ChartMilliseconds(p.day)), p.value);
    }
    return s;
}

}  // namespace

qint64 ChartMilliseconds(std::int32_t day) {
    return static_cast<qint64>(day - kJdnOf1970) * kMsPerDay;
}

QColor IntervalColour(int aspect, int level) {
    const QColor base = kAspectColours[aspect >= 1 && aspect <= 7 ? aspect : 0];
    // Outer palest, inner the full colour: the aspect's colour mixed with
    // white.
    static const double kWhite[kOrbLevels] = {0.68, 0.38, 0.0};
    const double w = kWhite[std::clamp(level, 0, kOrbLevels - 1)];
    const auto mix = [w](int c) { return static_cast<int>(std::lround(c + (255 - c) * w)); };
    return QColor(mix(base.red()), mix(base.green()), mix(base.blue()));
}

QColor EquityColour(int aspect) { return kAspectColours[aspect >= 1 && aspect <= 7 ? aspect : 0]; }

double ChartLayout::XOfDay(double day) const {
    if (lastMs <= firstMs) return plot.left();
    const double ms = (day - kJdnOf1970) * static_cast<double>(kMsPerDay);
    return plot.left() + (ms - static_cast<double>(firstMs)) /
                             static_cast<double>(lastMs - firstMs) * plot.width();
}

double ChartLayout::LaneCentre(int lane) const {
    if (lanes == 0) return plot.center().y();
    return plot.top() + (lane + 0.5) * plot.height() / lanes;
}

ChartLayout LayoutOf(QChart* chart, const ChartModel& model) {
    ChartLayout l;
    l.plot = chart->plotArea();
    if (QValueAxis* t = TimeAxis(chart)) {
        l.firstMs = static_cast<qint64>(std::llround(t->min()));
        l.lastMs = static_cast<qint64>(std::llround(t->max()));
    }
    l.lanes = model.kind == ChartModel::Kind::Transits ? static_cast<int>(model.lanes.size()) : 0;
    return l;
}

namespace {

// Room a tick label needs along its axis, in pixels.
constexpr double kDateLabelRoom = 95;
constexpr double kValueLabelRoom = 40;

using AxisTicks = std::vector<std::pair<double, QString>>;

// Puts labelled grid lines at the ticks; nothing changes when they are
// already there, so that a new layout does not ask for another.
void SetTicks(QCategoryAxis* axis, const AxisTicks& ticks) {
    const QStringList now = axis->categoriesLabels();
    bool same = now.size() == static_cast<qsizetype>(ticks.size());
    for (qsizetype i = 0; same && i < now.size(); ++i) {
        same = now[i] == ticks[static_cast<std::size_t>(i)].second &&
               axis->endValue(now[i]) == ticks[static_cast<std::size_t>(i)].first;
    }
    if (same && axis->startValue() == axis->min()) return;
    for (const QString& label : now) axis->remove(label);
    axis->setStartValue(axis->min());
    for (const auto& [at, label] : ticks) axis->append(label, at);
}

AxisTicks TimeTicks(const QValueAxis* axis, double width) {
    const auto dayAt = [](double ms) { return ms / static_cast<double>(kMsPerDay) + kJdnOf1970; };
    const auto first = static_cast<std::int32_t>(std::ceil(dayAt(axis->min()) - 1e-9));
    // The axis ends at the midnight after its last day: a tick there would
    // name a day the chart does not show.
    const auto last = static_cast<std::int32_t>(std::ceil(dayAt(axis->max()) - 1e-9)) - 1;
    AxisTicks ticks;
    for (const ChartTick& t :
         DateTicks(first, last, std::max(2, static_cast<int>(width / kDateLabelRoom)))) {
        ticks.emplace_back(static_cast<double>(ChartMilliseconds(static_cast<std::int32_t>(t.at))),
                           Text(t.label));
    }
    return ticks;
}

// Round dates on the time axis and round values on the value axes, as many
// as the plot area has room for.
void RefreshTicks(QChart* chart) {
    const QRectF plot = chart->plotArea();
    if (plot.width() < 1 || plot.height() < 1) return;
    for (QAbstractAxis* a : chart->axes()) {
        auto* axis = qobject_cast<QCategoryAxis*>(a);
        if (axis == nullptr) continue;
        if (axis->objectName() == kTimeAxisName) {
            SetTicks(axis, TimeTicks(axis, plot.width()));
        } else if (axis->objectName() == kValueAxisName) {
            AxisTicks ticks;
            const int room = std::max(2, static_cast<int>(plot.height() / kValueLabelRoom));
            for (const ChartTick& t : ValueTicks(axis->min(), axis->max(), room)) {
                ticks.emplace_back(t.at, Text(t.label));
            }
            SetTicks(axis, ticks);
        }
    }
}

QCategoryAxis* TickedAxis(const QString& name, const QString& title) {
    auto* axis = new QCategoryAxis;
    axis->setObjectName(name);
    axis->setTitleText(title);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    return axis;
}

// The time axis covers the run's days from the first day's midnight to the
// midnight after the last.
QValueAxis* AddTimeAxis(QChart* chart, const ChartModel& model) {
    QCategoryAxis* time = TickedAxis(kTimeAxisName, "Date");
    time->setRange(static_cast<double>(ChartMilliseconds(model.firstDay)),
                   static_cast<double>(ChartMilliseconds(model.lastDay + 1)));
    chart->addAxis(time, Qt::AlignBottom);
    QObject::connect(time, &QValueAxis::rangeChanged, chart, [chart] { RefreshTicks(chart); });
    return time;
}

// The price line on its own right-hand axis, a little room above and below;
// its grid would cross the lanes' or the gain's, so it has none.
void AddPrices(QChart* chart, const ChartModel& model, QValueAxis* time) {
    QLineSeries* prices = PriceLine(model);
    chart->addSeries(prices);
    QCategoryAxis* priceAxis = TickedAxis(kValueAxisName, Text(model.priceName));
    priceAxis->setGridLineVisible(false);
    chart->addAxis(priceAxis, Qt::AlignRight);
    prices->attachAxis(time);
    prices->attachAxis(priceAxis);
    const auto [lo, hi] = std::minmax_element(
        model.prices.begin(), model.prices.end(),
        [](const ChartPoint& a, const ChartPoint& b) { return a.value < b.value; });
    const double pad = (hi->value - lo->value) * 0.05 + 1e-9;
    priceAxis->setRange(lo->value - pad, hi->value + pad);
}

// One labelled lane per row on the left; the bars and minima are drawn by
// a TransitLayer, not by series.
void AddLanes(QChart* chart, const ChartModel& model, QValueAxis* time) {
    auto* lanes = new QCategoryAxis;
    lanes->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    lanes->setStartValue(0);
    for (std::size_t i = 0; i < model.lanes.size(); ++i) {
        lanes->append(Text(model.lanes[i].label), static_cast<double>(i + 1));
    }
    // A hair beyond the lanes at both ends: the axis drops a category
    // label that ends exactly on the range's edge in some layouts.
    lanes->setRange(-1e-6, std::max<double>(1, static_cast<double>(model.lanes.size())) + 1e-6);
    lanes->setReverse(true);  // the first lane at the top
    lanes->setGridLineVisible(true);
    chart->addAxis(lanes, Qt::AlignLeft);
    // The lanes' axis needs a series to show; this one draws nothing.
    auto* anchor = new QLineSeries;
    anchor->setPen(Qt::NoPen);
    anchor->append(static_cast<double>(ChartMilliseconds(model.firstDay)), 0);
    chart->addSeries(anchor);
    anchor->attachAxis(time);
    anchor->attachAxis(lanes);
    new TransitLayer(chart, model);
}

// The markers where an aspect type's investments open (white circles) or
// close (filled squares), on its gain curve.
void AddTradeMarks(QChart* chart, const ChartModel& model, int aspect, bool opens,
                   QAbstractAxis* time, QAbstractAxis* gain) {
    auto* marks = new QScatterSeries;
    marks->setMarkerShape(opens ? QScatterSeries::MarkerShapeCircle
                                : QScatterSeries::MarkerShapeRectangle);
    marks->setMarkerSize(opens ? 7 : 6);
    marks->setColor(opens ? Qt::white : EquityColour(aspect));
    marks->setBorderColor(EquityColour(aspect));
    for (const TradeMark& t : model.trades) {
        if (t.aspect == aspect && t.opens == opens) {
            marks->append(static_cast<double>(ChartMilliseconds(t.day)), t.gain);
        }
    }
    chart->addSeries(marks);
    marks->attachAxis(time);
    marks->attachAxis(gain);
}

// Light enough that the price line and the gain lines show through it.
const QColor kBandColour(0xa0, 0xa0, 0xa0, 0x50);
const QColor kBuyAndHoldColour(0x30, 0x30, 0x30);

QLineSeries* GainSeries(const std::vector<ChartPoint>& points, double& lo, double& hi) {
    auto* s = new QLineSeries;
    for (const ChartPoint& p : points) {
        s->append(static_cast<double>(ChartMilliseconds(p.day)), p.value);
        lo = std::min(lo, p.value);
        hi = std::max(hi, p.value);
    }
    return s;
}

// Behind the gain lines: the random-timing band, and buy and hold dashed.
void AddComparisons(QChart* chart, const ChartModel& model, QAbstractAxis* time,
                    QAbstractAxis* gain, double& lo, double& hi) {
    if (!model.bandLow.empty()) {
        auto* band =
            new QAreaSeries(GainSeries(model.bandHigh, lo, hi), GainSeries(model.bandLow, lo, hi));
        band->setName("random timing");
        band->setPen(Qt::NoPen);
        band->setBrush(kBandColour);
        chart->addSeries(band);
        band->attachAxis(time);
        band->attachAxis(gain);
    }
    if (!model.buyAndHold.empty()) {
        QLineSeries* line = GainSeries(model.buyAndHold, lo, hi);
        line->setName("buy and hold");
        line->setPen(QPen(kBuyAndHoldColour, 1.5, Qt::DashLine));
        chart->addSeries(line);
        line->attachAxis(time);
        line->attachAxis(gain);
    }
}

// Each aspect type's accumulated gain on the left-hand axis, which always
// includes zero.
void AddEquityCurves(QChart* chart, const ChartModel& model, QValueAxis* time) {
    QCategoryAxis* gain = TickedAxis(kValueAxisName, "Gain ($)");
    chart->addAxis(gain, Qt::AlignLeft);
    double lo = 0, hi = 0;
    AddComparisons(chart, model, time, gain, lo, hi);
    for (const EquityCurve& c : model.curves) {
        auto* s = new QLineSeries;
        s->setName(ChartAspectName(c.aspect));
        s->setPen(QPen(EquityColour(c.aspect), 2));
        for (const ChartPoint& p : c.points) {
            s->append(static_cast<double>(ChartMilliseconds(p.day)), p.value);
            lo = std::min(lo, p.value);
            hi = std::max(hi, p.value);
        }
        chart->addSeries(s);
        s->attachAxis(time);
        s->attachAxis(gain);
        for (bool opens : {true, false}) AddTradeMarks(chart, model, c.aspect, opens, time, gain);
    }
    const double pad = (hi - lo) * 0.05 + 1;
    gain->setRange(lo - pad, hi + pad);
}

// The swatch of a legend entry, drawn as the chart draws what it explains.
void DrawSwatch(QPainter* p, const LegendEntry& e, const QRectF& r) {
    using S = LegendEntry::Swatch;
    const QPointF c = r.center();
    p->setPen(Qt::NoPen);
    switch (e.swatch) {
        case S::AspectColour: p->fillRect(r, IntervalColour(e.aspect, kOrbLevels - 1)); break;
        case S::OrbShade: {
            const double h = r.height() * kBarHeight[e.level] / kBarHeight[0];
            p->fillRect(QRectF(r.left(), c.y() - h / 2, r.width(), h), IntervalColour(0, e.level));
            break;
        }
        case S::ExactMinimum: DrawMinimumMarker(p, c, 4, true, false); break;
        case S::RetrogradeMinimum: DrawMinimumMarker(p, c, 4, true, true); break;
        case S::ApproximateMinimum: DrawMinimumMarker(p, c, 4, false, false); break;
        case S::GainLine:
            p->setPen(QPen(EquityColour(e.aspect), 2));
            p->drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
            break;
        case S::InvestmentOpens:
            p->setPen(QPen(EquityColour(0), 1));
            p->setBrush(Qt::white);
            p->drawEllipse(c, 3.5, 3.5);
            break;
        case S::InvestmentCloses:
            p->fillRect(QRectF(c.x() - 3, c.y() - 3, 6, 6), EquityColour(0));
            break;
        case S::PriceLine:
            p->setPen(QPen(QColor(0x50, 0x50, 0x50), 1.2));
            p->drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
            break;
        case S::BuyAndHold:
            p->setPen(QPen(kBuyAndHoldColour, 1.5, Qt::DashLine));
            p->drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
            break;
        case S::RandomBand: p->fillRect(r, kBandColour); break;
    }
}

// The legend under the plot: every entry of ChartLegend in rows that fit
// the chart's width.  The chart's bottom margin makes the room.
class LegendLayer : public QGraphicsObject {
public:
    LegendLayer(QChart* chart, std::vector<LegendEntry> entries)
        : QGraphicsObject(chart), chart_(chart), entries_(std::move(entries)) {
        setZValue(6);
        connect(chart, &QGraphicsWidget::geometryChanged, this, [this] { Arrange(); });
        Arrange();
    }
    QRectF boundingRect() const override { return chart_->rect(); }
    void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override {
        p->save();
        p->setRenderHint(QPainter::Antialiasing, true);
        p->setFont(chart_->legend()->font());
        for (const DrawnLegendEntry& d : drawn_) {
            const LegendEntry& e = entries_[static_cast<std::size_t>(&d - drawn_.data())];
            DrawSwatch(p, e, d.swatch);
            p->setPen(Qt::black);
            p->drawText(QPointF(d.swatch.right() + kGap, d.swatch.center().y() + ascent_ / 2.5),
                        d.label);
        }
        p->restore();
    }
    const std::vector<DrawnLegendEntry>& Drawn() const { return drawn_; }

private:
    static constexpr double kSwatch = 18, kGap = 5, kSpacing = 16, kSide = 10;

    void Arrange() {
        const QFontMetricsF fm(chart_->legend()->font());
        ascent_ = fm.ascent();
        const double rowHeight = std::max(14.0, fm.height()) + 4;
        const double width = chart_->size().width();
        drawn_.clear();
        double x = kSide;
        int row = 0;
        for (const LegendEntry& e : entries_) {
            const QString label = Text(e.label);
            const double w = kSwatch + kGap + fm.horizontalAdvance(label);
            if (x > kSide && x + w > width - kSide) {
                x = kSide;
                ++row;
            }
            drawn_.push_back(
                {label, QRectF(x, row * rowHeight + (rowHeight - 10) / 2, kSwatch, 10)});
            x += w + kSpacing;
        }
        const double height = entries_.empty() ? 0 : (row + 1) * rowHeight;
        const double top = chart_->size().height() - 8 - height;
        for (DrawnLegendEntry& d : drawn_) d.swatch.translate(0, top);
        prepareGeometryChange();
        chart_->setMargins(QMargins(6, 6, 6, 10 + static_cast<int>(std::ceil(height))));
    }

    QChart* chart_;
    std::vector<LegendEntry> entries_;
    std::vector<DrawnLegendEntry> drawn_;
    double ascent_ = 10;
};

}  // namespace

std::vector<DrawnLegendEntry> DrawnLegend(QChart* chart) {
    for (QGraphicsItem* item : chart->childItems()) {
        if (auto* legend = dynamic_cast<LegendLayer*>(item)) return legend->Drawn();
    }
    return {};
}

QStringList TickLabels(QChart* chart, Qt::Alignment side) {
    for (QAbstractAxis* a : chart->axes()) {
        if (a->alignment() == side &&
            (a->objectName() == kTimeAxisName || a->objectName() == kValueAxisName)) {
            return qobject_cast<QCategoryAxis*>(a)->categoriesLabels();
        }
    }
    return {};
}

// Axes and series are added in a fixed order: it decides which series is
// drawn on top.  The chart's own legend would explain the lines only; the
// legend layer explains everything drawn.
QChart* BuildChart(const ChartModel& model) {
    auto* chart = new QChart;
    chart->setTitle(Text(model.title));
    chart->setMargins(QMargins(6, 6, 6, 6));
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    QValueAxis* time = AddTimeAxis(chart, model);
    if (!model.prices.empty()) AddPrices(chart, model, time);
    if (model.kind == ChartModel::Kind::Transits) {
        AddLanes(chart, model, time);
    } else {
        AddEquityCurves(chart, model, time);
    }
    chart->legend()->setVisible(false);
    new LegendLayer(chart, ChartLegend(model));
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [chart] { RefreshTicks(chart); });
    return chart;
}

namespace {

// The chart drawn into an image file's bytes: SVG or PNG by the name's ending.
bool EncodeChartImage(QGraphicsScene& scene, QChart* chart, bool svg, int width, int height,
                      QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QRectF area(0, 0, width, height);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(width, height));
        generator.setViewBox(QRect(0, 0, width, height));
        generator.setTitle(chart->title());
        QPainter p;
        if (!p.begin(&generator)) return false;
        scene.render(&p, area, area);
        return p.end();
    }
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    scene.render(&p, area, area);
    p.end();
    return image.save(&buffer, "PNG");
}

}  // namespace

bool SaveChartImage(QChart* chart, const std::string& path, int width, int height,
                    std::string& error) {
    return SaveChartImage(std::vector<QChart*>{chart}, path, width, height, error);
}

bool SaveChartImage(const std::vector<QChart*>& charts, const std::string& path, int width,
                    int height, std::string& error) {
    QChart* chart = charts.front();
    const auto endsWith = [&path](const char* ending) {
        return path.size() >= 4 &&
               QByteArray::fromStdString(path.substr(path.size() - 4)).toLower() == ending;
    };
    const bool svg = endsWith(".svg");
    if (!svg && !endsWith(".png")) {
        error = "the image file must end in .png or .svg: " + EscapedForOneLine(path);
        return false;
    }
    QGraphicsScene scene;
    // Several charts share the image, one above the other.
    const double each = static_cast<double>(height) / static_cast<double>(charts.size());
    for (std::size_t i = 0; i < charts.size(); ++i) {
        scene.addItem(charts[i]);
        charts[i]->resize(width, each);
        charts[i]->setPos(0, each * static_cast<double>(i));
    }
    scene.setSceneRect(0, 0, width, height);
    // Lay the chart out at this size before anything is drawn, then again
    // with the ticks that the first layout's room chose.
    QApplication::processEvents();
    for (QChart* c : charts) RefreshTicks(c);
    QApplication::processEvents();
    QByteArray bytes;
    const bool drawn = EncodeChartImage(scene, chart, svg, width, height, bytes);
    for (QChart* c : charts) scene.removeItem(c);
    if (!drawn) {
        error = "cannot draw the image for " + EscapedForOneLine(path);
        return false;
    }
    // The whole image is made first and then put in place at once: a full
    // disk or a crash never leaves half an image, nor loses the old one.
    const int err =
        WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), 0666);
    if (err != 0) {
        error = "cannot write the image file " + EscapedForOneLine(path) + " (" +
                std::strerror(err) + "); any earlier file of that name is left as it was";
        return false;
    }
    return true;
}

bool SaveChartImage(const ChartModel& model, const std::string& path, int width, int height,
                    std::string& error, ChartLayout* layout) {
    if (model.kind == ChartModel::Kind::Panels) {
        std::vector<QChart*> charts;
        for (const PlotPanel& panel : model.panels) charts.push_back(BuildPanelChart(panel));
        const bool ok = !charts.empty() && SaveChartImage(charts, path, width, height, error);
        if (charts.empty()) error = "the chart has nothing to draw";
        for (QChart* c : charts) delete c;
        return ok;
    }
    QChart* chart = BuildChart(model);
    const bool ok = SaveChartImage(chart, path, width, height, error);
    if (layout != nullptr) *layout = LayoutOf(chart, model);
    delete chart;
    return ok;
}

// ------------------------------------------------------------------ the view

ChartView::ChartView(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    // Hover needs moves without a button where they arrive, on the
    // viewport, whichever items of the chart ask for hover events.
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setRubberBand(QChartView::NoRubberBand);
}

void ChartView::SetModel(const ChartModel& model) {
    model_ = model;
    QChart* old = chart();
    setChart(BuildChart(model_));
    if (old != nullptr && old != chart()) delete old;
}

QString ChartView::HoverText(const QPointF& pos) const {
    QChart* c = chart();
    if (c == nullptr) return {};
    const ChartLayout l = LayoutOf(c, model_);
    const QPointF at = c->mapFromScene(mapToScene(pos.toPoint()));
    if (!l.plot.contains(at) || l.lastMs <= l.firstMs) return {};
    const double ms =
        l.firstMs + (at.x() - l.plot.left()) / l.plot.width() * (l.lastMs - l.firstMs);
    const std::int32_t day =
        static_cast<std::int32_t>(std::floor(ms / static_cast<double>(kMsPerDay))) + kJdnOf1970;
    QString text = Date(day);
    if (model_.kind == ChartModel::Kind::Transits && l.lanes > 0) {
        const double laneHeight = l.plot.height() / l.lanes;
        const int lane = static_cast<int>((at.y() - l.plot.top()) / laneHeight);
        // The innermost bar under the cursor (its height tells the level),
        // and a minimum within a few pixels of it.
        const double offset = std::abs(at.y() - l.LaneCentre(lane)) / laneHeight;
        const ChartInterval* best = nullptr;
        for (const ChartInterval& iv : model_.intervals) {
            if (iv.lane == lane && iv.startDay <= day && day <= iv.endDay &&
                offset <= kBarHeight[iv.level] / 2 && (best == nullptr || iv.level > best->level)) {
                best = &iv;
            }
        }
        if (best == nullptr) return text;
        text = QString("%1 %2 (%3°): %4%5 to %6%7")
                   .arg(Text(best->pair), ChartAspectName(best->aspect))
                   .arg(best->orb)
                   .arg(best->openStart ? "before " : "", Date(best->startDay),
                        best->openEnd ? "after " : "", Date(best->endDay));
        const double dayWidth =
            l.plot.width() * kMsPerDay / static_cast<double>(l.lastMs - l.firstMs);
        const int near = std::max(1, static_cast<int>(6 / std::max(dayWidth, 1e-9)));
        for (const ChartMinimum& mn : model_.minima) {
            if (mn.lane == lane && std::abs(mn.day - day) <= near) {
                text += QString("\nMinimum %1%2 %3")
                            .arg(Date(mn.day), mn.retrograde ? " r" : "",
                                 Text(mn.exact ? mn.time : mn.distance));
            }
        }
    } else if (model_.kind == ChartModel::Kind::Simulation) {
        for (const EquityCurve& curve : model_.curves) {
            double value = 0;
            for (const ChartPoint& p : curve.points) {
                if (p.day <= day) value = p.value;
            }
            text += QString("\n%1: $%2").arg(ChartAspectName(curve.aspect)).arg(value, 0, 'f', 2);
        }
    }
    return text;
}

void ChartView::wheelEvent(QWheelEvent* event) {
    QValueAxis* t = chart() != nullptr ? TimeAxis(chart()) : nullptr;
    if (t == nullptr) return;
    const ChartLayout l = LayoutOf(chart(), model_);
    const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    const double share = std::clamp((at.x() - l.plot.left()) / l.plot.width(), 0.0, 1.0);
    const double factor = std::pow(0.85, event->angleDelta().y() / 120.0);
    const double span = static_cast<double>(l.lastMs - l.firstMs);
    // Zoom about the date under the cursor, never closer than a week nor
    // farther out than the whole period.
    const double full = static_cast<double>(ChartMilliseconds(model_.lastDay + 1) -
                                            ChartMilliseconds(model_.firstDay));
    const double newSpan = std::clamp(span * factor, 7.0 * kMsPerDay, full);
    const double centre = l.firstMs + share * span;
    double lo = centre - share * newSpan;
    lo = std::clamp(lo, static_cast<double>(ChartMilliseconds(model_.firstDay)),
                    static_cast<double>(ChartMilliseconds(model_.lastDay + 1)) - newSpan);
    t->setRange(lo, lo + newSpan);
    event->accept();
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        lastPos_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
    event->accept();
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && chart() != nullptr) {
        chart()->scroll(lastPos_.x() - event->position().x(), 0);
        lastPos_ = event->position();
    } else {
        const QString text = HoverText(event->position());
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(event->globalPosition().toPoint(), text, this);
        }
    }
    event->accept();
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    unsetCursor();
    event->accept();
}

}  // namespace vlt
