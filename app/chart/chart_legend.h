#pragma once
// What a chart's legend explains and what a show-all chart is called: the
// aspect colours, orb shades and markers a chart of the model uses, and the
// title that names the planet a show-all series keeps and the planets it is
// paired with.  No toolkit: the window and the image files draw the entries.

#include <string>
#include <vector>

#include "app/chart/chart_model.h"
#include "app/engine/transit_records.h"

namespace vlt {

struct LegendEntry {
    enum class Swatch {
        AspectColour,        // a transit lane's bars of this aspect
        OrbShade,            // the bars of one orb level (level 0 outer .. 2 inner)
        ExactMinimum,        // dot
        RetrogradeMinimum,   // triangle
        ApproximateMinimum,  // ring
        GainLine,            // a simulation's accumulated gain of this aspect
        InvestmentOpens,     // ring on the gain line
        InvestmentCloses,    // square on the gain line
        PriceLine,
        BuyAndHold,  // dashed line on the gain axis
        RandomBand,  // grey band on the gain axis
    };
    Swatch swatch = Swatch::AspectColour;
    int aspect = 0;  // 1..7 for the aspect swatches
    int level = 0;   // orb shades
    std::string label;
};

// The legend of a chart, in reading order: aspects (those the chart draws,
// in aspect order), then for transit charts the three orb shades with their
// degrees and the three minimum markers, for simulations the two trade
// markers; the price line last where there is one.
std::vector<LegendEntry> ChartLegend(const ChartModel& model);

// The title of a show-all series: "Geocentric transits of Mars with Sun,
// Mercury, Venus and Jupiter, 2024-01-01 to 2024-12-31", the kept planet
// being the one every pair shares, the others in report order.  Empty when
// the rows are not such a series (one pair, or no planet in every pair).
std::string SeriesTitle(const std::vector<TransitRecord>& rows, std::int32_t firstDay,
                        std::int32_t lastDay);

}  // namespace vlt
