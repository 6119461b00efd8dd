#pragma once
// The report of a saved calculation without a window, for the command line: the viewer's
// variant, with the chart drawn off-screen.

#include "presentation/report.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace store {
class Dictionary;
}

namespace presentation {

struct SavedReportResult {
    bool ok = false;
    QString path;  // the document written
};

// Writes the report of the saved calculation with BER:ID `berId`: to `outFile` when given (which
// must not exist yet: nothing is replaced), else under a new name in `outputDir` as the windows
// do. The chart picture is drawn into a temporary file that is removed afterwards. Opens and
// closes BEDRIJVEN with its related files itself. Every failure is a message on `messages`
// ("Berekening 12 bestaat niet." and the report's own). Needs a QApplication; may throw
// platform::FatalError when the record files cannot be opened.
[[nodiscard]] SavedReportResult writeSavedReport(
    store::Dictionary& dict, int32_t berId, const QString& outputDir, const QString& outFile,
    platform::MessageSink& messages, const QDateTime& moment = QDateTime::currentDateTime());

// The message of a calculation that does not exist.
[[nodiscard]] QString unknownCalculationText(int32_t berId);

}  // namespace presentation
