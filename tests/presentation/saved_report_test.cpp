// A saved calculation read back from the record files: its rows as the viewer loads them, the
// facts of the Calculation window's report, and the command line's report of it.

#include "presentation/ui/saved_report.h"
#include "docx_reader.h"
#include "presentation/saved_calculation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace presentation;
using store::Status;

struct SavedHome {
    QTemporaryDir dir;
    platform::RecordingSink sink;
    platform::ErrorManager errors{sink};
    std::unique_ptr<store::Dictionary> dict =
        std::make_unique<store::Dictionary>(dir.path(), errors);
    int32_t berId = 0;
    int32_t otherBerId = 0;

    void addBron(int32_t ber, const QString& label, int x) {
        auto& bb = dict->berbron();
        bb.clear();
        bb.record().fkBerekening = ber;
        store::setText(bb.record().userId, label);
        bb.record().xCoord = x;
        bb.record().yCoord = 463000;
        bb.record().gemgebhoogte = 4;
        bb.record().stHoogte = 6;
        bb.record().stBinnendiam = 0.5;
        bb.record().stUittree = 4;
        bb.record().eVergund = 12000;
        ASSERT_EQ(bb.insert(), Status::Ok);
    }
    void addGgl(int32_t ber, const QString& label, double norm, double load) {
        auto& bg = dict->berggl();
        bg.clear();
        bg.record().fkBerekening = ber;
        store::setText(bg.record().userId, label);
        bg.record().xCoor = 155800;
        bg.record().yCoor = 463600;
        bg.record().geurnorm = norm;
        bg.record().geurbelasting = load;
        ASSERT_EQ(bg.insert(), Status::Ok);
    }
    int32_t addCalculation(int32_t company, const QString& naam) {
        auto& ber = dict->berekeningen();
        ber.clear();
        ber.record().fk = company;
        store::setText(ber.record().naam, naam);
        ber.record().eigenruwheid = 1;
        ber.record().ruwheid = 0.25;
        ber.record().berDatum = dayNumber(QDate(2010, 3, 5));
        ber.record().berTijd = timeValue(QTime(9, 5, 7));
        ber.record().rekentijd = 1234;
        store::setText(ber.record().wolkanversienr, QStringLiteral("V-Wolkan versie 1.4"));
        EXPECT_EQ(ber.insert(), Status::Ok);
        return ber.record().id;
    }

    SavedHome() {
        dict->bedrijvenRelations().open();
        auto& bed = dict->bedrijven();
        bed.clear();
        store::setText(bed.record().naam, QStringLiteral("Maatschap \"De Eik\" <&> Zn"));
        store::setText(bed.record().meteo, QStringLiteral("Schiphol"));
        EXPECT_EQ(bed.insert(), Status::Ok);
        const int32_t company = bed.record().id;
        otherBerId = addCalculation(company, QStringLiteral("Andere"));
        addGgl(otherBerId, QStringLiteral("X"), 1, 1);
        berId = addCalculation(company, QStringLiteral("Plan \"Oost\" & <fase 2>"));
        // Stored locations before points, so the load has to sort them.
        addGgl(berId, QStringLiteral("W-boven"), 3, 3.5);
        addBron(berId, QStringLiteral("S1"), 155000);
        addGgl(berId, QStringLiteral("W-op"), 3, 3);
        addBron(berId, QStringLiteral("S2"), 155400);
        dict->bedrijvenRelations().close();
    }
};

TEST(SavedCalculation, RowsOfTheCalculationInTheBufferNumberedPointsFirst) {
    SavedHome h;
    h.dict->bedrijvenRelations().open();
    ASSERT_EQ(h.dict->berekeningen().fetch(store::Key::BER_By_ID, h.berId), Status::Ok);
    calculation::Gridq gridq(3);  // whatever was loaded before goes
    getDataForQ(*h.dict, gridq);
    ASSERT_EQ(gridq.size(), 4u);
    const char* labels[] = {"S1", "S2", "W-boven", "W-op"};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(gridq[i].volgnummer, static_cast<int>(i) + 1);
        EXPECT_EQ(gridq[i].userId, calculation::padUserId(QString::fromLatin1(labels[i])));
        EXPECT_EQ(gridq[i].type, i < 2 ? calculation::kTypeBron : calculation::kTypeGgl);
    }
    EXPECT_EQ(gridq[0].eVergund, 12000);
    EXPECT_EQ(gridq[2].value, 3.5);
    EXPECT_EQ(gridq[2].colorNfg, calculation::kRed);
    EXPECT_EQ(gridq[2].colorSfg, calculation::kRed);
    EXPECT_EQ(gridq[3].colorNfg, calculation::kBlack);
    EXPECT_EQ(gridq[3].colorSfg, calculation::kWhite);
    EXPECT_EQ(gridq[3].colorNbg, calculation::kDefaultColor);

    // The Calculation window's facts: saved, not saved, or gone.
    const QDateTime now(QDate(2026, 12, 11), QTime(14, 30));
    const ReportFacts saved =
        calculationWindowFacts(*h.dict, h.berId, false, 0.1, 50, QStringLiteral("v"), now);
    EXPECT_EQ(saved.naam, QStringLiteral("Plan \"Oost\" & <fase 2>"));
    EXPECT_TRUE(saved.eigenRuwheid);
    EXPECT_EQ(saved.berDatum, dayNumber(QDate(2010, 3, 5)));
    const ReportFacts unsaved =
        calculationWindowFacts(*h.dict, 0, false, 0.1, 50, QStringLiteral("v"), now);
    EXPECT_EQ(unsaved.naam, kNogNietBekend);
    EXPECT_EQ(unsaved.rekentijd, 50);
    const ReportFacts gone =
        calculationWindowFacts(*h.dict, 999, false, 0.1, 50, QStringLiteral("v"), now);
    EXPECT_EQ(gone.naam, QString());
    EXPECT_EQ(gone.berDatum, 0);
    h.dict->bedrijvenRelations().close();
}

TEST(SavedReport, CommandLineReportOfASavedCalculation) {
    SavedHome h;
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("rapport.docx"));
    const QDateTime moment(QDate(2026, 12, 11), QTime(14, 30, 5));
    const SavedReportResult r = writeSavedReport(*h.dict, h.berId, QString(), file, h.sink, moment);
    ASSERT_TRUE(r.ok) << h.sink.texts().join(u'\n').toStdString();
    EXPECT_EQ(r.path, file);
    EXPECT_TRUE(h.sink.messages.empty());
    EXPECT_FALSE(h.dict->berekeningen().isOpen());

    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    auto parts = docx_test::unzip(bytes);
    EXPECT_TRUE(parts.count(QStringLiteral("word/media/picture1.bmp")));
    const auto doc = docx_test::readDocument(parts[QStringLiteral("word/document.xml")]);
    ASSERT_EQ(doc.blocks.size(), 17u);
    EXPECT_EQ(doc.blocks[1].paragraph.text(),
              QStringLiteral("Naam van de berekening: Plan \"Oost\" & <fase 2>"));
    EXPECT_EQ(doc.blocks[2].paragraph.text(), QStringLiteral("Gemaakt op: 11-12-2026  14:30:05"));
    EXPECT_EQ(doc.blocks[4].paragraph.text(),
              QStringLiteral("Naam van het bedrijf: Maatschap \"De Eik\" <&> Zn"));
    EXPECT_EQ(doc.blocks[6].paragraph.text(), QStringLiteral("Eigen ruwheid: 0,25 m"));
    EXPECT_EQ(doc.blocks[7].paragraph.text(), QStringLiteral("Meteo station: Schiphol"));
    EXPECT_EQ(doc.blocks[10].table.rows.size(), 3u);
    ASSERT_EQ(doc.blocks[14].table.rows.size(), 3u);
    EXPECT_EQ(doc.blocks[14].table.rows[1].texts().at(5), QStringLiteral("    3,5"));

    // Never over an existing file; an unknown calculation is named.
    const SavedReportResult again =
        writeSavedReport(*h.dict, h.berId, QString(), file, h.sink, moment);
    EXPECT_FALSE(again.ok);
    ASSERT_EQ(h.sink.messages.size(), 1u);
    EXPECT_TRUE(h.sink.texts()[0].startsWith(QStringLiteral("Het rapport kon niet worden")));
    ASSERT_TRUE(f.seek(0));
    EXPECT_EQ(f.readAll(), bytes);

    h.sink.clear();
    EXPECT_FALSE(writeSavedReport(*h.dict, 4711, QString(), QString(), h.sink, moment).ok);
    EXPECT_EQ(h.sink.texts(), QStringList{unknownCalculationText(4711)});

    // Without a file name: a new name in the output directory.
    h.sink.clear();
    const QString output = out.filePath(QStringLiteral("Output"));
    const SavedReportResult named =
        writeSavedReport(*h.dict, h.berId, output, QString(), h.sink, moment);
    ASSERT_TRUE(named.ok);
    EXPECT_EQ(QFileInfo(named.path).dir().path(), output);
    EXPECT_TRUE(
        QFileInfo(named.path).fileName().startsWith(QStringLiteral("Plan _Oost_ & _fase 2_")));
}

}  // namespace
