#include "calculation/window/ui/gridq_list.h"

#include "calculation/window/berekenen_presenter.h"
#include "platform/ui/column_model.h"

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

}  // namespace ui
