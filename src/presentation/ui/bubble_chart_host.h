#pragma once
// The bubble chart inside a window: the Calculation window and the viewer each own one host,
// which creates the chart control right of the window's hidden ?HEADER region, keeps it placed
// whenever the window is resized, draws the window's result grid into it, follows the two check
// boxes "Grid aan" (?SHOWGRID) and "Gelijke schaal" (?LOC:EQUALSCALE), and exports the drawn chart
// for the report.
//
//     BubbleChartHost chart(window, presentation::kBerekenenHeader, messages);
//     chart.createOcx();                                  // once, while the window opens
//     chart.bindCheckBoxes(showGridBox, equalScaleBox, [&] { chart.drawBubble(gridq, naam); });
//     chart.drawBubble(gridq, bedNaam);                   // after a load or a model run

#include "presentation/bubble_chart.h"
#include "presentation/report.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <functional>
#include <memory>

class QCheckBox;
class QWidget;

namespace platform::ui_chart {
class ChartControl;
}

namespace ui {
class BusyCursor;
}

namespace presentation {

class BubbleChartHost : public QObject {
    Q_OBJECT
public:
    // Creates the control as a child of `parent`; on failure returns nullptr and says why in
    // `error`.
    using Factory = std::function<std::unique_ptr<platform::ui_chart::ChartControl>(
        QWidget* parent, QString* error)>;

    // `header` is the window's ?HEADER region in dialog units of the window's font. The host
    // places the chart after every resize of `window`.
    BubbleChartHost(QWidget& window, const DialogRect& header, platform::MessageSink& messages,
                    Factory factory = {});
    ~BubbleChartHost() override;

    // CREATEOCX: replaces any chart by a new, hidden one and lays it out. When the control
    // cannot be created the window gets the message and works on without a chart.
    void createOcx();
    // RESIZEWINDOW: the window at least its minimum size, the chart right of the region.
    void resizeWindow();
    // DRAWBUBBLE with the host's flags; shows the "Grid aan" box and the chart.
    void drawBubble(const calculation::Gridq& gridq, const QString& bedNaam);
    // The grid lines follow showGrid(), without redrawing the data.
    void gridToggle();
    // The drawn chart as "WordPlot.bmp" in `homeDir` (an existing picture is replaced): its path,
    // or empty when there is no chart or the file cannot be written.
    [[nodiscard]] QString writePicture(const QString& homeDir);

    // SHOWGRID (0 when the window opens) and LOC:EQUALSCALE (1 when it opens).
    [[nodiscard]] bool showGrid() const { return m_showGrid; }
    [[nodiscard]] bool equalScale() const { return m_equalScale; }
    void setShowGrid(bool on) { m_showGrid = on; }
    void setEqualScale(bool on) { m_equalScale = on; }

    // Sets the boxes to the flags and follows them: "Grid aan" clicked runs gridToggle(),
    // "Gelijke schaal" clicked runs `redraw`, which draws the window's grid again. The "Grid aan"
    // box stays hidden until the first drawing.
    void bindCheckBoxes(QCheckBox* showGridBox, QCheckBox* equalScaleBox,
                        std::function<void()> redraw);

    [[nodiscard]] platform::ui_chart::ChartControl* chart() const { return m_chart.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    DialogRect m_header;
    platform::MessageSink& m_messages;
    Factory m_factory;
    std::unique_ptr<platform::ui_chart::ChartControl> m_chart;
    QPointer<QCheckBox> m_showGridBox;
    bool m_showGrid = false;
    bool m_equalScale = true;
    bool m_resizing = false;
};

// The report of a window: the chart exported into `homeDir` (left out when that fails), then
// writeReport() into `outputDir`.
ReportResult makeReport(BubbleChartHost& chart, ReportInput input, const QString& homeDir,
                        const QString& outputDir, platform::MessageSink& messages,
                        DocumentOpener& opener, ui::BusyCursor* busy = nullptr);

// Opens documents with the desktop's default program for their type.
class DesktopOpener : public DocumentOpener {
public:
    [[nodiscard]] bool open(const QString& path) override;
};

// The chart of `gridq` drawn without a window, at `size` pixels, with equal scale and without
// grid lines, written as a Windows bitmap to `path`. Needs a QApplication (on a machine without
// a display, the "offscreen" platform). False when nothing could be written.
[[nodiscard]] bool drawChartPicture(const calculation::Gridq& gridq, const QString& bedNaam,
                                    const QString& path, QSize size = QSize(900, 820));

}  // namespace presentation
