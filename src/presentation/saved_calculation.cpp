#include "presentation/saved_calculation.h"

namespace presentation {

ReportFacts factsOf(const store::BerekeningenRecord& record) {
    ReportFacts f;
    f.naam = store::text(record.naam);
    f.eigenRuwheid = record.eigenruwheid != 0;
    f.ruwheid = record.ruwheid;
    f.berDatum = record.berDatum;
    f.berTijd = record.berTijd;
    f.rekentijd = record.rekentijd;
    f.wolkanVersieNr = store::text(record.wolkanversienr);
    return f;
}

ReportFacts calculationWindowFacts(store::Dictionary& dict, int32_t saveResult, bool eigenRuwheid,
                                   double locRuwheid, int32_t runtime, const QString& versieRegel,
                                   const QDateTime& now) {
    if (saveResult == 0) {
        return unsavedFacts(eigenRuwheid, locRuwheid, runtime, versieRegel, now);
    }
    store::BerekeningenFile& ber = dict.berekeningen();
    if (ber.fetch(store::Key::BER_By_ID, saveResult) != store::Status::Ok) {
        ber.clear();
    }
    return factsOf(ber.record());
}

void getDataForQ(store::Dictionary& dict, calculation::Gridq& gridq) {
    gridq.clear();
    const int32_t berId = dict.berekeningen().record().id;

    store::BerbronFile& bb = dict.berbron();
    bb.set(store::Key::BB_By_Fk, berId);
    while (bb.next() == store::Status::Ok && bb.record().fkBerekening == berId) {
        const store::BerbronRecord& r = bb.record();
        calculation::GridqRow row;
        row.type = calculation::kTypeBron;
        row.userId = store::paddedText(r.userId);
        row.xPos = r.xCoord;
        row.yPos = r.yCoord;
        row.stHoogte = r.stHoogte;
        row.stBinnen = r.stBinnendiam;
        row.stUittree = r.stUittree;
        row.eVergund = r.eVergund;
        row.gebHoogte = r.gemgebhoogte;
        row.id = r.id;
        gridq.push_back(row);
    }

    store::BergglFile& bg = dict.berggl();
    bg.set(store::Key::BG_By_Fk, berId);
    while (bg.next() == store::Status::Ok && bg.record().fkBerekening == berId) {
        const store::BergglRecord& r = bg.record();
        calculation::GridqRow row;
        row.type = calculation::kTypeGgl;
        row.userId = store::paddedText(r.userId);
        row.xPos = r.xCoor;
        row.yPos = r.yCoor;
        row.limit = r.geurnorm;
        row.value = r.geurbelasting;
        row.id = r.id;
        if (row.limit >= row.value) {
            row.colorNfg = calculation::kBlack;
            row.colorSfg = calculation::kWhite;
        } else {
            row.colorNfg = calculation::kRed;
            row.colorSfg = calculation::kRed;
        }
        gridq.push_back(row);
    }

    calculation::sortByTypeThenId(gridq);
    calculation::numberRows(gridq);
}

}  // namespace presentation
