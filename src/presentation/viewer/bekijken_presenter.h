#pragma once
// The Saved-calculation viewer (BEKIJKEN, "SV08") without its widgets: the company drop-down in
// creation-date order, the list of the chosen company's saved calculations, the frozen points of
// the highlighted one in the viewer's own GRIDQ (GETDATAFORQ) with its roughness, deleting a
// saved calculation with its frozen rows, and the viewer's report. Nothing here changes a saved
// calculation or runs the model.
//
// The record buffers are the thread's: the viewer opens on the company the BEDRIJVEN buffer
// holds, and highlighting a calculation puts it into the BEREKENINGEN buffer.

#include "calculation/gridq.h"
#include "calculation/window/berekenen_presenter.h"
#include "platform/ui/core/busy_cursor.h"
#include "platform/ui/core/columns.h"
#include "presentation/report.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace store {
class Dictionary;
}

namespace presentation {

class BekijkenView {
public:
    virtual ~BekijkenView() = default;
    // DRAWBUBBLE of the viewer's GRIDQ.
    virtual void drawBubble(const calculation::Gridq& gridq, const QString& bedNaam) = 0;
    // Builds and opens the report of `input`.
    virtual void showReport(const ReportInput& input) = 0;
};

struct BekijkenContext {
    store::Dictionary& dictionary;
    platform::MessageSink& messages;
    ui::BusyCursor& busy;
    const platform::Clock& clock;
};

// One entry of the list of saved calculations, with what it carries unseen.
struct SavedEntry {
    int32_t id = 0;  // BER:ID
    int32_t fk = 0;  // BER:FK
    QString naam;    // BER:NAAM
    int32_t berDatum = 0;
    int32_t berTijd = 0;
    bool eigenRuwheid = false;
    double ruwheid = 0;
    int32_t rekentijd = 0;
};

class BekijkenPresenter {
public:
    static inline const QString kCaption = QStringLiteral("Bekijken van gemaakte berekeningen");

    // Opens BEDRIJVEN with its related files, reads the company list (oldest company first) and
    // the calculations of the company in the buffer, and loads the first of them. May throw
    // platform::FatalError when a file cannot be opened; nothing is then left open.
    BekijkenPresenter(const BekijkenContext& context, BekijkenView& view);
    ~BekijkenPresenter();
    BekijkenPresenter(const BekijkenPresenter&) = delete;
    BekijkenPresenter& operator=(const BekijkenPresenter&) = delete;

    // ---- company drop-down -------------------------------------------------------------
    [[nodiscard]] const std::vector<calculation::CompanyEntry>& companies() const {
        return m_companies;
    }
    [[nodiscard]] QString bufferNaam() const;
    // An entry chosen: into the buffer, GRIDQ emptied, the company's calculations listed and the
    // first of them loaded.
    void chooseCompany(int index);

    // ---- saved calculations ------------------------------------------------------------
    [[nodiscard]] const std::vector<SavedEntry>& calculations() const { return m_saved; }
    // The highlighted entry, -1 while the list is empty.
    [[nodiscard]] int current() const { return m_current; }
    // An entry highlighted: into the BEREKENINGEN buffer, then GETDATAFORQ and the chart.
    void highlight(int row);
    // "&Verwijderen": after "Confirm Delete" the highlighted calculation goes with its frozen
    // rows; the neighbouring entry is highlighted and loaded. True when it was deleted.
    bool remove();
    // "&Verwijderen" is available while the list is not empty.
    [[nodiscard]] bool deleteEnabled() const { return !m_saved.empty(); }

    // ---- the loaded calculation --------------------------------------------------------
    [[nodiscard]] const calculation::Gridq& gridq() const { return m_gridq; }
    [[nodiscard]] QString ruwheidPrompt() const;
    [[nodiscard]] double locRuwheid() const { return m_locRuwheid; }
    [[nodiscard]] int rowCount() const { return static_cast<int>(m_gridq.size()); }
    [[nodiscard]] QVariant value(int row, int column) const;
    [[nodiscard]] ui::CellColors colors(int row, int column) const;
    [[nodiscard]] static ui::Columns columns();

    // ---- list of calculations ----------------------------------------------------------
    [[nodiscard]] QVariant savedValue(int row, int column) const;
    [[nodiscard]] static ui::Columns savedColumns();

    // "Bekijk in &Word": the report of the highlighted calculation, dated now.
    void toWord();
    [[nodiscard]] ReportInput reportInput() const;

private:
    void readCalculations();
    void drawBubble();

    BekijkenContext m_context;
    BekijkenView& m_view;
    std::vector<calculation::CompanyEntry> m_companies;
    std::vector<SavedEntry> m_saved;
    int m_current = -1;
    calculation::Gridq m_gridq;
    bool m_eigenRuwheid = false;
    double m_locRuwheid = 0;
    bool m_opened = false;
};

}  // namespace presentation
