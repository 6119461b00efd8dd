#include "calculation/window/ui/gridq_list.h"

#include "calculation/window/berekenen_presenter.h"
#include "platform/ui/column_model.h"

#include <QFontMetrics>
#include <QStyle>
#include <QTableView>
#include <algorithm>

namespace ui {

namespace {

const calculation::GridqRow* rowOf(const calculation::Gridq* grid, int row) {
    if (grid == nullptr || row < 0 || static_cast<std::size_t>(row) >= grid->size()) {
        return nullptr;
    }
    return &(*grid)[static_cast<std::size_t>(row)];
}

}  // namespace

FunctionTableModel* gridqModel(Columns columns, std::function<const calculation::Gridq*()> grid,
                               QObject* parent) {
    FunctionTableModel::Source source;
    source.count = [grid] {
        const calculation::Gridq* g = grid();
        return g != nullptr ? static_cast<int>(g->size()) : 0;
    };
    source.value = [grid](int row, int column) {
        const calculation::GridqRow* r = rowOf(grid(), row);
        return r != nullptr ? calculation::gridqValue(*r, column) : QVariant();
    };
    source.colors = [grid](int row, int column) {
        const calculation::GridqRow* r = rowOf(grid(), row);
        return r != nullptr ? calculation::gridqColors(*r, column) : CellColors{};
    };
    return new FunctionTableModel(std::move(columns), source, parent);
}

GridqListDelegate::GridqListDelegate(std::function<const calculation::GridqRow*(int)> row,
                                     QObject* parent)
    : QStyledItemDelegate(parent), m_row(std::move(row)) {}

GridqListDelegate::GridqListDelegate(const std::function<const calculation::Gridq*()>& grid,
                                     QObject* parent)
    : GridqListDelegate([grid](int row) { return rowOf(grid(), row); }, parent) {}

void GridqListDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != calculation::kLoadColumn ||
        !option->state.testFlag(QStyle::State_Selected)) {
        return;
    }
    const calculation::GridqRow* row = m_row ? m_row(index.row()) : nullptr;
    if (row == nullptr) {
        return;
    }
    const CellColors colours = calculation::gridqColors(*row, index.column(), true);
    const QColor text = windowsColor(colours.foreground);
    if (text.isValid()) {
        option->palette.setColor(QPalette::HighlightedText, text);
    }
    const QColor back = windowsColor(colours.background);
    if (back.isValid()) {
        option->palette.setColor(QPalette::Highlight, back);
    }
}

namespace {

// What the cells of a column need without the padding of their pictures.
int cellsWidth(const QTableView* view, int column) {
    const QAbstractItemModel* model = view->model();
    const QFontMetrics metrics(view->font());
    int widest = 0;
    for (int r = 0; r < model->rowCount(); ++r) {
        const QString text = model->index(r, column).data().toString().trimmed();
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    const int margin =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    return widest == 0 ? 0 : widest + margin + metrics.averageCharWidth();
}

}  // namespace

void fitColumns(QTableView* view, int keep) {
    // Numbers are padded to the width of their pictures: a narrow cell shows their digits, cut on
    // the left where they are padded, rather than an ellipsis.
    view->setTextElideMode(Qt::ElideNone);
    QAbstractItemModel* model = view->model();
    if (model == nullptr || !view->isVisible()) {
        return;  // before the window is laid out the view's width means nothing yet
    }
    // Widening stops where the last column would be pushed out of sight.
    const int viewport = view->viewport()->width();
    for (int c = 0; c + 1 < model->columnCount(); ++c) {
        int others = 0;
        for (int o = 0; o + 1 < model->columnCount(); ++o) {
            others += view->columnWidth(o);
        }
        const int lastRoom = viewport - others;
        if (c == keep) {
            continue;
        }
        const int needed = cellsWidth(view, c);
        const int extra = std::min(needed - view->columnWidth(c),
                                   lastRoom - cellsWidth(view, model->columnCount() - 1));
        if (extra > 0) {
            view->setColumnWidth(c, view->columnWidth(c) + extra);
        }
    }
    // The last column takes what is left, as far as that goes.
    const int last = model->columnCount() - 1;
    int others = 0;
    for (int c = 0; c < last; ++c) {
        others += view->columnWidth(c);
    }
    const int rest = viewport - others;
    if (rest >= cellsWidth(view, last)) {
        view->setColumnWidth(last, rest);
    }
}

}  // namespace ui
