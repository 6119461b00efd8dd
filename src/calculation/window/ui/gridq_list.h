#pragma once
// The point list of a result grid as the Calculation window and the viewer show it: the columns
// of calculation::gridqColumns(), the load in the row's own colours, also while highlighted.

#include "calculation/gridq.h"
#include "platform/ui/core/columns.h"

#include <QStyledItemDelegate>
#include <functional>

class QTableView;

namespace ui {

class FunctionTableModel;

// A list model over the grid that `grid` returns (nullptr: no rows yet), with `columns`, showing
// each row's values and colours as the point lists do.
[[nodiscard]] FunctionTableModel* gridqModel(ui::Columns columns,
                                             std::function<const calculation::Gridq*()> grid,
                                             QObject* parent);

// Widens every column but the last and the text column `keep` to what its cells show, where the
// design width in dialog units is too narrow for the system font, and lets cells clip rather
// than end in an ellipsis, so that right-aligned numbers keep their digits.
void fitColumns(QTableView* view, int keep);

class GridqListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // `row` gives the grid row shown in list row r, or nullptr.
    GridqListDelegate(std::function<const calculation::GridqRow*(int)> row, QObject* parent);
    // The rows of the grid that `grid` returns.
    GridqListDelegate(const std::function<const calculation::Gridq*()>& grid, QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    std::function<const calculation::GridqRow*(int)> m_row;
};

}  // namespace ui
