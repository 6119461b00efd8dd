#include "presentation/viewer/bekijken_presenter.h"

#include "presentation/saved_calculation.h"
#include "store/dictionary.h"

namespace presentation {

BekijkenPresenter::BekijkenPresenter(const BekijkenContext& context, BekijkenView& view)
    : m_context(context), m_view(view) {
    store::Dictionary& dict = m_context.dictionary;
    dict.bedrijvenRelations().open();
    m_opened = true;
    // Oldest company first; the buffer keeps the company the previous window left.
    store::BedrijvenFile& bed = dict.bedrijven();
    const store::BedrijvenRecord saved = bed.record();
    bed.set(store::Key::BED_By_CreationDate);
    while (bed.next() == store::Status::Ok) {
        const store::BedrijvenRecord& r = bed.record();
        m_companies.push_back({r.id, store::text(r.naam), store::text(r.meteo), r.aanmaakdatum});
    }
    bed.record() = saved;
    readCalculations();
    if (!m_saved.empty()) {
        highlight(0);
    }
}

BekijkenPresenter::~BekijkenPresenter() {
    if (m_opened) {
        m_context.dictionary.bedrijvenRelations().close();
    }
}

QString BekijkenPresenter::bufferNaam() const {
    return store::text(m_context.dictionary.bedrijven().record().naam);
}

void BekijkenPresenter::readCalculations() {
    m_saved.clear();
    m_current = -1;
    const int32_t bedId = m_context.dictionary.bedrijven().record().id;
    store::BerekeningenFile& ber = m_context.dictionary.berekeningen();
    // Reading the list leaves the buffer as it was; highlighting puts a calculation there.
    const store::BerekeningenRecord saved = ber.record();
    ber.set(store::Key::BER_By_Fk, store::KeyValue(bedId));
    while (ber.next() == store::Status::Ok && ber.record().fk == bedId) {
        const store::BerekeningenRecord& r = ber.record();
        SavedEntry entry;
        entry.id = r.id;
        entry.fk = r.fk;
        entry.naam = store::text(r.naam);
        entry.berDatum = r.berDatum;
        entry.berTijd = r.berTijd;
        entry.eigenRuwheid = r.eigenruwheid != 0;
        entry.ruwheid = r.ruwheid;
        entry.rekentijd = r.rekentijd;
        m_saved.push_back(std::move(entry));
    }
    ber.record() = saved;
}

void BekijkenPresenter::chooseCompany(int index) {
    if (index < 0 || index >= static_cast<int>(m_companies.size())) {
        return;
    }
    calculation::putInBuffer(m_context.dictionary, m_companies[static_cast<std::size_t>(index)]);
    m_gridq.clear();
    readCalculations();
    if (!m_saved.empty()) {
        highlight(0);
    } else {
        // Nothing to show: an empty point list and an empty chart rather than a calculation of
        // another company.
        m_eigenRuwheid = false;
        m_locRuwheid = 0;
        drawBubble();
    }
}

void BekijkenPresenter::highlight(int row) {
    if (row < 0 || row >= static_cast<int>(m_saved.size())) {
        return;
    }
    m_current = row;
    const SavedEntry& entry = m_saved[static_cast<std::size_t>(row)];
    store::BerekeningenFile& ber = m_context.dictionary.berekeningen();
    if (ber.fetch(store::Key::BER_By_ID, entry.id) != store::Status::Ok) {
        // Gone meanwhile (another process): the entry's own values, no frozen rows.
        ber.clear();
        ber.record().id = entry.id;
        ber.record().fk = entry.fk;
        store::setText(ber.record().naam, entry.naam);
        ber.record().berDatum = entry.berDatum;
        ber.record().berTijd = entry.berTijd;
        ber.record().eigenruwheid = entry.eigenRuwheid ? 1 : 0;
        ber.record().ruwheid = entry.ruwheid;
        ber.record().rekentijd = entry.rekentijd;
    }
    getDataForQ(m_context.dictionary, m_gridq);
    m_eigenRuwheid = ber.record().eigenruwheid != 0;
    m_locRuwheid = ber.record().ruwheid;
    drawBubble();
}

bool BekijkenPresenter::remove() {
    if (m_current < 0) {
        return false;
    }
    const int row = m_current;
    store::BerekeningenFile& ber = m_context.dictionary.berekeningen();
    if (ber.fetch(store::Key::BER_By_ID, m_saved[static_cast<std::size_t>(row)].id) !=
        store::Status::Ok) {
        readCalculations();
        highlight(std::min(row, static_cast<int>(m_saved.size()) - 1));
        return false;
    }
    const bool deleted =
        m_context.dictionary.berekeningenRelations().remove(true) == store::DeleteResult::Done;
    if (!deleted) {
        return false;
    }
    readCalculations();
    if (m_saved.empty()) {
        m_gridq.clear();
        drawBubble();
    } else {
        highlight(std::min(row, static_cast<int>(m_saved.size()) - 1));
    }
    return true;
}

QString BekijkenPresenter::ruwheidPrompt() const {
    return m_eigenRuwheid ? calculation::BerekenenPresenter::kEigenRuwheid
                          : calculation::BerekenenPresenter::kBerekendeRuwheid;
}

void BekijkenPresenter::drawBubble() {
    m_view.drawBubble(m_gridq, bufferNaam());
}

QVariant BekijkenPresenter::value(int row, int column) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    return calculation::gridqValue(m_gridq[static_cast<std::size_t>(row)], column);
}

ui::CellColors BekijkenPresenter::colors(int row, int column) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    return calculation::gridqColors(m_gridq[static_cast<std::size_t>(row)], column);
}

ui::Columns BekijkenPresenter::columns() {
    return calculation::gridqColumns(44, 3);
}

QVariant BekijkenPresenter::savedValue(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(m_saved.size())) {
        return {};
    }
    const SavedEntry& entry = m_saved[static_cast<std::size_t>(row)];
    switch (column) {
        case 0:
            return entry.naam;
        case 1:
            return entry.berDatum;
        case 2:
            return entry.berTijd;
        default:
            return {};
    }
}

ui::Columns BekijkenPresenter::savedColumns() {
    using ui::Align;
    return {
        {QStringLiteral("Naam"), QStringLiteral("BER:NAAM"), 143, Align::Left, u"@s127"},
        {QStringLiteral("Bereken datum"), QStringLiteral("BER:BER_DATUM"), 54, Align::Left,
         u"@D6-"},
        {QStringLiteral("Bereken tijd"), QStringLiteral("BER:BER_TIJD"), 52, Align::Left, u"@T4"},
    };
}

ReportInput BekijkenPresenter::reportInput() const {
    store::Dictionary& dict = m_context.dictionary;
    ReportInput input;
    input.variant = ReportVariant::Bekijken;
    input.facts = factsOf(dict.berekeningen().record());
    input.bedNaam = store::text(dict.bedrijven().record().naam);
    input.bedMeteo = store::text(dict.bedrijven().record().meteo);
    input.gridq = m_gridq;
    input.moment = m_context.clock.now();
    return input;
}

void BekijkenPresenter::toWord() {
    m_view.showReport(reportInput());
}

}  // namespace presentation
