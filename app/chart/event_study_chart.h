#pragma once
// The chart of an event study: the mean and the median cumulative return by
// trading-day offset from the event, over the bootstrap band of the mean,
// with the zero line the market would keep if the events meant nothing.

#include <string>

#include "app/chart/chart_model.h"
#include "app/simulation/event_study.h"

namespace vlt {

ChartModel EventStudyChart(const EventStudyResult& result, const std::string& title);

}  // namespace vlt
