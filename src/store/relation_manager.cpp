#include "store/relation_manager.h"

#include "platform/messages.h"
#include "store/dictionary.h"
#include "store/messages.h"
#include "store/storage.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace store {
namespace {

int32_t int32At(const unsigned char* record, const Layout& layout, int field) {
    int32_t v;
    std::memcpy(&v, record + layout.fields[static_cast<std::size_t>(field)].offset, sizeof v);
    return v;
}

}  // namespace

RelationManager::RelationManager(FileId id, FileManager* file, Dictionary& dictionary,
                                 StoreContext& context)
    : m_id(id), m_file(file), m_dictionary(dictionary), m_context(context) {}

void RelationManager::setUp() {
    if (m_setUp) {
        return;
    }
    m_setUp = true;
    auto rm = [this](FileId f) { return &m_dictionary.relations(f); };
    auto children = [](RelationManager* child, Key key) {
        // Every link of this system is the parent's identifier (field 1) against the child's
        // second field.
        return Relation{child, true, Rule::None, Rule::Cascade, key, 0, 1};
    };
    auto parent = [](RelationManager* p) {
        return Relation{p, false, Rule::None, Rule::None, Key::BED_By_Id, 0, 0};
    };
    switch (m_id) {
        case FileId::BEDRIJVEN:
            m_relations = {children(rm(FileId::BEREKENINGEN), Key::BER_By_Fk),
                           children(rm(FileId::BRONNEN), Key::BRO_By_Fk),
                           children(rm(FileId::GEURGEVLOC), Key::GGL_By_Fk)};
            break;
        case FileId::BEREKENINGEN:
            m_relations = {parent(rm(FileId::BEDRIJVEN)),
                           children(rm(FileId::BERBRON), Key::BB_By_Fk),
                           children(rm(FileId::BERGGL), Key::BG_By_Fk)};
            break;
        case FileId::BRONNEN:
        case FileId::GEURGEVLOC:
            m_relations = {parent(rm(FileId::BEDRIJVEN))};
            break;
        case FileId::BERBRON:
        case FileId::BERGGL:
            m_relations = {parent(rm(FileId::BEREKENINGEN))};
            break;
        default:  // RUWHEID and the aliases
            break;
    }
}

const std::vector<RelationManager::Relation>& RelationManager::deleteRelations() {
    // An alias deletes with its base file's rules, so that a company deleted through BEDCOPY
    // leaves no orphans; it opens and inserts without relations.
    const FileId base = baseFile(m_id);
    if (base != m_id) {
        RelationManager& b = m_dictionary.relations(base);
        b.setUp();
        return b.m_relations;
    }
    setUp();
    return m_relations;
}

// ---- open and close ---------------------------------------------------------------------------

void RelationManager::open() {
    std::set<RelationManager*> visited;
    open(visited);
}

void RelationManager::close() {
    std::set<RelationManager*> visited;
    close(visited);
}

void RelationManager::open(std::set<RelationManager*>& visited) {
    if (!visited.insert(this).second) {
        return;
    }
    if (m_file != nullptr) {
        m_file->open();
    } else if (m_id == FileId::RUWHEID && m_dictionary.m_ruwheidOpen) {
        m_dictionary.m_ruwheidOpen();
    }
    setUp();
    for (const Relation& r : m_relations) {
        r.related->open(visited);
    }
}

void RelationManager::close(std::set<RelationManager*>& visited) {
    if (!visited.insert(this).second) {
        return;
    }
    if (m_file != nullptr) {
        m_file->close();
    } else if (m_id == FileId::RUWHEID && m_dictionary.m_ruwheidClose) {
        m_dictionary.m_ruwheidClose();
    }
    setUp();
    for (const Relation& r : m_relations) {
        r.related->close(visited);
    }
}

// ---- delete -----------------------------------------------------------------------------------

bool RelationManager::hasCascade() {
    const auto& list = deleteRelations();
    return std::any_of(list.begin(), list.end(),
                       [](const Relation& r) { return r.onDelete == Rule::Cascade; });
}

void RelationManager::collectCascade(std::vector<Storage*>& files) {
    Storage* own = &m_dictionary.storageOf(m_id);
    if (std::find(files.begin(), files.end(), own) == files.end()) {
        files.push_back(own);
    }
    for (const Relation& r : deleteRelations()) {
        if (r.onDelete == Rule::Cascade) {
            r.related->collectCascade(files);
        }
    }
}

bool RelationManager::deleteChildren(const unsigned char* parent, QString& failedFile,
                                     QString& error) {
    sql::Connection& c = m_context.connection;
    for (const Relation& r : deleteRelations()) {
        if (r.onDelete != Rule::Cascade) {
            continue;
        }
        RelationManager& child = *r.related;
        FileManager& cf = *child.m_file;
        Storage& cs = m_dictionary.storageOf(child.m_id);
        const int32_t value = int32At(parent, m_file->layout(), r.parentField);
        const std::string linkColumn =
            sql::ident(cf.layout().fields[static_cast<std::size_t>(r.childField)].name);
        if (!child.hasCascade()) {
            // Children without children of their own go in one statement. The key's own filter
            // term lets SQLite use its index, which leaves out the value 0.
            const KeyInfo* key = findKey(cf.layout(), r.childKey);
            auto s = c.cached("DELETE FROM " + cs.table() + " WHERE " + cs.keyFilter(*key) +
                              " AND " + linkColumn + " = ?1");
            if (s.valid()) {
                s->bind(1, static_cast<int64_t>(value));
                if (s->step() == SQLITE_DONE) {
                    continue;
                }
                c.captureError();
            }
            failedFile = cf.physicalName();
            error = c.errorText();
            return false;
        }
        // Children with children: in key order, each one's own children first.
        cf.set(r.childKey, value);
        std::vector<unsigned char> record(cf.layout().size);
        for (;;) {
            const Status st = cf.read(FileManager::Direction::Forward, false);
            if (st == Status::EndOfFile) {
                break;
            }
            if (st != Status::Ok) {
                failedFile = cf.physicalName();
                error = c.errorText();
                return false;
            }
            if (int32At(cf.buffer(), cf.layout(), r.childField) != value) {
                break;
            }
            std::memcpy(record.data(), cf.buffer(), record.size());
            if (!child.deleteChildren(record.data(), failedFile, error)) {
                return false;
            }
            auto s = c.cached("DELETE FROM " + cs.table() + " WHERE " +
                              sql::ident(cf.layout().fields[0].name) + " = ?1");
            bool ok = s.valid();
            if (ok) {
                s->bind(1, static_cast<int64_t>(int32At(record.data(), cf.layout(), 0)));
                ok = s->step() == SQLITE_DONE;
                if (!ok) {
                    c.captureError();
                }
            }
            if (!ok) {
                failedFile = cf.physicalName();
                error = c.errorText();
                return false;
            }
        }
    }
    return true;
}

DeleteResult RelationManager::remove(bool ask) {
    if (m_file == nullptr) {
        return DeleteResult::Failed;
    }
    platform::ErrorManager& errors = m_context.errors;
    if (ask && !errors.ask(msg::confirmDeleteTitle(), msg::confirmDelete(), platform::No)) {
        return DeleteResult::Cancelled;
    }
    FileManager& f = *m_file;
    const int64_t position = [&] {
        int32_t id;
        std::memcpy(&id, f.buffer(), sizeof id);
        return static_cast<int64_t>(id);
    }();
    auto busy = [this](bool on) {
        if (m_context.busy) {
            m_context.busy(on);
        }
    };
    for (;;) {
        busy(true);
        open();
        std::vector<Storage*> files;
        collectCascade(files);
        WriteTransaction tx(m_context);
        Storage* failed = nullptr;
        if (!tx.begin(files, kLockWaitMs, &failed)) {
            const QString error = m_context.connection.errorText();
            busy(false);
            close();
            errors.notice(msg::transactionCancelledTitle(),
                          msg::transactionCancelled(
                              failed ? failed->physicalName() : f.physicalName(), error));
            return DeleteResult::Failed;
        }
        QString failedFile;
        QString error;
        bool childFailed = false;
        bool ownFailed = false;
        const Status got = f.reget(position);
        if (got != Status::Ok) {
            ownFailed = true;
            error = got == Status::NotFound ? QStringLiteral("Record Not Found")
                                            : m_context.connection.errorText();
        } else if (!deleteChildren(f.buffer(), failedFile, error)) {
            childFailed = true;
        } else {
            sql::Connection& c = m_context.connection;
            Storage& own = m_dictionary.storageOf(m_id);
            auto s = c.cached("DELETE FROM " + own.table() + " WHERE " +
                              sql::ident(f.layout().fields[0].name) + " = ?1");
            bool ok = s.valid();
            if (ok) {
                s->bind(1, position);
                ok = s->step() == SQLITE_DONE;
                if (!ok) {
                    c.captureError();
                }
            }
            if (!ok || !tx.commit()) {
                ownFailed = true;
                error = c.errorText();
            }
        }
        if (childFailed || ownFailed) {
            tx.rollback();
            if (childFailed) {
                errors.notice(msg::deleteErrorTitle(), msg::deleteError(failedFile, error));
            } else {
                errors.notice(msg::deleteErrorTitle(), msg::deleteError(f.physicalName(), error));
            }
        } else {
            if (f.m_reserved == position) {
                f.m_reserved = 0;
            }
            f.m_haveRead = false;
        }
        busy(false);
        close();
        if (childFailed) {
            f.m_lastError = error;
            return DeleteResult::Failed;
        }
        if (!ownFailed) {
            return DeleteResult::Done;
        }
        f.m_lastError = error;
        if (!errors.ask(msg::deleteRetryTitle(), msg::deleteRetry(), platform::No)) {
            return DeleteResult::Failed;
        }
    }
}

Status RelationManager::update() {
    if (m_file == nullptr) {
        return Status::Failed;
    }
    return m_file->update();
}

Status RelationManager::cancelPrime() {
    if (m_file == nullptr) {
        return Status::Ok;
    }
    return m_file->cancelPrime();
}

}  // namespace store
