#include "numeric_spin_box.h"

namespace ui {

NumericSpinBox::NumericSpinBox(QStringView picture, QWidget* parent)
    : QDoubleSpinBox(parent), m_picture(numberPicture(picture)) {
    setDecimals(m_picture.decimals);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
}

QString NumericSpinBox::textFromValue(double value) const {
    return showNumber(value, m_picture);
}

double NumericSpinBox::valueFromText(const QString& text) const {
    const EntryReading reading = readNumber(text, m_picture);
    return reading.ok() ? *reading.value : value();
}

QValidator::State NumericSpinBox::validate(QString& input, int&) const {
    for (QChar c : input) {
        if (!c.isDigit() && c != QLatin1Char(',') && c != QLatin1Char('.') &&
            c != QLatin1Char(' ') && c != QLatin1Char('-')) {
            return QValidator::Invalid;
        }
    }
    const EntryReading reading = readNumber(input, m_picture);
    if (!reading.ok() || input.trimmed().isEmpty()) {
        return QValidator::Intermediate;
    }
    return *reading.value >= minimum() && *reading.value <= maximum() ? QValidator::Acceptable
                                                                      : QValidator::Intermediate;
}

}  // namespace ui
