#pragma once
// The texts of a transit report: cell texts, the title, the header rows and
// the fixed-column line of a table row.  Widths count characters, not bytes
// (the degree sign is one character of the report).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/engine/transit_table.h"
#include "app/support/run_host.h"

namespace vlt {

inline constexpr int kCellWidth = 12;
inline constexpr int kRuleWidth = 119;
inline constexpr const char* kDegreeSign = "\xC2\xB0";

// Characters of UTF-8 text.
std::size_t TextLength(std::string_view text);
// text cut or padded with blanks to exactly width characters.
std::string PadCell(std::string_view text, int width = kCellWidth);

// The report date of a day number: year-month-day joined by "-".
std::string ReportDateText(std::int32_t dayNumber);

// Degrees and minutes of an angle in radians ("0°12'"); empty for an angle
// below 0 or above 2π.  Minutes round to even; 60 minutes carry into the
// degrees except at 359°, which stays 359°59'.
std::string FormatDegMin(double angle, bool dropZeroMinutes, bool untrimmedMinutes);

// "07:05" for a day fraction 0 <= f < 1: whole seconds, then the minutes
// rounded up from 30 seconds on (never past 23:59).
std::string ClockTimeText(double dayFraction);

// What a report title is made of.
struct TitleInputs {
    bool heliocentric = false;
    bool searchMode = false;
    bool showAllMode = false;
    std::string firstPlanetName;  // texts of the selected planet list entries
    std::string secondPlanetName;
    std::int32_t startDay = 0;  // search: the day the search starts from
    std::int32_t endDay = 0;
    std::string searchOrbText;     // "6°"
    std::string searchAspectText;  // "conjunction"
};
std::string ReportTitle(const TitleInputs& in);

// The table's header: hyphen line and title, column headings, hyphen line.
void FillTableHeader(TransitTable& table, const std::string& title, int outerOrb, int middleOrb,
                     int innerOrb);

// The output line of the headings or a transit line: nine cells, columns
// 0..7 cut or padded to 12 characters with "| " between the groups, column 8
// as it is, then CR LF.
std::string TableRowLine(const TransitRow& row);

// The cells of a transit line as the report writes them: dates with "r" for
// retrograde, an exact minimum's date with "*" and its local clock time and
// zone, an approximate minimum's distance in degrees and minutes.
std::string CrossingText(const std::optional<OrbCrossing>& crossing);
std::string MinimumDateText(const TransitMinimum& minimum);
std::string MinimumDetailText(const TransitMinimum& minimum, const std::string& zoneLabel);
TransitRow TransitLineCells(const TransitLine& line, const std::string& zoneLabel);
// The report line of a transit line.
std::string TransitLineText(const TransitLine& line, const std::string& zoneLabel);

}  // namespace vlt
