// A whole report, chart picture included, converted to PDF by LibreOffice: the word processor
// reads the document and shows the calculation's name as it was typed. Set VV_KEEP_REPORT to a
// directory to keep the .docx, the PDF and the chart there.

#include "presentation/ui/bubble_chart_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

using calculation::GridqRow;
using namespace presentation;

class AcceptingOpener : public DocumentOpener {
public:
    bool open(const QString&) override { return true; }
};

GridqRow row(int nr, QChar type, const char* label, int x, int y, double limit, double value) {
    GridqRow r;
    r.volgnummer = nr;
    r.type = type;
    r.userId = calculation::padUserId(QString::fromUtf8(label));
    r.xPos = x;
    r.yPos = y;
    r.limit = limit;
    r.value = value;
    r.stHoogte = 6;
    r.gebHoogte = 4.5;
    r.stBinnen = 0.6;
    r.stUittree = 4;
    r.eVergund = type == u'B' ? 12500 : 0;
    return r;
}

TEST(ReportPdf, LibreOfficeReadsTheReport) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (soffice.isEmpty() || pdftotext.isEmpty()) {
        GTEST_SKIP() << "LibreOffice or pdftotext is not installed";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    ReportInput in;
    in.variant = ReportVariant::Bekijken;
    in.facts.naam = QStringLiteral("Plan \"Oost\" <fase 2> & café");
    in.facts.ruwheid = 0.25;
    in.facts.rekentijd = 1234;
    in.facts.wolkanVersieNr = QStringLiteral("V-Wolkan versie 1.4");
    in.bedNaam = QStringLiteral("Maatschap Jansen & Zn");
    in.bedMeteo = QStringLiteral("Eindhoven");
    in.moment = QDateTime(QDate(2026, 12, 11), QTime(14, 30, 5));
    in.gridq = {row(1, u'B', "Stal 1", 155000, 463000, 0, 0),
                row(2, u'B', "Stal 2", 155400, 463150, 0, 0),
                row(3, u'G', "Woning \"A\"", 156300, 463600, 3, 2.4),
                row(4, u'G', "Woning <B>", 155150, 463900, 3, 1234.5)};
    in.picturePath = dir.filePath(kWordPlotFile);
    ASSERT_TRUE(drawChartPicture(in.gridq, in.bedNaam, in.picturePath));

    platform::RecordingSink messages;
    AcceptingOpener opener;
    const ReportResult result =
        writeReport(in, dir.filePath(QStringLiteral("Output")), messages, opener);
    ASSERT_EQ(result.status, ReportStatus::Opened);

    const QString pdfDir = dir.filePath(QStringLiteral("pdf"));
    QProcess convert;
    convert.start(soffice,
                  {QStringLiteral("-env:UserInstallation=file://") +
                       dir.filePath(QStringLiteral("lo-profile")),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                   QStringLiteral("pdf"), QStringLiteral("--outdir"), pdfDir, result.path});
    ASSERT_TRUE(convert.waitForFinished(150000)) << "LibreOffice did not finish";
    const QString pdf =
        QDir(pdfDir).filePath(QFileInfo(result.path).completeBaseName() + QStringLiteral(".pdf"));
    // LibreOffice ends with 0 also when it could not read the document: the PDF tells.
    ASSERT_TRUE(QFileInfo::exists(pdf)) << convert.readAllStandardError().toStdString();

    QProcess text;
    text.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString content = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(
        content.contains(QStringLiteral("Naam van de berekening: Plan \"Oost\" <fase 2> & café")))
        << content.toStdString();
    EXPECT_TRUE(
        content.contains(QStringLiteral("Gegenereerd op: 11-12-2026 met V-Wolkan versie 1.4")));
    EXPECT_TRUE(content.contains(QStringLiteral("Woning <B>")));
    EXPECT_TRUE(content.contains(QStringLiteral("1.234,5")));

    const QString keep = qEnvironmentVariable("VV_KEEP_REPORT");
    if (!keep.isEmpty()) {
        QDir().mkpath(keep);
        for (const QString& f : {result.path, pdf, in.picturePath}) {
            const QString target = QDir(keep).filePath(QFileInfo(f).fileName());
            QFile::remove(target);
            QFile::copy(f, target);
        }
        QImage(in.picturePath).save(QDir(keep).filePath(QStringLiteral("WordPlot.png")));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
