#include "type_ahead.h"

namespace ui {

int typeAheadRow(int rowCount, int currentRow, QChar typed,
                 const std::function<QString(int)>& textOf) {
    if (rowCount <= 0 || typed.isSpace() || typed.isNull()) {
        return -1;
    }
    const QString wanted(typed);
    const int start = currentRow < 0 || currentRow >= rowCount ? 0 : currentRow + 1;
    for (int i = 0; i < rowCount; ++i) {
        const int row = (start + i) % rowCount;
        const QString text = textOf(row).trimmed();
        if (text.startsWith(wanted, Qt::CaseInsensitive)) {
            return row;
        }
    }
    return -1;
}

}  // namespace ui
