#include "presentation/report.h"

#include "platform/pictures.h"
#include "platform/ui/core/busy_cursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace presentation {

namespace pic = platform::pictures;
using platform::docx::Alignment;
using platform::docx::Paragraph;
using platform::docx::Run;
using platform::docx::RunFormat;

namespace {

// The fonts of the report.
const RunFormat kCourier12{QStringLiteral("Courier New"), 12, false, false, false};
const RunFormat kCourier12Bold{QStringLiteral("Courier New"), 12, true, false, false};
const RunFormat kArial8{QStringLiteral("Arial"), 8, false, false, false};
const RunFormat kArial10{QStringLiteral("Arial"), 10, false, false, false};
const RunFormat kHeaderFont{QStringLiteral("Arial"), 10, false, false, true};

const QStringList kBronHeader = {QStringLiteral("Volgnr."),   QStringLiteral("BronID"),
                                 QStringLiteral("X-coord."),  QStringLiteral("Y-coord."),
                                 QStringLiteral("EP Hoogte"), QStringLiteral("Gem.geb. hoogte"),
                                 QStringLiteral("EP Diam."),  QStringLiteral("EP Uittr. snelh."),
                                 QStringLiteral("E-Aanvraag")};
const QStringList kGglHeader = {QStringLiteral("Volgnummer"),  QStringLiteral("GGLID"),
                                QStringLiteral("Xcoordinaat"), QStringLiteral("Ycoordinaat"),
                                QStringLiteral("Geurnorm"),    QStringLiteral("Geurbelasting")};

QString trimRight(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace()) {
        --end;
    }
    return text.left(end);
}

// A number in its picture, trailing blanks removed and leading ones kept.
QString number(double value, QStringView picture) {
    return trimRight(pic::format(value, picture));
}

// Rounded to 0.01, half up, the way the pictures round.
double roundedToHundredths(double value) {
    QString text = pic::format(value, u"@N20`2").trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    const double rounded = text.toDouble(&ok);
    return ok ? rounded : value;
}

QString roughnessText(const ReportInput& input) {
    const double r = input.facts.ruwheid;
    if (input.variant == ReportVariant::Bekijken) {
        return pic::format(roundedToHundredths(r), u"@N10.`2").trimmed();
    }
    if (input.facts.eigenRuwheid) {
        return pic::format(roundedToHundredths(r), u"@N6_`3").trimmed();
    }
    return pic::format(r, u"@N6_`2").trimmed();
}

// A date with @D6-, left-justified within its 10 characters.
QString leftJustifiedDate(int32_t day) {
    const QString text = pic::formatDate(day, u"@D6-");
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == u' ') {
        ++start;
    }
    return text.mid(start).leftJustified(text.size(), u' ');
}

Paragraph line(const QString& text, const RunFormat& format) {
    Paragraph p;
    p.markFormat = format;
    if (!text.isEmpty()) {
        p.runs.push_back(Run{text, format});
    }
    return p;
}

platform::docx::Table table(const std::vector<QStringList>& rows, const RunFormat& headerFormat,
                            const RunFormat& bodyFormat) {
    platform::docx::Table t;
    for (size_t i = 0; i < rows.size(); ++i) {
        platform::docx::TableRow row;
        row.cells.assign(rows[i].begin(), rows[i].end());
        row.header = i == 0;
        row.format = i == 0 ? headerFormat : bodyFormat;
        t.rows.push_back(std::move(row));
    }
    return t;
}

}  // namespace

int32_t dayNumber(const QDate& date) {
    return date.isValid() ? static_cast<int32_t>(QDate(1800, 12, 28).daysTo(date)) : 0;
}

int32_t timeValue(const QTime& time) {
    return time.isValid() ? time.msecsSinceStartOfDay() / 10 + 1 : 0;
}

ReportFacts unsavedFacts(bool eigenRuwheid, double ruwheid, int32_t runtime,
                         const QString& versieRegel, const QDateTime& now) {
    ReportFacts f;
    f.naam = kNogNietBekend;
    f.eigenRuwheid = eigenRuwheid;
    f.ruwheid = ruwheid;
    f.berDatum = dayNumber(now.date());
    f.berTijd = timeValue(now.time());
    f.rekentijd = runtime;
    f.wolkanVersieNr = versieRegel;
    return f;
}

QString headerText(const ReportInput& input) {
    return QStringLiteral("Gegenereerd op: ") +
           pic::formatDate(dayNumber(input.moment.date()), u"@D6-") + QStringLiteral(" met ") +
           input.facts.wolkanVersieNr.trimmed() + kCopyrightNotice;
}

QStringList factLines(const ReportInput& input) {
    const ReportFacts& f = input.facts;
    int32_t day = f.berDatum;
    int32_t time = f.berTijd;
    if (input.variant == ReportVariant::Bekijken) {
        day = dayNumber(input.moment.date());
        time = timeValue(input.moment.time());
    }
    QStringList lines;
    lines << QString();
    lines << QStringLiteral("Naam van de berekening: ") + trimRight(f.naam);
    lines << QStringLiteral("Gemaakt op: ") + leftJustifiedDate(day) + QStringLiteral("  ") +
                 pic::formatTime(time, u"@T4");
    lines << QStringLiteral("Rekentijd: ") + pic::formatTime(f.rekentijd, u"@T4");
    lines << QStringLiteral("Naam van het bedrijf: ") + trimRight(input.bedNaam);
    lines << QString();
    lines << (f.eigenRuwheid ? QStringLiteral("Eigen ruwheid: ")
                             : QStringLiteral("Berekende ruwheid: ")) +
                 roughnessText(input) + QStringLiteral(" m");
    lines << QStringLiteral("Meteo station: ") + trimRight(input.bedMeteo);
    lines << QString();
    return lines;
}

std::vector<QStringList> bronTableRows(const calculation::Gridq& gridq) {
    std::vector<QStringList> rows{kBronHeader};
    for (const calculation::GridqRow& r : gridq) {
        if (r.type != calculation::kTypeBron) {
            continue;
        }
        rows.push_back({QString::number(r.volgnummer), trimRight(r.userId),
                        number(r.xPos, u"@N7_`0"), number(r.yPos, u"@N7_`0"),
                        number(r.stHoogte, u"@N5_`1"), number(r.gebHoogte, u"@N5_`1"),
                        number(r.stBinnen, u"@N5_`2"), number(r.stUittree, u"@N6_`2"),
                        number(r.eVergund, u"@N7_`0")});
    }
    return rows;
}

std::vector<QStringList> gglTableRows(const calculation::Gridq& gridq) {
    std::vector<QStringList> rows{kGglHeader};
    for (const calculation::GridqRow& r : gridq) {
        if (r.type != calculation::kTypeGgl) {
            continue;
        }
        rows.push_back({QString::number(r.volgnummer), trimRight(r.userId),
                        number(r.xPos, u"@N7_`0"), number(r.yPos, u"@N7_`0"),
                        number(r.limit, u"@N6_`1"), number(r.value, u"@N7`1")});
    }
    return rows;
}

platform::docx::Document buildReport(const ReportInput& input) {
    platform::docx::Document doc;
    platform::docx::PageSetup page;  // A4 portrait
    page.topMarginPoints = 50;
    page.bottomMarginPoints = 50;
    page.leftMarginPoints = 30;
    page.rightMarginPoints = 30;
    doc.setPageSetup(page);
    doc.setTitle(trimRight(input.facts.naam));

    Paragraph header = line(headerText(input), kHeaderFont);
    header.alignment = Alignment::Centre;
    doc.setHeader(header);

    for (const QString& text : factLines(input)) {
        doc.addParagraph(line(text, kCourier12));
    }
    doc.addParagraph(line(QStringLiteral("Brongegevens: "), kCourier12Bold));
    doc.addTable(table(bronTableRows(input.gridq), kArial8, kArial10));
    doc.addParagraph(line(QString(), kArial10));
    doc.addParagraph(line(QString(), kCourier12));
    doc.addParagraph(line(QStringLiteral("Geur gevoelige locaties: "), kCourier12Bold));
    doc.addTable(table(gglTableRows(input.gridq), kArial10, kArial10));
    doc.addParagraph(line(QString(), kArial10));

    if (!input.picturePath.isEmpty()) {
        QFile file(input.picturePath);
        if (file.open(QIODevice::ReadOnly)) {
            if (auto picture = platform::docx::pictureFromBytes(
                    file.readAll(), QFileInfo(input.picturePath).fileName())) {
                doc.addPicture(std::move(*picture));
            }
        }
    }
    return doc;
}

QString reportFileName(const QString& naam, const QDateTime& moment) {
    static const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
    QString base;
    for (const QChar c : trimRight(naam)) {
        base.append(c.unicode() < 0x20 || c.unicode() == 0x7F || kForbidden.contains(c) ? u'_' : c);
    }
    base = base.trimmed();
    while (base.endsWith(u'.')) {
        base.chop(1);
    }
    if (base.size() > 100) {
        base = base.left(100).trimmed();
    }
    if (base.isEmpty()) {
        base = QStringLiteral("Rapport");
    }
    return base + u' ' + moment.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")) +
           QStringLiteral(".docx");
}

QString notSavedText(const QString& path, const QString& reason) {
    return QStringLiteral("Het rapport kon niet worden opgeslagen als|") +
           QDir::toNativeSeparators(path) + QStringLiteral("|(") + reason + u')';
}

QString notOpenedText(const QString& path) {
    return QStringLiteral("Het rapport is opgeslagen als|") + QDir::toNativeSeparators(path) +
           QStringLiteral(
               "|maar er is geen tekstverwerker gevonden om het te openen.|"
               "Open het bestand zelf met uw tekstverwerker.");
}

ReportResult saveReport(const ReportInput& input, const QString& outputDir,
                        platform::MessageSink& messages, ui::BusyCursor* busy) {
    std::optional<ui::BusyScope> scope;
    if (busy != nullptr) {
        scope.emplace(*busy);
    }
    const platform::docx::Document doc = buildReport(input);
    const QDir dir(outputDir);
    const QString name = reportFileName(input.facts.naam, input.moment);
    const QString stem = name.chopped(5);  // without ".docx"
    QString path = dir.filePath(name);
    QString reason;
    bool saved = false;
    if (!QDir().mkpath(outputDir)) {
        reason = QStringLiteral("de map bestaat niet en kan niet worden gemaakt");
    } else {
        for (int n = 2; n < 1000; ++n) {
            if (!QFileInfo::exists(path)) {
                if (doc.saveNew(path, &reason)) {
                    saved = true;
                    break;
                }
                if (!QFileInfo::exists(path)) {
                    break;  // a real failure, not a name taken meanwhile
                }
            }
            path = dir.filePath(stem + QStringLiteral(" (%1).docx").arg(n));
        }
    }
    if (scope) {
        scope->restore();
    }

    ReportResult result;
    if (!saved) {
        messages.show(platform::Message{QString(), notSavedText(path, reason)});
        return result;
    }
    result.status = ReportStatus::Saved;
    result.path = path;
    return result;
}

ReportResult writeReport(const ReportInput& input, const QString& outputDir,
                         platform::MessageSink& messages, DocumentOpener& opener,
                         ui::BusyCursor* busy) {
    ReportResult result = saveReport(input, outputDir, messages, busy);
    if (result.path.isEmpty()) {
        return result;
    }
    result.status = ReportStatus::Opened;
    if (!opener.open(result.path)) {
        result.status = ReportStatus::SavedNotOpened;
        messages.show(platform::Message{QString(), notOpenedText(result.path)});
    }
    return result;
}

}  // namespace presentation
