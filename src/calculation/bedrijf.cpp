#include "calculation/bedrijf.h"

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
        const store::BronnenRecord& r = bronnen.record();
        GridqRow row;
        row.type = kTypeBron;
        row.userId = store::paddedText(r.userId);
        row.xPos = r.xCoord;
        row.yPos = r.yCoord;
        row.stHoogte = r.stHoogte;
        row.stBinnen = r.stBinnendiam;
        row.stUittree = r.stUittree;
        row.eVergund = r.eVergund;
        row.gebHoogte = r.gemgebhoogte;
        row.id = r.id;
        rows.push_back(std::move(row));
    }
    store::GeurgevlocFile& locaties = dictionary.geurgevloc();
    locaties.set(store::Key::GGL_By_Fk, store::KeyValue(bedId));
    while (locaties.next() == store::Status::Ok && locaties.record().fkBedrijf == bedId) {
        const store::GeurgevlocRecord& r = locaties.record();
        GridqRow row;
        row.type = kTypeGgl;
        row.userId = store::paddedText(r.userId);
        row.xPos = r.xCoor;
        row.yPos = r.yCoor;
        row.limit = r.geurnorm;
        row.id = r.id;
        rows.push_back(std::move(row));
    }
    loadGridq(state, std::move(rows), drawBubble);
}

std::unique_ptr<RoughnessGrid> openRoughnessGrid(store::Dictionary& dictionary) {
    return RoughnessGrid::open(dictionary.pathOf(store::FileId::RUWHEID), dictionary.errors());
}

}  // namespace calculation
