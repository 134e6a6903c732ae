#pragma once
// The plain value plots of a chart model of Kind::Panels (app/chart/
// plot_panel.h), one QChart per panel: lines, dotted points, dashed
// reference lines and shaded bands, with Qt's own legend.

#include <QChart>

#include "app/chart/plot_panel.h"

namespace vlt {

// A chart of the panel; the caller owns it.
QChart* BuildPanelChart(const PlotPanel& panel);

}  // namespace vlt
