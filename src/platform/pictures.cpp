#include "platform/pictures.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::pictures {
namespace {

constexpr int kMaxWidth = 255;
constexpr int kMaxDecimals = 30;
// Values are rounded on their decimal form to this many significant digits before the picture's
// own rounding, so that the last bits of a binary double never decide a halfway case.
constexpr int kSignificantDigits = 15;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Decimal form of a finite, non-negative magnitude: value = 0.d1 d2 ... dn * 10^point.
struct Decimal {
    std::string digits;  // no leading and no trailing zeros; empty means zero
    int point = 0;       // position of the decimal point, counted from the first digit
};

void stripTrailingZeros(std::string& digits) {
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
}

Decimal toDecimal(double magnitude) {
    Decimal d;
    if (magnitude == 0.0) {
        return d;
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer.data(), static_cast<size_t>(result.ptr - buffer.data()));
    const size_t e = text.find('e');
    for (size_t i = 0; i < e; ++i) {
        if (text[i] != '.') {
            d.digits.push_back(text[i]);
        }
    }
    size_t expStart = e + 1;
    if (text[expStart] == '+') {
        ++expStart;
    }
    int exponent = 0;
    std::from_chars(text.data() + expStart, text.data() + text.size(), exponent);
    d.point = exponent + 1;
    stripTrailingZeros(d.digits);
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero on the first dropped digit.
void roundDigits(Decimal& d, int keep) {
    const int n = static_cast<int>(d.digits.size());
    if (keep >= n) {
        return;
    }
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
            d.digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        }
    }
    stripTrailingZeros(d.digits);
}

char digitAt(const Decimal& d, int index) {
    if (index < 0 || index >= static_cast<int>(d.digits.size())) {
        return '0';
    }
    return d.digits[static_cast<size_t>(index)];
}

QString grouped(const QString& digits, QChar separator) {
    if (separator.isNull() || digits.size() <= 3) {
        return digits;
    }
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return out;
}

QString hashes(int width) {
    return QString(width, u'#');
}
QString blanks(int width) {
    return QString(width, u' ');
}

QString formatFixed(double value, const NumberPicture& p) {
    if (!std::isfinite(value)) {
        return hashes(p.width);
    }
    if (p.blankWhenZero && value == 0.0) {
        return blanks(p.width);
    }
    Decimal d = toDecimal(std::fabs(value));
    if (d.point > kMaxWidth) {
        return hashes(p.width);
    }
    roundDigits(d, d.point + p.decimals);
    const bool negative = value < 0.0 && !d.digits.empty();

    QString whole;
    for (int i = 0; i < d.point; ++i) {
        whole += QLatin1Char(digitAt(d, i));
    }
    if (whole.isEmpty()) {
        whole = QStringLiteral("0");
    }
    QString body = p.fill == u'0' ? whole : grouped(whole, p.grouping);
    if (p.decimals > 0) {
        body += p.decimalMark;
        for (int i = 0; i < p.decimals; ++i) {
            body += QLatin1Char(digitAt(d, d.point + i));
        }
    }

    const QString sign = negative ? QStringLiteral("-") : QString();
    QString text;
    if (p.trailingSign) {
        text = body + (negative ? QStringLiteral("-") : QStringLiteral(" "));
    } else if (p.fill == u'0') {
        const qsizetype pad = p.width - sign.size() - body.size();
        text = sign + QString(pad > 0 ? pad : 0, u'0') + body;
    } else {
        text = sign + body;
    }
    if (text.size() > p.width) {
        return hashes(p.width);
    }
    return QString(p.width - text.size(), p.fill == u'*' ? u'*' : u' ') + text;
}

QString formatScientific(double value, const NumberPicture& p) {
    if (!std::isfinite(value)) {
        return hashes(p.width);
    }
    if (p.blankWhenZero && value == 0.0) {
        return blanks(p.width);
    }
    Decimal d = toDecimal(std::fabs(value));
    QString mantissa;
    int exponent = 0;
    if (d.digits.empty()) {
        mantissa = QStringLiteral("0");
    } else {
        roundDigits(d, p.mantissaDigits);
        for (int i = 0; i < p.mantissaDigits; ++i) {
            mantissa += QLatin1Char(digitAt(d, i));
        }
        exponent = d.point - p.mantissaDigits;
    }
    QString text = value < 0.0 && !d.digits.empty() ? QStringLiteral("-") : QString();
    text += grouped(mantissa, p.grouping);
    text += p.decimalMark;
    text += u'E';
    text += exponent < 0 ? u'-' : u'+';
    text += QString::number(std::abs(exponent)).rightJustified(3, u'0');
    if (text.size() > p.width) {
        return hashes(p.width);
    }
    return text.rightJustified(p.width, u' ');
}

// Reads an unsigned decimal number at `i`; false when there is none or it exceeds `max`.
bool readCount(QStringView s, qsizetype& i, int max, int& out) {
    const qsizetype start = i;
    long long v = 0;
    while (i < s.size() && isAsciiDigit(s[i])) {
        v = v * 10 + (s[i].unicode() - u'0');
        if (v > max) {
            return false;
        }
        ++i;
    }
    out = static_cast<int>(v);
    return i > start;
}

// Calendar arithmetic on the proleptic Gregorian calendar (days relative to 1 January 1970).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    int year;
    int month;
    int day;
};

Civil civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

// Day 0 of the day numbers is 28 December 1800.
const int64_t kDayZero = daysFromCivil(1800, 12, 28);
const int64_t kLastDay = daysFromCivil(9999, 12, 31) - kDayZero;

std::optional<Civil> civilFromDayNumber(int32_t dayNumber) {
    if (dayNumber < 1 || dayNumber > kLastDay) {
        return std::nullopt;
    }
    return civilFromDays(kDayZero + dayNumber);
}

QString twoDigits(int v) {
    return QString::number(v).rightJustified(2, u'0');
}

bool startsWithCode(QStringView picture, char16_t code) {
    return picture.size() >= 2 && picture[0] == u'@' && picture[1].toUpper() == QChar(code);
}

int32_t toInt32(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double t = std::trunc(value);
    if (t <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    if (t >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(t);
}

bool isBlankChar(QChar c) {
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
}

}  // namespace

std::optional<NumberPicture> parseNumberPicture(QStringView s) {
    if (s.size() < 3 || s[0] != u'@') {
        return std::nullopt;
    }
    NumberPicture p;
    const QChar code = s[1].toUpper();
    if (code == u'N') {
        p.kind = NumberPicture::Kind::Fixed;
    } else if (code == u'E') {
        p.kind = NumberPicture::Kind::Scientific;
    } else {
        return std::nullopt;
    }
    const bool fixed = p.kind == NumberPicture::Kind::Fixed;
    qsizetype i = 2;
    bool fillGiven = false;
    if (fixed && i < s.size() && s[i] == u'-') {
        ++i;
    }
    if (fixed && i < s.size() && (s[i] == u'0' || s[i] == u'_' || s[i] == u'*')) {
        p.fill = s[i] == u'_' ? QChar(u' ') : s[i];
        fillGiven = true;
        ++i;
    }
    if (!readCount(s, i, kMaxWidth, p.width) || p.width < 1) {
        return std::nullopt;
    }
    bool groupingGiven = false;
    if (i < s.size()) {
        const QChar c = s[i];
        const bool pointBeforeDigit = c == u'.' && i + 1 < s.size() && isAsciiDigit(s[i + 1]);
        if (c == u'_' || c == u',' || (c == u'.' && !pointBeforeDigit)) {
            p.grouping = c == u'_' ? QChar(u' ') : c;
            groupingGiven = true;
            ++i;
        }
    }
    bool markGiven = false;
    if (i < s.size() && (s[i] == u'.' || s[i] == u'`')) {
        p.decimalMark = s[i] == u'`' ? QChar(u',') : QChar(u'.');
        markGiven = true;
        ++i;
        int places = 0;
        const qsizetype before = i;
        if (!readCount(s, i, kMaxDecimals, places) && i != before) {
            return std::nullopt;
        }
        (fixed ? p.decimals : p.mantissaDigits) = places;
    }
    if (fixed && i < s.size() && s[i] == u'-') {
        p.trailingSign = true;
        ++i;
    }
    if (i < s.size() && s[i].toUpper() == u'B') {
        p.blankWhenZero = true;
        ++i;
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    if (!groupingGiven && fixed && !fillGiven) {
        p.grouping = p.decimalMark == u',' ? QChar(u'.') : QChar(u',');
    }
    if (p.grouping == p.decimalMark) {
        return std::nullopt;
    }
    if (!fixed && (!markGiven || p.mantissaDigits < 1)) {
        return std::nullopt;
    }
    return p;
}

QString format(double value, const NumberPicture& picture) {
    return picture.kind == NumberPicture::Kind::Scientific ? formatScientific(value, picture)
                                                           : formatFixed(value, picture);
}

QString format(double value, QStringView picture) {
    if (startsWithCode(picture, u'N') || startsWithCode(picture, u'E')) {
        const auto p = parseNumberPicture(picture);
        return p ? format(value, *p) : QString();
    }
    if (startsWithCode(picture, u'T')) {
        return formatTime(toInt32(value), picture);
    }
    return formatDate(toInt32(value), picture);
}

QString formatDate(int32_t dayNumber, QStringView picture) {
    const auto date = civilFromDayNumber(dayNumber);
    if (startsWithCode(picture, u'D')) {
        qsizetype i = 2;
        int style = 0;
        if (!readCount(picture, i, 99, style) || style != 6) {
            return {};
        }
        QChar separator = u'/';
        if (i < picture.size() && QStringView(u"-./,_").contains(picture[i])) {
            separator = picture[i] == u'_' ? QChar(u' ') : picture[i];
            ++i;
        }
        if (i < picture.size() && picture[i].toUpper() == u'B') {
            ++i;
        }
        if (i != picture.size()) {
            return {};
        }
        if (!date) {
            return blanks(10);
        }
        return QString::number(date->day).rightJustified(2, u' ') + separator +
               twoDigits(date->month) + separator + QString::number(date->year);
    }
    if (picture.isEmpty() || picture[0] == u'@' || !picture.contains(u"yyyy")) {
        return {};
    }
    if (!date) {
        return blanks(static_cast<int>(picture.size()));
    }
    QString out;
    for (qsizetype i = 0; i < picture.size();) {
        const QStringView rest = picture.mid(i);
        if (rest.startsWith(u"yyyy")) {
            out += QString::number(date->year).rightJustified(4, u'0');
            i += 4;
        } else if (rest.startsWith(u"mm")) {
            out += twoDigits(date->month);
            i += 2;
        } else if (rest.startsWith(u"dd")) {
            out += twoDigits(date->day);
            i += 2;
        } else {
            out += picture[i];
            ++i;
        }
    }
    return out;
}

QString formatTime(int32_t time, QStringView picture) {
    if (!startsWithCode(picture, u'T')) {
        return {};
    }
    qsizetype i = 2;
    int style = 0;
    if (!readCount(picture, i, 99, style) || (style != 1 && style != 4)) {
        return {};
    }
    bool blankWhenZero = false;
    if (i < picture.size() && picture[i].toUpper() == u'B') {
        blankWhenZero = true;
        ++i;
    }
    if (i != picture.size()) {
        return {};
    }
    const bool withSeconds = style == 4;
    if (time <= 0 && blankWhenZero) {
        return blanks(withSeconds ? 8 : 5);
    }
    const int64_t seconds = time <= 0 ? 0 : (static_cast<int64_t>(time) - 1) / 100;
    const int hours = static_cast<int>((seconds / 3600) % 24);
    const int minutes = static_cast<int>((seconds / 60) % 60);
    QString out = QString::number(hours).rightJustified(2, u' ') + u':' + twoDigits(minutes);
    if (withSeconds) {
        out += u':' + twoDigits(static_cast<int>(seconds % 60));
    }
    return out;
}

QString prettyNumber(QStringView text) {
    const std::string bytes = text.trimmed().toString().toStdString();
    std::string_view number(bytes);
    if (!number.empty() && number.front() == '+') {
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        value = 0.0;
    }
    static const NumberPicture kPicture = *parseNumberPicture(u"@E25_.14");
    QString shown = format(value, kPicture);
    shown.remove(u' ');
    return shown;
}

std::optional<double> parseNumber(QStringView text, const NumberPicture& picture) {
    if (picture.kind != NumberPicture::Kind::Fixed) {
        return std::nullopt;
    }
    QStringView t = text.trimmed();
    if (t.isEmpty()) {
        return 0.0;
    }
    bool negative = false;
    if (t.front() == u'-' || t.front() == u'+') {
        negative = t.front() == u'-';
        t = t.mid(1);
    } else if (picture.trailingSign && t.back() == u'-') {
        negative = true;
        t.chop(1);
    }
    if (t.isEmpty()) {
        return std::nullopt;
    }

    // Which characters may be the decimal mark: the picture's own, and the other of "," and "."
    // unless that one groups the digits in this picture.
    const QChar own = picture.decimalMark;
    const QChar other = own == u',' ? QChar(u'.') : QChar(u',');
    const bool otherIsMark = picture.grouping != other;
    qsizetype markAt = -1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == own || (otherIsMark && t[i] == other)) {
            if (markAt >= 0) {
                return std::nullopt;
            }
            markAt = i;
        }
    }
    const QStringView whole = markAt >= 0 ? t.first(markAt) : t;
    const QStringView fraction = markAt >= 0 ? t.mid(markAt + 1) : QStringView();
    if (whole.isEmpty() && fraction.isEmpty()) {
        return std::nullopt;
    }

    // The whole part: digits, grouped in threes by one kind of separator or not at all.
    std::string digits = negative ? "-" : "";
    QChar separator;
    qsizetype groupLength = 0;
    bool firstGroup = true;
    for (const QChar c : whole) {
        if (isAsciiDigit(c)) {
            digits.push_back(static_cast<char>(c.unicode()));
            ++groupLength;
            continue;
        }
        const bool blank = isBlankChar(c);
        const bool ownGrouping =
            !picture.grouping.isNull() && picture.grouping != u' ' && c == picture.grouping;
        if (!blank && !ownGrouping) {
            return std::nullopt;
        }
        const QChar kind = blank ? QChar(u' ') : c;
        if (!separator.isNull() && separator != kind) {
            return std::nullopt;
        }
        separator = kind;
        if (groupLength == 0 || groupLength > 3 || (!firstGroup && groupLength != 3)) {
            return std::nullopt;
        }
        firstGroup = false;
        groupLength = 0;
    }
    if (!separator.isNull() && groupLength != 3) {
        return std::nullopt;
    }
    if (whole.isEmpty()) {
        digits.push_back('0');
    }

    if (markAt >= 0) {
        for (const QChar c : fraction) {
            if (!isAsciiDigit(c)) {
                return std::nullopt;
            }
        }
        // "155.000" might mean 155 or 155000. A decimal comma in a field that shows one leaves
        // no doubt, and so does a whole part that cannot begin a grouped number ("0.180",
        // "1234.500").
        const bool decimalComma = t[markAt] == u',' && own == u',';
        const qsizetype wholeDigits = static_cast<qsizetype>(digits.size()) - (negative ? 1 : 0);
        const bool couldBeGrouping = !whole.isEmpty() && digits[negative ? 1 : 0] != '0' &&
                                     (!separator.isNull() || wholeDigits <= 3);
        if (fraction.size() == 3 && picture.decimals < 3 && !decimalComma && couldBeGrouping) {
            return std::nullopt;
        }
        for (qsizetype i = picture.decimals; i < fraction.size(); ++i) {
            if (fraction[i] != u'0') {
                return std::nullopt;
            }
        }
        digits.push_back('.');
        for (const QChar c : fraction) {
            digits.push_back(static_cast<char>(c.unicode()));
        }
    }

    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) {
        return std::nullopt;
    }
    if (value == 0.0) {
        value = 0.0;  // no negative zero
    }
    if (format(value, picture).contains(u'#')) {
        return std::nullopt;
    }
    return value;
}

}  // namespace platform::pictures
