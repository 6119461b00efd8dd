#include "calculation/window/ui/berekenen_window.h"

#include "calculation/window/ui/gridq_list.h"
#include "platform/ui/column_model.h"
#include "platform/ui/numeric_spin_box.h"
#include "platform/ui/record_list.h"
#include "presentation/ui/bubble_chart_host.h"
#include "store/dictionary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

// ---- SAVERESULTS ---------------------------------------------------------------------------

SaveResultsDialog::SaveResultsDialog(WindowServices& services, QWidget* parent)
    : ProgramDialog(shell::windows::kSaveResults, services, false, parent) {
    setWindowTitle(kCaption);
    form().windowSize(403, 65, false);
    QLabel* prompt =
        form().text(u"?RESULTNAAM:PROMPT", u"Naam voor deze berekening:", {25, 20, 0, 10});
    m_naam = form().entry(u"?RESULTNAAM", {123, 20, 257, 10}, 253);
    m_naam->setToolTip(kToolTip);
    prompt->setBuddy(m_naam);
    QPushButton* bewaren = form().button(u"?CLOSE", u"&Bewaren", {302, 42, 79, 14});
    QPushButton* annuleren = form().button(u"?CANCEL", u"&Annuleren", {208, 42, 79, 14});
    bewaren->setDefault(true);
    connect(bewaren, &QPushButton::clicked, this, &QDialog::accept);
    connect(annuleren, &QPushButton::clicked, this, &QDialog::reject);
    m_naam->setFocus(Qt::OtherFocusReason);
}

QString SaveResultsDialog::resultNaam() const {
    return m_naam->text();
}

std::optional<QString> SaveResultsDialog::ask() {
    if (run() != QDialog::Accepted) {
        return std::nullopt;
    }
    return resultNaam();
}

// ---- BEREKENEN -----------------------------------------------------------------------------

BerekenenWindow::BerekenenWindow(const calculation::BerekenenContext& context,
                                 WindowServices& services, presentation::DocumentOpener& opener,
                                 QWidget* parent)
    : ProgramDialog(shell::windows::kBerekenen, services, true, parent),
      m_context(context),
      m_opener(opener) {
    using calculation::BerekenenPresenter;
    setWindowTitle(BerekenenPresenter::kCaption);
    form().windowSize(665, 330, true);

    m_company = form().dropList(u"?BED:NAAM", {3, 12, 257, 12}, {});
    m_showGrid = form().check(u"?SHOWGRID", u"Grid aan", {217, 265, 0, 0});
    m_eigenRuwheid = form().check(u"?EIGEN_RUWHEID", u"Eigen Ruwheid", {20, 265, 0, 0});
    m_equalScale = form().check(u"?LOC:EQUALSCALE", u"Gelijke schaal", {200, 278, 0, 0});
    m_ruwheid = form().spin(u"?LOC:RUWHEID", u"@N6_`2", 0.1, 1.5, 0.1, {76, 277, 39, 10});
    m_start = form().button(u"?STARTCALCULATIONSBUTTON", u"&Start berekenen", {3, 290, 121, 14});
    m_save = form().button(u"?SAVECALCBUTTON", u"&Berekeningen bewaren", {139, 290, 121, 14});
    m_toWord = form().button(u"?TOWORDBUTTON", u"Bekijk in &Word", {3, 311, 121, 14});
    QPushButton* close = form().button(u"?CLOSE", u"&Afsluiten", {139, 310, 121, 14});
    form().text(u"?STRING1", u"Gekozen bedrijf:", {3, 1, 0, 10}, true);
    // The layout reference of the chart and the word processor's holder take no room.
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("?HEADER"));
    header->hide();
    auto* word = new QWidget(this);
    word->setObjectName(QStringLiteral("?SMWORD"));
    word->hide();
    form().text(u"?STRING2", u"Bijbehorende Bronnen en Geurgevoelige locaties:", {3, 31, 0, 10},
                true);
    const auto grid = [this]() -> const calculation::Gridq* {
        return m_presenter ? &m_presenter->state().gridq : nullptr;
    };
    m_model = gridqModel(BerekenenPresenter::columns(), grid, this);
    m_list = form().list(u"?LIST1", {3, 43, 257, 220}, m_model);
    m_list->setItemDelegate(new GridqListDelegate(grid, m_list));
    m_ruwheidPrompt =
        form().text(u"?RUWHEID:PROMPT", BerekenenPresenter::kBerekendeRuwheid, {8, 277, 66, 10});
    m_ruwheidPrompt->setBuddy(m_ruwheid);

    m_chart =
        new presentation::BubbleChartHost(*this, presentation::kBerekenenHeader, services.messages);
    m_presenter = std::make_unique<BerekenenPresenter>(
        m_context, static_cast<calculation::BerekenenView&>(*this));
    m_chart->createOcx();
    m_chart->bindCheckBoxes(m_showGrid, m_equalScale, [this] {
        takeControls();
        drawBubble(m_presenter->state().gridq, m_presenter->bufferNaam());
    });

    for (const calculation::CompanyEntry& entry : m_presenter->companies()) {
        m_company->addItem(entry.naam);
    }
    // No company is loaded yet: the drop-down shows the name the record buffer holds.
    m_company->setCurrentIndex(-1);
    m_company->setPlaceholderText(m_presenter->bufferNaam());

    connect(m_company, &QComboBox::activated, this, [this](int index) {
        m_presenter->chooseCompany(index);
        showState();
    });
    connect(m_eigenRuwheid, &QCheckBox::clicked, this, [this](bool checked) {
        m_presenter->setEigenRuwheid(checked);
        applyRuwheidMode();
    });
    connect(m_start, &QPushButton::clicked, this, [this] {
        takeControls();
        (void)m_presenter->start();
        showState();
    });
    connect(m_save, &QPushButton::clicked, this, [this] {
        takeControls();
        (void)m_presenter->save();
        showState();
    });
    connect(m_toWord, &QPushButton::clicked, this, [this] {
        takeControls();
        m_presenter->toWord();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    showState();
    m_company->setFocus(Qt::OtherFocusReason);
}

BerekenenWindow::~BerekenenWindow() {
    // The list asks the presenter for its rows: it goes first.
    m_list->setModel(nullptr);
}

void BerekenenWindow::takeControls() {
    calculation::BerekenenState& state = m_presenter->state();
    state.eigenRuwheid = m_eigenRuwheid->isChecked() ? 1 : 0;
    if (state.eigenRuwheid != 0) {
        // A roughness typed but not yet left counts.
        m_ruwheid->interpretText();
        state.locRuwheid = m_ruwheid->value();
    }
    state.showgrid = m_showGrid->isChecked() ? 1 : 0;
    state.locEqualscale = m_equalScale->isChecked() ? 1 : 0;
    m_chart->setShowGrid(state.showgrid != 0);
    m_chart->setEqualScale(state.locEqualscale != 0);
}

void BerekenenWindow::applyRuwheidMode() {
    m_ruwheid->setEnabled(m_presenter->ruwheidEnabled());
    m_ruwheidPrompt->setText(m_presenter->ruwheidPrompt());
}

void BerekenenWindow::showState() {
    const calculation::BerekenenState& state = m_presenter->state();
    m_model->reload();
    fitColumns(m_list, 1);
    m_start->setEnabled(state.startEnabled);
    m_save->setEnabled(state.saveEnabled);
    m_eigenRuwheid->setChecked(state.eigenRuwheid != 0);
    // A derived roughness may lie below the lowest value the arrows reach; it is shown as it is.
    m_ruwheid->setMinimum(std::min(0.1, state.locRuwheid));
    m_ruwheid->setValue(state.locRuwheid);
    applyRuwheidMode();
    if (m_company->currentIndex() < 0) {
        m_company->setPlaceholderText(m_presenter->bufferNaam());
    }
}

void BerekenenWindow::drawBubble(const calculation::Gridq& gridq, const QString& bedNaam) {
    m_chart->drawBubble(gridq, bedNaam);
}

std::optional<QString> BerekenenWindow::askResultNaam() {
    SaveResultsDialog dialog(services(), this);
    return dialog.ask();
}

void BerekenenWindow::showReport(const presentation::ReportInput& input) {
    const presentation::ReportResult result = presentation::makeReport(
        *m_chart, input, m_context.dictionary.homeDir(), m_context.paths.outputDir,
        services().messages, m_opener, &services().busy);
    m_lastReport = result.path;
}

void runBerekenen(const calculation::BerekenenContext& context, WindowServices& services,
                  presentation::DocumentOpener& opener) {
    try {
        BerekenenWindow window(context, services, opener);
        window.run();
    } catch (const platform::FatalError&) {
        // The message has been shown: the program ends.
        QCoreApplication::exit(1);
    }
}

}  // namespace ui
