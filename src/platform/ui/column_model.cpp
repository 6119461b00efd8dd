#include "column_model.h"

#include <QBrush>
#include <algorithm>
#include <numeric>

namespace ui {

QColor windowsColor(std::int32_t value) {
    if (value < 0) {
        return {};
    }
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

namespace {

Qt::Alignment alignmentOf(Align align) {
    switch (align) {
        case Align::Right:
        case Align::Decimal:  // fixed decimals per column: right-aligned, the commas line up
            return Qt::AlignRight | Qt::AlignVCenter;
        case Align::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

ColumnTableModel::ColumnTableModel(Columns columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)) {}

CellColors ColumnTableModel::sourceColors(int, int) const {
    return {};
}

void ColumnTableModel::setSortState(SortHeaderState* state, bool sortHere) {
    m_sort = state;
    m_sortHere = sortHere;
    sortChanged();
}

void ColumnTableModel::order() {
    const int n = std::max(0, sourceRowCount());
    m_order.resize(static_cast<std::size_t>(n));
    std::iota(m_order.begin(), m_order.end(), 0);
    if (m_sort == nullptr || !m_sortHere || !m_sort->sorted()) {
        return;
    }
    const auto& levels = m_sort->levels();
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        for (const SortLevel& level : levels) {
            int c = compareCells(sourceValue(a, level.column), sourceValue(b, level.column));
            if (level.descending) {
                c = -c;
            }
            if (c != 0) {
                return c < 0;
            }
        }
        return false;
    });
}

void ColumnTableModel::sortChanged() {
    if (m_sortHere) {
        emit layoutAboutToBeChanged();
        const QModelIndexList before = persistentIndexList();
        std::vector<int> sources;
        sources.reserve(static_cast<std::size_t>(before.size()));
        for (const QModelIndex& index : before) {
            sources.push_back(sourceRow(index.row()));
        }
        order();
        QModelIndexList after;
        for (qsizetype i = 0; i < before.size(); ++i) {
            after.append(
                index(rowOfSource(sources[static_cast<std::size_t>(i)]), before.at(i).column()));
        }
        changePersistentIndexList(before, after);
        emit layoutChanged();
    }
    if (!m_columns.empty()) {
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_columns.size()) - 1);
    }
}

void ColumnTableModel::reload() {
    beginResetModel();
    order();
    endResetModel();
}

int ColumnTableModel::sourceRow(int row) const {
    if (row < 0 || row >= static_cast<int>(m_order.size())) {
        return -1;
    }
    return m_order[static_cast<std::size_t>(row)];
}

int ColumnTableModel::rowOfSource(int source) const {
    const auto it = std::find(m_order.begin(), m_order.end(), source);
    return it == m_order.end() ? -1 : static_cast<int>(it - m_order.begin());
}

QString ColumnTableModel::text(int row, int column) const {
    const int source = sourceRow(row);
    if (source < 0 || column < 0 || column >= columnCount()) {
        return {};
    }
    return m_columns[static_cast<std::size_t>(column)].picture.show(sourceValue(source, column));
}

int ColumnTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int ColumnTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ColumnTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const int source = sourceRow(index.row());
    const ColumnInfo& column = m_columns[static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole:
            return column.picture.show(sourceValue(source, index.column()));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(alignmentOf(column.align));
        case Qt::ForegroundRole: {
            const QColor c = windowsColor(sourceColors(source, index.column()).foreground);
            return c.isValid() ? QVariant(QBrush(c)) : QVariant();
        }
        case Qt::BackgroundRole: {
            const QColor c = windowsColor(sourceColors(source, index.column()).background);
            return c.isValid() ? QVariant(QBrush(c)) : QVariant();
        }
        case Qt::UserRole:
            return sourceValue(source, index.column());
        default:
            return {};
    }
}

QVariant ColumnTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const ColumnInfo& column = m_columns[static_cast<std::size_t>(section)];
    switch (role) {
        case Qt::DisplayRole:
            return m_sort != nullptr ? m_sort->headerText(section, column.header) : column.header;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(alignmentOf(column.headerAlign));
        default:
            return {};
    }
}

FunctionTableModel::FunctionTableModel(Columns columns, Source source, QObject* parent)
    : ColumnTableModel(std::move(columns), parent), m_source(std::move(source)) {
    reload();
}

int FunctionTableModel::sourceRowCount() const {
    return m_source.count ? m_source.count() : 0;
}

QVariant FunctionTableModel::sourceValue(int sourceRow, int column) const {
    return m_source.value ? m_source.value(sourceRow, column) : QVariant();
}

CellColors FunctionTableModel::sourceColors(int sourceRow, int column) const {
    return m_source.colors ? m_source.colors(sourceRow, column) : CellColors{};
}

}  // namespace ui
