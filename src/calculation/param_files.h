#pragma once
// The three input files of the dispersion model: "Param.dat" (meteorological data file, period,
// roughness), "Bronnen.dat" (emission points) and "GGL.dat" (odour-sensitive locations). The
// model parses them, so names, line order, separators and number formats are fixed to the byte.

#include "calculation/gridq.h"

#include <QDate>
#include <QString>
#include <string>

namespace calculation {

inline const QString kParamFile = QStringLiteral("Param.dat");
inline const QString kBronnenFile = QStringLiteral("Bronnen.dat");
inline const QString kGglFile = QStringLiteral("GGL.dat");
inline const QString kMeteoEindhoven = QStringLiteral("mixeindhoven9599.dat");
inline const QString kMeteoSchiphol = QStringLiteral("mixschiphol9599.dat");

inline constexpr const char* kBronnenTitle = "Dit is een bronneninvoer bestand voor bedrijf:";
inline constexpr const char* kBronnenMadeOn = " gemaakt op:";
inline constexpr const char* kBronnenHeader =
    "VolgNr    IDNR       X_COORD      Y_COORD   ST-hoogte GemGebHoogt  ST-bindiam   ST-uittree "
    "E-Vergund";
inline constexpr const char* kGglHeader =
    "Volgnummer  Identifier    X-coordinaat    Y-coordinaat    NORM-OU";

struct ParamFileInput {
    QString inputDir;  // GLO:INPUTDIR, the directory of the three files, ending in a separator
    QString bedNaam;   // BED:NAAM of the company in the record buffer
    QString bedMeteo;  // BED:METEO: "EINDHOVEN" or "SCHIPHOL" in any letter case
    double locRuwheid = 0.1;  // LOC:RUWHEID, already checked against 0.03 … 1
    QDate today;              // the date written into the title of "Bronnen.dat"
};

// The meteorological data file for a station, or an empty text for a station the model does not
// know. Letter case and trailing blanks are ignored; a leading blank is not.
[[nodiscard]] QString meteoFileFor(const QString& bedMeteo);

// The lines of each file as Windows-1252 bytes, before the line rules of the text-line file.
// bronnenLines and gglLines expect the grid in the order they write (see makeParamFile).
[[nodiscard]] std::vector<std::string> paramLines(const ParamFileInput& input);
[[nodiscard]] std::vector<std::string> bronnenLines(const ParamFileInput& input,
                                                    const Gridq& gridq);
[[nodiscard]] std::vector<std::string> gglLines(const Gridq& gridq);

// Writes the three files into the input directory, replacing those of the previous run. Sorts
// the grid twice: emission points first for "Bronnen.dat", then locations first for "GGL.dat",
// which is the order the grid is left in (the results reader sorts it back). Reports nothing: a
// file that cannot be written is skipped and the model's own result is the only sign.
void makeParamFile(const ParamFileInput& input, Gridq& gridq);

}  // namespace calculation
