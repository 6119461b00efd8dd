#include "numeric_edit.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace ui {

NumericEdit::NumericEdit(NumberFormat format, platform::MessageSink& messages, QWidget* parent)
    : QLineEdit(parent), m_format(format), m_messages(messages) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Only what a number can be made of; the reading decides whether it is one. Room for
    // thousands marks typed the other way round ("1.234.567,5").
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[-0-9 .,\\x{00A0}]*")), this));
    setMaxLength(m_format.width + m_format.width / 3 + 2);
    setValue(0.0);
    connect(this, &QLineEdit::editingFinished, this, [this] { commit(); });
}

void NumericEdit::setValue(double value) {
    m_value = value;
    setText(formatNumber(value, m_format));
    setModified(false);
}

bool NumericEdit::commit() {
    if (m_inMessage) {
        return false;
    }
    const EntryReading reading = readNumber(text(), m_format);
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
