#pragma once
// The data dictionary of one thread: the SQLite connection to the record files in the home
// directory, one file manager and one relation manager per file (in the order BEDRIJVEN,
// RUWHEID, BRONNEN, BERBRON, BEREKENINGEN, GEURGEVLOC, BERGGL, BRONCOPY, GGLCOPY, BEDCOPY), and
// transactions over several files.
//
//     platform::ErrorManager errors(sink);
//     store::Dictionary dict(homeDir, errors);
//     dict.bedrijvenRelations().open();          // BEDRIJVEN and every related file
//     auto& bed = dict.bedrijven();
//     if (bed.prime() == store::Status::Ok) {     // BED:ID reserved
//         store::setText(bed.record().naam, QStringLiteral("Jansen"));
//         (void)bed.insert();                     // fills the reserved record
//     }
//     bed.set(store::Key::BED_By_Name);
//     while (bed.next() == store::Status::Ok) { ... bed.record() ... }
//     (void)dict.bedrijvenRelations().remove(true);  // cascading delete of the current company
//     dict.bedrijvenRelations().close();
//
// Each record file is its own SQLite database under its physical name ("Bedrijven.tps" ...),
// attached to the connection on its first open. The connection's main database is the empty
// file ".vaduvevedu-store.sqlite" in the home directory (a temporary file when the home directory
// cannot be written), so that a transaction over several files commits or rolls back as a whole.
// Several processes may share one home directory; waits for another process's lock last up to
// 10 seconds (2 for a cascading delete).
//
// RUWHEID is listed (FileId::RUWHEID, its relation manager has no file manager): the roughness
// grid "Roughness.tps" is read by the calculation through its own reader; pathOf() gives its
// path, and setRuwheidHooks() lets that reader follow the opens and closes of the relation
// manager.
//
// Not thread-safe: one dictionary per thread.

#include "store/file_manager.h"
#include "store/relation_manager.h"

#include <QString>
#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

namespace platform {
class ErrorManager;
}

namespace store {

class Storage;
class StoreContext;
class WriteTransaction;

class Dictionary {
public:
    // Opens the connection; no record file is opened yet.
    Dictionary(const QString& homeDir, platform::ErrorManager& errors);
    ~Dictionary();
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    [[nodiscard]] const QString& homeDir() const;
    [[nodiscard]] platform::ErrorManager& errors();
    // Full path of a file's physical name in the home directory.
    [[nodiscard]] QString pathOf(FileId file) const;
    // Name of the connection's main database file in the home directory.
    static QString connectionFileName() { return QStringLiteral(".vaduvevedu-store.sqlite"); }

    BedrijvenFile& bedrijven();
    BronnenFile& bronnen();
    GeurgevlocFile& geurgevloc();
    BerekeningenFile& berekeningen();
    BerbronFile& berbron();
    BergglFile& berggl();
    BedrijvenFile& bedcopy();
    BronnenFile& broncopy();
    GeurgevlocFile& gglcopy();
    // The file manager of a file; nullptr for RUWHEID.
    [[nodiscard]] FileManager* file(FileId file);

    RelationManager& relations(FileId file);
    RelationManager& bedrijvenRelations() { return relations(FileId::BEDRIJVEN); }
    RelationManager& ruwheidRelations() { return relations(FileId::RUWHEID); }
    RelationManager& bronnenRelations() { return relations(FileId::BRONNEN); }
    RelationManager& berbronRelations() { return relations(FileId::BERBRON); }
    RelationManager& berekeningenRelations() { return relations(FileId::BEREKENINGEN); }
    RelationManager& geurgevlocRelations() { return relations(FileId::GEURGEVLOC); }
    RelationManager& bergglRelations() { return relations(FileId::BERGGL); }
    RelationManager& broncopyRelations() { return relations(FileId::BRONCOPY); }
    RelationManager& gglcopyRelations() { return relations(FileId::GGLCOPY); }
    RelationManager& bedcopyRelations() { return relations(FileId::BEDCOPY); }

    // ---- transactions of the caller ---------------------------------------------------------
    // Begins one transaction that takes the write lock of each file (which must be open),
    // waiting at most waitMs for each; every later insert, update and delete on this thread
    // belongs to it until commit() or rollback(). Failed when a transaction already runs or a
    // lock cannot be had (nothing is then left running; lastErrorText() and failedFile() tell
    // why). Shows no message.
    [[nodiscard]] Status beginTransaction(std::initializer_list<FileManager*> files,
                                          int waitMs = RelationManager::kLockWaitMs);
    // Commits; Failed (the transaction then undone) when that is impossible.
    [[nodiscard]] Status commit();
    void rollback();
    [[nodiscard]] bool inTransaction() const;
    [[nodiscard]] QString lastErrorText() const;
    // Physical name of the file whose lock beginTransaction() could not get.
    [[nodiscard]] QString failedFile() const { return m_failedFile; }

    // How long a read or write waits for a file that another process holds locked before it
    // fails (the lock recovery time, 10 seconds unless changed).
    void setLockRecovery(int milliseconds);

    // Replaces the check whether a record file or the home directory may be written (access(2)
    // by default), before the first open: a check that says no gives "Access Denied" and
    // read-only work on existing files and "File Creation Error" for missing ones, exactly as a
    // read-only directory does. For a read-only mode and for tests.
    void setWriteAccessCheck(std::function<bool(const QString& path)> writable);

    // Called with true before and false after the work of a cascading delete (busy cursor).
    void setBusyIndicator(std::function<void(bool)> busy);
    // Called when the relation manager of RUWHEID opens or closes it.
    void setRuwheidHooks(std::function<void()> open, std::function<void()> close);

private:
    friend class RelationManager;

    [[nodiscard]] Storage& storageOf(FileId file);
    void afterTransaction();

    std::unique_ptr<StoreContext> m_context;
    QString m_mainPath;
    bool m_mainIsTemporary = false;
    std::array<std::unique_ptr<Storage>, 7> m_storages;  // the physical files, by FileId
    std::array<std::unique_ptr<FileManager>, kFileCount> m_files;
    std::array<std::unique_ptr<RelationManager>, kFileCount> m_relations;
    std::unique_ptr<WriteTransaction> m_transaction;
    QString m_failedFile;
    std::function<void()> m_ruwheidOpen;
    std::function<void()> m_ruwheidClose;
};

// A caller's transaction that is undone unless committed.
class Transaction {
public:
    Transaction(Dictionary& dictionary, std::initializer_list<FileManager*> files,
                int waitMs = RelationManager::kLockWaitMs)
        : m_dictionary(dictionary), m_status(dictionary.beginTransaction(files, waitMs)) {}
    ~Transaction() {
        if (m_status == Status::Ok && !m_done) {
            m_dictionary.rollback();
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Ok when the transaction runs.
    [[nodiscard]] Status status() const { return m_status; }
    [[nodiscard]] Status commit() {
        if (m_status != Status::Ok || m_done) {
            return Status::Failed;
        }
        m_done = true;
        return m_dictionary.commit();
    }
    void rollback() {
        if (m_status == Status::Ok && !m_done) {
            m_done = true;
            m_dictionary.rollback();
        }
    }

private:
    Dictionary& m_dictionary;
    Status m_status;
    bool m_done = false;
};

}  // namespace store
