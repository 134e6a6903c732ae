#pragma once
// The lines of a run's transit tables as flat rows: each line with the pair,
// centricity and orbs of its table and the aspect carried down from the line
// that names it, dates as the report writes them.  The record formats (CSV,
// JSON) and the charts start from these rows; they are made from the scan's
// results, never read back from the report's text.

#include <string>
#include <vector>

#include "app/engine/transit_result.h"

namespace vlt {

// One line of a transit table.  Dates are "YYYY-MM-DD" or empty.
struct TransitRecord {
    std::string centricity;  // "geocentric" or "heliocentric"
    std::string firstPlanet;
    std::string secondPlanet;
    std::string aspect;  // carried down from the line that names it
    int outerOrb = 0;
    int middleOrb = 0;
    int innerOrb = 0;
    // Entries into and exits from the orbs, outer to inner and inner to
    // outer as the columns run, each with its retrograde flag.
    std::string start[3];
    bool startRetrograde[3] = {false, false, false};
    std::string end[3];  // inner, middle, outer
    bool endRetrograde[3] = {false, false, false};
    std::string minimumDate;
    bool minimumRetrograde = false;
    bool exact = false;           // within one minute of arc
    std::string minimumTime;      // exact: local clock time "HH:MM"
    std::string zone;             // exact: the time-zone label
    std::string minimumDistance;  // not exact: the text, e.g. 0°12'
    double minimumDegrees = -1;   // not exact: the same in degrees; -1 when none
};

// The rows of every table of a run, in order.
std::vector<TransitRecord> TransitRecords(const TransitResults& results);

}  // namespace vlt
