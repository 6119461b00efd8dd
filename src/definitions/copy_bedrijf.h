#pragma once
// The company copy dialog (COPYBEDRIJF) without its window: the proposed name ("Kopie van " and
// the source name, cut to 64) and station of the company in the BEDRIJVEN buffer, the station
// list, and the copy itself (CompanyCopy) under the busy cursor. Opens the aliases BEDCOPY,
// BRONCOPY and GGLCOPY while it lives.

#include "definitions/company_copy.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/ui/core/busy_cursor.h"
#include "store/dictionary.h"

#include <QString>
#include <QStringList>

namespace definitions {

class CopyBedrijfPresenter {
public:
    static inline const QString kCaption =
        QStringLiteral("Kopier gegevens bedrijf en bijbehorende bronnen en GGL's");
    static constexpr int kNaamLength = 64;   // LOC:NAAM
    static constexpr int kMeteoLength = 19;  // LOC:METEO, 20 bytes with its NUL

    CopyBedrijfPresenter(store::Dictionary& dictionary, platform::MessageSink& messages,
                         ui::BusyCursor& busy, const platform::Clock& clock);

    [[nodiscard]] static QStringList stations();

    [[nodiscard]] QString naam() const { return m_naam; }    // LOC:NAAM
    [[nodiscard]] QString meteo() const { return m_meteo; }  // LOC:METEO
    void setNaam(const QString& naam) { m_naam = naam.left(kNaamLength); }
    void setMeteo(const QString& meteo) { m_meteo = meteo.left(kMeteoLength); }

    // "&Bevestigen": copies under naam() and meteo(); the dialog closes whatever the outcome.
    // BED:ID of the new company, 0 when it could not be stored (the message has been shown).
    int32_t confirm();
    // "&Annuleren": nothing is written.
    void cancel() { m_done = true; }
    [[nodiscard]] bool done() const { return m_done; }
    [[nodiscard]] int32_t copyId() const { return m_copyId; }

private:
    CompanyCopy m_copy;
    ui::BusyCursor& m_busy;
    QString m_naam;
    QString m_meteo;
    bool m_done = false;
    int32_t m_copyId = 0;
};

}  // namespace definitions
