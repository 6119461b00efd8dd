#pragma once
// Windows-1252 is the code page of every record file and every model file: texts that users type
// are stored and written as these bytes, one byte per character.

#include <QString>
#include <string>
#include <string_view>

namespace platform::cp1252 {

// Bytes to text. Every byte maps to a character; the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same number, so nothing is lost.
[[nodiscard]] QString toUnicode(std::string_view bytes);

// Text to bytes. A character without a Windows-1252 byte becomes `replacement`.
[[nodiscard]] std::string fromUnicode(const QString& text, char replacement = '?');

// True when every character of `text` has a Windows-1252 byte.
[[nodiscard]] bool representable(const QString& text);

// Upper case of one Windows-1252 byte, for all letters of the code page (é -> É, ÿ -> Ÿ, š -> Š),
// not only ASCII. Bytes without an upper-case form are returned unchanged.
[[nodiscard]] unsigned char upper(unsigned char byte);

// Case-insensitive three-way comparison of two Windows-1252 byte strings: <0, 0 or >0, comparing
// the upper-cased bytes as unsigned values.
[[nodiscard]] int compareNoCase(std::string_view a, std::string_view b);

}  // namespace platform::cp1252
