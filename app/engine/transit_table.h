#pragma once
// The table of texts a transit scan fills: rows 0..2 the report header, each
// later row one line of a transit.  Nine columns (aspect, three starts,
// minimum date, three ends, minimum time or distance).  It grows on demand,
// so a run with more rows than estimated never writes outside it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

// Orb levels: 0 outer, 1 middle, 2 inner.
inline constexpr TransitColumn StartColumn(int level) {
    return static_cast<TransitColumn>(static_cast<int>(TransitColumn::OuterStart) + level);
}
inline constexpr TransitColumn EndColumn(int level) {
    return static_cast<TransitColumn>(static_cast<int>(TransitColumn::OuterEnd) - level);
}

// One row of the table: a cell per column.
using TransitRow = std::array<std::string, kTransitColumns>;
inline const std::string& CellOf(const TransitRow& row, TransitColumn column) {
    return row[static_cast<std::size_t>(column)];
}
inline std::string& CellOf(TransitRow& row, TransitColumn column) {
    return row[static_cast<std::size_t>(column)];
}

// A cell that the row writer leaves empty in the report: the table holds "?"
// where a transit's line was started but that cell is to stay blank.
inline constexpr const char* kBlankCellMarker = "?";

class TransitTable {
public:
    using Row = TransitRow;

    // Rows 0..lastRow, all empty.
    void Resize(std::int32_t lastRow);
    void Clear();  // every cell empty, size kept

    // Row count (lastRow + 1).
    std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }

    // Reading beyond the table answers an empty cell; writing beyond it
    // grows the table first.
    const std::string& Cell(std::int32_t row, int column) const;
    std::string& CellForWrite(std::int32_t row, int column);
    const std::string& Cell(std::int32_t row, TransitColumn column) const {
        return Cell(row, static_cast<int>(column));
    }
    std::string& CellForWrite(std::int32_t row, TransitColumn column) {
        return CellForWrite(row, static_cast<int>(column));
    }
    const Row& RowAt(std::int32_t row) const;
    bool RowIsEmpty(std::int32_t row) const;

private:
    std::vector<Row> rows_;
};

}  // namespace vlt
