#include "presentation/saved_calculation.h"

#include "calculation/gridq_rows.h"

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
    calculation::readFrozenRows(dict, dict.berekeningen().record().id, gridq);
}

}  // namespace presentation
