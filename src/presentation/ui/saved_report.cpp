#include "presentation/ui/saved_report.h"

#include "presentation/saved_calculation.h"
#include "presentation/ui/bubble_chart_host.h"
#include "store/dictionary.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace presentation {

namespace {

// Keeps BEDRIJVEN and its related files open for a scope.
class OpenFiles {
public:
    explicit OpenFiles(store::Dictionary& dict) : m_dict(dict) {
        m_dict.bedrijvenRelations().open();
    }
    ~OpenFiles() { m_dict.bedrijvenRelations().close(); }
    OpenFiles(const OpenFiles&) = delete;
    OpenFiles& operator=(const OpenFiles&) = delete;

private:
    store::Dictionary& m_dict;
};

}  // namespace

QString unknownCalculationText(int32_t berId) {
    return QStringLiteral("Berekening %1 bestaat niet.").arg(berId);
}

SavedReportResult writeSavedReport(store::Dictionary& dict, int32_t berId, const QString& outputDir,
                                   const QString& outFile, platform::MessageSink& messages,
                                   const QDateTime& moment) {
    SavedReportResult result;
    OpenFiles open(dict);

    store::BerekeningenFile& ber = dict.berekeningen();
    if (ber.fetch(store::Key::BER_By_ID, berId) != store::Status::Ok) {
        messages.show(platform::Message{QString(), unknownCalculationText(berId)});
        return result;
    }
    ReportInput input;
    input.variant = ReportVariant::Bekijken;
    input.facts = factsOf(ber.record());
    input.moment = moment;
    store::BedrijvenFile& bed = dict.bedrijven();
    if (bed.fetch(store::Key::BED_By_Id, ber.record().fk) == store::Status::Ok) {
        input.bedNaam = store::text(bed.record().naam);
        input.bedMeteo = store::text(bed.record().meteo);
    }
    getDataForQ(dict, input.gridq);

    QTemporaryDir pictureDir;
    if (pictureDir.isValid()) {
        const QString picture = pictureDir.filePath(kWordPlotFile);
        if (drawChartPicture(input.gridq, input.bedNaam, picture)) {
            input.picturePath = picture;
        }
    }

    if (outFile.isEmpty()) {
        const ReportResult saved = saveReport(input, outputDir, messages);
        result.ok = saved.status == ReportStatus::Saved;
        result.path = saved.path;
        return result;
    }
    QString reason;
    const QString absolute = QFileInfo(outFile).absoluteFilePath();
    if (QFileInfo::exists(absolute)) {
        reason = QStringLiteral("er bestaat al een bestand met die naam");
    } else if (buildReport(input).saveNew(absolute, &reason)) {
        result.ok = true;
        result.path = absolute;
        return result;
    }
    messages.show(platform::Message{QString(), notSavedText(absolute, reason)});
    return result;
}

}  // namespace presentation
