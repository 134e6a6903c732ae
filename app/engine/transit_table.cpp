#include "app/engine/transit_table.h"

namespace vlt {

namespace {
const std::string kEmpty;
const TransitTable::Row kEmptyRow{};
}  // namespace

void TransitTable::Resize(std::int32_t lastRow) {
    rows_.assign(static_cast<std::size_t>(lastRow < 0 ? 0 : lastRow + 1), Row{});
}

void TransitTable::Clear() {
    for (Row& row : rows_) {
        for (std::string& cell : row) cell.clear();
    }
}

const std::string& TransitTable::Cell(std::int32_t row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kTransitColumns) return kEmpty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

std::string& TransitTable::CellForWrite(std::int32_t row, int column) {
    if (row >= RowCount()) {
        // A run with more rows than estimated: grow by half again, at least
        // to the row asked for.
        std::size_t wanted = static_cast<std::size_t>(row) + 1;
        std::size_t grown = rows_.size() + rows_.size() / 2 + 1;
        rows_.resize(wanted > grown ? wanted : grown);
    }
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

const TransitTable::Row& TransitTable::RowAt(std::int32_t row) const {
    if (row < 0 || row >= RowCount()) return kEmptyRow;
    return rows_[static_cast<std::size_t>(row)];
}

bool TransitTable::RowIsEmpty(std::int32_t row) const {
    for (const std::string& cell : RowAt(row)) {
        if (!cell.empty()) return false;
    }
    return true;
}

}  // namespace vlt
