// The report: its lines and tables in their pictures, and the .docx package read back.

#include "presentation/report.h"
#include "docx_reader.h"
#include "platform/ui/core/busy_cursor.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using calculation::Gridq;
using calculation::GridqRow;
using namespace presentation;

QStringList strings(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts) {
        out << QString::fromUtf8(t);
    }
    return out;
}

// 5 March 2010, 9:05:07.
const QDateTime kMoment(QDate(2010, 3, 5), QTime(9, 5, 7));
// 11 December 2026, 14:30:00.
const QDateTime kLater(QDate(2026, 12, 11), QTime(14, 30, 0));

GridqRow bron(int nr, const char* label) {
    GridqRow r;
    r.volgnummer = nr;
    r.type = calculation::kTypeBron;
    r.userId = calculation::padUserId(QString::fromUtf8(label));
    r.xPos = 155000;
    r.yPos = 463250;
    r.stHoogte = 6.25;
    r.gebHoogte = 4;
    r.stBinnen = 0.5;
    r.stUittree = 4.125;
    r.eVergund = 1234;
    return r;
}

GridqRow ggl(int nr, const char* label, double limit, double value) {
    GridqRow r;
    r.volgnummer = nr;
    r.type = calculation::kTypeGgl;
    r.userId = calculation::padUserId(QString::fromUtf8(label));
    r.xPos = 1234;
    r.yPos = 463999;
    r.limit = limit;
    r.value = value;
    return r;
}

ReportFacts savedFacts() {
    ReportFacts f;
    f.naam = QStringLiteral("Uitbreiding 2010   ");
    f.eigenRuwheid = false;
    f.ruwheid = 0.1234;
    f.berDatum = dayNumber(QDate(2010, 3, 5));
    f.berTijd = timeValue(QTime(9, 5, 7));
    f.rekentijd = 1234;
    f.wolkanVersieNr = QStringLiteral("  V-Wolkan versie 1.4  ");
    return f;
}

ReportInput input(ReportVariant variant, const QDateTime& moment) {
    ReportInput in;
    in.variant = variant;
    in.facts = savedFacts();
    in.bedNaam = QStringLiteral("Maatschap Jansen ");
    in.bedMeteo = QStringLiteral("Eindhoven ");
    in.moment = moment;
    return in;
}

TEST(ReportText, DayNumbersAndTimes) {
    EXPECT_EQ(dayNumber(QDate(1801, 1, 1)), 4);
    EXPECT_EQ(timeValue(QTime(0, 0, 0)), 1);
    EXPECT_EQ(timeValue(QTime(9, 5, 7)), 3270701);
    EXPECT_EQ(kCopyrightNotice.size(), 25);
    EXPECT_TRUE(kCopyrightNotice.startsWith(u' ') && kCopyrightNotice.endsWith(u' '));
    EXPECT_NE(kCopyrightNotice.at(1), u' ');
    EXPECT_NE(kCopyrightNotice.at(23), u' ');
}

TEST(ReportText, HeaderHasTheDateWithItsBlankAndTheTrimmedVersion) {
    const ReportInput in = input(ReportVariant::Bekijken, kMoment);
    EXPECT_EQ(headerText(in), QStringLiteral("Gegenereerd op:  5-03-2010 met V-Wolkan versie 1.4") +
                                  kCopyrightNotice);
}

TEST(ReportText, FactsOfTheVariants) {
    struct Case {
        const char* name;
        ReportInput in;
        QString gemaaktOp;
        QString ruwheid;
    };
    ReportInput own = input(ReportVariant::Berekenen, kLater);
    own.facts.eigenRuwheid = true;
    own.facts.ruwheid = 0.25;
    ReportInput ownViewer = own;
    ownViewer.variant = ReportVariant::Bekijken;
    ownViewer.moment = kMoment;
    ReportInput roundedOwn = own;
    roundedOwn.facts.ruwheid = 0.256;
    const Case cases[] = {
        // The window shows the stored moment, with the blank of the one-digit day moved to the
        // end; the viewer the moment of the report.
        {"window_saved", input(ReportVariant::Berekenen, kLater),
         QStringLiteral("Gemaakt op: 5-03-2010    9:05:07"),
         QStringLiteral("Berekende ruwheid: 0,12 m")},
        {"viewer", input(ReportVariant::Bekijken, kLater),
         QStringLiteral("Gemaakt op: 11-12-2026  14:30:00"),
         QStringLiteral("Berekende ruwheid: 0,12 m")},
        {"window_own_roughness", own, QStringLiteral("Gemaakt op: 5-03-2010    9:05:07"),
         QStringLiteral("Eigen ruwheid: 0,250 m")},
        {"window_own_roughness_rounded", roundedOwn,
         QStringLiteral("Gemaakt op: 5-03-2010    9:05:07"),
         QStringLiteral("Eigen ruwheid: 0,260 m")},
        {"viewer_own_roughness", ownViewer, QStringLiteral("Gemaakt op: 5-03-2010    9:05:07"),
         QStringLiteral("Eigen ruwheid: 0,25 m")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList lines = factLines(c.in);
        ASSERT_EQ(lines.size(), 9);
        EXPECT_EQ(lines[0], QString());
        EXPECT_EQ(lines[1], QStringLiteral("Naam van de berekening: Uitbreiding 2010"));
        EXPECT_EQ(lines[2], c.gemaaktOp);
        EXPECT_EQ(lines[3], QStringLiteral("Rekentijd:  0:00:12"));
        EXPECT_EQ(lines[4], QStringLiteral("Naam van het bedrijf: Maatschap Jansen"));
        EXPECT_EQ(lines[5], QString());
        EXPECT_EQ(lines[6], c.ruwheid);
        EXPECT_EQ(lines[7], QStringLiteral("Meteo station: Eindhoven"));
        EXPECT_EQ(lines[8], QString());
    }
}

TEST(ReportText, UnsavedCalculationIsNotYetKnown) {
    ReportInput in = input(ReportVariant::Berekenen, kLater);
    in.facts = unsavedFacts(false, 0.1, 0, QStringLiteral("V-Wolkan versie 1.4"), kLater);
    const QStringList lines = factLines(in);
    EXPECT_EQ(lines[1], QStringLiteral("Naam van de berekening: Nog niet bekend"));
    EXPECT_EQ(lines[2], QStringLiteral("Gemaakt op: 11-12-2026  14:30:00"));
    EXPECT_EQ(lines[3], QStringLiteral("Rekentijd:  0:00:00"));
    EXPECT_EQ(lines[6], QStringLiteral("Berekende ruwheid: 0,10 m"));
}

TEST(ReportTables, CellsInTheirPictures) {
    GridqRow big = bron(3, "Stal \"N\" <2> & Zn");
    big.eVergund = 1000000;  // does not fit
    big.xPos = 12345678;
    const Gridq gridq = {ggl(4, "Woning é", 3, 1234.5), bron(1, "S1"), ggl(5, "W2", 0, 12.3), big};
    const auto bronRows = bronTableRows(gridq);
    ASSERT_EQ(bronRows.size(), 3u);
    EXPECT_EQ(bronRows[0].join(u'\t'),
              QStringLiteral("Volgnr.\tBronID\tX-coord.\tY-coord.\tEP Hoogte\tGem.geb. hoogte\t"
                             "EP Diam.\tEP Uittr. snelh.\tE-Aanvraag"));
    EXPECT_EQ(bronRows[1], strings({"1", "S1", "155 000", "463 250", "  6,3", "  4,0", " 0,50",
                                    "  4,13", "  1 234"}));
    EXPECT_EQ(bronRows[2][1], QStringLiteral("Stal \"N\" <2> & Zn"));
    EXPECT_EQ(bronRows[2][2], QStringLiteral("#######"));
    EXPECT_EQ(bronRows[2][8], QStringLiteral("#######"));

    const auto gglRows = gglTableRows(gridq);
    ASSERT_EQ(gglRows.size(), 3u);
    EXPECT_EQ(
        gglRows[0].join(u'\t'),
        QStringLiteral("Volgnummer\tGGLID\tXcoordinaat\tYcoordinaat\tGeurnorm\tGeurbelasting"));
    EXPECT_EQ(gglRows[1], strings({"4", "Woning é", "  1 234", "463 999", "   3,0", "1.234,5"}));
    EXPECT_EQ(gglRows[2], strings({"5", "W2", "  1 234", "463 999", "   0,0", "   12,3"}));

    EXPECT_EQ(bronTableRows({}).size(), 1u);
    EXPECT_EQ(gglTableRows({}).size(), 1u);
}

TEST(ReportFileName, NameAndMomentWithoutForbiddenCharacters) {
    struct Case {
        const char* name;
        QString naam;
        QString expected;
    };
    const Case cases[] = {
        {"plain", QStringLiteral("Uitbreiding   "),
         QStringLiteral("Uitbreiding 2010-03-05 09.05.07.docx")},
        {"forbidden", QStringLiteral("a/b\\c:d*e?f\"g<h>i|j\tk"),
         QStringLiteral("a_b_c_d_e_f_g_h_i_j_k 2010-03-05 09.05.07.docx")},
        {"accents_kept", QStringLiteral("Café Één"),
         QStringLiteral("Café Één 2010-03-05 09.05.07.docx")},
        {"only_dots", QStringLiteral(" ... "), QStringLiteral("Rapport 2010-03-05 09.05.07.docx")},
        {"empty", QString(), QStringLiteral("Rapport 2010-03-05 09.05.07.docx")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reportFileName(c.naam, kMoment), c.expected) << c.name;
    }
    EXPECT_LE(reportFileName(QString(300, u'x'), kMoment).size(), 130);
}

// A tiny 2 x 3 Windows bitmap, 24 bits, bottom-up.
QByteArray tinyBitmap() {
    QByteArray bmp("BM");
    const auto le32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bmp.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    };
    const auto le16 = [&](uint16_t v) {
        bmp.append(static_cast<char>(v & 0xFF));
        bmp.append(static_cast<char>(v >> 8));
    };
    const uint32_t rowBytes = 8;  // 2 pixels * 3 bytes, padded to 4
    le32(54 + rowBytes * 3);
    le32(0);
    le32(54);
    le32(40);
    le32(2);
    le32(3);
    le16(1);
    le16(24);
    le32(0);
    le32(rowBytes * 3);
    le32(2835);
    le32(2835);
    le32(0);
    le32(0);
    bmp.append(QByteArray(static_cast<qsizetype>(rowBytes * 3), '\x7f'));
    return bmp;
}

class ReportDocument : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        picture = dir.filePath(QStringLiteral("WordPlot.bmp"));
        QFile f(picture);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(tinyBitmap());
    }
    std::map<QString, QByteArray> package(const ReportInput& in) {
        QString error;
        const QByteArray bytes = buildReport(in).toBytes(&error);
        EXPECT_FALSE(bytes.isEmpty()) << error.toStdString();
        return docx_test::unzip(bytes);
    }

    QTemporaryDir dir;
    QString picture;
};

TEST_F(ReportDocument, PageHeaderFactsTablesAndPicture) {
    ReportInput in = input(ReportVariant::Berekenen, kMoment);
    in.gridq = {bron(1, "S1"), bron(2, "S2"), ggl(3, "W1", 3, 2.5)};
    in.picturePath = picture;
    auto parts = package(in);
    for (const char* name :
         {"[Content_Types].xml", "_rels/.rels", "word/document.xml", "word/_rels/document.xml.rels",
          "word/header1.xml", "word/styles.xml", "word/media/picture1.bmp"}) {
        EXPECT_TRUE(parts.count(QString::fromLatin1(name))) << name;
    }
    EXPECT_EQ(parts[QStringLiteral("word/media/picture1.bmp")], tinyBitmap());

    // A4 portrait, margins 50 / 50 / 30 / 30 points in twentieths of a point.
    const auto doc = docx_test::readDocument(parts[QStringLiteral("word/document.xml")]);
    ASSERT_EQ(doc.error, QString());
    EXPECT_EQ(doc.pageSize.at(QStringLiteral("w")), QStringLiteral("11906"));
    EXPECT_EQ(doc.pageSize.at(QStringLiteral("h")), QStringLiteral("16838"));
    EXPECT_FALSE(doc.pageSize.count(QStringLiteral("orient")));
    EXPECT_EQ(doc.pageMargins.at(QStringLiteral("top")), QStringLiteral("1000"));
    EXPECT_EQ(doc.pageMargins.at(QStringLiteral("bottom")), QStringLiteral("1000"));
    EXPECT_EQ(doc.pageMargins.at(QStringLiteral("left")), QStringLiteral("600"));
    EXPECT_EQ(doc.pageMargins.at(QStringLiteral("right")), QStringLiteral("600"));
    EXPECT_TRUE(doc.hasHeaderReference);

    const auto header = docx_test::readDocument(parts[QStringLiteral("word/header1.xml")]);
    ASSERT_EQ(header.blocks.size(), 1u);
    const auto& hp = header.blocks[0].paragraph;
    EXPECT_EQ(hp.text(), headerText(in));
    EXPECT_EQ(hp.alignment, QStringLiteral("center"));
    ASSERT_EQ(hp.runs.size(), 1u);
    EXPECT_EQ(hp.runs[0].font, QStringLiteral("Arial"));
    EXPECT_EQ(hp.runs[0].halfPoints, 20);
    EXPECT_FALSE(hp.runs[0].bold);
    EXPECT_FALSE(hp.runs[0].italic);

    // Facts (9 lines), "Brongegevens: ", table, empty Arial line, empty Courier line,
    // "Geur gevoelige locaties: ", table, empty line, picture.
    ASSERT_EQ(doc.blocks.size(), 17u);
    const QStringList facts = factLines(in);
    for (int i = 0; i < 9; ++i) {
        const auto& p = doc.blocks[static_cast<size_t>(i)].paragraph;
        EXPECT_EQ(p.text(), facts[i]) << i;
        EXPECT_EQ(p.alignment, QStringLiteral("left"));
        EXPECT_EQ(p.markFont, QStringLiteral("Courier New"));
        EXPECT_EQ(p.markHalfPoints, 24);
        for (const auto& r : p.runs) {
            EXPECT_EQ(r.font, QStringLiteral("Courier New"));
            EXPECT_EQ(r.halfPoints, 24);
            EXPECT_FALSE(r.bold);
        }
    }
    const auto boldLine = [&](size_t i, const QString& text) {
        const auto& p = doc.blocks[i].paragraph;
        ASSERT_FALSE(doc.blocks[i].isTable);
        ASSERT_EQ(p.runs.size(), 1u);
        EXPECT_EQ(p.runs[0].text, text);
        EXPECT_TRUE(p.runs[0].bold);
        EXPECT_EQ(p.runs[0].font, QStringLiteral("Courier New"));
    };
    boldLine(9, QStringLiteral("Brongegevens: "));
    boldLine(13, QStringLiteral("Geur gevoelige locaties: "));

    const auto checkTable = [&](size_t i, const std::vector<QStringList>& rows, int headerSize) {
        ASSERT_TRUE(doc.blocks[i].isTable) << i;
        const auto& t = doc.blocks[i].table;
        EXPECT_EQ(t.borders, strings({"top=single", "left=single", "bottom=single", "right=single",
                                      "insideH=single", "insideV=single"}));
        ASSERT_EQ(t.rows.size(), rows.size());
        for (size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(t.rows[r].texts(), rows[r]) << r;
            EXPECT_EQ(t.rows[r].header, r == 0);
            for (const auto& cell : t.rows[r].cells) {
                for (const auto& run : cell.paragraph.runs) {
                    EXPECT_EQ(run.font, QStringLiteral("Arial"));
                    EXPECT_EQ(run.halfPoints, r == 0 ? headerSize : 20);
                }
            }
        }
    };
    checkTable(10, bronTableRows(in.gridq), 16);
    checkTable(14, gglTableRows(in.gridq), 20);
    EXPECT_EQ(doc.blocks[11].paragraph.markFont, QStringLiteral("Arial"));
    EXPECT_EQ(doc.blocks[12].paragraph.markFont, QStringLiteral("Courier New"));
    EXPECT_EQ(doc.blocks[15].paragraph.text(), QString());

    const auto& last = doc.blocks[16].paragraph;
    EXPECT_TRUE(last.hasPicture);
    const QByteArray rels = parts[QStringLiteral("word/_rels/document.xml.rels")];
    EXPECT_TRUE(rels.contains("Id=\"" + last.pictureId.toUtf8() + "\"")) << rels.constData();
    EXPECT_TRUE(rels.contains("media/picture1.bmp"));
    EXPECT_TRUE(parts[QStringLiteral("[Content_Types].xml")].contains("image/bmp"));
}

TEST_F(ReportDocument, TypedTextsReachTheDocumentUnchanged) {
    ReportInput in = input(ReportVariant::Bekijken, kMoment);
    in.facts.naam = QStringLiteral("Plan \"B\" <nieuw> & oud, café");
    in.bedNaam = QStringLiteral("Fa. <Ölçü> & \"Zn\" ' ]]>");
    in.gridq = {bron(1, "<S&1\">")};
    auto parts = package(in);
    const auto doc = docx_test::readDocument(parts[QStringLiteral("word/document.xml")]);
    ASSERT_EQ(doc.error, QString());
    EXPECT_EQ(doc.blocks[1].paragraph.text(),
              QStringLiteral("Naam van de berekening: Plan \"B\" <nieuw> & oud, café"));
    EXPECT_EQ(doc.blocks[4].paragraph.text(),
              QStringLiteral("Naam van het bedrijf: Fa. <Ölçü> & \"Zn\" ' ]]>"));
    EXPECT_EQ(doc.blocks[10].table.rows[1].texts()[1], QStringLiteral("<S&1\">"));
}

TEST_F(ReportDocument, NoPointsGivesTwoHeaderOnlyTables) {
    ReportInput in = input(ReportVariant::Bekijken, kMoment);
    in.picturePath = picture;
    auto parts = package(in);
    const auto doc = docx_test::readDocument(parts[QStringLiteral("word/document.xml")]);
    ASSERT_EQ(doc.blocks.size(), 17u);
    EXPECT_EQ(doc.blocks[10].table.rows.size(), 1u);
    EXPECT_EQ(doc.blocks[14].table.rows.size(), 1u);
    EXPECT_TRUE(doc.blocks[16].paragraph.hasPicture);
}

TEST_F(ReportDocument, MissingOrBrokenPictureIsLeftOut) {
    for (const QString& path : {dir.filePath(QStringLiteral("none.bmp")), QString()}) {
        ReportInput in = input(ReportVariant::Bekijken, kMoment);
        in.picturePath = path;
        auto parts = package(in);
        const auto doc = docx_test::readDocument(parts[QStringLiteral("word/document.xml")]);
        EXPECT_EQ(doc.blocks.size(), 16u);
        EXPECT_FALSE(parts.count(QStringLiteral("word/media/picture1.bmp")));
    }
    QFile broken(dir.filePath(QStringLiteral("broken.bmp")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM not a bitmap");
    broken.close();
    ReportInput in = input(ReportVariant::Bekijken, kMoment);
    in.picturePath = broken.fileName();
    auto parts = package(in);
    EXPECT_EQ(docx_test::readDocument(parts[QStringLiteral("word/document.xml")]).blocks.size(),
              16u);
}

class ScriptedOpener : public DocumentOpener {
public:
    explicit ScriptedOpener(bool result) : m_result(result) {}
    bool open(const QString& path) override {
        opened << path;
        return m_result;
    }
    QStringList opened;

private:
    bool m_result;
};

TEST_F(ReportDocument, SavedUnderANewNameAndOpened) {
    const QString out = dir.filePath(QStringLiteral("Output"));  // made when missing
    ReportInput in = input(ReportVariant::Bekijken, kMoment);
    platform::RecordingSink messages;
    ScriptedOpener opener(true);
    ui::RecordingBusyCursor busy;

    const ReportResult first = writeReport(in, out, messages, opener, &busy);
    EXPECT_EQ(first.status, ReportStatus::Opened);
    EXPECT_EQ(first.path,
              QDir(out).filePath(QStringLiteral("Uitbreiding 2010 2010-03-05 09.05.07.docx")));
    EXPECT_EQ(opener.opened, QStringList{first.path});
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(busy.changes, (std::vector<bool>{true, false}));

    // Same name and moment: the first file stays as it is, the second gets a number.
    QFile f(first.path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = f.readAll();
    f.close();
    in.bedNaam = QStringLiteral("Ander bedrijf");
    const ReportResult second = writeReport(in, out, messages, opener, nullptr);
    EXPECT_EQ(second.path,
              QDir(out).filePath(QStringLiteral("Uitbreiding 2010 2010-03-05 09.05.07 (2).docx")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), firstBytes);
    EXPECT_TRUE(QFileInfo::exists(second.path));
}

TEST_F(ReportDocument, MessagesWhenNotOpenedOrNotSaved) {
    ReportInput in = input(ReportVariant::Bekijken, kMoment);
    platform::RecordingSink messages;
    ScriptedOpener noWordProcessor(false);
    ui::RecordingBusyCursor busy;
    const ReportResult r = writeReport(in, dir.path(), messages, noWordProcessor, &busy);
    EXPECT_EQ(r.status, ReportStatus::SavedNotOpened);
    EXPECT_TRUE(QFileInfo::exists(r.path));
    ASSERT_EQ(messages.texts(), QStringList{notOpenedText(r.path)});
    EXPECT_TRUE(messages.texts()[0].contains(QDir::toNativeSeparators(r.path)));
    EXPECT_EQ(messages.titles(), QStringList{QString()});
    EXPECT_FALSE(busy.busy());

    // An output directory that cannot be made (a file stands in its way).
    messages.clear();
    ScriptedOpener opener(true);
    const QString blocked =
        dir.filePath(QStringLiteral("WordPlot.bmp")) + QStringLiteral("/Output");
    const ReportResult failed = writeReport(in, blocked, messages, opener, &busy);
    EXPECT_EQ(failed.status, ReportStatus::NotSaved);
    EXPECT_TRUE(failed.path.isEmpty());
    EXPECT_TRUE(opener.opened.isEmpty());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.texts()[0].startsWith(
        QStringLiteral("Het rapport kon niet worden opgeslagen als|")));
    EXPECT_FALSE(busy.busy());
}

}  // namespace
