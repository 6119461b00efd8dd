#include "dialog_units.h"

#include <QFontMetricsF>
#include <QWidget>
#include <cmath>

namespace ui {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetricsF metrics(font);
    m_charWidth = metrics.averageCharWidth();
    m_charHeight = metrics.height();
    if (!(m_charWidth > 0.0)) {
        m_charWidth = 6.0;  // a font without metrics: keep windows usable
    }
    if (!(m_charHeight > 0.0)) {
        m_charHeight = 13.0;
    }
}

const DialogUnits& DialogUnits::standard() {
    static const DialogUnits units(designFont());
    return units;
}

QFont DialogUnits::designFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Sans Serif"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

int DialogUnits::x(int units) const {
    return static_cast<int>(std::lround(units * m_charWidth / 4.0));
}

int DialogUnits::y(int units) const {
    return static_cast<int>(std::lround(units * m_charHeight / 8.0));
}

int DialogUnits::unitsX(int pixels) const {
    return static_cast<int>(std::lround(pixels * 4.0 / m_charWidth));
}

int DialogUnits::unitsY(int pixels) const {
    return static_cast<int>(std::lround(pixels * 8.0 / m_charHeight));
}

void DialogUnits::place(QWidget* child, int x, int y, int w, int h) const {
    child->setGeometry(rect(x, y, w, h));
}

}  // namespace ui
