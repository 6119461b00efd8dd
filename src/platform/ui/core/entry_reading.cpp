#include "entry_reading.h"

#include <algorithm>

namespace ui {

namespace pictures = platform::pictures;

namespace {

QString quoted(const QString& s) {
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString decimalsText(int decimals) {
    return decimals == 1 ? QStringLiteral("1 decimaal")
                         : QString::number(decimals) + QStringLiteral(" decimalen");
}

bool onlyNumberCharacters(const QString& s) {
    for (QChar c : s) {
        const bool ok = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(' ') ||
                        c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('-') ||
                        c == QLatin1Char('+');
        if (!ok) {
            return false;
        }
    }
    return true;
}

}  // namespace

NumberPicture numberPicture(QStringView picture) {
    if (auto parsed = pictures::parseNumberPicture(picture)) {
        return *parsed;
    }
    NumberPicture fallback;
    fallback.width = 10;
    return fallback;
}

QString showNumber(double value, const NumberPicture& picture) {
    return pictures::format(value, picture).trimmed();
}

EntryReading readNumber(const QString& typed, const NumberPicture& picture) {
    if (const auto value = pictures::parseNumber(typed, picture)) {
        return EntryReading{*value, {}};
    }
    // Refused. Find out why by reading it again with more room: first more characters, then
    // also more decimals; what the wider field accepts tells which limit the entry broke.
    const QString shown = typed.trimmed();
    if (!onlyNumberCharacters(shown)) {
        return {std::nullopt,
                quoted(shown) + QStringLiteral(" is geen getal.|Gebruik cijfers, een decimale "
                                               "komma en eventueel spaties tussen de "
                                               "duizendtallen.")};
    }
    NumberPicture wide = picture;
    wide.width = 250;
    if (pictures::parseNumber(typed, wide)) {
        return {std::nullopt, quoted(shown) +
                                  QStringLiteral(" is te groot voor dit veld.|Het veld heeft "
                                                 "plaats voor ") +
                                  QString::number(picture.width) + QStringLiteral(" tekens.")};
    }
    const QString ambiguous =
        quoted(shown) + QStringLiteral(
                            " is niet eenduidig als getal te lezen.|Gebruik een "
                            "komma voor de decimalen en spaties tussen de "
                            "duizendtallen, bijvoorbeeld 1 234,5.");
    // One mark followed by three digits: a thousand and more, or a number with three decimals.
    const auto marks = shown.count(QLatin1Char(',')) + shown.count(QLatin1Char('.'));
    const auto lastMark =
        std::max(shown.lastIndexOf(QLatin1Char(',')), shown.lastIndexOf(QLatin1Char('.')));
    if (marks == 1 && picture.decimals < 3 && shown.size() - lastMark - 1 == 3 &&
        !(shown.at(lastMark) == QLatin1Char(',') && picture.decimalMark == QLatin1Char(','))) {
        return {std::nullopt, ambiguous};
    }
    for (int decimals = picture.decimals + 1; decimals <= 15; ++decimals) {
        NumberPicture precise = wide;
        precise.decimals = decimals;
        if (pictures::parseNumber(typed, precise)) {
            return {std::nullopt,
                    picture.decimals == 0
                        ? quoted(shown) + QStringLiteral(" is geen geheel getal.|In dit veld "
                                                         "passen geen decimalen.")
                        : quoted(shown) +
                              QStringLiteral(" heeft te veel decimalen.|In dit veld "
                                             "past ten hoogste ") +
                              decimalsText(picture.decimals) + QLatin1Char('.')};
        }
    }
    return {std::nullopt, ambiguous};
}

}  // namespace ui
