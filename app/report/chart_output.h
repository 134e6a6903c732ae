#pragma once
// vlt-report chart: the run's chart written as an image by the chart
// renderer module beside the program (it brings the toolkit; the report's
// other commands never load it).

#include <ostream>
#include <string>

#include "app/chart/chart_model.h"

namespace vlt {

// Writes the chart to `path` at width x height pixels; false with a message
// on `messages` when the renderer is missing or the file cannot be written.
bool WriteChartImage(const ChartModel& model, const std::string& path, int width, int height,
                     std::ostream& messages);

}  // namespace vlt
