#include "calculation/param_files.h"

#include "test_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using calctest::bron;
using calctest::ggl;
using calculation::Gridq;

// Writes the three files for `input` and compares each with data/<golden>_<file>. In the golden
// Param.dat "@INPUTDIR@" stands for the full path of the input directory.
void expectGolden(calculation::ParamFileInput input, Gridq gridq, const char* golden,
                  Gridq* after = nullptr) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    input.inputDir = dir.path() + QLatin1Char('/');
    calculation::makeParamFile(input, gridq);
    for (const QString& file :
         {calculation::kParamFile, calculation::kBronnenFile, calculation::kGglFile}) {
        QByteArray expected = calctest::readBytes(
            calctest::dataPath(QLatin1String(golden) + QLatin1Char('_') + file));
        ASSERT_FALSE(expected.isEmpty()) << file.toStdString();
        expected.replace("@INPUTDIR@",
                         QFile::encodeName(QDir(dir.path()).absolutePath() + QLatin1Char('/')));
        EXPECT_EQ(calctest::readBytes(input.inputDir + file).toStdString(), expected.toStdString())
            << golden << " " << file.toStdString();
    }
    if (after != nullptr) {
        *after = gridq;
    }
}

Gridq numbered(Gridq rows) {
    calculation::sortByTypeThenId(rows);
    calculation::numberRows(rows);
    return rows;
}

TEST(MakeParamFile, WorkedExample) {
    calculation::ParamFileInput input;
    input.bedNaam = QStringLiteral("Jansen");
    input.bedMeteo = QStringLiteral("EINDHOVEN");
    input.locRuwheid = 0.18;
    input.today = QDate(2010, 5, 17);
    auto ep = bron(1, QStringLiteral("EP1"), 155000, 463000);
    ep.stHoogte = 6.5;
    ep.gebHoogte = 5;
    ep.stBinnen = 0.5;
    ep.stUittree = 4;
    ep.eVergund = 12000;
    expectGolden(input, numbered({ep, ggl(1, QStringLiteral("Woning 1"), 155300, 463000, 2.0)}),
                 "example");
}

TEST(MakeParamFile, AccentsBlanksLongLabelAndRounding) {
    calculation::ParamFileInput input;
    input.bedNaam = QStringLiteral("Hoeve  \u00c9lise de Bo\u00ebr   ");
    input.bedMeteo = QStringLiteral("schiphol ");
    input.locRuwheid = 0.125;
    input.today = QDate(2026, 1, 9);
    auto b2 = bron(2, QStringLiteral("ABCDEFGHIJKLMNOPQRST"), 123456, 456789);
    b2.stHoogte = 6.55;
    b2.gebHoogte = 6.54;
    b2.stBinnen = 0.555;
    b2.stUittree = 10;
    b2.eVergund = 1500000;
    auto b4 = bron(4, QStringLiteral("Stal \u00eb"), 100000, 300000);
    b4.stHoogte = 12.0;
    b4.stBinnen = 0.545;
    b4.stUittree = 4.005;
    b4.eVergund = 1234.5;
    Gridq after;
    expectGolden(input,
                 numbered({ggl(9, QStringLiteral("  ingesprongen"), 0, 650000, 0.05), b4,
                           ggl(3, QStringLiteral("Woning \u00e9"), 123000, 456000, 2.25), b2}),
                 "mixed", &after);
    // The grid is left with the locations first; every row keeps its number.
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[0].id, 3);
    EXPECT_EQ(after[0].volgnummer, 3);
    EXPECT_EQ(after[1].id, 9);
    EXPECT_EQ(after[1].volgnummer, 4);
    EXPECT_EQ(after[2].id, 2);
    EXPECT_EQ(after[2].volgnummer, 1);
    EXPECT_EQ(after[3].id, 4);
    EXPECT_EQ(after[3].volgnummer, 2);
}

TEST(MakeParamFile, BlankOrUnknownStationNoPointsNoLocations) {
    for (const QString& station :
         {QString(), QStringLiteral("De Bilt"), QStringLiteral(" Eindhoven")}) {
        calculation::ParamFileInput input;
        input.bedMeteo = station;
        input.locRuwheid = 1.0;
        input.today = QDate(2010, 5, 17);
        SCOPED_TRACE(station.toStdString());
        expectGolden(input, {}, "empty");
    }
}

TEST(MakeParamFile, StationMatchIgnoresCaseAndTrailingBlanksOnly) {
    EXPECT_EQ(calculation::meteoFileFor(QStringLiteral("Eindhoven")), calculation::kMeteoEindhoven);
    EXPECT_EQ(calculation::meteoFileFor(QStringLiteral("EINDHOVEN ")),
              calculation::kMeteoEindhoven);
    EXPECT_EQ(calculation::meteoFileFor(QStringLiteral("eindhoven")), calculation::kMeteoEindhoven);
    EXPECT_EQ(calculation::meteoFileFor(QStringLiteral("Schiphol")), calculation::kMeteoSchiphol);
    EXPECT_TRUE(calculation::meteoFileFor(QStringLiteral(" Eindhoven")).isEmpty());
    EXPECT_TRUE(calculation::meteoFileFor(QStringLiteral("Eindhoven-Noord")).isEmpty());
}

TEST(MakeParamFile, ReplacesOldFilesAndIsSilentWhenTheDirectoryIsMissing) {
    QTemporaryDir dir;
    calculation::ParamFileInput input;
    input.inputDir = dir.path() + QLatin1Char('/');
    input.today = QDate(2010, 5, 17);
    calctest::writeBytes(input.inputDir + calculation::kGglFile, QByteArray(2000, 'x'));
    Gridq gridq;
    calculation::makeParamFile(input, gridq);
    EXPECT_EQ(calctest::readBytes(input.inputDir + calculation::kGglFile),
              QByteArray(calculation::kGglHeader) + "\r\n");

    input.inputDir = dir.filePath(QStringLiteral("missing/"));
    Gridq rows =
        numbered({bron(1, QStringLiteral("a"), 1, 2), ggl(2, QStringLiteral("b"), 3, 4, 1)});
    calculation::makeParamFile(input, rows);  // nothing written, nothing thrown
    EXPECT_FALSE(QFile::exists(input.inputDir + calculation::kParamFile));
    EXPECT_TRUE(rows.front().isGgl());
}

}  // namespace
