// Files, keys, identifiers and positions through the file managers of one dictionary.

#include "store_fixture.h"

#include <QFileInfo>

#include <chrono>
#include <thread>
#include <vector>

namespace store {
namespace {

using test::addBron;
using test::addCompany;
using test::Home;

std::vector<QString> namesInOrder(BedrijvenFile& bed, Key key, bool backwards = false) {
    std::vector<QString> names;
    bed.set(key);
    while ((backwards ? bed.previous() : bed.next()) == Status::Ok) {
        names.push_back(text(bed.record().naam));
    }
    return names;
}

TEST(RecordFiles, FirstOpenCreatesEveryFileEmptyWithItsKeys) {
    Home h;
    h.dict->bedrijvenRelations().open();
    for (const char* name : {"Bedrijven.tps", "Bronnen.tps", "GeurGevLoc.tps", "Berekeningen.tps",
                             "BerBron.tps", "BerGGL.tps"}) {
        EXPECT_TRUE(QFileInfo::exists(h.path(name))) << name;
    }
    // The roughness grid is the calculation's: the store leaves it alone.
    EXPECT_FALSE(QFileInfo::exists(h.path("Roughness.tps")));
    EXPECT_EQ(h.dict->bedrijven().records(), 0);
    EXPECT_EQ(addCompany(*h.dict, QStringLiteral("Jansen")), 1);
    EXPECT_TRUE(h.sink.messages.empty());

    // Every key is an index of its own; rollback journal, not WAL.
    test::RawFile raw(h.path("Bedrijven.tps"));
    EXPECT_EQ(raw.value("SELECT count(*) FROM sqlite_schema WHERE type = 'index'"), 2);
    h.dict->bedrijvenRelations().close();
    EXPECT_FALSE(QFileInfo::exists(h.path("Bedrijven.tps-wal")));
}

TEST(Identifiers, HighestPlusOneSoOnlyTheLastNumberIsReused) {
    struct Case {
        const char* name;
        int32_t deleted;
        int32_t next;
    };
    const Case cases[] = {{"last_deleted_reused", 3, 3}, {"middle_deleted_not_reused", 2, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Home h;
        auto& bed = h.dict->bedrijven();
        bed.open();
        for (int i = 0; i < 3; ++i) {
            addCompany(*h.dict, QStringLiteral("B"));
        }
        ASSERT_EQ(bed.fetch(Key::BED_By_Id, c.deleted), Status::Ok);
        ASSERT_EQ(bed.remove(), Status::Ok);
        EXPECT_EQ(addCompany(*h.dict, QStringLiteral("New")), c.next);
        bed.close();
    }
}

TEST(Identifiers, PrimingReservesTheNumberAndInsertFillsIt) {
    Home h;
    auto& bed = h.dict->bedrijven();
    bed.open();
    ASSERT_EQ(bed.prime(), Status::Ok);
    EXPECT_EQ(bed.record().id, 1);
    EXPECT_EQ(bed.records(), 1);  // stored at once
    // A second manager on the same file (another window's copy) cannot take the same number.
    auto& copy = h.dict->bedcopy();
    copy.open();
    ASSERT_EQ(copy.prime(), Status::Ok);
    EXPECT_EQ(copy.record().id, 2);
    ASSERT_EQ(copy.cancelPrime(), Status::Ok);

    setText(bed.record().naam, QStringLiteral("Jansen"));
    ASSERT_EQ(bed.insert(), Status::Ok);
    EXPECT_EQ(bed.records(), 1);
    ASSERT_EQ(bed.fetch(Key::BED_By_Name, QStringLiteral("JANSEN")), Status::Ok);
    EXPECT_EQ(bed.record().id, 1);

    // Cancelling a new record leaves nothing behind; its number is given out again.
    ASSERT_EQ(bed.prime(), Status::Ok);
    EXPECT_EQ(bed.record().id, 2);
    ASSERT_EQ(bed.cancelPrime(), Status::Ok);
    EXPECT_EQ(bed.records(), 1);
    EXPECT_EQ(addCompany(*h.dict, QStringLiteral("Next")), 2);
    copy.close();
    bed.close();
}

TEST(Identifiers, AReservedNumberGivenOutAgainElsewhereIsLeftToItsNewOwner) {
    // Another station deletes the reserved record and numbers its own company with the same,
    // highest-plus-one number. Inserting the primed record must not overwrite that company, and
    // cancelling must not delete it.
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancel" : "insert");
        Home h;
        auto& bed = h.dict->bedrijven();
        bed.open();
        ASSERT_EQ(bed.prime(), Status::Ok);
        platform::RecordingSink otherSink;
        platform::ErrorManager otherErrors(otherSink);
        auto other = h.other(otherErrors);
        other->bedrijven().open();
        ASSERT_EQ(other->bedrijven().fetch(Key::BED_By_Id, bed.record().id), Status::Ok);
        ASSERT_EQ(other->bedrijven().remove(), Status::Ok);
        EXPECT_EQ(addCompany(*other, QStringLiteral("Theirs")), 1);

        if (cancel) {
            EXPECT_EQ(bed.cancelPrime(), Status::Ok);
            EXPECT_EQ(bed.records(), 1);
        } else {
            setText(bed.record().naam, QStringLiteral("Mine"));
            ASSERT_EQ(bed.insert(), Status::Ok);
            EXPECT_EQ(bed.record().id, 2);
            EXPECT_EQ(bed.records(), 2);
        }
        ASSERT_EQ(bed.fetch(Key::BED_By_Id, 1), Status::Ok);
        EXPECT_EQ(text(bed.record().naam), QStringLiteral("Theirs"));
        EXPECT_TRUE(h.sink.messages.empty());
        other->bedrijven().close();
        bed.close();
    }
}

TEST(Identifiers, InsertWithoutPrimingNumbersItselfWhateverTheBufferHolds) {
    Home h;
    auto& bed = h.dict->bedcopy();  // the copy dialog inserts through the alias unprimed
    bed.open();
    for (int expected = 1; expected <= 3; ++expected) {
        setText(bed.record().naam, QStringLiteral("Kopie"));
        ASSERT_EQ(bed.insert(), Status::Ok);  // the buffer still holds the previous number
        EXPECT_EQ(bed.record().id, expected);
    }
    EXPECT_EQ(bed.records(), 3);
    bed.close();
}

TEST(Identifiers, FrozenRowsAreNumberedPerFileAcrossCalculations) {
    Home h;
    h.dict->berekeningenRelations().open();
    const int32_t a = test::addCalculation(*h.dict, 1, 2, 1);
    const int32_t b = test::addCalculation(*h.dict, 1, 2, 1);
    EXPECT_EQ(b, a + 1);
    auto& bb = h.dict->berbron();
    bb.set(Key::BB_By_Fk, b);
    ASSERT_EQ(bb.next(), Status::Ok);
    EXPECT_EQ(bb.record().id, 3);
    h.dict->berekeningenRelations().close();
}

TEST(Keys, NamesOrderWithoutRegardToCaseAndLeaveBlanksOut) {
    Home h;
    auto& bed = h.dict->bedrijven();
    bed.open();
    // Insertion order gives the identifiers, which order equal names.
    for (const char* n : {"jansen", "Bakker", "", "   ", "\xC3\xA9mile", "Zwart", "\xC3\x89MILE",
                          "Jansen", "\xC3\xA0 la ferme", "bakker "}) {
        addCompany(*h.dict, QString::fromUtf8(n));
    }
    const std::vector<QString> expected = {QStringLiteral("Bakker"), QStringLiteral("bakker "),
                                           QStringLiteral("jansen"), QStringLiteral("Jansen"),
                                           QStringLiteral("Zwart"),  QStringLiteral("à la ferme"),
                                           QStringLiteral("émile"),  QStringLiteral("ÉMILE")};
    EXPECT_EQ(namesInOrder(bed, Key::BED_By_Name), expected);
    const std::vector<QString> reversed(expected.rbegin(), expected.rend());
    EXPECT_EQ(namesInOrder(bed, Key::BED_By_Name, true), reversed);
    // The identifier key has them all, blank names included.
    EXPECT_EQ(namesInOrder(bed, Key::BED_By_Id).size(), 10u);

    struct Case {
        const char* name;
        QString value;
        bool forward;
        int32_t expectedId;  // 0: end of file
    };
    const Case cases[] = {
        {"at_value_any_case", QStringLiteral("JANSEN"), true, 1},
        {"after_missing_value", QStringLiteral("K"), true, 6},
        {"accented_equals_capital", QStringLiteral("Émile"), true, 5},
        {"before_value", QStringLiteral("K"), false, 8},
        {"past_the_end", QStringLiteral("Þ"), true, 0},
        {"before_the_first", QStringLiteral("A"), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bed.set(Key::BED_By_Name, c.value);
        const Status st = c.forward ? bed.next() : bed.previous();
        if (c.expectedId == 0) {
            EXPECT_EQ(st, Status::EndOfFile);
        } else {
            ASSERT_EQ(st, Status::Ok);
            EXPECT_EQ(bed.record().id, c.expectedId);
        }
    }
    ASSERT_EQ(bed.fetch(Key::BED_By_Name, QStringLiteral("zWART")), Status::Ok);
    EXPECT_EQ(bed.record().id, 6);
    EXPECT_EQ(bed.fetch(Key::BED_By_Name, QStringLiteral("Zwar")), Status::NotFound);
    EXPECT_EQ(bed.fetch(Key::BED_By_Name, QString()), Status::NotFound);  // blanks are absent
    bed.close();
}

TEST(Keys, ZeroValuesAreLeftOutAndDuplicatesKeepInsertionOrder) {
    Home h;
    auto& bed = h.dict->bedrijven();
    bed.open();
    addCompany(*h.dict, QStringLiteral("a"), 80000);
    addCompany(*h.dict, QStringLiteral("b"), 0);
    addCompany(*h.dict, QStringLiteral("c"), 70000);
    addCompany(*h.dict, QStringLiteral("d"), 80000);
    std::vector<int32_t> ids;
    bed.set(Key::BED_By_CreationDate);
    while (bed.next() == Status::Ok) {
        ids.push_back(bed.record().id);
    }
    EXPECT_EQ(ids, (std::vector<int32_t>{3, 1, 4}));
    bed.close();
}

TEST(Keys, NextAndPreviousTurnAroundAtTheRecordLastRead) {
    Home h;
    auto& bed = h.dict->bedrijven();
    bed.open();
    for (int i = 0; i < 4; ++i) {
        addCompany(*h.dict, QStringLiteral("x"));
    }
    bed.set(Key::BED_By_Id);
    std::vector<int32_t> seen;
    for (Status (FileManager::*step)() :
         {&FileManager::next, &FileManager::next, &FileManager::next, &FileManager::previous,
          &FileManager::previous, &FileManager::previous}) {
        const Status st = (bed.*step)();
        seen.push_back(st == Status::Ok ? bed.record().id : 0);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 3, 2, 1, 0}));
    bed.close();
}

TEST(Keys, ReadingOnSeesChangesMadeMeanwhile) {
    Home h;
    auto& bed = h.dict->bedrijven();
    bed.open();
    for (const char* n : {"a", "b", "c", "d", "e", "f"}) {
        addCompany(*h.dict, QString::fromLatin1(n));
    }
    platform::RecordingSink otherSink;
    platform::ErrorManager otherErrors(otherSink);
    auto other = h.other(otherErrors);
    other->bedrijven().open();

    bed.set(Key::BED_By_Name);
    ASSERT_EQ(bed.next(), Status::Ok);  // a
    ASSERT_EQ(bed.next(), Status::Ok);  // b, with the records after it read ahead
    // A change through this dictionary shows at once.
    auto& copy = h.dict->bedcopy();
    copy.open();
    ASSERT_EQ(copy.fetch(Key::BED_By_Name, QStringLiteral("c")), Status::Ok);
    ASSERT_EQ(copy.remove(), Status::Ok);
    ASSERT_EQ(bed.next(), Status::Ok);
    EXPECT_EQ(text(bed.record().naam), QStringLiteral("d"));
    // Another station's change shows once the records read ahead are older than 10 ms.
    ASSERT_EQ(other->bedrijven().fetch(Key::BED_By_Name, QStringLiteral("e")), Status::Ok);
    ASSERT_EQ(other->bedrijven().remove(), Status::Ok);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(bed.next(), Status::Ok);
    EXPECT_EQ(text(bed.record().naam), QStringLiteral("f"));
    EXPECT_EQ(bed.next(), Status::EndOfFile);
    other->bedrijven().close();
    copy.close();
    bed.close();
}

TEST(Positions, StayValidWhenOtherRecordsComeAndGo) {
    Home h;
    auto& bed = h.dict->bedrijven();
    bed.open();
    addCompany(*h.dict, QStringLiteral("first"));
    addCompany(*h.dict, QStringLiteral("keep"));
    ASSERT_EQ(bed.fetch(Key::BED_By_Name, QStringLiteral("keep")), Status::Ok);
    const int64_t saved = bed.position();
    addCompany(*h.dict, QStringLiteral("later"));
    ASSERT_EQ(bed.fetch(Key::BED_By_Name, QStringLiteral("first")), Status::Ok);
    ASSERT_EQ(bed.remove(), Status::Ok);
    ASSERT_EQ(bed.reget(saved), Status::Ok);
    EXPECT_EQ(text(bed.record().naam), QStringLiteral("keep"));
    ASSERT_EQ(bed.remove(), Status::Ok);
    EXPECT_EQ(bed.reget(saved), Status::NotFound);
    bed.close();
}

TEST(Aliases, WriteThroughTheirOwnBufferWithoutMovingTheReadingPosition) {
    // The company copy: read the source rows through BRONNEN in key order and write the copies
    // through BRONCOPY; the copies belong to a higher company and lie after the source rows.
    Home h;
    h.dict->bedrijvenRelations().open();
    h.dict->broncopyRelations().open();
    const int32_t source = addCompany(*h.dict, QStringLiteral("Boerderij"));
    const int32_t target = addCompany(*h.dict, QStringLiteral("Kopie van Boerderij"));
    for (const char* id : {"EP1", "EP2", "EP3"}) {
        addBron(*h.dict, source, QString::fromLatin1(id));
    }
    auto& bro = h.dict->bronnen();
    auto& copy = h.dict->broncopy();
    bro.record().fkBedrijf = source;
    bro.set(Key::BRO_By_Fk, source);
    int copied = 0;
    while (bro.next() == Status::Ok && bro.record().fkBedrijf == source) {
        copy.record() = bro.record();
        copy.record().fkBedrijf = target;
        ASSERT_EQ(copy.insert(), Status::Ok);
        EXPECT_NE(copy.record().id, bro.record().id);
        ++copied;
    }
    EXPECT_EQ(copied, 3);
    EXPECT_EQ(bro.records(), 6);
    EXPECT_EQ(text(bro.record().userId), QStringLiteral("EP1"));  // the first copy, read last
    EXPECT_EQ(bro.record().fkBedrijf, target);
    EXPECT_EQ(copy.keyName(Key::BRO_By_Fk), QStringLiteral("BRONC:By_Fk"));
    EXPECT_EQ(copy.fieldName(3), QStringLiteral("BRONC:USER_ID"));
    h.dict->broncopyRelations().close();
    h.dict->bedrijvenRelations().close();
}

TEST(Texts, StoredAndReadBackWhole) {
    Home h;
    auto& bed = h.dict->bedrijven();
    auto& ber = h.dict->berekeningen();
    bed.open();
    ber.open();
    const QString longName = QString(253, QLatin1Char('n')) + QStringLiteral("é");
    addCompany(*h.dict, longName);
    setText(ber.record().naam, QString(128, QLatin1Char('c')));
    setText(ber.record().wolkanversienr, QStringLiteral("Versie 1.0"));
    ber.record().ruwheid = 0.25;
    ber.record().eigenruwheid = 1;
    ASSERT_EQ(ber.insert(), Status::Ok);

    auto& copy = h.dict->bedcopy();
    copy.open();
    ASSERT_EQ(copy.fetch(Key::BED_By_Id, 1), Status::Ok);
    EXPECT_EQ(text(copy.record().naam), longName);
    ASSERT_EQ(ber.fetch(Key::BER_By_ID, 1), Status::Ok);
    EXPECT_EQ(text(ber.record().naam).size(), 127);
    EXPECT_EQ(paddedText(ber.record().wolkanversienr).size(), 128);
    const double ruwheid = ber.record().ruwheid;  // packed: read by value
    EXPECT_EQ(ruwheid, 0.25);
    EXPECT_EQ(ber.record().eigenruwheid, 1);
    copy.close();
    ber.close();
    bed.close();
}

TEST(Transactions, SeveralInsertsCommitOrRollBackTogether) {
    Home h;
    h.dict->berekeningenRelations().open();
    auto& bb = h.dict->berbron();
    auto& bg = h.dict->berggl();
    for (bool commit : {false, true}) {
        Transaction tx(*h.dict, {&bb, &bg});
        ASSERT_EQ(tx.status(), Status::Ok);
        for (int i = 0; i < 5; ++i) {
            bb.clear();
            bb.record().yCoord = 400000;
            ASSERT_EQ(bb.insert(), Status::Ok);
            bg.clear();
            bg.record().yCoor = 400000;
            ASSERT_EQ(bg.insert(), Status::Ok);
        }
        if (commit) {
            ASSERT_EQ(tx.commit(), Status::Ok);
        }
    }
    EXPECT_EQ(bb.records(), 5);
    EXPECT_EQ(bg.records(), 5);
    bb.set(Key::BB_By_ID);
    ASSERT_EQ(bb.next(), Status::Ok);
    EXPECT_EQ(bb.record().id, 1);  // the numbers of the undone rows are given out again
    h.dict->berekeningenRelations().close();
}

}  // namespace
}  // namespace store
