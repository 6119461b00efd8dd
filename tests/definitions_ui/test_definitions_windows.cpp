// The definitions windows driven as a user would under the offscreen platform: the browser with
// its linked lists, buttons, keys and header sort, the three forms with their defaults, range
// checks, cancel question, history key and store failures, and the company copy. Every test
// works on a record store in a temporary home directory with a settings file of its own; message
// boxes are answered by a recording sink.

#include "definitions/forms.h"
#include "definitions/ui/definities_window.h"
#include "definitions/ui/form_windows.h"
#include "platform/settings_file.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/record_list.h"
#include "shell/window_placement.h"
#include "store/calendar.h"
#include "store/dictionary.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace ui;
using namespace Qt::Literals::StringLiterals;
using definitions::BrowseList;

namespace {

const QDate kToday(2026, 12, 11);

struct Fixture {
    QTemporaryDir dir;
    QString settingsPath = dir.filePath(u"V-Wolkan-Vaduvevedu.INI"_s);
    bool envSet = qputenv(platform::SettingsFile::kPathVariable, settingsPath.toLocal8Bit());
    platform::SettingsFile settings{settingsPath};
    platform::RecordingSink messages;
    definitions::RecordMessageSink storeMessages{messages};
    platform::ErrorManager errors{storeMessages};
    store::Dictionary dict{dir.path(), errors};
    RecordingBusyCursor busy;
    RecordingHelp help;
    WindowServices services{messages, busy, help, settings};
    platform::FixedClock clock{QDateTime(kToday, QTime(10, 0))};
    definitions::FormHistory history;
    definitions::DefinitionsContext context{dict, messages, busy, settings, clock, history};

    Fixture() { dict.bedrijvenRelations().open(); }
    ~Fixture() { dict.bedrijvenRelations().close(); }

    int32_t company(const QString& naam, const QString& meteo = u"Schiphol"_s) {
        auto& bed = dict.bedrijven();
        bed.clear();
        store::setText(bed.record().naam, naam);
        store::setText(bed.record().meteo, meteo);
        bed.record().aanmaakdatum = store::dayNumber(QDate(2020, 1, 2));
        return bed.insert() == store::Status::Ok ? bed.record().id : 0;
    }
    int32_t bron(int32_t company, const QString& id, int32_t x, double hoogte = 12.5) {
        auto& bro = dict.bronnen();
        bro.clear();
        bro.record().fkBedrijf = company;
        store::setText(bro.record().userId, id);
        bro.record().xCoord = x;
        bro.record().yCoord = 450000;
        bro.record().stHoogte = hoogte;
        bro.record().gemgebhoogte = 8;
        bro.record().stBinnendiam = 0.5;
        bro.record().stUittree = 4;
        bro.record().eVergund = 12345;
        return bro.insert() == store::Status::Ok ? bro.record().id : 0;
    }
    int32_t ggl(int32_t company, const QString& id, int32_t x) {
        auto& g = dict.geurgevloc();
        g.clear();
        g.record().fkBedrijf = company;
        store::setText(g.record().userId, id);
        g.record().xCoor = x;
        g.record().yCoor = 460000;
        g.record().geurnorm = 3;
        return g.insert() == store::Status::Ok ? g.record().id : 0;
    }
    // The rows of a file that belong to a company.
    int children(store::FileManager& file, store::Key key, int32_t company) {
        file.set(key, store::KeyValue(company));
        int n = 0;
        while (file.next() == store::Status::Ok) {
            const int32_t fk = file.id() == store::FileId::BRONNEN
                                   ? dict.bronnen().record().fkBedrijf
                                   : dict.geurgevloc().record().fkBedrijf;
            if (fk != company) {
                break;
            }
            ++n;
        }
        return n;
    }
};

bool showActive(QWidget& w) {
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

// Runs `drive` on the next modal dialog of type W, from inside its event loop. Whatever `drive`
// leaves open is closed afterwards, so a test can never hang on a modal window.
// Owns the watchers of whenModal for the length of one test.
QPointer<QObject> s_watchers;

template <typename W>
void whenModal(std::function<void(W&)> drive) {
    auto* timer = new QTimer(s_watchers.data());
    timer->setInterval(5);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, drive, waited] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (w == nullptr || !w->isVisible()) {
            if (++*waited > 1000) {  // no such window came: stop looking
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        w->activateWindow();
        (void)QTest::qWaitForWindowActive(w);
        drive(*w);
        if (w->isVisible()) {
            w->done(QDialog::Rejected);
        }
    });
    timer->start();
}

template <typename T>
T* child(QWidget& w, const QString& name) {
    return w.findChild<T*>(name);
}

QPushButton* button(QWidget& w, const QString& name) {
    return child<QPushButton>(w, name);
}

void type(QWidget& w, const QString& field, const QString& text) {
    auto* edit = child<QLineEdit>(w, field);
    QVERIFY2(edit != nullptr, qPrintable(field));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QString fieldText(QWidget& w, const QString& field) {
    if (auto* edit = child<QLineEdit>(w, field)) {
        return edit->text();
    }
    if (auto* box = child<QComboBox>(w, field)) {
        return box->currentText();
    }
    return u"<no field "_s + field + u">"_s;
}

// The control of `window` that has (or, with the window inactive, gets) the keyboard focus.
QString focusName(QWidget& window) {
    const QWidget* w = window.focusWidget();
    return w != nullptr ? w->objectName() : u"<no focus>"_s;
}

QString cell(DefinitiesWindow& w, BrowseList l, int row, int column) {
    QAbstractItemModel* m = w.list(l)->model();
    return m->data(m->index(row, column)).toString();
}

QStringList column(DefinitiesWindow& w, BrowseList l, int c) {
    QStringList texts;
    for (int r = 0; r < w.list(l)->model()->rowCount(); ++r) {
        texts.append(cell(w, l, r, c));
    }
    return texts;
}

QString header(DefinitiesWindow& w, BrowseList l, int c) {
    return w.list(l)->model()->headerData(c, Qt::Horizontal).toString();
}

void clickHeader(DefinitiesWindow& w, BrowseList l, int c) {
    QHeaderView* h = w.list(l)->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(c) + 5, h->height() / 2));
}

}  // namespace

class TestDefinitionsWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setFont(DialogUnits::designFont()); }
    void init() { s_watchers = new QObject; }
    void cleanup() { delete s_watchers.data(); }
    void emptyStore();
    void linkedListsWithPictures();
    void newRowDefaults_data();
    void newRowDefaults();
    void newCompanyStoredUnchanged();
    void bronRangeChecks_data();
    void bronRangeChecks();
    void gglChecksOneAtATime();
    void cancelQuestionOnlyWhenChanged();
    void unchangedChangeWritesNothing();
    void refusedUpdateShowsOtherStation();
    void updateErrorAnswers_data();
    void updateErrorAnswers();
    void historyKeyBringsPreviousPoint();
    void deleteAsksFirst();
    void headerSortSurvivesReopen();
    void copyLeavesSourceSelected();
    void runFromTheMenu();
};

void TestDefinitionsWindows::emptyStore() {
    Fixture f;
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    QCOMPARE(w.windowTitle(),
             u"SV02 - Definieren van bedrijven, bronnen en  geurgevoelige locaties"_s);
    for (const QString& list : {u"BRW1"_s, u"BRW8"_s, u"BRW2"_s}) {
        QVERIFY(button(w, u"?INSERT:"_s + list)->isEnabled());
        QVERIFY(!button(w, u"?CHANGE:"_s + list)->isEnabled());
        QVERIFY(!button(w, u"?DELETE:"_s + list)->isEnabled());
    }
    QVERIFY(!button(w, u"?COPY"_s)->isEnabled());
    QCOMPARE(child<QLabel>(w, u"?CAPTION:BRW8"_s)->text(),
             u"Bijbehorende geurgevoelige locaties:"_s);
    QVERIFY(child<QLabel>(w, u"?CAPTION:BRW1"_s)->font().bold());

    // Without a company an emission point has no owner: nothing is stored, the user is told.
    QTest::mouseClick(button(w, u"?INSERT:BRW2"_s), Qt::LeftButton);
    QCOMPARE(f.messages.texts(), QStringList{definitions::kNoCompanyText});
    QCOMPARE(f.dict.bronnen().records(), 0);
}

void TestDefinitionsWindows::linkedListsWithPictures() {
    Fixture f;
    const int32_t a = f.company(u"Aarts"_s);
    f.bron(a, u"S1"_s, 155000, 12.5);
    f.bron(a, u"S2"_s, 1000, 0);
    f.ggl(a, u"Huis"_s, 156000);
    f.company(u"Bosch"_s, u"Eindhoven"_s);
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));

    QCOMPARE(w.list(BrowseList::Bedrijven)->currentRow(), 0);
    QCOMPARE(column(w, BrowseList::Bedrijven, 0), (QStringList{u"Aarts"_s, u"Bosch"_s}));
    QCOMPARE(cell(w, BrowseList::Bedrijven, 0, 2), u"20200102"_s);
    QCOMPARE(column(w, BrowseList::Bronnen, 0), (QStringList{u"S1"_s, u"S2"_s}));
    QCOMPARE(cell(w, BrowseList::Bronnen, 0, 1).trimmed(), u"155 000"_s);
    QCOMPARE(cell(w, BrowseList::Bronnen, 0, 3).trimmed(), u"12,5"_s);
    QCOMPARE(cell(w, BrowseList::Bronnen, 0, 5).trimmed(), u"0,50"_s);
    QCOMPARE(cell(w, BrowseList::Bronnen, 0, 6).trimmed(), u"4,00"_s);
    QCOMPARE(cell(w, BrowseList::Bronnen, 0, 7).trimmed(), u"12 345"_s);
    QCOMPARE(cell(w, BrowseList::Geurgevloc, 0, 3).trimmed(), u"3,0"_s);
    QCOMPARE(w.list(BrowseList::Bronnen)->currentRow(), 0);
    QVERIFY(button(w, u"?CHANGE:BRW2"_s)->isEnabled());

    // The second company has no rows: empty child lists, their change and delete off.
    QTest::keyClick(w.list(BrowseList::Bedrijven), Qt::Key_Down);
    QCOMPARE(w.list(BrowseList::Bronnen)->model()->rowCount(), 0);
    QCOMPARE(w.list(BrowseList::Geurgevloc)->model()->rowCount(), 0);
    QVERIFY(!button(w, u"?CHANGE:BRW2"_s)->isEnabled());
    QVERIFY(!button(w, u"?DELETE:BRW8"_s)->isEnabled());
    QVERIFY(button(w, u"?INSERT:BRW8"_s)->isEnabled());
    // Back to the first: filled again.
    QTest::keyClick(w.list(BrowseList::Bedrijven), Qt::Key_Up);
    QCOMPARE(w.list(BrowseList::Bronnen)->model()->rowCount(), 2);
    QCOMPARE(w.list(BrowseList::Geurgevloc)->model()->rowCount(), 1);
}

void TestDefinitionsWindows::newRowDefaults_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("caption");
    QTest::newRow("company") << u"BRW1"_s << QStringList{u"?BED:NAAM"_s, u"?BED:METEO"_s}
                             << QStringList{QString(), u"Schiphol"_s}
                             << u"SV03 - Toevoegen van een bedrijf"_s;
    QTest::newRow("emission point")
        << u"BRW2"_s
        << QStringList{u"?BRO:USER_ID"_s,    u"?BRO:X_COORD"_s,      u"?BRO:Y_COORD"_s,
                       u"?BRO:ST_HOOGTE"_s,  u"?BRO:GEMGEBHOOGTE"_s, u"?BRO:ST_BINNENDIAM"_s,
                       u"?BRO:ST_UITTREE"_s, u"?BRO:E_VERGUND"_s}
        << QStringList{QString(), u"0"_s,    u"490 000"_s, u"0,0"_s,
                       u"0,0"_s,  u"0,50"_s, u"4,00"_s,    u"0"_s}
        << u"SV04 - Toevoegen van een Bron"_s;
    QTest::newRow("sensitive location")
        << u"BRW8"_s
        << QStringList{u"?GGL:USER_ID"_s, u"?GGL:X_COOR"_s, u"?GGL:Y_COOR"_s, u"?GGL:GEURNORM"_s}
        << QStringList{QString(), u"0"_s, u"540 000"_s, u"0,0"_s}
        << u"SV05 - Toevoegen van een GGL"_s;
}

// A new row opens with the list's defaults; cancelling it unchanged asks nothing, stores nothing
// and gives the reserved identifier back.
void TestDefinitionsWindows::newRowDefaults() {
    QFETCH(QString, list);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, texts);
    QFETCH(QString, caption);
    Fixture f;
    f.company(u"Aarts"_s);
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    const auto countAll = [&f] {
        return f.dict.bedrijven().records() + f.dict.bronnen().records() +
               f.dict.geurgevloc().records();
    };
    const int64_t before = countAll();

    for (int round = 0; round < 2; ++round) {
        QStringList seen;
        QString title;
        bool focusInFirst = false;
        whenModal<RecordFormWindow>([&](RecordFormWindow& form) {
            title = form.windowTitle();
            for (const QString& field : fields) {
                seen.append(fieldText(form, field).trimmed());
            }
            focusInFirst = form.focusWidget() == form.field(1);
            QTest::mouseClick(button(form, u"?CANCEL"_s), Qt::LeftButton);
        });
        if (round == 0) {
            QTest::mouseClick(button(w, u"?INSERT:"_s + list), Qt::LeftButton);
        } else {
            QTest::keyClick(child<RecordListView>(w, u"?"_s + list), Qt::Key_Insert);
        }
        QCOMPARE(title, caption);
        QCOMPARE(seen, texts);
        QVERIFY(focusInFirst);
        QCOMPARE(f.messages.messages.size(), std::size_t(0));
        QCOMPARE(countAll(), before);
    }
}

void TestDefinitionsWindows::newCompanyStoredUnchanged() {
    Fixture f;
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    whenModal<UpdateBedrijvenWindow>([](UpdateBedrijvenWindow& form) {
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
    });
    QTest::mouseClick(button(w, u"?INSERT:BRW1"_s), Qt::LeftButton);
    QCOMPARE(w.list(BrowseList::Bedrijven)->model()->rowCount(), 1);
    QCOMPARE(cell(w, BrowseList::Bedrijven, 0, 0), QString());
    QCOMPARE(cell(w, BrowseList::Bedrijven, 0, 1), u"Schiphol"_s);
    QCOMPARE(cell(w, BrowseList::Bedrijven, 0, 2), u"20261211"_s);
    QVERIFY(button(w, u"?COPY"_s)->isEnabled());

    // Changing it (double click) keeps its creation date.
    f.clock.set(QDateTime(kToday.addDays(3), QTime(9, 0)));
    whenModal<UpdateBedrijvenWindow>([](UpdateBedrijvenWindow& form) {
        QCOMPARE(form.windowTitle(), u"SV03 - Wijzigen van een bedrijf"_s);
        type(form, u"?BED:NAAM"_s, u"Jansen"_s);
        child<QComboBox>(form, u"?BED:METEO"_s)->setCurrentIndex(0);
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
    });
    RecordListView* companies = w.list(BrowseList::Bedrijven);
    const QRect r = companies->visualRect(companies->model()->index(0, 0));
    QTest::mouseClick(companies->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(companies->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(cell(w, BrowseList::Bedrijven, 0, 0), u"Jansen"_s);
    QCOMPARE(cell(w, BrowseList::Bedrijven, 0, 1), u"Eindhoven"_s);
    QCOMPARE(cell(w, BrowseList::Bedrijven, 0, 2), u"20261211"_s);
}

void TestDefinitionsWindows::bronRangeChecks_data() {
    QTest::addColumn<QStringList>("typed");  // field, text, field, text, ...
    QTest::addColumn<QString>("message");    // empty: accepted
    QTest::addColumn<QString>("focus");
    QTest::newRow("x_above") << QStringList{u"?BRO:X_COORD"_s, u"281801"_s}
                             << u"X Coord. niet tussen 0 en 281800"_s << u"?BRO:X_COORD"_s;
    QTest::newRow("y_below") << QStringList{u"?BRO:X_COORD"_s, u"281800"_s, u"?BRO:Y_COORD"_s,
                                            u"299999"_s}
                             << u"Y Coord. niet tussen 300000 en 625000"_s << u"?BRO:Y_COORD"_s;
    QTest::newRow("building_height_before_stack")
        << QStringList{u"?BRO:ST_HOOGTE"_s, u"150"_s, u"?BRO:GEMGEBHOOGTE"_s, u"150"_s}
        << u"Gem. Gebouwhoogte niet tussen 0 en 100"_s << u"?BRO:GEMGEBHOOGTE"_s;
    QTest::newRow("stack_height") << QStringList{u"?BRO:ST_HOOGTE"_s, u"100,1"_s}
                                  << u"EP Hoogte niet tussen 0 en 100"_s << u"?BRO:ST_HOOGTE"_s;
    QTest::newRow("diameter_below")
        << QStringList{u"?BRO:ST_BINNENDIAM"_s, u"0,09"_s}
        << u"EP Binnendiameter niet tussen 0,1 en 99"_s << u"?BRO:ST_BINNENDIAM"_s;
    QTest::newRow("exit_velocity_zero")
        << QStringList{u"?BRO:ST_UITTREE"_s, u"0"_s} << u"EP Uittree niet tussen 0,1 en 10"_s
        << u"?BRO:ST_UITTREE"_s;
    QTest::newRow("emission_above")
        << QStringList{u"?BRO:E_VERGUND"_s, u"1500001"_s}
        << u"E aanvraag niet tussen 0 en 1500000"_s << u"?BRO:E_VERGUND"_s;
    QTest::newRow("all_bounds_accepted")
        << QStringList{u"?BRO:X_COORD"_s,       u"281800"_s, u"?BRO:Y_COORD"_s,    u"625000"_s,
                       u"?BRO:ST_BINNENDIAM"_s, u"0,10"_s,   u"?BRO:ST_UITTREE"_s, u"10,00"_s,
                       u"?BRO:E_VERGUND"_s,     u"1500000"_s}
        << QString() << QString();
    QTest::newRow("point_read_as_decimal")
        << QStringList{u"?BRO:ST_UITTREE"_s, u"6.5"_s, u"?BRO:ST_HOOGTE"_s, u"99.9"_s} << QString()
        << QString();
}

void TestDefinitionsWindows::bronRangeChecks() {
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Fixture f;
    const int32_t a = f.company(u"Aarts"_s);
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    bool stillOpen = false;
    QString focused;
    whenModal<UpdateBronnenWindow>([&](UpdateBronnenWindow& form) {
        for (qsizetype i = 0; i + 1 < typed.size(); i += 2) {
            type(form, typed[i], typed[i + 1]);
        }
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
        stillOpen = form.isVisible();
        focused = focusName(form);
        if (stillOpen) {
            QTest::mouseClick(button(form, u"?CANCEL"_s), Qt::LeftButton);
        }
    });
    QTest::mouseClick(button(w, u"?INSERT:BRW2"_s), Qt::LeftButton);
    if (message.isEmpty()) {
        QVERIFY(!stillOpen);
        QCOMPARE(f.messages.texts(), QStringList());
        QCOMPARE(f.children(f.dict.bronnen(), store::Key::BRO_By_Fk, a), 1);
        QCOMPARE(w.list(BrowseList::Bronnen)->currentRow(), 0);
        return;
    }
    QVERIFY(stillOpen);
    QCOMPARE(f.messages.texts().value(0), message);
    const platform::Message& m = f.messages.messages.at(0);
    QCOMPARE(m.title, u"Fout in invoerbereik"_s);
    QCOMPARE(m.icon, platform::Icon::Warning);
    QCOMPARE(m.buttons, platform::Buttons(platform::Ok));
    QVERIFY(m.beep);
    QCOMPARE(focused, focus);
    // Closed with changes: the cancel question (default Yes), and nothing stored.
    QCOMPARE(f.messages.titles().value(1), u"Changes will be lost!"_s);
    QCOMPARE(f.dict.bronnen().records(), 0);
}

void TestDefinitionsWindows::gglChecksOneAtATime() {
    Fixture f;
    const int32_t a = f.company(u"Aarts"_s);
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    QStringList focus;
    whenModal<UpdateGeurGevLocWindow>([&](UpdateGeurGevLocWindow& form) {
        type(form, u"?GGL:USER_ID"_s, u"Woning 1"_s);
        type(form, u"?GGL:X_COOR"_s, u"281801"_s);
        type(form, u"?GGL:Y_COOR"_s, u"100"_s);
        type(form, u"?GGL:GEURNORM"_s, u"14,5"_s);
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
        focus.append(focusName(form));
        type(form, u"?GGL:X_COOR"_s, u"0"_s);
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
        focus.append(focusName(form));
        type(form, u"?GGL:Y_COOR"_s, u"625 000"_s);
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
    });
    QTest::keyClick(w.list(BrowseList::Geurgevloc), Qt::Key_Insert);
    QCOMPARE(f.messages.texts(), (QStringList{u"X Coord. niet tussen 0 en 281800"_s,
                                              u"Y Coord. niet tussen 300000 en 625000"_s}));
    QCOMPARE(focus, (QStringList{u"?GGL:X_COOR"_s, u"?GGL:Y_COOR"_s}));
    QCOMPARE(f.children(f.dict.geurgevloc(), store::Key::GGL_By_Fk, a), 1);
    QCOMPARE(column(w, BrowseList::Geurgevloc, 0), QStringList{u"Woning 1"_s});
    QCOMPARE(cell(w, BrowseList::Geurgevloc, 0, 2).trimmed(), u"625 000"_s);
    QCOMPARE(cell(w, BrowseList::Geurgevloc, 0, 3).trimmed(), u"14,5"_s);
}

void TestDefinitionsWindows::cancelQuestionOnlyWhenChanged() {
    Fixture f;
    const int32_t a = f.company(u"Aarts"_s);
    f.bron(a, u"S1"_s, 1000);
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    f.messages.answers = {platform::No, platform::Yes};
    QStringList focus;
    bool openAfterNo = false;
    whenModal<UpdateBronnenWindow>([&](UpdateBronnenWindow& form) {
        QCOMPARE(form.windowTitle(), u"SV04 - Wijzigen van een Bron"_s);
        type(form, u"?BRO:X_COORD"_s, u"2000"_s);
        form.field(3)->setFocus();
        QTest::keyClick(&form, Qt::Key_Escape);  // the question, answered No
        openAfterNo = form.isVisible();
        focus.append(focusName(form));
        QTest::mouseClick(button(form, u"?CANCEL"_s), Qt::LeftButton);  // answered Yes
    });
    QTest::keyClick(w.list(BrowseList::Bronnen), Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(openAfterNo);
    QCOMPARE(focus, QStringList{u"?BRO:USER_ID"_s});
    QCOMPARE(f.messages.titles(),
             (QStringList{u"Changes will be lost!"_s, u"Changes will be lost!"_s}));
    QCOMPARE(f.messages.texts().value(0), u"Are you sure you want to cancel?"_s);
    QCOMPARE(cell(w, BrowseList::Bronnen, 0, 1).trimmed(), u"1 000"_s);
}

// Confirming a change request without a change writes nothing: a change another station made
// meanwhile stays, and no refusal comes.
void TestDefinitionsWindows::unchangedChangeWritesNothing() {
    Fixture f;
    const int32_t a = f.company(u"Aarts"_s);
    const int32_t s = f.bron(a, u"S1"_s, 1000);
    platform::RecordingSink otherMessages;
    platform::ErrorManager otherErrors(otherMessages);
    store::Dictionary other(f.dir.path(), otherErrors);
    other.bronnenRelations().open();
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    whenModal<UpdateBronnenWindow>([&](UpdateBronnenWindow& form) {
        QVERIFY(other.bronnen().fetch(store::Key::BRO_By_ID, s) == store::Status::Ok);
        other.bronnen().record().xCoord = 7777;
        QVERIFY(other.bronnen().update() == store::Status::Ok);
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
    });
    QTest::mouseClick(button(w, u"?CHANGE:BRW2"_s), Qt::LeftButton);
    QCOMPARE(f.messages.texts(), QStringList());
    QVERIFY(f.dict.bronnen().fetch(store::Key::BRO_By_ID, s) == store::Status::Ok);
    QCOMPARE(f.dict.bronnen().record().xCoord, 7777);
    other.bronnenRelations().close();
}

void TestDefinitionsWindows::refusedUpdateShowsOtherStation() {
    Fixture f;
    const int32_t a = f.company(u"Aarts"_s);
    const int32_t s = f.bron(a, u"S1"_s, 1000);
    platform::RecordingSink otherMessages;
    platform::ErrorManager otherErrors(otherMessages);
    store::Dictionary other(f.dir.path(), otherErrors);
    other.bronnenRelations().open();
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    QString yAfterRefusal;
    QString xRecalled;
    QString focused;
    whenModal<UpdateBronnenWindow>([&](UpdateBronnenWindow& form) {
        type(form, u"?BRO:X_COORD"_s, u"2500"_s);
        // Another station stores the record meanwhile.
        QVERIFY(other.bronnen().fetch(store::Key::BRO_By_ID, s) == store::Status::Ok);
        other.bronnen().record().yCoord = 333333;
        QVERIFY(other.bronnen().update() == store::Status::Ok);
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
        yAfterRefusal = fieldText(form, u"?BRO:Y_COORD"_s);
        focused = focusName(form);
        QTest::keyClick(form.field(2), Qt::Key_H, Qt::ControlModifier);
        xRecalled = fieldText(form, u"?BRO:X_COORD"_s);
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
    });
    QTest::mouseClick(button(w, u"?CHANGE:BRW2"_s), Qt::LeftButton);
    QCOMPARE(f.messages.titles(), QStringList{u"Record Was Not Updated"_s});
    QCOMPARE(f.messages.texts().value(0), definitions::kRefusedUpdateText);
    QCOMPARE(yAfterRefusal, u"333 333"_s);
    QCOMPARE(focused, u"?BRO:USER_ID"_s);
    QCOMPARE(xRecalled, u"2 500"_s);
    // The second confirmation stores the user's X over the other station's record.
    QCOMPARE(cell(w, BrowseList::Bronnen, 0, 1).trimmed(), u"2 500"_s);
    QCOMPARE(cell(w, BrowseList::Bronnen, 0, 2).trimmed(), u"333 333"_s);
    other.bronnenRelations().close();
}

void TestDefinitionsWindows::updateErrorAnswers_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("cancel_back_to_form") << int(platform::Cancel) << true;
    QTest::newRow("no_closes_unsaved") << int(platform::No) << false;
}

// An update that fails for another reason (the file locked by another station): the store's
// notice, then "Record Update Error" with Yes, No and Cancel, Cancel the default.
void TestDefinitionsWindows::updateErrorAnswers() {
    QFETCH(int, answer);
    QFETCH(bool, staysOpen);
    Fixture f;
    const int32_t a = f.company(u"Aarts"_s);
    const int32_t s = f.bron(a, u"S1"_s, 1000);
    f.dict.setLockRecovery(100);
    platform::RecordingSink otherMessages;
    platform::ErrorManager otherErrors(otherMessages);
    store::Dictionary other(f.dir.path(), otherErrors);
    other.bronnenRelations().open();
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    f.messages.answers = {platform::Ok, static_cast<platform::Button>(answer)};
    bool open = false;
    QString focused;
    whenModal<UpdateBronnenWindow>([&](UpdateBronnenWindow& form) {
        type(form, u"?BRO:X_COORD"_s, u"2500"_s);
        store::Transaction lock(other, {&other.bronnen()});
        QVERIFY(lock.status() == store::Status::Ok);
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
        open = form.isVisible();
        if (open) {
            focused = focusName(form);
        }
        f.messages.answers = {platform::Yes};  // closing now: the cancel question
    });
    QTest::mouseClick(button(w, u"?CHANGE:BRW2"_s), Qt::LeftButton);
    QCOMPARE(f.messages.titles().mid(0, 2),
             (QStringList{u"Record was not updated"_s, u"Record Update Error"_s}));
    const platform::Message& q = f.messages.messages.at(1);
    QCOMPARE(q.text, definitions::kUpdateErrorText);
    QCOMPARE(q.buttons, platform::Buttons(platform::Yes | platform::No | platform::Cancel));
    QCOMPARE(q.defaultButton, platform::Cancel);
    QCOMPARE(open, staysOpen);
    if (staysOpen) {
        QCOMPARE(focused, u"?BRO:USER_ID"_s);
    }
    QVERIFY(f.dict.bronnen().fetch(store::Key::BRO_By_ID, s) == store::Status::Ok);
    QCOMPARE(f.dict.bronnen().record().xCoord, 1000);
    other.bronnenRelations().close();
}

void TestDefinitionsWindows::historyKeyBringsPreviousPoint() {
    Fixture f;
    f.company(u"Aarts"_s);
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    whenModal<UpdateBronnenWindow>([](UpdateBronnenWindow& form) {
        // Before any confirmation the history is empty.
        QTest::keyClick(form.field(3), Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(fieldText(form, u"?BRO:Y_COORD"_s), u"0"_s);
        type(form, u"?BRO:Y_COORD"_s, u"450000"_s);
        type(form, u"?BRO:USER_ID"_s, u"Stal 1"_s);
        type(form, u"?BRO:X_COORD"_s, u"123456"_s);
        QTest::mouseClick(button(form, u"?OK"_s), Qt::LeftButton);
    });
    QTest::mouseClick(button(w, u"?INSERT:BRW2"_s), Qt::LeftButton);
    QString x;
    QString id;
    QString y;
    whenModal<UpdateBronnenWindow>([&](UpdateBronnenWindow& form) {
        QTest::keyClick(form.field(2), Qt::Key_H, Qt::ControlModifier);
        QTest::keyClick(form.field(1), Qt::Key_H, Qt::ControlModifier);
        x = fieldText(form, u"?BRO:X_COORD"_s);
        id = fieldText(form, u"?BRO:USER_ID"_s);
        y = fieldText(form, u"?BRO:Y_COORD"_s);
    });
    QTest::mouseClick(button(w, u"?INSERT:BRW2"_s), Qt::LeftButton);
    QCOMPARE(x, u"123 456"_s);
    QCOMPARE(id, u"Stal 1"_s);
    QCOMPARE(y, u"490 000"_s);  // only the fields asked for
}

void TestDefinitionsWindows::deleteAsksFirst() {
    Fixture f;
    const int32_t a = f.company(u"Aarts"_s);
    const int32_t b = f.company(u"Bosch"_s);
    const int32_t c = f.company(u"Claes"_s);
    f.bron(b, u"B1"_s, 1000);
    f.ggl(b, u"BG"_s, 1000);
    f.bron(c, u"C1"_s, 2000);
    f.bron(c, u"C2"_s, 3000);
    auto& ber = f.dict.berekeningen();  // a saved calculation of the company to delete
    ber.clear();
    ber.record().fk = b;
    QVERIFY(ber.insert() == store::Status::Ok);
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    w.list(BrowseList::Bedrijven)->setCurrentRow(1);
    QCOMPARE(column(w, BrowseList::Bronnen, 0), QStringList{u"B1"_s});

    f.messages.answers = {platform::No};
    QTest::keyClick(w.list(BrowseList::Bedrijven), Qt::Key_Delete);
    QCOMPARE(f.messages.titles(), QStringList{u"Confirm Delete"_s});
    QCOMPARE(f.messages.texts(),
             QStringList{u"Are you sure you want to delete the highlighted record?"_s});
    QCOMPARE(f.dict.bedrijven().records(), 3);
    QCOMPARE(f.dict.bronnen().records(), 3);
    QCOMPARE(f.dict.berekeningen().records(), 1);
    QCOMPARE(w.list(BrowseList::Bedrijven)->currentRow(), 1);

    f.messages.answers = {platform::Yes};
    QTest::mouseClick(button(w, u"?DELETE:BRW1"_s), Qt::LeftButton);
    QCOMPARE(column(w, BrowseList::Bedrijven, 0), (QStringList{u"Aarts"_s, u"Claes"_s}));
    QCOMPARE(w.list(BrowseList::Bedrijven)->currentRow(), 1);
    QCOMPARE(column(w, BrowseList::Bronnen, 0), (QStringList{u"C1"_s, u"C2"_s}));
    QCOMPARE(f.children(f.dict.bronnen(), store::Key::BRO_By_Fk, b), 0);
    QCOMPARE(f.children(f.dict.geurgevloc(), store::Key::GGL_By_Fk, b), 0);
    QCOMPARE(f.dict.berekeningen().records(), 0);

    // A child row: the second emission point goes, the first stays selected after it.
    w.list(BrowseList::Bronnen)->setCurrentRow(1);
    f.messages.answers = {platform::Yes};
    QTest::mouseClick(button(w, u"?DELETE:BRW2"_s), Qt::LeftButton);
    QCOMPARE(column(w, BrowseList::Bronnen, 0), QStringList{u"C1"_s});
    QCOMPARE(w.list(BrowseList::Bronnen)->currentRow(), 0);
    QCOMPARE(f.children(f.dict.bronnen(), store::Key::BRO_By_Fk, c), 1);
    Q_UNUSED(a);
}

void TestDefinitionsWindows::headerSortSurvivesReopen() {
    Fixture f;
    const int32_t b = f.company(u"bosch"_s);
    f.company(u"Aarts"_s);
    f.company(u"Claes"_s);
    f.bron(b, u"Z"_s, 1000);
    f.bron(b, u"A"_s, 2000);
    {
        DefinitiesWindow w(f.context, f.services);
        QVERIFY(showActive(w));
        clickHeader(w, BrowseList::Bedrijven, 0);
        QTRY_COMPARE(header(w, BrowseList::Bedrijven, 0), u"Naam[+]"_s);
        QTRY_COMPARE(column(w, BrowseList::Bedrijven, 0),
                     (QStringList{u"Aarts"_s, u"bosch"_s, u"Claes"_s}));
        // The selected company stays selected through the sort.
        QCOMPARE(cell(w, BrowseList::Bedrijven, w.list(BrowseList::Bedrijven)->currentRow(), 0),
                 u"bosch"_s);
        clickHeader(w, BrowseList::Bedrijven, 0);
        QTRY_COMPARE(header(w, BrowseList::Bedrijven, 0), u"Naam[-]"_s);
        QTRY_COMPARE(column(w, BrowseList::Bedrijven, 0),
                     (QStringList{u"Claes"_s, u"bosch"_s, u"Aarts"_s}));
        w.list(BrowseList::Bedrijven)->setCurrentRow(1);
        clickHeader(w, BrowseList::Bronnen, 0);
        QTRY_COMPARE(column(w, BrowseList::Bronnen, 0), (QStringList{u"A"_s, u"Z"_s}));
        QTest::mouseClick(button(w, u"?CLOSE"_s), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }
    QCOMPARE(shell::readSortHeader(f.settings), u"-BED:NAAM"_s);
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    QCOMPARE(header(w, BrowseList::Bedrijven, 0), u"Naam[-]"_s);
    QCOMPARE(column(w, BrowseList::Bedrijven, 0),
             (QStringList{u"Claes"_s, u"bosch"_s, u"Aarts"_s}));
    QCOMPARE(w.list(BrowseList::Bedrijven)->currentRow(), 0);
    w.list(BrowseList::Bedrijven)->setCurrentRow(1);
    QCOMPARE(header(w, BrowseList::Bronnen, 0), u"Bron ID"_s);
    QCOMPARE(column(w, BrowseList::Bronnen, 0), (QStringList{u"Z"_s, u"A"_s}));

    // Shift+click: back to the key order, which is what the settings keep then.
    QHeaderView* h = w.list(BrowseList::Bedrijven)->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(h->sectionViewportPosition(0) + 5, h->height() / 2));
    QTRY_COMPARE(column(w, BrowseList::Bedrijven, 0),
                 (QStringList{u"bosch"_s, u"Aarts"_s, u"Claes"_s}));
    QCOMPARE(header(w, BrowseList::Bedrijven, 0), u"Naam"_s);
    w.close();
    QCOMPARE(shell::readSortHeader(f.settings), QString());
}

void TestDefinitionsWindows::copyLeavesSourceSelected() {
    Fixture f;
    f.company(u"Aarts"_s);
    const QString longName = u"Boerderij"_s;
    const int32_t b = f.company(longName, u"Eindhoven"_s);
    f.bron(b, u"S1"_s, 1000, 7.5);
    f.bron(b, u"S2"_s, 2000);
    f.ggl(b, u"G1"_s, 1500);
    f.company(u"Claes"_s);
    DefinitiesWindow w(f.context, f.services);
    QVERIFY(showActive(w));
    w.list(BrowseList::Bedrijven)->setCurrentRow(1);
    QString proposal;
    QString station;
    QString title;
    whenModal<CopyBedrijfWindow>([&](CopyBedrijfWindow& dialog) {
        title = dialog.windowTitle();
        proposal = fieldText(dialog, u"?LOC:NAAM"_s);
        station = fieldText(dialog, u"?LOC:METEO"_s);
        child<QComboBox>(dialog, u"?LOC:METEO"_s)->setCurrentIndex(1);
        QTest::mouseClick(button(dialog, u"?OK"_s), Qt::LeftButton);
    });
    QTest::mouseClick(button(w, u"?COPY"_s), Qt::LeftButton);
    QCOMPARE(title, u"Kopier gegevens bedrijf en bijbehorende bronnen en GGL's"_s);
    QCOMPARE(proposal, u"Kopie van Boerderij"_s);
    QCOMPARE(station, u"Eindhoven"_s);
    QCOMPARE(column(w, BrowseList::Bedrijven, 0),
             (QStringList{u"Aarts"_s, u"Boerderij"_s, u"Claes"_s, u"Kopie van Boerderij"_s}));
    QCOMPARE(w.list(BrowseList::Bedrijven)->currentRow(), 1);
    QCOMPARE(column(w, BrowseList::Bronnen, 0), (QStringList{u"S1"_s, u"S2"_s}));
    QCOMPARE(cell(w, BrowseList::Bedrijven, 1, 1), u"Eindhoven"_s);
    QCOMPARE(cell(w, BrowseList::Bedrijven, 3, 1), u"Schiphol"_s);
    QCOMPARE(cell(w, BrowseList::Bedrijven, 3, 2), u"20261211"_s);
    // The copy has the rows of the source.
    w.list(BrowseList::Bedrijven)->setCurrentRow(3);
    QCOMPARE(column(w, BrowseList::Bronnen, 0), (QStringList{u"S1"_s, u"S2"_s}));
    QCOMPARE(cell(w, BrowseList::Bronnen, 0, 3).trimmed(), u"7,5"_s);
    QCOMPARE(column(w, BrowseList::Geurgevloc, 0), QStringList{u"G1"_s});

    // Cancelling the dialog creates nothing; a long name is proposed cut to 64 characters.
    const QString sixty(60, u'x');
    const int32_t l = f.company(sixty);
    Q_UNUSED(l);
    w.presenter().sortChanged(BrowseList::Bedrijven);  // read the list again
    w.list(BrowseList::Bedrijven)->setCurrentRow(4);
    whenModal<CopyBedrijfWindow>([&](CopyBedrijfWindow& dialog) {
        proposal = fieldText(dialog, u"?LOC:NAAM"_s);
        QTest::mouseClick(button(dialog, u"?CANCEL"_s), Qt::LeftButton);
    });
    QTest::mouseClick(button(w, u"?COPY"_s), Qt::LeftButton);
    QCOMPARE(proposal, u"Kopie van "_s + sixty.left(54));
    QCOMPARE(w.list(BrowseList::Bedrijven)->model()->rowCount(), 5);
    QCOMPARE(w.list(BrowseList::Bedrijven)->currentRow(), 4);
}

// What the frame's menu runs: the browser modally until it is closed; a record file that cannot
// be opened ends with its fatal message instead of a crash.
void TestDefinitionsWindows::runFromTheMenu() {
    {
        Fixture f;
        f.company(u"Aarts"_s);
        QString title;
        whenModal<DefinitiesWindow>([&](DefinitiesWindow& w) {
            title = w.windowTitle();
            clickHeader(w, BrowseList::Bedrijven, 1);
            QTRY_COMPARE(header(w, BrowseList::Bedrijven, 1), u"Meteo[+]"_s);
            QTest::mouseClick(button(w, u"?CLOSE"_s), Qt::LeftButton);
        });
        runDefinities(f.context, f.services);
        QVERIFY(title.startsWith(u"SV02 - "_s));
        QCOMPARE(shell::readSortHeader(f.settings), u"BED:METEO"_s);
    }
    Fixture f;
    f.dict.bedrijvenRelations().close();
    // A directory where the company file should be: it cannot be opened as a record file.
    QVERIFY(QFile::remove(f.dir.filePath(u"Bedrijven.tps"_s)) ||
            !QFile::exists(f.dir.filePath(u"Bedrijven.tps"_s)));
    QVERIFY(QDir(f.dir.path()).mkpath(u"Bedrijven.tps/x"_s));
    store::Dictionary fresh(f.dir.path(), f.errors);
    definitions::DefinitionsContext context{fresh,      f.messages, f.busy,
                                            f.settings, f.clock,    f.history};
    runDefinities(context, f.services);
    QVERIFY(!f.messages.messages.empty());
    QVERIFY(f.messages.messages.back().text.endsWith(platform::ErrorManager::kFatalSuffix));
}

QTEST_MAIN(TestDefinitionsWindows)
#include "test_definitions_windows.moc"
