#pragma once
// The Saved-calculation viewer (BEKIJKEN, "SV08"): the company drop-down "?BED:NAAM", the list of
// saved calculations "?LIST" with "&Verwijderen" ("?DELETE"), the roughness of the highlighted
// calculation ("?RUWHEID:PROMPT", "?LOC:RUWHEID"), its points "?LIST1", the chart check boxes,
// "Bekijk in &Word" ("?TOWORDBUTTON") and "&Afsluiten" ("?CLOSE"), with the bubble chart right of
// the hidden region "?HEADER". Everything it does is the presenter's.

#include "presentation/viewer/bekijken_presenter.h"
#include "shell/ui/program_dialog.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace presentation {
class BubbleChartHost;
class DocumentOpener;
}  // namespace presentation

namespace ui {

class FunctionTableModel;
class NumericEdit;
class RecordListView;

class BekijkenWindow : public ProgramDialog, private presentation::BekijkenView {
    Q_OBJECT
public:
    // `homeDir` and `outputDir`: where the chart's picture and the reports go. May throw
    // platform::FatalError when the record files cannot be opened.
    BekijkenWindow(const presentation::BekijkenContext& context, WindowServices& services,
                   presentation::DocumentOpener& opener, QString outputDir,
                   QWidget* parent = nullptr);
    ~BekijkenWindow() override;

    [[nodiscard]] presentation::BekijkenPresenter& presenter() { return *m_presenter; }
    [[nodiscard]] presentation::BubbleChartHost& chart() { return *m_chart; }
    [[nodiscard]] const QString& lastReport() const { return m_lastReport; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // BekijkenView
    void drawBubble(const calculation::Gridq& gridq, const QString& bedNaam) override;
    void showReport(const presentation::ReportInput& input) override;

    void showState();

    presentation::BekijkenContext m_context;
    presentation::DocumentOpener& m_opener;
    QString m_outputDir;
    QComboBox* m_company = nullptr;
    FunctionTableModel* m_savedModel = nullptr;
    RecordListView* m_saved = nullptr;
    QPushButton* m_delete = nullptr;
    QLabel* m_ruwheidPrompt = nullptr;
    NumericEdit* m_ruwheid = nullptr;
    FunctionTableModel* m_pointModel = nullptr;
    RecordListView* m_points = nullptr;
    QCheckBox* m_equalScale = nullptr;
    QCheckBox* m_showGrid = nullptr;
    presentation::BubbleChartHost* m_chart = nullptr;
    QString m_lastReport;
    bool m_showing = false;
    std::unique_ptr<presentation::BekijkenPresenter> m_presenter;
};

// Opens the viewer modally and returns when the user has closed it; a fatal error of the record
// files ends the program after its message.
void runBekijken(const presentation::BekijkenContext& context, WindowServices& services,
                 presentation::DocumentOpener& opener, const QString& outputDir);

}  // namespace ui
