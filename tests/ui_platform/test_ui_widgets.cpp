// The window layer's widgets, driven as a user would under the offscreen platform: dialog units,
// message boxes, the busy cursor, number entry fields, the help and history keys, and lists with
// their pictures, colours, click-to-sort headers, type-ahead and request keys.

#include "platform/ui/busy_cursor_widget.h"
#include "platform/ui/column_model.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/form_builder.h"
#include "platform/ui/keys.h"
#include "platform/ui/message_box.h"
#include "platform/ui/numeric_edit.h"
#include "platform/ui/numeric_spin_box.h"
#include "platform/ui/record_list.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace ui;
using namespace Qt::Literals::StringLiterals;

class TestUiWidgets : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void dialogUnits();
    void messageBoxRendering();
    void messageBoxAnswers_data();
    void messageBoxAnswers();
    void busyCursor();
    void entryFieldTyping_data();
    void entryFieldTyping();
    void entryFieldRefusalKeepsFocus();
    void historyKey();
    void helpKey();
    void listPicturesAndColours();
    void listHeaderSort();
    void listTypeAheadAndKeys();
    void formDeclaredInDialogUnits();
    void spinBoxWithPicture();
};

namespace {

// Shows `w` and waits until it has the keyboard focus, so keys and shortcuts reach it.
bool showActive(QWidget& w) {
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

// Clicks the header section `column` of `view`, with `modifiers` held.
void clickHeader(RecordListView& view, int column, Qt::KeyboardModifiers modifiers = {}) {
    QHeaderView* header = view.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
}

struct Company {
    QString naam;
    QString meteo;
    int datum;
};

}  // namespace

void TestUiWidgets::initTestCase() {
    QApplication::setFont(DialogUnits::designFont());
}

void TestUiWidgets::dialogUnits() {
    const QFont font = DialogUnits::designFont();
    QCOMPARE(QFontInfo(font).pointSize(), 8);
    const DialogUnits& units = DialogUnits::standard();
    const QFontMetricsF metrics(font);
    // Four horizontal units are one average character, eight vertical ones a line of text.
    QVERIFY(qAbs(units.x(4) - metrics.averageCharWidth()) <= 0.5);
    QVERIFY(qAbs(units.y(8) - metrics.height()) <= 0.5);
    QVERIFY(qAbs(units.x(505) - 505 * metrics.averageCharWidth() / 4) <= 0.5);
    QCOMPARE(units.rect(2, 0, 108, 37), QRect(units.x(2), units.y(0), units.x(108), units.y(37)));
    // Units of a bigger font are bigger: the layout follows the text.
    QFont big = font;
    big.setPointSize(16);
    QVERIFY(DialogUnits(big).x(100) > units.x(100) * 3 / 2);
    // Back from pixels.
    for (const int u : {1, 37, 258, 609}) {
        QCOMPARE(units.unitsX(units.x(u)), u);
        QCOMPARE(units.unitsY(units.y(u)), u);
    }
    QWidget parent;
    auto* child = new QWidget(&parent);
    units.place(child, 119, 3, 140, 22);
    QCOMPARE(child->geometry(), units.rect(119, 3, 140, 22));
}

void TestUiWidgets::messageBoxRendering() {
    const platform::Message message{QString(),
                                    QStringLiteral("Eerste regel|Tweede regel"),
                                    platform::Icon::Warning,
                                    platform::Yes | platform::No | platform::Cancel,
                                    platform::Cancel,
                                    false};
    auto box = MessageBoxSink::build(message, nullptr);
    QCOMPARE(box->windowTitle(), QString());
    QCOMPARE(box->text(), QStringLiteral("Eerste regel\nTweede regel"));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));

    auto titled = MessageBoxSink::build(
        platform::Message{QStringLiteral("Fout in invoerbereik"), QStringLiteral("X"),
                          platform::Icon::None, platform::Ok, platform::Ok, true},
        nullptr);
    QCOMPARE(titled->windowTitle(), QStringLiteral("Fout in invoerbereik"));
    QCOMPARE(titled->icon(), QMessageBox::NoIcon);
    QCOMPARE(titled->standardButtons(), QMessageBox::Ok);
}

void TestUiWidgets::messageBoxAnswers_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("beep");

    const int yesNoCancel = platform::Yes | platform::No | platform::Cancel;
    QTest::newRow("Return takes the default")
        << yesNoCancel << int(platform::Cancel) << int(Qt::Key_Return) << int(platform::Cancel)
        << false;
    QTest::newRow("default No") << (platform::Yes | platform::No) << int(platform::No)
                                << int(Qt::Key_Return) << int(platform::No) << false;
    QTest::newRow("Escape is No without Cancel")
        << (platform::Yes | platform::No) << int(platform::Yes) << int(Qt::Key_Escape)
        << int(platform::No) << false;
    QTest::newRow("OK then beep") << int(platform::Ok) << int(platform::Ok) << int(Qt::Key_Return)
                                  << int(platform::Ok) << true;
}

void TestUiWidgets::messageBoxAnswers() {
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, key);
    QFETCH(int, answer);
    QFETCH(bool, beep);

    MessageBoxSink sink;
    int beeps = 0;
    bool boxOpenAtBeep = false;
    sink.setBeeper([&] {
        ++beeps;
        boxOpenAtBeep = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
    });
    QString shownText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        shownText = box->text();
        QTest::keyClick(box, Qt::Key(key));
    });
    const platform::Button chosen = sink.show(
        platform::Message{QString(), QStringLiteral("Vraag|regel 2"), platform::Icon::Question,
                          buttons, platform::Button(defaultButton), beep});
    QCOMPARE(int(chosen), answer);
    QCOMPARE(shownText, QStringLiteral("Vraag\nregel 2"));
    QCOMPARE(beeps, beep ? 1 : 0);
    QVERIFY(!boxOpenAtBeep);  // the beep sounds when the box has closed
}

void TestUiWidgets::busyCursor() {
    QVERIFY(QApplication::overrideCursor() == nullptr);
    {
        OverrideBusyCursor cursor;
        BusyScope outer(cursor);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        { BusyScope inner(cursor); }
        QVERIFY(QApplication::overrideCursor());
        outer.restore();
        QVERIFY(QApplication::overrideCursor() == nullptr);
        cursor.begin();  // left on: the cursor's end restores it
    }
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestUiWidgets::entryFieldTyping_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");

    QTest::newRow("point as decimal") << u"@N10_`1"_s << u"6.5"_s << 6.5 << u"6,5"_s;
    QTest::newRow("comma") << u"@N10_`1"_s << u"6,5"_s << 6.5 << u"6,5"_s;
    QTest::newRow("grouped") << u"@N10_`1"_s << u"1 234,5"_s << 1234.5 << u"1 234,5"_s;
    QTest::newRow("grouping added") << u"@N9_"_s << u"281800"_s << 281800.0 << u"281 800"_s;
    QTest::newRow("decimals filled") << u"@N9_`2"_s << u"4"_s << 4.0 << u"4,00"_s;
    QTest::newRow("letters are not typed") << u"@N9_"_s << u"12ab3"_s << 123.0 << u"123"_s;
}

void TestUiWidgets::entryFieldTyping() {
    QFETCH(QString, picture);
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, shown);

    platform::RecordingSink messages;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new NumericEdit(picture, messages, &window);
    auto* next = new QLineEdit(&window);
    layout->addWidget(field);
    layout->addWidget(next);
    QVERIFY(showActive(window));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, Qt::Key_Tab);  // leaving the field reads it
    QCOMPARE(field->value(), value);
    QCOMPARE(field->text(), shown);
    QVERIFY(messages.messages.empty());
    QVERIFY(next->hasFocus());
}

void TestUiWidgets::entryFieldRefusalKeepsFocus() {
    platform::RecordingSink messages;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new NumericEdit(u"@N10_`1", messages, &window);
    auto* next = new QLineEdit(&window);
    layout->addWidget(field);
    layout->addWidget(next);
    field->setValue(12.5);
    QVERIFY(showActive(window));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("155.000"));
    QTest::keyClick(field, Qt::Key_Tab);
    QCOMPARE(messages.messages.size(), std::size_t(1));
    const platform::Message& m = messages.messages.front();
    QCOMPARE(m.title, kEntryRefusedTitle);
    QCOMPARE(m.icon, platform::Icon::Warning);
    QVERIFY(m.text.contains(QStringLiteral("niet eenduidig")));
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(field->value(), 12.5);  // the last accepted value stays
    QCOMPARE(field->selectedText(), QStringLiteral("155.000"));
    // The window's own take-over refuses it again, with the message again.
    QVERIFY(!field->commit());
    QCOMPARE(messages.messages.size(), std::size_t(2));
    // Corrected, it is read.
    QTest::keyClicks(field, QStringLiteral("155"));
    QVERIFY(field->commit());
    QCOMPARE(field->value(), 155.0);

    // Going to a cancel button reads nothing: cancelling is never held up by a refusal.
    auto* cancel = new QPushButton(u"&Annuleren"_s, &window);
    layout->addWidget(cancel);
    markLeavesWithoutReading(cancel);
    cancel->show();
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, u"1.234"_s);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(cancel->hasFocus());
    QCOMPARE(messages.messages.size(), std::size_t(2));
    QCOMPARE(field->value(), 155.0);
}

void TestUiWidgets::historyKey() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* name = new QLineEdit(&window);
    auto* station = new QComboBox(&window);
    station->addItems({QStringLiteral("Eindhoven"), QStringLiteral("Schiphol")});
    layout->addWidget(name);
    layout->addWidget(station);
    installHistoryKey(name, [name] { name->setText(QStringLiteral("Vorige naam")); });
    installHistoryKey(station, [station] { station->setCurrentIndex(0); });
    station->setCurrentIndex(1);
    QVERIFY(showActive(window));
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("nieuw"));
    QTest::keyClick(name, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(name->text(), QStringLiteral("Vorige naam"));
    station->setFocus();
    QTest::keyClick(station, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(station->currentText(), QStringLiteral("Eindhoven"));
    // A plain u"h"_s is still typed.
    name->setFocus();
    QTest::keyClick(name, Qt::Key_H);
    QCOMPARE(name->text(), QStringLiteral("Vorige naamh"));
}

void TestUiWidgets::helpKey() {
    RecordingHelp help;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new QLineEdit(&window);
    layout->addWidget(field);
    installHelpKey(&window, QStringLiteral("UpdateBronnen"), help);
    QVERIFY(showActive(window));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F1);
    QCOMPARE(help.keywords, QStringList{QStringLiteral("UpdateBronnen")});
}

namespace {

struct ListFixture {
    std::vector<Company> rows = {{QStringLiteral("Hoeve Zuid"), QStringLiteral("Schiphol"), 30},
                                 {QStringLiteral("akkerhof"), QStringLiteral("Eindhoven"), 10},
                                 {QStringLiteral("Brink"), QStringLiteral("Schiphol"), 20},
                                 {QStringLiteral("Akkerhof"), QStringLiteral("Schiphol"), 40}};
    SortHeaderState sort{kFields};
    FunctionTableModel model{
        Columns{{QStringLiteral("Naam"), QStringLiteral("BED:NAAM"), 170, Align::Left, u"@s254"},
                {QStringLiteral("Meteo"), QStringLiteral("BED:METEO"), 60, Align::Left, u"@s19"},
                {QStringLiteral("Aanmaak datum"), QStringLiteral("BED:AANMAAKDATUM"), 57,
                 Align::Right, u"@N6_`1"}},
        FunctionTableModel::Source{[this] { return static_cast<int>(rows.size()); },
                                   [this](int row, int column) -> QVariant {
                                       const Company& c = rows.at(static_cast<std::size_t>(row));
                                       return column == 0   ? QVariant(c.naam)
                                              : column == 1 ? QVariant(c.meteo)
                                                            : QVariant(c.datum);
                                   },
                                   [this](int row, int column) {
                                       // Red text where the number is above 25, on white; default
                                       // elsewhere.
                                       const Company& c = rows.at(static_cast<std::size_t>(row));
                                       return column == 2 && c.datum > 25
                                                  ? CellColors{kColorRed, kColorWhite}
                                                  : CellColors{};
                                   }}};
    RecordListView view;

    static inline const QStringList kFields = {QStringLiteral("BED:NAAM"),
                                               QStringLiteral("BED:METEO"),
                                               QStringLiteral("BED:AANMAAKDATUM")};

    ListFixture() {
        model.setSortState(&sort);
        view.setColumnModel(&model, DialogUnits::standard());
        view.resize(600, 300);
    }
    QStringList column(int c) const {
        QStringList texts;
        for (int r = 0; r < model.rowCount(); ++r) {
            texts.append(model.text(r, c));
        }
        return texts;
    }
    QStringList headers() const {
        QStringList texts;
        for (int c = 0; c < model.columnCount(); ++c) {
            texts.append(view.horizontalHeader()
                             ->model()
                             ->headerData(c, Qt::Horizontal, Qt::DisplayRole)
                             .toString());
        }
        return texts;
    }
};

}  // namespace

void TestUiWidgets::listPicturesAndColours() {
    ListFixture f;
    QAbstractItemModelTester tester(&f.model,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    const DialogUnits& units = DialogUnits::standard();
    QCOMPARE(f.view.columnWidth(0), units.x(170));
    QCOMPARE(f.view.columnWidth(2), units.x(57));
    QCOMPARE(f.model.data(f.model.index(0, 2)).toString(), QStringLiteral("  30,0"));
    QCOMPARE(f.model.data(f.model.index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(f.model.data(f.model.index(0, 2), Qt::ForegroundRole).value<QBrush>().color(),
             QColor(255, 0, 0));  // 0x0000FF is red
    QCOMPARE(f.model.data(f.model.index(0, 2), Qt::BackgroundRole).value<QBrush>().color(),
             QColor(Qt::white));
    QVERIFY(!f.model.data(f.model.index(1, 2), Qt::ForegroundRole).isValid());
    QCOMPARE(windowsColor(kColorBlue), QColor(0, 0, 255));
    QCOMPARE(windowsColor(0x123456), QColor(0x56, 0x34, 0x12));
    QVERIFY(!windowsColor(kColorDefault).isValid());
}

void TestUiWidgets::listHeaderSort() {
    ListFixture f;
    QAbstractItemModelTester tester(&f.model,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy changed(&f.view, &RecordListView::sortChanged);
    QVERIFY(showActive(f.view));
    f.view.setCurrentRow(2);  // Brink

    clickHeader(f.view, 0);
    QCOMPARE(f.headers(), (QStringList{u"Naam[+]"_s, u"Meteo"_s, u"Aanmaak datum"_s}));
    // Equal names without regard to case keep their key order.
    QCOMPARE(f.column(0), (QStringList{u"akkerhof"_s, u"Akkerhof"_s, u"Brink"_s, u"Hoeve Zuid"_s}));
    QCOMPARE(f.model.text(f.view.currentRow(), 0), QStringLiteral("Brink"));  // selection kept
    QCOMPARE(changed.count(), 1);

    clickHeader(f.view, 0);
    QCOMPARE(f.headers(), (QStringList{u"Naam[-]"_s, u"Meteo"_s, u"Aanmaak datum"_s}));
    QCOMPARE(f.column(0), (QStringList{u"Hoeve Zuid"_s, u"Brink"_s, u"akkerhof"_s, u"Akkerhof"_s}));

    clickHeader(f.view, 1);
    clickHeader(f.view, 2, Qt::ControlModifier);
    clickHeader(f.view, 2, Qt::ControlModifier);
    QCOMPARE(f.headers(), (QStringList{u"Naam"_s, u"Meteo[+1]"_s, u"Aanmaak datum[-2]"_s}));
    QCOMPARE(f.column(2), (QStringList{u"  10,0"_s, u"  40,0"_s, u"  30,0"_s, u"  20,0"_s}));
    QCOMPARE(f.sort.toText(), QStringLiteral("BED:METEO,-BED:AANMAAKDATUM"));

    clickHeader(f.view, 0, Qt::ShiftModifier);
    QCOMPARE(f.headers(), (QStringList{u"Naam"_s, u"Meteo"_s, u"Aanmaak datum"_s}));
    QCOMPARE(f.column(0), (QStringList{u"Hoeve Zuid"_s, u"akkerhof"_s, u"Brink"_s, u"Akkerhof"_s}));
    QCOMPARE(changed.count(), 6);

    // A saved state restored into a fresh list shows its markers and order at once.
    ListFixture g;
    QVERIFY(g.sort.fromText(QStringLiteral("-BED:NAAM")));
    g.model.sortChanged();
    QCOMPARE(g.headers().at(0), QStringLiteral("Naam[-]"));
    QCOMPARE(g.column(0).at(0), QStringLiteral("Hoeve Zuid"));
}

void TestUiWidgets::listTypeAheadAndKeys() {
    ListFixture f;
    QVERIFY(showActive(f.view));
    f.view.setFocus();
    f.view.setCurrentRow(0);
    QTest::keyClick(&f.view, Qt::Key_A);
    QCOMPARE(f.view.currentRow(), 1);  // key order, first column
    QTest::keyClick(&f.view, Qt::Key_A);
    QCOMPARE(f.view.currentRow(), 3);
    // Sorted by Meteo, the letters go by that column.
    clickHeader(f.view, 1);
    QTest::keyClick(&f.view, Qt::Key_E);
    QCOMPARE(f.model.text(f.view.currentRow(), 1), QStringLiteral("Eindhoven"));

    QSignalSpy inserts(&f.view, &RecordListView::insertRequested);
    QSignalSpy deletes(&f.view, &RecordListView::deleteRequested);
    QSignalSpy changes(&f.view, &RecordListView::changeRequested);
    QTest::keyClick(&f.view, Qt::Key_Insert);
    QTest::keyClick(&f.view, Qt::Key_Delete);
    QTest::keyClick(&f.view, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(&f.view, Qt::Key_Return);  // plain Enter is no change request
    const QRect cell = f.view.visualRect(f.model.index(2, 0));
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(inserts.count(), 1);
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(changes.count(), 2);
}

void TestUiWidgets::formDeclaredInDialogUnits() {
    platform::RecordingSink messages;
    QWidget window;
    FormBuilder form(&window);
    form.windowSize(236, 99, false);
    auto* id = form.entry(u"?GGL:USER_ID", {67, 6, 84, 10}, 20);
    auto* idPrompt = form.prompt(u"GGL &ID:", {27, 6, 36, 10}, id);
    auto* x = form.number(u"?GGL:X_COOR", u"@N9_", messages, {67, 20, 64, 10});
    form.text(u"?HINT", u"[0 - 281800 m]", {137, 21, 0, 0});
    auto* ok = form.button(u"?OK", u"&Bevestigen", {158, 71, 64, 14},
                           u"Accepteer invoer en sluit het venster");
    QStatusBar* status = form.statusLine();
    const DialogUnits& du = DialogUnits::standard();

    QCOMPARE(window.findChild<QLineEdit*>(u"?GGL:USER_ID"_s), id);
    QCOMPARE(id->geometry(), du.rect(67, 6, 84, 10));
    QCOMPARE(x->geometry(), du.rect(67, 20, 64, 10));
    QCOMPARE(id->maxLength(), 20);
    QCOMPARE(idPrompt->buddy(), id);
    QCOMPARE(ok->toolTip(), u"Accepteer invoer en sluit het venster"_s);
    // The status line comes below the design size, which stays free for the controls.
    QCOMPARE(window.size(), QSize(du.x(236), du.y(99) + status->sizeHint().height()));
    QVERIFY(window.minimumSize() == window.maximumSize());
    QCOMPARE(status->geometry().top(), du.y(99));

    QVERIFY(showActive(window));
    id->setFocus();
    // Tab order is the order of declaration.
    QTest::keyClick(id, Qt::Key_Tab);
    QVERIFY(x->hasFocus());
    QTest::keyClick(x, Qt::Key_Tab);
    QVERIFY(ok->hasFocus());
    QCOMPARE(status->currentMessage(), u"Accepteer invoer en sluit het venster"_s);
    // The access key of a prompt moves into its field.
    QTest::keyClick(&window, Qt::Key_I, Qt::AltModifier);
    QVERIFY(id->hasFocus());
    // The mouse on the button shows its text too.
    status->clearMessage();
    const QPointF at(5, 5);
    QEnterEvent enter(at, at, ok->mapToGlobal(at));
    QApplication::sendEvent(ok, &enter);
    QCOMPARE(status->currentMessage(), u"Accepteer invoer en sluit het venster"_s);
}

void TestUiWidgets::spinBoxWithPicture() {
    QWidget window;
    FormBuilder form(&window);
    auto* box = form.spin(u"?LOC:RUWHEID", u"@N6_`2", 0.1, 1.5, 0.1, {76, 277, 39, 10});
    form.check(u"?EIGEN_RUWHEID", u"Eigen Ruwheid", {20, 265, 0, 0});
    box->setValue(0.1);
    QCOMPARE(box->text(), u"0,10"_s);
    QVERIFY(showActive(window));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->value(), 0.2);
    QCOMPARE(box->text(), u"0,20"_s);
    box->selectAll();
    QTest::keyClicks(box, u"0.35"_s);  // a point read as the decimal comma
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->value(), 0.35);
    QCOMPARE(box->text(), u"0,35"_s);
    box->selectAll();
    QTest::keyClicks(box, u"1,5"_s);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->value(), 1.5);
    QTest::keyClick(box, Qt::Key_Up);  // stays at its limit
    QCOMPARE(box->value(), 1.5);
    // Three decimals in a two-decimal box cannot be read: the value stays.
    box->selectAll();
    QTest::keyClicks(box, u"0,125"_s);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->value(), 1.5);
}

QTEST_MAIN(TestUiWidgets)
#include "test_ui_widgets.moc"
