#include "test_support.h"

#include <QFile>
#include <ostream>
#include <stdexcept>

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        *out << (i > 0 ? ", " : "") << '"' << texts[i].toStdString() << '"';
    }
    *out << '}';
}

namespace calctest {

QString dataPath(const QString& name) {
    return QStringLiteral(VV_CALC_TEST_DATA "/") + name;
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write test file");
    }
}

calculation::GridqRow bron(int32_t id, const QString& label, int32_t x, int32_t y) {
    calculation::GridqRow row;
    row.type = calculation::kTypeBron;
    row.id = id;
    row.userId = calculation::padUserId(label);
    row.xPos = x;
    row.yPos = y;
    return row;
}

calculation::GridqRow ggl(int32_t id, const QString& label, int32_t x, int32_t y, double limit) {
    calculation::GridqRow row;
    row.type = calculation::kTypeGgl;
    row.id = id;
    row.userId = calculation::padUserId(label);
    row.xPos = x;
    row.yPos = y;
    row.limit = limit;
    return row;
}

QDateTime ScriptedClock::now() const {
    const QDateTime moment = m_moments.front();
    if (m_moments.size() > 1) {
        m_moments.pop_front();
    }
    return moment;
}

}  // namespace calctest
