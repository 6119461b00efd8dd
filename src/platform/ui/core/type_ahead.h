#pragma once
// One-character type-ahead in a list: typing a character moves the selection to the next row
// whose text in the current sort column begins with that character (case-insensitive, leading
// blanks of right-aligned numbers ignored), searching after the selected row and wrapping round.

#include <QChar>
#include <QString>
#include <functional>

namespace ui {

// `textOf(row)` gives the row's text in the sort column. Returns the row to select, or -1 when no
// row begins with `typed` (the selection then stays).
[[nodiscard]] int typeAheadRow(int rowCount, int currentRow, QChar typed,
                               const std::function<QString(int)>& textOf);

}  // namespace ui
