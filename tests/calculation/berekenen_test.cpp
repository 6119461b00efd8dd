#include "calculation/berekenen.h"

#include "calculation/param_files.h"
#include "calculation/roughness_grid.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

using calctest::bron;
using calctest::ggl;
using calculation::StartResult;

// Records the busy cursor and the messages in one sequence, so their order can be checked.
struct Journal : platform::MessageSink, calculation::BusyCursor {
    platform::Button show(const platform::Message& message) override {
        events.push_back(message.text);
        return platform::Ok;
    }
    void setBusy(bool busy) override {
        events.push_back(busy ? QStringLiteral("<busy>") : QStringLiteral("<normal>"));
    }
    QStringList events;
};

QDateTime at(int h, int m, int s, int ms = 0) {
    return QDateTime(QDate(2026, 3, 4), QTime(h, m, s, ms));
}

class Berekenen : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("Input"));
        QDir(dir.path()).mkpath(QStringLiteral("Output"));
        paths.inputDir = dir.filePath(QStringLiteral("Input/"));
        paths.outputDir = dir.filePath(QStringLiteral("Output/"));
        log = dir.filePath(QStringLiteral("ping.log"));
        setenv("VV_FAKE_MODEL_INPUT", QFile::encodeName(paths.inputDir).constData(), 1);
        setenv("VV_FAKE_MODEL_OUTPUT", QFile::encodeName(paths.resultsPath()).constData(), 1);
        setenv("VV_FAKE_MODEL_LOG", QFile::encodeName(log).constData(), 1);
        unsetenv("VV_FAKE_MODEL_CODE");
        unsetenv("VV_FAKE_MODEL_RESULTS");

        // Roughness 0.25 around (155000, 463000), nothing elsewhere.
        QString error;
        const QString gridPath = dir.filePath(QStringLiteral("Roughness.tps"));
        ASSERT_TRUE(calculation::writeRoughnessFile(
            gridPath,
            [](int32_t r, std::vector<float>& cells) {
                cells.assign(calculation::kGridColumns, 0.25f);
                return r >= 1600 && r <= 1660;
            },
            {}, error));
        platform::ErrorManager errors(journal);
        grid = calculation::RoughnessGrid::open(gridPath, errors);
        ASSERT_TRUE(model.load()) << model.errorText().toStdString();
    }

    // Company with two emission points and three locations (standards 1, 2 and 100).
    void loadCompany() {
        auto b1 = bron(11, QStringLiteral("EP-b"), 155000, 463000);
        auto b2 = bron(10, QStringLiteral("EP-a"), 155400, 463300);
        b1.stHoogte = b2.stHoogte = 6;
        calculation::loadGridq(state, {ggl(30, QStringLiteral("W3"), 155800, 463000, 100.0), b1,
                                       ggl(21, QStringLiteral("W1"), 155300, 463000, 1.0), b2,
                                       ggl(22, QStringLiteral("W2"), 155300, 463100, 2.0)});
        state.bedId = 1;
        state.bedNaam = QStringLiteral("Jansen");
        state.bedMeteo = QStringLiteral("Eindhoven");
    }

    StartResult start(std::deque<QDateTime> moments = {at(14, 5, 7)}) {
        calctest::ScriptedClock clock(std::move(moments));
        calculation::BerekenenServices services{*grid, journal, clock, paths, model.ping()};
        services.busy = &journal;
        services.drawBubble = [this] { journal.events.push_back(QStringLiteral("<draw>")); };
        return calculation::startBerekenen(state, services);
    }

    QString pingLog() const { return QString::fromLatin1(calctest::readBytes(log)); }

    QTemporaryDir dir;
    calculation::CalculationPaths paths;
    QString log;
    Journal journal;
    std::unique_ptr<calculation::RoughnessGrid> grid;
    platform::ModelLibrary model;
    calculation::BerekenenState state;
};

TEST_F(Berekenen, TheTestModelIsFoundOnTheLibraryPath) {
    EXPECT_TRUE(model.path().endsWith(QStringLiteral("fake-model/libzivirare.so")))
        << model.path().toStdString();
}

TEST_F(Berekenen, LoadNumbersRowsAndBoundsTheEmissionPoints) {
    loadCompany();
    ASSERT_EQ(state.gridq.size(), 5u);
    const int32_t ids[] = {10, 11, 21, 22, 30};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(state.gridq[i].id, ids[i]);
        EXPECT_EQ(state.gridq[i].volgnummer, static_cast<int32_t>(i + 1));
        EXPECT_EQ(state.gridq[i].value, 0);
        EXPECT_EQ(state.gridq[i].userId.size(), calculation::kUserIdLength);
    }
    EXPECT_EQ(state.locMinxbron, 155000);
    EXPECT_EQ(state.locMaxxbron, 155400);
    EXPECT_EQ(state.locMinybron, 463000);
    EXPECT_EQ(state.locMaxybron, 463300);

    calculation::loadGridq(state, {ggl(1, QStringLiteral("W"), 1, 2, 3)});
    EXPECT_EQ(state.locMinxbron, 3000000);
    EXPECT_EQ(state.locMaxxbron, 0);
    EXPECT_EQ(state.locMinybron, 650000);
    EXPECT_EQ(state.locMaxybron, 0);
    EXPECT_EQ(state.gridq[0].volgnummer, 1);
}

TEST_F(Berekenen, SuccessfulRunDerivesRoughnessCallsTheModelAndReadsResults) {
    loadCompany();
    EXPECT_EQ(start(), StartResult::Calculated);
    EXPECT_EQ(pingLog(), QStringLiteral("ping 3\n"));
    EXPECT_EQ(state.pingReturn, 0);
    EXPECT_EQ(state.locRuwheid, 0.25);
    EXPECT_TRUE(state.saveEnabled);
    EXPECT_EQ(state.locVersienrregel, QStringLiteral("Testmodel 1.0"));
    EXPECT_EQ(journal.events, (QStringList{QStringLiteral("<busy>"), QStringLiteral("<draw>"),
                                           QStringLiteral("<normal>")}));
    // Back in numbered order; loads = standard × (number mod 3) × 0.75.
    ASSERT_EQ(state.gridq.size(), 5u);
    const double loads[] = {0, 0, 0, 1.5, 150};
    const int32_t colours[] = {calculation::kDefaultColor, calculation::kDefaultColor,
                               calculation::kBlack, calculation::kBlack, calculation::kRed};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(state.gridq[i].volgnummer, static_cast<int32_t>(i + 1));
        EXPECT_EQ(state.gridq[i].value, loads[i]) << i;
        EXPECT_EQ(state.gridq[i].colorNfg, colours[i]) << i;
    }
    // Another company loaded afterwards: empty loads, saving still possible.
    calculation::loadGridq(state, {bron(1, QStringLiteral("X"), 1, 2)});
    EXPECT_TRUE(state.saveEnabled);
    EXPECT_EQ(state.locVersienrregel, QStringLiteral("Testmodel 1.0"));
}

TEST_F(Berekenen, NegativeReturnGivesTheTimedMessageAndDisablesSaving) {
    loadCompany();
    ASSERT_EQ(start(), StartResult::Calculated);
    setenv("VV_FAKE_MODEL_CODE", "-2", 1);
    journal.events.clear();
    EXPECT_EQ(start({at(9, 5, 7)}), StartResult::ModelFailed);
    EXPECT_EQ(state.pingReturn, -2);
    EXPECT_FALSE(state.saveEnabled);
    EXPECT_EQ(journal.events,
              (QStringList{QStringLiteral("<busy>"), QStringLiteral("<normal>"),
                           QStringLiteral(" 9:05:07 Simulatie niet goed beeindigd, kontroleer uw "
                                          "instellingen en begin opnieuw! code:-2")}));
    // The locations stay first and keep the loads of the earlier run.
    ASSERT_EQ(state.gridq.size(), 5u);
    EXPECT_TRUE(state.gridq[0].isGgl());
    EXPECT_EQ(state.gridq[2].volgnummer, 5);
    EXPECT_EQ(state.gridq[2].value, 150);
    EXPECT_EQ(state.gridq[3].volgnummer, 1);
}

TEST_F(Berekenen, OwnRoughnessOutsideTheRangeStopsBeforeTheModel) {
    loadCompany();
    state.eigenRuwheid = 1;
    for (const double refused : {1.5, 0.02, 1.0000001}) {
        state.locRuwheid = refused;
        journal.events.clear();
        EXPECT_EQ(start({at(10, 0, 0), at(10, 0, 3, 500)}), StartResult::RoughnessRefused);
        EXPECT_EQ(journal.events,
                  (QStringList{QStringLiteral("<busy>"), QStringLiteral("<normal>"),
                               QStringLiteral("Ruwheid niet tussen 0.03 en 1, kontroleer uw "
                                              "instellingen en begin opnieuw!")}));
        EXPECT_EQ(state.runtime, 350);
        EXPECT_EQ(state.locRuwheid, refused);
    }
    EXPECT_TRUE(pingLog().isEmpty());
    EXPECT_FALSE(QFile::exists(paths.inputDir + calculation::kParamFile));

    for (const auto& [accepted, text] : {std::pair{1.0, "1"}, {0.03, "0.03"}}) {
        state.locRuwheid = accepted;
        EXPECT_EQ(start(), StartResult::Calculated);
        const QList<QByteArray> lines =
            calctest::readBytes(paths.inputDir + calculation::kParamFile).split('\n');
        ASSERT_EQ(lines.size(), 13);
        EXPECT_EQ(lines[10], QByteArray(text) + '\r');
        EXPECT_EQ(state.locRuwheid, accepted);
    }
}

TEST_F(Berekenen, BeforeAnyCompanyTheRoughnessFallsBackAndTheRunGoesOn) {
    EXPECT_EQ(start(), StartResult::Calculated);
    EXPECT_EQ(journal.events, (QStringList{QStringLiteral("<busy>"),
                                           QStringLiteral("Y waarde niet tussen 300000 en 625000"),
                                           QStringLiteral("<draw>"), QStringLiteral("<normal>")}));
    EXPECT_EQ(state.locRuwheid, 0.1);
    EXPECT_TRUE(state.saveEnabled);
    EXPECT_TRUE(
        calctest::readBytes(paths.inputDir + calculation::kBronnenFile)
            .startsWith(
                "Dit is een bronneninvoer bestand voor bedrijf: gemaakt op:2026-03-04\r\n"));
}

TEST_F(Berekenen, RunTimeWrapsAtMidnight) {
    loadCompany();
    EXPECT_EQ(
        start({at(23, 59, 50), at(23, 59, 55), QDateTime(QDate(2026, 3, 5), QTime(0, 0, 10))}),
        StartResult::Calculated);
    EXPECT_EQ(state.runtime, 2000);
    EXPECT_EQ(calculation::elapsedHundredths(100, 250), 150);
    EXPECT_EQ(calculation::timeText(QTime(23, 4, 5)), QStringLiteral("23:04:05"));
}

TEST_F(Berekenen, ZeroReturnWithoutResultsFileStillEnablesSaving) {
    loadCompany();
    setenv("VV_FAKE_MODEL_RESULTS",
           QFile::encodeName(dir.filePath(QStringLiteral("none"))).constData(), 1);
    EXPECT_EQ(start(), StartResult::Calculated);
    EXPECT_TRUE(state.saveEnabled);
    // Read while the cursor is still busy, like the roughness warnings.
    EXPECT_EQ(
        journal.events,
        (QStringList{
            QStringLiteral("<busy>"),
            QStringLiteral("File Not Found error for file:") +
                QDir::toNativeSeparators(
                    QDir(paths.outputDir).absoluteFilePath(QStringLiteral("RepGeurBelast.dat"))),
            QStringLiteral("<draw>"), QStringLiteral("<normal>")}));
    EXPECT_EQ(state.gridq[0].volgnummer, 1);
}

TEST_F(Berekenen, WithoutAModelLibraryNothingRunsAndSavingIsOff) {
    loadCompany();
    state.saveEnabled = true;
    calctest::ScriptedClock clock({at(8, 0, 0)});
    calculation::BerekenenServices services{*grid, journal, clock, paths, {}};
    EXPECT_EQ(calculation::startBerekenen(state, services), StartResult::ModelMissing);
    EXPECT_FALSE(state.saveEnabled);
    EXPECT_EQ(journal.events, QStringList{services.modelMissingText});

    platform::ModelLibrary missing;
    EXPECT_FALSE(missing.load("libvv-no-such-model.so"));
    EXPECT_TRUE(missing.errorText().contains(QStringLiteral("libvv-no-such-model.so")));
    EXPECT_EQ(missing.ping(), nullptr);
}

}  // namespace
