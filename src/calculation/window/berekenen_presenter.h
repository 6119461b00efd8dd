#pragma once
// The Calculation window (BEREKENEN, "SV06") without its widgets: the company list, the point
// list of GRIDQ, the roughness mode, "&Start berekenen", "&Berekeningen bewaren", "Bekijk in
// &Word" and which buttons are available when. The widget copies its controls into state(),
// calls the handlers and shows state() again; the chart, the name dialog and the report come in
// through BerekenenView.
//
// The record buffers are the thread's (one store::Dictionary shared by all working windows): the
// window opens on whatever company the BEDRIJVEN buffer holds, and choosing a company puts it
// there for the windows that follow.

#include "calculation/berekenen.h"
#include "calculation/roughness_grid.h"
#include "platform/ui/core/busy_cursor.h"
#include "platform/ui/core/columns.h"
#include "presentation/report.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace store {
class Dictionary;
}

namespace calculation {

// What the presenter needs of the window around it.
class BerekenenView {
public:
    virtual ~BerekenenView() = default;
    // DRAWBUBBLE of GRIDQ, with the company name as footnote.
    virtual void drawBubble(const Gridq& gridq, const QString& bedNaam) = 0;
    // The name dialog (SAVERESULTS, "SV07"): the confirmed name, or nothing when cancelled.
    virtual std::optional<QString> askResultNaam() = 0;
    // Builds and opens the report of `input` (the chart's picture is the window's business).
    virtual void showReport(const presentation::ReportInput& input) = 0;
};

struct BerekenenContext {
    store::Dictionary& dictionary;
    platform::MessageSink& messages;
    ui::BusyCursor& busy;
    const platform::Clock& clock;
    CalculationPaths paths;
    // The model's entry point; empty when no model library could be loaded.
    std::function<int32_t(int32_t*)> ping;
    // Said instead of running the model when `ping` is empty; empty: the calculation's own text.
    QString modelMissingText;
};

// One entry of the company drop-down: what choosing it puts into the BEDRIJVEN buffer.
struct CompanyEntry {
    int32_t id = 0;            // BED:ID
    QString naam;              // BED:NAAM
    QString meteo;             // BED:METEO
    int32_t aanmaakdatum = 0;  // BED:AANMAAKDATUM
};

// Puts a company entry into the BEDRIJVEN record buffer.
void putInBuffer(store::Dictionary& dictionary, const CompanyEntry& entry);

// Point-list columns of a result grid: "Nr.", "ID", "X-Coord.", "Y-Coord.", "Type", "Geur norm",
// "Geur belasting", the two loads with `decimals` decimals and blank when zero.
[[nodiscard]] ui::Columns gridqColumns(int normWidth, int decimals);
// The value of a point-list cell.
[[nodiscard]] QVariant gridqValue(const GridqRow& row, int column);
// Colours of a point-list cell: the load in the row's colours, the rest in the list's default.
// `highlighted`: the colours of a highlighted row.
[[nodiscard]] ui::CellColors gridqColors(const GridqRow& row, int column, bool highlighted = false);
inline constexpr int kLoadColumn = 6;

class BerekenenPresenter {
public:
    static inline const QString kCaption = QStringLiteral("Berekenen");
    static inline const QString kBerekendeRuwheid = QStringLiteral("Berekende ruwheid:");
    static inline const QString kEigenRuwheid = QStringLiteral("Eigen ruwheid:");

    // Opens BEDRIJVEN with its related files and the roughness grid and reads the company list
    // (in the store's order without key). May throw platform::FatalError when a file cannot be
    // opened; nothing is then left open.
    BerekenenPresenter(const BerekenenContext& context, BerekenenView& view);
    // Closes what the constructor opened.
    ~BerekenenPresenter();
    BerekenenPresenter(const BerekenenPresenter&) = delete;
    BerekenenPresenter& operator=(const BerekenenPresenter&) = delete;

    [[nodiscard]] BerekenenState& state() { return m_state; }
    [[nodiscard]] const BerekenenState& state() const { return m_state; }

    // ---- company drop-down -------------------------------------------------------------
    [[nodiscard]] const std::vector<CompanyEntry>& companies() const { return m_companies; }
    // BED:NAAM as the BEDRIJVEN buffer holds it now (the drop-down's text when it opens).
    [[nodiscard]] QString bufferNaam() const;
    // An entry chosen (also the one already loaded): into the buffer, then GETBEDRIJF.
    void chooseCompany(int index);

    // ---- roughness mode ----------------------------------------------------------------
    // "Eigen Ruwheid" clicked; LOC:RUWHEID is not changed.
    void setEigenRuwheid(bool checked);
    [[nodiscard]] bool ruwheidEnabled() const { return m_state.eigenRuwheid != 0; }
    [[nodiscard]] QString ruwheidPrompt() const;

    // ---- buttons -----------------------------------------------------------------------
    // "&Start berekenen", after the controls were copied into state().
    StartResult start();
    // "&Berekeningen bewaren": the name dialog, then the record and, with the busy cursor, the
    // frozen copy. Returns SAVERESULT (0 when cancelled or not stored).
    int32_t save();
    // "Bekijk in &Word": the report of the calculation saved last here, or of the one not yet
    // saved.
    void toWord();
    // The report's input as toWord() hands it to the view.
    [[nodiscard]] presentation::ReportInput reportInput();

    // ---- point list --------------------------------------------------------------------
    [[nodiscard]] int rowCount() const { return static_cast<int>(m_state.gridq.size()); }
    [[nodiscard]] QVariant value(int row, int column) const;
    [[nodiscard]] ui::CellColors colors(int row, int column) const;
    [[nodiscard]] static ui::Columns columns();

private:
    class Busy;
    // The company of the BEDRIJVEN buffer as the input files, the save and the report see it.
    void takeBuffer();
    void drawBubble();

    BerekenenContext m_context;
    BerekenenView& m_view;
    BerekenenState m_state;
    std::vector<CompanyEntry> m_companies;
    std::unique_ptr<RoughnessGrid> m_grid;
    std::unique_ptr<Busy> m_busy;
    bool m_opened = false;
};

}  // namespace calculation
