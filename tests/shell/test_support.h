#pragma once
// Small helpers shared by the shell tests.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

namespace shell_test {

inline QString dataFile(const char* name) {
    return QString::fromUtf8(VV_SHELL_TEST_DATA) + u'/' + QString::fromUtf8(name);
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline std::string str(const QString& s) {
    return s.toStdString();
}

}  // namespace shell_test
