#include "app/chart/research_chart.h"

#include <algorithm>
#include <random>

#include "app/simulation/simulation_lines.h"
#include "app/simulation/simulation_stats.h"

namespace vlt {

std::vector<PlotPoint> EquityPoints(const std::vector<FamilyTrade>& trades, std::int32_t firstDay,
                                    std::int32_t lastDay) {
    std::vector<FamilyTrade> byClose = trades;
    std::stable_sort(
        byClose.begin(), byClose.end(),
        [](const FamilyTrade& a, const FamilyTrade& b) { return a.closeDay < b.closeDay; });
    std::vector<PlotPoint> points{{static_cast<double>(firstDay), 0.0}};
    double total = 0.0;
    for (const FamilyTrade& t : byClose) {
        // A step: the level before the close, then after it.
        points.push_back({static_cast<double>(t.closeDay), total});
        total += t.gain;
        points.push_back({static_cast<double>(t.closeDay), total});
    }
    points.push_back({static_cast<double>(lastDay), total});
    return points;
}

namespace {

// Every day valued by the first value at or after it, wrapping round.
std::vector<double> FilledCircle(const DailyValues& prices) {
    std::vector<double> v = prices.values;
    double next = 0.0;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = v.size(); i-- > 0;) {
            if (prices.values[i] > 0.0) next = prices.values[i];
            v[i] = next;
        }
    }
    return v;
}

// The accumulated gain of the trades shifted by `shift` days, day by day.
std::vector<double> ShiftedCurve(const std::vector<FamilyTrade>& trades, const DailyValues& prices,
                                 const std::vector<double>& circle, std::int64_t shift) {
    const auto n = static_cast<std::int64_t>(circle.size());
    std::vector<double> step(circle.size(), 0.0);
    for (const FamilyTrade& t : trades) {
        const std::int64_t open =
            (std::clamp<std::int64_t>(t.openDay - prices.firstDay, 0, n - 1) + shift) % n;
        const std::int64_t hold = std::clamp<std::int64_t>(t.closeDay - t.openDay, 0, n - 1);
        const std::int64_t close = (open + hold) % n;
        const double factor = open + hold < n
                                  ? circle[close] / circle[open]
                                  : circle[n - 1] / circle[open] * circle[close] / circle[0];
        step[static_cast<std::size_t>(close)] += (factor - 1.0) * 100.0;
    }
    for (std::size_t d = 1; d < step.size(); ++d) step[d] += step[d - 1];
    return step;
}

}  // namespace

EquityBand RandomTimingBand(const std::vector<FamilyTrade>& trades, const DailyValues& prices,
                            int draws, std::uint64_t seed, double low, double high, int samples) {
    EquityBand band;
    const std::vector<double> circle = FilledCircle(prices);
    if (circle.size() < 2 || !(circle[0] > 0.0) || draws < 1) return band;
    const auto n = static_cast<std::int64_t>(circle.size());
    std::mt19937_64 generator(seed);
    std::vector<std::vector<double>> curves;
    for (int d = 0; d < draws; ++d) {
        const auto shift =
            static_cast<std::int64_t>(UniformBelow(generator, static_cast<std::uint64_t>(n)));
        curves.push_back(ShiftedCurve(trades, prices, circle, shift));
    }
    const std::int64_t stride = std::max<std::int64_t>(1, n / std::max(1, samples));
    std::vector<double> at(static_cast<std::size_t>(draws));
    for (std::int64_t day = 0; day < n;
         day = day + stride < n || day == n - 1 ? day + stride : n - 1) {
        for (int d = 0; d < draws; ++d)
            at[static_cast<std::size_t>(d)] =
                curves[static_cast<std::size_t>(d)][static_cast<std::size_t>(day)];
        std::sort(at.begin(), at.end());
        const auto pick = [&](double share) {
            const auto i = static_cast<std::size_t>(share * (draws - 1) + 0.5);
            return at[std::min(i, at.size() - 1)];
        };
        const double x = static_cast<double>(prices.firstDay + day);
        band.lower.push_back({x, pick(low)});
        band.upper.push_back({x, pick(high)});
        if (day == n - 1) break;
    }
    return band;
}

namespace {

std::string RowLabel(const FamilyRow& row) {
    std::string label =
        PairLabel(static_cast<std::int16_t>(row.first), static_cast<std::int16_t>(row.second),
                  row.aspect, row.orbDegrees, row.helio);
    label += row.helio ? " helio" : " geo";
    return label;
}

// A panel with its titles, moved in: GCC 12 at -O3 warns falsely
// (-Wrestrict) when a short literal is assigned to a member string.
PlotPanel Titled(std::string title, std::string xTitle, std::string yTitle) {
    PlotPanel panel;
    panel.title = std::move(title);
    panel.xTitle = std::move(xTitle);
    panel.yTitle = std::move(yTitle);
    return panel;
}

PlotPanel PValuePanel(const ResearchResult& result) {
    PlotPanel panel = Titled("Ranked p of the family of " + std::to_string(result.familySize) +
                                 " against chance (uniform p)",
                             "Expected p under chance (rank / family size)", "p");
    std::vector<double> p;
    for (const ResearchRow& r : result.rows) {
        if (r.row.inFamily) p.push_back(r.row.p);
    }
    std::sort(p.begin(), p.end());
    PlotLine observed{"p, smallest first", {}, 0, false, true};
    const auto m = static_cast<double>(p.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
        observed.points.push_back({(static_cast<double>(i) + 0.5) / m, p[i]});
    }
    panel.lines.push_back(PlotLine{"chance", {{0.0, 0.0}, {1.0, 1.0}}, 1, true, false});
    panel.lines.push_back(std::move(observed));
    return panel;
}

PlotPanel EquityPanel(const ResearchResult& result) {
    PlotPanel panel =
        Titled("Gain of the best combinations, $100 per investment", "Date", "Gain ($)");
    panel.xIsDay = true;
    const std::int32_t last =
        result.prices.firstDay + static_cast<std::int32_t>(result.prices.values.size()) - 1;
    for (std::size_t k = 0; k < result.rows.size() && k < kResearchChartCurves; ++k) {
        const ResearchRow& r = result.rows[k];
        if (!r.row.inFamily) break;
        if (k == 0) {
            EquityBand band = RandomTimingBand(r.trades, result.prices, 199, result.seed);
            std::string label = "random timing of ";
            label += RowLabel(r.row);
            label += ", 5-95 %";
            panel.bands.push_back(PlotBand{label, std::move(band.lower), std::move(band.upper)});
        }
        panel.lines.push_back(PlotLine{RowLabel(r.row),
                                       EquityPoints(r.trades, result.prices.firstDay, last),
                                       static_cast<int>(k) + 2, false, false});
    }
    return panel;
}

}  // namespace

ChartModel ResearchChart(const ResearchResult& result, const std::string& title) {
    ChartModel model;
    model.kind = ChartModel::Kind::Panels;
    model.title = title;
    model.firstDay = result.startDay;
    model.lastDay = result.endDay;
    model.panels.push_back(PValuePanel(result));
    model.panels.push_back(EquityPanel(result));
    return model;
}

}  // namespace vlt
