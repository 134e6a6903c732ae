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

inline constexpr int kTransitColumns = 9;
inline constexpr std::int32_t kFirstTransitRow = 3;

class TransitTable {
public:
    using Row = std::array<std::string, kTransitColumns>;

    // Rows 0..lastRow, all empty.
    void Resize(std::int32_t lastRow);
    void Clear();  // every cell empty, size kept

    // Row count (lastRow + 1).
    std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }

    // Reading beyond the table answers an empty cell; writing beyond it
    // grows the table first.
    const std::string& Cell(std::int32_t row, int column) const;
    std::string& CellForWrite(std::int32_t row, int column);
    const Row& RowAt(std::int32_t row) const;
    bool RowIsEmpty(std::int32_t row) const;

private:
    std::vector<Row> rows_;
};

}  // namespace vlt
