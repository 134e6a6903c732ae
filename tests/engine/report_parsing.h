#pragma once
// Reads a transit report back out of the output text by its fixed columns.

#include <array>
#include <string>
#include <vector>

namespace vlt::testing {

using Cells = std::array<std::string, 9>;

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(text.substr(pos));
            return lines;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
}

inline std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    const auto e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// Byte offsets of the cells of a row whose cells 0..7 are ASCII: 12-character
// cells with "| " after columns 0, 3, 4 and 7.
inline bool IsTableLine(const std::string& line) {
    return line.size() >= 104 && line.compare(12, 2, "| ") == 0 && line.compare(50, 2, "| ") == 0 &&
           line.compare(64, 2, "| ") == 0 && line.compare(102, 2, "| ") == 0;
}

inline Cells ParseCells(const std::string& line) {
    static const int starts[8] = {0, 14, 26, 38, 52, 66, 78, 90};
    Cells cells;
    for (int c = 0; c < 8; ++c)
        cells[static_cast<std::size_t>(c)] =
            Trim(line.substr(static_cast<std::size_t>(starts[c]), 12));
    cells[8] = line.substr(104);
    return cells;
}

// The transit rows of every report in the text (not the column headings).
inline std::vector<Cells> TransitRows(const std::string& text) {
    std::vector<Cells> rows;
    for (const std::string& line : SplitLines(text)) {
        if (!IsTableLine(line) || line.rfind("Aspect", 0) == 0) continue;
        rows.push_back(ParseCells(line));
    }
    return rows;
}

}  // namespace vlt::testing
