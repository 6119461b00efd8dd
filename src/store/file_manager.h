#pragma once
// The file manager of one record file on one thread: its record buffer (the current record), the
// counted open and close of the file, priming with identifier reservation, insert, update and
// delete of single records, ordered access by every key, saved positions, and field validation.
//
// Every failure is reported through the dictionary's error manager with the titles and texts of
// store/messages.h and returned as a Status; an operation never throws, except open(), which
// throws platform::FatalError after a fatal message (the program then ends).
//
// Cost: fetch and reget are one indexed lookup each. next() and previous() read ahead: after the
// first read of a position they fetch growing runs of records (up to 256) in one query and serve
// the following reads from them for at most 10 ms, or until this dictionary writes anything. No
// lock is held between reads, so a record read in order may be up to 10 ms older than the file
// when another process changes it meanwhile; an update of such a record is then refused with
// "Record Was Not Updated" as for any record changed after it was read.

#include "store/records.h"

#include <QString>
#include <cstdint>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

namespace platform {
class ErrorManager;
}

namespace store {

class Storage;
class StoreContext;

// Outcome of a file-manager operation.
enum class Status {
    Ok,
    NotFound,      // fetch or reget: no such record (no message)
    EndOfFile,     // next or previous: no further record in key order (no message)
    DuplicateKey,  // insert refused by a unique key ("Duplicate Key Error" shown)
    Invalid,       // a field check failed ("Range Error" shown)
    Changed,       // update refused: another process changed the record since it was read
    Cancelled,     // the user answered No to a question
    NotOpen,       // the file is not open on this thread (no message)
    Failed,        // any other failure (its message shown)
};

// A key value for positioning and fetching: a number for integer keys, a text for text keys.
struct KeyValue {
    KeyValue(int64_t n) : number(n) {}                     // NOLINT: implicit on purpose
    KeyValue(int n) : number(n) {}                         // NOLINT
    KeyValue(const QString& t) : isText(true), text(t) {}  // NOLINT
    bool isText = false;
    int64_t number = 0;
    QString text;
};

class FileManager {
public:
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;
    virtual ~FileManager();

    // ---- identity --------------------------------------------------------------------------
    [[nodiscard]] FileId id() const { return m_id; }
    // "BEDRIJVEN" or "BEDCOPY"; the prefix "BED" or "BEDC"; the physical name "Bedrijven.tps".
    [[nodiscard]] QString label() const;
    [[nodiscard]] QString prefix() const;
    [[nodiscard]] QString physicalName() const;
    [[nodiscard]] const Layout& layout() const { return m_layout; }
    [[nodiscard]] bool isAlias() const { return baseFile(m_id) != m_id; }
    // "BEDC:NAAM" for field n (1-based, in record order); "BEDC:By_Name" for a key.
    [[nodiscard]] QString fieldName(int n) const;
    [[nodiscard]] QString keyName(Key key) const;
    // The primary (auto-numbered) key of the file.
    [[nodiscard]] Key primaryKey() const;

    // ---- open and close (counted) ----------------------------------------------------------
    // The first open on this thread attaches the file: created empty with its keys when
    // missing; "Access Denied" and read-only work when it cannot be written; "Invalid Key" and a
    // rebuild when its keys are damaged. Throws platform::FatalError after "File Creation
    // Error", "File Access Error" or "Key was not built".
    void open();
    // Undoes one open(); the last one detaches the file. Closing a file that is not open does
    // nothing.
    void close();
    [[nodiscard]] bool isOpen() const { return m_openCount > 0; }
    [[nodiscard]] int openCount() const { return m_openCount; }
    // True when the file was opened read-only after "Access Denied".
    [[nodiscard]] bool readOnly() const;

    // ---- the record buffer -----------------------------------------------------------------
    [[nodiscard]] unsigned char* buffer() { return m_buffer; }
    [[nodiscard]] const unsigned char* buffer() const { return m_buffer; }
    // Numbers to 0, fixed texts to blanks, NUL-terminated texts to empty.
    void clear();

    // ---- writing ---------------------------------------------------------------------------
    // Clears the buffer, sets the file's default values and reserves the next identifier by
    // storing the record at once (highest + 1; retried; "Auto Increment Error" after three
    // failed attempts, Yes for three more, No gives Cancelled).
    [[nodiscard]] Status prime();
    // Deletes the record reserved by prime() again (the user cancelled the new record), unless
    // another station deleted it and gave its number out again meanwhile.
    [[nodiscard]] Status cancelPrime();
    [[nodiscard]] bool hasReservation() const { return m_reserved != 0; }
    // Validates the record, then stores it: a record primed on this manager (its identifier
    // still the reserved one) updates the reserved record; any other record, or one whose
    // reserved record another station deleted meanwhile, gets the next identifier itself,
    // whatever its identifier field holds.
    [[nodiscard]] Status insert();
    // Validates and writes the record in the buffer over the stored record with its identifier.
    // Refused with "Record Was Not Updated" when another process changed the stored record since
    // this manager read it; the buffer then holds the record as it is stored now.
    [[nodiscard]] Status update();
    // Deletes the stored record with the identifier of the buffer (no cascade; see
    // RelationManager::remove).
    [[nodiscard]] Status remove();

    // ---- reading ---------------------------------------------------------------------------
    // The first record (in key order) whose key equals `value`.
    [[nodiscard]] Status fetch(Key key, const KeyValue& value);
    // Positions before the first record of `key` (next() reads the first, previous() the last).
    void set(Key key);
    // Positions at `value`: next() reads the first record at or after it, previous() the last
    // record at or before it.
    void set(Key key, const KeyValue& value);
    // Record order (the order of identifiers; records without key).
    void setRecordOrder();
    // Reads the next or previous record in the order set; EndOfFile when there is none (the
    // buffer is then unchanged).
    [[nodiscard]] Status next();
    [[nodiscard]] Status previous();
    // Position of the record last read or written: stays valid when other records are added or
    // removed; 0 when there is none.
    [[nodiscard]] int64_t position() const { return m_position; }
    // Reads the record at a saved position; further next()/previous() go on from it.
    [[nodiscard]] Status reget(int64_t position);
    // Number of records in the file (-1 when the file is not open).
    [[nodiscard]] int64_t records();

    // ---- validation ------------------------------------------------------------------------
    // Checks field n (1-based); on failure shows "Range Error" (when showMessage) and returns
    // Invalid.
    [[nodiscard]] Status validateField(int n, bool showMessage = true);
    // Checks every field in record order and stops at the first that fails (one message).
    [[nodiscard]] Status validateRecord(bool showMessage = true);
    // Number of the field that failed the last validateRecord(), 0 when none.
    [[nodiscard]] int problemField() const { return m_problemField; }

    // The driver's text of the last failure of this manager ("" when none), for messages of the
    // windows that add their own text to a failed insert.
    [[nodiscard]] QString lastErrorText() const { return m_lastError; }

protected:
    FileManager(FileId id, StoreContext& context, Storage& storage, unsigned char* buffer);

private:
    friend class RelationManager;
    friend class Dictionary;

    enum class Mode { None, Start, AtValue, After };
    enum class Direction { Forward, Backward };

    [[nodiscard]] Status read(Direction direction, bool report = true);
    [[nodiscard]] bool aheadUsable(Direction direction) const;
    void dropAhead() { m_aheadCount = m_aheadNext = 0; }
    [[nodiscard]] Status numberAndStore(bool reserve);
    // Inside a write transaction: whether the reserved record is still the one stored at
    // priming (another process may have deleted it and given its number out again).
    enum class Reservation { Intact, Gone, Unreadable };
    [[nodiscard]] Reservation reservation();
    // Keeps the buffer as the record read; `decoded`: it comes straight from the file.
    void takeSnapshot(bool decoded = false);
    void setCursorAfterCurrent();
    [[nodiscard]] const KeyInfo* keyInfo(Key key) const;
    void reportReadError();
    [[nodiscard]] std::string keyValueOfBuffer(const KeyInfo& key, int64_t& number) const;

    FileId m_id;
    const Layout& m_layout;
    StoreContext& m_context;
    Storage& m_storage;
    unsigned char* m_buffer;
    int m_openCount = 0;
    int32_t m_reserved = 0;
    std::vector<unsigned char> m_reservedImage;  // the reserved record as stored
    int m_problemField = 0;
    int64_t m_position = 0;
    QString m_lastError;

    // The record as last read or written, to detect a change by another process on update.
    std::vector<unsigned char> m_asRead;
    bool m_haveRead = false;

    // Sequential position: key, mode, and the key value and identifier of the record last read.
    const KeyInfo* m_cursorKey = nullptr;
    Mode m_mode = Mode::None;
    bool m_valueIsText = false;
    int64_t m_valueNumber = 0;
    std::string m_valueText;  // UTF-8
    int64_t m_cursorId = 0;

    // Records read ahead in the order set, from the record after the current one.
    std::vector<unsigned char> m_ahead;
    int m_aheadCount = 0;
    int m_aheadNext = 0;
    int m_aheadSize = 1;        // records asked for by the next query
    bool m_aheadAtEnd = false;  // the query returned fewer than asked: nothing lies beyond
    Direction m_aheadDirection = Direction::Forward;
    int64_t m_aheadChanges = 0;  // the connection's change count when read
    int64_t m_aheadTimeNs = 0;   // steady clock when read
};

// A file manager with its typed record buffer. The buffer is placed so that the doubles of the
// packed record lie on 8-byte boundaries, so code may bind references to them
// (EXPECT_EQ(rec.stUittree, 4.0), std::max); a packed record elsewhere (a local copy) does not
// give that promise: read its doubles by value there.
template <typename R>
class RecordFile : public FileManager {
public:
    RecordFile(FileId id, StoreContext& context, Storage& storage)
        : FileManager(id, context, storage, m_raw + kPlacement<R>) {
        static_assert(std::is_trivially_copyable_v<R>);
        m_record = new (m_raw + kPlacement<R>) R{};
    }
    [[nodiscard]] R& record() { return *m_record; }
    [[nodiscard]] const R& record() const { return *m_record; }

private:
    alignas(8) unsigned char m_raw[sizeof(R) + 8];
    R* m_record;
};

using BedrijvenFile = RecordFile<BedrijvenRecord>;
using BronnenFile = RecordFile<BronnenRecord>;
using GeurgevlocFile = RecordFile<GeurgevlocRecord>;
using BerekeningenFile = RecordFile<BerekeningenRecord>;
using BerbronFile = RecordFile<BerbronRecord>;
using BergglFile = RecordFile<BergglRecord>;

}  // namespace store
