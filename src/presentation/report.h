#pragma once
// The word-processor report of a calculation: a .docx document with a page header (generation
// date, model version, copyright notice), the calculation facts, a table of the emission points,
// a table of the sensitive locations with their odour loads and the picture of the bubble chart.
// The Calculation window, the viewer and the command line each fill a ReportInput; the report
// itself reads nothing else.

#include "calculation/gridq.h"
#include "platform/docx/docx_writer.h"
#include "platform/messages.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace ui {
class BusyCursor;
}

namespace presentation {

// The notice at the end of the page header: 25 characters with one blank at each end.
inline const QString kCopyrightNotice = QStringLiteral(" \u00a9 2026 V-Wolkan-auteurs ");
// The calculation name of a calculation that has not been saved.
inline const QString kNogNietBekend = QStringLiteral("Nog niet bekend");
// The picture of the chart, in the home directory.
inline const QString kWordPlotFile = QStringLiteral("WordPlot.bmp");

// The facts of the calculation, as the BEREKENINGEN record holds them.
struct ReportFacts {
    QString naam;               // BER:NAAM
    bool eigenRuwheid = false;  // BER:EIGENRUWHEID
    double ruwheid = 0;         // BER:RUWHEID
    int32_t berDatum = 0;       // BER:BER_DATUM, day number
    int32_t berTijd = 0;        // BER:BER_TIJD, hundredths of a second since midnight plus one
    int32_t rekentijd = 0;      // BER:REKENTIJD, hundredths of a second
    QString wolkanVersieNr;     // BER:WOLKANVERSIENR
};

// Which window makes the report: it decides where "Gemaakt op:" comes from and how the roughness
// is shown.
enum class ReportVariant { Berekenen, Bekijken };

struct ReportInput {
    ReportVariant variant = ReportVariant::Berekenen;
    ReportFacts facts;
    QString bedNaam;           // BED:NAAM
    QString bedMeteo;          // BED:METEO
    calculation::Gridq gridq;  // in the window's order
    // The moment of the report: the date of the page header, "Gemaakt op:" of the viewer, and
    // the document's file name.
    QDateTime moment;
    // The chart's picture (PNG or Windows bitmap); empty or unreadable: no picture.
    QString picturePath;
};

// Day numbers (28 December 1800 is day 0) and times of day (hundredths of a second since
// midnight plus one) of a moment.
[[nodiscard]] int32_t dayNumber(const QDate& date);
[[nodiscard]] int32_t timeValue(const QTime& time);

// The facts of a calculation made in the Calculation window that has not been saved there:
// named "Nog niet bekend", dated `now`, with the run time and version line of the last run.
[[nodiscard]] ReportFacts unsavedFacts(bool eigenRuwheid, double ruwheid, int32_t runtime,
                                       const QString& versieRegel, const QDateTime& now);

// The text of the page header.
[[nodiscard]] QString headerText(const ReportInput& input);
// The lines of the facts block, from the empty first line to the empty line after the station.
[[nodiscard]] QStringList factLines(const ReportInput& input);
// The two tables, header line first, each cell in its picture.
[[nodiscard]] std::vector<QStringList> bronTableRows(const calculation::Gridq& gridq);
[[nodiscard]] std::vector<QStringList> gglTableRows(const calculation::Gridq& gridq);

// The whole document, in memory. A picture that cannot be read is left out.
[[nodiscard]] platform::docx::Document buildReport(const ReportInput& input);

// The file name of a report: the calculation's name, with every character that a file name
// cannot hold replaced by "_", and the moment, "<naam> 2026-12-11 13.45.07.docx".
[[nodiscard]] QString reportFileName(const QString& naam, const QDateTime& moment);

// Opens a document in the desktop's word processor; false when none could be started.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    [[nodiscard]] virtual bool open(const QString& path) = 0;
};

enum class ReportStatus {
    Saved,           // saveReport(): written
    Opened,          // writeReport(): written and opened
    SavedNotOpened,  // writeReport(): written, no word processor could open it
    NotSaved,
};

struct ReportResult {
    ReportStatus status = ReportStatus::NotSaved;
    QString path;  // the document written, empty when none
};

// Builds the document and saves it under reportFileName() in `outputDir` (created when
// missing), adding " (2)", " (3)", ... before ".docx" while a file of that name exists: an
// existing file is never replaced, and the program never removes the document. Where it cannot
// be saved, a message says so. The busy cursor is on while the document is built and saved, and
// off for the message.
ReportResult saveReport(const ReportInput& input, const QString& outputDir,
                        platform::MessageSink& messages, ui::BusyCursor* busy = nullptr);

// saveReport(), then the document opened with `opener`; where it cannot be opened, a message
// says where the file is.
ReportResult writeReport(const ReportInput& input, const QString& outputDir,
                         platform::MessageSink& messages, DocumentOpener& opener,
                         ui::BusyCursor* busy = nullptr);

// The messages of the report.
[[nodiscard]] QString notSavedText(const QString& path, const QString& reason);
[[nodiscard]] QString notOpenedText(const QString& path);

}  // namespace presentation
