#pragma once
// What a market does around a kind of day: an event study in the manner of
// MacKinlay (1997).  For each event its cumulative return from the close of
// the event day (offset 0) to the close of offset k, for k = -N .. N in
// trading days; per offset the mean and the median over the events, and a
// bootstrap band for the mean (the events drawn with replacement, the same
// draw for every offset, percentile interval).
//
// Offsets count trading days (days with a price), not calendar days, so a
// weekend does not stretch a window.  An event that falls on a day without
// trading is counted from the next trading day.  An event whose window does
// not fit inside the period is left out, and counted as left out.
//
// The draws come from std::mt19937_64 in one sequence, so a seed gives the
// same band everywhere.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/simulation/family_statistics.h"

namespace vlt {

inline constexpr int kEventStudyMaxDays = 250;

struct EventStudyRequest {
    DailyValues prices;                   // the period; 0 on days without trading
    std::vector<std::int32_t> eventDays;  // day numbers, in any order
    int days = 10;                        // the window: -days .. +days trading days
    int trials = 1000;                    // bootstrap resamples of the events
    std::uint64_t seed = 1;
    double confidence = 0.95;  // the band's coverage, 0 < c < 1
};

// One offset of the window.  Returns are percent.
struct EventOffset {
    int offset = 0;
    double mean = 0.0;
    double median = 0.0;
    double lower = 0.0;  // the bootstrap band of the mean
    double upper = 0.0;
};

struct EventStudyResult {
    int days = 0;
    int trials = 0;
    std::uint64_t seed = 0;
    double confidence = 0.0;
    std::vector<std::int32_t> used;    // the events' trading days (offset 0), ascending
    int leftOut = 0;                   // events whose window leaves the period
    std::vector<EventOffset> offsets;  // -days .. +days
};

// Why a request cannot be studied, or nothing when it can.  Fewer than
// kStatisticsMinPrices prices, a window of 0 days or over kEventStudyMaxDays,
// no trials, a confidence outside (0, 1).
std::optional<std::string> EventStudyRequestProblem(const EventStudyRequest& request);

// The study of a request that has no problem.  With no event inside the
// period the result has no offsets.
EventStudyResult ComputeEventStudy(const EventStudyRequest& request);

}  // namespace vlt
