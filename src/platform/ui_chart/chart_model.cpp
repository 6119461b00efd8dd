#include "platform/ui_chart/chart_model.h"

#include <algorithm>
#include <cmath>

namespace platform::ui_chart {

Scale automaticScale(std::optional<double> low, std::optional<double> high) {
    if (!low || !high) {
        return Scale{0, 1000, 5, 2};
    }
    double lo = std::min(*low, *high);
    double hi = std::max(*low, *high);
    const double span = hi - lo;
    const double room = span > 0 ? span * 0.05 : 50.0;
    lo -= room;
    hi += room;

    // About five divisions of 1, 2 or 5 times a power of ten.
    const double raw = (hi - lo) / 5.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double mantissa = raw / magnitude;
    const double unit = mantissa <= 1.0   ? 1.0
                        : mantissa <= 2.0 ? 2.0
                        : mantissa <= 5.0 ? 5.0
                                          : 10.0;
    const double step = std::max(unit * magnitude, 1.0);
    const double minimum = std::floor(lo / step) * step;
    const double maximum = std::ceil(hi / step) * step;
    const int major = std::max(1, static_cast<int>(std::lround((maximum - minimum) / step)));
    return Scale{minimum, maximum, major, unit == 2.0 ? 4 : 5};
}

void ChartModel::touch() {
    if (m_repaint) {
        changed();
    }
}

void ChartModel::setRepaint(bool on) {
    m_repaint = on;
    touch();
}

void ChartModel::setPlotAutoLayout(bool on) {
    m_plotAutoLayout = on;
    touch();
}

void ChartModel::setPlotLocationRect(const QRectF& rect) {
    m_plotRect = rect.normalized();
    touch();
}

void ChartModel::applyTemplate() {
    m_rows = 0;
    m_columns = 0;
    m_data.clear();
    m_columnLabels.clear();
    m_series.clear();
    m_footnote.clear();
    for (Axis& a : m_axes) {
        a = Axis{};
    }
    ++m_dataGeneration;
    touch();
}

void ChartModel::setAxisScaleVisible(int axis, bool visible) {
    if (validAxis(axis)) {
        m_axes[axis].scaleVisible = visible;
        touch();
    }
}

void ChartModel::setFootnote(const QString& text) {
    m_footnote = text;
    touch();
}

void ChartModel::setDataGridSize(int rows, int columns) {
    m_rows = std::max(rows, 0);
    m_columns = std::max(columns, 0);
    std::erase_if(m_data, [&](const auto& cell) {
        return cell.first.first > m_rows || cell.first.second > m_columns;
    });
    std::erase_if(m_columnLabels, [&](const auto& l) { return l.first > m_columns; });
    std::erase_if(m_series, [&](const auto& s) { return s.first > m_columns; });
    ++m_dataGeneration;
    touch();
}

void ChartModel::setAxisAuto(int axis, bool on) {
    if (!validAxis(axis)) {
        return;
    }
    if (!on) {
        fix(axis);
    }
    m_axes[axis].automatic = on;
    touch();
}

void ChartModel::setColumnLabel(int column, const QString& label) {
    if (column >= 1 && column <= m_columns) {
        m_columnLabels[column] = label;
        ++m_dataGeneration;
        touch();
    }
}

void ChartModel::setData(int row, int column, double value) {
    if (row >= 1 && row <= m_rows && column >= 1 && column <= m_columns && std::isfinite(value)) {
        m_data[{row, column}] = value;
        ++m_dataGeneration;
        touch();
    }
}

void ChartModel::setSeriesPointLabel(int column, LabelLocation location, LabelComponent component) {
    if (column >= 1 && column <= m_columns) {
        SeriesLook& s = m_series[column];
        s.location = location;
        s.component = component;
        ++m_dataGeneration;
        touch();
    }
}

void ChartModel::setSeriesFillColor(int column, uint32_t colour) {
    if (column >= 1 && column <= m_columns) {
        m_series[column].colour = colour & 0xFFFFFFu;
        ++m_dataGeneration;
        touch();
    }
}

Scale ChartModel::automatic(int axis) const {
    std::optional<double> low;
    std::optional<double> high;
    for (const Bubble& b : bubbles()) {
        const double v = axis == kAxisX ? b.x : b.y;
        low = low ? std::min(*low, v) : v;
        high = high ? std::max(*high, v) : v;
    }
    return automaticScale(low, high);
}

Scale ChartModel::scale(int axis) const {
    if (!validAxis(axis)) {
        return Scale{};
    }
    return m_axes[axis].automatic ? automatic(axis) : m_axes[axis].fixed;
}

void ChartModel::fix(int axis) {
    if (m_axes[axis].automatic) {
        m_axes[axis].fixed = automatic(axis);
        m_axes[axis].automatic = false;
    }
}

double ChartModel::axisMinimum(int axis) const {
    return scale(axis).minimum;
}
double ChartModel::axisMaximum(int axis) const {
    return scale(axis).maximum;
}
int ChartModel::majorDivision(int axis) const {
    return scale(axis).majorDivision;
}
int ChartModel::minorDivision(int axis) const {
    return scale(axis).minorDivision;
}

void ChartModel::setMajorDivision(int axis, int divisions) {
    if (validAxis(axis) && divisions >= 1) {
        fix(axis);
        m_axes[axis].fixed.majorDivision = divisions;
        touch();
    }
}

void ChartModel::setMinorDivision(int axis, int divisions) {
    if (validAxis(axis) && divisions >= 1) {
        fix(axis);
        m_axes[axis].fixed.minorDivision = divisions;
        touch();
    }
}

void ChartModel::setAxisMinimum(int axis, double value) {
    if (validAxis(axis) && std::isfinite(value)) {
        fix(axis);
        m_axes[axis].fixed.minimum = value;
        touch();
    }
}

void ChartModel::setAxisMaximum(int axis, double value) {
    if (validAxis(axis) && std::isfinite(value)) {
        fix(axis);
        m_axes[axis].fixed.maximum = value;
        touch();
    }
}

void ChartModel::setAxisGridVisible(int axis, bool visible) {
    if (validAxis(axis)) {
        m_axes[axis].gridVisible = visible;
        touch();
    }
}

void ChartModel::showChart() {
    m_shown = true;
    touch();
}

void ChartModel::refresh() {
    touch();
}

bool ChartModel::writePictureToFile(const QString&) {
    return false;
}

std::optional<double> ChartModel::data(int row, int column) const {
    const auto it = m_data.find({row, column});
    if (it == m_data.end()) {
        return std::nullopt;
    }
    return it->second;
}

QString ChartModel::columnLabel(int column) const {
    const auto it = m_columnLabels.find(column);
    return it == m_columnLabels.end() ? QString() : it->second;
}

bool ChartModel::axisAuto(int axis) const {
    return validAxis(axis) && m_axes[axis].automatic;
}
bool ChartModel::axisScaleVisible(int axis) const {
    return validAxis(axis) && m_axes[axis].scaleVisible;
}
bool ChartModel::axisGridVisible(int axis) const {
    return validAxis(axis) && m_axes[axis].gridVisible;
}

std::vector<Bubble> ChartModel::bubbles() const {
    std::vector<Bubble> out;
    for (int c = 1; c <= m_columns; c += 3) {
        const auto look = m_series.find(c);
        for (int r = 1; r <= m_rows; ++r) {
            const auto x = data(r, c);
            const auto y = data(r, c + 1);
            if (!x || !y) {
                continue;
            }
            Bubble b;
            b.column = c;
            b.x = *x;
            b.y = *y;
            b.size = data(r, c + 2).value_or(0);
            b.colour = kDefaultSeriesColour;
            if (look != m_series.end()) {
                if (look->second.colour) {
                    b.colour = *look->second.colour;
                }
                if (look->second.location == LabelLocation::Above &&
                    look->second.component == LabelComponent::SeriesName) {
                    b.label = columnLabel(c);
                }
            }
            out.push_back(b);
        }
    }
    return out;
}

}  // namespace platform::ui_chart
