// The Calculation window and the name dialog, driven through their controls with the test model
// library (put first on the library path by ctest).

#include "calculation/messages.h"
#include "calculation/saving.h"
#include "calculation/window/ui/berekenen_window.h"
#include "platform/model_library.h"
#include "platform/ui/record_list.h"
#include "platform/ui_chart/chart_control.h"
#include "presentation/ui/bubble_chart_host.h"
#include "window_fixture.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using testing_ui::Fixture;

namespace {

QStringList fileLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

int pings(const Fixture& f) {
    return static_cast<int>(fileLines(f.parent.filePath(QStringLiteral("ping.log"))).size());
}

// The window of a fixture, with the test model.
struct Window {
    explicit Window(Fixture& f) : fixture(f) {
        if (!model.isLoaded()) {
            QVERIFY2(model.load(), qPrintable(model.errorText()));
        }
        calculation::BerekenenContext context{*f.dict,   f.messages,   f.busy, f.clock,
                                              f.paths(), model.ping(), {}};
        window = std::make_unique<ui::BerekenenWindow>(context, *f.services, f.opener);
        window->open();
    }
    ~Window() {
        if (window) {
            window->accept();
        }
    }
    template <typename T>
    T* get(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QPushButton* button(const char* name) const { return get<QPushButton>(name); }
    void choose(int index) const { emit get<QComboBox>("?BED:NAAM")->activated(index); }
    void start() const { QTest::mouseClick(button("?STARTCALCULATIONSBUTTON"), Qt::LeftButton); }
    QString cell(int row, int column) const {
        auto* list = get<ui::RecordListView>("?LIST1");
        return list->model()->index(row, column).data().toString();
    }
    QColor cellColour(int row, int column) const {
        auto* list = get<ui::RecordListView>("?LIST1");
        return list->model()->index(row, column).data(Qt::ForegroundRole).value<QColor>();
    }
    calculation::BerekenenState& state() const { return window->presenter().state(); }

    Fixture& fixture;
    static inline platform::ModelLibrary model;
    std::unique_ptr<ui::BerekenenWindow> window;
};

}  // namespace

class TestBerekenenWindow : public QObject {
    Q_OBJECT
private slots:
    void opensWithItsControlsAndTheBufferedCompany();
    void startBeforeAnyCompany();
    void ownRoughness_data();
    void ownRoughness();
    void ownRoughnessSwitchedOffAgainDerivesIt();
    void calculationShowsLoadsChartAndReport();
    void failedRunAfterASuccessfulOne();
    void savingAfterAnotherCompanyAndCancelling();
};

void TestBerekenenWindow::opensWithItsControlsAndTheBufferedCompany() {
    Fixture f;
    const QList<int32_t> ids = f.import(testing_ui::kTwoCompanies);
    QCOMPARE(ids.size(), 2);
    // A previous window left "Akkerman" in the record buffer.
    f.dict->bedrijven().open();
    QCOMPARE(f.dict->bedrijven().fetch(store::Key::BED_By_Id, ids[1]), store::Status::Ok);
    f.dict->bedrijven().close();

    Window w(f);
    QCOMPARE(w.window->windowTitle(), QStringLiteral("SV06 - Berekenen"));
    struct Control {
        const char* name;
        QString text;
    };
    const Control buttons[] = {{"?STARTCALCULATIONSBUTTON", QStringLiteral("&Start berekenen")},
                               {"?SAVECALCBUTTON", QStringLiteral("&Berekeningen bewaren")},
                               {"?TOWORDBUTTON", QStringLiteral("Bekijk in &Word")},
                               {"?CLOSE", QStringLiteral("&Afsluiten")}};
    for (const Control& c : buttons) {
        QVERIFY2(w.button(c.name) != nullptr, c.name);
        QCOMPARE(w.button(c.name)->text(), c.text);
        QCOMPARE(w.button(c.name)->isEnabled(), QByteArray(c.name) != "?SAVECALCBUTTON");
    }
    QCOMPARE(w.get<QCheckBox>("?SHOWGRID")->isChecked(), false);
    QCOMPARE(w.get<QCheckBox>("?LOC:EQUALSCALE")->isChecked(), true);
    QCOMPARE(w.get<QCheckBox>("?EIGEN_RUWHEID")->isChecked(), false);
    auto* spin = w.get<QAbstractSpinBox>("?LOC:RUWHEID");
    auto* prompt = w.get<QLabel>("?RUWHEID:PROMPT");
    QVERIFY(!spin->isEnabled());
    QCOMPARE(spin->text().trimmed(), QStringLiteral("0,10"));
    QCOMPARE(prompt->text(), QStringLiteral("Berekende ruwheid:"));
    QCOMPARE(w.get<QLabel>("?STRING1")->text(), QStringLiteral("Gekozen bedrijf:"));
    QVERIFY(w.get<QLabel>("?STRING1")->font().bold());

    // The companies in the store's order, none chosen, the buffer's name shown.
    auto* company = w.get<QComboBox>("?BED:NAAM");
    QCOMPARE(company->count(), 2);
    QCOMPARE(company->itemText(0), QStringLiteral("Zeeman"));
    QCOMPARE(company->itemText(1), QStringLiteral("Akkerman"));
    QCOMPARE(company->currentIndex(), -1);
    QCOMPARE(company->placeholderText(), QStringLiteral("Akkerman"));
    QCOMPARE(w.get<ui::RecordListView>("?LIST1")->model()->rowCount(), 0);
    QCOMPARE(w.get<ui::RecordListView>("?LIST1")->model()->headerData(6, Qt::Horizontal),
             QVariant(QStringLiteral("Geur belasting")));
    QVERIFY(f.messages.messages.empty());

    // The roughness box is enabled exactly while "Eigen Ruwheid" is checked; the value stays.
    QTest::mouseClick(w.get<QCheckBox>("?EIGEN_RUWHEID"), Qt::LeftButton);
    QVERIFY(spin->isEnabled());
    QCOMPARE(prompt->text(), QStringLiteral("Eigen ruwheid:"));
    QTest::mouseClick(w.get<QCheckBox>("?EIGEN_RUWHEID"), Qt::LeftButton);
    QVERIFY(!spin->isEnabled());
    QCOMPARE(prompt->text(), QStringLiteral("Berekende ruwheid:"));
    QCOMPARE(spin->text().trimmed(), QStringLiteral("0,10"));

    // The chart stands right of the left-hand region and keeps the window at its minimum.
    auto* chart = w.window->chart().chart();
    QVERIFY(chart != nullptr);
    QVERIFY(chart->geometry().left() > w.get<QWidget>("?LIST1")->geometry().right());
    w.window->resize(100, 100);
    QVERIFY(w.window->width() > 100 && w.window->height() > 100);
}

void TestBerekenenWindow::startBeforeAnyCompany() {
    Fixture f;
    Window w(f);
    w.start();
    // The bounding box is all 0: the roughness falls back to 0.1 after its message, shown while
    // the cursor is busy; the run goes on without points.
    QCOMPARE(f.messages.texts(), QStringList{calculation::text::kYNietTussen});
    QCOMPARE(f.messages.busyAtMessage, std::vector<bool>{true});
    QCOMPARE(pings(f), 1);
    QVERIFY(!f.busy.busy());
    QVERIFY(w.button("?SAVECALCBUTTON")->isEnabled());
    const QString input = f.paths().inputDir;
    QCOMPARE(fileLines(input + QStringLiteral("GGL.dat")).size(), 1);
    const QStringList bronnen = fileLines(input + QStringLiteral("Bronnen.dat"));
    QCOMPARE(bronnen.size(), 2);
    QCOMPARE(bronnen[0], QStringLiteral("Dit is een bronneninvoer bestand voor bedrijf: gemaakt "
                                        "op:2026-12-11"));
    // Param.dat: no station, so no weather line; roughness 0.1.
    const QStringList param = fileLines(input + QStringLiteral("Param.dat"));
    QCOMPARE(param.size(), 11);
    QCOMPARE(param.value(9), QStringLiteral("0.1"));
}

void TestBerekenenWindow::ownRoughness_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<QString>("paramLine");
    QTest::newRow("1,5 refused") << QStringLiteral("1,50") << false << QString();
    QTest::newRow("1,0 runs as 1") << QStringLiteral("1,00") << true << QStringLiteral("1");
    QTest::newRow("0,35 typed, not left")
        << QStringLiteral("0,35") << true << QStringLiteral("0.35");
}

void TestBerekenenWindow::ownRoughness() {
    QFETCH(QString, typed);
    QFETCH(bool, runs);
    QFETCH(QString, paramLine);
    Fixture f;
    f.import(testing_ui::kTwoCompanies);
    Window w(f);
    w.choose(0);
    QTest::mouseClick(w.get<QCheckBox>("?EIGEN_RUWHEID"), Qt::LeftButton);
    auto* spin = w.get<QAbstractSpinBox>("?LOC:RUWHEID");
    auto* edit = spin->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    w.start();
    if (runs) {
        QVERIFY(f.messages.messages.empty());
        QCOMPARE(pings(f), 1);
        const QStringList param = fileLines(f.paths().inputDir + QStringLiteral("Param.dat"));
        QCOMPARE(param.value(10), paramLine);
        QVERIFY(w.button("?SAVECALCBUTTON")->isEnabled());
    } else {
        // Refused before anything is written or run, with the normal cursor.
        QCOMPARE(f.messages.texts(), QStringList{calculation::text::kRuwheidNietTussen});
        QCOMPARE(f.messages.busyAtMessage, std::vector<bool>{false});
        QCOMPARE(pings(f), 0);
        QVERIFY(!w.button("?SAVECALCBUTTON")->isEnabled());
        QVERIFY(w.button("?STARTCALCULATIONSBUTTON")->isEnabled());
    }
}

void TestBerekenenWindow::ownRoughnessSwitchedOffAgainDerivesIt() {
    Fixture f;
    f.import(testing_ui::kTwoCompanies);
    f.writeRoughness(155000, 463000, 0.25f);
    Window w(f);
    w.choose(0);
    auto* eigen = w.get<QCheckBox>("?EIGEN_RUWHEID");
    auto* spin = w.get<QAbstractSpinBox>("?LOC:RUWHEID");
    QTest::mouseClick(eigen, Qt::LeftButton);
    spin->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(spin->findChild<QLineEdit*>(), QStringLiteral("0,50"));
    QTest::mouseClick(eigen, Qt::LeftButton);
    w.start();
    QCOMPARE(fileLines(f.paths().inputDir + QStringLiteral("Param.dat")).value(10),
             QStringLiteral("0.25"));
    QCOMPARE(spin->text().trimmed(), QStringLiteral("0,25"));
    QCOMPARE(w.state().eigenRuwheid, uint8_t{0});

    // Closing keeps the window's place in its own section.
    w.window->accept();
    w.window.reset();
    QCOMPARE(f.settings->value(u"Berekenen", u"Maximize"), std::optional<QString>(u"No"_qs));
}

void TestBerekenenWindow::calculationShowsLoadsChartAndReport() {
    Fixture f;
    f.import(testing_ui::kTwoCompanies);
    f.writeRoughness(155000, 463000, 0.25f);
    Window w(f);
    QAbstractItemModelTester tester(w.get<ui::RecordListView>("?LIST1")->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    w.choose(0);
    QCOMPARE(w.get<ui::RecordListView>("?LIST1")->model()->rowCount(), 5);
    w.start();
    QVERIFY2(f.messages.messages.empty(), qPrintable(f.messages.texts().join(u'|')));

    // The derived roughness is shown in the disabled box.
    QCOMPARE(w.get<QAbstractSpinBox>("?LOC:RUWHEID")->text().trimmed(), QStringLiteral("0,25"));
    QVERIFY(!w.get<QAbstractSpinBox>("?LOC:RUWHEID")->isEnabled());

    // The test model gives location n the load standard × (n mod 3) × 0.75: number 3 none, 4
    // within its standard, 5 above it.
    struct Row {
        const char* nr;
        const char* type;
        const char* norm;
        const char* load;
        QColor colour;
    };
    const Row expected[] = {{"1", "B", "", "", QColor()},
                            {"2", "B", "", "", QColor()},
                            {"3", "G", "2,0", "", QColor(Qt::black)},
                            {"4", "G", "3,0", "2,3", QColor(Qt::black)},
                            {"5", "G", "8,0", "12,0", QColor(Qt::red)}};
    for (int r = 0; r < 5; ++r) {
        QCOMPARE(w.cell(r, 0).trimmed(), QString::fromLatin1(expected[r].nr));
        QCOMPARE(w.cell(r, 4).trimmed(), QString::fromLatin1(expected[r].type));
        QCOMPARE(w.cell(r, 5).trimmed(), QString::fromLatin1(expected[r].norm));
        QCOMPARE(w.cell(r, 6).trimmed(), QString::fromLatin1(expected[r].load));
        QCOMPARE(w.cellColour(r, 6), expected[r].colour);
    }
    QCOMPARE(w.cell(0, 1), QStringLiteral("EP1"));
    QCOMPARE(w.cell(0, 2).trimmed(), QStringLiteral("155 000"));
    QCOMPARE(w.state().locVersienrregel, QStringLiteral("Testmodel 1.0"));

    // The chart's labels and colours follow the list; so do the report's numbers.
    const auto bubbles = w.window->chart().chart()->bubbles();
    QCOMPARE(static_cast<int>(bubbles.size()), 5);
    const presentation::ReportInput report = w.window->presenter().reportInput();
    const auto bronRows = presentation::bronTableRows(report.gridq);
    const auto gglRows = presentation::gglTableRows(report.gridq);
    QStringList reportNumbers;
    for (size_t i = 1; i < bronRows.size(); ++i) {
        reportNumbers << bronRows[i].value(0);
    }
    for (size_t i = 1; i < gglRows.size(); ++i) {
        reportNumbers << gglRows[i].value(0);
    }
    QStringList listNumbers;
    QStringList bubbleLabels;
    for (int r = 0; r < 5; ++r) {
        listNumbers << w.cell(r, 0).trimmed();
        bubbleLabels << bubbles[static_cast<size_t>(r)].label;
    }
    QCOMPARE(bubbleLabels, listNumbers);
    QCOMPARE(reportNumbers, listNumbers);
    QCOMPARE(bubbles[0].colour, 0xFF0000u);
    QCOMPARE(bubbles[3].colour, 0x00FF00u);
    QCOMPARE(bubbles[4].colour, 0x0000FFu);

    // Not saved: the report names the calculation "Nog niet bekend" and is opened.
    QTest::mouseClick(w.button("?TOWORDBUTTON"), Qt::LeftButton);
    QCOMPARE(report.facts.naam, presentation::kNogNietBekend);
    QCOMPARE(f.opener.opened.size(), 1);
    QVERIFY(f.opener.opened[0].startsWith(f.paths().outputDir));
    QVERIFY(QFile::exists(f.opener.opened[0]));
}

void TestBerekenenWindow::failedRunAfterASuccessfulOne() {
    Fixture f;
    f.import(testing_ui::kTwoCompanies);
    f.writeRoughness(155000, 463000, 0.25f);
    Window w(f);
    w.choose(0);
    w.start();
    QVERIFY(w.button("?SAVECALCBUTTON")->isEnabled());
    const QString loadBefore = w.cell(4, 6);

    qputenv("VV_FAKE_MODEL_CODE", "-2");
    w.start();
    QCOMPARE(f.messages.texts(),
             QStringList{QStringLiteral("14:05:07 Simulatie niet goed beeindigd, kontroleer uw "
                                        "instellingen en begin opnieuw! code:-2")});
    QCOMPARE(f.messages.busyAtMessage, std::vector<bool>{false});
    QVERIFY(!w.button("?SAVECALCBUTTON")->isEnabled());
    QVERIFY(w.button("?STARTCALCULATIONSBUTTON")->isEnabled());
    // The locations stay in front, each keeping its number and its earlier load.
    const QStringList order = {w.cell(0, 0).trimmed(), w.cell(1, 0).trimmed(),
                               w.cell(2, 0).trimmed(), w.cell(3, 0).trimmed(),
                               w.cell(4, 0).trimmed()};
    QCOMPARE(order, (QStringList{QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
                                 QStringLiteral("1"), QStringLiteral("2")}));
    QCOMPARE(w.cell(2, 6), loadBefore);
    QCOMPARE(w.cellColour(2, 6), QColor(Qt::red));
}

void TestBerekenenWindow::savingAfterAnotherCompanyAndCancelling() {
    Fixture f;
    const QList<int32_t> ids = f.import(testing_ui::kTwoCompanies);
    f.writeRoughness(155000, 463000, 0.25f);
    Window w(f);
    w.choose(0);
    f.clock.set(QDateTime(QDate(2026, 12, 11), QTime(9, 0, 0)));
    w.start();
    const int32_t runtime = w.state().runtime;

    // Another company: its points with empty loads, saving still possible.
    w.choose(1);
    QCOMPARE(w.get<ui::RecordListView>("?LIST1")->model()->rowCount(), 2);
    QCOMPARE(w.cell(1, 6).trimmed(), QString());
    QVERIFY(w.button("?SAVECALCBUTTON")->isEnabled());

    f.clock.set(QDateTime(QDate(2026, 12, 12), QTime(10, 30, 0)));
    QStringList seen;
    testing_ui::answerNameDialog(QStringLiteral("Variant B"), &seen);
    QTest::mouseClick(w.button("?SAVECALCBUTTON"), Qt::LeftButton);
    QCOMPARE(seen, (QStringList{QStringLiteral("SV07 - Berekening en bijbehorende instellingen "
                                               "bewaren"),
                                QStringLiteral("Naam voor deze berekening:"),
                                QStringLiteral("Naam waaronder deze berekening opgeslagen wordt"),
                                QString()}));
    const int32_t saved = w.state().saveResult;
    QVERIFY(saved != 0);
    QVERIFY(!f.busy.busy());

    store::BerekeningenFile& ber = f.dict->berekeningen();
    f.dict->berekeningenRelations().open();
    QCOMPARE(ber.fetch(store::Key::BER_By_ID, saved), store::Status::Ok);
    QCOMPARE(store::text(ber.record().naam), QStringLiteral("Variant B"));
    QCOMPARE(ber.record().fk, ids[1]);
    const double ruwheid = ber.record().ruwheid;  // packed record: read by value
    QCOMPARE(ruwheid, 0.25);
    QCOMPARE(ber.record().rekentijd, runtime);
    QCOMPARE(store::text(ber.record().wolkanversienr), QStringLiteral("Testmodel 1.0"));
    QCOMPARE(ber.record().berDatum, presentation::dayNumber(QDate(2026, 12, 12)));
    QCOMPARE(f.dict->berbron().records(), 1);
    QCOMPARE(f.dict->berggl().records(), 1);
    f.dict->berggl().set(store::Key::BG_By_Fk, saved);
    QCOMPARE(f.dict->berggl().next(), store::Status::Ok);
    const double load = f.dict->berggl().record().geurbelasting;
    QCOMPARE(load, 0.0);
    f.dict->berekeningenRelations().close();
    // The report now names the saved calculation.
    QCOMPARE(w.window->presenter().reportInput().facts.naam, QStringLiteral("Variant B"));

    // Cancelled: nothing stored, and the report no longer refers to the saved one.
    testing_ui::answerNameDialog(std::nullopt);
    QTest::mouseClick(w.button("?SAVECALCBUTTON"), Qt::LeftButton);
    QCOMPARE(w.state().saveResult, 0);
    QCOMPARE(f.records(f.dict->berekeningen()), 1);
    QCOMPARE(w.window->presenter().reportInput().facts.naam, presentation::kNogNietBekend);
    QVERIFY(f.messages.messages.empty());
}

QTEST_MAIN(TestBerekenenWindow)
#include "test_berekenen_window.moc"
