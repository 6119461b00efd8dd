#pragma once
// Internal to the store: the shared state of one dictionary (its SQLite connection, error manager
// and home directory) and the storage of one physical record file in SQLite (table, keys, the
// statements that read and write it, and how it is attached, created and checked).
//
// Each record file is one SQLite database with one table named after the file ("BEDRIJVEN") with
// one column per field, named after the field ("NAAM"), the identifier as INTEGER PRIMARY KEY,
// and one index per further key, named after the key ("By_Name"), that leaves out zero and blank
// values. Texts are stored as UTF-8 and compared by the VV_NOCASE collation.

#include "store/records.h"
#include "store/sqlite.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace platform {
class ErrorManager;
}

namespace store {

class StoreContext {
public:
    StoreContext(QString home, platform::ErrorManager& errorManager)
        : homeDir(std::move(home)), errors(errorManager) {}

    QString homeDir;
    platform::ErrorManager& errors;
    sql::Connection connection;
    std::function<void(bool)> busy;  // busy indication during a cascading delete
    // Whether a file or directory may be written (access(2) unless replaced).
    std::function<bool(const QString& path)> writable;
    int savepoints = 0;         // nesting depth of WriteTransaction savepoints
    uint64_t transactions = 0;  // number of the running (outermost) transaction
};

// The statements that read a file in the order of one key, at most ?3 records from the place.
struct KeyQueries {
    std::string first;       // first record
    std::string last;        // last record
    std::string atOrAfter;   // first record with key >= ?1
    std::string atOrBefore;  // last record with key <= ?1
    std::string after;       // first record after (?1, id ?2)
    std::string before;      // last record before (?1, id ?2)
    std::string equal;       // first record with key = ?1
};

// A write transaction over some record files: BEGIN (or a SAVEPOINT inside a transaction that
// is already running), then the write lock of every file, waiting at most waitMs for each.
class WriteTransaction {
public:
    explicit WriteTransaction(StoreContext& context) : m_context(context) {}
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    ~WriteTransaction();

    // False with the connection's error set and `failed` naming the file whose lock could not be
    // had (nullptr when BEGIN itself failed); nothing is then left running.
    [[nodiscard]] bool begin(const std::vector<class Storage*>& files, int waitMs,
                             class Storage** failed = nullptr);
    // False with the connection's error set; the transaction is then undone.
    [[nodiscard]] bool commit();
    void rollback();
    [[nodiscard]] bool active() const { return m_active; }

private:
    StoreContext& m_context;
    bool m_active = false;
    std::string m_savepoint;  // empty for a transaction of its own
};

class Storage {
public:
    Storage(const Layout& layout, StoreContext& context);

    [[nodiscard]] const Layout& layout() const { return m_layout; }
    [[nodiscard]] const std::string& schema() const { return m_schema; }
    [[nodiscard]] const std::string& table() const { return m_table; }  // "BEDRIJVEN"."BEDRIJVEN"
    [[nodiscard]] QString physicalName() const { return QString::fromLatin1(m_layout.physical); }
    [[nodiscard]] QString path() const;
    [[nodiscard]] bool attached() const { return m_attachCount > 0; }
    [[nodiscard]] bool readOnly() const { return m_readOnly; }

    // Counted attach/detach (base file and aliases share it). acquire() may throw FatalError.
    void acquire();
    void release();
    // A file closed while a transaction ran stays attached until it ends; this detaches it.
    void detachIfClosed();

    // Values of a record buffer bound to a statement as parameters ?first .. ?first+n-1 in field
    // order; a row's columns 0 .. n-1 decoded into a buffer.
    void bindRecord(sql::Statement& s, const unsigned char* record, int first) const;
    void decodeRow(const sql::Statement& s, unsigned char* record) const;
    // The record as storing and reading it back would give it (texts cut and padded).
    void normalize(unsigned char* record) const;
    void clear(unsigned char* record) const;

    // SQL texts.
    [[nodiscard]] const std::string& columns() const { return m_columns; }
    [[nodiscard]] std::string insertSql() const;
    [[nodiscard]] std::string updateSql() const;
    [[nodiscard]] std::string selectByIdSql() const;
    [[nodiscard]] std::string keyColumn(const KeyInfo& key) const;
    // WHERE term that leaves out zero and blank key values ("1" for the primary key).
    [[nodiscard]] std::string keyFilter(const KeyInfo& key) const;
    [[nodiscard]] std::string createSql() const;
    [[nodiscard]] std::vector<std::string> indexSql() const;
    [[nodiscard]] const KeyQueries& queries(const KeyInfo& key) const;

    // Takes the write lock of this file inside the current transaction, waiting as long as the
    // connection's busy timeout; false with the connection's error set. Nothing to do when the
    // running transaction holds it already.
    [[nodiscard]] bool lock();

    // Highest identifier in the file (0 when empty); false on a read error.
    [[nodiscard]] bool highestId(int64_t& id);

private:
    enum class KeyState { Sound, Damaged };
    void checkTable();
    [[nodiscard]] KeyState checkKeys();
    void rebuildKeys();
    [[nodiscard]] bool createTable();

    const Layout& m_layout;
    StoreContext& m_context;
    std::string m_schema;
    std::string m_table;
    std::string m_columns;
    std::vector<KeyQueries> m_queries;  // per key, in the layout's key order
    uint64_t m_lockedIn = 0;            // the transaction that holds this file's write lock
    int m_attachCount = 0;
    bool m_lingering = false;  // closed, but still attached because a transaction ran
    bool m_readOnly = false;
};

// Text conversions between record bytes (Windows-1252) and stored UTF-8.
[[nodiscard]] std::string cp1252ToUtf8(std::string_view bytes);
[[nodiscard]] std::string utf8ToCp1252(std::string_view utf8);

// Key-format version kept in every record file's user_version: a file with another value has
// keys built by other rules and gets them rebuilt.
inline constexpr int kKeyFormat = 1;

}  // namespace store
