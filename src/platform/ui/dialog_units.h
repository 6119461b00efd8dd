#pragma once
// Dialog units: the coordinates in which every window of the program is laid out. One horizontal
// unit is a quarter of the average character width of the window font, one vertical unit an
// eighth of its height, so a layout keeps its proportions to the text whatever font the system
// has. The design font of the layouts is not available here; the windows use the system's
// sans-serif at 8 points (designFont()) and the units are derived from its metrics.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

class DialogUnits {
public:
    // Units derived from `font` as the screen shows it.
    explicit DialogUnits(const QFont& font);
    // Units of the window font of the program.
    [[nodiscard]] static const DialogUnits& standard();
    // The window font of the program: the system's sans-serif at 8 points.
    [[nodiscard]] static QFont designFont();

    [[nodiscard]] int x(int units) const;  // horizontal units -> pixels
    [[nodiscard]] int y(int units) const;  // vertical units -> pixels
    [[nodiscard]] QPoint point(int x, int y) const { return {this->x(x), this->y(y)}; }
    [[nodiscard]] QSize size(int w, int h) const { return {x(w), y(h)}; }
    [[nodiscard]] QRect rect(int x, int y, int w, int h) const { return {point(x, y), size(w, h)}; }
    // Pixels back to units, rounded.
    [[nodiscard]] int unitsX(int pixels) const;
    [[nodiscard]] int unitsY(int pixels) const;

    [[nodiscard]] double averageCharWidth() const { return m_charWidth; }
    [[nodiscard]] double charHeight() const { return m_charHeight; }

    // Places `child` at the rectangle given in units, inside its parent.
    void place(QWidget* child, int x, int y, int w, int h) const;

private:
    double m_charWidth;
    double m_charHeight;
};

}  // namespace ui
