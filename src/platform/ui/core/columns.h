#pragma once
// The description of a list's columns, as the windows declare them: header text, the row field
// the column shows (its name is what a header sort orders by and stores), width in dialog units,
// alignment and display picture. Colours of cells are Windows colour values 0x00BBGGRR; -1 is the
// list's default colour.

#include "platform/ui/core/entry_reading.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace ui {

enum class Align { Left, Right, Center, Decimal };  // Decimal: lined up on the decimal comma

// How a cell's value is shown.
struct CellPicture {
    enum class Kind { Text, Number, DateYmd };
    Kind kind = Kind::Text;
    int chars = 0;        // Text: at most this many characters shown (0: all)
    NumberFormat number;  // Number

    static CellPicture text(int chars) { return {Kind::Text, chars, {}}; }
    static CellPicture numeric(NumberFormat format) { return {Kind::Number, 0, format}; }
    // A day number (day 4 is 1 January 1801; 0 shows blank) as yyyymmdd.
    static CellPicture dateYmd() { return {Kind::DateYmd, 8, {}}; }

    // The cell text. Numbers are not padded: the column's alignment places them. A value of the
    // wrong kind is shown as text rather than guessed at.
    [[nodiscard]] QString show(const QVariant& value) const;
};

struct ColumnSpec {
    QString header;  // literal header text, without sort marker
    QString field;   // row field name, e.g. "BED:NAAM"; empty: the column does not sort
    int width = 0;   // dialog units; 0: the rest of the list
    Align align = Align::Left;
    CellPicture picture = CellPicture::text(0);
    Align headerAlign = Align::Left;
};

using Columns = std::vector<ColumnSpec>;

[[nodiscard]] QStringList fieldNames(const Columns& columns);

// Colours of one cell; -1 keeps the default.
struct CellColors {
    std::int32_t foreground = -1;
    std::int32_t background = -1;
};

inline constexpr std::int32_t kColorDefault = -1;
inline constexpr std::int32_t kColorRed = 0x0000FF;
inline constexpr std::int32_t kColorGreen = 0x00FF00;
inline constexpr std::int32_t kColorBlue = 0xFF0000;
inline constexpr std::int32_t kColorWhite = 0xFFFFFF;
inline constexpr std::int32_t kColorBlack = 0x000000;

// Orders two cell values for a header sort: numbers by value, texts without regard to case,
// an empty value before anything else. <0, 0, >0.
[[nodiscard]] int compareCells(const QVariant& a, const QVariant& b);

}  // namespace ui
