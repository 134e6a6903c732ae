#pragma once
// A chart of plain lines and bands over two value axes, for what has no
// calendar lanes: the ranked p-values of a research run against the line
// of pure chance, the best equity curves inside the band random timing
// gives.  A model holds one panel or several, drawn one above the other.

#include <string>
#include <vector>

namespace vlt {

struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
};

struct PlotLine {
    std::string label;
    std::vector<PlotPoint> points;
    int colour = 0;       // index into the renderer's palette
    bool dashed = false;  // a reference line (chance), not a measurement
    bool dots = false;    // points only, no line between them
};

// The area between two lines of the same x values.
struct PlotBand {
    std::string label;
    std::vector<PlotPoint> lower;
    std::vector<PlotPoint> upper;
};

struct PlotPanel {
    std::string title;
    std::string xTitle;
    std::string yTitle;
    bool xIsDay = false;  // x holds Julian day numbers, shown as dates
    std::vector<PlotBand> bands;
    std::vector<PlotLine> lines;
};

}  // namespace vlt
