#pragma once
// A temporary home directory with a dictionary on it, the messages recorded, and raw SQLite
// access to a record file for setting up damage or locks from outside the store.

#include "platform/messages.h"
#include "store/dictionary.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <ostream>
#include <string>

// Failures print the text, not the UTF-16 code units.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace store::test {

// Where temporary home directories go: memory (/dev/shm) when there is one, so that the many
// small commits of the tests cost no disk flushes; `onDisk` for tests that need a real file
// system (immutable files).
inline QString temporaryBase(bool onDisk) {
    if (!onDisk && QFileInfo(QStringLiteral("/dev/shm")).isWritable()) {
        return QStringLiteral("/dev/shm/vv-store-XXXXXX");
    }
    return QDir(QDir::tempPath()).filePath(QStringLiteral("vv-store-XXXXXX"));
}

struct Home {
    QTemporaryDir dir;
    platform::RecordingSink sink;
    platform::ErrorManager errors{sink};
    std::unique_ptr<Dictionary> dict;

    explicit Home(bool onDisk = false)
        : dir(temporaryBase(onDisk)), dict(std::make_unique<Dictionary>(dir.path(), errors)) {}
    [[nodiscard]] QString path(const char* name) const {
        return QDir(dir.path()).filePath(QString::fromLatin1(name));
    }
    // A second dictionary on the same home directory, as another station would have.
    [[nodiscard]] std::unique_ptr<Dictionary> other(platform::ErrorManager& e) const {
        return std::make_unique<Dictionary>(dir.path(), e);
    }
};

// Adds a company and returns its identifier.
inline int32_t addCompany(Dictionary& d, const QString& naam, int32_t datum = 0) {
    auto& bed = d.bedrijven();
    bed.clear();
    setText(bed.record().naam, naam);
    setText(bed.record().meteo, QStringLiteral("Eindhoven"));
    bed.record().aanmaakdatum = datum;
    EXPECT_EQ(bed.insert(), Status::Ok);
    return bed.record().id;
}

inline int32_t addBron(Dictionary& d, int32_t company, const QString& userId) {
    auto& bro = d.bronnen();
    EXPECT_EQ(bro.prime(), Status::Ok);
    bro.record().fkBedrijf = company;
    setText(bro.record().userId, userId);
    bro.record().xCoord = 155000;
    bro.record().yCoord = 463000;
    EXPECT_EQ(bro.insert(), Status::Ok);
    return bro.record().id;
}

inline int32_t addGgl(Dictionary& d, int32_t company, const QString& userId) {
    auto& ggl = d.geurgevloc();
    ggl.clear();
    ggl.record().fkBedrijf = company;
    setText(ggl.record().userId, userId);
    ggl.record().xCoor = 155300;
    ggl.record().yCoor = 463000;
    ggl.record().geurnorm = 2.0;
    EXPECT_EQ(ggl.insert(), Status::Ok);
    return ggl.record().id;
}

// A saved calculation of `company` with its frozen points and locations.
inline int32_t addCalculation(Dictionary& d, int32_t company, int points, int locations) {
    auto& ber = d.berekeningen();
    ber.clear();
    ber.record().fk = company;
    setText(ber.record().naam, QStringLiteral("Run"));
    EXPECT_EQ(ber.insert(), Status::Ok);
    const int32_t id = ber.record().id;
    auto& bb = d.berbron();
    for (int i = 0; i < points; ++i) {
        bb.clear();
        bb.record().fkBerekening = id;
        bb.record().xCoord = 155000 + i;
        bb.record().yCoord = 463000;
        EXPECT_EQ(bb.insert(), Status::Ok);
    }
    auto& bg = d.berggl();
    for (int i = 0; i < locations; ++i) {
        bg.clear();
        bg.record().fkBerekening = id;
        bg.record().xCoor = 155300 + i;
        bg.record().yCoor = 463000;
        EXPECT_EQ(bg.insert(), Status::Ok);
    }
    return id;
}

// Runs SQL on a record file through a connection of its own (outside the store).
class RawFile {
public:
    explicit RawFile(const QString& path) {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~RawFile() { sqlite3_close_v2(m_db); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;
    bool exec(const std::string& sql) {
        char* error = nullptr;
        const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error);
        if (rc != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << (error ? error : "?");
        }
        sqlite3_free(error);
        return rc == SQLITE_OK;
    }
    // The first column of the first row as an integer (-1 on failure).
    int64_t value(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        int64_t v = -1;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW) {
            v = sqlite3_column_int64(s, 0);
        }
        sqlite3_finalize(s);
        return v;
    }

    // The first column of the first row as text.
    std::string text(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        std::string v;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW) {
            v = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        }
        sqlite3_finalize(s);
        return v;
    }

private:
    sqlite3* m_db = nullptr;
};

}  // namespace store::test
