#pragma once
// The table a transit scan fills: a text header, then from row 3 on one line
// of a transit per row.  The report shows nine columns (aspect, three starts,
// minimum date, three ends, minimum time or distance).  It grows on demand,
// so a run with more rows than estimated never writes outside it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/engine/transit_result.h"

namespace vlt {

// The columns of a transit row, left to right as the report shows them.
enum class TransitColumn : int {
    Aspect,      // the aspect's name
    OuterStart,  // entry into the outer, middle and inner orb
    MiddleStart,
    InnerStart,
    Minimum,   // date (and time) of the exact or approximate minimum
    InnerEnd,  // exit from the inner, middle and outer orb
    MiddleEnd,
    OuterEnd,
    MinimumDetail  // the minimum's time, or its distance when not exact
};
inline constexpr int kTransitColumns = 9;
inline constexpr std::int32_t kFirstTransitRow = 3;

// Orb levels as in transit_result.h: 0 outer, 1 middle, 2 inner.
inline constexpr TransitColumn StartColumn(int level) {
    return static_cast<TransitColumn>(static_cast<int>(TransitColumn::OuterStart) + level);
}
inline constexpr TransitColumn EndColumn(int level) {
    return static_cast<TransitColumn>(static_cast<int>(TransitColumn::OuterEnd) - level);
}

// The texts of one report line: a cell per column.
using TransitRow = std::array<std::string, kTransitColumns>;
inline const std::string& CellOf(const TransitRow& row, TransitColumn column) {
    return row[static_cast<std::size_t>(column)];
}
inline std::string& CellOf(TransitRow& row, TransitColumn column) {
    return row[static_cast<std::size_t>(column)];
}

// The text rows above the transit lines: the rule and title, the column
// headings, the closing rule.
struct TableHeader {
    std::string titleBlock;
    TransitRow headings;
    std::string closingRule;
};

class TransitTable {
public:
    // Rows 0..lastRow, all empty.
    void Resize(std::int32_t lastRow);
    void Clear();  // every line empty, size kept

    // Row count (lastRow + 1).
    std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }

    // Reading beyond the table answers an empty line; writing beyond it
    // grows the table first.
    const TransitLine& Line(std::int32_t row) const;
    TransitLine& LineForWrite(std::int32_t row);
    bool RowIsEmpty(std::int32_t row) const { return Line(row).Empty(); }

    TableHeader& Header() { return header_; }
    const TableHeader& Header() const { return header_; }

private:
    std::vector<TransitLine> rows_;
    TableHeader header_;
};

}  // namespace vlt
