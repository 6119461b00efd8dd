#pragma once
// A spin box for a number with a display picture ("@N6_`2"): shown in the picture, stepped by
// the arrows or the Up and Down keys between its limits, typed as in a NumericEdit. An entry that
// cannot be read without doubt is not taken: the box keeps its value, and what was typed stays
// for the user to correct.

#include "platform/ui/core/entry_reading.h"

#include <QDoubleSpinBox>

namespace ui {

class NumericSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit NumericSpinBox(QStringView picture, QWidget* parent = nullptr);

    [[nodiscard]] const NumberPicture& picture() const { return m_picture; }

    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    NumberPicture m_picture;
};

}  // namespace ui
