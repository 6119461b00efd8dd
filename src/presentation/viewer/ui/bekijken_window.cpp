#include "presentation/viewer/ui/bekijken_window.h"

#include "calculation/window/ui/gridq_list.h"
#include "platform/ui/column_model.h"
#include "platform/ui/numeric_edit.h"
#include "platform/ui/record_list.h"
#include "presentation/ui/bubble_chart_host.h"
#include "store/dictionary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace ui {

BekijkenWindow::BekijkenWindow(const presentation::BekijkenContext& context,
                               WindowServices& services, presentation::DocumentOpener& opener,
                               QString outputDir, QWidget* parent)
    : ProgramDialog(shell::windows::kBekijken, services, true, parent),
      m_context(context),
      m_opener(opener),
      m_outputDir(std::move(outputDir)) {
    using presentation::BekijkenPresenter;
    setWindowTitle(BekijkenPresenter::kCaption);
    form().windowSize(669, 390, true);

    form().text(u"?STRING1", u"Gekozen bedrijf:", {3, 1, 0, 10}, true);
    m_company = form().dropList(u"?BED:NAAM", {3, 12, 257, 12}, {});
    QPushButton* toWord = form().button(u"?TOWORDBUTTON", u"Bekijk in &Word", {3, 372, 116, 14});
    QPushButton* close = form().button(u"?CLOSE", u"&Afsluiten", {145, 372, 116, 14});
    m_delete = form().button(u"?DELETE", u"&Verwijderen", {180, 136, 81, 12});
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("?HEADER"));
    header->hide();
    auto* word = new QWidget(this);
    word->setObjectName(QStringLiteral("?SMWORD"));
    word->hide();

    form().text(u"?STRING2", u"Beschikbare berekeningen:", {3, 31, 0, 10}, true);
    FunctionTableModel::Source saved;
    saved.count = [this] {
        return m_presenter ? static_cast<int>(m_presenter->calculations().size()) : 0;
    };
    saved.value = [this](int row, int column) {
        return m_presenter ? m_presenter->savedValue(row, column) : QVariant();
    };
    m_savedModel = new FunctionTableModel(BekijkenPresenter::savedColumns(), saved, this);
    m_saved = form().list(u"?LIST", {3, 43, 255, 90}, m_savedModel);
    // Saved calculations are neither added nor changed here.
    for (const QStringView name : {QStringView(u"?INSERT"), QStringView(u"?CHANGE")}) {
        QPushButton* hidden = form().button(
            name, name == u"?INSERT" ? QStringView(u"&Insert") : QStringView(u"&Change"),
            {0, 0, 0, 0});
        hidden->hide();
    }

    form().text(u"?STRING3", u"Bijbehorende Bronnen en Geurgevoelige locaties:", {3, 154, 0, 10},
                true);
    const auto grid = [this]() -> const calculation::Gridq* {
        return m_presenter ? &m_presenter->gridq() : nullptr;
    };
    m_pointModel = gridqModel(BekijkenPresenter::columns(), grid, this);
    m_points = form().list(u"?LIST1", {3, 166, 257, 188}, m_pointModel);
    m_points->setItemDelegate(new GridqListDelegate(grid, m_points));
    m_equalScale = form().check(u"?LOC:EQUALSCALE", u"Gelijke schaal", {147, 359, 0, 0});
    m_showGrid = form().check(u"?SHOWGRID", u"Grid aan", {217, 359, 0, 0});
    m_ruwheidPrompt = form().text(u"?RUWHEID:PROMPT", u"Berekende ruwheid:", {8, 138, 66, 10});
    m_ruwheid = form().number(u"?LOC:RUWHEID", u"@N6_`2", services.messages, {76, 138, 39, 10});
    m_ruwheid->setReadOnly(true);
    m_ruwheidPrompt->setBuddy(m_ruwheid);

    m_chart =
        new presentation::BubbleChartHost(*this, presentation::kBekijkenHeader, services.messages);
    m_chart->createOcx();
    m_chart->bindCheckBoxes(m_showGrid, m_equalScale, [this] {
        drawBubble(m_presenter->gridq(), m_presenter->bufferNaam());
    });
    m_presenter = std::make_unique<BekijkenPresenter>(
        m_context, static_cast<presentation::BekijkenView&>(*this));

    for (const calculation::CompanyEntry& entry : m_presenter->companies()) {
        m_company->addItem(entry.naam);
    }
    m_company->setCurrentIndex(-1);
    m_company->setPlaceholderText(m_presenter->bufferNaam());

    connect(m_company, &QComboBox::activated, this, [this](int index) {
        m_presenter->chooseCompany(index);
        showState();
    });
    connect(m_saved, &RecordListView::currentRowChanged, this, [this](int row) {
        if (!m_showing && row >= 0 && row != m_presenter->current()) {
            m_presenter->highlight(row);
            showState();
        }
    });
    auto remove = [this] {
        if (m_presenter->deleteEnabled()) {
            (void)m_presenter->remove();
            showState();
        }
    };
    connect(m_delete, &QPushButton::clicked, this, remove);
    connect(m_saved, &RecordListView::deleteRequested, this, remove);
    connect(toWord, &QPushButton::clicked, this, [this] { m_presenter->toWord(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    showState();
    m_company->setFocus(Qt::OtherFocusReason);
}

BekijkenWindow::~BekijkenWindow() {
    // The lists ask the presenter for their rows: they go first.
    m_saved->setModel(nullptr);
    m_points->setModel(nullptr);
}

void BekijkenWindow::showState() {
    m_showing = true;
    m_savedModel->reload();
    m_saved->setCurrentRow(m_presenter->current());
    m_pointModel->reload();
    fitColumns(m_saved, 0);
    fitColumns(m_points, 1);
    m_delete->setEnabled(m_presenter->deleteEnabled());
    m_ruwheidPrompt->setText(m_presenter->ruwheidPrompt());
    m_ruwheid->setValue(m_presenter->locRuwheid());
    m_showing = false;
}

void BekijkenWindow::showEvent(QShowEvent* event) {
    ProgramDialog::showEvent(event);
    // The lists fit their columns once the window has its size.
    QTimer::singleShot(0, this, [this] {
        fitColumns(m_saved, 0);
        fitColumns(m_points, 1);
    });
}

void BekijkenWindow::drawBubble(const calculation::Gridq& gridq, const QString& bedNaam) {
    if (m_chart != nullptr) {
        m_chart->drawBubble(gridq, bedNaam);
    }
}

void BekijkenWindow::showReport(const presentation::ReportInput& input) {
    const presentation::ReportResult result =
        presentation::makeReport(*m_chart, input, m_context.dictionary.homeDir(), m_outputDir,
                                 services().messages, m_opener, &services().busy);
    m_lastReport = result.path;
}

void runBekijken(const presentation::BekijkenContext& context, WindowServices& services,
                 presentation::DocumentOpener& opener, const QString& outputDir) {
    try {
        BekijkenWindow window(context, services, opener, outputDir);
        window.run();
    } catch (const platform::FatalError&) {
        // The message has been shown: the program ends.
        QCoreApplication::exit(1);
    }
}

}  // namespace ui
