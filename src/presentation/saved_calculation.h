#pragma once
// A saved calculation as the report and the viewer read it back: its facts from the BEREKENINGEN
// record and its frozen emission points and sensitive locations as a result grid.

#include "calculation/gridq.h"
#include "presentation/report.h"
#include "store/dictionary.h"

namespace presentation {

// The facts of a BEREKENINGEN record.
[[nodiscard]] ReportFacts factsOf(const store::BerekeningenRecord& record);

// The facts of the Calculation window's report: with `saveResult` (the BER:ID saved last in the
// window, 0 while none) the stored record, fetched into the BEREKENINGEN buffer (a record that
// cannot be fetched leaves the buffer cleared: blank texts and zero numbers); without it the
// unsaved facts of the last run. The file must be open.
[[nodiscard]] ReportFacts calculationWindowFacts(store::Dictionary& dict, int32_t saveResult,
                                                 bool eigenRuwheid, double locRuwheid,
                                                 int32_t runtime, const QString& versieRegel,
                                                 const QDateTime& now);

// GETDATAFORQ: the frozen rows of the calculation in the BEREKENINGEN record buffer into
// `gridq`: its BERBRON rows as "B" and its BERGGL rows as "G" with their stored loads and list
// colours, ordered by type then identifier and numbered from 1. Rows that are missing are simply
// not there. The files must be open. One keyed positioning per file, then sequential reads.
void getDataForQ(store::Dictionary& dict, calculation::Gridq& gridq);

}  // namespace presentation
