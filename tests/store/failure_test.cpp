// Opening damaged, read-only and uncreatable files; updates that lost a race; identifiers that
// cannot be had.

#include "store_fixture.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <QFile>

#include <functional>
#include <iostream>
#include <memory>

namespace store {
namespace {

using test::addCompany;
using test::Home;

// Makes files and directories immutable for as long as it lives: a read-only mechanism that holds
// for root too (permission bits do not). Needs CAP_LINUX_IMMUTABLE on an ext2/3/4-like file
// system.
class Immutable {
public:
    explicit Immutable(const QStringList& paths) {
        for (const QString& p : paths) {
            if (!setFlag(p, true)) {
                m_ok = false;
                undo();
                return;
            }
            m_done.append(p);
        }
    }
    ~Immutable() { undo(); }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    [[nodiscard]] bool ok() const { return m_ok; }

private:
    void undo() {
        for (const QString& p : m_done) {
            setFlag(p, false);
        }
        m_done.clear();
    }
    static bool setFlag(const QString& path, bool on) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }
    bool m_ok = true;
    QStringList m_done;
};

// A home with one company, one point and one location in it, the dictionary closed again.
void fill(Home& h) {
    h.dict->bedrijvenRelations().open();
    const int32_t id = addCompany(*h.dict, QStringLiteral("Jansen"));
    test::addBron(*h.dict, id, QStringLiteral("EP1"));
    test::addGgl(*h.dict, id, QStringLiteral("W1"));
    h.dict->bedrijvenRelations().close();
    h.dict.reset();
}

QStringList everything(const Home& h) {
    QStringList paths = {h.dir.path()};
    for (const QString& name : QDir(h.dir.path()).entryList(QDir::Files | QDir::Hidden)) {
        paths.append(QDir(h.dir.path()).filePath(name));
    }
    return paths;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The two ways a home directory is made read-only here: immutable files (a real read-only file
// system as far as the store can tell, which holds for root too, where permission bits do not),
// and the store's write-access check. The first needs CAP_LINUX_IMMUTABLE on ext4 and is left out
// where that is missing.
enum class ReadOnlyBy { ImmutableFiles, WriteAccessCheck };
constexpr ReadOnlyBy kReadOnlyWays[] = {ReadOnlyBy::ImmutableFiles, ReadOnlyBy::WriteAccessCheck};

const char* nameOf(ReadOnlyBy way) {
    return way == ReadOnlyBy::ImmutableFiles ? "immutable_files" : "write_access_check";
}

// Makes `paths` read-only the given way and opens a new dictionary on the home; false when the way
// is not available here.
bool reopenReadOnly(Home& h, ReadOnlyBy way, const QStringList& paths,
                    std::unique_ptr<Immutable>& guard) {
    if (way == ReadOnlyBy::ImmutableFiles) {
        guard = std::make_unique<Immutable>(paths);
        if (!guard->ok()) {
            std::cout << "immutable files are not available here; checked through the store's "
                         "write-access check only\n";
            return false;
        }
    }
    h.dict = std::make_unique<Dictionary>(h.dir.path(), h.errors);
    if (way == ReadOnlyBy::WriteAccessCheck) {
        h.dict->setWriteAccessCheck([paths](const QString& p) { return !paths.contains(p); });
    }
    return true;
}

TEST(ReadOnly, NoWriteAccessGivesAccessDeniedAndReadOnlyWork) {
    for (ReadOnlyBy way : kReadOnlyWays) {
        SCOPED_TRACE(nameOf(way));
        Home h(true);
        fill(h);
        std::unique_ptr<Immutable> guard;
        if (!reopenReadOnly(h, way, everything(h), guard)) {
            continue;
        }
        h.dict->bedrijvenRelations().open();
        ASSERT_EQ(h.sink.messages.size(), 6u);
        EXPECT_EQ(h.sink.messages[0].title, QStringLiteral("Access Denied"));
        EXPECT_EQ(
            h.sink.messages[0].text,
            QStringLiteral("Could not get write access to Bedrijven.tps so trying read-only."));
        EXPECT_TRUE(h.dict->bedrijven().readOnly());

        auto& bed = h.dict->bedrijven();
        ASSERT_EQ(bed.fetch(Key::BED_By_Name, QStringLiteral("jansen")), Status::Ok);
        EXPECT_EQ(h.dict->bronnen().fetch(Key::BRO_By_Fk, bed.record().id), Status::Ok);

        h.sink.clear();
        EXPECT_EQ(bed.prime(), Status::Failed);
        setText(bed.record().naam, QStringLiteral("Changed"));
        EXPECT_EQ(bed.update(), Status::Failed);
        h.sink.answers = {platform::Yes};
        EXPECT_EQ(h.dict->bedrijvenRelations().remove(true), DeleteResult::Failed);
        EXPECT_EQ(h.sink.titles(), (QStringList{QStringLiteral("Record Insert Error"),
                                                QStringLiteral("Record was not updated"),
                                                QStringLiteral("Confirm Delete"),
                                                QStringLiteral("Transaction cancelled")}));
        EXPECT_TRUE(h.sink.messages[0].text.startsWith(
            QStringLiteral("An error was experienced during the creation of a record.|File: "
                           "Bedrijven.tps|Error: attempt to write a readonly database")));
        EXPECT_EQ(bed.records(), 1);
        h.dict->bedrijvenRelations().close();
        h.dict.reset();
    }
}

TEST(ReadOnly, DamagedKeysThatCannotBeRebuiltEndTheProgram) {
    for (ReadOnlyBy way : kReadOnlyWays) {
        SCOPED_TRACE(nameOf(way));
        Home h(true);
        fill(h);
        {
            test::RawFile raw(h.path("Bedrijven.tps"));
            ASSERT_TRUE(raw.exec("DROP INDEX By_Name"));
        }
        std::unique_ptr<Immutable> guard;
        if (!reopenReadOnly(h, way, everything(h), guard)) {
            continue;
        }
        EXPECT_THROW(h.dict->bedrijven().open(), platform::FatalError);
        EXPECT_EQ(h.sink.titles(),
                  (QStringList{QStringLiteral("Access Denied"), QStringLiteral("Invalid Key"),
                               QStringLiteral("Key was not built")}));
        ASSERT_EQ(h.sink.messages.size(), 3u);
        EXPECT_EQ(h.sink.messages[2].text,
                  QStringLiteral("Error: (attempt to write a readonly database) repairing key for "
                                 "Bedrijven.tps.  Press OK to end this application"));
        EXPECT_FALSE(h.dict->bedrijven().isOpen());
        h.dict.reset();
    }
}

TEST(ReadOnly, AMissingFileThatCannotBeCreatedEndsTheProgram) {
    for (ReadOnlyBy way : kReadOnlyWays) {
        SCOPED_TRACE(nameOf(way));
        Home h(true);
        h.dict.reset();
        std::unique_ptr<Immutable> guard;
        if (!reopenReadOnly(h, way, {h.dir.path()}, guard)) {
            continue;
        }
        EXPECT_THROW(h.dict->bedrijven().open(), platform::FatalError);
        ASSERT_EQ(h.sink.messages.size(), 1u);
        EXPECT_EQ(h.sink.messages[0].title, QStringLiteral("File Creation Error"));
        EXPECT_EQ(h.sink.messages[0].text,
                  QStringLiteral("Error: (unable to open database file) creating Bedrijven.tps.  "
                                 "Press OK to end this application"));
        h.dict.reset();
    }
}

TEST(DamagedFiles, EachGivesItsMessageAndLeavesTheOtherFilesAlone) {
    struct Case {
        const char* name;
        std::function<void(const QString& path)> damage;
        const char* title;  // nullptr: opens without a message
        const char* text;
        bool fatal;
        bool rowsKept = true;
    };
    const Case cases[] = {
        {"garbage",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
             QByteArray junk(8192, '\0');
             for (int i = 0; i < junk.size(); ++i) {
                 junk[i] = static_cast<char>((i * 7919 + 13) % 251);
             }
             f.write(junk);
         },
         "File Access Error",
         "File BerGGL.tps could not be opened.  Error: file is not a database.  Press OK to end "
         "this application",
         true},
        {"zero_bytes",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
         },
         nullptr, nullptr, false, false},
        {"write_ahead_log",
         [](const QString& path) { test::RawFile(path).exec("PRAGMA journal_mode = WAL"); },
         nullptr, nullptr, false},
        {"key_missing", [](const QString& path) { test::RawFile(path).exec("DROP INDEX By_Fk"); },
         "Invalid Key", "BerGGL.tps key file is invalid. Key must be rebuilt.", false},
        {"key_of_another_format",
         [](const QString& path) { test::RawFile(path).exec("PRAGMA user_version = 7"); },
         "Invalid Key", "BerGGL.tps key file is invalid. Key must be rebuilt.", false},
        {"other_layout",
         [](const QString& path) {
             test::RawFile raw(path);
             raw.exec("DROP TABLE BERGGL");
             raw.exec("CREATE TABLE BERGGL (ID INTEGER PRIMARY KEY, NAAM TEXT)");
         },
         "File Access Error",
         "File BerGGL.tps could not be opened.  Error: the record layout does not match.  Press "
         "OK to end this application",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Home h;
        h.dict->bedrijvenRelations().open();
        test::addCalculation(*h.dict, 1, 1, 2);
        h.dict->bedrijvenRelations().close();
        h.dict.reset();
        c.damage(h.path("BerGGL.tps"));
        const QByteArray damaged = contents(h.path("BerGGL.tps"));
        const QByteArray bronnen = contents(h.path("BerBron.tps"));

        h.dict = std::make_unique<Dictionary>(h.dir.path(), h.errors);
        if (c.fatal) {
            EXPECT_THROW(h.dict->bedrijvenRelations().open(), platform::FatalError);
            h.dict->bedrijvenRelations().close();
            // The damaged file is kept as it was, for whoever can repair it.
            EXPECT_EQ(contents(h.path("BerGGL.tps")), damaged);
        } else {
            h.dict->bedrijvenRelations().open();
            auto& bg = h.dict->berggl();
            bg.set(Key::BG_By_Fk);
            EXPECT_EQ(bg.next(), c.rowsKept ? Status::Ok : Status::EndOfFile);
            h.dict->bedrijvenRelations().close();
            EXPECT_EQ(test::RawFile(h.path("BerGGL.tps")).text("PRAGMA journal_mode"), "delete");
        }
        if (c.title == nullptr) {
            EXPECT_TRUE(h.sink.messages.empty());
        } else {
            ASSERT_EQ(h.sink.messages.size(), 1u);
            EXPECT_EQ(h.sink.messages[0].title, QString::fromLatin1(c.title));
            EXPECT_EQ(h.sink.messages[0].text, QString::fromLatin1(c.text));
        }
        // The other files still open and hold their records.
        h.sink.clear();
        auto& bb = h.dict->berbron();
        bb.open();
        EXPECT_EQ(bb.records(), 1);
        bb.close();
        EXPECT_EQ(contents(h.path("BerBron.tps")), bronnen);
    }
}

TEST(Updates, ARecordChangedByAnotherStationIsNotOverwritten) {
    Home h;
    h.dict->bedrijven().open();
    addCompany(*h.dict, QStringLiteral("Jansen"));
    platform::RecordingSink otherSink;
    platform::ErrorManager otherErrors(otherSink);
    auto other = h.other(otherErrors);
    auto& mine = h.dict->bedrijven();
    auto& theirs = other->bedrijven();
    theirs.open();
    ASSERT_EQ(mine.fetch(Key::BED_By_Id, 1), Status::Ok);
    ASSERT_EQ(theirs.fetch(Key::BED_By_Id, 1), Status::Ok);

    setText(theirs.record().meteo, QStringLiteral("Schiphol"));
    ASSERT_EQ(theirs.update(), Status::Ok);
    setText(mine.record().naam, QStringLiteral("Jansen BV"));
    EXPECT_EQ(mine.update(), Status::Changed);
    ASSERT_EQ(h.sink.messages.size(), 1u);
    EXPECT_EQ(h.sink.messages[0].title, QStringLiteral("Record Was Not Updated"));
    EXPECT_EQ(h.sink.messages[0].text,
              QStringLiteral("This record was changed by another station."));
    // The buffer holds the stored record again; changing that one succeeds.
    EXPECT_EQ(text(mine.record().naam), QStringLiteral("Jansen"));
    EXPECT_EQ(text(mine.record().meteo), QStringLiteral("Schiphol"));
    setText(mine.record().naam, QStringLiteral("Jansen BV"));
    EXPECT_EQ(mine.update(), Status::Ok);
    ASSERT_EQ(theirs.fetch(Key::BED_By_Id, 1), Status::Ok);
    EXPECT_EQ(text(theirs.record().naam), QStringLiteral("Jansen BV"));
    EXPECT_EQ(text(theirs.record().meteo), QStringLiteral("Schiphol"));
    theirs.close();
    mine.close();
}

TEST(Identifiers, AutoIncrementErrorAfterThreeAttempts) {
    Home h;
    auto& bed = h.dict->bedrijven();
    bed.open();
    h.dict->setLockRecovery(20);
    platform::RecordingSink otherSink;
    platform::ErrorManager otherErrors(otherSink);
    auto other = h.other(otherErrors);
    other->bedrijven().open();
    ASSERT_EQ(other->beginTransaction({&other->bedrijven()}), Status::Ok);

    h.sink.answers = {platform::No};
    EXPECT_EQ(bed.prime(), Status::Cancelled);
    ASSERT_EQ(h.sink.messages.size(), 1u);
    EXPECT_EQ(h.sink.messages[0].title, QStringLiteral("Auto Increment Error"));
    EXPECT_EQ(h.sink.messages[0].text,
              QStringLiteral("Attempts to automatically number this record have failed.|File: "
                             "Bedrijven.tps|Key: BED:By_Id|Error: database is locked.|Try Again?"));
    EXPECT_EQ(h.sink.messages[0].buttons, platform::Yes | platform::No);

    // Yes tries three more times; the other station lets go meanwhile.
    struct Release : platform::MessageSink {
        Dictionary* other;
        platform::Button show(const platform::Message&) override {
            other->rollback();
            return platform::Yes;
        }
    } release;
    release.other = other.get();
    platform::ErrorManager errors(release);
    Dictionary third(h.dir.path(), errors);
    third.setLockRecovery(20);
    third.bedcopy().open();
    EXPECT_EQ(third.bedcopy().prime(), Status::Ok);
    EXPECT_EQ(third.bedcopy().record().id, 1);
    third.bedcopy().close();
    other->bedrijven().close();
    bed.close();
}

}  // namespace
}  // namespace store
