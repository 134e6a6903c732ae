#pragma once
// The report as records for spreadsheets and notebooks: CSV (RFC 4180, one
// header row, CR LF line ends) or one JSON document per run.  The transit
// commands' records come from the report's fixed columns (every row of every
// table of the run, with the pair and centricity of its title); the
// simulation's come from the run itself.  docs/report-formats.md describes
// every field.

#include <string>
#include <vector>

#include "app/report/report_options.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/simulation_stats.h"

namespace vlt {

// One row of a transit table.  Dates are "YYYY-MM-DD" or empty.
struct TransitRecord {
    std::string centricity;  // "geocentric" or "heliocentric"
    std::string firstPlanet;
    std::string secondPlanet;
    std::string aspect;      // carried down from the row that names it
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
    bool exact = false;         // "*": within one minute of arc
    std::string minimumTime;    // exact: local clock time "HH:MM"
    std::string zone;           // exact: the time-zone label
    std::string minimumDistance;  // not exact: the text, e.g. 0°12'
    double minimumDegrees = -1;   // not exact: the same in degrees; -1 when none
};

// The rows of every table in a report's text (LF line ends).
std::vector<TransitRecord> TransitRecords(const std::string& report);

std::string TransitCsv(const std::vector<TransitRecord>& rows);
std::string TransitJson(ReportCommand command, const std::vector<TransitRecord>& rows);

// What a simulation run leaves for its records.
struct SimulationReport {
    std::string title;        // the report's first line
    std::string prices;       // the file the days were valued from
    bool completed = false;   // ended with its summary
    const InvestmentSimulation* simulation = nullptr;
    const RunStatistics* statistics = nullptr;  // with --stats
};

std::string SimulationCsv(const SimulationReport& report);
std::string SimulationJson(const SimulationReport& report);

// A CSV field as RFC 4180 writes it: quoted when it holds a comma, a quote,
// CR or LF, with its quotes doubled.
std::string CsvField(const std::string& text);

}  // namespace vlt
