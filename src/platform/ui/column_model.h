#pragma once
// A list model for the windows' lists, driven by a column table (columns.h): each cell is shown in
// its column's picture and alignment, in its own colours, and the header carries the sort
// markers of an attached SortHeaderState. The rows come from the subclass in key order; with
// sorting here on, the model shows them in the header sort's order (a stable sort, so rows that
// compare equal keep their key order), otherwise the rows are taken as already ordered (a
// presenter that re-reads its records in the sort order).

#include "platform/ui/core/columns.h"
#include "platform/ui/core/sort_header.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>
#include <vector>

namespace ui {

// A Windows colour value 0x00BBGGRR as a colour; -1 gives an invalid colour (the default).
[[nodiscard]] QColor windowsColor(std::int32_t value);

// A subclass gives its rows through the three source functions and calls reload() once it can
// give them (at the end of its constructor) and whenever they change.
class ColumnTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ColumnTableModel(Columns columns, QObject* parent = nullptr);

    [[nodiscard]] const Columns& columns() const { return m_columns; }

    // The header sort whose markers the header shows. With `sortHere` the model orders the rows
    // by it. The state stays owned by the caller (usually the window's presenter).
    void setSortState(SortHeaderState* state, bool sortHere = true);
    [[nodiscard]] SortHeaderState* sortState() const { return m_sort; }
    // The sort state changed: reorder (when sorting here) and redraw the header.
    void sortChanged();
    // The rows changed: everything is read again.
    void reload();

    // Between shown rows and the subclass's rows.
    [[nodiscard]] int sourceRow(int row) const;
    [[nodiscard]] int rowOfSource(int sourceRow) const;
    // What the user sees in a cell.
    [[nodiscard]] QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    [[nodiscard]] virtual int sourceRowCount() const = 0;
    [[nodiscard]] virtual QVariant sourceValue(int sourceRow, int column) const = 0;
    [[nodiscard]] virtual CellColors sourceColors(int sourceRow, int column) const;

private:
    void order();

    Columns m_columns;
    SortHeaderState* m_sort = nullptr;
    bool m_sortHere = true;
    std::vector<int> m_order;  // shown row -> source row
};

// A ColumnTableModel whose rows come from functions; enough for most lists.
class FunctionTableModel : public ColumnTableModel {
    Q_OBJECT
public:
    struct Source {
        std::function<int()> count;
        std::function<QVariant(int row, int column)> value;
        std::function<CellColors(int row, int column)> colors;  // optional
    };
    FunctionTableModel(Columns columns, Source source, QObject* parent = nullptr);

protected:
    int sourceRowCount() const override;
    QVariant sourceValue(int sourceRow, int column) const override;
    CellColors sourceColors(int sourceRow, int column) const override;

private:
    Source m_source;
};

}  // namespace ui
