#pragma once
// Reading and showing the numbers of entry fields. A field has a display width in characters
// (grouping blanks, decimal comma and sign included), a number of decimals, blank grouping of the
// integer digits in threes, and optionally shows blank for zero. What the user types is read
// strictly: a value is never silently taken for another one. "6.5" in a field with a decimal is
// 6,5, "1 234,5" and "1.234,5" are 1234,5; an entry that has two readings ("1.234": a thousand
// and more, or one and a bit), too many decimals, broken groups or too many characters is refused
// with a Dutch message saying why.

#include <QString>
#include <optional>

namespace ui {

struct NumberFormat {
    int width = 10;       // characters, as shown
    int decimals = 0;     // after the decimal comma
    bool grouped = true;  // integer digits in threes, separated by a blank
    bool blankWhenZero = false;
};

// The value as the field shows it: decimal comma, grouping blanks, rounded to the field's
// decimals, without padding. Blank for zero when the format says so. A value that does not fit
// in the width is shown in full all the same (the entry check keeps such values out of a field).
[[nodiscard]] QString formatNumber(double value, const NumberFormat& format);
// The same, right-aligned in the field's width (for lists and fixed-width columns).
[[nodiscard]] QString formatNumberPadded(double value, const NumberFormat& format);

struct EntryReading {
    std::optional<double> value;  // empty: refused
    QString message;              // why it was refused ("|" = line break); empty when read
    [[nodiscard]] bool ok() const { return value.has_value(); }
};

// Title of the message box that tells why an entry was refused.
inline const QString kEntryRefusedTitle = QStringLiteral("Ongeldige invoer");

// Reads what the user typed into a number field. An empty entry (blanks only) is zero.
[[nodiscard]] EntryReading readNumber(const QString& typed, const NumberFormat& format);

}  // namespace ui
