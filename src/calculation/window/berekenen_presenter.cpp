#include "calculation/window/berekenen_presenter.h"

#include "calculation/bedrijf.h"
#include "calculation/saving.h"
#include "presentation/saved_calculation.h"
#include "store/dictionary.h"

namespace calculation {

// The calculation's busy cursor on the window's: on and off, never counted twice.
class BerekenenPresenter::Busy : public BusyCursor {
public:
    explicit Busy(ui::BusyCursor& cursor) : m_cursor(cursor) {}
    ~Busy() override { setBusy(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    void setBusy(bool busy) override {
        if (busy && !m_on) {
            m_cursor.begin();
        } else if (!busy && m_on) {
            m_cursor.end();
        }
        m_on = busy;
    }

private:
    ui::BusyCursor& m_cursor;
    bool m_on = false;
};

void putInBuffer(store::Dictionary& dictionary, const CompanyEntry& entry) {
    store::BedrijvenRecord& bed = dictionary.bedrijven().record();
    bed.id = entry.id;
    store::setText(bed.naam, entry.naam);
    store::setText(bed.meteo, entry.meteo);
    bed.aanmaakdatum = entry.aanmaakdatum;
}

ui::Columns gridqColumns(int normWidth, int decimals) {
    const QString load = QStringLiteral("@N10_`%1B").arg(decimals);
    using ui::Align;
    return {
        {QStringLiteral("Nr."), QStringLiteral("GQ:VOLGNUMMER"), 14, Align::Center, u"@N_3"},
        {QStringLiteral("ID"), QStringLiteral("GQ:USERID"), 54, Align::Left, u"@s20"},
        {QStringLiteral("X-Coord."), QStringLiteral("GQ:XPOS"), 32, Align::Decimal, u"@N7_"},
        {QStringLiteral("Y-Coord."), QStringLiteral("GQ:YPOS"), 32, Align::Decimal, u"@N7_"},
        {QStringLiteral("Type"), QStringLiteral("GQ:TYPE"), 19, Align::Center, u"@s1"},
        {QStringLiteral("Geur norm"), QStringLiteral("GQ:LIMIT"), normWidth, Align::Decimal, load},
        {QStringLiteral("Geur belasting"), QStringLiteral("GQ:VALUE"), 0, Align::Decimal, load},
    };
}

QVariant gridqValue(const GridqRow& row, int column) {
    switch (column) {
        case 0:
            return row.volgnummer;
        case 1: {
            // Shown without its padding, so that a short label is not cut off with an ellipsis.
            qsizetype end = row.userId.size();
            while (end > 0 && row.userId.at(end - 1) == QLatin1Char(' ')) {
                --end;
            }
            return row.userId.left(end);
        }
        case 2:
            return row.xPos;
        case 3:
            return row.yPos;
        case 4:
            return QString(row.type);
        case 5:
            return row.limit;
        case 6:
            return row.value;
        default:
            return {};
    }
}

ui::CellColors gridqColors(const GridqRow& row, int column, bool highlighted) {
    if (column != kLoadColumn) {
        return {};
    }
    return highlighted ? ui::CellColors{row.colorSfg, row.colorSbg}
                       : ui::CellColors{row.colorNfg, row.colorNbg};
}

BerekenenPresenter::BerekenenPresenter(const BerekenenContext& context, BerekenenView& view)
    : m_context(context), m_view(view), m_busy(std::make_unique<Busy>(context.busy)) {
    store::Dictionary& dict = m_context.dictionary;
    dict.bedrijvenRelations().open();
    m_opened = true;
    try {
        m_grid = openRoughnessGrid(dict);
    } catch (...) {
        dict.bedrijvenRelations().close();
        m_opened = false;
        throw;
    }
    // The drop-down is filled without a key: in the order the store keeps the records. The
    // buffer is left as it was, so the window opens on the company the previous one left.
    store::BedrijvenFile& bed = dict.bedrijven();
    const store::BedrijvenRecord saved = bed.record();
    bed.setRecordOrder();
    while (bed.next() == store::Status::Ok) {
        const store::BedrijvenRecord& r = bed.record();
        m_companies.push_back({r.id, store::text(r.naam), store::text(r.meteo), r.aanmaakdatum});
    }
    bed.record() = saved;
}

BerekenenPresenter::~BerekenenPresenter() {
    m_grid.reset();
    if (m_opened) {
        m_context.dictionary.bedrijvenRelations().close();
    }
}

QString BerekenenPresenter::bufferNaam() const {
    return store::text(m_context.dictionary.bedrijven().record().naam);
}

void BerekenenPresenter::chooseCompany(int index) {
    if (index < 0 || index >= static_cast<int>(m_companies.size())) {
        return;
    }
    putInBuffer(m_context.dictionary, m_companies[static_cast<std::size_t>(index)]);
    getBedrijf(m_state, m_context.dictionary, [this] { drawBubble(); });
}

void BerekenenPresenter::setEigenRuwheid(bool checked) {
    m_state.eigenRuwheid = checked ? 1 : 0;
}

QString BerekenenPresenter::ruwheidPrompt() const {
    return ruwheidEnabled() ? kEigenRuwheid : kBerekendeRuwheid;
}

void BerekenenPresenter::takeBuffer() {
    const store::BedrijvenRecord& bed = m_context.dictionary.bedrijven().record();
    m_state.bedId = bed.id;
    m_state.bedNaam = store::text(bed.naam);
    m_state.bedMeteo = store::text(bed.meteo);
}

void BerekenenPresenter::drawBubble() {
    m_view.drawBubble(m_state.gridq, bufferNaam());
}

StartResult BerekenenPresenter::start() {
    takeBuffer();
    BerekenenServices services(*m_grid, m_context.messages, m_context.clock, m_context.paths,
                               m_context.ping);
    services.busy = m_busy.get();
    services.drawBubble = [this] { drawBubble(); };
    if (!m_context.modelMissingText.isEmpty()) {
        services.modelMissingText = m_context.modelMissingText;
    }
    const StartResult result = startBerekenen(m_state, services);
    m_busy->setBusy(false);
    return result;
}

int32_t BerekenenPresenter::save() {
    takeBuffer();
    const std::optional<QString> naam = m_view.askResultNaam();
    if (!naam) {
        m_state.saveResult = 0;
        return 0;
    }
    return berekeningenBewaren(m_state, m_context.dictionary, m_context.messages, m_context.clock,
                               *naam, m_busy.get());
}

presentation::ReportInput BerekenenPresenter::reportInput() {
    takeBuffer();
    presentation::ReportInput input;
    input.variant = presentation::ReportVariant::Berekenen;
    input.moment = m_context.clock.now();
    input.facts = presentation::calculationWindowFacts(
        m_context.dictionary, m_state.saveResult, m_state.eigenRuwheid != 0, m_state.locRuwheid,
        m_state.runtime, m_state.locVersienrregel, input.moment);
    input.bedNaam = m_state.bedNaam;
    input.bedMeteo = m_state.bedMeteo;
    input.gridq = m_state.gridq;
    return input;
}

void BerekenenPresenter::toWord() {
    m_view.showReport(reportInput());
}

QVariant BerekenenPresenter::value(int row, int column) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    return gridqValue(m_state.gridq[static_cast<std::size_t>(row)], column);
}

ui::CellColors BerekenenPresenter::colors(int row, int column) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    return gridqColors(m_state.gridq[static_cast<std::size_t>(row)], column);
}

ui::Columns BerekenenPresenter::columns() {
    return gridqColumns(39, 1);
}

}  // namespace calculation
