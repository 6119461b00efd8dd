#pragma once
// An entry field for a number with the field's display picture ("@N10_`1": width, blank
// grouping, decimal comma, decimals). The field shows its value formatted and right-aligned; what
// the user types is read when the field is left (Return, Tab, a click elsewhere) and when the
// window takes over its values (commit()). An entry that cannot be read without doubt is refused:
// the message says why, the focus stays in the field with the text selected, and value() keeps the
// last accepted value.

#include "platform/messages.h"
#include "platform/ui/core/entry_reading.h"

#include <QLineEdit>

namespace ui {

// Marks a control that leaves the window without taking over its values (a cancel button): when
// the focus moves to it, the entry field being left is not read, so no refusal comes in the way
// of cancelling.
void markLeavesWithoutReading(QWidget* control);

class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    // Refused entries are explained through `messages`.
    NumericEdit(QStringView picture, platform::MessageSink& messages, QWidget* parent = nullptr);

    [[nodiscard]] const NumberPicture& picture() const { return m_picture; }

    // Shows `value` in the field's picture and makes it the accepted value.
    void setValue(double value);
    // The last accepted value (what setValue() set or commit() read).
    [[nodiscard]] double value() const { return m_value; }

    // Reads the text. Accepted: the value is taken, the text redisplayed in the picture, true.
    // Refused: the message is shown, the focus returns to the field, false.
    bool commit();

signals:
    void valueAccepted(double value);

private:
    NumberPicture m_picture;
    platform::MessageSink& m_messages;
    double m_value = 0.0;
    bool m_inMessage = false;
};

}  // namespace ui
