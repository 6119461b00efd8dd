#pragma once
// The list control of the windows: a table of rows with the columns of a ColumnTableModel (widths
// in dialog units, the last column with width 0 taking the rest), one row selected at a time,
// every column resizable. A click on a column header sorts by it, Ctrl+click adds a further sort
// level, Shift+click removes the sort (SortHeaderState). Typing one character moves to the next
// row whose text in the sort column begins with it. Insert, Delete, Ctrl+Enter and a double
// click are passed on as requests for the window to handle.

#include "platform/ui/core/sort_header.h"

#include <QHeaderView>
#include <QTableView>

namespace ui {

class ColumnTableModel;
class DialogUnits;

// A header that tells which modifier keys were held when a section was clicked.
class SortHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit SortHeaderView(QWidget* parent = nullptr);

signals:
    void sortClicked(int column, ui::SortClick kind);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Qt::KeyboardModifiers m_pressModifiers;
};

class RecordListView : public QTableView {
    Q_OBJECT
public:
    explicit RecordListView(QWidget* parent = nullptr);

    // Shows `model` with its columns' widths converted from dialog units.
    void setColumnModel(ColumnTableModel* model, const DialogUnits& units);
    [[nodiscard]] ColumnTableModel* columnModel() const { return m_model; }

    // The selected row as shown, or -1.
    [[nodiscard]] int currentRow() const;
    void setCurrentRow(int row);

signals:
    void sortChanged();      // after a header click changed the sort
    void insertRequested();  // Insert
    void deleteRequested();  // Delete
    void changeRequested();  // Ctrl+Enter, double click on a row
    void currentRowChanged(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;

private:
    void onSortClicked(int column, SortClick kind);

    ColumnTableModel* m_model = nullptr;
};

}  // namespace ui
