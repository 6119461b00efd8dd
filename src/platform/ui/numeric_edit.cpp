#include "numeric_edit.h"

#include <QApplication>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace ui {

namespace {
const char* const kLeavesWithoutReading = "vvLeavesWithoutReading";
}

void markLeavesWithoutReading(QWidget* control) {
    control->setProperty(kLeavesWithoutReading, true);
}

NumericEdit::NumericEdit(QStringView picture, platform::MessageSink& messages, QWidget* parent)
    : QLineEdit(parent), m_picture(numberPicture(picture)), m_messages(messages) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Only what a number can be made of; the reading decides whether it is one. Room for
    // thousands marks typed the other way round ("1.234.567,5").
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+0-9 .,]*")), this));
    setMaxLength(m_picture.width + m_picture.width / 3 + 2);
    setValue(0.0);
    connect(this, &QLineEdit::editingFinished, this, [this] {
        // The focus has already moved on when the field is left.
        const QWidget* next = QApplication::focusWidget();
        if (next != this && next != nullptr && next->property(kLeavesWithoutReading).toBool()) {
            return;
        }
        commit();
    });
}

void NumericEdit::setValue(double value) {
    m_value = value;
    setText(showNumber(value, m_picture));
    setModified(false);
}

bool NumericEdit::commit() {
    if (m_inMessage) {
        return false;
    }
    const EntryReading reading = readNumber(text(), m_picture);
    if (reading.ok()) {
        setValue(*reading.value);
        emit valueAccepted(m_value);
        return true;
    }
    m_inMessage = true;
    m_messages.show(platform::Message{kEntryRefusedTitle, reading.message, platform::Icon::Warning,
                                      platform::Ok, platform::Ok, false});
    m_inMessage = false;
    setFocus(Qt::OtherFocusReason);
    selectAll();
    return false;
}

}  // namespace ui
