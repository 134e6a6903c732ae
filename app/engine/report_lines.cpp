#include "app/engine/report_lines.h"

#include <optional>

#include <cmath>

#include "app/positions/positions.h"
#include "app/support/date_processing.h"
#include "app/support/numbers.h"

namespace vlt {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string TwoDigits(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::size_t TextLength(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) {
        if (!IsContinuationByte(c)) ++n;
    }
    return n;
}

std::string PadCell(std::string_view text, int width) {
    std::string out;
    int chars = 0;
    std::size_t i = 0;
    while (i < text.size() && chars < width) {
        std::size_t j = i + 1;
        while (j < text.size() && IsContinuationByte(text[j])) ++j;
        out.append(text.substr(i, j - i));
        ++chars;
        i = j;
    }
    out.append(static_cast<std::size_t>(width - chars), ' ');
    return out;
}

std::string ReportDateText(std::int32_t dayNumber) {
    return FormatDayNumber(dayNumber, kOrderYearMonthDay, "-", ",", false);
}

std::string FormatDegMin(double angle, bool dropZeroMinutes, bool untrimmedMinutes) {
    const std::optional<DegreesMinutes> dm = DegreesMinutesOf(angle);
    if (!dm) return "";
    const long d = dm->degrees;
    const long m = dm->minutes;
    std::string text = std::to_string(d) + kDegreeSign;
    if (dropZeroMinutes && m == 0) return text;
    if (untrimmedMinutes) text += " ";
    return text + std::to_string(m) + "'";
}

std::string ClockTimeText(double dayFraction) {
    const long s = static_cast<long>(std::floor(dayFraction * 86400.0));
    long hours = s / 3600;
    long minutes = (s / 60) % 60;
    const long seconds = s % 60;
    if (seconds >= 30) {
        ++minutes;
        if (minutes == 60) {
            if (hours == 23) {
                minutes = 59;
            } else {
                minutes = 0;
                ++hours;
            }
        }
    }
    return TwoDigits(static_cast<int>(hours)) + ":" + TwoDigits(static_cast<int>(minutes));
}

std::string ReportTitle(const TitleInputs& in) {
    std::string title;
    if (in.searchMode) {
        title = std::string("First ") + (in.heliocentric ? "heliocentric " : "geocentric ") +
                in.searchOrbText + " " + in.searchAspectText + " of " + in.firstPlanetName +
                " and " + in.secondPlanetName + " on or after " +
                FormatLongDate(in.startDay, false, kLanguageEnglish);
    } else {
        title = std::string(in.heliocentric ? "Heliocentric" : "Geocentric") + " transits for " +
                in.firstPlanetName + " and " + in.secondPlanetName + " from " +
                FormatLongDate(in.startDay, false, kLanguageEnglish) + ", to " +
                FormatLongDate(in.endDay, false, kLanguageEnglish);
    }
    // The Sun and the Moon never move backwards: no marker to explain.
    if (!in.heliocentric && in.firstPlanetName != "Sun" && in.firstPlanetName != "Moon") {
        if (in.showAllMode) {
            title += " ('r' not shown)";
        } else {
            title += " ('r' = " + in.firstPlanetName + " retrograde)";
        }
    }
    return title;
}

void FillTableHeader(TransitTable& table, const std::string& title, int outerOrb, int middleOrb,
                     int innerOrb) {
    const std::string rule(kRuleWidth, '-');
    TableHeader& header = table.Header();
    header.titleBlock = rule + kLineBreak + title;
    const std::string outer = std::to_string(outerOrb) + kDegreeSign;
    const std::string middle = std::to_string(middleOrb) + kDegreeSign;
    const std::string inner = std::to_string(innerOrb) + kDegreeSign;
    const char* headings[kTransitColumns] = {"Aspect", "Start ", "Start ", "Start ", "Minimum at",
                                             "End ",   "End ",   "End ",   "Minimum"};
    const std::string suffix[kTransitColumns] = {"",    outer,  middle, inner, "",
                                                 inner, middle, outer,  ""};
    for (int c = 0; c < kTransitColumns; ++c) {
        header.headings[static_cast<std::size_t>(c)] = std::string(headings[c]) + suffix[c];
    }
    header.closingRule = rule + kLineBreak;
}

std::string TableRowLine(const TransitRow& row) {
    using C = TransitColumn;
    std::string line;
    line.reserve(128);
    line += PadCell(CellOf(row, C::Aspect));
    line += "| ";
    for (C c : {C::OuterStart, C::MiddleStart, C::InnerStart}) line += PadCell(CellOf(row, c));
    line += "| ";
    line += PadCell(CellOf(row, C::Minimum));
    line += "| ";
    for (C c : {C::InnerEnd, C::MiddleEnd, C::OuterEnd}) line += PadCell(CellOf(row, c));
    line += "| ";
    line += CellOf(row, C::MinimumDetail);
    line += kLineBreak;
    return line;
}

std::string CrossingText(const std::optional<OrbCrossing>& crossing) {
    if (!crossing) return std::string();
    return ReportDateText(crossing->day) + (crossing->retrograde ? "r" : "");
}

std::string MinimumDateText(const TransitMinimum& minimum) {
    return ReportDateText(minimum.day) + (minimum.exact ? "*" : "") +
           (minimum.retrograde ? "r" : "");
}

std::string MinimumDetailText(const TransitMinimum& minimum, const std::string& zoneLabel) {
    if (!minimum.exact) return FormatDegMin(minimum.distance, false, false);
    return ClockTimeText(static_cast<double>(minimum.minuteOfDay) / 1440.0) + " " + zoneLabel;
}

TransitRow TransitLineCells(const TransitLine& line, const std::string& zoneLabel) {
    using C = TransitColumn;
    TransitRow row;
    if (line.aspect) CellOf(row, C::Aspect) = std::string(Info(*line.aspect).name);
    for (int level = 0; level < kOrbLevels; ++level) {
        CellOf(row, StartColumn(level)) = CrossingText(line.entry[static_cast<std::size_t>(level)]);
        CellOf(row, EndColumn(level)) = CrossingText(line.exit[static_cast<std::size_t>(level)]);
    }
    if (line.minimum) {
        CellOf(row, C::Minimum) = MinimumDateText(*line.minimum);
        CellOf(row, C::MinimumDetail) = MinimumDetailText(*line.minimum, zoneLabel);
    }
    return row;
}

std::string TransitLineText(const TransitLine& line, const std::string& zoneLabel) {
    return TableRowLine(TransitLineCells(line, zoneLabel));
}

}  // namespace vlt
