#include "app/engine/report_lines.h"

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
    if (!(angle >= 0.0) || angle > kTwoPi) return "";
    const double degrees = angle / kTwoPi * 360.0;
    long d = static_cast<long>(std::floor(degrees + 0.00001));
    long m = std::lround(RoundHalfEven((degrees - static_cast<double>(d)) * 60.0, 0));
    if (m < 0) m = 0;  // degrees just under a whole number counted up to it
    if (m == 60) {
        if (d != 359) {
            ++d;
            m = 0;
        } else {
            m = 59;
        }
    }
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
    if (!in.heliocentric && in.firstPlanetName != "Sun") {
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
    table.CellForWrite(0, 0) = rule + kLineBreak + title;
    const std::string outer = std::to_string(outerOrb) + kDegreeSign;
    const std::string middle = std::to_string(middleOrb) + kDegreeSign;
    const std::string inner = std::to_string(innerOrb) + kDegreeSign;
    const char* headings[kTransitColumns] = {"Aspect", "Start ", "Start ", "Start ", "Minimum at",
                                             "End ",   "End ",   "End ",   "Minimum"};
    const std::string suffix[kTransitColumns] = {"",    outer,  middle, inner, "",
                                                 inner, middle, outer,  ""};
    for (int c = 0; c < kTransitColumns; ++c) {
        table.CellForWrite(1, c) = std::string(headings[c]) + suffix[c];
    }
    table.CellForWrite(2, 0) = rule + kLineBreak;
}

std::string TableRowLine(const TransitTable::Row& row) {
    auto cell = [&row](TransitColumn c) -> std::string_view {
        const std::string& text = CellOf(row, c);
        return text == kBlankCellMarker ? std::string_view() : std::string_view(text);
    };
    using C = TransitColumn;
    std::string line;
    line.reserve(128);
    line += PadCell(cell(C::Aspect));
    line += "| ";
    for (C c : {C::OuterStart, C::MiddleStart, C::InnerStart}) line += PadCell(cell(c));
    line += "| ";
    line += PadCell(cell(C::Minimum));
    line += "| ";
    for (C c : {C::InnerEnd, C::MiddleEnd, C::OuterEnd}) line += PadCell(cell(c));
    line += "| ";
    line += cell(C::MinimumDetail);
    line += kLineBreak;
    return line;
}

}  // namespace vlt
