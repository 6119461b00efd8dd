#include "calculation/gridq_rows.h"

#include "store/dictionary.h"

namespace calculation {

void readFrozenRows(store::Dictionary& dictionary, int32_t berId, Gridq& gridq) {
    gridq.clear();
    store::BerbronFile& berbron = dictionary.berbron();
    berbron.set(store::Key::BB_By_Fk, store::KeyValue(berId));
    while (berbron.next() == store::Status::Ok && berbron.record().fkBerekening == berId) {
        gridq.push_back(emissionPointRow(berbron.record()));
    }
    store::BergglFile& berggl = dictionary.berggl();
    berggl.set(store::Key::BG_By_Fk, store::KeyValue(berId));
    while (berggl.next() == store::Status::Ok && berggl.record().fkBerekening == berId) {
        GridqRow row = locationRow(berggl.record());
        setLoad(row, berggl.record().geurbelasting);
        gridq.push_back(std::move(row));
    }
    sortByTypeThenId(gridq);
    numberRows(gridq);
}

}  // namespace calculation
