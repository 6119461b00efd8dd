// The Saved-calculation viewer, driven through its controls on calculations saved beforehand.

#include "calculation/bedrijf.h"
#include "calculation/saving.h"
#include "platform/ui/numeric_edit.h"
#include "platform/ui/record_list.h"
#include "platform/ui_chart/chart_control.h"
#include "presentation/ui/bubble_chart_host.h"
#include "presentation/viewer/ui/bekijken_window.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using testing_ui::Fixture;

namespace {

// Saves a calculation of the company with `bedId`, its locations given `loads` in row order.
int32_t saveCalculation(Fixture& f, int32_t bedId, const QString& naam, bool eigen, double ruwheid,
                        const std::vector<double>& loads) {
    store::Dictionary& dict = *f.dict;
    dict.bedrijvenRelations().open();
    (void)dict.bedrijven().fetch(store::Key::BED_By_Id, bedId);
    calculation::BerekenenState state;
    calculation::getBedrijf(state, dict);
    size_t next = 0;
    for (calculation::GridqRow& row : state.gridq) {
        if (row.isGgl() && next < loads.size()) {
            calculation::setLoad(row, loads[next++]);
        }
    }
    const int32_t id =
        calculation::saveResults(dict, f.messages, f.clock, naam, bedId, 1234, eigen ? 1 : 0,
                                 ruwheid, QStringLiteral("Model 2.0"));
    (void)calculation::saveFrozenCopy(dict, state.gridq, id);
    dict.bedrijvenRelations().close();
    return id;
}

struct Viewer {
    explicit Viewer(Fixture& f) {
        presentation::BekijkenContext context{*f.dict, f.messages, f.busy, f.clock};
        window = std::make_unique<ui::BekijkenWindow>(context, *f.services, f.opener,
                                                      f.paths().outputDir);
        window->open();
    }
    ~Viewer() { window->accept(); }
    template <typename T>
    T* get(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QAbstractItemModel* saved() const { return get<ui::RecordListView>("?LIST")->model(); }
    QAbstractItemModel* points() const { return get<ui::RecordListView>("?LIST1")->model(); }
    QString point(int row, int column) const {
        return points()->index(row, column).data().toString().trimmed();
    }
    void remove() const { QTest::mouseClick(get<QPushButton>("?DELETE"), Qt::LeftButton); }

    std::unique_ptr<ui::BekijkenWindow> window;
};

}  // namespace

class TestBekijkenWindow : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheBufferedCompanyAndShowsItsCalculations();
    void companyWithoutCalculations();
    void deletingAfterConfirmationUpToTheLast();
};

void TestBekijkenWindow::opensOnTheBufferedCompanyAndShowsItsCalculations() {
    Fixture f;
    const QList<int32_t> ids = f.import(testing_ui::kTwoCompanies);
    // Location 3 exactly at its standard, 4 without load, 5 above its standard.
    saveCalculation(f, ids[0], QStringLiteral("Eerste"), false, 0.1234, {2.0, 0.0, 9.5});
    saveCalculation(f, ids[0], QStringLiteral("Tweede"), true, 0.25, {1.0, 1.0, 1.0});

    Viewer v(f);  // the buffer holds "Zeeman", left by the saving
    QCOMPARE(v.window->windowTitle(), QStringLiteral("SV08 - Bekijken van gemaakte berekeningen"));
    auto* company = v.get<QComboBox>("?BED:NAAM");
    QCOMPARE(company->currentIndex(), -1);
    QCOMPARE(company->placeholderText(), QStringLiteral("Zeeman"));
    // Oldest company first.
    QCOMPARE(company->itemText(0), QStringLiteral("Akkerman"));
    QCOMPARE(company->itemText(1), QStringLiteral("Zeeman"));
    QVERIFY(v.get<QCheckBox>("?LOC:EQUALSCALE")->isChecked());
    QVERIFY(!v.get<QCheckBox>("?SHOWGRID")->isChecked());
    QVERIFY(v.get<QPushButton>("?INSERT") && v.get<QPushButton>("?INSERT")->isHidden());
    QVERIFY(v.get<QPushButton>("?CHANGE") && v.get<QPushButton>("?CHANGE")->isHidden());

    QCOMPARE(v.saved()->rowCount(), 2);
    QCOMPARE(v.saved()->headerData(1, Qt::Horizontal), QVariant(QStringLiteral("Bereken datum")));
    QCOMPARE(v.saved()->index(0, 0).data().toString().trimmed(), QStringLiteral("Eerste"));
    QCOMPARE(v.saved()->index(0, 1).data().toString(), QStringLiteral("11-12-2026"));
    QCOMPARE(v.saved()->index(0, 2).data().toString(), QStringLiteral("14:05:07"));
    QVERIFY(v.get<QPushButton>("?DELETE")->isEnabled());

    // The first is shown: its points, its roughness, its chart.
    QCOMPARE(v.get<QLabel>("?RUWHEID:PROMPT")->text(), QStringLiteral("Berekende ruwheid:"));
    QCOMPARE(v.get<ui::NumericEdit>("?LOC:RUWHEID")->text().trimmed(), QStringLiteral("0,12"));
    QCOMPARE(v.points()->rowCount(), 5);
    struct Row {
        const char* type;
        const char* norm;
        const char* load;
        QColor text;
        uint32_t bubble;
    };
    const Row expected[] = {{"B", "", "", QColor(), 0xFF0000},
                            {"B", "", "", QColor(), 0xFF0000},
                            {"G", "2,000", "2,000", QColor(Qt::black), 0x00FF00},
                            {"G", "3,000", "", QColor(Qt::black), 0x00FF00},
                            {"G", "8,000", "9,500", QColor(Qt::red), 0x0000FF}};
    const auto bubbles = v.window->chart().chart()->bubbles();
    QCOMPARE(static_cast<int>(bubbles.size()), 5);
    const presentation::ReportInput report = v.window->presenter().reportInput();
    const auto bronRows = presentation::bronTableRows(report.gridq);
    const auto gglRows = presentation::gglTableRows(report.gridq);
    for (int r = 0; r < 5; ++r) {
        const QString nr = QString::number(r + 1);
        QCOMPARE(v.point(r, 0), nr);
        QCOMPARE(bubbles[static_cast<size_t>(r)].label, nr);
        QCOMPARE(r < 2 ? bronRows[static_cast<size_t>(r) + 1].value(0)
                       : gglRows[static_cast<size_t>(r) - 1].value(0),
                 nr);
        QCOMPARE(v.point(r, 4), QString::fromLatin1(expected[r].type));
        QCOMPARE(v.point(r, 5), QString::fromLatin1(expected[r].norm));
        QCOMPARE(v.point(r, 6), QString::fromLatin1(expected[r].load));
        QCOMPARE(v.points()->index(r, 6).data(Qt::ForegroundRole).value<QColor>(),
                 expected[r].text);
        QCOMPARE(bubbles[static_cast<size_t>(r)].colour, expected[r].bubble);
    }

    // The report is the viewer's, dated now, of the highlighted calculation.
    QCOMPARE(report.variant, presentation::ReportVariant::Bekijken);
    QCOMPARE(report.facts.naam, QStringLiteral("Eerste"));
    QCOMPARE(report.bedNaam, QStringLiteral("Zeeman"));
    QTest::mouseClick(v.get<QPushButton>("?TOWORDBUTTON"), Qt::LeftButton);
    QCOMPARE(f.opener.opened.size(), 1);

    // Highlighting the second: an own roughness.
    v.get<ui::RecordListView>("?LIST")->setCurrentRow(1);
    QCOMPARE(v.get<QLabel>("?RUWHEID:PROMPT")->text(), QStringLiteral("Eigen ruwheid:"));
    QCOMPARE(v.get<ui::NumericEdit>("?LOC:RUWHEID")->text().trimmed(), QStringLiteral("0,25"));
    QCOMPARE(v.point(2, 6), QStringLiteral("1,000"));
    QCOMPARE(v.window->presenter().reportInput().facts.naam, QStringLiteral("Tweede"));
    QVERIFY(f.messages.messages.empty());
}

void TestBekijkenWindow::companyWithoutCalculations() {
    Fixture f;
    const QList<int32_t> ids = f.import(testing_ui::kTwoCompanies);
    saveCalculation(f, ids[0], QStringLiteral("Eerste"), false, 0.1, {1.0, 1.0, 1.0});
    Viewer v(f);
    QCOMPARE(v.points()->rowCount(), 5);
    emit v.get<QComboBox>("?BED:NAAM")->activated(0);  // Akkerman: nothing saved
    QCOMPARE(v.saved()->rowCount(), 0);
    QCOMPARE(v.points()->rowCount(), 0);
    QVERIFY(!v.get<QPushButton>("?DELETE")->isEnabled());
    QVERIFY(v.window->chart().chart()->bubbles().empty());
    emit v.get<QComboBox>("?BED:NAAM")->activated(1);
    QCOMPARE(v.saved()->rowCount(), 1);
    QCOMPARE(v.points()->rowCount(), 5);
    QVERIFY(v.get<QPushButton>("?DELETE")->isEnabled());
}

void TestBekijkenWindow::deletingAfterConfirmationUpToTheLast() {
    Fixture f;
    const QList<int32_t> ids = f.import(testing_ui::kTwoCompanies);
    saveCalculation(f, ids[1], QStringLiteral("Ander bedrijf"), false, 0.1, {1.0});
    saveCalculation(f, ids[0], QStringLiteral("Eerste"), false, 0.1, {1.0, 1.0, 1.0});
    saveCalculation(f, ids[0], QStringLiteral("Tweede"), true, 0.5, {4.0, 4.0, 4.0});
    Viewer v(f);
    QCOMPARE(v.saved()->rowCount(), 2);

    // Declined: nothing goes.
    f.messages.answers.push_back(platform::No);
    v.remove();
    QCOMPARE(f.messages.titles(), QStringList{QStringLiteral("Confirm Delete")});
    QCOMPARE(
        f.messages.texts(),
        QStringList{QStringLiteral("Are you sure you want to delete the highlighted record?")});
    QCOMPARE(v.saved()->rowCount(), 2);

    // Confirmed: the first goes with its frozen rows; the second is highlighted and shown.
    f.messages.answers.push_back(platform::Yes);
    v.remove();
    QCOMPARE(v.saved()->rowCount(), 1);
    QCOMPARE(v.saved()->index(0, 0).data().toString().trimmed(), QStringLiteral("Tweede"));
    QCOMPARE(v.get<QLabel>("?RUWHEID:PROMPT")->text(), QStringLiteral("Eigen ruwheid:"));
    QCOMPARE(v.point(2, 6), QStringLiteral("4,000"));
    QVERIFY(v.get<QPushButton>("?DELETE")->isEnabled());

    // The last one of the company: the list empties and "&Verwijderen" is no longer available.
    f.messages.answers.push_back(platform::Yes);
    v.remove();
    QCOMPARE(v.saved()->rowCount(), 0);
    QCOMPARE(v.points()->rowCount(), 0);
    QVERIFY(!v.get<QPushButton>("?DELETE")->isEnabled());
    // Only the other company's calculation and its frozen rows remain.
    QCOMPARE(f.records(f.dict->berekeningen()), 1);
    QCOMPARE(f.records(f.dict->berbron()), 1);
    QCOMPARE(f.records(f.dict->berggl()), 1);
}

QTEST_MAIN(TestBekijkenWindow)
#include "test_bekijken_window.moc"
