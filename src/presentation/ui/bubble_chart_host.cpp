#include "presentation/ui/bubble_chart_host.h"

#include "platform/ui/core/busy_cursor.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui_chart/chart_control.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QWidget>
#include <exception>

namespace presentation {

namespace {

std::unique_ptr<platform::ui_chart::ChartControl> createControl(QWidget* parent, QString* error) {
    try {
        return std::make_unique<platform::ui_chart::ChartControl>(parent);
    } catch (const std::exception& e) {
        *error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        *error = QStringLiteral("onbekende fout");
    }
    return nullptr;
}

}  // namespace

BubbleChartHost::BubbleChartHost(QWidget& window, const DialogRect& header,
                                 platform::MessageSink& messages, Factory factory)
    : QObject(&window),
      m_window(window),
      m_header(header),
      m_messages(messages),
      m_factory(factory ? std::move(factory) : Factory(createControl)) {
    m_window.installEventFilter(this);
}

BubbleChartHost::~BubbleChartHost() {
    m_window.removeEventFilter(this);
}

void BubbleChartHost::createOcx() {
    if (m_chart) {
        m_chart->hide();
        m_chart.reset();
    }
    QString error;
    m_chart = m_factory(&m_window, &error);
    if (!m_chart) {
        m_messages.show(platform::Message{QString(), createOcxErrorText(error)});
    } else {
        m_chart->hide();
    }
    resizeWindow();
}

void BubbleChartHost::resizeWindow() {
    if (m_resizing) {
        return;
    }
    m_resizing = true;
    const ui::DialogUnits units(m_window.font());
    const WindowLayout layout =
        resizeLayout(m_header, units.unitsX(m_window.width()), units.unitsY(m_window.height()));
    const QSize minimum =
        units.size(m_header.x + m_header.width + 50, m_header.y + m_header.height + 10);
    if (m_window.minimumSize() != minimum) {
        m_window.setMinimumSize(minimum);
    }
    if (m_window.width() < minimum.width() || m_window.height() < minimum.height()) {
        m_window.resize(std::max(m_window.width(), minimum.width()),
                        std::max(m_window.height(), minimum.height()));
    }
    if (m_chart) {
        m_chart->setRepaint(false);
        m_chart->setGeometry(
            units.rect(layout.chart.x, layout.chart.y, layout.chart.width, layout.chart.height));
    }
    layoutChart(m_chart.get());
    m_resizing = false;
}

void BubbleChartHost::drawBubble(const calculation::Gridq& gridq, const QString& bedNaam) {
    if (m_chart) {
        presentation::drawBubble(*m_chart, gridq, bedNaam, m_equalScale, m_showGrid);
    }
    if (m_showGridBox) {
        m_showGridBox->show();
    }
    m_window.update();
}

void BubbleChartHost::gridToggle() {
    if (m_chart) {
        presentation::gridToggle(*m_chart, m_showGrid);
    }
}

QString BubbleChartHost::writePicture(const QString& homeDir) {
    if (!m_chart) {
        return QString();
    }
    const QString path = QDir(homeDir.trimmed()).filePath(kWordPlotFile);
    return m_chart->writePictureToFile(path) ? path : QString();
}

void BubbleChartHost::bindCheckBoxes(QCheckBox* showGridBox, QCheckBox* equalScaleBox,
                                     std::function<void()> redraw) {
    m_showGridBox = showGridBox;
    if (showGridBox != nullptr) {
        showGridBox->setChecked(m_showGrid);
        if (!m_chart || !m_chart->shown()) {
            showGridBox->hide();
        }
        connect(showGridBox, &QCheckBox::clicked, this, [this](bool checked) {
            m_showGrid = checked;
            gridToggle();
        });
    }
    if (equalScaleBox != nullptr) {
        equalScaleBox->setChecked(m_equalScale);
        connect(equalScaleBox, &QCheckBox::clicked, this,
                [this, redraw = std::move(redraw)](bool checked) {
                    m_equalScale = checked;
                    if (redraw) {
                        redraw();
                    }
                });
    }
}

bool BubbleChartHost::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::Resize) {
        resizeWindow();
    }
    return QObject::eventFilter(watched, event);
}

ReportResult makeReport(BubbleChartHost& chart, ReportInput input, const QString& homeDir,
                        const QString& outputDir, platform::MessageSink& messages,
                        DocumentOpener& opener, ui::BusyCursor* busy) {
    std::optional<ui::BusyScope> scope;
    if (busy != nullptr) {
        scope.emplace(*busy);
    }
    input.picturePath = chart.writePicture(homeDir);
    // The report keeps the cursor busy itself and restores it before any message.
    if (scope) {
        scope->restore();
    }
    return writeReport(input, outputDir, messages, opener, busy);
}

bool drawChartPicture(const calculation::Gridq& gridq, const QString& bedNaam, const QString& path,
                      QSize size) {
    platform::ui_chart::ChartControl control;
    control.resize(size);
    layoutChart(&control);
    presentation::drawBubble(control, gridq, bedNaam, true, false);
    return control.writePictureToFile(path);
}

}  // namespace presentation
