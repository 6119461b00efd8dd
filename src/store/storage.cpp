#include "store/storage.h"

#include "platform/cp1252.h"
#include "platform/messages.h"
#include "store/messages.h"

#include <sqlite3.h>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>

namespace store {

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        out.assign(bytes);
        return out;
    }
    const QByteArray utf8 = platform::cp1252::toUnicode(bytes).toUtf8();
    out.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    return out;
}

std::string utf8ToCp1252(std::string_view utf8) {
    for (char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return platform::cp1252::fromUnicode(
                QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
        }
    }
    return std::string(utf8);
}

namespace {

std::size_t textLength(const unsigned char* p, std::size_t limit) {
    std::size_t n = 0;
    while (n < limit && p[n] != 0) {
        ++n;
    }
    return n;
}

int32_t readInt32(const unsigned char* p) {
    int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void write(unsigned char* p, T v) {
    std::memcpy(p, &v, sizeof v);
}

template <typename T>
T read(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The bytes of a text field as they are stored: a NUL-terminated text up to its NUL (at most
// n-1), a fixed text up to a NUL without its padding blanks.
std::string_view storedBytes(const Field& f, const unsigned char* record) {
    const unsigned char* p = record + f.offset;
    if (f.type == FieldType::CText) {
        return {reinterpret_cast<const char*>(p), textLength(p, f.size - 1u)};
    }
    std::size_t n = textLength(p, f.size);
    while (n > 0 && p[n - 1] == ' ') {
        --n;
    }
    return {reinterpret_cast<const char*>(p), n};
}

void storeText(const Field& f, unsigned char* record, std::string_view bytes) {
    unsigned char* p = record + f.offset;
    const std::size_t capacity = f.type == FieldType::CText ? f.size - 1u : f.size;
    const std::size_t n = bytes.size() < capacity ? bytes.size() : capacity;
    std::memcpy(p, bytes.data(), n);
    std::memset(p + n, f.type == FieldType::CText ? 0 : ' ', f.size - n);
}

const char* sqlType(FieldType t) {
    switch (t) {
        case FieldType::Double:
        case FieldType::Float:
            return "REAL";
        case FieldType::CText:
        case FieldType::FixedText:
            return "TEXT";
        default:
            return "INTEGER";
    }
}

bool isText(FieldType t) {
    return t == FieldType::CText || t == FieldType::FixedText;
}

}  // namespace

Storage::Storage(const Layout& layout, StoreContext& context)
    : m_layout(layout),
      m_context(context),
      m_schema(layout.label),
      m_table(sql::ident(layout.label) + "." + sql::ident(layout.label)) {
    for (const Field& f : layout.fields) {
        if (!m_columns.empty()) {
            m_columns += ", ";
        }
        m_columns += sql::ident(f.name);
    }
    const std::string id = sql::ident(layout.fields[0].name);
    const std::string select = "SELECT " + m_columns + " FROM " + m_table + " WHERE ";
    for (const KeyInfo& k : layout.keys) {
        KeyQueries q;
        const std::string c = keyColumn(k);
        const std::string f = keyFilter(k);
        if (k.primary) {
            const std::string asc = " ORDER BY " + id + " LIMIT ?3";
            const std::string desc = " ORDER BY " + id + " DESC LIMIT ?3";
            q.first = select + "1" + asc;
            q.last = select + "1" + desc;
            q.atOrAfter = select + id + " >= ?1" + asc;
            q.atOrBefore = select + id + " <= ?1" + desc;
            q.after = select + id + " > ?2" + asc;
            q.before = select + id + " < ?2" + desc;
            q.equal = select + id + " = ?1";
        } else {
            const std::string asc = " ORDER BY " + c + ", " + id + " LIMIT ?3";
            const std::string desc = " ORDER BY " + c + " DESC, " + id + " DESC LIMIT ?3";
            q.first = select + f + asc;
            q.last = select + f + desc;
            q.atOrAfter = select + f + " AND " + c + " >= ?1" + asc;
            q.atOrBefore = select + f + " AND " + c + " <= ?1" + desc;
            q.after = select + f + " AND (" + c + ", " + id + ") > (?1, ?2)" + asc;
            q.before = select + f + " AND (" + c + ", " + id + ") < (?1, ?2)" + desc;
            q.equal = select + f + " AND " + c + " = ?1 ORDER BY " + c + ", " + id + " LIMIT 1";
        }
        m_queries.push_back(std::move(q));
    }
}

const KeyQueries& Storage::queries(const KeyInfo& key) const {
    return m_queries[static_cast<std::size_t>(&key - m_layout.keys.data())];
}

// ---- transactions -----------------------------------------------------------------------------

WriteTransaction::~WriteTransaction() {
    if (m_active) {
        rollback();
    }
}

bool WriteTransaction::begin(const std::vector<Storage*>& files, int waitMs, Storage** failed) {
    sql::Connection& c = m_context.connection;
    if (failed != nullptr) {
        *failed = nullptr;
    }
    if (c.inTransaction()) {
        m_savepoint = "vv_" + std::to_string(++m_context.savepoints);
        if (!c.run("SAVEPOINT " + m_savepoint)) {
            --m_context.savepoints;
            m_savepoint.clear();
            return false;
        }
    } else {
        m_savepoint.clear();
        if (!c.run("BEGIN")) {
            return false;
        }
        ++m_context.transactions;
    }
    m_active = true;
    const int previous = c.busyTimeout();
    if (waitMs != previous) {
        c.setBusyTimeout(waitMs);
    }
    for (Storage* s : files) {
        if (!s->attached()) {
            c.setError(SQLITE_MISUSE, QStringLiteral("File Not Open"));
        } else if (s->lock()) {
            continue;
        }
        const QString error = c.errorText();
        const int code = c.extendedErrorCode();
        c.setBusyTimeout(previous);
        rollback();
        c.setError(code, error);
        if (failed != nullptr) {
            *failed = s;
        }
        return false;
    }
    if (waitMs != previous) {
        c.setBusyTimeout(previous);
    }
    return true;
}

bool WriteTransaction::commit() {
    if (!m_active) {
        return true;
    }
    sql::Connection& c = m_context.connection;
    const bool ok = m_savepoint.empty() ? c.run("COMMIT") : c.run("RELEASE " + m_savepoint);
    if (!ok) {
        const QString error = c.errorText();
        const int code = c.extendedErrorCode();
        rollback();
        c.setError(code, error);
        return false;
    }
    if (!m_savepoint.empty()) {
        --m_context.savepoints;
    }
    m_active = false;
    return true;
}

void WriteTransaction::rollback() {
    if (!m_active) {
        return;
    }
    sql::Connection& c = m_context.connection;
    if (m_savepoint.empty()) {
        if (c.inTransaction()) {
            (void)c.run("ROLLBACK");
        }
    } else {
        (void)c.run("ROLLBACK TO " + m_savepoint);
        (void)c.run("RELEASE " + m_savepoint);
        --m_context.savepoints;
    }
    m_active = false;
}

QString Storage::path() const {
    return QDir(m_context.homeDir).filePath(physicalName());
}

// ---- records and rows -------------------------------------------------------------------------

void Storage::bindRecord(sql::Statement& s, const unsigned char* record, int first) const {
    int index = first;
    for (const Field& f : m_layout.fields) {
        const unsigned char* p = record + f.offset;
        switch (f.type) {
            case FieldType::Int32:
                s.bind(index, static_cast<int64_t>(readInt32(p)));
                break;
            case FieldType::Byte:
                s.bind(index, static_cast<int64_t>(*p));
                break;
            case FieldType::Double:
                s.bind(index, read<double>(p));
                break;
            case FieldType::Float:
                s.bind(index, static_cast<double>(read<float>(p)));
                break;
            case FieldType::CText:
            case FieldType::FixedText:
                s.bind(index, std::string_view(cp1252ToUtf8(storedBytes(f, record))));
                break;
        }
        ++index;
    }
}

void Storage::decodeRow(const sql::Statement& s, unsigned char* record) const {
    int column = 0;
    for (const Field& f : m_layout.fields) {
        unsigned char* p = record + f.offset;
        switch (f.type) {
            case FieldType::Int32: {
                const int64_t v = s.columnInt(column);
                const bool fits = v >= std::numeric_limits<int32_t>::min() &&
                                  v <= std::numeric_limits<int32_t>::max();
                write(p, fits ? static_cast<int32_t>(v) : int32_t{0});
                break;
            }
            case FieldType::Byte:
                *p = static_cast<unsigned char>(s.columnInt(column) & 0xFF);
                break;
            case FieldType::Double:
                write(p, s.columnDouble(column));
                break;
            case FieldType::Float:
                write(p, static_cast<float>(s.columnDouble(column)));
                break;
            case FieldType::CText:
            case FieldType::FixedText:
                storeText(f, record, utf8ToCp1252(s.columnText(column)));
                break;
        }
        ++column;
    }
}

void Storage::normalize(unsigned char* record) const {
    for (const Field& f : m_layout.fields) {
        if (isText(f.type)) {
            const std::string bytes(storedBytes(f, record));
            storeText(f, record, bytes);
        } else if (f.type == FieldType::Double) {
            // SQLite keeps no NaN: it reads back as 0.
            if (std::isnan(read<double>(record + f.offset))) {
                write(record + f.offset, 0.0);
            }
        } else if (f.type == FieldType::Float) {
            if (std::isnan(read<float>(record + f.offset))) {
                write(record + f.offset, 0.0f);
            }
        }
    }
}

void Storage::clear(unsigned char* record) const {
    std::memset(record, 0, m_layout.size);
    for (const Field& f : m_layout.fields) {
        if (f.type == FieldType::FixedText) {
            std::memset(record + f.offset, ' ', f.size);
        }
    }
}

// ---- SQL --------------------------------------------------------------------------------------

std::string Storage::insertSql() const {
    std::string values;
    for (std::size_t i = 1; i <= m_layout.fields.size(); ++i) {
        values += (i > 1 ? ", ?" : "?") + std::to_string(i);
    }
    return "INSERT INTO " + m_table + " (" + m_columns + ") VALUES (" + values + ")";
}

std::string Storage::updateSql() const {
    std::string set;
    for (std::size_t i = 1; i < m_layout.fields.size(); ++i) {
        if (!set.empty()) {
            set += ", ";
        }
        set += sql::ident(m_layout.fields[i].name) + " = ?" + std::to_string(i + 1);
    }
    return "UPDATE " + m_table + " SET " + set + " WHERE " + sql::ident(m_layout.fields[0].name) +
           " = ?1";
}

std::string Storage::selectByIdSql() const {
    return "SELECT " + m_columns + " FROM " + m_table + " WHERE " +
           sql::ident(m_layout.fields[0].name) + " = ?1";
}

std::string Storage::keyColumn(const KeyInfo& key) const {
    return sql::ident(m_layout.fields[key.field].name);
}

std::string Storage::keyFilter(const KeyInfo& key) const {
    if (key.primary) {
        return "1";
    }
    const Field& f = m_layout.fields[key.field];
    if (isText(f.type)) {
        return "rtrim(" + sql::ident(f.name) + ") <> ''";
    }
    return sql::ident(f.name) + " <> 0";
}

std::string Storage::createSql() const {
    std::string sql = "CREATE TABLE IF NOT EXISTS " + m_table + " (";
    bool firstField = true;
    for (const Field& f : m_layout.fields) {
        if (!firstField) {
            sql += ", ";
        }
        sql += sql::ident(f.name) + " " + sqlType(f.type);
        if (firstField) {
            sql += " PRIMARY KEY";
        } else {
            sql += isText(f.type) ? " NOT NULL DEFAULT ''" : " NOT NULL DEFAULT 0";
            if (isText(f.type)) {
                sql += std::string(" COLLATE ") + sql::kCollation;
            }
        }
        firstField = false;
    }
    return sql + ")";
}

std::vector<std::string> Storage::indexSql() const {
    // The text kept in sqlite_schema for each index, as it is compared when a file is opened.
    std::vector<std::string> list;
    for (const KeyInfo& k : m_layout.keys) {
        if (k.primary) {
            continue;
        }
        list.push_back("CREATE INDEX " + sql::ident(k.name) + " ON " + sql::ident(m_layout.label) +
                       " (" + keyColumn(k) + ") WHERE " + keyFilter(k));
    }
    return list;
}

bool Storage::lock() {
    // A write statement that changes nothing takes the file's write lock for the transaction.
    sql::Connection& c = m_context.connection;
    if (c.inTransaction() && m_lockedIn == m_context.transactions) {
        return true;
    }
    if (!c.run("DELETE FROM " + m_table + " WHERE 0")) {
        return false;
    }
    m_lockedIn = m_context.transactions;
    return true;
}

bool Storage::highestId(int64_t& id) {
    auto s = m_context.connection.cached("SELECT max(" + sql::ident(m_layout.fields[0].name) +
                                         ") FROM " + m_table);
    if (!s.valid()) {
        return false;
    }
    const int rc = s->step();
    if (rc != SQLITE_ROW) {
        m_context.connection.captureError();
        return false;
    }
    id = s->columnIsNull(0) ? 0 : s->columnInt(0);
    return true;
}

// ---- attaching and checking -------------------------------------------------------------------

void Storage::acquire() {
    if (m_attachCount > 0 || m_lingering) {
        ++m_attachCount;
        m_lingering = false;
        return;
    }
    sql::Connection& c = m_context.connection;
    platform::ErrorManager& errors = m_context.errors;
    const QString file = physicalName();
    const QString fullPath = path();
    const QFileInfo info(fullPath);
    const bool exists = info.exists();

    if (!exists) {
        // Where the directory cannot be written, attaching for reading fails on the missing
        // file with SQLite's own reason.
        const bool canCreate = m_context.writable(info.absolutePath());
        if (!c.attach(m_schema, fullPath, !canCreate, canCreate)) {
            errors.fatal(msg::fileCreationErrorTitle(),
                         msg::fileCreationError(file, c.errorText()));
        }
        m_readOnly = false;
    } else {
        // No write access to the file, or to the directory where its journal goes.
        const bool writable =
            m_context.writable(fullPath) && m_context.writable(info.absolutePath());
        bool attachedRw = false;
        if (writable) {
            attachedRw = c.attach(m_schema, fullPath, false, false);
            if (!attachedRw && (c.errorCode() != SQLITE_READONLY && c.errorCode() != SQLITE_PERM &&
                                c.errorCode() != SQLITE_CANTOPEN)) {
                errors.fatal(msg::fileAccessErrorTitle(),
                             msg::fileAccessError(file, c.errorText()));
            }
        }
        if (attachedRw && c.readOnly(m_schema)) {
            // SQLite fell back to reading only: treat as no write access.
            (void)c.detach(m_schema);
            attachedRw = false;
        }
        if (!attachedRw) {
            errors.notice(msg::accessDeniedTitle(), msg::accessDenied(file));
            if (!c.attach(m_schema, fullPath, true, false)) {
                errors.fatal(msg::fileAccessErrorTitle(),
                             msg::fileAccessError(file, c.errorText()));
            }
            m_readOnly = true;
        } else {
            m_readOnly = false;
        }
    }
    m_attachCount = 1;
    try {
        checkTable();
    } catch (...) {
        (void)c.detach(m_schema);
        m_attachCount = 0;
        throw;
    }
}

void Storage::release() {
    if (m_attachCount == 0) {
        return;
    }
    if (--m_attachCount == 0) {
        m_lingering = true;
        detachIfClosed();
    }
}

void Storage::detachIfClosed() {
    if (!m_lingering || m_context.connection.inTransaction()) {
        return;
    }
    if (m_context.connection.detach(m_schema)) {
        m_lingering = false;
        m_readOnly = false;
    }
}

bool Storage::createTable() {
    sql::Connection& c = m_context.connection;
    // Taking the file's write lock first makes the check and the creation one step for every
    // process that opens the new file at the same time.
    if (!c.exec("BEGIN")) {
        return false;
    }
    bool ok = c.exec("PRAGMA " + sql::ident(m_schema) +
                     ".user_version = " + std::to_string(kKeyFormat)) &&
              c.exec(createSql());
    if (ok) {
        for (const std::string& index : indexSql()) {
            // IF NOT EXISTS for a second process that created the file just before.
            std::string sql = index;
            sql.replace(0, std::strlen("CREATE INDEX "),
                        "CREATE INDEX IF NOT EXISTS " + sql::ident(m_schema) + ".");
            // The index name after the schema: "BEDRIJVEN"."By_Name" ON "BEDRIJVEN" (...)
            if (!c.exec(sql)) {
                ok = false;
                break;
            }
        }
    }
    if (!ok) {
        const QString error = c.errorText();
        const int code = c.extendedErrorCode();
        (void)c.exec("ROLLBACK");
        c.setError(code, error);
        return false;
    }
    if (!c.exec("COMMIT")) {
        const QString error = c.errorText();
        const int code = c.extendedErrorCode();
        (void)c.exec("ROLLBACK");
        c.setError(code, error);
        return false;
    }
    return true;
}

void Storage::checkTable() {
    sql::Connection& c = m_context.connection;
    platform::ErrorManager& errors = m_context.errors;
    const QString file = physicalName();

    // Reading the schema is the first real read of the file: a file that is no database fails
    // here.
    std::vector<std::string> columns;
    {
        sql::Statement s = c.prepare("SELECT name FROM pragma_table_info(?1, ?2) ORDER BY cid");
        if (!s.valid()) {
            errors.fatal(msg::fileAccessErrorTitle(), msg::fileAccessError(file, c.errorText()));
        }
        s.bind(1, std::string_view(m_layout.label));
        s.bind(2, std::string_view(m_schema));
        int rc;
        while ((rc = s.step()) == SQLITE_ROW) {
            columns.emplace_back(s.columnText(0));
        }
        if (rc != SQLITE_DONE) {
            c.captureError();
            errors.fatal(msg::fileAccessErrorTitle(), msg::fileAccessError(file, c.errorText()));
        }
    }
    if (columns.empty()) {
        // A new file, or an empty database (a file of zero bytes): create the table and keys.
        if (m_readOnly || !createTable()) {
            const QString error =
                m_readOnly ? QStringLiteral("attempt to write a readonly database") : c.errorText();
            errors.fatal(msg::fileCreationErrorTitle(), msg::fileCreationError(file, error));
        }
        return;
    }
    bool layoutMatches = columns.size() == m_layout.fields.size();
    for (std::size_t i = 0; layoutMatches && i < columns.size(); ++i) {
        layoutMatches = sqlite3_stricmp(columns[i].c_str(), m_layout.fields[i].name) == 0;
    }
    if (!layoutMatches) {
        errors.fatal(
            msg::fileAccessErrorTitle(),
            msg::fileAccessError(file, QStringLiteral("the record layout does not match")));
    }
    if (checkKeys() == KeyState::Damaged) {
        errors.notice(msg::invalidKeyTitle(), msg::invalidKey(file));
        rebuildKeys();
    }
    if (!m_readOnly) {
        // A file that another tool put in WAL mode would fall out of transactions over several
        // files: back to a rollback journal.
        sql::Statement mode = c.prepare("PRAGMA " + sql::ident(m_schema) + ".journal_mode");
        if (mode.valid() && mode.step() == SQLITE_ROW &&
            sqlite3_stricmp(std::string(mode.columnText(0)).c_str(), "delete") != 0) {
            mode = sql::Statement();
            (void)c.exec("PRAGMA " + sql::ident(m_schema) + ".journal_mode = DELETE");
        }
    }
}

Storage::KeyState Storage::checkKeys() {
    sql::Connection& c = m_context.connection;
    std::set<std::string> found;
    {
        sql::Statement s = c.prepare("SELECT sql FROM " + sql::ident(m_schema) +
                                     ".sqlite_schema WHERE type = 'index' AND tbl_name = ?1 "
                                     "AND sql IS NOT NULL");
        if (!s.valid()) {
            return KeyState::Damaged;
        }
        s.bind(1, std::string_view(m_layout.label));
        int rc;
        while ((rc = s.step()) == SQLITE_ROW) {
            found.emplace(s.columnText(0));
        }
        if (rc != SQLITE_DONE) {
            return KeyState::Damaged;
        }
    }
    std::set<std::string> expected;
    for (const std::string& index : indexSql()) {
        expected.insert(index);
    }
    if (found != expected) {
        return KeyState::Damaged;
    }
    sql::Statement v = c.prepare("PRAGMA " + sql::ident(m_schema) + ".user_version");
    if (!v.valid() || v.step() != SQLITE_ROW || v.columnInt(0) != kKeyFormat) {
        return KeyState::Damaged;
    }
    return KeyState::Sound;
}

void Storage::rebuildKeys() {
    sql::Connection& c = m_context.connection;
    const QString file = physicalName();
    auto fail = [&](const QString& error) {
        (void)c.exec("ROLLBACK");
        m_context.errors.fatal(msg::keyNotBuiltTitle(), msg::keyNotBuilt(file, error));
    };
    if (m_readOnly) {
        m_context.errors.fatal(
            msg::keyNotBuiltTitle(),
            msg::keyNotBuilt(file, QStringLiteral("attempt to write a readonly database")));
    }
    c.clearCache();
    if (!c.exec("BEGIN") || !c.exec("PRAGMA " + sql::ident(m_schema) +
                                    ".user_version = " + std::to_string(kKeyFormat))) {
        fail(c.errorText());
    }
    // Drop every index of the table, then build the keys anew.
    std::vector<std::string> names;
    {
        sql::Statement s = c.prepare("SELECT name FROM " + sql::ident(m_schema) +
                                     ".sqlite_schema WHERE type = 'index' AND tbl_name = ?1 "
                                     "AND sql IS NOT NULL");
        if (!s.valid()) {
            fail(c.errorText());
        }
        s.bind(1, std::string_view(m_layout.label));
        while (s.step() == SQLITE_ROW) {
            names.emplace_back(s.columnText(0));
        }
    }
    for (const std::string& name : names) {
        if (!c.exec("DROP INDEX " + sql::ident(m_schema) + "." + sql::ident(name))) {
            fail(c.errorText());
        }
    }
    for (const std::string& index : indexSql()) {
        std::string sql = index;
        sql.replace(0, std::strlen("CREATE INDEX "), "CREATE INDEX " + sql::ident(m_schema) + ".");
        if (!c.exec(sql)) {
            fail(c.errorText());
        }
    }
    if (!c.exec("REINDEX " + sql::ident(m_schema) + "." + sql::ident(m_layout.label)) ||
        !c.exec("COMMIT")) {
        fail(c.errorText());
    }
}

}  // namespace store
