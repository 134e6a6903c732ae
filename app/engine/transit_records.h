#pragma once
// The rows of the transit tables read back from a report's text: the fixed
// columns of every row of every table, with the pair and centricity of its
// title.  The record formats and the charts both start from these rows.

#include <string>
#include <vector>

namespace vlt {

// One row of a transit table.  Dates are "YYYY-MM-DD" or empty.
struct TransitRecord {
    std::string centricity;  // "geocentric" or "heliocentric"
    std::string firstPlanet;
    std::string secondPlanet;
    std::string aspect;  // carried down from the row that names it
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
    bool exact = false;           // "*": within one minute of arc
    std::string minimumTime;      // exact: local clock time "HH:MM"
    std::string zone;             // exact: the time-zone label
    std::string minimumDistance;  // not exact: the text, e.g. 0°12'
    double minimumDegrees = -1;   // not exact: the same in degrees; -1 when none
};

// The rows of every table in a report's text (LF line ends).
std::vector<TransitRecord> TransitRecords(const std::string& report);

}  // namespace vlt
