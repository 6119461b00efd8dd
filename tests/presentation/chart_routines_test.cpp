// The chart routines on a bare chart model: what DRAWBUBBLE leaves in the chart, the equal-scale
// rule, the grid toggle and the resize rule.

#include "platform/ui_chart/chart_model.h"
#include "presentation/bubble_chart.h"

#include <gtest/gtest.h>

namespace {

using calculation::Gridq;
using calculation::GridqRow;
using platform::ui_chart::automaticScale;
using platform::ui_chart::ChartModel;
using platform::ui_chart::kAxisX;
using platform::ui_chart::kAxisY;
using platform::ui_chart::Scale;
using namespace presentation;

GridqRow bron(int nr, int x, int y) {
    GridqRow r;
    r.volgnummer = nr;
    r.type = calculation::kTypeBron;
    r.xPos = x;
    r.yPos = y;
    return r;
}

GridqRow ggl(int nr, int x, int y, double limit, double value) {
    GridqRow r;
    r.volgnummer = nr;
    r.type = calculation::kTypeGgl;
    r.xPos = x;
    r.yPos = y;
    r.limit = limit;
    r.value = value;
    return r;
}

struct ColourCase {
    const char* name;
    GridqRow row;
    uint32_t expected;
};

TEST(BubbleColour, FollowsTypeAndStandard) {
    GridqRow other = ggl(1, 0, 0, 1, 2);
    other.type = QLatin1Char('X');
    GridqRow bronWithLoad = bron(1, 0, 0);
    bronWithLoad.value = 99;
    const ColourCase cases[] = {
        {"emission_point", bron(1, 0, 0), kBubbleBlue},
        {"emission_point_even_with_a_value", bronWithLoad, kBubbleBlue},
        {"location_before_a_run", ggl(1, 0, 0, 3, 0), kBubbleGreen},
        {"location_at_its_standard", ggl(1, 0, 0, 3, 3), kBubbleGreen},
        {"location_just_above", ggl(1, 0, 0, 3, 3.0000001), kBubbleRed},
        {"other_type_above", other, kBubbleRed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bubbleColour(c.row), c.expected) << c.name;
    }
}

TEST(AutomaticScale, RoundBoundsAroundTheData) {
    struct Case {
        const char* name;
        double low, high;
    };
    const Case cases[] = {{"site", 155020, 156430},
                          {"tall_site", 463100, 463150},
                          {"wide", 10000, 290000},
                          {"one_point", 155123, 155123},
                          {"small_numbers", 3, 7}};
    for (const auto& c : cases) {
        const Scale s = automaticScale(c.low, c.high);
        SCOPED_TRACE(c.name);
        EXPECT_LT(s.minimum, c.low);
        EXPECT_GT(s.maximum, c.high);
        EXPECT_GE(s.majorDivision, 3);
        EXPECT_LE(s.majorDivision, 10);
        const double step = (s.maximum - s.minimum) / s.majorDivision;
        EXPECT_GE(step, 1.0);
        // Whole bounds on a multiple of the step, and the step 1, 2 or 5 times a power of ten.
        EXPECT_EQ(s.minimum, std::trunc(s.minimum));
        EXPECT_DOUBLE_EQ(std::fmod(s.minimum, step), 0.0);
        double m = step;
        while (m >= 10) {
            m /= 10;
        }
        EXPECT_TRUE(m == 1 || m == 2 || m == 5) << step;
        EXPECT_GE(s.minorDivision, 2);
    }
    EXPECT_EQ(automaticScale(std::nullopt, std::nullopt), (Scale{0, 1000, 5, 2}));
}

TEST(DrawBubble, FillsOneSeriesPerRowInGridOrder) {
    ChartModel chart;
    // The order after a failed run: locations first, every row keeping its number.
    const Gridq gridq = {ggl(3, 155500, 463300, 3, 0), ggl(4, 155900, 463900, 3, 5.5),
                         bron(1, 155000, 463000), bron(2, 155200, 463100)};
    drawBubble(chart, gridq, QStringLiteral("Maatschap De Vries   "), false, false);

    EXPECT_EQ(chart.rowCount(), 1);
    EXPECT_EQ(chart.columnCount(), 15);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_FALSE(chart.data(1, c).has_value()) << c;
    }
    const auto bubbles = chart.bubbles();
    ASSERT_EQ(bubbles.size(), 4u);
    const QString labels[] = {QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("1"),
                              QStringLiteral("2")};
    const uint32_t colours[] = {kBubbleGreen, kBubbleRed, kBubbleBlue, kBubbleBlue};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bubbles[i].column, seriesColumn(static_cast<int>(i) + 1));
        EXPECT_EQ(bubbles[i].label, labels[i]);
        EXPECT_EQ(bubbles[i].x, gridq[i].xPos);
        EXPECT_EQ(bubbles[i].y, gridq[i].yPos);
        EXPECT_EQ(bubbles[i].size, kBubbleSize);
        EXPECT_EQ(bubbles[i].colour, colours[i]);
    }
    EXPECT_EQ(chart.footnote(), QStringLiteral("Maatschap De Vries"));
    EXPECT_TRUE(chart.axisAuto(kAxisX));
    EXPECT_TRUE(chart.axisAuto(kAxisY));
    EXPECT_TRUE(chart.axisScaleVisible(kAxisX));
    EXPECT_TRUE(chart.shown());
    EXPECT_TRUE(chart.repaintOn());
}

TEST(DrawBubble, EmptyGridGivesAnEmptyChartThatIsShown) {
    ChartModel chart;
    drawBubble(chart, {bron(1, 155000, 463000)}, QStringLiteral("A"), true, true);
    drawBubble(chart, {}, QStringLiteral("Bedrijf B"), true, false);
    EXPECT_EQ(chart.rowCount(), 1);
    EXPECT_EQ(chart.columnCount(), 3);
    EXPECT_TRUE(chart.bubbles().empty());
    EXPECT_EQ(chart.footnote(), QStringLiteral("Bedrijf B"));
    EXPECT_FALSE(chart.axisGridVisible(kAxisX));
    EXPECT_TRUE(chart.shown());
}

// The equal-scale rule: the axis with the smaller automatic span is fixed from its own minimum
// over the other axis' span, with the other axis' divisions; the other stays automatic.
TEST(DrawBubble, EqualScaleStretchesTheSmallerSpan) {
    struct Case {
        const char* name;
        Gridq gridq;
        int fixedAxis;
    };
    const Case cases[] = {
        {"wider_than_tall", {bron(1, 154000, 463000), ggl(2, 158000, 463400, 3, 0)}, kAxisY},
        {"taller_than_wide", {bron(1, 155000, 460000), ggl(2, 155300, 466000, 3, 0)}, kAxisX},
        {"equal_spans", {bron(1, 155000, 463000), ggl(2, 156000, 464000, 3, 0)}, kAxisX},
        {"single_point", {bron(1, 155123, 463456)}, kAxisX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChartModel reference;
        drawBubble(reference, c.gridq, QString(), false, false);
        const Scale autoX = reference.scale(kAxisX);
        const Scale autoY = reference.scale(kAxisY);

        ChartModel chart;
        drawBubble(chart, c.gridq, QString(), true, false);
        const int other = c.fixedAxis == kAxisX ? kAxisY : kAxisX;
        const Scale own = c.fixedAxis == kAxisX ? autoX : autoY;
        const Scale wide = c.fixedAxis == kAxisX ? autoY : autoX;
        EXPECT_FALSE(chart.axisAuto(c.fixedAxis));
        EXPECT_TRUE(chart.axisAuto(other));
        EXPECT_EQ(chart.scale(other), wide);
        EXPECT_EQ(chart.scale(c.fixedAxis),
                  (Scale{own.minimum, own.minimum + (wide.maximum - wide.minimum),
                         wide.majorDivision, wide.minorDivision}));
        // Both axes span as many metres.
        EXPECT_EQ(chart.axisMaximum(kAxisX) - chart.axisMinimum(kAxisX),
                  chart.axisMaximum(kAxisY) - chart.axisMinimum(kAxisY));
        for (const auto& b : chart.bubbles()) {
            EXPECT_GE(b.x, chart.axisMinimum(kAxisX));
            EXPECT_LE(b.x, chart.axisMaximum(kAxisX));
            EXPECT_GE(b.y, chart.axisMinimum(kAxisY));
            EXPECT_LE(b.y, chart.axisMaximum(kAxisY));
        }

        // Switched off again, the next drawing has both scales automatic.
        drawBubble(chart, c.gridq, QString(), false, false);
        EXPECT_TRUE(chart.axisAuto(kAxisX));
        EXPECT_TRUE(chart.axisAuto(kAxisY));
        EXPECT_EQ(chart.scale(kAxisX), autoX);
        EXPECT_EQ(chart.scale(kAxisY), autoY);
    }
}

TEST(GridToggle, SetsThePensOnlyAndKeepsTheData) {
    ChartModel chart;
    gridToggle(chart, true);  // before any drawing
    EXPECT_TRUE(chart.axisGridVisible(kAxisX));
    EXPECT_TRUE(chart.axisGridVisible(kAxisY));
    EXPECT_FALSE(chart.shown());
    EXPECT_EQ(chart.columnCount(), 0);

    const Gridq gridq = {bron(1, 155000, 463000), ggl(2, 156000, 463500, 2, 1)};
    drawBubble(chart, gridq, QStringLiteral("B"), true, true);
    EXPECT_TRUE(chart.axisGridVisible(kAxisX));
    const Scale x = chart.scale(kAxisX);
    const Scale y = chart.scale(kAxisY);
    gridToggle(chart, false);
    EXPECT_FALSE(chart.axisGridVisible(kAxisX));
    EXPECT_FALSE(chart.axisGridVisible(kAxisY));
    EXPECT_EQ(chart.bubbles().size(), 2u);
    EXPECT_EQ(chart.scale(kAxisX), x);
    EXPECT_EQ(chart.scale(kAxisY), y);
    EXPECT_TRUE(chart.repaintOn());
}

TEST(ResizeLayout, MinimumSizeAndChartPlace) {
    struct Case {
        const char* name;
        DialogRect header;
        int width, height;
        WindowLayout expected;
    };
    const Case cases[] = {
        {"calculation_window_at_design_size",
         kBerekenenHeader,
         665,
         330,
         {665, 340, {269, 1, 392, 320}}},
        {"calculation_window_too_small", kBerekenenHeader, 100, 100, {315, 340, {269, 1, 42, 320}}},
        {"viewer_at_design_size", kBekijkenHeader, 669, 390, {669, 399, {269, 1, 396, 379}}},
        {"viewer_large", kBekijkenHeader, 1000, 700, {1000, 700, {269, 1, 727, 680}}},
        // The width leaves the region's x out of the subtraction.
        {"region_not_at_the_left",
         DialogRect{10, 0, 200, 300},
         400,
         400,
         {400, 400, {214, 1, 192, 380}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(resizeLayout(c.header, c.width, c.height), c.expected) << c.name;
    }
}

TEST(LayoutChart, SquarePlotAndDrawingResumed) {
    ChartModel chart;
    chart.setRepaint(false);
    layoutChart(&chart);
    EXPECT_FALSE(chart.plotAutoLayout());
    EXPECT_EQ(chart.plotLocationRect(), QRectF(0, 0, 90, 90));
    EXPECT_TRUE(chart.repaintOn());
    layoutChart(nullptr);  // without a chart nothing happens
}

TEST(CreateOcx, MessageText) {
    EXPECT_EQ(createOcxErrorText(QStringLiteral("geen geheugen")),
              QStringLiteral("Er is een fout opgetreden bij het aanmaken van de grafische "
                             "component. Fout: geen geheugen"));
}

}  // namespace
