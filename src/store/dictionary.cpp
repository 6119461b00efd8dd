#include "store/dictionary.h"

#include "platform/messages.h"
#include "store/messages.h"
#include "store/storage.h"

#include <sqlite3.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>

namespace store {
namespace {

std::atomic<int> g_temporaryCounter{0};

template <typename R>
std::unique_ptr<FileManager> makeFile(FileId id, StoreContext& context, Storage& storage) {
    return std::make_unique<RecordFile<R>>(id, context, storage);
}

}  // namespace

Dictionary::Dictionary(const QString& homeDir, platform::ErrorManager& errors)
    : m_context(std::make_unique<StoreContext>(QDir(homeDir).absolutePath(), errors)) {
    m_context->writable = [](const QString& path) {
        return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
    };
    sql::Connection& c = m_context->connection;
    const QString home = m_context->homeDir;
    const QString inHome = QDir(home).filePath(connectionFileName());
    const bool homeWritable = ::access(QFile::encodeName(home).constData(), W_OK) == 0;
    auto usable = [&c]() { return c.exec("PRAGMA main.schema_version"); };
    if ((homeWritable || QFileInfo::exists(inHome)) && c.open(inHome) && usable()) {
        m_mainPath = inHome;
    } else {
        // Without a writable home directory nothing can be written anyway; a temporary main
        // database still gives every record file the same connection.
        m_mainPath = QDir(QDir::tempPath())
                         .filePath(QStringLiteral("vaduvevedu-store-%1-%2.sqlite")
                                       .arg(QCoreApplication::applicationPid())
                                       .arg(g_temporaryCounter.fetch_add(1)));
        m_mainIsTemporary = true;
        if (!c.open(m_mainPath) || !usable()) {
            errors.fatal(msg::fileAccessErrorTitle(),
                         msg::fileAccessError(connectionFileName(), c.errorText()));
        }
    }
    for (std::size_t i = 0; i < m_storages.size(); ++i) {
        const auto id = static_cast<FileId>(i);
        if (id != FileId::RUWHEID) {
            m_storages[i] = std::make_unique<Storage>(layoutOf(id), *m_context);
        }
    }
    for (std::size_t i = 0; i < kFileCount; ++i) {
        const auto id = static_cast<FileId>(i);
        Storage* storage = m_storages[static_cast<std::size_t>(baseFile(id))].get();
        switch (baseFile(id)) {
            case FileId::BEDRIJVEN:
                m_files[i] = makeFile<BedrijvenRecord>(id, *m_context, *storage);
                break;
            case FileId::BRONNEN:
                m_files[i] = makeFile<BronnenRecord>(id, *m_context, *storage);
                break;
            case FileId::GEURGEVLOC:
                m_files[i] = makeFile<GeurgevlocRecord>(id, *m_context, *storage);
                break;
            case FileId::BEREKENINGEN:
                m_files[i] = makeFile<BerekeningenRecord>(id, *m_context, *storage);
                break;
            case FileId::BERBRON:
                m_files[i] = makeFile<BerbronRecord>(id, *m_context, *storage);
                break;
            case FileId::BERGGL:
                m_files[i] = makeFile<BergglRecord>(id, *m_context, *storage);
                break;
            default:
                break;
        }
        m_relations[i].reset(new RelationManager(id, m_files[i].get(), *this, *m_context));
    }
}

Dictionary::~Dictionary() {
    m_transaction.reset();
    if (m_context->connection.inTransaction()) {
        (void)m_context->connection.exec("ROLLBACK");
    }
    m_relations = {};
    m_files = {};
    m_storages = {};
    m_context->connection.close();
    if (m_mainIsTemporary) {
        QFile::remove(m_mainPath);
        QFile::remove(m_mainPath + QStringLiteral("-journal"));
    }
}

const QString& Dictionary::homeDir() const {
    return m_context->homeDir;
}
platform::ErrorManager& Dictionary::errors() {
    return m_context->errors;
}

QString Dictionary::pathOf(FileId file) const {
    return QDir(m_context->homeDir).filePath(QString::fromLatin1(layoutOf(file).physical));
}

FileManager* Dictionary::file(FileId file) {
    return m_files[static_cast<std::size_t>(file)].get();
}

Storage& Dictionary::storageOf(FileId file) {
    return *m_storages[static_cast<std::size_t>(baseFile(file))];
}

RelationManager& Dictionary::relations(FileId file) {
    return *m_relations[static_cast<std::size_t>(file)];
}

BedrijvenFile& Dictionary::bedrijven() {
    return static_cast<BedrijvenFile&>(*file(FileId::BEDRIJVEN));
}
BronnenFile& Dictionary::bronnen() {
    return static_cast<BronnenFile&>(*file(FileId::BRONNEN));
}
GeurgevlocFile& Dictionary::geurgevloc() {
    return static_cast<GeurgevlocFile&>(*file(FileId::GEURGEVLOC));
}
BerekeningenFile& Dictionary::berekeningen() {
    return static_cast<BerekeningenFile&>(*file(FileId::BEREKENINGEN));
}
BerbronFile& Dictionary::berbron() {
    return static_cast<BerbronFile&>(*file(FileId::BERBRON));
}
BergglFile& Dictionary::berggl() {
    return static_cast<BergglFile&>(*file(FileId::BERGGL));
}
BedrijvenFile& Dictionary::bedcopy() {
    return static_cast<BedrijvenFile&>(*file(FileId::BEDCOPY));
}
BronnenFile& Dictionary::broncopy() {
    return static_cast<BronnenFile&>(*file(FileId::BRONCOPY));
}
GeurgevlocFile& Dictionary::gglcopy() {
    return static_cast<GeurgevlocFile&>(*file(FileId::GGLCOPY));
}

Status Dictionary::beginTransaction(std::initializer_list<FileManager*> files, int waitMs) {
    m_failedFile.clear();
    if (m_transaction || m_context->connection.inTransaction()) {
        m_context->connection.setError(SQLITE_MISUSE,
                                       QStringLiteral("a transaction is already running"));
        return Status::Failed;
    }
    std::vector<Storage*> storages;
    for (FileManager* f : files) {
        Storage* s = &storageOf(f->id());
        if (std::find(storages.begin(), storages.end(), s) == storages.end()) {
            storages.push_back(s);
        }
    }
    auto tx = std::make_unique<WriteTransaction>(*m_context);
    Storage* failed = nullptr;
    if (!tx->begin(storages, waitMs, &failed)) {
        m_failedFile = failed ? failed->physicalName() : QString();
        return Status::Failed;
    }
    m_transaction = std::move(tx);
    return Status::Ok;
}

Status Dictionary::commit() {
    if (!m_transaction) {
        return Status::Failed;
    }
    const bool ok = m_transaction->commit();
    afterTransaction();
    return ok ? Status::Ok : Status::Failed;
}

void Dictionary::rollback() {
    if (!m_transaction) {
        return;
    }
    m_transaction->rollback();
    afterTransaction();
}

void Dictionary::afterTransaction() {
    m_transaction.reset();
    for (auto& s : m_storages) {
        if (s) {
            s->detachIfClosed();
        }
    }
}

bool Dictionary::inTransaction() const {
    return m_transaction != nullptr;
}

QString Dictionary::lastErrorText() const {
    return m_context->connection.errorText();
}

void Dictionary::setLockRecovery(int milliseconds) {
    m_context->connection.setBusyTimeout(milliseconds);
}

void Dictionary::setWriteAccessCheck(std::function<bool(const QString& path)> writable) {
    m_context->writable = std::move(writable);
}

void Dictionary::setBusyIndicator(std::function<void(bool)> busy) {
    m_context->busy = std::move(busy);
}

void Dictionary::setRuwheidHooks(std::function<void()> open, std::function<void()> close) {
    m_ruwheidOpen = std::move(open);
    m_ruwheidClose = std::move(close);
}

}  // namespace store
