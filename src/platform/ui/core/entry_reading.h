#pragma once
// Reading and showing the numbers of entry fields, on the program's display pictures
// (platform/pictures.h): a field has a number picture such as "@N10_`1" (width, grouping,
// decimal comma, decimals). The reading is that of the pictures module, which never takes a value
// for another one ("6.5" in a field with a decimal comma is 6,5; "155.000" in a field with fewer
// than three decimals could be 155 or 155000 and is refused). This layer adds what the user needs
// when an entry is refused: a Dutch message that says why.

#include "platform/pictures.h"

#include <QString>
#include <optional>

namespace ui {

using NumberPicture = platform::pictures::NumberPicture;

// The picture of a picture text; a text that is no number picture gives a plain 10-wide field
// without decimals (a layout fault must not make a window unusable).
[[nodiscard]] NumberPicture numberPicture(QStringView picture);

// The value as an entry field shows it: the picture's text without the padding blanks.
[[nodiscard]] QString showNumber(double value, const NumberPicture& picture);

struct EntryReading {
    std::optional<double> value;  // empty: refused
    QString message;              // why it was refused ("|" = line break); empty when read
    [[nodiscard]] bool ok() const { return value.has_value(); }
};

// Title of the message box that tells why an entry was refused.
inline const QString kEntryRefusedTitle = QStringLiteral("Ongeldige invoer");

// Reads what the user typed into a number field. An empty entry (blanks only) is zero.
[[nodiscard]] EntryReading readNumber(const QString& typed, const NumberPicture& picture);

}  // namespace ui
