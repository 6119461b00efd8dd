#include "columns.h"

#include <QDate>

namespace ui {

namespace {

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Long:
        case QMetaType::ULong:
            return true;
        default:
            return false;
    }
}

}  // namespace

QString CellPicture::show(const QVariant& value) const {
    switch (kind) {
        case Kind::Number:
            if (isNumber(value)) {
                return formatNumber(value.toDouble(), number);
            }
            break;
        case Kind::DateYmd:
            if (value.typeId() == QMetaType::QDate) {
                return value.toDate().toString(QStringLiteral("yyyyMMdd"));
            }
            if (isNumber(value)) {
                const qint64 day = value.toLongLong();
                if (day <= 0) {
                    return {};
                }
                return QDate(1800, 12, 28).addDays(day).toString(QStringLiteral("yyyyMMdd"));
            }
            break;
        case Kind::Text:
            break;
    }
    QString text = value.toString();
    if (kind == Kind::Text && chars > 0 && text.size() > chars) {
        text.truncate(chars);
    }
    return text;
}

QStringList fieldNames(const Columns& columns) {
    QStringList names;
    for (const ColumnSpec& c : columns) {
        names.append(c.field);
    }
    return names;
}

int compareCells(const QVariant& a, const QVariant& b) {
    const bool aEmpty = !a.isValid() || a.isNull();
    const bool bEmpty = !b.isValid() || b.isNull();
    if (aEmpty || bEmpty) {
        return aEmpty == bEmpty ? 0 : (aEmpty ? -1 : 1);
    }
    if (isNumber(a) && isNumber(b)) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    if (a.typeId() == QMetaType::QDate && b.typeId() == QMetaType::QDate) {
        const QDate x = a.toDate();
        const QDate y = b.toDate();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    return a.toString().compare(b.toString(), Qt::CaseInsensitive);
}

}  // namespace ui
