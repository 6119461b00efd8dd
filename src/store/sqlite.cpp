#include "store/sqlite.h"

#include "platform/cp1252.h"

#include <sqlite3.h>
#include <QFile>

#include <array>
#include <cstring>

namespace store::sql {
namespace {

// One Unicode code point from UTF-8 as its Windows-1252 byte; characters outside the code page
// (which the store never writes) compare above every byte.
int nextByte(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    uint32_t cp = 0;
    std::size_t len = 1;
    if ((b0 & 0xE0) == 0xC0) {
        cp = b0 & 0x1Fu;
        len = 2;
    } else if ((b0 & 0xF0) == 0xE0) {
        cp = b0 & 0x0Fu;
        len = 3;
    } else if ((b0 & 0xF8) == 0xF0) {
        cp = b0 & 0x07u;
        len = 4;
    } else {
        ++i;
        return 0x100;
    }
    if (i + len > s.size()) {
        i = s.size();
        return 0x100;
    }
    for (std::size_t k = 1; k < len; ++k) {
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    }
    i += len;
    if (cp <= 0xFF && !(cp >= 0x80 && cp < 0xA0)) {
        return static_cast<int>(cp);
    }
    // The bytes 0x80..0x9F of Windows-1252.
    static constexpr std::array<uint16_t, 32> kHigh = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (std::size_t k = 0; k < kHigh.size(); ++k) {
        if (kHigh[k] == cp) {
            return static_cast<int>(0x80 + k);
        }
    }
    return 0x100;
}

// Converts to Windows-1252 bytes into `out` (characters outside the code page become 0xFF
// followed by nothing better; they never occur in stored texts) and drops trailing blanks.
void toBytes(std::string_view s, std::string& out) {
    out.clear();
    std::size_t i = 0;
    while (i < s.size()) {
        const int b = nextByte(s, i);
        out.push_back(static_cast<char>(b > 0xFF ? 0xFF : b));
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
}

int collate(void*, int lenA, const void* a, int lenB, const void* b) {
    return compareText(
        std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lenA)),
        std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lenB)));
}

}  // namespace

int compareText(std::string_view a, std::string_view b) {
    thread_local std::string ba;
    thread_local std::string bb;
    toBytes(a, ba);
    toBytes(b, bb);
    return platform::cp1252::compareNoCase(ba, bb);
}

std::string ident(std::string_view name) {
    std::string q = "\"";
    for (char c : name) {
        if (c == '"') {
            q += '"';
        }
        q += c;
    }
    q += '"';
    return q;
}

// ---- Statement --------------------------------------------------------------------------------

Statement::Statement(Statement&& other) noexcept : m_db(other.m_db), m_stmt(other.m_stmt) {
    other.m_stmt = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = other.m_stmt;
        other.m_stmt = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, int64_t value) {
    sqlite3_bind_int64(m_stmt, index, value);
}
void Statement::bind(int index, double value) {
    sqlite3_bind_double(m_stmt, index, value);
}
void Statement::bind(int index, std::string_view utf8) {
    sqlite3_bind_text(m_stmt, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}
void Statement::bindNull(int index) {
    sqlite3_bind_null(m_stmt, index);
}
int Statement::step() {
    return sqlite3_step(m_stmt);
}
void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}
int64_t Statement::columnInt(int index) const {
    return sqlite3_column_int64(m_stmt, index);
}
double Statement::columnDouble(int index) const {
    return sqlite3_column_double(m_stmt, index);
}
std::string_view Statement::columnText(int index) const {
    const auto* p = sqlite3_column_text(m_stmt, index);
    const int n = sqlite3_column_bytes(m_stmt, index);
    return p ? std::string_view(reinterpret_cast<const char*>(p), static_cast<std::size_t>(n))
             : std::string_view();
}
bool Statement::columnIsNull(int index) const {
    return sqlite3_column_type(m_stmt, index) == SQLITE_NULL;
}

Cached::~Cached() {
    if (m_s != nullptr && m_s->valid()) {
        m_s->reset();
    }
}

// ---- Connection -------------------------------------------------------------------------------

Connection::~Connection() {
    close();
}

bool Connection::open(const QString& mainPath) {
    close();
    const QByteArray path = QFile::encodeName(mainPath);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(
        path.constData(), &db,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI,
        nullptr);
    if (rc != SQLITE_OK) {
        setError(
            rc, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc)));
        sqlite3_close(db);
        return false;
    }
    m_db = db;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_create_collation(m_db, kCollation, SQLITE_UTF8, nullptr, collate);
    setBusyTimeout(10000);
    return true;
}

void Connection::close() {
    m_cache.clear();
    if (m_db != nullptr) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Connection::captureError() {
    if (m_db == nullptr) {
        return;
    }
    m_errorCode = sqlite3_errcode(m_db);
    m_extendedCode = sqlite3_extended_errcode(m_db);
    m_errorText = QString::fromUtf8(sqlite3_errmsg(m_db));
}

void Connection::setError(int code, const QString& text) {
    m_errorCode = code & 0xFF;
    m_extendedCode = code;
    m_errorText = text;
}

bool Connection::exec(const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        setError(sqlite3_extended_errcode(m_db),
                 message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc)));
        sqlite3_free(message);
        return false;
    }
    return true;
}

bool Connection::run(const std::string& sql) {
    Cached s = cached(sql);
    if (!s.valid()) {
        return false;
    }
    int rc;
    while ((rc = s->step()) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        captureError();
        return false;
    }
    return true;
}

Statement Connection::prepare(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        captureError();
        sqlite3_finalize(stmt);
        return {};
    }
    return Statement(m_db, stmt);
}

Cached Connection::cached(const std::string& sql) {
    auto it = m_cache.find(sql);
    if (it == m_cache.end()) {
        Statement s = prepare(sql);
        if (!s.valid()) {
            return Cached(nullptr);
        }
        it = m_cache.emplace(sql, std::make_unique<Statement>(std::move(s))).first;
    }
    return Cached(it->second.get());
}

void Connection::clearCache() {
    m_cache.clear();
}

bool Connection::attach(const std::string& schema, const QString& path, bool readOnly,
                        bool create) {
    // A URI keeps the file name free of SQL quoting; the mode states how it is opened.
    QByteArray uri = "file:" + QFile::encodeName(path).toPercentEncoding("/");
    uri += readOnly ? "?mode=ro" : (create ? "?mode=rwc" : "?mode=rw");
    Statement s = prepare("ATTACH DATABASE ?1 AS " + ident(schema));
    if (!s.valid()) {
        return false;
    }
    s.bind(1, std::string_view(uri.constData(), static_cast<std::size_t>(uri.size())));
    const int rc = s.step();
    if (rc != SQLITE_DONE) {
        // The message of a failed ATTACH repeats the URI; the code's own text says it plainly.
        captureError();
        m_errorText = QString::fromUtf8(sqlite3_errstr(m_extendedCode));
        return false;
    }
    return true;
}

bool Connection::detach(const std::string& schema) {
    clearCache();
    return exec("DETACH DATABASE " + ident(schema));
}

bool Connection::readOnly(const std::string& schema) const {
    return sqlite3_db_readonly(m_db, schema.c_str()) == 1;
}

bool Connection::inTransaction() const {
    return m_db != nullptr && sqlite3_get_autocommit(m_db) == 0;
}

void Connection::setBusyTimeout(int milliseconds) {
    m_busyTimeout = milliseconds;
    sqlite3_busy_timeout(m_db, milliseconds);
}

}  // namespace store::sql
