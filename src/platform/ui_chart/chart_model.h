#pragma once
// Everything the chart holds, without drawing it: the data grid, the series' labels and colours,
// the axis scales (automatic ones computed from the data), grid lines, footnote and plot
// rectangle. ChartControl draws a ChartModel; tests drive the chart routines on a bare one.

#include "platform/ui_chart/chart_component.h"

#include <map>
#include <optional>
#include <vector>

namespace platform::ui_chart {

// The scale of one axis: bounds, number of major divisions between them and number of minor
// divisions per major division.
struct Scale {
    double minimum = 0;
    double maximum = 0;
    int majorDivision = 0;
    int minorDivision = 0;
    bool operator==(const Scale&) const = default;
};

// The automatic scale for data from `low` to `high`: round bounds that leave some room round the
// data, a multiple of 1, 2 or 5 times a power of ten per major division (at least 1, so the
// bounds of whole-metre data are whole numbers), 3 to 10 divisions. Data of no extent get 100
// units round them; no data at all give 0 to 1000.
[[nodiscard]] Scale automaticScale(std::optional<double> low, std::optional<double> high);

// One point of one series as it is drawn.
struct Bubble {
    int column = 0;  // first column of the series' triple
    QString label;   // what is written above the point; empty for no label
    double x = 0;
    double y = 0;
    double size = 0;
    uint32_t colour = 0;  // Windows colour value 0x00BBGGRR
};

class ChartModel : public ChartComponent {
public:
    // Shown by an empty chart and after applyTemplate(); the component's colour for a series
    // whose colour was never set.
    static constexpr uint32_t kDefaultSeriesColour = 0x808080;

    void setRepaint(bool on) override;
    void setPlotAutoLayout(bool on) override;
    void setPlotLocationRect(const QRectF& rect) override;
    void applyTemplate() override;
    void setAxisScaleVisible(int axis, bool visible) override;
    void setFootnote(const QString& text) override;
    void setDataGridSize(int rows, int columns) override;
    void setAxisAuto(int axis, bool automatic) override;
    void setColumnLabel(int column, const QString& label) override;
    void setData(int row, int column, double value) override;
    void setSeriesPointLabel(int column, LabelLocation location, LabelComponent component) override;
    void setSeriesFillColor(int column, uint32_t colour) override;
    [[nodiscard]] double axisMinimum(int axis) const override;
    [[nodiscard]] double axisMaximum(int axis) const override;
    [[nodiscard]] int majorDivision(int axis) const override;
    [[nodiscard]] int minorDivision(int axis) const override;
    void setMajorDivision(int axis, int divisions) override;
    void setMinorDivision(int axis, int divisions) override;
    void setAxisMinimum(int axis, double value) override;
    void setAxisMaximum(int axis, double value) override;
    void setAxisGridVisible(int axis, bool visible) override;
    void showChart() override;
    void refresh() override;
    // A bare model draws nothing and so writes no picture.
    [[nodiscard]] bool writePictureToFile(const QString& path) override;

    // What is drawn.
    [[nodiscard]] bool repaintOn() const { return m_repaint; }
    [[nodiscard]] bool shown() const { return m_shown; }
    [[nodiscard]] bool plotAutoLayout() const { return m_plotAutoLayout; }
    [[nodiscard]] QRectF plotLocationRect() const { return m_plotRect; }
    [[nodiscard]] int rowCount() const { return m_rows; }
    [[nodiscard]] int columnCount() const { return m_columns; }
    [[nodiscard]] std::optional<double> data(int row, int column) const;
    [[nodiscard]] QString columnLabel(int column) const;
    [[nodiscard]] const QString& footnote() const { return m_footnote; }
    [[nodiscard]] bool axisAuto(int axis) const;
    [[nodiscard]] bool axisScaleVisible(int axis) const;
    [[nodiscard]] bool axisGridVisible(int axis) const;
    [[nodiscard]] Scale scale(int axis) const;
    // Every point that has both X and Y, in column order, then row order.
    [[nodiscard]] std::vector<Bubble> bubbles() const;
    // Counts the changes of the data grid and the series' looks, so that a drawing can tell a
    // change of the axes alone from one of the data.
    [[nodiscard]] uint64_t dataGeneration() const { return m_dataGeneration; }

protected:
    // Called after a change while drawing is on, and when drawing is switched on again.
    virtual void changed() {}

private:
    struct Axis {
        bool automatic = true;
        Scale fixed;  // in force while not automatic
        bool gridVisible = false;
        bool scaleVisible = true;
    };
    struct SeriesLook {
        LabelLocation location = LabelLocation::None;
        LabelComponent component = LabelComponent::None;
        std::optional<uint32_t> colour;
    };

    [[nodiscard]] bool validAxis(int axis) const { return axis == kAxisX || axis == kAxisY; }
    [[nodiscard]] Scale automatic(int axis) const;
    // Freezes an automatic axis at its current scale, so that one bound or division can change.
    void fix(int axis);
    void touch();

    bool m_repaint = true;
    bool m_shown = false;
    bool m_plotAutoLayout = true;
    QRectF m_plotRect{0, 0, 100, 100};
    int m_rows = 0;
    int m_columns = 0;
    std::map<std::pair<int, int>, double> m_data;
    std::map<int, QString> m_columnLabels;
    std::map<int, SeriesLook> m_series;
    QString m_footnote;
    Axis m_axes[2];
    uint64_t m_dataGeneration = 0;
};

}  // namespace platform::ui_chart
