#pragma once
// The definitions browser (DEFINITIES) without its window: the companies (BRW1), the sensitive
// locations (BRW8) and the emission points (BRW2) of the selected company, their header sorts,
// and the add, change, delete and copy commands that call the forms and the copy dialog.
//
// Every list is read from its file in key order (the child lists only the selected company's
// rows, BRO:By_Fk and GGL:By_Fk) and then ordered by its header sort, stably, so rows that
// compare equal keep their key order. The company list's header sort is read from the settings
// file ("Definities", "SortHeader_12") when the browser opens and written when it closes; the
// child lists start in key order every time.
//
// The browser writes nothing itself: it primes new records (the identifier is reserved then),
// reads the selected row into its file's buffer, and leaves the rest to the forms
// (forms.h) and the copy (copy_bedrijf.h), which the view shows modally.

#include "definitions/copy_bedrijf.h"
#include "definitions/forms.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/settings_file.h"
#include "platform/ui/core/busy_cursor.h"
#include "platform/ui/core/columns.h"
#include "platform/ui/core/sort_header.h"
#include "store/dictionary.h"

#include <QString>
#include <QVariant>
#include <array>
#include <vector>

namespace definitions {

enum class BrowseList { Bedrijven = 0, Geurgevloc = 1, Bronnen = 2 };

// What the browser needs from the program.
struct DefinitionsContext {
    store::Dictionary& dictionary;
    platform::MessageSink& messages;
    ui::BusyCursor& busy;
    platform::SettingsFile& settings;
    const platform::Clock& clock;
    FormHistory& history;
};

// The window of the browser: shows the forms and the copy dialog modally (returning when they
// close) and redraws a list when its rows or its selection changed.
class DefinitiesView {
public:
    virtual ~DefinitiesView() = default;
    virtual void showForm(UpdateBedrijvenPresenter& form) = 0;
    virtual void showForm(UpdateBronnenPresenter& form) = 0;
    virtual void showForm(UpdateGeurGevLocPresenter& form) = 0;
    virtual void showCopy(CopyBedrijfPresenter& copy) = 0;
    virtual void listChanged(BrowseList list) = 0;
};

// The columns of each list: headers, row field names, widths (dialog units), pictures.
[[nodiscard]] const ui::Columns& columnsOf(BrowseList list);

// Shown when an emission point or sensitive location is to be added while no company is there
// to own it.
inline const QString kNoCompanyText =
    QStringLiteral("Er is geen bedrijf gekozen. Voeg eerst een bedrijf toe.");

class DefinitiesPresenter {
public:
    static inline const QString kCaption =
        QStringLiteral("Definieren van bedrijven, bronnen en  geurgevoelige locaties");

    // Opens BEDRIJVEN with every related file (may throw platform::FatalError after a fatal
    // message), reads the stored header sort and fills the lists; the first company is selected.
    DefinitiesPresenter(const DefinitionsContext& context, DefinitiesView& view);
    ~DefinitiesPresenter();
    DefinitiesPresenter(const DefinitiesPresenter&) = delete;
    DefinitiesPresenter& operator=(const DefinitiesPresenter&) = delete;

    [[nodiscard]] int rowCount(BrowseList list) const;
    // The value of a cell (text, int or double), as the list's picture shows it.
    [[nodiscard]] QVariant value(BrowseList list, int row, int column) const;
    // The record identifier of a row, 0 outside the list.
    [[nodiscard]] int32_t idOf(BrowseList list, int row) const;
    [[nodiscard]] int selectedRow(BrowseList list) const;
    // The user selected a row; a new company refills the child lists.
    void select(BrowseList list, int row);

    [[nodiscard]] ui::SortHeaderState& sortState(BrowseList list);
    // The header sort of a list changed (the header clicked): the list is read in its new order
    // and keeps its selected row.
    void sortChanged(BrowseList list);
    // A header click as the header passes it on: click, then sortChanged.
    void sortClick(BrowseList list, int column, ui::SortClick kind);

    // Change and delete need a row; adding is always offered.
    [[nodiscard]] bool canChange(BrowseList list) const { return rowCount(list) > 0; }
    // The copy needs a company to copy.
    [[nodiscard]] bool canCopy() const { return rowCount(BrowseList::Bedrijven) > 0; }

    void add(BrowseList list);
    void change(BrowseList list);
    void remove(BrowseList list);
    void copy();

    // Writes the company list's header sort and closes the files. Done by the destructor when
    // not called before.
    void close();

private:
    struct Rows {
        std::vector<int32_t> ids;  // in display order
        std::vector<std::vector<QVariant>> cells;
        int32_t selected = 0;  // identifier of the selected row, 0 none
    };

    [[nodiscard]] Rows& rows(BrowseList list) { return m_rows[static_cast<std::size_t>(list)]; }
    [[nodiscard]] const Rows& rows(BrowseList list) const {
        return m_rows[static_cast<std::size_t>(list)];
    }
    void read(BrowseList list);
    void order(BrowseList list);
    // Reads the company list again and selects `id` (or, when it is gone, the row at `fallback`),
    // then the child lists when the company changed.
    void rereadCompanies(int32_t id, int fallbackRow);
    void rereadChild(BrowseList list, int32_t id, int fallbackRow);
    void companyMoved();
    // Reads the selected row of a list into its file's buffer; false when it is gone.
    bool loadSelected(BrowseList list);
    [[nodiscard]] int32_t companyId() const { return rows(BrowseList::Bedrijven).selected; }
    Response callForm(BrowseList list, Request request);

    DefinitionsContext m_context;
    DefinitiesView& m_view;
    std::array<ui::SortHeaderState, 3> m_sort;
    std::array<Rows, 3> m_rows;
    int32_t m_childrenOf = -1;  // the company whose children the child lists hold
    bool m_open = false;
};

}  // namespace definitions
