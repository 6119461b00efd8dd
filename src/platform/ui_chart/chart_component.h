#pragma once
// The chart component as the presentation code drives it: a bubble chart filled from a data grid
// of one row, in which every triple of columns (X, Y, size) is one series addressed by its first
// column, with automatic or fixed axis scales that can be read back, switchable major grid
// lines, a footnote and the export of the drawn chart as a bitmap file.
//
// The operations the chart routines perform, and the call of this interface each maps onto:
//
//   1  create the chart object               creating a ChartControl (ui_chart/chart_control.h);
//                                             a failure is reported by the creating code
//   2  AllowUserChanges = 0                  no meaning here: the chart offers no editing
//   3  MenuItemVisible (n) = 1               no meaning here: the chart has no menu of its own
//   4  Repaint = 0 / 1                       setRepaint(bool)
//   5  geometry of the control               done by the window with the rectangle from
//                                             presentation::resizeLayout()
//   6  Plot.AutoLayout = 0                   setPlotAutoLayout(false)
//   7, 8  Plot.LocationRect = (0,0)-(90,90)  setPlotLocationRect(...)
//   9  ReadFromFile(...\BubblePlot.vtc)      applyTemplate(): our built-in look (bubble chart,
//                                             fonts, axis titles); no file is read
//  10  Backdrop picture = ""                 no meaning here: the chart has no backdrop picture
//  11  AxisScale.Hide = 0                    setAxisScaleVisible(axis, true)
//  12  Footnote.text                         setFootnote(text)
//  13  DataGrid.RowCount / ColumnCount       setDataGridSize(rows, columns)
//  14  Plotbase pen style = 0                no meaning here: a flat chart has no plot base
//  15  valuescale.auto = 1 / 0               setAxisAuto(axis, bool)
//  16  Column / ColumnLabel                  setColumnLabel(column, text)
//  17, 18  DataGrid.SetData(1,c,v,0)         setData(row, column, value); numbers travel as
//                                             doubles, so no text form of them is needed
//  19-21  data-point label of series c       setSeriesPointLabel(column, location, component)
//  22  Brush.FillColor of series c           setSeriesFillColor(column, colour value)
//  23  ValueScale.Minimum / Maximum (get)    axisMinimum(axis), axisMaximum(axis)
//  24  MajorDivision (get, set)              majorDivision(axis), setMajorDivision(axis, n)
//  25  MinorDivision (get, set)              minorDivision(axis), setMinorDivision(axis, n)
//  26  ValueScale.Minimum / Maximum (set)    setAxisMinimum(axis, v), setAxisMaximum(axis, v)
//  27  AxisGrid.MajorPen.Style = 1 / 0       setAxisGridVisible(axis, bool)
//  28  show the control                      showChart()
//  29  hide and destroy the control          destroying the ChartControl
//  30  refresh the window                    refresh()
//  31  WritePictureToFile(...)               writePictureToFile(path)
//
// Axis 0 is the horizontal (X) axis, axis 1 the vertical (Y) axis. Rows and columns of the data
// grid count from 1; operations on a row, column or axis that does not exist are ignored, as
// the component ignores them.

#include <QRectF>
#include <QString>
#include <cstdint>

namespace platform::ui_chart {

inline constexpr int kAxisX = 0;
inline constexpr int kAxisY = 1;

enum class LabelLocation { None, Above };
enum class LabelComponent { None, SeriesName };

class ChartComponent {
public:
    virtual ~ChartComponent() = default;

    virtual void setRepaint(bool on) = 0;
    virtual void setPlotAutoLayout(bool on) = 0;
    // In percent of the largest square that the control leaves for the plot, so that a square
    // rectangle gives a plot with as many pixels per unit on both axes.
    virtual void setPlotLocationRect(const QRectF& rect) = 0;
    // Resets everything a drawing sets: data grid, labels, colours, scales, grid, footnote.
    virtual void applyTemplate() = 0;
    virtual void setAxisScaleVisible(int axis, bool visible) = 0;
    virtual void setFootnote(const QString& text) = 0;
    virtual void setDataGridSize(int rows, int columns) = 0;
    virtual void setAxisAuto(int axis, bool automatic) = 0;
    virtual void setColumnLabel(int column, const QString& label) = 0;
    virtual void setData(int row, int column, double value) = 0;
    virtual void setSeriesPointLabel(int column, LabelLocation location,
                                     LabelComponent component) = 0;
    // Windows colour value 0x00BBGGRR.
    virtual void setSeriesFillColor(int column, uint32_t colour) = 0;
    // The bounds in force: for an automatic axis those computed for the data set so far.
    [[nodiscard]] virtual double axisMinimum(int axis) const = 0;
    [[nodiscard]] virtual double axisMaximum(int axis) const = 0;
    // Number of major divisions of the axis, and of minor divisions per major division.
    [[nodiscard]] virtual int majorDivision(int axis) const = 0;
    [[nodiscard]] virtual int minorDivision(int axis) const = 0;
    virtual void setMajorDivision(int axis, int divisions) = 0;
    virtual void setMinorDivision(int axis, int divisions) = 0;
    virtual void setAxisMinimum(int axis, double value) = 0;
    virtual void setAxisMaximum(int axis, double value) = 0;
    virtual void setAxisGridVisible(int axis, bool visible) = 0;
    virtual void showChart() = 0;
    virtual void refresh() = 0;
    // Writes the chart as drawn now as a Windows bitmap; false when nothing could be written.
    [[nodiscard]] virtual bool writePictureToFile(const QString& path) = 0;
};

}  // namespace platform::ui_chart
