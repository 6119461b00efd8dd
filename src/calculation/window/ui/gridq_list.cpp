#include "calculation/window/ui/gridq_list.h"

#include "calculation/window/berekenen_presenter.h"
#include "platform/ui/column_model.h"

#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace ui {

GridqListDelegate::GridqListDelegate(std::function<const calculation::GridqRow*(int)> row,
                                     QObject* parent)
    : QStyledItemDelegate(parent), m_row(std::move(row)) {}

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

void fitColumns(QTableView* view) {
    QAbstractItemModel* model = view->model();
    if (model == nullptr) {
        return;
    }
    for (int c = 0; c + 1 < model->columnCount(); ++c) {
        const int needed =
            std::max(static_cast<const QAbstractItemView*>(view)->sizeHintForColumn(c),
                     view->horizontalHeader()->sectionSizeHint(c));
        if (needed > view->columnWidth(c)) {
            view->setColumnWidth(c, needed);
        }
    }
}

}  // namespace ui
