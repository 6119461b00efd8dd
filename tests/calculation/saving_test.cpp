#include "calculation/saving.h"

#include "calculation/bedrijf.h"
#include "calculation/cli_report.h"
#include "platform/clock.h"
#include "store/calendar.h"
#include "store/dictionary.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// A home directory with its record files, companies added through the store.
class Store : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        home = dir.filePath(QStringLiteral("Home"));
        QDir().mkpath(home);
        dictionary = std::make_unique<store::Dictionary>(home, errors);
        dictionary->bedrijvenRelations().open();
    }
    void TearDown() override { dictionary->bedrijvenRelations().close(); }

    int32_t company(const QString& naam, const QString& meteo = QStringLiteral("EINDHOVEN")) {
        auto& bed = dictionary->bedrijven();
        EXPECT_EQ(bed.prime(), store::Status::Ok);
        store::setText(bed.record().naam, naam);
        store::setText(bed.record().meteo, meteo);
        EXPECT_EQ(bed.insert(), store::Status::Ok);
        return bed.record().id;
    }
    int32_t bron(int32_t bedId, const QString& label, int32_t x, int32_t y) {
        auto& bro = dictionary->bronnen();
        EXPECT_EQ(bro.prime(), store::Status::Ok);
        auto& r = bro.record();
        r.fkBedrijf = bedId;
        store::setText(r.userId, label);
        r.xCoord = x;
        r.yCoord = y;
        r.stHoogte = 6.5;
        r.gemgebhoogte = 5;
        r.eVergund = 12000;
        EXPECT_EQ(bro.insert(), store::Status::Ok);
        return r.id;
    }
    int32_t ggl(int32_t bedId, const QString& label, int32_t x, int32_t y, double norm) {
        auto& g = dictionary->geurgevloc();
        EXPECT_EQ(g.prime(), store::Status::Ok);
        auto& r = g.record();
        r.fkBedrijf = bedId;
        store::setText(r.userId, label);
        r.xCoor = x;
        r.yCoor = y;
        r.geurnorm = norm;
        EXPECT_EQ(g.insert(), store::Status::Ok);
        return r.id;
    }
    void load(int32_t bedId) {
        ASSERT_EQ(dictionary->bedrijven().fetch(store::Key::BED_By_Id, store::KeyValue(bedId)),
                  store::Status::Ok);
        calculation::getBedrijf(state, *dictionary);
    }
    // The frozen rows of a calculation: count of BERBRON and BERGGL records linked to it.
    std::pair<int, int> frozenCounts(int32_t berId) {
        int bb = 0;
        int bg = 0;
        auto& berbron = dictionary->berbron();
        berbron.set(store::Key::BB_By_Fk, store::KeyValue(berId));
        while (berbron.next() == store::Status::Ok && berbron.record().fkBerekening == berId) {
            ++bb;
        }
        auto& berggl = dictionary->berggl();
        berggl.set(store::Key::BG_By_Fk, store::KeyValue(berId));
        while (berggl.next() == store::Status::Ok && berggl.record().fkBerekening == berId) {
            ++bg;
        }
        return {bb, bg};
    }

    QTemporaryDir dir;
    QString home;
    platform::RecordingSink sink;
    platform::ErrorManager errors{sink};
    std::unique_ptr<store::Dictionary> dictionary;
    calculation::BerekenenState state;
    platform::FixedClock clock{QDateTime(QDate(2026, 3, 4), QTime(15, 16, 17, 180))};
};

TEST_F(Store, GetBedrijfLoadsOnlyTheCompanysRowsInOrder) {
    const int32_t a = company(QStringLiteral("Jansen"));
    const int32_t b = company(QStringLiteral("Pietersen"));
    // Interleaved, so the company's rows are not consecutive in the files.
    const int32_t a1 = bron(a, QStringLiteral("EP1"), 155000, 463000);
    bron(b, QStringLiteral("Ander"), 100000, 400000);
    const int32_t a2 = bron(a, QStringLiteral("ABCDEFGHIJKLMNOPQRST"), 154000, 464500);
    const int32_t g1 = ggl(a, QStringLiteral("Woning"), 155300, 463000, 2.0);
    ggl(b, QStringLiteral("Ander"), 1, 1, 1);
    const int32_t g2 = ggl(a, QStringLiteral("School"), 155900, 462000, 3.0);
    load(a);
    ASSERT_EQ(state.gridq.size(), 4u);
    const int32_t ids[] = {a1, a2, g1, g2};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(state.gridq[i].id, ids[i]);
        EXPECT_EQ(state.gridq[i].volgnummer, static_cast<int32_t>(i + 1));
    }
    EXPECT_EQ(state.gridq[0].userId, QStringLiteral("EP1").leftJustified(20));
    EXPECT_EQ(state.gridq[1].userId, QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(state.gridq[0].stHoogte, 6.5);
    EXPECT_EQ(state.gridq[0].stBinnen, 0.5) << "default of a new emission point";
    EXPECT_EQ(state.gridq[3].limit, 3.0);
    EXPECT_EQ(state.bedNaam, QStringLiteral("Jansen"));
    EXPECT_EQ(state.locMinxbron, 154000);
    EXPECT_EQ(state.locMaxxbron, 155000);
    EXPECT_EQ(state.locMinybron, 463000);
    EXPECT_EQ(state.locMaxybron, 464500);

    const int32_t c = company(QStringLiteral("Leeg"));
    load(c);
    EXPECT_TRUE(state.gridq.empty());
    EXPECT_EQ(state.locMinxbron, 3000000);
    EXPECT_EQ(state.locMinybron, 650000);
    EXPECT_EQ(state.locMaxxbron, 0);
    EXPECT_EQ(state.locMaxybron, 0);
}

TEST_F(Store, SavingStoresTheRecordAndLinkedFrozenRows) {
    const int32_t a = company(QStringLiteral("Jansen"));
    bron(a, QStringLiteral("EP1"), 155000, 463000);
    bron(a, QStringLiteral("EP2"), 155100, 463000);
    for (int i = 0; i < 3; ++i) {
        ggl(a, QStringLiteral("W%1").arg(i), 155300 + i, 463000, 2.0);
    }
    load(a);
    calculation::setLoad(state.gridq[2], 2.5);
    state.runtime = 1234;
    state.locRuwheid = 0.25;
    state.locVersienrregel = QStringLiteral("Model 2.0");
    const QString name = QString(200, QLatin1Char('n'));
    calculation::FrozenCopy copy;
    const int32_t berId =
        calculation::berekeningenBewaren(state, *dictionary, sink, clock, name, nullptr, &copy);
    ASSERT_NE(berId, 0);
    EXPECT_EQ(state.saveResult, berId);
    EXPECT_TRUE(copy.inTransaction);
    EXPECT_EQ(copy.bronnen, 2);
    EXPECT_EQ(copy.locaties, 3);
    EXPECT_EQ(frozenCounts(berId), std::make_pair(2, 3));
    EXPECT_TRUE(sink.messages.empty());

    calculation::Gridq gridq;
    const auto saved = calculation::loadSavedCalculation(*dictionary, berId, gridq);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->naam, QString(127, QLatin1Char('n')));
    EXPECT_EQ(saved->fk, a);
    EXPECT_EQ(saved->eigenRuwheid, 0);
    EXPECT_EQ(saved->ruwheid, 0.25);
    EXPECT_EQ(saved->rekentijd, 1234);
    EXPECT_EQ(saved->versie, QStringLiteral("Model 2.0"));
    EXPECT_EQ(saved->berDatum, store::dayNumber(QDate(2026, 3, 4)));
    EXPECT_EQ(saved->berTijd, store::timeNumber(QTime(15, 16, 17, 180)));
    ASSERT_EQ(gridq.size(), 5u);
    EXPECT_EQ(gridq[2].value, 2.5);
    EXPECT_EQ(gridq[2].colorNfg, calculation::kRed);
    EXPECT_EQ(gridq[3].colorNfg, calculation::kBlack);
    EXPECT_EQ(gridq[4].volgnummer, 5);

    // Saving again gives a second calculation with its own copies.
    const int32_t again =
        calculation::berekeningenBewaren(state, *dictionary, sink, clock, QString());
    EXPECT_NE(again, berId);
    EXPECT_EQ(frozenCounts(again), std::make_pair(2, 3));
    EXPECT_EQ(calculation::savedCalculations(*dictionary, a).size(), 2u);
}

TEST_F(Store, ARefusedCopyIsReportedAndTheRestIsSaved) {
    const int32_t a = company(QStringLiteral("Jansen"));
    bron(a, QStringLiteral("EP1"), 155000, 463000);
    bron(a, QStringLiteral("Buiten"), 300000, 463000);
    ggl(a, QStringLiteral("W"), 155300, 463000, 2.0);
    load(a);
    calculation::FrozenCopy copy;
    const int32_t berId = calculation::berekeningenBewaren(state, *dictionary, sink, clock,
                                                           QStringLiteral("x"), nullptr, &copy);
    ASSERT_NE(berId, 0);
    EXPECT_EQ(sink.titles(), QStringList{QStringLiteral("Range Error")});
    EXPECT_EQ(sink.texts(),
              QStringList{QStringLiteral("The value of BB:X_Coord must be in range 0 .. 299999.")});
    EXPECT_EQ(copy.refused, 1);
    EXPECT_EQ(frozenCounts(berId), std::make_pair(1, 1));
}

TEST_F(Store, SavingAfterAnotherCompanyWasLoadedTakesThatCompany) {
    const int32_t a = company(QStringLiteral("A"));
    bron(a, QStringLiteral("EP"), 155000, 463000);
    const int32_t g = ggl(a, QStringLiteral("W"), 155300, 463000, 2.0);
    const int32_t b = company(QStringLiteral("B"));
    bron(b, QStringLiteral("EP-B"), 150000, 460000);
    ggl(b, QStringLiteral("W-B"), 150300, 460000, 1.0);
    load(a);
    ASSERT_EQ(state.gridq[1].id, g);
    calculation::setLoad(state.gridq[1], 5.0);
    state.runtime = 77;
    state.locRuwheid = 0.31;
    state.locVersienrregel = QStringLiteral("Model 2.0");
    state.saveEnabled = true;
    load(b);
    const int32_t berId =
        calculation::berekeningenBewaren(state, *dictionary, sink, clock, QStringLiteral("na B"));
    calculation::Gridq gridq;
    const auto saved = calculation::loadSavedCalculation(*dictionary, berId, gridq);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->fk, b);
    EXPECT_EQ(saved->rekentijd, 77);
    EXPECT_EQ(saved->ruwheid, 0.31);
    EXPECT_EQ(saved->versie, QStringLiteral("Model 2.0"));
    ASSERT_EQ(gridq.size(), 2u);
    EXPECT_EQ(gridq[0].userId.trimmed(), QStringLiteral("EP-B"));
    EXPECT_EQ(gridq[1].value, 0.0);
}

TEST_F(Store, CalcFromTheCommandLineRunsSavesListsShowsAndDeletes) {
    const int32_t a = company(QStringLiteral("Jansen"));
    bron(a, QStringLiteral("EP1"), 155000, 463000);
    ggl(a, QStringLiteral("Woning 1"), 155300, 463000, 1.0);  // number 2: load 1 × 2 × 0.75
    ggl(a, QStringLiteral("Woning 2"), 155300, 463100, 2.0);  // number 3: load 0

    QDir(dir.path()).mkpath(QStringLiteral("Input"));
    QDir(dir.path()).mkpath(QStringLiteral("Output"));
    calculation::CalculationPaths paths;
    paths.inputDir = dir.filePath(QStringLiteral("Input/"));
    paths.outputDir = dir.filePath(QStringLiteral("Output/"));
    setenv("VV_FAKE_MODEL_INPUT", QFile::encodeName(paths.inputDir).constData(), 1);
    setenv("VV_FAKE_MODEL_OUTPUT", QFile::encodeName(paths.resultsPath()).constData(), 1);
    unsetenv("VV_FAKE_MODEL_CODE");
    unsetenv("VV_FAKE_MODEL_RESULTS");
    platform::ModelLibrary model;
    ASSERT_TRUE(model.load()) << model.errorText().toStdString();
    auto grid = calculation::openRoughnessGrid(*dictionary);
    calculation::BerekenenServices services(*grid, sink, clock, paths, model.ping());

    calculation::CalcRequest request;
    request.bedId = a;
    request.eigenRuwheid = 0.4;
    request.saveName = QStringLiteral("Eerste");
    const calculation::CalcOutcome outcome = calculation::runCalc(*dictionary, services, request);
    ASSERT_TRUE(outcome.companyFound);
    EXPECT_EQ(outcome.result, calculation::StartResult::Calculated);
    ASSERT_NE(outcome.berId, 0);
    EXPECT_TRUE(sink.messages.empty()) << sink.texts().join(QLatin1Char('|')).toStdString();
    const QString text = calculation::calcText(outcome);
    EXPECT_EQ(
        text,
        QStringLiteral(
            "Nr. ID                   X-Coord. Y-Coord. Type  Geur norm Geur belasting\n"
            "  1 EP1                   155 000  463 000  B                        \n"
            "  2 Woning 1              155 300  463 000  G          1,0        1,5 overschreden\n"
            "  3 Woning 2              155 300  463 100  G          2,0           \n"
            "Ruwheid: 0,40 (eigen)\n"
            "Versie: Testmodel 1.0\n"
            "Rekentijd: 0,00 s\n") +
            QStringLiteral("BER:ID %1\n").arg(outcome.berId));
    EXPECT_EQ(calculation::calcJson(outcome)
                  .value(QStringLiteral("rijen"))
                  .toArray()
                  .at(1)
                  .toObject()
                  .value(QStringLiteral("overschreden"))
                  .toBool(),
              true);

    const auto list = calculation::savedCalculations(*dictionary, a);
    EXPECT_EQ(calculation::savedListText(list),
              QStringLiteral("%1\tEerste\t04-03-2026\t15:16:17\n").arg(outcome.berId));
    calculation::Gridq gridq;
    const auto saved = calculation::loadSavedCalculation(*dictionary, outcome.berId, gridq);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(calculation::savedShowText(*saved, gridq)
                    .contains(QStringLiteral("  2 Woning 1              155 300  463 000  G        "
                                             "1,000      1,500 overschreden\n")));

    EXPECT_EQ(calculation::deleteSavedCalculation(*dictionary, outcome.berId, false),
              calculation::SavedDeleteResult::Done);
    EXPECT_TRUE(calculation::savedCalculations(*dictionary, a).empty());
    EXPECT_EQ(frozenCounts(outcome.berId), std::make_pair(0, 0));
    EXPECT_EQ(calculation::deleteSavedCalculation(*dictionary, outcome.berId, false),
              calculation::SavedDeleteResult::NotFound);

    request.bedId = 999;
    EXPECT_FALSE(calculation::runCalc(*dictionary, services, request).companyFound);
}

}  // namespace
