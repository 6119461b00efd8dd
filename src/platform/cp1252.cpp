#include "cp1252.h"

#include <array>

namespace platform::cp1252 {
namespace {

// Unicode code points of the bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool toByte(char16_t c, unsigned char& out) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        out = static_cast<unsigned char>(c);
        return true;
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c) {
            out = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace

QString toUnicode(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        text.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t{b}));
    }
    return text;
}

std::string fromUnicode(const QString& text, char replacement) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        unsigned char b = 0;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;  // one character outside the BMP: one replacement byte
            bytes.push_back(replacement);
        } else if (toByte(c.unicode(), b)) {
            bytes.push_back(static_cast<char>(b));
        } else {
            bytes.push_back(replacement);
        }
    }
    return bytes;
}

bool representable(const QString& text) {
    for (QChar c : text) {
        unsigned char b = 0;
        if (!toByte(c.unicode(), b)) {
            return false;
        }
    }
    return true;
}

unsigned char upper(unsigned char b) {
    if (b >= 'a' && b <= 'z') {
        return static_cast<unsigned char>(b - 0x20);
    }
    switch (b) {
        case 0x9A:  // š
        case 0x9C:  // œ
        case 0x9E:  // ž
            return static_cast<unsigned char>(b - 0x10);
        case 0xFF:  // ÿ
            return 0x9F;
        case 0xF7:  // ÷ is no letter
            return b;
        default:
            break;
    }
    if (b >= 0xE0 && b <= 0xFE) {
        return static_cast<unsigned char>(b - 0x20);
    }
    return b;
}

int compareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ua = upper(static_cast<unsigned char>(a[i]));
        const int ub = upper(static_cast<unsigned char>(b[i]));
        if (ua != ub) {
            return ua < ub ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace platform::cp1252
