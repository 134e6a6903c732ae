#include "app/engine/transit_records.h"

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

std::vector<TransitRecord> TransitRecords(const std::string& report) {
    static const std::regex tableTitle(
        R"(^(Geocentric|Heliocentric) transits for (\S+) and (\S+) from .*$)");
    static const std::regex searchTitle(
        R"(^First (geocentric|heliocentric) \S+ \S+ of (\S+) and (\S+) on or after .*$)");
    static const std::regex headings(R"(^Aspect +\| Start (\d+)° +Start (\d+)° +Start (\d+)°.*$)");
    static const std::regex distance(R"(^(\d+)°(\d+)'$)");

    std::vector<TransitRecord> rows;
    TransitRecord context;
    std::istringstream lines(report);
    std::string line;
    bool afterRule = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::smatch m;
        if (line == std::string(kRuleWidth, '-')) {
            afterRule = true;
            continue;
        }
        if (afterRule && (std::regex_match(line, m, tableTitle) ||
                          std::regex_match(line, m, searchTitle))) {
            context = TransitRecord{};
            std::string centricity = m[1].str();
            centricity[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(centricity[0])));
            context.centricity = centricity;
            context.firstPlanet = m[2];
            context.secondPlanet = m[3];
            afterRule = false;
            continue;
        }
        afterRule = false;
        if (std::regex_match(line, m, headings)) {
            context.outerOrb = std::stoi(m[1]);
            context.middleOrb = std::stoi(m[2]);
            context.innerOrb = std::stoi(m[3]);
            continue;
        }
        if (!IsRowLine(line) || context.centricity.empty()) continue;
        std::string cells[9];
        for (int c = 0; c < 8; ++c) {
            cells[c] = TrimRight(line.substr(kCellStart[c], kCellWidth));
        }
        cells[8] = line.substr(kLastCell);
        TransitRecord row = context;
        if (!cells[0].empty()) context.aspect = cells[0];
        row.aspect = context.aspect;
        for (int k = 0; k < 3; ++k) {
            ReadDateCell(cells[1 + k], row.start[k], row.startRetrograde[k], nullptr);
            ReadDateCell(cells[5 + k], row.end[k], row.endRetrograde[k], nullptr);
        }
        ReadDateCell(cells[4], row.minimumDate, row.minimumRetrograde, &row.exact);
        if (row.exact) {
            const std::size_t blank = cells[8].find(' ');
            row.minimumTime = cells[8].substr(0, blank);
            row.zone = blank == std::string::npos ? std::string() : cells[8].substr(blank + 1);
        } else if (std::regex_match(cells[8], m, distance)) {
            row.minimumDistance = cells[8];
            row.minimumDegrees = std::stoi(m[1]) + std::stoi(m[2]) / 60.0;
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace vlt
