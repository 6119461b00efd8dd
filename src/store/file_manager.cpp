#include "store/file_manager.h"

#include "platform/messages.h"
#include "store/messages.h"
#include "store/storage.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace store {
namespace {

constexpr int kReadAheadMax = 256;
constexpr int64_t kReadAheadNs = 10'000'000;  // 10 ms

int32_t idOf(const unsigned char* record) {
    int32_t id;
    std::memcpy(&id, record, sizeof id);
    return id;
}

void setId(unsigned char* record, int64_t id) {
    const auto v = static_cast<int32_t>(id);
    std::memcpy(record, &v, sizeof v);
}

// Failures that another process causes for a moment and that a new attempt may overcome.
bool transient(int extendedCode) {
    const int primary = extendedCode & 0xFF;
    return extendedCode == SQLITE_CONSTRAINT_PRIMARYKEY || primary == SQLITE_BUSY ||
           primary == SQLITE_LOCKED;
}

bool uniqueViolation(int extendedCode) {
    return extendedCode == SQLITE_CONSTRAINT_PRIMARYKEY || extendedCode == SQLITE_CONSTRAINT_UNIQUE;
}

}  // namespace

FileManager::FileManager(FileId id, StoreContext& context, Storage& storage, unsigned char* buffer)
    : m_id(id),
      m_layout(layoutOf(id)),
      m_context(context),
      m_storage(storage),
      m_buffer(buffer),
      m_asRead(m_layout.size) {}

FileManager::~FileManager() = default;

QString FileManager::label() const {
    return QString::fromLatin1(fileLabel(m_id));
}
QString FileManager::prefix() const {
    return QString::fromLatin1(filePrefix(m_id));
}
QString FileManager::physicalName() const {
    return m_storage.physicalName();
}

QString FileManager::fieldName(int n) const {
    if (n < 1 || static_cast<std::size_t>(n) > m_layout.fields.size()) {
        return {};
    }
    return prefix() + QLatin1Char(':') +
           QString::fromLatin1(m_layout.fields[static_cast<std::size_t>(n - 1)].name);
}

QString FileManager::keyName(Key key) const {
    const KeyInfo* k = findKey(m_layout, key);
    return k ? prefix() + QLatin1Char(':') + QString::fromLatin1(k->name) : QString();
}

Key FileManager::primaryKey() const {
    return m_layout.keys.front().key;
}

const KeyInfo* FileManager::keyInfo(Key key) const {
    return findKey(m_layout, key);
}

bool FileManager::readOnly() const {
    return m_storage.readOnly();
}

// ---- open and close ---------------------------------------------------------------------------

void FileManager::open() {
    if (m_openCount == 0) {
        m_storage.acquire();  // may throw after a fatal message; the count stays 0
    }
    ++m_openCount;
}

void FileManager::close() {
    if (m_openCount == 0) {
        return;
    }
    if (--m_openCount == 0) {
        m_storage.release();
        m_mode = Mode::None;
        dropAhead();
    }
}

void FileManager::clear() {
    m_storage.clear(m_buffer);
}

void FileManager::takeSnapshot(bool decoded) {
    if (!decoded) {
        m_storage.normalize(m_buffer);
    }
    std::memcpy(m_asRead.data(), m_buffer, m_layout.size);
    m_haveRead = true;
    m_position = idOf(m_buffer);
}

// ---- identifiers ------------------------------------------------------------------------------

Status FileManager::numberAndStore(bool reserve) {
    sql::Connection& c = m_context.connection;
    const QString file = physicalName();
    for (;;) {
        int code = 0;
        for (int attempt = 0; attempt < 3; ++attempt) {
            // Reading the highest number and storing the next one under the file's write lock
            // keeps processes from taking the same number; a failure is retried all the same.
            WriteTransaction tx(m_context);
            int64_t highest = 0;
            bool stored = tx.begin({&m_storage}, c.busyTimeout()) && m_storage.highestId(highest);
            if (stored) {
                setId(m_buffer, highest + 1);
                auto s = c.cached(m_storage.insertSql());
                stored = s.valid();
                if (stored) {
                    m_storage.bindRecord(*s, m_buffer, 1);
                    stored = s->step() == SQLITE_DONE;
                    if (!stored) {
                        c.captureError();
                    }
                }
            }
            if (stored && tx.commit()) {
                takeSnapshot();
                if (reserve) {
                    m_reserved = static_cast<int32_t>(highest + 1);
                    m_reservedImage = m_asRead;
                }
                m_lastError.clear();
                return Status::Ok;
            }
            code = c.extendedErrorCode();
            m_lastError = c.errorText();
            tx.rollback();
            if (!transient(code)) {
                // Retrying cannot help (a read-only file, a full disk, a damaged file).
                setId(m_buffer, 0);
                m_context.errors.notice(msg::insertErrorTitle(),
                                        msg::insertError(file, m_lastError));
                return Status::Failed;
            }
        }
        if (!m_context.errors.ask(msg::autoIncrementErrorTitle(),
                                  msg::autoIncrementError(file, keyName(primaryKey()), m_lastError),
                                  platform::No)) {
            setId(m_buffer, 0);
            return Status::Cancelled;
        }
    }
}

Status FileManager::prime() {
    if (!isOpen()) {
        return Status::NotOpen;
    }
    if (m_reserved != 0) {
        // A new record that was neither inserted nor cancelled: give its number back.
        (void)cancelPrime();
    }
    clear();
    if (m_layout.defaults != nullptr) {
        m_layout.defaults(m_buffer);
    }
    return numberAndStore(true);
}

Status FileManager::cancelPrime() {
    if (m_reserved == 0) {
        return Status::Ok;
    }
    if (!isOpen()) {
        return Status::NotOpen;
    }
    sql::Connection& c = m_context.connection;
    WriteTransaction tx(m_context);
    bool ok = tx.begin({&m_storage}, c.busyTimeout());
    Reservation state = Reservation::Intact;
    if (ok) {
        state = reservation();
        ok = state != Reservation::Unreadable;
    }
    if (ok && state == Reservation::Intact) {
        auto s = c.cached("DELETE FROM " + m_storage.table() + " WHERE " +
                          sql::ident(m_layout.fields[0].name) + " = ?1");
        ok = s.valid();
        if (ok) {
            s->bind(1, static_cast<int64_t>(m_reserved));
            ok = s->step() == SQLITE_DONE;
            if (!ok) {
                c.captureError();
            }
        }
    }
    // A reserved record that is no longer the one stored at priming belongs to someone else now.
    if (ok && tx.commit()) {
        m_reserved = 0;
        return Status::Ok;
    }
    m_lastError = c.errorText();
    tx.rollback();
    m_context.errors.notice(msg::deleteErrorTitle(), msg::deleteError(physicalName(), m_lastError));
    return Status::Failed;
}

FileManager::Reservation FileManager::reservation() {
    sql::Connection& c = m_context.connection;
    auto s = c.cached(m_storage.selectByIdSql());
    if (!s.valid()) {
        return Reservation::Unreadable;
    }
    s->bind(1, static_cast<int64_t>(m_reserved));
    const int rc = s->step();
    if (rc == SQLITE_DONE) {
        return Reservation::Gone;
    }
    if (rc != SQLITE_ROW) {
        c.captureError();
        return Reservation::Unreadable;
    }
    std::vector<unsigned char> stored(m_layout.size);
    m_storage.decodeRow(*s, stored.data());
    return stored == m_reservedImage ? Reservation::Intact : Reservation::Gone;
}

// ---- writing ----------------------------------------------------------------------------------

Status FileManager::insert() {
    if (!isOpen()) {
        return Status::NotOpen;
    }
    if (validateRecord() != Status::Ok) {
        return Status::Invalid;
    }
    if (m_reserved == 0 || idOf(m_buffer) != m_reserved) {
        return numberAndStore(false);
    }
    // The record was primed: its number is reserved by a stored record, which it now fills.
    sql::Connection& c = m_context.connection;
    WriteTransaction tx(m_context);
    bool ok = tx.begin({&m_storage}, c.busyTimeout());
    int changes = 0;
    Reservation state = Reservation::Intact;
    if (ok) {
        state = reservation();
        ok = state != Reservation::Unreadable;
    }
    if (ok && state == Reservation::Gone) {
        // Someone else deleted the reserved record, and may have given its number out again:
        // number the record anew and leave the stored one alone.
        tx.rollback();
        m_reserved = 0;
        return numberAndStore(false);
    }
    if (ok) {
        auto s = c.cached(m_storage.updateSql());
        ok = s.valid();
        if (ok) {
            m_storage.bindRecord(*s, m_buffer, 1);
            ok = s->step() == SQLITE_DONE;
            if (!ok) {
                c.captureError();
            }
            changes = sqlite3_changes(c.handle());
        }
    }
    if (ok && changes == 0) {
        // The reserved record is gone (deleted by someone else): number the record anew.
        tx.rollback();
        m_reserved = 0;
        return numberAndStore(false);
    }
    if (ok && tx.commit()) {
        m_reserved = 0;
        takeSnapshot();
        m_lastError.clear();
        return Status::Ok;
    }
    m_lastError = c.errorText();
    const int code = c.extendedErrorCode();
    tx.rollback();
    if (uniqueViolation(code)) {
        m_context.errors.notice(msg::duplicateKeyTitle(), msg::duplicateKey(keyName(primaryKey())));
        return Status::DuplicateKey;
    }
    m_context.errors.notice(msg::insertErrorTitle(), msg::insertError(physicalName(), m_lastError));
    return Status::Failed;
}

Status FileManager::update() {
    if (!isOpen()) {
        return Status::NotOpen;
    }
    if (validateRecord() != Status::Ok) {
        return Status::Invalid;
    }
    sql::Connection& c = m_context.connection;
    const int32_t id = idOf(m_buffer);
    auto failed = [&](WriteTransaction& tx) {
        m_lastError = c.errorText();
        tx.rollback();
        m_context.errors.notice(msg::updateErrorTitle(),
                                msg::updateError(physicalName(), m_lastError));
        return Status::Failed;
    };
    WriteTransaction tx(m_context);
    if (!tx.begin({&m_storage}, c.busyTimeout())) {
        return failed(tx);
    }
    // Compare the stored record with the record as this manager read it, under the write lock.
    std::vector<unsigned char> stored(m_layout.size);
    {
        auto s = c.cached(m_storage.selectByIdSql());
        if (!s.valid()) {
            return failed(tx);
        }
        s->bind(1, static_cast<int64_t>(id));
        const int rc = s->step();
        if (rc == SQLITE_DONE) {
            tx.rollback();
            m_lastError = QStringLiteral("Record Not Found");
            m_context.errors.notice(msg::changedByOtherTitle(), msg::changedByOther());
            return Status::Changed;
        }
        if (rc != SQLITE_ROW) {
            c.captureError();
            return failed(tx);
        }
        m_storage.decodeRow(*s, stored.data());
    }
    if (m_haveRead && idOf(m_asRead.data()) == id &&
        std::memcmp(stored.data(), m_asRead.data(), m_layout.size) != 0) {
        tx.rollback();
        std::memcpy(m_buffer, stored.data(), m_layout.size);
        takeSnapshot();
        m_lastError = QStringLiteral("Record Changed By Another Station");
        m_context.errors.notice(msg::changedByOtherTitle(), msg::changedByOther());
        return Status::Changed;
    }
    {
        auto s = c.cached(m_storage.updateSql());
        if (!s.valid()) {
            return failed(tx);
        }
        m_storage.bindRecord(*s, m_buffer, 1);
        if (s->step() != SQLITE_DONE) {
            c.captureError();
            return failed(tx);
        }
    }
    if (!tx.commit()) {
        m_lastError = c.errorText();
        m_context.errors.notice(msg::updateErrorTitle(),
                                msg::updateError(physicalName(), m_lastError));
        return Status::Failed;
    }
    if (m_reserved == id) {
        m_reserved = 0;
    }
    takeSnapshot();
    m_lastError.clear();
    return Status::Ok;
}

Status FileManager::remove() {
    if (!isOpen()) {
        return Status::NotOpen;
    }
    sql::Connection& c = m_context.connection;
    const int32_t id = idOf(m_buffer);
    auto s = c.cached("DELETE FROM " + m_storage.table() + " WHERE " +
                      sql::ident(m_layout.fields[0].name) + " = ?1");
    if (s.valid()) {
        s->bind(1, static_cast<int64_t>(id));
        if (s->step() == SQLITE_DONE) {
            if (m_reserved == id) {
                m_reserved = 0;
            }
            m_haveRead = false;
            m_lastError.clear();
            return sqlite3_changes(c.handle()) > 0 ? Status::Ok : Status::NotFound;
        }
        c.captureError();
    }
    m_lastError = c.errorText();
    m_context.errors.notice(msg::deleteErrorTitle(), msg::deleteError(physicalName(), m_lastError));
    return Status::Failed;
}

// ---- reading ----------------------------------------------------------------------------------

void FileManager::reportReadError() {
    m_lastError = m_context.connection.errorText();
    m_context.errors.notice(msg::readErrorTitle(), msg::readError(physicalName(), m_lastError));
}

std::string FileManager::keyValueOfBuffer(const KeyInfo& key, int64_t& number) const {
    const Field& f = m_layout.fields[key.field];
    if (f.type == FieldType::CText || f.type == FieldType::FixedText) {
        return cp1252ToUtf8(std::string_view(
            reinterpret_cast<const char*>(m_buffer + f.offset),
            f.type == FieldType::CText
                ? ::strnlen(reinterpret_cast<const char*>(m_buffer + f.offset), f.size - 1u)
                : f.size));
    }
    int32_t v;
    std::memcpy(&v, m_buffer + f.offset, sizeof v);
    number = v;
    return {};
}

void FileManager::setCursorAfterCurrent() {
    if (m_cursorKey == nullptr) {
        m_cursorKey = &m_layout.keys.front();
    }
    m_mode = Mode::After;
    m_valueIsText = false;
    m_valueText = keyValueOfBuffer(*m_cursorKey, m_valueNumber);
    const Field& f = m_layout.fields[m_cursorKey->field];
    m_valueIsText = f.type == FieldType::CText || f.type == FieldType::FixedText;
    m_cursorId = idOf(m_buffer);
}

Status FileManager::fetch(Key key, const KeyValue& value) {
    if (!isOpen()) {
        return Status::NotOpen;
    }
    const KeyInfo* k = keyInfo(key);
    if (k == nullptr) {
        m_lastError = QStringLiteral("Invalid Key");
        return Status::Failed;
    }
    sql::Connection& c = m_context.connection;
    auto s = c.cached(m_storage.queries(*k).equal);
    if (!s.valid()) {
        reportReadError();
        return Status::Failed;
    }
    const Field& f = m_layout.fields[k->field];
    if (f.type == FieldType::CText || f.type == FieldType::FixedText) {
        const QByteArray t = (value.isText ? value.text : QString::number(value.number)).toUtf8();
        s->bind(1, std::string_view(t.constData(), static_cast<std::size_t>(t.size())));
    } else {
        s->bind(1, static_cast<int64_t>(value.isText ? value.text.trimmed().toLongLong()
                                                     : value.number));
    }
    const int rc = s->step();
    if (rc == SQLITE_ROW) {
        m_storage.decodeRow(*s, m_buffer);
        takeSnapshot(true);
        return Status::Ok;
    }
    if (rc == SQLITE_DONE) {
        return Status::NotFound;
    }
    c.captureError();
    reportReadError();
    return Status::Failed;
}

void FileManager::set(Key key) {
    m_cursorKey = keyInfo(key);
    m_mode = Mode::Start;
    dropAhead();
}

void FileManager::set(Key key, const KeyValue& value) {
    m_cursorKey = keyInfo(key);
    m_mode = Mode::AtValue;
    dropAhead();
    if (m_cursorKey == nullptr) {
        return;
    }
    const Field& f = m_layout.fields[m_cursorKey->field];
    m_valueIsText = f.type == FieldType::CText || f.type == FieldType::FixedText;
    if (m_valueIsText) {
        const QByteArray t = (value.isText ? value.text : QString::number(value.number)).toUtf8();
        m_valueText.assign(t.constData(), static_cast<std::size_t>(t.size()));
    } else {
        m_valueNumber =
            value.isText ? static_cast<int64_t>(value.text.trimmed().toLongLong()) : value.number;
    }
}

void FileManager::setRecordOrder() {
    set(primaryKey());
}

Status FileManager::next() {
    return read(Direction::Forward);
}
Status FileManager::previous() {
    return read(Direction::Backward);
}

bool FileManager::aheadUsable(Direction direction) const {
    if (m_mode != Mode::After || m_aheadDirection != direction ||
        (m_aheadNext >= m_aheadCount && !m_aheadAtEnd)) {
        return false;
    }
    const int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
    return now - m_aheadTimeNs < kReadAheadNs &&
           sqlite3_total_changes64(m_context.connection.handle()) == m_aheadChanges;
}

Status FileManager::read(Direction direction, bool report) {
    if (!isOpen()) {
        return Status::NotOpen;
    }
    if (m_mode == Mode::None) {
        set(primaryKey());
    }
    if (m_cursorKey == nullptr) {
        m_lastError = QStringLiteral("Invalid Key");
        return Status::Failed;
    }
    const bool forward = direction == Direction::Forward;
    if (aheadUsable(direction)) {
        if (m_aheadNext >= m_aheadCount) {
            return Status::EndOfFile;
        }
        std::memcpy(m_buffer,
                    m_ahead.data() + static_cast<std::size_t>(m_aheadNext) * m_layout.size,
                    m_layout.size);
        ++m_aheadNext;
        takeSnapshot(true);
        setCursorAfterCurrent();
        return Status::Ok;
    }
    const KeyQueries& q = m_storage.queries(*m_cursorKey);
    const std::string* sql = nullptr;
    switch (m_mode) {
        case Mode::None:
        case Mode::Start:
            sql = forward ? &q.first : &q.last;
            break;
        case Mode::AtValue:
            sql = forward ? &q.atOrAfter : &q.atOrBefore;
            break;
        case Mode::After:
            sql = forward ? &q.after : &q.before;
            break;
    }
    // A run of reads in one direction that used up what was read ahead asks for more records
    // each time; after a write in between (a delete loop) it asks for one again.
    const bool usedUp = m_aheadNext >= m_aheadCount &&
                        sqlite3_total_changes64(m_context.connection.handle()) == m_aheadChanges;
    if (m_mode == Mode::After && m_aheadDirection == direction && usedUp) {
        m_aheadSize = std::min(m_aheadSize * 4, kReadAheadMax);
    } else {
        m_aheadSize = 1;
    }
    dropAhead();
    sql::Connection& c = m_context.connection;
    auto s = c.cached(*sql);
    if (!s.valid()) {
        reportReadError();
        return Status::Failed;
    }
    if (m_mode == Mode::AtValue || m_mode == Mode::After) {
        if (m_valueIsText) {
            s->bind(1, std::string_view(m_valueText));
        } else {
            s->bind(1, m_valueNumber);
        }
    }
    if (m_mode == Mode::After) {
        s->bind(2, m_cursorId);
    }
    s->bind(3, static_cast<int64_t>(m_aheadSize));
    int rc;
    int rows = 0;
    while ((rc = s->step()) == SQLITE_ROW) {
        if (rows == 0) {
            m_storage.decodeRow(*s, m_buffer);
        } else {
            m_ahead.resize(static_cast<std::size_t>(rows) * m_layout.size);
            m_storage.decodeRow(
                *s, m_ahead.data() + static_cast<std::size_t>(rows - 1) * m_layout.size);
        }
        ++rows;
    }
    if (rc != SQLITE_DONE) {
        c.captureError();
        dropAhead();
        if (report) {
            reportReadError();
        } else {
            m_lastError = c.errorText();
        }
        return Status::Failed;
    }
    if (rows == 0) {
        return Status::EndOfFile;
    }
    m_aheadCount = rows - 1;
    m_aheadNext = 0;
    m_aheadAtEnd = rows < m_aheadSize;
    m_aheadDirection = direction;
    m_aheadChanges = sqlite3_total_changes64(c.handle());
    m_aheadTimeNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    takeSnapshot(true);
    setCursorAfterCurrent();
    return Status::Ok;
}

Status FileManager::reget(int64_t position) {
    if (!isOpen()) {
        return Status::NotOpen;
    }
    sql::Connection& c = m_context.connection;
    auto s = c.cached(m_storage.selectByIdSql());
    if (!s.valid()) {
        reportReadError();
        return Status::Failed;
    }
    s->bind(1, position);
    const int rc = s->step();
    if (rc == SQLITE_ROW) {
        m_storage.decodeRow(*s, m_buffer);
        takeSnapshot(true);
        dropAhead();
        m_aheadSize = 1;
        setCursorAfterCurrent();
        return Status::Ok;
    }
    if (rc == SQLITE_DONE) {
        return Status::NotFound;
    }
    c.captureError();
    reportReadError();
    return Status::Failed;
}

int64_t FileManager::records() {
    if (!isOpen()) {
        return -1;
    }
    sql::Connection& c = m_context.connection;
    auto s = c.cached("SELECT count(*) FROM " + m_storage.table());
    if (!s.valid() || s->step() != SQLITE_ROW) {
        c.captureError();
        reportReadError();
        return -1;
    }
    return s->columnInt(0);
}

// ---- validation -------------------------------------------------------------------------------

Status FileManager::validateField(int n, bool showMessage) {
    if (n < 1 || static_cast<std::size_t>(n) > m_layout.fields.size()) {
        return Status::Ok;
    }
    const Field& f = m_layout.fields[static_cast<std::size_t>(n - 1)];
    if (f.check.kind == CheckKind::None) {
        return Status::Ok;
    }
    const unsigned char* p = m_buffer + f.offset;
    double value = 0;
    switch (f.type) {
        case FieldType::Int32: {
            int32_t v;
            std::memcpy(&v, p, sizeof v);
            value = v;
            break;
        }
        case FieldType::Double:
            std::memcpy(&value, p, sizeof value);
            break;
        case FieldType::Float: {
            float v;
            std::memcpy(&v, p, sizeof v);
            value = v;
            break;
        }
        case FieldType::Byte:
            value = *p;
            break;
        default:
            return Status::Ok;
    }
    // Written so that NaN fails every check.
    const bool ok = f.check.kind == CheckKind::Range
                        ? (value >= f.check.low && value <= f.check.high)
                        : value >= f.check.low;
    if (ok) {
        return Status::Ok;
    }
    if (showMessage) {
        const QString field = QString::fromLatin1(f.description);
        const QString bound = QString::fromLatin1(f.check.message);
        m_context.errors.notice(msg::rangeErrorTitle(), f.check.kind == CheckKind::Range
                                                            ? msg::inRange(field, bound)
                                                            : msg::higherThan(field, bound));
    }
    return Status::Invalid;
}

Status FileManager::validateRecord(bool showMessage) {
    m_problemField = 0;
    for (std::size_t i = 1; i <= m_layout.fields.size(); ++i) {
        if (validateField(static_cast<int>(i), showMessage) != Status::Ok) {
            m_problemField = static_cast<int>(i);
            return Status::Invalid;
        }
    }
    return Status::Ok;
}

}  // namespace store
