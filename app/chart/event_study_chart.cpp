#include "app/chart/event_study_chart.h"

#include <cstdio>

namespace vlt {

ChartModel EventStudyChart(const EventStudyResult& result, const std::string& title) {
    PlotPanel panel;
    char heading[160];
    std::snprintf(heading, sizeof heading,
                  "Cumulative return around %zu events, %g %% bootstrap band of the mean",
                  result.used.size(), result.confidence * 100.0);
    panel.title = heading;
    panel.xTitle = "Trading days from the event";
    panel.yTitle = "Return from the event day's close (%)";
    PlotBand band;
    band.label = "band of the mean";
    PlotLine mean{"mean", {}, 2, false, false};
    PlotLine median{"median", {}, 3, false, false};
    for (const EventOffset& o : result.offsets) {
        const auto x = static_cast<double>(o.offset);
        band.lower.push_back({x, o.lower});
        band.upper.push_back({x, o.upper});
        mean.points.push_back({x, o.mean});
        median.points.push_back({x, o.median});
    }
    const auto edge = static_cast<double>(result.days);
    panel.lines.push_back(PlotLine{"no effect", {{-edge, 0.0}, {edge, 0.0}}, 1, true, false});
    panel.bands.push_back(std::move(band));
    panel.lines.push_back(std::move(mean));
    panel.lines.push_back(std::move(median));
    ChartModel model;
    model.kind = ChartModel::Kind::Panels;
    model.title = title;
    if (!result.used.empty()) {
        model.firstDay = result.used.front();
        model.lastDay = result.used.back();
    }
    model.panels.push_back(std::move(panel));
    return model;
}

}  // namespace vlt
