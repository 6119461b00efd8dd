#pragma once
// Keys that every window offers: F1 for the window's help, and Ctrl+H in an entry field to bring
// back the field's value from the record confirmed last (the history record).

#include "platform/ui/core/help.h"

#include <QString>
#include <functional>

class QWidget;

namespace ui {

// F1 anywhere in `window` shows help on `keyword` (empty: the table of contents).
void installHelpKey(QWidget* window, const QString& keyword, HelpService& help);

// Ctrl+H in `field` calls `recall`, which puts the history value into the field.
void installHistoryKey(QWidget* field, std::function<void()> recall);

}  // namespace ui
