#pragma once
// The chart control: a ChartModel drawn with Qt Charts as a map of the site. Every series is one
// round marker of a fixed size in pixels (3 size units make 15 pixels, whatever the scale), with
// its label above it and never clipped at the edge of the plot. The plot is a square, so equal
// spans on both axes give as many pixels per metre across as up. Axis titles name the metres of
// the national grid; the footnote sits under the plot. Drawing happens when drawing is on
// (setRepaint(true)) and after every change made while it is on.

#include "platform/ui_chart/chart_model.h"

#include <QWidget>

class QLabel;

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QValueAxis;
QT_END_NAMESPACE

namespace platform::ui_chart {

class ChartControl : public QWidget, public ChartModel {
    Q_OBJECT
public:
    static constexpr double kPixelsPerSizeUnit = 5.0;

    explicit ChartControl(QWidget* parent = nullptr);
    ~ChartControl() override;

    void showChart() override;
    // The control as drawn now, at its present size, as a Windows bitmap.
    [[nodiscard]] bool writePictureToFile(const QString& path) override;

    // For tests and for the window: the Qt Charts objects behind the drawing.
    [[nodiscard]] QChart* chart() const { return m_chart; }
    [[nodiscard]] QValueAxis* axis(int axis) const;
    [[nodiscard]] QLabel* footnoteLabel() const { return m_footnote; }

protected:
    void changed() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuild();
    void rebuildSeries();
    void updateAxes();
    void placePlot();

    QChart* m_chart = nullptr;
    QChartView* m_view = nullptr;
    QValueAxis* m_axes[2] = {nullptr, nullptr};
    QLabel* m_footnote = nullptr;
    uint64_t m_drawnGeneration = ~uint64_t{0};
};

}  // namespace platform::ui_chart
