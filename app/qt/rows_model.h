#pragma once
// A table model of typed rows for the window's sortable tables: each cell's
// text and the number its column sorts by come from functions of the row,
// so that the view sorts numbers as numbers (the proxy sorts by kSortRole).

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vlt {

inline constexpr int kSortRole = Qt::UserRole;

template <class Row>
class RowsModel final : public QAbstractTableModel {
public:
    struct Columns {
        int count = 0;
        std::function<std::string(int column)> heading;
        std::function<std::string(int column)> explanation;
        std::function<std::string(const Row&, int column)> cell;
        std::function<double(const Row&, int column)> key;
        int textColumns = 1;  // the first columns, words aligned left; numbers right
    };

    explicit RowsModel(Columns columns, QObject* parent = nullptr)
        : QAbstractTableModel(parent), columns_(std::move(columns)) {}

    void SetRows(std::vector<Row> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const std::vector<Row>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : columns_.count;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) return {};
        const Row& row = rows_[static_cast<std::size_t>(index.row())];
        if (role == Qt::DisplayRole) {
            return QString::fromStdString(columns_.cell(row, index.column()));
        }
        if (role == kSortRole) return columns_.key(row, index.column());
        if (role == Qt::TextAlignmentRole && index.column() >= columns_.textColumns) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= columns_.count) {
            return QAbstractTableModel::headerData(section, orientation, role);
        }
        if (role == Qt::DisplayRole) return QString::fromStdString(columns_.heading(section));
        if (role == Qt::ToolTipRole) return QString::fromStdString(columns_.explanation(section));
        return {};
    }

private:
    Columns columns_;
    std::vector<Row> rows_;
};

}  // namespace vlt
