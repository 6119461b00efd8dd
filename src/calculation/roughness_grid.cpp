#include "calculation/roughness_grid.h"

#include <sqlite3.h>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <bit>
#include <cstdio>
#include <cstring>

namespace calculation {

namespace {

const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS ruwheid (rij INTEGER PRIMARY KEY, cellen BLOB NOT NULL);"
    "CREATE TABLE IF NOT EXISTS meta (naam TEXT PRIMARY KEY, waarde TEXT NOT NULL);";

const char* const kSeek =
    "SELECT rij, cellen FROM ruwheid WHERE rij >= ?1 AND rij < 3250 ORDER BY rij LIMIT 1";

QString sqliteError(sqlite3* db) {
    return db != nullptr ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

float floatFromBytes(const unsigned char* bytes) {
    uint32_t bits = 0;
    std::memcpy(&bits, bytes, sizeof bits);
    if constexpr (std::endian::native == std::endian::big) {
        bits = __builtin_bswap32(bits);
    }
    return std::bit_cast<float>(bits);
}

void floatToBytes(float value, unsigned char* bytes) {
    uint32_t bits = std::bit_cast<uint32_t>(value);
    if constexpr (std::endian::native == std::endian::big) {
        bits = __builtin_bswap32(bits);
    }
    std::memcpy(bytes, &bits, sizeof bits);
}

bool hasTable(sqlite3* db, const char* name, int& rc) {
    sqlite3_stmt* statement = nullptr;
    rc = sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1",
                            -1, &statement, nullptr);
    if (rc != SQLITE_OK) {
        return false;
    }
    sqlite3_bind_text(statement, 1, name, -1, SQLITE_STATIC);
    rc = sqlite3_step(statement);
    const bool found = rc == SQLITE_ROW;
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
        rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    return found;
}

}  // namespace

std::unique_ptr<RoughnessGrid> RoughnessGrid::open(const QString& path,
                                                   platform::ErrorManager& errors) {
    std::unique_ptr<RoughnessGrid> grid(new RoughnessGrid());
    grid->m_path = path;
    const QByteArray name = QFile::encodeName(path);
    const bool exists = QFileInfo::exists(path);

    int rc = sqlite3_open_v2(name.constData(), &grid->m_db,
                             SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE), nullptr);
    if (rc != SQLITE_OK) {
        const QString why = sqliteError(grid->m_db);
        if (!exists) {
            errors.fatal(QStringLiteral("File Creation Error"),
                         QStringLiteral("Error: (%1) creating %2.").arg(why, path));
        }
        sqlite3_close(grid->m_db);
        grid->m_db = nullptr;
        rc = sqlite3_open_v2(name.constData(), &grid->m_db, SQLITE_OPEN_READONLY, nullptr);
        if (rc != SQLITE_OK) {
            errors.fatal(QStringLiteral("File Access Error"),
                         QStringLiteral("File %1 could not be opened.  Error: %2.")
                             .arg(path, sqliteError(grid->m_db)));
        }
    }
    sqlite3_busy_timeout(grid->m_db, 10000);
    grid->m_readOnly = sqlite3_db_readonly(grid->m_db, "main") == 1;
    if (grid->m_readOnly) {
        errors.notice(
            QStringLiteral("Access Denied"),
            QStringLiteral("Could not get write access to %1 so trying read-only.").arg(path));
    }

    // A file that is not a database at all fails here; an empty one gets its tables.
    const bool present = hasTable(grid->m_db, "ruwheid", rc);
    if (rc != SQLITE_OK) {
        errors.fatal(QStringLiteral("File Access Error"),
                     QStringLiteral("File %1 could not be opened.  Error: %2.")
                         .arg(path, sqliteError(grid->m_db)));
    }
    if (!present && !grid->m_readOnly &&
        sqlite3_exec(grid->m_db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString why = sqliteError(grid->m_db);
        if (exists) {
            errors.fatal(QStringLiteral("File Access Error"),
                         QStringLiteral("File %1 could not be opened.  Error: %2.").arg(path, why));
        }
        errors.fatal(QStringLiteral("File Creation Error"),
                     QStringLiteral("Error: (%1) creating %2.").arg(why, path));
    }
    if (present || !grid->m_readOnly) {
        sqlite3_prepare_v3(grid->m_db, kSeek, -1, SQLITE_PREPARE_PERSISTENT, &grid->m_seek,
                           nullptr);
    }
    return grid;
}

RoughnessGrid::~RoughnessGrid() {
    sqlite3_finalize(m_seek);
    sqlite3_close(m_db);
}

bool RoughnessGrid::loadRowAtOrAfter(int32_t row) {
    m_bytes.clear();
    m_cellCount = 0;
    m_column = 0;
    m_atEnd = true;
    if (m_seek == nullptr) {
        return false;
    }
    sqlite3_reset(m_seek);
    sqlite3_bind_int(m_seek, 1, row);
    if (sqlite3_step(m_seek) != SQLITE_ROW) {
        sqlite3_reset(m_seek);
        return false;
    }
    m_row = sqlite3_column_int(m_seek, 0);
    // The row's bytes are kept as stored; a cell is decoded only when it is read.
    const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(m_seek, 1));
    const int size = sqlite3_column_bytes(m_seek, 1);
    const size_t count =
        std::min(static_cast<size_t>(size < 0 ? 0 : size) / 4, static_cast<size_t>(kGridColumns));
    m_bytes.assign(bytes, bytes + 4 * count);
    m_cellCount = count;
    sqlite3_reset(m_seek);
    m_atEnd = false;
    return true;
}

bool RoughnessGrid::set(int32_t number) {
    if (number < 1) {
        number = 1;
    }
    const int32_t row = (number - 1) / kGridColumns;
    const auto column = static_cast<size_t>((number - 1) % kGridColumns);
    if (!loadRowAtOrAfter(row)) {
        return false;
    }
    if (m_row == row) {
        m_column = column;
    }
    // Past the end of a short row: go on with the rows after it.
    while (m_column >= m_cellCount) {
        if (!loadRowAtOrAfter(m_row + 1)) {
            return false;
        }
    }
    return true;
}

bool RoughnessGrid::next(int32_t& number, float& value) {
    while (!m_atEnd && m_column >= m_cellCount) {
        loadRowAtOrAfter(m_row + 1);
    }
    if (m_atEnd) {
        return false;
    }
    number = cellNumber(static_cast<int32_t>(m_column), m_row);
    value = floatFromBytes(m_bytes.data() + 4 * m_column);
    ++m_column;
    return true;
}

std::optional<float> RoughnessGrid::value(int32_t number) {
    int32_t found = 0;
    float cell = 0;
    if (!set(number) || !next(found, cell) || found != number) {
        return std::nullopt;
    }
    return cell;
}

QString RoughnessGrid::meta(const QString& key) const {
    sqlite3_stmt* statement = nullptr;
    QString result;
    if (sqlite3_prepare_v2(m_db, "SELECT waarde FROM meta WHERE naam = ?1", -1, &statement,
                           nullptr) == SQLITE_OK) {
        const QByteArray utf8 = key.toUtf8();
        sqlite3_bind_text(statement, 1, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
        if (sqlite3_step(statement) == SQLITE_ROW) {
            result =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        }
    }
    sqlite3_finalize(statement);
    return result;
}

int32_t RoughnessGrid::rowCount() const {
    sqlite3_stmt* statement = nullptr;
    int32_t count = 0;
    if (sqlite3_prepare_v2(m_db, "SELECT count(*) FROM ruwheid", -1, &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        count = sqlite3_column_int(statement, 0);
    }
    sqlite3_finalize(statement);
    return count;
}

bool writeRoughnessFile(const QString& path, const RowSource& row,
                        const std::map<QString, QString>& meta, QString& error) {
    const QString temporary =
        path + QStringLiteral(".tmp-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    const QByteArray temporaryName = QFile::encodeName(temporary);
    sqlite3* db = nullptr;
    sqlite3_stmt* insertRow = nullptr;
    sqlite3_stmt* insertMeta = nullptr;
    bool ok = false;
    auto fail = [&](const QString& what) {
        error = QStringLiteral("Het ruwheidsbestand %1 kon niet worden geschreven: %2.")
                    .arg(path, what);
    };

    if (sqlite3_open_v2(temporaryName.constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE,
                        nullptr) != SQLITE_OK) {
        fail(sqliteError(db));
    } else if (sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;", nullptr,
                            nullptr, nullptr) != SQLITE_OK ||
               sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK ||
               sqlite3_prepare_v2(db, "INSERT INTO ruwheid (rij, cellen) VALUES (?1, ?2)", -1,
                                  &insertRow, nullptr) != SQLITE_OK ||
               sqlite3_prepare_v2(db, "INSERT INTO meta (naam, waarde) VALUES (?1, ?2)", -1,
                                  &insertMeta, nullptr) != SQLITE_OK) {
        fail(sqliteError(db));
    } else {
        ok = true;
        std::vector<float> cells;
        std::vector<unsigned char> bytes;
        for (int32_t r = 0; ok && r < kGridRows; ++r) {
            cells.clear();
            if (!row(r, cells)) {
                continue;
            }
            cells.resize(std::min(cells.size(), static_cast<size_t>(kGridColumns)));
            bytes.resize(cells.size() * 4);
            for (size_t i = 0; i < cells.size(); ++i) {
                floatToBytes(cells[i], bytes.data() + 4 * i);
            }
            sqlite3_bind_int(insertRow, 1, r);
            sqlite3_bind_blob(insertRow, 2, bytes.data(), static_cast<int>(bytes.size()),
                              SQLITE_STATIC);
            ok = sqlite3_step(insertRow) == SQLITE_DONE;
            sqlite3_reset(insertRow);
        }
        for (const auto& [key, value] : meta) {
            if (!ok) {
                break;
            }
            const QByteArray k = key.toUtf8();
            const QByteArray v = value.toUtf8();
            sqlite3_bind_text(insertMeta, 1, k.constData(), static_cast<int>(k.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_text(insertMeta, 2, v.constData(), static_cast<int>(v.size()),
                              SQLITE_TRANSIENT);
            ok = sqlite3_step(insertMeta) == SQLITE_DONE;
            sqlite3_reset(insertMeta);
        }
        ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        if (!ok) {
            fail(sqliteError(db));
        }
    }
    sqlite3_finalize(insertRow);
    sqlite3_finalize(insertMeta);
    if (db != nullptr && sqlite3_close(db) != SQLITE_OK && ok) {
        ok = false;
        fail(sqliteError(db));
    }
    if (ok && std::rename(temporaryName.constData(), QFile::encodeName(path).constData()) != 0) {
        ok = false;
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!ok) {
        QFile::remove(temporary);
    }
    return ok;
}

}  // namespace calculation
