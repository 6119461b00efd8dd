#include "record_list.h"

#include "platform/ui/column_model.h"
#include "platform/ui/core/type_ahead.h"
#include "platform/ui/dialog_units.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

SortHeaderView::SortHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(this, &QHeaderView::sectionClicked, this, [this](int section) {
        SortClick kind = SortClick::Plain;
        if (m_pressModifiers & Qt::ShiftModifier) {
            kind = SortClick::Clear;
        } else if (m_pressModifiers & Qt::ControlModifier) {
            kind = SortClick::Add;
        }
        emit sortClicked(section, kind);
    });
}

void SortHeaderView::mousePressEvent(QMouseEvent* event) {
    m_pressModifiers = event->modifiers();
    QHeaderView::mousePressEvent(event);
}

RecordListView::RecordListView(QWidget* parent) : QTableView(parent) {
    auto* header = new SortHeaderView(this);
    setHorizontalHeader(header);
    connect(header, &SortHeaderView::sortClicked, this, &RecordListView::onSortClicked);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit changeRequested();
        }
    });
}

void RecordListView::setColumnModel(ColumnTableModel* model, const DialogUnits& units) {
    if (selectionModel() != nullptr) {
        disconnect(selectionModel(), nullptr, this, nullptr);
    }
    m_model = model;
    setModel(model);
    verticalHeader()->setDefaultSectionSize(units.y(10));
    const auto& columns = model->columns();
    bool rest = false;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int width = columns[i].width;
        if (width > 0) {
            setColumnWidth(static_cast<int>(i), units.x(width));
        } else {
            rest = true;
        }
    }
    horizontalHeader()->setStretchLastSection(rest || columns.empty());
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { emit currentRowChanged(current.row()); });
}

int RecordListView::currentRow() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void RecordListView::setCurrentRow(int row) {
    if (m_model == nullptr || row < 0 || row >= m_model->rowCount()) {
        clearSelection();
        setCurrentIndex({});
        return;
    }
    const int column = std::max(0, currentIndex().column());
    setCurrentIndex(m_model->index(row, column));
    selectRow(row);
}

void RecordListView::onSortClicked(int column, SortClick kind) {
    if (m_model == nullptr || m_model->sortState() == nullptr) {
        return;
    }
    const int source = m_model->sourceRow(currentRow());
    m_model->sortState()->click(column, kind);
    m_model->sortChanged();
    emit sortChanged();
    if (source >= 0) {
        const int row = m_model->rowOfSource(source);
        if (row >= 0) {
            setCurrentRow(row);
            scrollTo(m_model->index(row, 0));
        }
    }
}

void RecordListView::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
        emit insertRequested();
        return;
    }
    if (event->key() == Qt::Key_Delete && mods == Qt::NoModifier) {
        emit deleteRequested();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        mods == Qt::ControlModifier) {
        emit changeRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void RecordListView::keyboardSearch(const QString& search) {
    if (m_model == nullptr || search.isEmpty()) {
        return;
    }
    int column = 0;
    if (m_model->sortState() != nullptr && m_model->sortState()->primaryColumn() >= 0) {
        column = m_model->sortState()->primaryColumn();
    }
    const int row = typeAheadRow(m_model->rowCount(), currentRow(), search.back(),
                                 [this, column](int r) { return m_model->text(r, column); });
    if (row >= 0) {
        setCurrentRow(row);
        scrollTo(m_model->index(row, column));
    }
}

}  // namespace ui
