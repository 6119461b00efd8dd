// The whole road of a calculation through the windows, with the real model library: a company
// imported, chosen and calculated in the Calculation window, saved under a name and reported;
// then, in the viewer that opens on the same record buffers, listed, shown, reported and deleted.

#include "calculation/window/ui/berekenen_window.h"
#include "platform/model_library.h"
#include "platform/ui/record_list.h"
#include "platform/ui_chart/chart_control.h"
#include "presentation/ui/bubble_chart_host.h"
#include "presentation/viewer/ui/bekijken_window.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestRoad : public QObject {
    Q_OBJECT
private slots:
    void calculateSaveViewReportDelete();
};

void TestRoad::calculateSaveViewReportDelete() {
    testing_ui::Fixture f;
    // The model finds Input and Output beside the working directory.
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(f.home()));
    const QList<int32_t> ids = f.import(testing_ui::kTwoCompanies);
    QCOMPARE(ids.size(), 2);
    f.writeRoughness(155000, 463000, 0.3f);

    platform::ModelLibrary model;
    QVERIFY2(model.load(), qPrintable(model.errorText()));
    QVERIFY2(!model.path().contains(QStringLiteral("fake-model")), qPrintable(model.path()));
    calculation::BerekenenContext context{*f.dict,   f.messages,   f.busy, f.clock,
                                          f.paths(), model.ping(), {}};
    QString saved;
    {
        ui::BerekenenWindow w(context, *f.services, f.opener);
        w.open();
        emit w.findChild<QComboBox*>(QStringLiteral("?BED:NAAM"))->activated(0);
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("?STARTCALCULATIONSBUTTON")),
                          Qt::LeftButton);
        QVERIFY2(f.messages.messages.empty(), qPrintable(f.messages.texts().join(u'|')));
        const calculation::BerekenenState& state = w.presenter().state();
        QVERIFY(state.pingReturn >= 0);
        QVERIFY(state.locVersienrregel.contains(QStringLiteral("SYNTHETISCHE METEO")));
        // Every location got a load.
        for (const calculation::GridqRow& row : state.gridq) {
            if (row.isGgl()) {
                QVERIFY2(row.value > 0, qPrintable(row.userId));
                QVERIFY(row.colorNfg == 0 || row.colorNfg == 0x0000FF);
            }
        }
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("?SAVECALCBUTTON"))->isEnabled());

        testing_ui::answerNameDialog(QStringLiteral("Aanvraag 2026"));
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("?SAVECALCBUTTON")),
                          Qt::LeftButton);
        QVERIFY(state.saveResult != 0);
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("?TOWORDBUTTON")),
                          Qt::LeftButton);
        QCOMPARE(f.opener.opened.size(), 1);
        saved = f.opener.opened[0];
        QVERIFY(saved.contains(QStringLiteral("Aanvraag 2026")));
        QVERIFY(QFile::exists(f.home() + QStringLiteral("/WordPlot.bmp")));
        w.accept();
    }

    // The viewer opens on the company the Calculation window left in the buffer.
    presentation::BekijkenContext viewContext{*f.dict, f.messages, f.busy, f.clock};
    ui::BekijkenWindow v(viewContext, *f.services, f.opener, f.paths().outputDir);
    v.open();
    QCOMPARE(v.findChild<QComboBox*>(QStringLiteral("?BED:NAAM"))->placeholderText(),
             QStringLiteral("Zeeman"));
    auto* list = v.findChild<ui::RecordListView*>(QStringLiteral("?LIST"));
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(list->model()->index(0, 0).data().toString().trimmed(),
             QStringLiteral("Aanvraag 2026"));
    QCOMPARE(v.findChild<QLabel*>(QStringLiteral("?RUWHEID:PROMPT"))->text(),
             QStringLiteral("Berekende ruwheid:"));
    auto* points = v.findChild<ui::RecordListView*>(QStringLiteral("?LIST1"));
    QCOMPARE(points->model()->rowCount(), 5);
    QCOMPARE(static_cast<int>(v.chart().chart()->bubbles().size()), 5);

    QTest::mouseClick(v.findChild<QPushButton*>(QStringLiteral("?TOWORDBUTTON")), Qt::LeftButton);
    QCOMPARE(f.opener.opened.size(), 2);
    QVERIFY(f.opener.opened[1] != saved);

    f.messages.answers.push_back(platform::Yes);  // "Confirm Delete"
    QTest::mouseClick(v.findChild<QPushButton*>(QStringLiteral("?DELETE")), Qt::LeftButton);
    QCOMPARE(f.messages.titles(), QStringList{QStringLiteral("Confirm Delete")});
    QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(!v.findChild<QPushButton*>(QStringLiteral("?DELETE"))->isEnabled());
    v.accept();
    QCOMPARE(f.records(f.dict->berekeningen()), 0);
    QCOMPARE(f.records(f.dict->berbron()), 0);
    QCOMPARE(f.records(f.dict->berggl()), 0);
    QDir::setCurrent(before);
}

QTEST_MAIN(TestRoad)
#include "test_road.moc"
