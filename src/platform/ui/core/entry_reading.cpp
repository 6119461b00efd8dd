#include "entry_reading.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace ui {

namespace {

QString groupDigits(const QString& digits) {
    QString out;
    const auto n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += QLatin1Char(' ');
        }
        out += digits.at(i);
    }
    return out;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F);
}

bool allDigits(const QString& s) {
    for (QChar c : s) {
        if (!c.isDigit() || c.unicode() > 0x7F) {
            return false;
        }
    }
    return true;
}

// Integer digits with `separator` between groups: a first group of one to three digits, then
// groups of exactly three. Returns the bare digits, or nothing when the groups are broken.
std::optional<QString> ungroup(const QString& part, QChar separator) {
    const QStringList groups = part.split(separator);
    QString digits;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QString& g = groups.at(i);
        const bool sizeOk = i == 0 ? (g.size() >= 1 && g.size() <= 3) : g.size() == 3;
        if (!sizeOk || !allDigits(g)) {
            return std::nullopt;
        }
        digits += g;
    }
    return digits;
}

QString decimalsText(int decimals) {
    return decimals == 1 ? QStringLiteral("1 decimaal")
                         : QString::number(decimals) + QStringLiteral(" decimalen");
}

EntryReading refuse(QString message) {
    return EntryReading{std::nullopt, std::move(message)};
}

QString quoted(const QString& s) {
    return QLatin1Char('"') + s + QLatin1Char('"');
}

}  // namespace

QString formatNumber(double value, const NumberFormat& format) {
    const double factor = std::pow(10.0, format.decimals);
    double rounded = std::round(std::abs(value) * factor) / factor;
    if (rounded == 0.0) {
        if (format.blankWhenZero) {
            return {};
        }
        value = 0.0;  // no "-0"
    }
    const QString plain = QLocale::c().toString(rounded, 'f', format.decimals);
    QString intPart = plain;
    QString fracPart;
    if (const auto dot = plain.indexOf(QLatin1Char('.')); dot >= 0) {
        intPart = plain.left(dot);
        fracPart = plain.mid(dot + 1);
    }
    QString out = format.grouped ? groupDigits(intPart) : intPart;
    if (!fracPart.isEmpty()) {
        out += QLatin1Char(',') + fracPart;
    }
    if (value < 0.0) {
        out.prepend(QLatin1Char('-'));
    }
    return out;
}

QString formatNumberPadded(double value, const NumberFormat& format) {
    return formatNumber(value, format).rightJustified(format.width, QLatin1Char(' '));
}

EntryReading readNumber(const QString& typed, const NumberFormat& format) {
    QString s;
    for (QChar c : typed) {
        s += isBlank(c) ? QLatin1Char(' ') : c;
    }
    s = s.trimmed();
    if (s.isEmpty()) {
        return EntryReading{0.0, {}};
    }
    const QString shown = s;
    const QString notANumber =
        quoted(shown) + QStringLiteral(
                            " is geen getal.|Gebruik cijfers, een decimale komma en "
                            "eventueel spaties tussen de duizendtallen.");
    const QString ambiguous =
        quoted(shown) + QStringLiteral(
                            " is niet eenduidig te lezen.|Gebruik een komma voor de decimalen en "
                            "spaties tussen de duizendtallen, bijvoorbeeld 1 234,5.");

    bool negative = false;
    if (s.startsWith(QLatin1Char('-'))) {
        negative = true;
        s = s.mid(1).trimmed();
    }
    int commas = 0;
    int dots = 0;
    bool blanks = false;
    for (QChar c : s) {
        if (c == QLatin1Char(',')) {
            ++commas;
        } else if (c == QLatin1Char('.')) {
            ++dots;
        } else if (c == QLatin1Char(' ')) {
            blanks = true;
        } else if (!c.isDigit() || c.unicode() > 0x7F) {
            return refuse(notANumber);
        }
    }

    // Which mark separates the decimals, and which one groups the thousands.
    QChar decimal;  // null: none
    QChar group;    // null: none
    if (commas + dots == 0) {
        // digits and blanks only
    } else if (commas == 1 && dots == 0) {
        decimal = QLatin1Char(',');
    } else if (dots == 1 && commas == 0) {
        // A dot followed by exactly three digits reads both as grouping and as decimals.
        const QString after = s.mid(s.indexOf(QLatin1Char('.')) + 1);
        if (after.size() == 3 && allDigits(after) && !blanks) {
            const QString before = s.left(s.indexOf(QLatin1Char('.')));
            if (ungroup(before + QLatin1Char('.') + after, QLatin1Char('.')).has_value() &&
                !before.startsWith(QLatin1Char('0'))) {
                return refuse(ambiguous);
            }
        }
        decimal = QLatin1Char('.');
    } else if (commas == 0 || dots == 0) {
        // The same mark more than once can only group thousands.
        group = commas > 0 ? QLatin1Char(',') : QLatin1Char('.');
    } else {
        // Both marks: the last one, standing once, separates the decimals, the other groups.
        const QChar last =
            s.at(std::max(s.lastIndexOf(QLatin1Char(',')), s.lastIndexOf(QLatin1Char('.'))));
        const int lastCount = last == QLatin1Char(',') ? commas : dots;
        if (lastCount != 1) {
            return refuse(ambiguous);
        }
        decimal = last;
        group = last == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    }
    if (blanks) {
        if (!group.isNull()) {
            return refuse(ambiguous);  // two kinds of grouping
        }
        group = QLatin1Char(' ');
    }

    QString intPart = s;
    QString fracPart;
    if (!decimal.isNull()) {
        const auto at = s.indexOf(decimal);
        intPart = s.left(at);
        fracPart = s.mid(at + 1);
    }
    if (!allDigits(fracPart)) {
        return refuse(ambiguous);
    }
    QString digits = intPart;
    if (!group.isNull() && intPart.contains(group)) {
        const auto bare = ungroup(intPart, group);
        if (!bare) {
            return refuse(ambiguous);
        }
        digits = *bare;
    }
    if (!allDigits(digits) || (digits.isEmpty() && fracPart.isEmpty())) {
        return refuse(notANumber);
    }

    // Decimals beyond the field's are allowed only when they are zeros: "6,50" is 6,5.
    for (qsizetype i = format.decimals; i < fracPart.size(); ++i) {
        if (fracPart.at(i) != QLatin1Char('0')) {
            return refuse(format.decimals == 0
                              ? quoted(shown) + QStringLiteral(" is geen geheel getal.|In dit veld "
                                                               "passen geen decimalen.")
                              : quoted(shown) +
                                    QStringLiteral(" heeft te veel decimalen.|In dit "
                                                   "veld past ten hoogste ") +
                                    decimalsText(format.decimals) + QLatin1Char('.'));
        }
    }

    const QString plain = (digits.isEmpty() ? QStringLiteral("0") : digits) + QLatin1Char('.') +
                          (fracPart.isEmpty() ? QStringLiteral("0") : fracPart);
    bool converted = false;
    double value = QLocale::c().toDouble(plain, &converted);
    if (!converted || !std::isfinite(value)) {
        return refuse(notANumber);
    }
    if (negative) {
        value = -value;
    }
    if (formatNumber(value, format).size() > format.width) {
        return refuse(quoted(shown) +
                      QStringLiteral(" is te groot voor dit veld.|Het veld heeft plaats voor ") +
                      QString::number(format.width) + QStringLiteral(" tekens."));
    }
    return EntryReading{value, {}};
}

}  // namespace ui
