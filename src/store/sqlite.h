#pragma once
// Thin RAII layer over the SQLite C API for the record store: one Connection per dictionary (one
// per thread), the record files ATTACHed to it, prepared statements kept for reuse.
//
// The main database of a connection is a real, empty file in the home directory (never
// ":memory:" or a temporary database), so that a transaction that changes several attached files
// gets a super-journal and commits or rolls back as a whole, also when the process is killed.
// Every file stays in rollback-journal mode.

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace store::sql {

// Name of the collation that every text column uses: Windows-1252 letters compared without
// regard to case (é equals É), trailing blanks ignored. Registered on every connection.
inline constexpr const char* kCollation = "VV_NOCASE";

// Three-way comparison of two UTF-8 texts under kCollation.
[[nodiscard]] int compareText(std::string_view a, std::string_view b);

class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, sqlite3_stmt* stmt) : m_db(db), m_stmt(stmt) {}
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    ~Statement();

    [[nodiscard]] bool valid() const { return m_stmt != nullptr; }
    void bind(int index, int64_t value);
    void bind(int index, double value);
    void bind(int index, std::string_view utf8);
    void bindNull(int index);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    [[nodiscard]] int step();
    void reset();

    [[nodiscard]] int64_t columnInt(int index) const;
    [[nodiscard]] double columnDouble(int index) const;
    [[nodiscard]] std::string_view columnText(int index) const;
    [[nodiscard]] bool columnIsNull(int index) const;
    [[nodiscard]] sqlite3_stmt* handle() const { return m_stmt; }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

// A cached statement borrowed from the connection; reset (and its bindings cleared) when it goes
// out of scope so that it holds no lock.
class Cached {
public:
    explicit Cached(Statement* s) : m_s(s) {}
    Cached(const Cached&) = delete;
    Cached& operator=(const Cached&) = delete;
    ~Cached();
    [[nodiscard]] bool valid() const { return m_s != nullptr && m_s->valid(); }
    Statement* operator->() const { return m_s; }
    Statement& operator*() const { return *m_s; }

private:
    Statement* m_s;
};

class Connection {
public:
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    // Opens `mainPath` (created when missing) as the main database; returns false with
    // errorText() set when that fails.
    [[nodiscard]] bool open(const QString& mainPath);
    [[nodiscard]] bool isOpen() const { return m_db != nullptr; }
    void close();

    // Runs statements without results; false with errorText() on failure.
    [[nodiscard]] bool exec(const std::string& sql);
    // Runs one statement without results through the statement cache (for the statements that
    // recur: BEGIN, COMMIT, SAVEPOINT, a lock); false with errorText() on failure.
    [[nodiscard]] bool run(const std::string& sql);
    // A new statement, or an invalid one with errorText() set.
    [[nodiscard]] Statement prepare(const std::string& sql);
    // The statement of this text, prepared once and reused.
    [[nodiscard]] Cached cached(const std::string& sql);
    // Drops every cached statement (before a DETACH or a schema change).
    void clearCache();

    // Attaches `path` under `schema`: readOnly opens it for reading only, create makes a missing
    // file. False with errorText() set on failure.
    [[nodiscard]] bool attach(const std::string& schema, const QString& path, bool readOnly,
                              bool create);
    [[nodiscard]] bool detach(const std::string& schema);
    // True when the attached database can only be read.
    [[nodiscard]] bool readOnly(const std::string& schema) const;

    [[nodiscard]] bool inTransaction() const;
    // How long a statement waits for a file that another connection holds locked.
    void setBusyTimeout(int milliseconds);
    [[nodiscard]] int busyTimeout() const { return m_busyTimeout; }

    // The text of the last error (sqlite3_errmsg), or the text given by the caller.
    [[nodiscard]] QString errorText() const { return m_errorText; }
    [[nodiscard]] int errorCode() const { return m_errorCode; }
    [[nodiscard]] int extendedErrorCode() const { return m_extendedCode; }
    // Takes the error of the last failed call on the handle.
    void captureError();
    void setError(int code, const QString& text);

    [[nodiscard]] sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    int m_busyTimeout = 0;
    QString m_errorText;
    int m_errorCode = 0;
    int m_extendedCode = 0;
    std::unordered_map<std::string, std::unique_ptr<Statement>> m_cache;
};

// A quoted SQL identifier: "name".
[[nodiscard]] std::string ident(std::string_view name);

}  // namespace store::sql
