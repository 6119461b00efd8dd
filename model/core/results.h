#pragma once
// The results file: a title, the version line, a column header with the counts of hours, then one
// line per sensitive location in fixed columns (see constants.h), Windows-1252, CR LF.

#include <string>
#include <vector>

#include "inputs.h"

namespace zivirare {

struct ResultsHeader {
    std::string station;  // Eindhoven, Schiphol, or the number
    int firstYear = 0, lastYear = 0;
    bool synthetic = false;
    long long validHours = 0, calmHours = 0, invalidHours = 0;
};

// "V-WOLKAN rekenkern versie 1.0, meteo Eindhoven 1995-1999" (+ " SYNTHETISCHE METEO"), at most
// 128 characters.
[[nodiscard]] std::string versionLine(const ResultsHeader& header);

// The whole file. `loads` has one value per location, in order.
[[nodiscard]] std::string formatResults(const ResultsHeader& header,
                                        const std::vector<Location>& locations,
                                        const std::vector<double>& loads);

// One result line, without the line end.
[[nodiscard]] std::string resultLine(const Location& location, double load);

// Writes `contents` to `dir`/name under a temporary name first, then renames it. Removes the
// temporary file again when anything fails. False when the file could not be written.
[[nodiscard]] bool writeFileAtomically(const std::string& dir, const std::string& name,
                                       const std::string& tempName, const std::string& contents);

}  // namespace zivirare
