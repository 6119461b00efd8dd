#pragma once
// Saving a calculation: one BEREKENINGEN record with its settings, then a frozen copy of every
// row of the result grid in BERBRON and BERGGL, so that it can be viewed and reported later
// whatever happens to the company afterwards.

#include "calculation/berekenen.h"

#include <QString>
#include <cstdint>

namespace store {
class Dictionary;
}

namespace calculation {

// BER:NAAM holds at most this many characters.
inline constexpr qsizetype kBerNaamLength = 127;

// The save dialog's work once the user confirmed `resultNaam`: stores a BEREKENINGEN record for
// company parBedid with the calculation's run time, roughness (own or derived) and version line,
// dated at the moment of confirming, the name cut to 127 characters. Returns the new BER:ID, or
// 0 when the insert failed: the file manager's message, then "Opslaan berekening gebiedgegevens
// mislukt; error:" with the driver's text. Opens BEREKENINGEN with its related files for the
// time it works.
[[nodiscard]] int32_t saveResults(store::Dictionary& dictionary, platform::MessageSink& messages,
                                  const Clock& clock, const QString& resultNaam, int32_t parBedid,
                                  int32_t parRuntime, uint8_t parEigenruwheid, double parRuwheid,
                                  const QString& parVersienrregel);

struct FrozenCopy {
    int bronnen = 0;   // BERBRON records stored
    int locaties = 0;  // BERGGL records stored
    int refused = 0;   // rows whose insert failed (reported by the store)
    bool inTransaction = false;
};

// Stores every row of the grid, first to last, as BERBRON ("B") or BERGGL ("G") of
// calculation berId, inside one transaction over both files (waiting at most 2 seconds for it;
// without it each insert stands alone). A row refused by its field check or otherwise is
// reported by the store and left out; the others are stored and committed.
FrozenCopy saveFrozenCopy(store::Dictionary& dictionary, const Gridq& gridq, int32_t berId);

// "&Berekeningen bewaren" with the name confirmed: saveResults for the state's company and last
// run, then, with the busy cursor, the frozen copy when a record was stored. Sets and returns
// state.saveResult.
int32_t berekeningenBewaren(BerekenenState& state, store::Dictionary& dictionary,
                            platform::MessageSink& messages, const Clock& clock,
                            const QString& resultNaam, BusyCursor* busy = nullptr,
                            FrozenCopy* copy = nullptr);

}  // namespace calculation
