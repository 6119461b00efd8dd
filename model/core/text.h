#pragma once
// Small, locale-independent helpers for the model's text files: splitting into lines, trimming
// and strict number parsing (a token is a number only when all of it is).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zivirare::text {

enum class ReadStatus { kOk, kMissing, kUnreadable };

// Reads a whole file as bytes. kMissing when it does not exist, kUnreadable when it exists but
// cannot be opened or read (a directory, no permission).
[[nodiscard]] ReadStatus readFile(const std::string& path, std::string& bytes);

// Lines of `bytes`: a line ends at LF; a CR right before the LF is dropped, so CR LF and LF both
// work. A last line without LF counts; an empty remainder after the last LF does not.
[[nodiscard]] std::vector<std::string_view> splitLines(std::string_view bytes);

[[nodiscard]] std::string_view trim(std::string_view s);
[[nodiscard]] std::string_view trimRight(std::string_view s);

// Tokens separated by runs of blanks and tabs.
[[nodiscard]] std::vector<std::string_view> splitBlanks(std::string_view s);

// Strict parsing of one token (no surrounding blanks): the whole token must be the number, with
// "." as the decimal separator; infinities and NaN are refused.
[[nodiscard]] std::optional<double> parseDouble(std::string_view token);
[[nodiscard]] std::optional<int64_t> parseInt(std::string_view token);

// Shortest round-trip text of a double and text with a fixed number of decimals, both
// independent of the locale.
[[nodiscard]] std::string formatFixed(double value, int decimals);
[[nodiscard]] std::string formatGeneral(double value, int significantDigits);

// Text right-aligned in `width` characters (left as it is when longer).
[[nodiscard]] std::string padLeft(std::string_view s, std::size_t width);
// Text left-aligned in exactly `width` characters: padded with blanks or cut.
[[nodiscard]] std::string fitRight(std::string_view s, std::size_t width);

}  // namespace zivirare::text
