#pragma once
// The description of a list's columns, as the windows declare them: header text, the row field
// the column shows (its name is what a header sort orders by and stores), width in dialog units,
// alignment and display picture. Colours of cells are Windows colour values 0x00BBGGRR; -1 is the
// list's default colour.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace ui {

enum class Align { Left, Right, Center, Decimal };  // Decimal: lined up on the decimal comma

// How a cell's value is shown: a display picture of the program (platform/pictures.h) such as
// "@N10_`1B", "@N_3", "yyyymmdd", or a text picture "@s20" (at most 20 characters). Numbers,
// dates and times come out as the picture shows them, padded to its width; the column's
// alignment places the text in the cell.
struct CellPicture {
    QString picture;  // empty: the value as text

    CellPicture() = default;
    CellPicture(const char16_t* text) : picture(QString::fromUtf16(text)) {}  // NOLINT
    CellPicture(QString text) : picture(std::move(text)) {}                   // NOLINT

    // The cell text. A value of the wrong kind (text under a number picture) is shown as text
    // rather than guessed at; a QDate under a date picture is taken as its day number.
    [[nodiscard]] QString show(const QVariant& value) const;
};

struct ColumnInfo {
    QString header;  // literal header text, without sort marker
    QString field;   // row field name, e.g. "BED:NAAM"; empty: the column does not sort
    int width = 0;   // dialog units; 0: the rest of the list
    Align align = Align::Left;
    CellPicture picture;
    Align headerAlign = Align::Left;
};

using Columns = std::vector<ColumnInfo>;

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
