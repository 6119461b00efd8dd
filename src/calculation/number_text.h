#pragma once
// Number texts of the model files. They are read by another program, so they never depend on
// the user's locale: "." is the decimal separator everywhere.

#include <cstdint>
#include <string>

namespace calculation {

// A whole number in decimal, "-" in front when negative, no padding, no grouping.
[[nodiscard]] std::string integerText(int64_t value);

// The value rounded to `decimals` places after the point (0, 1 or 2 in the model files; up to
// 15 accepted), halfway cases away from zero. The rounding works on the decimal form of the
// value to 15 significant digits, so 6.55 (held as 6.5499999...) rounds to 6.6. Written in its
// shortest form: no exponent, no trailing zeros, no point for a whole number, "0" before the
// point below 1, "-" only in front of a non-zero result. Not-a-number and infinities give "0".
[[nodiscard]] std::string roundedText(double value, int decimals);

// The same rounding, as a number.
[[nodiscard]] double roundDecimal(double value, int decimals);

}  // namespace calculation
