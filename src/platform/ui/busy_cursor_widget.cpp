#include "busy_cursor_widget.h"

#include <QApplication>
#include <QCursor>

namespace ui {

OverrideBusyCursor::~OverrideBusyCursor() {
    while (m_depth > 0) {
        end();
    }
}

void OverrideBusyCursor::begin() {
    if (m_depth++ == 0) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

void OverrideBusyCursor::end() {
    if (m_depth > 0 && --m_depth == 0) {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace ui
