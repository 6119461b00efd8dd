// What the window layer decides without a window: reading number entries, the click-to-sort
// header state and its saved text, one-character type-ahead, cell pictures and sort order.

#include "platform/ui/core/busy_cursor.h"
#include "platform/ui/core/columns.h"
#include "platform/ui/core/entry_reading.h"
#include "platform/ui/core/sort_header.h"
#include "platform/ui/core/type_ahead.h"

#include <QDate>
#include <QTest>

using namespace ui;
using namespace Qt::Literals::StringLiterals;

class TestUiCore : public QObject {
    Q_OBJECT
private slots:
    void readsEntries_data();
    void readsEntries();
    void showsEntries();
    void sortHeaderClicks_data();
    void sortHeaderClicks();
    void sortHeaderRestore_data();
    void sortHeaderRestore();
    void typeAhead();
    void cellPictures_data();
    void cellPictures();
    void cellOrder();
    void busyScopes();
};

namespace {
const QStringList kCompanyFields = {QStringLiteral("BED:NAAM"), QStringLiteral("BED:METEO"),
                                    QStringLiteral("BED:AANMAAKDATUM"), QString()};
}

void TestUiCore::readsEntries_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("reason");  // part of the refusal message

    const QString oneDecimal = QStringLiteral("@N10_`1");
    const QString twoDecimals = QStringLiteral("@N9_`2");
    const QString whole = QStringLiteral("@N9_");
    const QString ambiguous = QStringLiteral("niet eenduidig");
    QTest::newRow("point read as decimal comma") << oneDecimal << u"6.5"_s << true << 6.5 << u""_s;
    QTest::newRow("decimal comma") << oneDecimal << u"6,5"_s << true << 6.5 << u""_s;
    QTest::newRow("grouped with blank") << oneDecimal << u"1 234,5"_s << true << 1234.5 << u""_s;
    QTest::newRow("blanks around") << oneDecimal << u"  12,0 "_s << true << 12.0 << u""_s;
    QTest::newRow("empty is zero") << oneDecimal << u""_s << true << 0.0 << u""_s;
    QTest::newRow("negative") << oneDecimal << u"-5"_s << true << -5.0 << u""_s;
    QTest::newRow("extra zero decimal") << oneDecimal << u"6,50"_s << true << 6.5 << u""_s;
    QTest::newRow("three digits after point")
        << oneDecimal << u"155.000"_s << false << 0.0 << ambiguous;
    QTest::newRow("three digits after point, whole")
        << whole << u"1.234"_s << false << 0.0 << ambiguous;
    QTest::newRow("point grouping and comma")
        << oneDecimal << u"1.234,5"_s << false << 0.0 << ambiguous;
    QTest::newRow("too many decimals")
        << oneDecimal << u"6,55"_s << false << 0.0 << u"ten hoogste 1 decimaal"_s;
    QTest::newRow("too many decimals, two")
        << twoDecimals << u"0,125"_s << false << 0.0 << u"ten hoogste 2 decimalen"_s;
    QTest::newRow("decimal in whole field")
        << whole << u"6,5"_s << false << 0.0 << u"geen geheel getal"_s;
    QTest::newRow("whole grouped") << whole << u"281 800"_s << true << 281800.0 << u""_s;
    QTest::newRow("broken group") << whole << u"28 1800"_s << false << 0.0 << ambiguous;
    QTest::newRow("too wide") << whole << u"1234567890"_s << false << 0.0 << u"te groot"_s;
    QTest::newRow("letters") << whole << u"12a"_s << false << 0.0 << u"geen getal"_s;
    QTest::newRow("two decimal marks") << twoDecimals << u"1,2,3"_s << false << 0.0 << ambiguous;
}

void TestUiCore::readsEntries() {
    QFETCH(QString, picture);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    QFETCH(QString, reason);
    const EntryReading reading = readNumber(typed, numberPicture(picture));
    QCOMPARE(reading.ok(), accepted);
    if (accepted) {
        QCOMPARE(*reading.value, value);
        QVERIFY(reading.message.isEmpty());
    } else {
        QVERIFY2(reading.message.contains(reason), qPrintable(reading.message));
        QVERIFY(reading.message.startsWith(u'"' + typed.trimmed() + u'"'));
    }
}

void TestUiCore::showsEntries() {
    QCOMPARE(showNumber(155000, numberPicture(u"@N9_")), QStringLiteral("155 000"));
    QCOMPARE(showNumber(0.5, numberPicture(u"@N9_`2")), QStringLiteral("0,50"));
    QCOMPARE(showNumber(0, numberPicture(u"@N10_`1B")), QString());
    // A layout fault in a picture still gives a usable field.
    QCOMPARE(numberPicture(u"nonsense").width, 10);
}

void TestUiCore::sortHeaderClicks_data() {
    QTest::addColumn<QString>("clicks");  // p = plain, c = Ctrl, s = Shift, then the column
    QTest::addColumn<QStringList>("markers");
    QTest::addColumn<QString>("saved");

    QTest::newRow("one click") << u"p0"_s << QStringList{u"[+]"_s, u""_s, u""_s, u""_s}
                               << u"BED:NAAM"_s;
    QTest::newRow("twice reverses")
        << u"p0 p0"_s << QStringList{u"[-]"_s, u""_s, u""_s, u""_s} << u"-BED:NAAM"_s;
    QTest::newRow("thrice") << u"p0 p0 p0"_s << QStringList{u"[+]"_s, u""_s, u""_s, u""_s}
                            << u"BED:NAAM"_s;
    QTest::newRow("other column replaces")
        << u"p0 p1"_s << QStringList{u""_s, u"[+]"_s, u""_s, u""_s} << u"BED:METEO"_s;
    QTest::newRow("ctrl adds a level")
        << u"p2 p2 c0"_s << QStringList{u"[+2]"_s, u""_s, u"[-1]"_s, u""_s}
        << u"-BED:AANMAAKDATUM,BED:NAAM"_s;
    QTest::newRow("ctrl on a level reverses it")
        << u"p0 c1 c1"_s << QStringList{u"[+1]"_s, u"[-2]"_s, u""_s, u""_s}
        << u"BED:NAAM,-BED:METEO"_s;
    QTest::newRow("plain after levels")
        << u"p0 c1 p1"_s << QStringList{u""_s, u"[+]"_s, u""_s, u""_s} << u"BED:METEO"_s;
    QTest::newRow("shift clears") << u"p0 c1 s2"_s << QStringList{u""_s, u""_s, u""_s, u""_s}
                                  << u""_s;
    QTest::newRow("ctrl first") << u"c1"_s << QStringList{u""_s, u"[+]"_s, u""_s, u""_s}
                                << u"BED:METEO"_s;
    QTest::newRow("column without field")
        << u"p0 p3 c3"_s << QStringList{u"[+]"_s, u""_s, u""_s, u""_s} << u"BED:NAAM"_s;
}

void TestUiCore::sortHeaderClicks() {
    QFETCH(QString, clicks);
    QFETCH(QStringList, markers);
    QFETCH(QString, saved);
    SortHeaderState state(kCompanyFields);
    for (const QString& click : clicks.split(QLatin1Char(' '))) {
        const SortClick kind = click.at(0) == QLatin1Char('c')   ? SortClick::Add
                               : click.at(0) == QLatin1Char('s') ? SortClick::Clear
                                                                 : SortClick::Plain;
        state.click(click.mid(1).toInt(), kind);
    }
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(state.marker(column), markers.at(column));
    }
    QCOMPARE(state.headerText(0, QStringLiteral("Naam")), QStringLiteral("Naam") + markers.at(0));
    QCOMPARE(state.toText(), saved);

    // What was saved comes back the same.
    SortHeaderState restored(kCompanyFields);
    QVERIFY(restored.fromText(saved));
    QCOMPARE(restored.levels(), state.levels());
}

void TestUiCore::sortHeaderRestore_data() {
    QTest::addColumn<QString>("saved");
    QTest::addColumn<bool>("clean");
    QTest::addColumn<QString>("restored");

    QTest::newRow("empty is key order") << u""_s << true << u""_s;
    QTest::newRow("other case and blanks")
        << u" -bed:aanmaakdatum , Bed:Naam"_s << true << u"-BED:AANMAAKDATUM,BED:NAAM"_s;
    QTest::newRow("unknown field skipped") << u"BED:WEG,-BED:NAAM"_s << false << u"-BED:NAAM"_s;
    QTest::newRow("column twice") << u"BED:NAAM,-BED:NAAM"_s << false << u"BED:NAAM"_s;
    QTest::newRow("only a minus") << u"-"_s << false << u""_s;
}

void TestUiCore::sortHeaderRestore() {
    QFETCH(QString, saved);
    QFETCH(bool, clean);
    QFETCH(QString, restored);
    SortHeaderState state(kCompanyFields);
    state.click(1, SortClick::Plain);  // whatever was there before is replaced
    QCOMPARE(state.fromText(saved), clean);
    QCOMPARE(state.toText(), restored);
}

void TestUiCore::typeAhead() {
    const QStringList rows = {QStringLiteral("Appel"), QStringLiteral("   12"),
                              QStringLiteral("Banaan"), QStringLiteral("appelsap")};
    auto textOf = [&rows](int row) { return rows.at(row); };
    QCOMPARE(typeAheadRow(4, 0, u'a', textOf), 3);  // the next one, without regard to case
    QCOMPARE(typeAheadRow(4, 3, u'A', textOf), 0);  // wraps round
    QCOMPARE(typeAheadRow(4, -1, u'b', textOf), 2);
    QCOMPARE(typeAheadRow(4, 0, u'1', textOf), 1);  // leading blanks of a number ignored
    QCOMPARE(typeAheadRow(4, 2, u'z', textOf), -1);
    QCOMPARE(typeAheadRow(0, -1, u'a', textOf), -1);
}

void TestUiCore::cellPictures_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");

    QTest::newRow("sequence number") << u"@N_3"_s << QVariant(12) << u"·12"_s;
    QTest::newRow("grouped coordinate") << u"@N7_"_s << QVariant(155000) << u"155·000"_s;
    QTest::newRow("blank when zero") << u"@N10_`1B"_s << QVariant(0.0) << u"··········"_s;
    QTest::newRow("one decimal") << u"@N10_`1B"_s << QVariant(1234.5) << u"···1·234,5"_s;
    QTest::newRow("text cut") << u"@s5"_s << QVariant(QStringLiteral("abcdefg")) << u"abcde"_s;
    QTest::newRow("day number") << u"yyyymmdd"_s << QVariant(4) << u"18010101"_s;
    QTest::newRow("date value") << u"yyyymmdd"_s << QVariant(QDate(2010, 3, 5)) << u"20100305"_s;
    QTest::newRow("text under number") << u"@N7_"_s << QVariant(QStringLiteral("B")) << u"B"_s;
}

void TestUiCore::cellPictures() {
    QFETCH(QString, picture);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    shown.replace(u'·', u' ');
    QCOMPARE(CellPicture(picture).show(value), shown);
}

void TestUiCore::cellOrder() {
    QVERIFY(compareCells(9, 10) < 0);  // numbers by value, not as text
    QVERIFY(compareCells(QStringLiteral("appel"), QStringLiteral("Banaan")) < 0);
    QCOMPARE(compareCells(QStringLiteral("ABC"), QStringLiteral("abc")), 0);
    QVERIFY(compareCells(QVariant(), 0) < 0);
}

void TestUiCore::busyScopes() {
    RecordingBusyCursor cursor;
    {
        BusyScope outer(cursor);
        {
            BusyScope inner(cursor);
            QVERIFY(cursor.busy());
        }
        QVERIFY(cursor.busy());
        outer.restore();  // before a message that must come with the normal cursor
        QVERIFY(!cursor.busy());
    }
    QVERIFY(!cursor.busy());
    QCOMPARE(cursor.changes, (std::vector<bool>{true, false}));
}

QTEST_GUILESS_MAIN(TestUiCore)
#include "test_ui_core.moc"
