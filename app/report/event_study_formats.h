#pragma once
// The report of `vlt-report eventstudy` as text, CSV and JSON: what was
// studied, the events used and left out, and per trading-day offset the mean
// and median cumulative return with the bootstrap band of the mean.
// docs/report-formats.md describes every field.

#include <string>

#include "app/simulation/event_study.h"

namespace vlt {

// What the report says of the run beyond its result.
struct EventStudyReport {
    std::string prices;  // the price file as given
    std::string pair;    // "Earth sqr Mars"
    std::string centre;  // "helio" or "geo"
    std::string at;      // "exact" or "entry"
    int orbDegrees = 0;  // the orb entered; 0 for exact aspects
    const EventStudyResult* result = nullptr;
};

std::string EventStudyText(const EventStudyReport& report);
std::string EventStudyCsv(const EventStudyReport& report);
std::string EventStudyJson(const EventStudyReport& report);

}  // namespace vlt
