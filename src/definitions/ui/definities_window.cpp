#include "definities_window.h"

#include "definitions/ui/form_windows.h"
#include "platform/ui/column_model.h"
#include "platform/ui/record_list.h"

#include <QCoreApplication>
#include <QPushButton>

namespace ui {

using definitions::BrowseList;

DefinitiesWindow::DefinitiesWindow(const definitions::DefinitionsContext& context,
                                   WindowServices& services, QWidget* parent)
    : ProgramDialog(shell::windows::kDefinities, services, false, parent), m_context(context) {
    setWindowTitle(definitions::DefinitiesPresenter::kCaption);
    form().statusLine();
    form().windowSize(609, 393, false);

    form().text(u"?CAPTION:BRW1", u"Bedrijven:", {5, 3, 58, 12}, true);
    buildList(BrowseList::Bedrijven, u"?BRW1", {6, 17, 308, 159}, u"Browsing the Bedrijven file");
    auto& bed = controls(BrowseList::Bedrijven);
    bed.insert =
        form().button(u"?INSERT:BRW1", u"&Toevoegen", {6, 182, 49, 14}, u"Bedrijf toevoegen");
    bed.change =
        form().button(u"?CHANGE:BRW1", u"&Wijzigen", {64, 182, 49, 14}, u"Bedrijf wijzigen");
    bed.remove =
        form().button(u"?DELETE:BRW1", u"&Verwijderen", {121, 182, 49, 14}, u"Bedrijf verwijderen");
    m_copy = form().button(u"?COPY", u"&Kopiëren", {180, 182, 49, 14},
                           u"Kopieer bedrijf met bijbehorende GGL's en bronnen.");

    form().text(u"?CAPTION:BRW8", u"Bijbehorende geurgevoelige locaties:", {332, 3, 195, 12}, true);
    buildList(BrowseList::Geurgevloc, u"?BRW8", {333, 17, 265, 158}, u"Browsing Records");
    auto& ggl = controls(BrowseList::Geurgevloc);
    ggl.insert = form().button(u"?INSERT:BRW8", u"T&oevoegen", {332, 182, 49, 14});
    ggl.change = form().button(u"?CHANGE:BRW8", u"W&ijzigen", {387, 182, 49, 14});
    ggl.remove = form().button(u"?DELETE:BRW8", u"V&erwijderen", {443, 182, 49, 14});

    form().text(u"?CAPTION:BRW2", u"Bijbehorende bronnen:", {7, 209, 127, 12}, true);
    buildList(BrowseList::Bronnen, u"?BRW2", {8, 222, 591, 145}, u"Browsing Records");
    auto& bro = controls(BrowseList::Bronnen);
    bro.insert = form().button(u"?INSERT:BRW2", u"Toevoe&gen", {6, 374, 49, 14});
    bro.change = form().button(u"?CHANGE:BRW2", u"Wij&zigen", {64, 374, 49, 14});
    bro.remove = form().button(u"?DELETE:BRW2", u"Ve&rwijderen", {121, 374, 49, 14});

    QPushButton* close =
        form().button(u"?CLOSE", u"&Afsluiten", {551, 374, 49, 14}, u"Venster sluiten");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_copy, &QPushButton::clicked, this, [this] { m_presenter->copy(); });

    definitions::DefinitiesView& view = *this;
    m_presenter = std::make_unique<definitions::DefinitiesPresenter>(m_context, view);
    for (const BrowseList l :
         {BrowseList::Bedrijven, BrowseList::Geurgevloc, BrowseList::Bronnen}) {
        auto& c = controls(l);
        c.model->setSortState(&m_presenter->sortState(l), false);
        connectList(l);
        listChanged(l);
    }
    controls(BrowseList::Bedrijven).view->setFocus(Qt::OtherFocusReason);
}

DefinitiesWindow::~DefinitiesWindow() {
    // The models ask the presenter for their rows: they go first.
    for (auto& c : m_lists) {
        c.view->setModel(nullptr);
    }
}

RecordListView* DefinitiesWindow::list(BrowseList l) const {
    return m_lists[static_cast<std::size_t>(l)].view;
}

void DefinitiesWindow::buildList(BrowseList l, QStringView useName, Place place,
                                 QStringView statusText) {
    auto& c = controls(l);
    FunctionTableModel::Source source;
    source.count = [this, l] { return m_presenter ? m_presenter->rowCount(l) : 0; };
    source.value = [this, l](int row, int column) {
        return m_presenter ? m_presenter->value(l, row, column) : QVariant();
    };
    c.model = new FunctionTableModel(definitions::columnsOf(l), source, this);
    c.view = form().list(useName, place, c.model, statusText);
}

void DefinitiesWindow::connectList(BrowseList l) {
    auto& c = controls(l);
    connect(c.view, &RecordListView::currentRowChanged, this, [this, l](int row) {
        if (!m_reloading[static_cast<std::size_t>(l)] && row >= 0) {
            m_presenter->select(l, row);
        }
    });
    // The header has changed the sort state; the list is read in its new order once the click
    // is over, so the view's own reselection works on the rows it knows.
    connect(
        c.view, &RecordListView::sortChanged, this, [this, l] { m_presenter->sortChanged(l); },
        Qt::QueuedConnection);
    const auto add = [this, l] { m_presenter->add(l); };
    const auto change = [this, l] {
        if (m_presenter->canChange(l)) {
            m_presenter->change(l);
        }
    };
    const auto remove = [this, l] {
        if (m_presenter->canChange(l)) {
            m_presenter->remove(l);
        }
    };
    connect(c.view, &RecordListView::insertRequested, this, add);
    connect(c.view, &RecordListView::changeRequested, this, change);
    connect(c.view, &RecordListView::deleteRequested, this, remove);
    connect(c.insert, &QPushButton::clicked, this, add);
    connect(c.change, &QPushButton::clicked, this, change);
    connect(c.remove, &QPushButton::clicked, this, remove);
}

void DefinitiesWindow::listChanged(BrowseList l) {
    if (!m_presenter) {
        return;
    }
    auto& c = controls(l);
    auto& reloading = m_reloading[static_cast<std::size_t>(l)];
    reloading = true;
    c.model->reload();
    c.model->sortChanged();  // the header markers
    const int row = m_presenter->selectedRow(l);
    c.view->setCurrentRow(row);
    if (row >= 0) {
        c.view->scrollTo(c.model->index(row, 0));
    }
    reloading = false;
    updateButtons();
}

void DefinitiesWindow::updateButtons() {
    for (const BrowseList l :
         {BrowseList::Bedrijven, BrowseList::Geurgevloc, BrowseList::Bronnen}) {
        auto& c = controls(l);
        const bool rows = m_presenter->canChange(l);
        c.change->setEnabled(rows);
        c.remove->setEnabled(rows);
    }
    m_copy->setEnabled(m_presenter->canCopy());
}

void DefinitiesWindow::done(int result) {
    if (m_presenter) {
        m_presenter->close();
    }
    ProgramDialog::done(result);
}

void DefinitiesWindow::showForm(definitions::UpdateBedrijvenPresenter& f) {
    UpdateBedrijvenWindow w(services(), f, this);
    w.run();
}

void DefinitiesWindow::showForm(definitions::UpdateBronnenPresenter& f) {
    UpdateBronnenWindow w(services(), f, this);
    w.run();
}

void DefinitiesWindow::showForm(definitions::UpdateGeurGevLocPresenter& f) {
    UpdateGeurGevLocWindow w(services(), f, this);
    w.run();
}

void DefinitiesWindow::showCopy(definitions::CopyBedrijfPresenter& copy) {
    CopyBedrijfWindow w(services(), copy, this);
    w.run();
}

void runDefinities(const definitions::DefinitionsContext& context, WindowServices& services) {
    try {
        DefinitiesWindow window(context, services);
        window.run();
    } catch (const platform::FatalError&) {
        // The message has been shown: the program ends.
        QCoreApplication::exit(1);
    }
}

}  // namespace ui
