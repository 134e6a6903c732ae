#pragma once
// The report as records for spreadsheets and notebooks: CSV (RFC 4180, one
// header row, CR LF line ends) or one JSON document per run.  The transit
// commands' records come from the report's fixed columns (every row of every
// table of the run, with the pair and centricity of its title); the
// simulation's come from the run itself.  docs/report-formats.md describes
// every field.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/engine/transit_records.h"
#include "app/report/report_options.h"
#include "app/simulation/family_statistics.h"
#include "app/simulation/investment_simulation.h"

namespace vlt {

std::string TransitCsv(const std::vector<TransitRecord>& rows);
std::string TransitJson(ReportCommand command, const std::vector<TransitRecord>& rows);

// What a simulation run leaves for its records.
struct SimulationReport {
    std::string title;       // the report's first line
    std::string prices;      // the file the days were valued from
    bool completed = false;  // ended with its summary
    const InvestmentSimulation* simulation = nullptr;
    const FamilyResult* statistics = nullptr;  // with --stats
};

std::string SimulationCsv(const SimulationReport& report);
std::string SimulationJson(const SimulationReport& report);

// A family's combination as the JSON of simulate --stats and of research
// names it: first, second, centricity, aspect, orb, trades, ..., p,
// p_adjusted, q.
nlohmann::ordered_json FamilyRowJson(const FamilyRow& row);

// A document as the reports print it: indented by two, bytes that are not
// UTF-8 replaced, a line end after it.
std::string ReportJsonText(const nlohmann::ordered_json& doc);

// A CSV field as RFC 4180 writes it: quoted when it holds a comma, a quote,
// CR or LF, with its quotes doubled.
std::string CsvField(const std::string& text);

}  // namespace vlt
