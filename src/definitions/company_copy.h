#pragma once
// Copying a company with its emission points and sensitive locations. The source company is the
// one in the BEDRIJVEN record buffer; the copy is written through the aliases BEDCOPY, BRONCOPY
// and GGLCOPY, so reading the source rows through BRONNEN and GEURGEVLOC in key order is never
// disturbed by the writing. Saved calculations are not copied.

#include <QString>
#include <cstdint>
#include <functional>

#include "platform/clock.h"
#include "platform/messages.h"
#include "store/dictionary.h"

namespace definitions {

// "Kopie van " and the source name without trailing blanks, cut to 64 characters.
[[nodiscard]] QString proposedCopyName(const QString& sourceName);

// The copy dialog without its window: opens the three aliases while it lives.
class CompanyCopy {
public:
    CompanyCopy(store::Dictionary& dictionary, platform::MessageSink& messages,
                const platform::Clock& clock);
    ~CompanyCopy();
    CompanyCopy(const CompanyCopy&) = delete;
    CompanyCopy& operator=(const CompanyCopy&) = delete;

    // The proposals of the dialog for the company in the BEDRIJVEN buffer.
    [[nodiscard]] QString locNaam() const { return m_locNaam; }    // LOC:NAAM
    [[nodiscard]] QString locMeteo() const { return m_locMeteo; }  // LOC:METEO

    // Makes the copy under `naam` and `meteo` (neither is tested; an empty name is accepted).
    // Returns BEDC:ID of the new company, or 0 when the company itself could not be stored
    // ("Opslaan kopie gebiedgegevens mislukt; error:" and the driver's text). A failed point or
    // location is reported by the store and skipped. `busy` is called with true before and
    // false after the work.
    int32_t confirm(const QString& naam, const QString& meteo,
                    const std::function<void(bool)>& busy = {});

private:
    store::Dictionary& m_dictionary;
    platform::MessageSink& m_messages;
    const platform::Clock& m_clock;
    QString m_locNaam;
    QString m_locMeteo;
};

}  // namespace definitions
