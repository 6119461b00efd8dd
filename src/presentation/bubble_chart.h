#pragma once
// The bubble chart of a calculation, as both the Calculation window and the viewer draw it: one
// bubble per row of the result grid at its X/Y, labelled with the row's sequence number, blue for
// an emission point, green for a location within its standard and red for one above it. The
// routines work on the chart component only, so they run on a bare ChartModel in tests and on
// the drawn ChartControl in the windows (presentation/ui/bubble_chart_host.h).

#include "calculation/gridq.h"
#include "platform/ui_chart/chart_component.h"

#include <QString>
#include <cstdint>

namespace presentation {

// Fill colours, Windows colour values 0x00BBGGRR.
inline constexpr uint32_t kBubbleBlue = 0xFF0000;   // emission point
inline constexpr uint32_t kBubbleGreen = 0x00FF00;  // location within its standard
inline constexpr uint32_t kBubbleRed = 0x0000FF;    // location above its standard
// Size of every bubble; sizes carry no data.
inline constexpr int kBubbleSize = 3;

// The colour of a row's bubble: blue for "B"; for any other type green while GQ:LIMIT >=
// GQ:VALUE (so every location before a model run), red above it.
[[nodiscard]] uint32_t bubbleColour(const calculation::GridqRow& row);

// First data-grid column of row i (from 1) of the grid: 3i + 1; columns 1 to 3 stay empty.
[[nodiscard]] constexpr int seriesColumn(int i) {
    return 3 * i + 1;
}

// DRAWBUBBLE: rebuilds the chart from the template and the grid, in the grid's order; the
// footnote is `bedNaam` without trailing blanks. With `equalScale` the axis with the smaller
// automatic span is fixed and stretched upward from its own minimum to the span of the other,
// taking over its divisions (on equal spans the X axis is the one fixed); the other axis stays
// automatic. Grid lines follow `showGrid`. Ends with the chart shown. Linear in the rows.
void drawBubble(platform::ui_chart::ChartComponent& chart, const calculation::Gridq& gridq,
                const QString& bedNaam, bool equalScale, bool showGrid);

// The "Grid aan" check box clicked: the major grid lines of both axes follow `showGrid`; the data
// are not redrawn.
void gridToggle(platform::ui_chart::ChartComponent& chart, bool showGrid);

// A rectangle in the window's dialog units.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const DialogRect&) const = default;
};

// The hidden regions that frame the left-hand controls of the two windows.
inline constexpr DialogRect kBerekenenHeader{0, -15, 265, 345};
inline constexpr DialogRect kBekijkenHeader{0, 0, 265, 389};

struct WindowLayout {
    int windowWidth = 0;  // dialog units, at least the minimum
    int windowHeight = 0;
    DialogRect chart;  // where the chart goes
    bool operator==(const WindowLayout&) const = default;
};

// RESIZEWINDOW's rule: the window at least header.x + header.width + 50 wide and header.y +
// header.height + 10 high; the chart 4 units right of the region at y 1, as high as the window
// less 20 and as wide as the window less the region's width less 8 (the region's x is not
// subtracted).
[[nodiscard]] WindowLayout resizeLayout(const DialogRect& header, int windowWidth,
                                        int windowHeight);

// The part of RESIZEWINDOW that speaks to the chart, run after the control has been placed: the
// plot in a fixed square (0, 0)-(90, 90), drawing resumed. Nothing happens without a chart.
void layoutChart(platform::ui_chart::ChartComponent* chart);

// The message of a chart that cannot be created.
[[nodiscard]] QString createOcxErrorText(const QString& error);

}  // namespace presentation
