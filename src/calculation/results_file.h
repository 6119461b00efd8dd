#pragma once
// The model's results file "RepGeurBelast.dat": line 1 ignored, line 2 the model's version
// line, line 3 ignored, then one line per result with the row's sequence number in columns 1-14
// and the odour load in columns 70-83 (columns counted from 1, after tab expansion).

#include "calculation/gridq.h"
#include "platform/messages.h"

#include <QString>
#include <cstddef>
#include <string_view>

namespace platform {
class TextLineReader;
}

namespace calculation {

inline constexpr size_t kVolgnummerFirstColumn = 1, kVolgnummerLastColumn = 14;
inline constexpr size_t kLoadFirstColumn = 70, kLoadLastColumn = 83;
// LOC:VERSIENRREGEL holds at most this many characters.
inline constexpr qsizetype kVersienrregelLength = 128;
// LOC:VERSIENRREGEL before the first results file is read.
inline const QString kInitialVersienrregel =
    QStringLiteral("V-WOLKAN Vaduvevedu   Release 12/2006 versie 1.1");
inline const QString kErrorForFile = QStringLiteral(" error for file:");

// A number field as the results file holds it: leading blanks skipped, an optional sign, digits
// with an optional "." and fraction and an optional exponent; the number ends at the first
// character that cannot continue it. A field without a number reads 0. Too large a magnitude
// gives the largest finite double of that sign.
[[nodiscard]] double readNumberField(std::string_view field);

// Columns first..last (from 1) of a line, as the 500-character record holds it: characters past
// the end of the line are blanks, so the result may be shorter than the field.
[[nodiscard]] std::string_view lineField(std::string_view line, size_t first, size_t last);

// Reads the lines of an opened results file into the grid and the version line: each result
// line puts its load into the row with its number and colours the row; lines with an unknown
// or zero number are skipped; the same number twice: the later line wins. A file of one line
// leaves the version line as it was.
void readResults(platform::TextLineReader& reader, Gridq& gridq, QString& locVersienrregel);

// Opens `path`, reads it as above, closes it, and in every case sorts the grid back into
// numbered order. When the file cannot be opened: a message without caption with the driver's
// error text, " error for file:" and the file's full path.
void getCalResults(const QString& path, Gridq& gridq, QString& locVersienrregel,
                   platform::MessageSink& messages);

}  // namespace calculation
