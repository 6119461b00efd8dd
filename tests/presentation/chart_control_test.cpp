// The chart as the windows show it: the Qt Charts objects after DRAWBUBBLE, the map scale, the
// grid toggle, the exported bitmap, CREATEOCX's failure and the resize rule on a real window.

#include "platform/ui_chart/chart_control.h"
#include "docx_reader.h"
#include "platform/ui/core/busy_cursor.h"
#include "platform/ui/dialog_units.h"
#include "presentation/ui/bubble_chart_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

namespace {

using calculation::Gridq;
using calculation::GridqRow;
using platform::ui_chart::ChartControl;
using platform::ui_chart::kAxisX;
using platform::ui_chart::kAxisY;
using namespace presentation;

GridqRow row(int nr, QChar type, int x, int y, double limit = 0, double value = 0) {
    GridqRow r;
    r.volgnummer = nr;
    r.type = type;
    r.xPos = x;
    r.yPos = y;
    r.limit = limit;
    r.value = value;
    return r;
}

const Gridq kSite = {row(1, u'B', 155000, 463000), row(2, u'B', 155400, 463100),
                     row(3, u'G', 156800, 463300, 3, 2), row(4, u'G', 155100, 463700, 3, 4.5)};

std::vector<QScatterSeries*> scatter(const ChartControl& c) {
    std::vector<QScatterSeries*> out;
    for (auto* s : c.chart()->series()) {
        out.push_back(qobject_cast<QScatterSeries*>(s));
    }
    return out;
}

TEST(ChartControl, StateAfterDrawBubble) {
    ChartControl chart;
    chart.resize(700, 500);
    layoutChart(&chart);
    EXPECT_FALSE(chart.isVisible());
    drawBubble(chart, kSite, QStringLiteral("Maatschap <Jansen> & Zn  "), true, false);

    const auto series = scatter(chart);
    ASSERT_EQ(series.size(), 4u);
    const QColor colours[] = {Qt::blue, Qt::blue, Qt::green, Qt::red};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(series[i], nullptr);
        ASSERT_EQ(series[i]->count(), 1);
        EXPECT_EQ(series[i]->at(0), QPointF(kSite[i].xPos, kSite[i].yPos));
        EXPECT_EQ(series[i]->color(), colours[i]);
        EXPECT_TRUE(series[i]->pointLabelsVisible());
        EXPECT_EQ(series[i]->pointLabelsFormat(), QString::number(kSite[i].volgnummer));
        EXPECT_FALSE(series[i]->pointLabelsClipping());
        EXPECT_EQ(series[i]->markerSize(), 15.0);
    }
    for (int a : {kAxisX, kAxisY}) {
        const auto s = chart.scale(a);
        EXPECT_EQ(chart.axis(a)->min(), s.minimum);
        EXPECT_EQ(chart.axis(a)->max(), s.maximum);
        EXPECT_EQ(chart.axis(a)->tickCount(), s.majorDivision + 1);
        EXPECT_FALSE(chart.axis(a)->isGridLineVisible());
        EXPECT_FALSE(chart.axis(a)->titleText().isEmpty());
    }
    EXPECT_EQ(chart.footnoteLabel()->text(), QStringLiteral("Maatschap <Jansen> & Zn"));
    EXPECT_TRUE(chart.isVisible());
}

// A map: equal spans in a square plot give as many pixels per metre across as up, and the
// bubbles keep their size in pixels whatever the span.
TEST(ChartControl, SquarePlotWithEqualScaleReadsAsAMap) {
    for (const QSize size : {QSize(700, 500), QSize(400, 900)}) {
        ChartControl chart;
        chart.resize(size);
        layoutChart(&chart);
        drawBubble(chart, kSite, QString(), true, false);
        const QRectF plot = chart.chart()->plotArea();
        ASSERT_GT(plot.width(), 100);
        const double perMetreX =
            plot.width() / (chart.axis(kAxisX)->max() - chart.axis(kAxisX)->min());
        const double perMetreY =
            plot.height() / (chart.axis(kAxisY)->max() - chart.axis(kAxisY)->min());
        EXPECT_NEAR(perMetreX, perMetreY, 1e-9) << size.width();
        EXPECT_LE(plot.right(), size.width());
        EXPECT_LE(plot.bottom(), size.height());
    }
    ChartControl wide;
    layoutChart(&wide);
    drawBubble(wide, {row(1, u'B', 10000, 300000), row(2, u'G', 280000, 620000)}, QString(), true,
               false);
    for (auto* s : scatter(wide)) {
        EXPECT_EQ(s->markerSize(), 15.0);
    }
}

TEST(ChartControl, GridToggleKeepsTheSeries) {
    ChartControl chart;
    layoutChart(&chart);
    drawBubble(chart, kSite, QString(), true, false);
    const auto before = scatter(chart);
    gridToggle(chart, true);
    EXPECT_TRUE(chart.axis(kAxisX)->isGridLineVisible());
    EXPECT_TRUE(chart.axis(kAxisY)->isGridLineVisible());
    // The same series objects: the data were not drawn again.
    EXPECT_EQ(scatter(chart), before);
    gridToggle(chart, false);
    EXPECT_FALSE(chart.axis(kAxisX)->isGridLineVisible());
    drawBubble(chart, kSite, QString(), true, true);
    EXPECT_TRUE(chart.axis(kAxisY)->isGridLineVisible());
}

TEST(ChartControl, EmptyGridIsAnEmptyChart) {
    ChartControl chart;
    drawBubble(chart, {}, QStringLiteral("Leeg"), true, false);
    EXPECT_TRUE(chart.chart()->series().isEmpty());
    EXPECT_TRUE(chart.isVisible());
    EXPECT_EQ(chart.footnoteLabel()->text(), QStringLiteral("Leeg"));
}

int countPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

TEST(ChartControl, WritesTheDrawnChartAsBitmap) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("WordPlot.bmp"));
    ASSERT_TRUE(drawChartPicture(kSite, QStringLiteral("Maatschap Jansen"), path, QSize(640, 560)));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(2) == "BM");
    const QImage image(path);
    ASSERT_EQ(image.size(), QSize(640, 560));
    // The bubbles' fills are in the picture.
    EXPECT_GT(countPixels(image, qRgb(0, 0, 255)), 50);
    EXPECT_GT(countPixels(image, qRgb(255, 0, 0)), 50);
    EXPECT_GT(countPixels(image, qRgb(0, 255, 0)), 50);
    // A path that cannot be written.
    ChartControl chart;
    EXPECT_FALSE(chart.writePictureToFile(dir.filePath(QStringLiteral("no/such/dir/x.bmp"))));
}

struct Window {
    QWidget widget;
    platform::RecordingSink messages;
};

TEST(BubbleChartHost, CreateOcxFailureIsReportedAndTheWindowWorksOn) {
    Window w;
    BubbleChartHost host(w.widget, kBekijkenHeader, w.messages,
                         [](QWidget*, QString* error) -> std::unique_ptr<ChartControl> {
                             *error = QStringLiteral("klasse niet geregistreerd");
                             return nullptr;
                         });
    host.createOcx();
    ASSERT_EQ(w.messages.texts(),
              QStringList{createOcxErrorText(QStringLiteral("klasse niet geregistreerd"))});
    EXPECT_EQ(w.messages.titles(), QStringList{QString()});
    EXPECT_EQ(host.chart(), nullptr);
    host.drawBubble(kSite, QStringLiteral("A"));
    host.gridToggle();
    EXPECT_TRUE(host.writePicture(QDir::tempPath()).isEmpty());
    // The minimum size holds without a chart too.
    const ui::DialogUnits units(w.widget.font());
    EXPECT_EQ(w.widget.minimumSize(), units.size(315, 399));
}

TEST(BubbleChartHost, ChartPlacedRightOfTheRegionAfterEveryResize) {
    Window w;
    BubbleChartHost host(w.widget, kBerekenenHeader, w.messages);
    const ui::DialogUnits units(w.widget.font());
    w.widget.resize(units.size(665, 330));
    host.createOcx();
    ASSERT_NE(host.chart(), nullptr);
    EXPECT_TRUE(w.messages.messages.empty());
    EXPECT_FALSE(host.chart()->isVisibleTo(&w.widget));
    EXPECT_EQ(w.widget.size(), units.size(665, 340));  // raised to the minimum height
    EXPECT_EQ(host.chart()->geometry(), units.rect(269, 1, 392, 320));

    w.widget.show();
    w.widget.resize(units.size(900, 600));
    QTRY_COMPARE(host.chart()->geometry(), units.rect(269, 1, 900 - 273, 580));
    // Made smaller than the minimum: enlarged again.
    w.widget.resize(units.size(100, 100));
    QTRY_COMPARE(w.widget.size(), units.size(315, 340));
    EXPECT_EQ(host.chart()->geometry(), units.rect(269, 1, 42, 320));

    // CREATEOCX again replaces the chart.
    const auto* first = host.chart();
    host.createOcx();
    EXPECT_NE(host.chart(), nullptr);
    EXPECT_EQ(w.widget.findChildren<ChartControl*>().size(), 1);
    (void)first;
}

TEST(BubbleChartHost, CheckBoxesFollowTheFlags) {
    Window w;
    BubbleChartHost host(w.widget, kBekijkenHeader, w.messages);
    host.createOcx();
    auto* grid = new QCheckBox(QStringLiteral("Grid aan"), &w.widget);
    grid->setObjectName(QStringLiteral("?SHOWGRID"));
    auto* equal = new QCheckBox(QStringLiteral("Gelijke schaal"), &w.widget);
    equal->setObjectName(QStringLiteral("?LOC:EQUALSCALE"));
    int redraws = 0;
    host.bindCheckBoxes(grid, equal, [&] {
        ++redraws;
        host.drawBubble(kSite, QStringLiteral("A"));
    });
    w.widget.show();
    EXPECT_FALSE(grid->isChecked());
    EXPECT_TRUE(equal->isChecked());
    EXPECT_FALSE(grid->isVisible());

    host.drawBubble(kSite, QStringLiteral("A"));
    EXPECT_TRUE(grid->isVisible());
    EXPECT_FALSE(host.chart()->axisAuto(kAxisX) && host.chart()->axisAuto(kAxisY));

    const auto seriesBefore = host.chart()->chart()->series();
    QTest::mouseClick(grid, Qt::LeftButton);
    EXPECT_TRUE(host.showGrid());
    EXPECT_TRUE(host.chart()->axis(kAxisX)->isGridLineVisible());
    EXPECT_EQ(redraws, 0);

    QTest::mouseClick(equal, Qt::LeftButton);
    EXPECT_FALSE(host.equalScale());
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(host.chart()->axisAuto(kAxisX));
    EXPECT_TRUE(host.chart()->axisAuto(kAxisY));
    EXPECT_TRUE(host.chart()->axis(kAxisY)->isGridLineVisible());
}

class ScriptedOpener : public DocumentOpener {
public:
    bool open(const QString& path) override {
        opened << path;
        return result;
    }
    QStringList opened;
    bool result = true;
};

// "Bekijk in Word" of a window: the drawn chart goes to WordPlot.bmp in the home directory and
// into the document; without a chart no picture is put in, not even one left by an earlier report.
TEST(BubbleChartHost, ReportOfTheWindowCarriesTheDrawnChart) {
    QTemporaryDir home;
    QTemporaryDir out;
    const QString plot = QDir(home.path()).filePath(QStringLiteral("WordPlot.bmp"));
    ReportInput in;
    in.facts = unsavedFacts(false, 0.1, 0, QStringLiteral("v"), QDateTime::currentDateTime());
    in.gridq = kSite;
    in.moment = QDateTime(QDate(2026, 12, 11), QTime(14, 0));

    Window w;
    BubbleChartHost host(w.widget, kBerekenenHeader, w.messages);
    host.createOcx();
    w.widget.resize(900, 700);
    host.drawBubble(kSite, QStringLiteral("A"));
    ScriptedOpener opener;
    ui::RecordingBusyCursor busy;
    const ReportResult r = makeReport(host, in, home.path() + QStringLiteral("  "), out.path(),
                                      w.messages, opener, &busy);
    ASSERT_EQ(r.status, ReportStatus::Opened);
    EXPECT_FALSE(busy.busy());
    QFile picture(plot);
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    QFile doc(r.path);
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    auto parts = docx_test::unzip(doc.readAll());
    EXPECT_EQ(parts[QStringLiteral("word/media/picture1.bmp")], picture.readAll());

    Window broken;
    BubbleChartHost none(broken.widget, kBerekenenHeader, broken.messages,
                         [](QWidget*, QString*) { return std::unique_ptr<ChartControl>(); });
    none.createOcx();
    in.moment = in.moment.addSecs(1);
    const ReportResult without =
        makeReport(none, in, home.path(), out.path(), broken.messages, opener);
    ASSERT_EQ(without.status, ReportStatus::Opened);
    QFile second(without.path);
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_FALSE(
        docx_test::unzip(second.readAll()).count(QStringLiteral("word/media/picture1.bmp")));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
