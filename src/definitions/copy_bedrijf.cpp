#include "copy_bedrijf.h"

namespace definitions {

CopyBedrijfPresenter::CopyBedrijfPresenter(store::Dictionary& dictionary,
                                           platform::MessageSink& messages, ui::BusyCursor& busy,
                                           const platform::Clock& clock)
    : m_copy(dictionary, messages, clock),
      m_busy(busy),
      m_naam(m_copy.locNaam()),
      m_meteo(m_copy.locMeteo().left(kMeteoLength)) {}

QStringList CopyBedrijfPresenter::stations() {
    return {QStringLiteral("Eindhoven"), QStringLiteral("Schiphol")};
}

int32_t CopyBedrijfPresenter::confirm() {
    if (m_done) {
        return m_copyId;
    }
    m_copyId = m_copy.confirm(m_naam, m_meteo, [this](bool on) {
        if (on) {
            m_busy.begin();
        } else {
            m_busy.end();
        }
    });
    m_done = true;
    return m_copyId;
}

}  // namespace definitions
