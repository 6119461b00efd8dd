#include "company_copy.h"

#include "store/calendar.h"

namespace definitions {
namespace {

constexpr int kCopyNameLength = 64;

QString withoutTrailingBlanks(QString text) {
    while (!text.isEmpty() && text.back() == QLatin1Char(' ')) {
        text.chop(1);
    }
    return text;
}

}  // namespace

QString proposedCopyName(const QString& sourceName) {
    return (QStringLiteral("Kopie van ") + withoutTrailingBlanks(sourceName)).left(kCopyNameLength);
}

CompanyCopy::CompanyCopy(store::Dictionary& dictionary, platform::MessageSink& messages,
                         const platform::Clock& clock)
    : m_dictionary(dictionary), m_messages(messages), m_clock(clock) {
    m_dictionary.bedcopyRelations().open();
    m_dictionary.broncopyRelations().open();
    m_dictionary.gglcopyRelations().open();
    const auto& source = m_dictionary.bedrijven().record();
    m_locNaam = proposedCopyName(store::text(source.naam));
    m_locMeteo = store::text(source.meteo).left(20);
}

CompanyCopy::~CompanyCopy() {
    m_dictionary.bedcopyRelations().close();
    m_dictionary.broncopyRelations().close();
    m_dictionary.gglcopyRelations().close();
}

int32_t CompanyCopy::confirm(const QString& naam, const QString& meteo,
                             const std::function<void(bool)>& busy) {
    m_locNaam = naam.left(kCopyNameLength);
    m_locMeteo = meteo.left(20);
    if (busy) {
        busy(true);
    }
    const int32_t sourceId = m_dictionary.bedrijven().record().id;

    auto& bedc = m_dictionary.bedcopy();
    store::setText(bedc.record().naam, m_locNaam);
    store::setText(bedc.record().meteo, m_locMeteo);
    bedc.record().aanmaakdatum = store::today(m_clock);
    if (bedc.insert() != store::Status::Ok) {
        m_messages.show(platform::Message{
            QString(),
            QStringLiteral("Opslaan kopie gebiedgegevens mislukt; error:") + bedc.lastErrorText(),
            platform::Icon::None, platform::Ok, platform::Ok, false});
        if (busy) {
            busy(false);
        }
        return 0;
    }
    const int32_t copyId = bedc.record().id;

    auto& bro = m_dictionary.bronnen();
    auto& bronc = m_dictionary.broncopy();
    bro.record().fkBedrijf = sourceId;
    bro.set(store::Key::BRO_By_Fk, store::KeyValue(sourceId));
    while (bro.next() == store::Status::Ok && bro.record().fkBedrijf == sourceId) {
        const auto& s = bro.record();
        auto& c = bronc.record();
        c.fkBedrijf = copyId;
        c.userId = s.userId;
        c.xCoord = s.xCoord;
        c.yCoord = s.yCoord;
        c.gemgebhoogte = s.gemgebhoogte;
        c.stHoogte = s.stHoogte;
        c.stBinnendiam = s.stBinnendiam;
        c.stUittree = s.stUittree;
        c.eVergund = s.eVergund;
        (void)bronc.insert();  // a failure is reported by the store; the copy goes on
    }

    auto& ggl = m_dictionary.geurgevloc();
    auto& gglc = m_dictionary.gglcopy();
    ggl.record().fkBedrijf = sourceId;
    ggl.set(store::Key::GGL_By_Fk, store::KeyValue(sourceId));
    while (ggl.next() == store::Status::Ok && ggl.record().fkBedrijf == sourceId) {
        const auto& s = ggl.record();
        auto& c = gglc.record();
        c.fkBedrijf = copyId;
        c.userId = s.userId;
        c.xCoor = s.xCoor;
        c.yCoor = s.yCoor;
        c.geurnorm = s.geurnorm;
        c.geurbelasting = s.geurbelasting;
        (void)gglc.insert();
    }
    if (busy) {
        busy(false);
    }
    return copyId;
}

}  // namespace definitions
