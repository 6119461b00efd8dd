#include "definities.h"

#include "shell/window_placement.h"
#include "store/calendar.h"

#include <algorithm>
#include <numeric>

namespace definitions {

namespace {

using ui::Align;

const ui::Columns& bedrijvenColumns() {
    static const ui::Columns columns{
        {QStringLiteral("Naam"), QStringLiteral("BED:NAAM"), 170, Align::Left, u"@s254"},
        {QStringLiteral("Meteo"), QStringLiteral("BED:METEO"), 60, Align::Left, u"@s19"},
        {QStringLiteral("Aanmaak datum"), QStringLiteral("BED:AANMAAKDATUM"), 57, Align::Left,
         u"yyyymmdd"},
    };
    return columns;
}

const ui::Columns& geurgevlocColumns() {
    static const ui::Columns columns{
        {QStringLiteral("GGL ID"), QStringLiteral("GGL:USER_ID"), 80, Align::Left, u"@s20"},
        {QStringLiteral("X coordinaat"), QStringLiteral("GGL:X_COOR"), 56, Align::Right, u"@N9_"},
        {QStringLiteral("Y coordinaat"), QStringLiteral("GGL:Y_COOR"), 56, Align::Right, u"@N9_"},
        {QStringLiteral("Geur norm"), QStringLiteral("GGL:GEURNORM"), 0, Align::Left, u"@N10_`1"},
    };
    return columns;
}

const ui::Columns& bronnenColumns() {
    static const ui::Columns columns{
        {QStringLiteral("Bron ID"), QStringLiteral("BRO:USER_ID"), 90, Align::Left, u"@s20"},
        {QStringLiteral("X coordinaat"), QStringLiteral("BRO:X_COORD"), 55, Align::Right, u"@N9_"},
        {QStringLiteral("Y coordinaat"), QStringLiteral("BRO:Y_COORD"), 55, Align::Right, u"@N9_"},
        {QStringLiteral("EP hoogte"), QStringLiteral("BRO:ST_HOOGTE"), 78, Align::Decimal,
         u"@N10_`1"},
        {QStringLiteral("Gem. gebouwhoogte"), QStringLiteral("BRO:GEMGEBHOOGTE"), 78,
         Align::Decimal, u"@N10_`1"},
        {QStringLiteral("EP diameter"), QStringLiteral("BRO:ST_BINNENDIAM"), 82, Align::Decimal,
         u"@N11_`2"},
        {QStringLiteral("EP uittreesnelheid"), QStringLiteral("BRO:ST_UITTREE"), 70, Align::Decimal,
         u"@N9_`2"},
        {QStringLiteral("E aanvraag"), QStringLiteral("BRO:E_VERGUND"), 0, Align::Left, u"@N11_"},
    };
    return columns;
}

std::vector<QVariant> bedrijvenCells(const store::BedrijvenRecord& r) {
    return {QVariant(store::text(r.naam)), QVariant(store::text(r.meteo)),
            QVariant(static_cast<int>(r.aanmaakdatum))};
}

std::vector<QVariant> geurgevlocCells(const store::GeurgevlocRecord& r) {
    const double geurnorm = r.geurnorm;
    return {QVariant(store::text(r.userId)), QVariant(static_cast<int>(r.xCoor)),
            QVariant(static_cast<int>(r.yCoor)), QVariant(geurnorm)};
}

std::vector<QVariant> bronnenCells(const store::BronnenRecord& r) {
    const double stHoogte = r.stHoogte;
    const double gemgebhoogte = r.gemgebhoogte;
    const double stBinnendiam = r.stBinnendiam;
    const double stUittree = r.stUittree;
    const double eVergund = r.eVergund;
    return {QVariant(store::text(r.userId)),
            QVariant(static_cast<int>(r.xCoord)),
            QVariant(static_cast<int>(r.yCoord)),
            QVariant(stHoogte),
            QVariant(gemgebhoogte),
            QVariant(stBinnendiam),
            QVariant(stUittree),
            QVariant(eVergund)};
}

int rowOf(const std::vector<int32_t>& ids, int32_t id) {
    if (id == 0) {
        return -1;
    }
    const auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
}

}  // namespace

const ui::Columns& columnsOf(BrowseList list) {
    switch (list) {
        case BrowseList::Geurgevloc:
            return geurgevlocColumns();
        case BrowseList::Bronnen:
            return bronnenColumns();
        case BrowseList::Bedrijven:
            break;
    }
    return bedrijvenColumns();
}

DefinitiesPresenter::DefinitiesPresenter(const DefinitionsContext& context, DefinitiesView& view)
    : m_context(context),
      m_view(view),
      m_sort{ui::SortHeaderState(ui::fieldNames(bedrijvenColumns())),
             ui::SortHeaderState(ui::fieldNames(geurgevlocColumns())),
             ui::SortHeaderState(ui::fieldNames(bronnenColumns()))} {
    m_context.dictionary.bedrijvenRelations().open();
    m_open = true;
    m_context.dictionary.setBusyIndicator([&busy = m_context.busy](bool on) {
        if (on) {
            busy.begin();
        } else {
            busy.end();
        }
    });
    // The company list takes the header sort it had when the browser was last closed; a stale
    // entry (a column that is no longer there) is skipped.
    (void)m_sort[0].fromText(shell::readSortHeader(m_context.settings));
    read(BrowseList::Bedrijven);
    auto& companies = rows(BrowseList::Bedrijven);
    companies.selected = companies.ids.empty() ? 0 : companies.ids.front();
    companyMoved();
}

DefinitiesPresenter::~DefinitiesPresenter() {
    close();
}

void DefinitiesPresenter::close() {
    if (!m_open) {
        return;
    }
    m_open = false;
    (void)shell::writeSortHeader(m_context.settings, m_sort[0].toText());
    m_context.dictionary.setBusyIndicator({});
    m_context.dictionary.bedrijvenRelations().close();
}

// ---- the rows ---------------------------------------------------------------------------------

int DefinitiesPresenter::rowCount(BrowseList list) const {
    return static_cast<int>(rows(list).ids.size());
}

QVariant DefinitiesPresenter::value(BrowseList list, int row, int column) const {
    const Rows& r = rows(list);
    if (row < 0 || row >= static_cast<int>(r.cells.size())) {
        return {};
    }
    const auto& cells = r.cells[static_cast<std::size_t>(row)];
    if (column < 0 || column >= static_cast<int>(cells.size())) {
        return {};
    }
    return cells[static_cast<std::size_t>(column)];
}

int32_t DefinitiesPresenter::idOf(BrowseList list, int row) const {
    const Rows& r = rows(list);
    if (row < 0 || row >= static_cast<int>(r.ids.size())) {
        return 0;
    }
    return r.ids[static_cast<std::size_t>(row)];
}

int DefinitiesPresenter::selectedRow(BrowseList list) const {
    return rowOf(rows(list).ids, rows(list).selected);
}

void DefinitiesPresenter::select(BrowseList list, int row) {
    const int32_t id = idOf(list, row);
    if (id == 0 || id == rows(list).selected) {
        return;
    }
    rows(list).selected = id;
    if (list == BrowseList::Bedrijven) {
        companyMoved();
    }
}

void DefinitiesPresenter::read(BrowseList list) {
    Rows& r = rows(list);
    r.ids.clear();
    r.cells.clear();
    auto& dict = m_context.dictionary;
    switch (list) {
        case BrowseList::Bedrijven: {
            auto& bed = dict.bedrijven();
            bed.set(store::Key::BED_By_Id);
            while (bed.next() == store::Status::Ok) {
                r.ids.push_back(bed.record().id);
                r.cells.push_back(bedrijvenCells(bed.record()));
            }
            break;
        }
        case BrowseList::Geurgevloc: {
            const int32_t company = companyId();
            if (company == 0) {
                break;
            }
            auto& ggl = dict.geurgevloc();
            ggl.set(store::Key::GGL_By_Fk, store::KeyValue(company));
            while (ggl.next() == store::Status::Ok && ggl.record().fkBedrijf == company) {
                r.ids.push_back(ggl.record().id);
                r.cells.push_back(geurgevlocCells(ggl.record()));
            }
            break;
        }
        case BrowseList::Bronnen: {
            const int32_t company = companyId();
            if (company == 0) {
                break;
            }
            auto& bro = dict.bronnen();
            bro.set(store::Key::BRO_By_Fk, store::KeyValue(company));
            while (bro.next() == store::Status::Ok && bro.record().fkBedrijf == company) {
                r.ids.push_back(bro.record().id);
                r.cells.push_back(bronnenCells(bro.record()));
            }
            break;
        }
    }
    order(list);
}

void DefinitiesPresenter::order(BrowseList list) {
    const ui::SortHeaderState& sort = m_sort[static_cast<std::size_t>(list)];
    Rows& r = rows(list);
    if (!sort.sorted()) {
        return;  // key order, as read
    }
    std::vector<std::size_t> index(r.ids.size());
    std::iota(index.begin(), index.end(), std::size_t{0});
    std::stable_sort(index.begin(), index.end(), [&](std::size_t a, std::size_t b) {
        for (const ui::SortLevel& level : sort.levels()) {
            const auto column = static_cast<std::size_t>(level.column);
            int c = ui::compareCells(r.cells[a][column], r.cells[b][column]);
            if (level.descending) {
                c = -c;
            }
            if (c != 0) {
                return c < 0;
            }
        }
        return false;
    });
    Rows sorted;
    sorted.selected = r.selected;
    for (const std::size_t i : index) {
        sorted.ids.push_back(r.ids[i]);
        sorted.cells.push_back(std::move(r.cells[i]));
    }
    r = std::move(sorted);
}

ui::SortHeaderState& DefinitiesPresenter::sortState(BrowseList list) {
    return m_sort[static_cast<std::size_t>(list)];
}

void DefinitiesPresenter::sortChanged(BrowseList list) {
    // Back to key order first, so that removing the sort gives the order of the file again.
    if (list == BrowseList::Bedrijven) {
        rereadCompanies(companyId(), 0);
    } else {
        rereadChild(list, rows(list).selected, 0);
    }
}

void DefinitiesPresenter::sortClick(BrowseList list, int column, ui::SortClick kind) {
    sortState(list).click(column, kind);
    sortChanged(list);
}

void DefinitiesPresenter::rereadCompanies(int32_t id, int fallbackRow) {
    read(BrowseList::Bedrijven);
    Rows& r = rows(BrowseList::Bedrijven);
    if (rowOf(r.ids, id) < 0) {
        const int n = static_cast<int>(r.ids.size());
        r.selected =
            n == 0 ? 0 : r.ids[static_cast<std::size_t>(std::clamp(fallbackRow, 0, n - 1))];
    } else {
        r.selected = id;
    }
    m_view.listChanged(BrowseList::Bedrijven);
    companyMoved();
}

void DefinitiesPresenter::rereadChild(BrowseList list, int32_t id, int fallbackRow) {
    read(list);
    Rows& r = rows(list);
    if (rowOf(r.ids, id) < 0) {
        const int n = static_cast<int>(r.ids.size());
        r.selected =
            n == 0 ? 0 : r.ids[static_cast<std::size_t>(std::clamp(fallbackRow, 0, n - 1))];
    } else {
        r.selected = id;
    }
    m_view.listChanged(list);
}

void DefinitiesPresenter::companyMoved() {
    const int32_t company = companyId();
    auto& bed = m_context.dictionary.bedrijven();
    if (company != 0 && bed.record().id != company) {
        // The selected company is the current BED record (the copy starts from it).
        (void)bed.fetch(store::Key::BED_By_Id, store::KeyValue(company));
    }
    if (company == m_childrenOf) {
        return;
    }
    m_childrenOf = company;
    for (const BrowseList child : {BrowseList::Geurgevloc, BrowseList::Bronnen}) {
        rereadChild(child, 0, 0);
    }
}

bool DefinitiesPresenter::loadSelected(BrowseList list) {
    const int32_t id = rows(list).selected;
    if (id == 0) {
        return false;
    }
    auto& dict = m_context.dictionary;
    store::Status status = store::Status::NotFound;
    switch (list) {
        case BrowseList::Bedrijven:
            status = dict.bedrijven().fetch(store::Key::BED_By_Id, store::KeyValue(id));
            break;
        case BrowseList::Geurgevloc:
            status = dict.geurgevloc().fetch(store::Key::GGL_By_Id, store::KeyValue(id));
            break;
        case BrowseList::Bronnen:
            status = dict.bronnen().fetch(store::Key::BRO_By_ID, store::KeyValue(id));
            break;
    }
    if (status == store::Status::Ok) {
        return true;
    }
    // Gone meanwhile (another station deleted it): show the list as it is now.
    if (list == BrowseList::Bedrijven) {
        m_childrenOf = -1;
        rereadCompanies(0, selectedRow(list));
    } else {
        rereadChild(list, 0, selectedRow(list));
    }
    return false;
}

// ---- commands ---------------------------------------------------------------------------------

Response DefinitiesPresenter::callForm(BrowseList list, Request request) {
    const DefinitionsContext& c = m_context;
    switch (list) {
        case BrowseList::Bedrijven: {
            UpdateBedrijvenPresenter form(c.dictionary, c.messages, c.history, c.clock, request);
            if (request == Request::Delete) {
                return form.remove();
            }
            m_view.showForm(form);
            form.abandon();  // no effect when the form has answered
            return form.response();
        }
        case BrowseList::Geurgevloc: {
            UpdateGeurGevLocPresenter form(c.dictionary, c.messages, c.history, request);
            if (request == Request::Delete) {
                return form.remove();
            }
            m_view.showForm(form);
            form.abandon();
            return form.response();
        }
        case BrowseList::Bronnen: {
            UpdateBronnenPresenter form(c.dictionary, c.messages, c.history, request);
            if (request == Request::Delete) {
                return form.remove();
            }
            m_view.showForm(form);
            form.abandon();
            return form.response();
        }
    }
    return Response::Cancelled;
}

void DefinitiesPresenter::add(BrowseList list) {
    auto& dict = m_context.dictionary;
    const int32_t company = companyId();
    if (list != BrowseList::Bedrijven && company == 0) {
        // A point or location of no company would be stored where no list shows it.
        m_context.messages.show(platform::Message{QString(), kNoCompanyText,
                                                  platform::Icon::Information, platform::Ok,
                                                  platform::Ok, false});
        return;
    }
    int32_t id = 0;
    switch (list) {
        case BrowseList::Bedrijven: {
            auto& bed = dict.bedrijven();
            if (bed.prime() != store::Status::Ok) {
                rereadCompanies(company, 0);
                return;
            }
            store::setText(bed.record().meteo, QStringLiteral("Schiphol"));
            bed.record().aanmaakdatum = store::today(m_context.clock);
            id = bed.record().id;
            break;
        }
        case BrowseList::Geurgevloc: {
            auto& ggl = dict.geurgevloc();
            if (ggl.prime() != store::Status::Ok) {
                rereadChild(list, rows(list).selected, 0);
                return;
            }
            ggl.record().fkBedrijf = company;
            ggl.record().yCoor = 540000;
            id = ggl.record().id;
            break;
        }
        case BrowseList::Bronnen: {
            auto& bro = dict.bronnen();
            if (bro.prime() != store::Status::Ok) {
                rereadChild(list, rows(list).selected, 0);
                return;
            }
            bro.record().fkBedrijf = company;
            bro.record().yCoord = 490000;
            id = bro.record().id;
            break;
        }
    }
    const Response response = callForm(list, Request::Insert);
    const int32_t select = response == Response::Completed ? id : rows(list).selected;
    if (list == BrowseList::Bedrijven) {
        rereadCompanies(select, selectedRow(list));
    } else {
        rereadChild(list, select, selectedRow(list));
    }
}

void DefinitiesPresenter::change(BrowseList list) {
    if (!loadSelected(list)) {
        return;
    }
    (void)callForm(list, Request::Change);
    if (list == BrowseList::Bedrijven) {
        rereadCompanies(companyId(), selectedRow(list));
    } else {
        rereadChild(list, rows(list).selected, selectedRow(list));
    }
}

void DefinitiesPresenter::remove(BrowseList list) {
    const int row = selectedRow(list);
    if (!loadSelected(list)) {
        return;
    }
    const Response response = callForm(list, Request::Delete);
    const int32_t keep = response == Response::Completed ? 0 : rows(list).selected;
    if (list == BrowseList::Bedrijven) {
        rereadCompanies(keep, row);
    } else {
        rereadChild(list, keep, row);
    }
}

void DefinitiesPresenter::copy() {
    const int32_t source = companyId();
    if (!loadSelected(BrowseList::Bedrijven)) {
        return;
    }
    {
        CopyBedrijfPresenter dialog(m_context.dictionary, m_context.messages, m_context.busy,
                                    m_context.clock);
        m_view.showCopy(dialog);
    }
    // The source stays the selected company; the copy is listed at its place in the order.
    m_childrenOf = -1;
    rereadCompanies(source, selectedRow(BrowseList::Bedrijven));
}

}  // namespace definitions
