#pragma once
// What the command line shows of a calculation and of saved calculations: the data behind
// "calc", "saved list", "saved show" and "saved delete", as rows and texts. The command line
// only parses its options, calls these and prints.

#include "calculation/berekenen.h"
#include "calculation/saving.h"

#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

namespace store {
class Dictionary;
enum class DeleteResult;
}  // namespace store

namespace calculation {

// One line of the point list, each column in the list's picture: "Nr." @N_3, "ID" 20
// characters, "X-Coord." and "Y-Coord." @N7_, "Type", "Geur norm" and "Geur belasting"
// @N10_`1B in the Calculation window (decimals 1) or @N10_`3B in the viewer (decimals 3).
struct PointListLine {
    QString nr, id, x, y, type, norm, belasting;
    bool overschreden = false;  // the row is shown red: its load exceeds its standard
};

[[nodiscard]] std::vector<PointListLine> pointList(const Gridq& gridq, int decimals);
// The header and one line per row, the columns separated by one blank, "overschreden" after a
// red row.
[[nodiscard]] QString pointListText(const Gridq& gridq, int decimals);

struct CalcRequest {
    int32_t bedId = 0;
    std::optional<double> eigenRuwheid;  // given: the user's own roughness
    std::optional<QString> saveName;     // given: save the calculation under this name
};

struct CalcOutcome {
    bool companyFound = false;
    StartResult result = StartResult::Calculated;
    BerekenenState state;
    int32_t berId = 0;  // the saved calculation, 0 when none was saved
    FrozenCopy frozen;
};

// "calc": fetches the company, loads it (getBedrijf), runs the "&Start berekenen" handling with
// the own roughness when given, and saves it as "&Berekeningen bewaren" would when a name is
// given and saving is possible after the run. Opens the company files for the time it works;
// services.grid must be open. Messages go to services.messages.
[[nodiscard]] CalcOutcome runCalc(store::Dictionary& dictionary, BerekenenServices& services,
                                  const CalcRequest& request);
// The point list after the run, then the roughness used (and whether own or derived), the
// version line and the run time; "BER:ID n" as the last line when saved.
[[nodiscard]] QString calcText(const CalcOutcome& outcome);
[[nodiscard]] QJsonObject calcJson(const CalcOutcome& outcome);

struct SavedCalculation {
    int32_t berId = 0;
    int32_t fk = 0;
    QString naam;
    uint8_t eigenRuwheid = 0;
    double ruwheid = 0;
    int32_t berDatum = 0;   // day number
    int32_t berTijd = 0;    // time number (hundredths + 1)
    int32_t rekentijd = 0;  // hundredths of a second
    QString versie;
};

// The company's saved calculations in the order of BER:By_Fk.
[[nodiscard]] std::vector<SavedCalculation> savedCalculations(store::Dictionary& dictionary,
                                                              int32_t bedId);
// One line per calculation, tab-separated: BER:ID, name, date dd-mm-yyyy, time hh:mm:ss.
[[nodiscard]] QString savedListText(const std::vector<SavedCalculation>& list);

// Loads a saved calculation as the viewer does: its record, and its frozen rows into gridq
// (emission points, then locations, each in the order saved, numbered from 1, with the
// colours of their loads). Nothing when there is no such calculation.
[[nodiscard]] std::optional<SavedCalculation> loadSavedCalculation(store::Dictionary& dictionary,
                                                                   int32_t berId, Gridq& gridq);
// The calculation's facts and its rows as the viewer's point list shows them.
[[nodiscard]] QString savedShowText(const SavedCalculation& saved, const Gridq& gridq);

enum class SavedDeleteResult { Done, Cancelled, Failed, NotFound };
// Deletes the saved calculation with its frozen rows (the cascading delete of BEREKENINGEN),
// asking "Confirm Delete" first when `ask`.
[[nodiscard]] SavedDeleteResult deleteSavedCalculation(store::Dictionary& dictionary, int32_t berId,
                                                       bool ask);

}  // namespace calculation
