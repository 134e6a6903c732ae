#include "app/engine/transit_table.h"

namespace vlt {

namespace {
const TransitLine kEmptyLine{};
}  // namespace

void TransitTable::Resize(std::int32_t lastRow) {
    rows_.assign(static_cast<std::size_t>(lastRow < 0 ? 0 : lastRow + 1), TransitLine{});
}

void TransitTable::Clear() {
    for (TransitLine& line : rows_) line = TransitLine{};
    header_ = TableHeader{};
}

const TransitLine& TransitTable::Line(std::int32_t row) const {
    if (row < 0 || row >= RowCount()) return kEmptyLine;
    return rows_[static_cast<std::size_t>(row)];
}

TransitLine& TransitTable::LineForWrite(std::int32_t row) {
    if (row >= RowCount()) {
        // A run with more rows than estimated: grow by half again, at least
        // to the row asked for.
        std::size_t wanted = static_cast<std::size_t>(row) + 1;
        std::size_t grown = rows_.size() + rows_.size() / 2 + 1;
        rows_.resize(wanted > grown ? wanted : grown);
    }
    return rows_[static_cast<std::size_t>(row)];
}

}  // namespace vlt
