// The drawn chart, offscreen: the PNG's pixels where the model puts an
// interval and where it puts none, the SVG's interval bars and minimum
// markers counted, and vlt-report's chart command end to end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "app/chart/chart_legend.h"
#include "app/qt/chart_view.h"
#include "tests/engine/golden_scan.h"
#include "tests/report/run_program.h"

namespace vlt {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Heliocentric Earth–Mars, 2020 to 2023: seven lanes, the first trine open
// at the start, the last quincunx open at the end, no prices.
ChartModel KnownChart() {
    return TransitChart(
        TransitRecords(testing::ScanResults(testing::kHeliocentricEarthMars2020To2023)), false,
        ChartDay("2020-01-01"), ChartDay("2023-12-31"), "Earth and Mars");
}

std::filesystem::path Folder(const std::string& name) {
    const std::filesystem::path p = std::filesystem::temp_directory_path() /
                                    ("vlt_chart_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
}

const ChartInterval& Find(const ChartModel& m, int aspect, int level, const char* start) {
    for (const ChartInterval& iv : m.intervals) {
        if (iv.aspect == aspect && iv.level == level && ChartDateText(iv.startDay) == start) {
            return iv;
        }
    }
    throw std::runtime_error("no such interval");
}

TEST(ChartImage, PngShowsEachOrbIntervalInItsShade) {
    const ChartModel m = KnownChart();
    const std::filesystem::path png = Folder("png") / "chart.png";
    std::string error;
    ChartLayout l;
    ASSERT_TRUE(SaveChartImage(m, png.string(), 1200, 700, error, &l)) << error;
    const QImage image(QString::fromStdString(png.string()));
    ASSERT_EQ(image.width(), 1200);
    ASSERT_EQ(l.lanes, 7);
    const double laneHeight = l.plot.height() / l.lanes;

    // The square of February 2020: outer 2020-01-27 to 2020-03-08, middle
    // 2020-02-06 to 2020-02-26.  Away from the lane's centre line, where
    // the minimum's marker sits, the outer band shows alone at 0.32 of a
    // lane from the centre, the middle band at 0.2.
    const ChartInterval& outer = Find(m, 3, 0, "2020-01-27");
    const ChartInterval& middle = Find(m, 3, 1, "2020-02-06");
    EXPECT_EQ(ChartDateText(outer.endDay), "2020-03-08");
    const double centre = l.LaneCentre(outer.lane);
    const auto pixel = [&image](double x, double y) {
        return image.pixelColor(static_cast<int>(x), static_cast<int>(y)).rgb();
    };
    const double x = l.XOfDay((outer.startDay + outer.endDay + 1) / 2.0);
    EXPECT_EQ(pixel(x, centre + 0.32 * laneHeight), IntervalColour(3, 0).rgb());
    EXPECT_EQ(pixel(x, centre - 0.20 * laneHeight), IntervalColour(3, 1).rgb());
    // The inner band, between the marker (at most 7 pixels) and the middle
    // band (0.14 of a lane from the centre).
    ASSERT_GT(laneHeight, 70);
    EXPECT_EQ(
        pixel(l.XOfDay((middle.startDay + middle.endDay + 1) / 2.0), centre + 0.125 * laneHeight),
        IntervalColour(3, 2).rgb());

    // The open trine at the start: from the plot's left edge to 2020-01-08.
    const ChartInterval& trine = m.intervals.front();
    ASSERT_TRUE(trine.openStart);
    EXPECT_EQ(pixel(l.plot.left() + 3, l.LaneCentre(trine.lane) + 0.32 * laneHeight),
              IntervalColour(4, 0).rgb());

    // 2020-06-01 lies in no square interval: the plot's white.
    EXPECT_EQ(pixel(l.XOfDay(ChartDay("2020-06-01")), centre + 0.32 * laneHeight),
              QColor(Qt::white).rgb());
    std::filesystem::remove_all(png.parent_path());
}

TEST(ChartImage, SvgHoldsOneBarPerIntervalAndOneMarkerPerMinimum) {
    const ChartModel m = KnownChart();
    const std::filesystem::path svg = Folder("svg") / "chart.svg";
    std::string error;
    ASSERT_TRUE(SaveChartImage(m, svg.string(), 1000, 600, error)) << error;
    const std::string text = ReadFile(svg);

    // Each shape is written in a group that carries its fill.
    std::map<std::string, int> rects, circles, shapes;
    static const std::regex element(R"re(<(rect|circle|path|polygon)\b)re");
    for (std::size_t at = text.find("<g fill=\"#"); at != std::string::npos;
         at = text.find("<g fill=\"#", at + 1)) {
        const std::string fill = text.substr(at + 9, 7);
        const std::size_t open = text.find('>', at);
        const std::size_t close = std::min(text.find("</g>", open), text.find("<g ", open));
        if (open == std::string::npos || close == std::string::npos) break;
        const std::string body = text.substr(open, close - open);
        for (auto e = std::sregex_iterator(body.begin(), body.end(), element);
             e != std::sregex_iterator(); ++e) {
            const std::string kind = (*e)[1];
            if (kind == "rect") ++rects[fill];
            if (kind == "circle") ++circles[fill];
            ++shapes[fill];
        }
    }
    // The legend draws one swatch per aspect (its inner colour), per orb
    // shade and per marker kind; the rest are the chart's own.
    std::map<std::string, int> swatches;
    int legendDots = 0, legendTriangles = 0;
    for (const LegendEntry& e : ChartLegend(m)) {
        using S = LegendEntry::Swatch;
        if (e.swatch == S::AspectColour)
            ++swatches[IntervalColour(e.aspect, 2).name().toStdString()];
        if (e.swatch == S::OrbShade) ++swatches[IntervalColour(0, e.level).name().toStdString()];
        legendDots += e.swatch == S::ExactMinimum;
        legendTriangles += e.swatch == S::RetrogradeMinimum;
    }
    std::map<std::string, int> expectedBars;
    for (const ChartInterval& iv : m.intervals) {
        ++expectedBars[IntervalColour(iv.aspect, iv.level).name().toStdString()];
    }
    int bars = 0;
    for (const auto& [fill, n] : expectedBars) {
        EXPECT_EQ(rects[fill] - swatches[fill], n) << fill;
        bars += rects[fill] - swatches[fill];
    }
    EXPECT_EQ(bars, 68);

    int exact = 0, retrograde = 0;
    for (const ChartMinimum& mn : m.minima) {
        exact += mn.exact && !mn.retrograde;
        retrograde += mn.exact && mn.retrograde;
    }
    EXPECT_EQ(exact, 22);  // every full transit is exact; none retrograde heliocentrically
    EXPECT_EQ(circles[kExactMarkerColour.name().toStdString()], exact + legendDots);
    EXPECT_EQ(shapes[kRetrogradeMarkerColour.name().toStdString()], retrograde + legendTriangles);
    std::filesystem::remove_all(svg.parent_path());
}

// Hovering names the interval and its dates; the wheel zooms the dates about
// the cursor; dragging moves along them.
// Panels are drawn one above the other, each with its title, its lines and
// its band; the image holds both halves.
TEST(ChartImage, PanelsShareTheImageOneAboveTheOther) {
    ChartModel m;
    m.kind = ChartModel::Kind::Panels;
    PlotPanel top;
    top.title = "Upper panel";
    top.lines.push_back(PlotLine{"chance", {{0, 0}, {1, 1}}, 1, true, false});
    PlotPanel bottom;
    bottom.title = "Lower panel";
    bottom.xIsDay = true;
    bottom.bands.push_back(
        PlotBand{"band", {{2451000, -1}, {2451400, -2}}, {{2451000, 1}, {2451400, 2}}});
    bottom.lines.push_back(PlotLine{"curve", {{2451000, 0}, {2451400, 1.5}}, 2, false, false});
    m.panels = {top, bottom};
    const std::filesystem::path folder = Folder("panels");
    std::string error;
    ASSERT_TRUE(SaveChartImage(m, (folder / "p.svg").string(), 800, 600, error)) << error;
    const std::string svg = ReadFile(folder / "p.svg");
    const std::size_t upper = svg.find("Upper panel");
    const std::size_t lower = svg.find("Lower panel");
    ASSERT_NE(upper, std::string::npos);
    ASSERT_NE(lower, std::string::npos);
    ASSERT_TRUE(SaveChartImage(m, (folder / "p.png").string(), 800, 600, error)) << error;
    const QImage image(QString::fromStdString((folder / "p.png").string()));
    EXPECT_EQ(image.height(), 600);
    std::filesystem::remove_all(folder);
}

TEST(ChartViewInput, HoverWheelAndDrag) {
    const ChartModel m = KnownChart();
    ChartView view;
    view.SetModel(m);
    view.resize(1200, 700);
    view.show();
    QApplication::processEvents();
    const ChartInterval& outer = Find(m, 3, 0, "2020-01-27");
    const ChartLayout before = LayoutOf(view.chart(), m);
    const QPointF inChart(
        before.XOfDay((outer.startDay + outer.endDay + 1) / 2.0),
        before.LaneCentre(outer.lane) + 0.32 * before.plot.height() / before.lanes);
    const QPoint at = view.mapFromScene(view.chart()->mapToScene(inChart));
    const QString text = view.HoverText(at);
    EXPECT_TRUE(text.contains("Square")) << text.toStdString();
    EXPECT_TRUE(text.contains("2020-01-27 to 2020-03-08")) << text.toStdString();

    QWheelEvent wheel(at, view.mapToGlobal(at), QPoint(), QPoint(0, 480), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    const ChartLayout zoomed = LayoutOf(view.chart(), m);
    EXPECT_LT(zoomed.lastMs - zoomed.firstMs, (before.lastMs - before.firstMs) * 6 / 10);  // 0.85^4
    const qint64 middle = ChartMilliseconds((outer.startDay + outer.endDay + 1) / 2);
    EXPECT_LT(zoomed.firstMs, middle);
    EXPECT_GT(zoomed.lastMs, middle);

    QMouseEvent press(QEvent::MouseButtonPress, at, view.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &press);
    const QPoint left = at - QPoint(200, 0);
    QMouseEvent move(QEvent::MouseMove, left, view.mapToGlobal(left), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    QMouseEvent release(QEvent::MouseButtonRelease, left, view.mapToGlobal(left), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &release);
    const ChartLayout panned = LayoutOf(view.chart(), m);
    EXPECT_GT(panned.firstMs, zoomed.firstMs);  // dragged left: later dates come in
    EXPECT_NEAR(static_cast<double>(panned.lastMs - panned.firstMs),
                static_cast<double>(zoomed.lastMs - zoomed.firstMs), 86400000.0);
}

TEST(ReportChart, WritesTheImageAndKeepsTheExitStatuses) {
    const std::filesystem::path folder = Folder("report");
    std::filesystem::copy_file(std::string(VLT_BIN_DIR) + "/DJIA_data.txt",
                               folder / "DJIA_data.txt",
                               std::filesystem::copy_options::overwrite_existing);
    struct Case {
        std::vector<std::string> args;
        int exit;
        const char* file;  // written when the exit is 0
    };
    const std::vector<Case> cases = {
        {{"chart", "--of", "tables", "--first", "Mars", "--second", "Jupiter", "--start",
          "2007-01-03", "--end", "2014-12-31", "--tz", "GMT", "--out", "mj.png"},
         0,
         "mj.png"},
        {{"chart", "--of", "showall", "--first", "Venus", "--start", "2024-01-01", "--end",
          "2024-03-31", "--tz", "GMT", "--out", "venus.svg", "--width", "800", "--height", "900"},
         0,
         "venus.svg"},
        {{"chart", "--of", "simulate", "--first", "Earth", "--second", "Mars", "--start",
          "2010-01-01", "--end", "2010-12-31", "--out", "em.png"},
         0,
         "em.png"},
        // Refused by the window: the simulation's dates lie outside the index.
        {{"chart", "--of", "simulate", "--start", "2020-01-01", "--end", "2020-12-31", "--out",
          "late.png"},
         1,
         nullptr},
        // The command line: no kind, no file, a wrong ending, chart options elsewhere.
        {{"chart", "--out", "x.png"}, 2, nullptr},
        {{"chart", "--of", "tables"}, 2, nullptr},
        {{"chart", "--of", "tables", "--out", "x.jpg"}, 2, nullptr},
        {{"tables", "--out", "x.png"}, 2, nullptr},
        {{"chart", "--of", "tables", "--out", "x.png", "--format", "csv"}, 2, nullptr},
    };
    for (const Case& c : cases) {
        const testing::ProgramRun run = testing::RunProgram(VLT_REPORT_PROGRAM, c.args, folder);
        EXPECT_EQ(run.exitCode, c.exit) << c.args[2] << " " << run.err;
        EXPECT_TRUE(run.out.empty());
        if (c.file == nullptr) continue;
        const std::filesystem::path file = folder / c.file;
        ASSERT_TRUE(std::filesystem::exists(file)) << c.file;
        if (file.extension() == ".png") {
            const QImage image(QString::fromStdString(file.string()));
            EXPECT_EQ(image.size(), QSize(1200, 700));
        } else {
            const std::string svg = ReadFile(file);
            EXPECT_NE(svg.find("viewBox=\"0 0 800 900\""), std::string::npos);
            EXPECT_NE(svg.find("Venus\u2013Mars"), std::string::npos);  // a lane per pair
        }
    }
    std::filesystem::remove_all(folder);
}

// What the chart command leaves at the name given with --out, and what it
// says: a link there is replaced (its file untouched), a name that is not
// UTF-8 is used byte for byte, a write that fails keeps the old file; a
// platform that cannot start falls back to offscreen, and the toolkit's own
// messages appear only when asked for.
TEST(ReportChart, WritesExactlyTheNameGivenAndKeepsTheOldFileOnFailure) {
    const std::filesystem::path folder = Folder("writes");
    std::filesystem::copy_file(std::string(VLT_BIN_DIR) + "/DJIA_data.txt",
                               folder / "DJIA_data.txt",
                               std::filesystem::copy_options::overwrite_existing);
    const std::vector<std::string> chart = {
        "chart",   "--of",       "tables", "--first",    "Mars", "--second", "Jupiter",
        "--start", "2007-01-03", "--end",  "2014-12-31", "--tz", "GMT",      "--out"};
    std::ofstream(folder / "notes.txt") << "notes";
    std::filesystem::create_symlink("notes.txt", folder / "link.png");
    std::ofstream(folder / "keep.png") << "old";
    // The file size limit (4 kB) stands for a full disk: the image cannot be
    // written.  The shell ignores the signal the limit sends, so the write
    // fails instead.
    const std::string limited = "trap '' XFSZ; ulimit -f 8; exec \"$0\" \"$@\"";
    struct Case {
        std::string out;
        const char* platform;  // QT_QPA_PLATFORM, null for none
        const char* messages;  // VLT_QT_MESSAGES
        bool sizeLimit;
        int exit;
        std::string stderrHas;  // "" for an empty standard error
    };
    const std::vector<Case> cases = {
        {"link.png", nullptr, nullptr, false, 0, ""},
        {"bad\xFF\xFE.svg", nullptr, nullptr, false, 0, ""},
        {"xcb.png", "xcb", nullptr, false, 0, ""},  // no display: drawn offscreen
        {"none.png", "nonesuch", nullptr, false, 0, ""},
        {"told.png", "xcb", "1", false, 0, "xcb"},  // Qt's own words, when asked for
        {"keep.png", nullptr, nullptr, true, 1, "(File too large); any earlier file"},
    };
    const std::string display = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
    ::unsetenv("DISPLAY");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out);
        testing::ScopedEnv platform("QT_QPA_PLATFORM", c.platform);
        testing::ScopedEnv messages("VLT_QT_MESSAGES", c.messages);
        std::vector<std::string> args = chart;
        args.push_back(c.out);
        if (c.sizeLimit) {
            args.insert(args.begin(), {"-c", limited, VLT_REPORT_PROGRAM});
        }
        const testing::ProgramRun run =
            testing::RunProgram(c.sizeLimit ? "/bin/sh" : VLT_REPORT_PROGRAM, args, folder);
        EXPECT_EQ(run.exitCode, c.exit) << run.err;
        if (c.stderrHas.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_NE(run.err.find(c.stderrHas), std::string::npos) << run.err;
        }
        const std::filesystem::path file = folder / c.out;
        if (c.exit != 0) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_EQ(ReadFile(file), "old");
            continue;
        }
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(file)));
        const std::string image = ReadFile(file);
        EXPECT_TRUE(image.rfind("\x89PNG", 0) == 0 || image.find("<svg") != std::string::npos)
            << image.substr(0, 20);
    }
    if (!display.empty()) ::setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(ReadFile(folder / "notes.txt"), "notes");  // never written through the link
    int leftOver = 0;                                    // temporary files of the atomic writes
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        leftOver += e.path().filename().string().find(".tmp-") != std::string::npos;
    }
    EXPECT_EQ(leftOver, 0);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vlt

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
