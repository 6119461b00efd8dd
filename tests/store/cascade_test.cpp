// Relation managers: the files they open, and the cascading delete with its questions and
// failures.

#include "store_fixture.h"

#include <QElapsedTimer>

#include <map>

namespace store {
namespace {

using test::addBron;
using test::addCalculation;
using test::addCompany;
using test::addGgl;
using test::Home;

// Number of records per file, to compare the whole store before and after.
std::map<FileId, int64_t> counts(Dictionary& d) {
    std::map<FileId, int64_t> n;
    for (FileId f : {FileId::BEDRIJVEN, FileId::BRONNEN, FileId::GEURGEVLOC, FileId::BEREKENINGEN,
                     FileId::BERBRON, FileId::BERGGL}) {
        n[f] = d.file(f)->records();
    }
    return n;
}

// Two companies, each with 3 points, 2 locations and 2 calculations of 4 points and 5
// locations. Returns the first company's identifier.
int32_t twoCompanies(Dictionary& d) {
    int32_t first = 0;
    for (const char* name : {"Jansen", "Pietersen"}) {
        const int32_t id = addCompany(d, QString::fromLatin1(name));
        first = first == 0 ? id : first;
        for (int i = 0; i < 3; ++i) {
            addBron(d, id, QStringLiteral("EP%1").arg(i));
        }
        addGgl(d, id, QStringLiteral("W1"));
        addGgl(d, id, QStringLiteral("W2"));
        addCalculation(d, id, 4, 5);
        addCalculation(d, id, 4, 5);
    }
    return first;
}

class Cascade : public ::testing::Test {
protected:
    void SetUp() override {
        h.dict->bedrijvenRelations().open();
        company = twoCompanies(*h.dict);
        before = counts(*h.dict);
        ASSERT_EQ(h.dict->bedrijven().fetch(Key::BED_By_Id, company), Status::Ok);
        h.sink.clear();
    }
    void TearDown() override { h.dict->bedrijvenRelations().close(); }

    Home h;
    int32_t company = 0;
    std::map<FileId, int64_t> before;
};

TEST(Relations, OpenReachesEveryRelatedFileOnceAndCloseUndoesIt) {
    Home h;
    int ruwheidOpens = 0;
    h.dict->setRuwheidHooks([&] { ++ruwheidOpens; }, [&] { --ruwheidOpens; });
    // Every file reaches every other through its parent, so each open request opens all six
    // once, whichever file it starts from.
    h.dict->bedrijvenRelations().open();
    h.dict->bergglRelations().open();
    struct Case {
        FileId file;
        int opens;
    };
    const Case cases[] = {
        {FileId::BEDRIJVEN, 2}, {FileId::BEREKENINGEN, 2}, {FileId::BERBRON, 2},
        {FileId::BERGGL, 2},    {FileId::BRONNEN, 2},      {FileId::GEURGEVLOC, 2},
        {FileId::BEDCOPY, 0},   {FileId::BRONCOPY, 0},     {FileId::GGLCOPY, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(h.dict->file(c.file)->openCount(), c.opens) << fileLabel(c.file);
    }
    EXPECT_EQ(ruwheidOpens, 0);
    h.dict->ruwheidRelations().open();
    EXPECT_EQ(ruwheidOpens, 1);
    h.dict->ruwheidRelations().close();
    h.dict->bergglRelations().close();
    h.dict->bedrijvenRelations().close();
    for (const Case& c : cases) {
        EXPECT_FALSE(h.dict->file(c.file)->isOpen()) << fileLabel(c.file);
    }
    // An alias opens only itself.
    h.dict->bedcopyRelations().open();
    EXPECT_TRUE(h.dict->bedcopy().isOpen());
    EXPECT_FALSE(h.dict->bronnen().isOpen());
    h.dict->bedcopyRelations().close();
}

TEST_F(Cascade, DeletingACompanyRemovesEverythingOfItAndNothingElse) {
    h.sink.answers = {platform::Yes};
    EXPECT_EQ(h.dict->bedrijvenRelations().remove(true), DeleteResult::Done);
    ASSERT_EQ(h.sink.messages.size(), 1u);
    EXPECT_EQ(h.sink.messages[0].title, QStringLiteral("Confirm Delete"));
    EXPECT_EQ(h.sink.messages[0].text,
              QStringLiteral("Are you sure you want to delete the highlighted record?"));
    EXPECT_EQ(h.sink.messages[0].buttons, platform::Yes | platform::No);

    std::map<FileId, int64_t> expected = {{FileId::BEDRIJVEN, 1},  {FileId::BRONNEN, 3},
                                          {FileId::GEURGEVLOC, 2}, {FileId::BEREKENINGEN, 2},
                                          {FileId::BERBRON, 8},    {FileId::BERGGL, 10}};
    EXPECT_EQ(counts(*h.dict), expected);
    // What is left is the other company's.
    auto& ber = h.dict->berekeningen();
    ber.set(Key::BER_By_Fk, company);
    ASSERT_EQ(ber.next(), Status::Ok);
    EXPECT_NE(ber.record().fk, company);
    for (auto* f : {static_cast<FileManager*>(&h.dict->berbron()),
                    static_cast<FileManager*>(&h.dict->berggl())}) {
        f->setRecordOrder();
        while (f->next() == Status::Ok) {
            int32_t fk;
            std::memcpy(&fk, f->buffer() + 4, sizeof fk);
            EXPECT_GE(fk, 3) << f->label().toStdString();  // calculations 1 and 2 are gone
        }
    }
}

TEST_F(Cascade, AnsweringNoDeletesNothing) {
    h.sink.answers = {platform::No};
    EXPECT_EQ(h.dict->bedrijvenRelations().remove(true), DeleteResult::Cancelled);
    EXPECT_EQ(counts(*h.dict), before);
}

TEST_F(Cascade, DeletingACalculationLeavesItsCompanyAndTheOtherCalculation) {
    auto& ber = h.dict->berekeningen();
    ASSERT_EQ(ber.fetch(Key::BER_By_ID, 1), Status::Ok);
    EXPECT_EQ(h.dict->berekeningenRelations().remove(false), DeleteResult::Done);
    EXPECT_TRUE(h.sink.messages.empty());
    auto expected = before;
    expected[FileId::BEREKENINGEN] -= 1;
    expected[FileId::BERBRON] -= 4;
    expected[FileId::BERGGL] -= 5;
    EXPECT_EQ(counts(*h.dict), expected);
    EXPECT_EQ(ber.fetch(Key::BER_By_ID, 2), Status::Ok);
}

TEST_F(Cascade, ChangingACompanyTouchesNoOtherFile) {
    setText(h.dict->bedrijven().record().naam, QStringLiteral("Jansen BV"));
    setText(h.dict->bedrijven().record().meteo, QStringLiteral("Schiphol"));
    EXPECT_EQ(h.dict->bedrijvenRelations().update(), Status::Ok);
    EXPECT_EQ(counts(*h.dict), before);
    EXPECT_EQ(h.dict->bronnen().fetch(Key::BRO_By_Fk, company), Status::Ok);
}

TEST_F(Cascade, AFailingFrozenRowUndoesTheWholeDelete) {
    // The fourth frozen point of the second calculation cannot be deleted.
    test::RawFile raw(h.path("BerBron.tps"));
    ASSERT_TRUE(
        raw.exec("CREATE TRIGGER refuse BEFORE DELETE ON BERBRON WHEN old.ID = 8 "
                 "BEGIN SELECT RAISE(ABORT, 'disk says no'); END"));
    EXPECT_EQ(h.dict->bedrijvenRelations().remove(false), DeleteResult::Failed);
    EXPECT_EQ(counts(*h.dict), before);
    ASSERT_EQ(h.sink.messages.size(), 1u);
    EXPECT_EQ(h.sink.messages[0].title, QStringLiteral("Record was not deleted"));
    EXPECT_EQ(h.sink.messages[0].text,
              QStringLiteral("An error (disk says no) was experienced when deleting a record from "
                             "the BerBron.tps file."));
    EXPECT_FALSE(h.dict->inTransaction());
    EXPECT_EQ(h.dict->bedrijven().openCount(), 1);  // the delete closed what it opened
}

TEST_F(Cascade, AFailingParentIsRetriedWhenTheUserSaysYes) {
    test::RawFile raw(h.path("Bedrijven.tps"));
    ASSERT_TRUE(
        raw.exec("CREATE TRIGGER refuse BEFORE DELETE ON BEDRIJVEN "
                 "BEGIN SELECT RAISE(ABORT, 'locked by test'); END"));
    // No gives up; everything stays.
    h.sink.answers = {platform::Ok, platform::No};
    EXPECT_EQ(h.dict->bedrijvenRelations().remove(false), DeleteResult::Failed);
    EXPECT_EQ(counts(*h.dict), before);
    ASSERT_EQ(h.sink.titles(), (QStringList{QStringLiteral("Record was not deleted"),
                                            QStringLiteral("Record Delete Error")}));
    EXPECT_EQ(h.sink.messages[0].text,
              QStringLiteral("An error (locked by test) was experienced when deleting a record "
                             "from the Bedrijven.tps file."));
    EXPECT_EQ(h.sink.messages[1].text,
              QStringLiteral("An error was experienced deleting this record. Do you want to try "
                             "to delete it again?"));

    // Yes tries again; the trigger is gone by then, so the second attempt succeeds.
    struct DropOnRetry : platform::MessageSink {
        test::RawFile* raw;
        int shown = 0;
        platform::Button show(const platform::Message& m) override {
            ++shown;
            if (m.title == QStringLiteral("Record Delete Error")) {
                raw->exec("DROP TRIGGER refuse");
                return platform::Yes;
            }
            return platform::Ok;
        }
    } sink;
    sink.raw = &raw;
    platform::ErrorManager errors(sink);
    auto other = h.other(errors);
    other->bedrijvenRelations().open();
    ASSERT_EQ(other->bedrijven().fetch(Key::BED_By_Id, company), Status::Ok);
    EXPECT_EQ(other->bedrijvenRelations().remove(false), DeleteResult::Done);
    EXPECT_EQ(sink.shown, 2);
    EXPECT_EQ(h.dict->bedrijven().records(), 1);
    EXPECT_EQ(h.dict->bronnen().records(), 3);
    other->bedrijvenRelations().close();
}

TEST_F(Cascade, FilesHeldByAnotherStationCancelAfterTwoSeconds) {
    platform::RecordingSink otherSink;
    platform::ErrorManager otherErrors(otherSink);
    auto other = h.other(otherErrors);
    auto& bg = other->berggl();
    bg.open();
    ASSERT_EQ(other->beginTransaction({&bg}), Status::Ok);

    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(h.dict->bedrijvenRelations().remove(false), DeleteResult::Failed);
    EXPECT_GE(timer.elapsed(), 1900);
    ASSERT_EQ(h.sink.messages.size(), 1u);
    EXPECT_EQ(h.sink.messages[0].title, QStringLiteral("Transaction cancelled"));
    EXPECT_EQ(h.sink.messages[0].text,
              QStringLiteral("Error: (database is locked) attempting to frame the transaction on "
                             "BerGGL.tps."));
    other->rollback();
    EXPECT_EQ(counts(*h.dict), before);
    bg.close();
}

}  // namespace
}  // namespace store
