#include "presentation/bubble_chart.h"

#include <cmath>

namespace presentation {

using platform::ui_chart::ChartComponent;
using platform::ui_chart::kAxisX;
using platform::ui_chart::kAxisY;
using platform::ui_chart::LabelComponent;
using platform::ui_chart::LabelLocation;

namespace {

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ') {
        --end;
    }
    return text.left(end);
}

}  // namespace

uint32_t bubbleColour(const calculation::GridqRow& row) {
    if (row.type == calculation::kTypeBron) {
        return kBubbleBlue;
    }
    return row.limit >= row.value ? kBubbleGreen : kBubbleRed;
}

void drawBubble(ChartComponent& chart, const calculation::Gridq& gridq, const QString& bedNaam,
                bool equalScale, bool showGrid) {
    chart.setRepaint(false);
    chart.applyTemplate();
    chart.setAxisScaleVisible(kAxisY, true);
    chart.setAxisScaleVisible(kAxisX, true);
    chart.setFootnote(withoutTrailingBlanks(bedNaam));

    const int n = static_cast<int>(gridq.size());
    chart.setRepaint(false);
    chart.setDataGridSize(1, 3 * n + 3);
    chart.setAxisAuto(kAxisY, true);
    chart.setAxisAuto(kAxisX, true);

    for (int i = 1; i <= n; ++i) {
        const calculation::GridqRow& row = gridq[static_cast<size_t>(i - 1)];
        const int c = seriesColumn(i);
        chart.setColumnLabel(c, QString::number(row.volgnummer));
        chart.setData(1, c, row.xPos);
        chart.setData(1, c + 1, row.yPos);
        chart.setData(1, c + 2, kBubbleSize);
        chart.setSeriesPointLabel(c, LabelLocation::Above, LabelComponent::SeriesName);
        chart.setSeriesFillColor(c, bubbleColour(row));
    }

    if (equalScale) {
        // The automatic bounds exist only once the chart has taken in the new data.
        chart.setRepaint(true);
        chart.refresh();
        const double xmin = std::trunc(chart.axisMinimum(kAxisX));
        const double xmax = std::trunc(chart.axisMaximum(kAxisX));
        const double ymin = std::trunc(chart.axisMinimum(kAxisY));
        const double ymax = std::trunc(chart.axisMaximum(kAxisY));
        if (xmax - xmin > ymax - ymin) {
            chart.setAxisAuto(kAxisY, false);
            chart.setMajorDivision(kAxisY, chart.majorDivision(kAxisX));
            chart.setMinorDivision(kAxisY, chart.minorDivision(kAxisX));
            chart.setAxisMinimum(kAxisY, ymin);
            chart.setAxisMaximum(kAxisY, ymin + (xmax - xmin));
        } else {
            chart.setAxisAuto(kAxisX, false);
            chart.setMajorDivision(kAxisX, chart.majorDivision(kAxisY));
            chart.setMinorDivision(kAxisX, chart.minorDivision(kAxisY));
            chart.setAxisMinimum(kAxisX, xmin);
            chart.setAxisMaximum(kAxisX, xmin + (ymax - ymin));
        }
    }

    chart.setAxisGridVisible(kAxisX, showGrid);
    chart.setAxisGridVisible(kAxisY, showGrid);
    chart.setRepaint(true);
    chart.showChart();
    chart.refresh();
}

void gridToggle(ChartComponent& chart, bool showGrid) {
    chart.setRepaint(false);
    chart.setAxisGridVisible(kAxisX, showGrid);
    chart.setAxisGridVisible(kAxisY, showGrid);
    chart.setRepaint(true);
}

WindowLayout resizeLayout(const DialogRect& header, int windowWidth, int windowHeight) {
    WindowLayout out;
    out.windowWidth = windowWidth;
    out.windowHeight = windowHeight;
    if (header.x + header.width + 50 > out.windowWidth) {
        out.windowWidth = header.x + header.width + 50;
    }
    if (header.y + header.height + 10 > out.windowHeight) {
        out.windowHeight = header.y + header.height + 10;
    }
    out.chart = DialogRect{header.x + header.width + 4, 1, out.windowWidth - header.width - 8,
                           out.windowHeight - 20};
    return out;
}

void layoutChart(ChartComponent* chart) {
    if (chart == nullptr) {
        return;
    }
    chart->setPlotAutoLayout(false);
    chart->setPlotLocationRect(QRectF(QPointF(0, 0), QPointF(90, 90)));
    chart->setRepaint(true);
}

QString createOcxErrorText(const QString& error) {
    return QStringLiteral(
               "Er is een fout opgetreden bij het aanmaken van de grafische component. Fout: ") +
           error;
}

}  // namespace presentation
