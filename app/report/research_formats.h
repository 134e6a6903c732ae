#pragma once
// The report of `vlt-report research` as text, CSV and JSON: the family
// line, the ranked combinations with their p, p_adjusted and q, and the ten
// best again on the hold-out.  docs/report-formats.md describes every field.

#include <string>

#include "app/simulation/research.h"

namespace vlt {

// What the report says of the run beyond its result.
struct ResearchReport {
    std::string prices;   // the price file as given
    std::string centres;  // "helio", "geo" or "both"
    int pairs = 0;
    int holdoutPercent = 0;
    const ResearchResult* result = nullptr;
};

std::string ResearchText(const ResearchReport& report);
std::string ResearchCsv(const ResearchReport& report);
std::string ResearchJson(const ResearchReport& report);

}  // namespace vlt
