#include "platform/ui_chart/chart_control.h"

#include <QChart>
#include <QChartView>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace platform::ui_chart {
namespace {

QColor fromColourValue(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// Qt Charts replaces these tags in a point label; a label is shown as it stands.
QString literalLabel(QString label) {
    label.replace(QStringLiteral("@"), QStringLiteral("@\u2060"));
    return label;
}

}  // namespace

ChartControl::ChartControl(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("?OLECONTROL"));
    m_chart = new QChart();
    m_chart->legend()->hide();
    m_chart->setBackgroundRoundness(0);
    m_chart->setMargins(QMargins(0, 0, 0, 0));
    m_chart->setBackgroundBrush(Qt::white);
    m_chart->setPlotAreaBackgroundBrush(Qt::white);
    m_chart->setPlotAreaBackgroundPen(QPen(Qt::darkGray));
    m_chart->setPlotAreaBackgroundVisible(true);
    QFont font = this->font();
    font.setPointSize(9);
    for (int a : {kAxisX, kAxisY}) {
        auto* axis = new QValueAxis(m_chart);
        axis->setLabelFormat(QStringLiteral("%.0f"));
        axis->setLabelsFont(font);
        QFont titleFont = font;
        titleFont.setBold(true);
        axis->setTitleFont(titleFont);
        axis->setTitleText(a == kAxisX ? QStringLiteral("X-co\u00f6rdinaat (m, RD)")
                                       : QStringLiteral("Y-co\u00f6rdinaat (m, RD)"));
        axis->setMinorGridLineVisible(false);
        m_chart->addAxis(axis, a == kAxisX ? Qt::AlignBottom : Qt::AlignLeft);
        m_axes[a] = axis;
    }
    m_view = new QChartView(m_chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setObjectName(QStringLiteral("chartView"));
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setBackgroundBrush(Qt::white);
    m_footnote = new QLabel(this);
    m_footnote->setObjectName(QStringLiteral("footnote"));
    m_footnote->setAlignment(Qt::AlignCenter);
    m_footnote->setTextFormat(Qt::PlainText);
    m_footnote->setAutoFillBackground(true);
    QPalette palette = m_footnote->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    m_footnote->setPalette(palette);
    m_footnote->setContentsMargins(0, 2, 0, 6);
    QFont footnoteFont = font;
    footnoteFont.setPointSize(10);
    m_footnote->setFont(footnoteFont);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_footnote, 0);
    // A new chart stays hidden until it is first shown.
    QWidget::setVisible(false);
    rebuild();
}

ChartControl::~ChartControl() = default;

QValueAxis* ChartControl::axis(int a) const {
    return a == kAxisX || a == kAxisY ? m_axes[a] : nullptr;
}

void ChartControl::changed() {
    rebuild();
}

void ChartControl::showChart() {
    ChartModel::showChart();
    QWidget::setVisible(true);
}

void ChartControl::rebuild() {
    setUpdatesEnabled(false);
    if (m_drawnGeneration != dataGeneration()) {
        rebuildSeries();
        m_drawnGeneration = dataGeneration();
    }
    updateAxes();
    m_footnote->setText(footnote());
    m_footnote->setVisible(!footnote().isEmpty());
    placePlot();
    setUpdatesEnabled(repaintOn());
}

void ChartControl::rebuildSeries() {
    m_chart->removeAllSeries();
    QFont labelFont = font();
    labelFont.setPointSize(9);
    labelFont.setBold(true);
    for (const Bubble& b : bubbles()) {
        auto* series = new QScatterSeries();
        series->setName(b.label);
        series->append(b.x, b.y);
        series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        series->setMarkerSize(std::max(1.0, b.size * kPixelsPerSizeUnit));
        const QColor colour = fromColourValue(b.colour);
        series->setColor(colour);
        series->setBorderColor(colour.darker(160));
        series->setPointLabelsVisible(!b.label.isEmpty());
        series->setPointLabelsFormat(literalLabel(b.label));
        series->setPointLabelsClipping(false);
        series->setPointLabelsFont(labelFont);
        series->setPointLabelsColor(Qt::black);
        m_chart->addSeries(series);
        series->attachAxis(m_axes[kAxisX]);
        series->attachAxis(m_axes[kAxisY]);
    }
}

void ChartControl::updateAxes() {
    for (int a : {kAxisX, kAxisY}) {
        const Scale s = scale(a);
        QValueAxis* axis = m_axes[a];
        axis->setTickType(QValueAxis::TicksFixed);
        const double maximum = s.maximum > s.minimum ? s.maximum : s.minimum + 1;
        axis->setRange(s.minimum, maximum);
        axis->setTickCount(std::clamp(s.majorDivision, 1, 100) + 1);
        axis->setMinorTickCount(std::clamp(s.minorDivision, 1, 20) - 1);
        axis->setGridLineVisible(axisGridVisible(a));
        axis->setLabelsVisible(axisScaleVisible(a));
    }
}

void ChartControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePlot();
}

void ChartControl::placePlot() {
    if (plotAutoLayout()) {
        m_chart->setPlotArea(QRectF());
        return;
    }
    // Room for the tick labels and titles at the left and below, for the labels of the top row of
    // bubbles above, and for the last tick label at the right.
    const QFontMetrics labels(m_axes[kAxisY]->labelsFont());
    const QFontMetrics titles(m_axes[kAxisY]->titleFont());
    const int left = labels.horizontalAdvance(QStringLiteral("0000000")) + titles.height() + 20;
    const int bottom = labels.height() + titles.height() + 20;
    const int top = labels.height() + 16;
    const int right = labels.horizontalAdvance(QStringLiteral("000000")) / 2 + 12;
    const QSize size =
        m_view->size().isValid() && !m_view->size().isEmpty() ? m_view->size() : this->size();
    const double w = std::max(1, size.width() - left - right);
    const double h = std::max(1, size.height() - top - bottom);
    // The plot rectangle is given in percent of a square; that square is made as large as the
    // rectangle's extent allows in the room left, and the plot is centred in that room.
    const QRectF r = plotLocationRect();
    const double extent = std::max({r.right(), r.bottom(), 1.0});
    const double side = std::min(w, h) * 100.0 / extent;
    const QRectF plot(side * r.left() / 100.0, side * r.top() / 100.0, side * r.width() / 100.0,
                      side * r.height() / 100.0);
    const QPointF shift(left + (w - plot.width()) / 2 - plot.left(),
                        top + (h - plot.height()) / 2 - plot.top());
    m_chart->setPlotArea(plot.width() >= 1 && plot.height() >= 1 ? plot.translated(shift)
                                                                 : QRectF(left, top, w, h));
}

bool ChartControl::writePictureToFile(const QString& path) {
    const bool wasOn = updatesEnabled();
    setUpdatesEnabled(true);
    if (QLayout* l = layout()) {
        l->activate();
    }
    placePlot();
    if (QGraphicsLayout* l = m_chart->layout()) {
        l->activate();
    }
    const QPixmap picture = grab();
    setUpdatesEnabled(wasOn);
    if (picture.isNull()) {
        return false;
    }
    return picture.toImage().convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

}  // namespace platform::ui_chart
