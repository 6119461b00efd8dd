#include "columns.h"

#include "platform/pictures.h"

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
    if (picture.startsWith(QLatin1String("@s"), Qt::CaseInsensitive)) {
        QString text = value.toString();
        bool ok = false;
        const int chars = picture.mid(2).toInt(&ok);
        if (ok && chars > 0 && text.size() > chars) {
            text.truncate(chars);
        }
        return text;
    }
    if (picture.isEmpty()) {
        return value.toString();
    }
    if (value.typeId() == QMetaType::QDate) {
        const auto day = QDate(1800, 12, 28).daysTo(value.toDate());
        return platform::pictures::format(static_cast<double>(day), picture);
    }
    if (isNumber(value)) {
        return platform::pictures::format(value.toDouble(), picture);
    }
    return value.toString();
}

QStringList fieldNames(const Columns& columns) {
    QStringList names;
    for (const ColumnInfo& c : columns) {
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
