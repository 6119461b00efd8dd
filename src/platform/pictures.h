#pragma once
// Display pictures: the one formatter behind every number, date and time that a list, a form or
// the report shows, and the reader behind the number entry fields.
//
// Number pictures, "@N" (or "@n") followed by, in this order:
//   [-]        leading minus for negative numbers (also the default)
//   [0|_|*]    fill: "0" zero fill, "_" blank fill, "*" asterisk fill; a fill switches the
//              default grouping off
//   width      total characters, sign, separators and decimals included (1 to 255)
//   [.|_|,]    grouping of the integer digits in threes: "." period, "_" blank, "," comma.
//              Without one the digits are grouped by a comma, or by a period when the decimal
//              mark is a comma; after a fill, not at all. A "." directly followed by a digit is
//              the decimal mark, not a grouping.
//   [.|`]n     decimal mark and number of decimals: "." a decimal point, "`" a decimal comma
//   [-]        minus after the number instead of before it
//   [B]        blank (all blanks) when the value is zero
// Examples: "@N7_`0" shows 155000 as «155 000»; "@N7`1" shows 1234.5 as «1.234,5»; "@N_3" shows
// 12 as «·12»; "@N10_`1B" shows 0 as ten blanks.
//
// Scientific pictures, "@E" width [grouping] ("." or "`") n: a sign position, an n-digit whole
// mantissa (grouped only when a grouping is given), the decimal mark without decimals, "E", the
// exponent's sign and three digits. "@E25_.14" shows 155000 as «·15·500·000·000·000.E-008».
//
// Date pictures (day numbers counted from 28 December 1800 = day 0, so 1 January 1801 is day
// 4): "@D6" followed by a separator ("-", ".", "/", "_" for a blank, "," ; default "/") and an
// optional "B": dd-mm-yyyy with the day's leading zero as a blank, «·5-03-2010». A pattern made
// of "yyyy", "mm" and "dd" with any other characters as literals ("yyyymmdd", "yyyy-mm-dd")
// shows the date with leading zeros. Day numbers before day 1, or after 31 December 9999, show
// as blanks of the picture's width.
//
// Time pictures (hundredths of a second since midnight plus one): "@T1" hh:mm and "@T4"
// hh:mm:ss, the hour's leading zero as a blank, optional "B" for blanks when the time is 0 or
// less; without "B" such a time shows as midnight. Times of 24 hours or more wrap around.
//
// Numbers are rounded half away from zero, on the decimal form of the value to 15 significant
// digits, so 2.675 with two decimals shows as «2,68» although the nearest double lies just
// below 2.675. A number that does not fit the width shows "#" in every position, as do
// infinities and NaN. Formatting never depends on the user's locale.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace platform::pictures {

struct NumberPicture {
    enum class Kind { Fixed, Scientific };
    Kind kind = Kind::Fixed;
    int width = 0;
    int decimals = 0;        // Fixed: digits after the decimal mark
    int mantissaDigits = 0;  // Scientific: whole digits of the mantissa
    QChar decimalMark = u'.';
    QChar grouping;     // null: no grouping; otherwise the separator as shown (' ', '.', ',')
    QChar fill = u' ';  // ' ', '0' or '*'
    bool trailingSign = false;
    bool blankWhenZero = false;
};

// The picture's parts, or nullopt when `picture` is not a number or scientific picture of the
// grammar above. Never throws.
[[nodiscard]] std::optional<NumberPicture> parseNumberPicture(QStringView picture);

// `value` shown by a number picture, exactly `picture.width` characters.
[[nodiscard]] QString format(double value, const NumberPicture& picture);

// `value` shown by any picture of the grammar above; for a date or time picture the value is
// taken as a day number or time value (truncated to a whole number). An unknown picture gives
// an empty text.
[[nodiscard]] QString format(double value, QStringView picture);

// A day number shown by a date picture; an unknown picture gives an empty text.
[[nodiscard]] QString formatDate(int32_t dayNumber, QStringView picture);

// A time value (hundredths of a second since midnight plus one) shown by a time picture; an
// unknown picture gives an empty text.
[[nodiscard]] QString formatTime(int32_t time, QStringView picture);

// Text for a number that another component reads back: the text read as a number (a point as
// decimal mark; a text that holds no number counts as 0), shown with "@E25_.14" and with every
// blank removed, for example "15500000000000.E-008" for "155000".
[[nodiscard]] QString prettyNumber(QStringView text);

// The number typed into an entry field with `picture`, or nullopt when the text cannot be read
// as one value without guessing:
// - blanks around the text are ignored; an empty text is 0 (a blank-when-zero field shows 0 as
//   blanks);
// - a leading "-" or "+" (or a trailing "-" for a picture with a trailing sign);
// - the picture's decimal mark, and also the other of "," and "." unless that one is the
//   picture's grouping ("6.5" in a field with a decimal comma is 6,5);
// - grouping in threes by blanks, or by the picture's own grouping character, only at the
//   places where the picture would put it;
// - refused: more decimals than the picture shows (unless they are zeros), a value that does not
//   fit the picture's width, two decimal marks, and a decimal mark followed by exactly three
//   digits in a field with fewer than three decimals ("155.000" could be 155 or 155000) unless
//   it is the picture's own decimal comma or the whole part cannot begin a grouped number
//   ("0.180", "1234.500").
[[nodiscard]] std::optional<double> parseNumber(QStringView text, const NumberPicture& picture);

}  // namespace platform::pictures
