#pragma once
// The Calculation window (BEREKENEN, "SV06"): the company drop-down "?BED:NAAM", the point list
// "?LIST1", the roughness "?EIGEN_RUWHEID" / "?LOC:RUWHEID" with its label "?RUWHEID:PROMPT",
// the chart check boxes "?SHOWGRID" and "?LOC:EQUALSCALE", the buttons
// "?STARTCALCULATIONSBUTTON", "?SAVECALCBUTTON", "?TOWORDBUTTON" and "?CLOSE", and the bubble
// chart right of the hidden region "?HEADER". Everything it does is the presenter's; this window
// copies its controls into the presenter's state and shows that state.
//
// Also the name dialog of a calculation (SAVERESULTS, "SV07"), which the window opens modally.

#include "calculation/window/berekenen_presenter.h"
#include "shell/ui/program_dialog.h"

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace presentation {
class BubbleChartHost;
class DocumentOpener;
}  // namespace presentation

namespace ui {

class FunctionTableModel;
class NumericSpinBox;
class RecordListView;

// SAVERESULTS' dialog: "Naam voor deze berekening:" with its entry "?RESULTNAAM", "&Bewaren"
// ("?CLOSE") and "&Annuleren" ("?CANCEL"). The entry is empty when it opens.
class SaveResultsDialog : public ProgramDialog {
    Q_OBJECT
public:
    static inline const QString kCaption =
        QStringLiteral("Berekening en bijbehorende instellingen bewaren");
    static inline const QString kToolTip =
        QStringLiteral("Naam waaronder deze berekening opgeslagen wordt");

    explicit SaveResultsDialog(WindowServices& services, QWidget* parent = nullptr);

    // RESULTNAAM as typed.
    [[nodiscard]] QString resultNaam() const;
    // Runs the dialog modally: the name on "&Bewaren", nothing on "&Annuleren" or closing.
    [[nodiscard]] std::optional<QString> ask();

private:
    QLineEdit* m_naam = nullptr;
};

class BerekenenWindow : public ProgramDialog, private calculation::BerekenenView {
    Q_OBJECT
public:
    // May throw platform::FatalError when the record files cannot be opened.
    BerekenenWindow(const calculation::BerekenenContext& context, WindowServices& services,
                    presentation::DocumentOpener& opener, QWidget* parent = nullptr);
    ~BerekenenWindow() override;

    [[nodiscard]] calculation::BerekenenPresenter& presenter() { return *m_presenter; }
    [[nodiscard]] presentation::BubbleChartHost& chart() { return *m_chart; }
    // The report written last, empty before the first.
    [[nodiscard]] const QString& lastReport() const { return m_lastReport; }

private:
    // BerekenenView
    void drawBubble(const calculation::Gridq& gridq, const QString& bedNaam) override;
    std::optional<QString> askResultNaam() override;
    void showReport(const presentation::ReportInput& input) override;

    // The controls' values into the presenter's state.
    void takeControls();
    // The state onto the controls.
    void showState();
    void applyRuwheidMode();

    calculation::BerekenenContext m_context;
    presentation::DocumentOpener& m_opener;
    QComboBox* m_company = nullptr;
    QCheckBox* m_showGrid = nullptr;
    QCheckBox* m_eigenRuwheid = nullptr;
    QCheckBox* m_equalScale = nullptr;
    NumericSpinBox* m_ruwheid = nullptr;
    QLabel* m_ruwheidPrompt = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_toWord = nullptr;
    FunctionTableModel* m_model = nullptr;
    RecordListView* m_list = nullptr;
    presentation::BubbleChartHost* m_chart = nullptr;
    QString m_lastReport;
    std::unique_ptr<calculation::BerekenenPresenter> m_presenter;
};

// Opens the Calculation window modally and returns when the user has closed it; a fatal error of
// the record files ends the program after its message.
void runBerekenen(const calculation::BerekenenContext& context, WindowServices& services,
                  presentation::DocumentOpener& opener);

}  // namespace ui
