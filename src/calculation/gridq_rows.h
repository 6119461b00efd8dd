#pragma once
// Rows of the result grid from records: an emission point from BRONNEN or its frozen copy in
// BERBRON (the same fields), a sensitive location from GEURGEVLOC or BERGGL.

#include "calculation/gridq.h"
#include "store/records.h"

#include <cstdint>

namespace store {
class Dictionary;
}

namespace calculation {

// A "B" row: label, position, the stack's values and the record's identifier; load 0.
template <typename EmissionPoint>
[[nodiscard]] GridqRow emissionPointRow(const EmissionPoint& r) {
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
    return row;
}

// A "G" row: label, position, standard and the record's identifier; load 0.
template <typename Location>
[[nodiscard]] GridqRow locationRow(const Location& r) {
    GridqRow row;
    row.type = kTypeGgl;
    row.userId = store::paddedText(r.userId);
    row.xPos = r.xCoor;
    row.yPos = r.yCoor;
    row.limit = r.geurnorm;
    row.id = r.id;
    return row;
}

// The frozen rows of saved calculation `berId` into `gridq` as the viewer shows them: emission
// points, then locations with their loads and colours, each group by identifier, numbered from 1.
// BERBRON and BERGGL must be open.
void readFrozenRows(store::Dictionary& dictionary, int32_t berId, Gridq& gridq);

}  // namespace calculation
