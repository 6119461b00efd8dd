#include "calculation/bedrijf.h"

#include "calculation/gridq_rows.h"
#include "store/dictionary.h"

namespace calculation {

void getBedrijf(BerekenenState& state, store::Dictionary& dictionary,
                const std::function<void()>& drawBubble) {
    const store::BedrijvenRecord& bed = dictionary.bedrijven().record();
    const int32_t bedId = bed.id;
    state.bedId = bedId;
    state.bedNaam = store::text(bed.naam);
    state.bedMeteo = store::text(bed.meteo);

    Gridq rows;
    store::BronnenFile& bronnen = dictionary.bronnen();
    bronnen.set(store::Key::BRO_By_Fk, store::KeyValue(bedId));
    while (bronnen.next() == store::Status::Ok && bronnen.record().fkBedrijf == bedId) {
        rows.push_back(emissionPointRow(bronnen.record()));
    }
    store::GeurgevlocFile& locaties = dictionary.geurgevloc();
    locaties.set(store::Key::GGL_By_Fk, store::KeyValue(bedId));
    while (locaties.next() == store::Status::Ok && locaties.record().fkBedrijf == bedId) {
        rows.push_back(locationRow(locaties.record()));
    }
    loadGridq(state, std::move(rows), drawBubble);
}

std::unique_ptr<RoughnessGrid> openRoughnessGrid(store::Dictionary& dictionary) {
    return RoughnessGrid::open(dictionary.pathOf(store::FileId::RUWHEID), dictionary.errors());
}

}  // namespace calculation
