#include "app/engine/transit_records.h"

#include "app/engine/transit_table.h"

#include <algorithm>
#include <cctype>
#include <regex>
#include <sstream>

namespace vlt {
namespace {

constexpr std::size_t kRuleWidth = 119;

// Byte offsets of the row's cells 0..7; cell 8 runs from kLastCell to the
// end.  Cells 0..7 of a transit row hold only ASCII (names, dates, markers).
constexpr std::size_t kCellStart[8] = {0, 14, 26, 38, 52, 66, 78, 90};
constexpr std::size_t kLastCell = 104;
constexpr std::size_t kCellWidth = 12;

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool IsRowLine(const std::string& line) {
    return line.size() >= kLastCell && line.compare(12, 2, "| ") == 0 &&
           line.compare(50, 2, "| ") == 0 && line.compare(64, 2, "| ") == 0 &&
           line.compare(102, 2, "| ") == 0;
}

// A date cell: "YYYY-MM-DD", then "*" and "r" as markers.
void ReadDateCell(const std::string& cell, std::string& date, bool& retrograde, bool* exact) {
    date = cell.substr(0, std::min<std::size_t>(10, cell.size()));
    const std::string markers = cell.size() > 10 ? cell.substr(10) : std::string();
    retrograde = markers.find('r') != std::string::npos;
    if (exact != nullptr) *exact = markers.find('*') != std::string::npos;
}

}  // namespace

namespace {

// The cells of a transit row line, trimmed on the right.
TransitRow RowCells(const std::string& line) {
    TransitRow cells;
    for (int c = 0; c < kTransitColumns - 1; ++c) {
        cells[static_cast<std::size_t>(c)] = TrimRight(line.substr(kCellStart[c], kCellWidth));
    }
    CellOf(cells, TransitColumn::MinimumDetail) = line.substr(kLastCell);
    return cells;
}

// One transit row of the report, within the context of its table.
TransitRecord ReadRow(const TransitRow& cells, TransitRecord& context) {
    static const std::regex distance(R"(^(\d+)°(\d+)'$)");
    using C = TransitColumn;
    TransitRecord row = context;
    if (!CellOf(cells, C::Aspect).empty()) context.aspect = CellOf(cells, C::Aspect);
    row.aspect = context.aspect;
    for (int k = 0; k < 3; ++k) {
        ReadDateCell(CellOf(cells, StartColumn(k)), row.start[k], row.startRetrograde[k], nullptr);
        // Ends in the order of their columns: inner, middle, outer.
        ReadDateCell(CellOf(cells, EndColumn(2 - k)), row.end[k], row.endRetrograde[k], nullptr);
    }
    ReadDateCell(CellOf(cells, C::Minimum), row.minimumDate, row.minimumRetrograde, &row.exact);
    const std::string& detail = CellOf(cells, C::MinimumDetail);
    std::smatch m;
    if (row.exact) {
        const std::size_t blank = detail.find(' ');
        row.minimumTime = detail.substr(0, blank);
        row.zone = blank == std::string::npos ? std::string() : detail.substr(blank + 1);
    } else if (std::regex_match(detail, m, distance)) {
        row.minimumDistance = detail;
        row.minimumDegrees = std::stoi(m[1]) + std::stoi(m[2]) / 60.0;
    }
    return row;
}

// A table's title after its rule: the centricity and the planets.
bool ReadTitle(const std::string& line, TransitRecord& context) {
    static const std::regex tableTitle(
        R"(^(Geocentric|Heliocentric) transits for (\S+) and (\S+) from .*$)");
    static const std::regex searchTitle(
        R"(^First (geocentric|heliocentric) \S+ \S+ of (\S+) and (\S+) on or after .*$)");
    std::smatch m;
    if (!std::regex_match(line, m, tableTitle) && !std::regex_match(line, m, searchTitle)) {
        return false;
    }
    context = TransitRecord{};
    std::string centricity = m[1].str();
    centricity[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(centricity[0])));
    context.centricity = centricity;
    context.firstPlanet = m[2];
    context.secondPlanet = m[3];
    return true;
}

// The headings line: the three orbs.
bool ReadHeadings(const std::string& line, TransitRecord& context) {
    static const std::regex headings(R"(^Aspect +\| Start (\d+)° +Start (\d+)° +Start (\d+)°.*$)");
    std::smatch m;
    if (!std::regex_match(line, m, headings)) return false;
    context.outerOrb = std::stoi(m[1]);
    context.middleOrb = std::stoi(m[2]);
    context.innerOrb = std::stoi(m[3]);
    return true;
}

}  // namespace

std::vector<TransitRecord> TransitRecords(const std::string& report) {
    std::vector<TransitRecord> rows;
    TransitRecord context;
    std::istringstream lines(report);
    std::string line;
    bool afterRule = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == std::string(kRuleWidth, '-')) {
            afterRule = true;
            continue;
        }
        const bool title = afterRule && ReadTitle(line, context);
        afterRule = false;
        if (title || ReadHeadings(line, context)) continue;
        if (!IsRowLine(line) || context.centricity.empty()) continue;
        rows.push_back(ReadRow(RowCells(line), context));
    }
    return rows;
}

}  // namespace vlt
