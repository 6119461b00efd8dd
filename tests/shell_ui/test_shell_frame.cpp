// The main frame, the About window and help, driven as a user would under the offscreen
// platform: the menu with its access keys and status-bar texts, the working windows one at a
// time, About windows that leave the frame usable, F1, and window positions kept in the settings
// file.

#include "platform/settings_file.h"
#include "platform/ui/dialog_units.h"
#include "shell/ui/about_window.h"
#include "shell/ui/help_window.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/program_dialog.h"
#include "shell/ui/program_window.h"
#include "shell/window_ids.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace ui;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Fixture {
    QTemporaryDir dir;
    platform::SettingsFile settings{dir.filePath(u"V-Wolkan-Vaduvevedu.INI"_s)};
    platform::RecordingSink messages;
    RecordingBusyCursor busy;
    RecordingHelp help;
    WindowServices services{messages, busy, help, settings};
    WorkWindows windows;

    // About windows live on their own; none may outlive the services they were given.
    ~Fixture() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<AboutWindow*>(w) != nullptr) {
                delete w;
            }
        }
    }
};

bool showActive(QWidget& w) {
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

QList<AboutWindow*> openAbouts() {
    QList<AboutWindow*> list;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* about = qobject_cast<AboutWindow*>(w); about && about->isVisible()) {
            list.append(about);
        }
    }
    return list;
}

// Clicks the command `text` on the menu bar.
void clickBar(MainFrame& frame, const QString& text) {
    QMenuBar* bar = frame.menuBar();
    for (QAction* a : bar->actions()) {
        if (a->text() == text) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(a).center());
            return;
        }
    }
    QFAIL(qPrintable(u"no menu bar entry "_s + text));
}

}  // namespace

class TestShellFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setFont(DialogUnits::designFont()); }
    void frameAsDesigned();
    void menuBarAndAccessKeys();
    void statusBarHelpTexts();
    void workWindowsModalOneAtATime();
    void workWindowNotThereYet();
    void aboutWindowsNonModal();
    void aboutLayout();
    void closingFrameClosesAbouts();
    void windowMenu();
    void printerSetup();
    void exitCloses();
    void placementRoundTrip_data();
    void placementRoundTrip();
    void placementOffScreen();
    void unreadablePlacementRestoresNothing();
    void helpPagesForEveryKeyword();
    void f1OpensTheWindowsKeyword();
    void programDialogRunsModally();
};

void TestShellFrame::frameAsDesigned() {
    Fixture f;
    MainFrame frame(f.services, f.windows);
    frame.restorePlacement();  // nothing stored: as designed
    QCOMPARE(frame.size(), DialogUnits::standard().size(505, 318));
    QVERIFY(showActive(frame));
    QCOMPARE(frame.windowTitle(), u"SV0 - V-Wolkan-Dazevovirovu V-2010.1"_s);
    QVERIFY(!frame.windowIcon().isNull());
    // The background is a picture, not an empty area.
    const QImage shot = frame.centralWidget()->grab().toImage();
    QVERIFY(shot.pixelColor(shot.width() / 2, shot.height() / 2) !=
            frame.palette().window().color());
    QVERIFY(frame.statusBar()->isVisible());
}

void TestShellFrame::menuBarAndAccessKeys() {
    Fixture f;
    MainFrame frame(f.services, f.windows);
    QStringList bar;
    for (QAction* a : frame.menuBar()->actions()) {
        bar.append(a->text());
    }
    QCOMPARE(bar, (QStringList{u"&Algemeen"_s, u"&Definities"_s, u"&Berekenen"_s, u"Be&kijken"_s,
                               u"&Window"_s, u"&Over V-Wolkan"_s}));
    QVERIFY(showActive(frame));

    // Alt+A opens "&Algemeen" with its two items.
    QTest::keyClick(&frame, Qt::Key_A, Qt::AltModifier);
    QMenu* algemeen = frame.menuBar()->actions().at(0)->menu();
    QTRY_VERIFY(algemeen->isVisible());
    QStringList items;
    for (QAction* a : algemeen->actions()) {
        items.append(a->text());
    }
    QCOMPARE(items, (QStringList{u"&Printer Setup ..."_s, u"E&xit"_s}));
    QTest::keyClick(algemeen, Qt::Key_Escape);
    QTRY_VERIFY(!algemeen->isVisible());

    // Alt+K on the bar runs "Be&kijken" at once.
    QTest::keyClick(&frame, Qt::Key_K, Qt::AltModifier);
    QTRY_COMPARE(f.messages.messages.size(), std::size_t(1));
    QVERIFY(f.messages.texts().at(0).contains(u"\"Bekijken\""_s));
}

void TestShellFrame::statusBarHelpTexts() {
    Fixture f;
    MainFrame frame(f.services, f.windows);
    QVERIFY(showActive(frame));
    QMenuBar* bar = frame.menuBar();
    // The mouse on a command of the bar.
    const QList<QPair<int, QString>> onBar = {
        {1, u"Definieer bedrijven met bijbehorende bronnen en geurgevoelige locaties"_s},
        {2, u"Maak berekeningen van geurbelasting van bedrijven"_s},
        {3, u"Bekijk de resultaten van berekeningen"_s},
        {5, u"Over V_Wolkan Vaduvevedu"_s}};
    for (const auto& [index, text] : onBar) {
        const QPoint at = bar->actionGeometry(bar->actions().at(index)).center();
        QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QTRY_COMPARE(frame.statusBar()->currentMessage(), text);
    }
    // Opened with its access key, a drop-down menu shows the help text of the item under the
    // mouse or the keys.
    const QList<QPair<Qt::Key, QStringList>> menus = {
        {Qt::Key_A, {u"Instellen van de printer"_s, u"Verlaat het programma"_s}},
        {Qt::Key_W,
         {u"Arrange multiple opened windows"_s, u"Arrange multiple opened windows"_s,
          u"Arrange the icons for minimized windows"_s}}};
    for (const auto& [key, texts] : menus) {
        QTest::keyClick(&frame, key, Qt::AltModifier);
        QMenu* menu =
            key == Qt::Key_A ? bar->actions().at(0)->menu() : bar->actions().at(4)->menu();
        QTRY_VERIFY(menu->isVisible());
        QStringList seen;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) {
                continue;
            }
            frame.statusBar()->clearMessage();
            menu->setActiveAction(item);
            seen.append(frame.statusBar()->currentMessage());
        }
        QCOMPARE(seen, texts);
        // Down from the last item comes round to the first.
        QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(frame.statusBar()->currentMessage(), texts.first());
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
    }
}

void TestShellFrame::workWindowsModalOneAtATime() {
    Fixture f;
    int definities = 0;
    int berekenen = 0;
    bool barDisabled = false;
    MainFrame* framePtr = nullptr;
    f.windows.set(WorkWindow::Definities, [&] {
        ++definities;
        // While the browser runs, the frame's menu is off and a second start does nothing.
        barDisabled = !framePtr->action(FrameCommand::Berekenen)->isEnabled() &&
                      !framePtr->action(FrameCommand::About)->isEnabled();
        framePtr->action(FrameCommand::Berekenen)->trigger();
        framePtr->presenter().choose(FrameCommand::Definities);
    });
    f.windows.set(WorkWindow::Berekenen, [&] { ++berekenen; });
    MainFrame frame(f.services, f.windows);
    framePtr = &frame;
    QVERIFY(showActive(frame));
    clickBar(frame, u"&Definities"_s);
    QTRY_COMPARE(definities, 1);
    QVERIFY(barDisabled);
    QCOMPARE(berekenen, 0);
    QVERIFY(frame.action(FrameCommand::Berekenen)->isEnabled());
    clickBar(frame, u"&Berekenen"_s);
    QTRY_COMPARE(berekenen, 1);
    QCOMPARE(definities, 1);
    QVERIFY(f.messages.messages.empty());
}

void TestShellFrame::workWindowNotThereYet() {
    Fixture f;
    MainFrame frame(f.services, f.windows);
    QVERIFY(showActive(frame));
    clickBar(frame, u"&Berekenen"_s);
    QTRY_COMPARE(f.messages.texts(),
                 QStringList{u"Het venster \"Berekenen\" is in deze versie van het programma nog "
                             u"niet beschikbaar."_s});
    QVERIFY(frame.isVisible());
}

void TestShellFrame::aboutWindowsNonModal() {
    Fixture f;
    int definities = 0;
    f.windows.set(WorkWindow::Definities, [&] { ++definities; });
    MainFrame frame(f.services, f.windows);
    QVERIFY(showActive(frame));
    clickBar(frame, u"&Over V-Wolkan"_s);
    QTRY_COMPARE(openAbouts().size(), 1);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    // The frame stays usable: a second About window, and a working window.
    QVERIFY(showActive(frame));
    clickBar(frame, u"&Over V-Wolkan"_s);
    QTRY_COMPARE(openAbouts().size(), 2);
    for (AboutWindow* about : openAbouts()) {
        QCOMPARE(about->windowTitle(), u"SV01 - Over V_Wolkan Vaduvevedu"_s);
        QVERIFY(!about->isModal());
    }
    QVERIFY(showActive(frame));
    clickBar(frame, u"&Definities"_s);
    QTRY_COMPARE(definities, 1);
    // Closing one About window leaves the other.
    openAbouts().at(0)->close();
    QTRY_COMPARE(openAbouts().size(), 1);
}

void TestShellFrame::aboutLayout() {
    Fixture f;
    AboutWindow* about = AboutWindow::open(f.services);
    const DialogUnits& du = DialogUnits::standard();
    QCOMPARE(about->size(), du.size(258, 100));
    QVERIFY(about->minimumSize() == about->maximumSize());  // not resizable
    auto label = [about](const char16_t* name) {
        return about->findChild<QLabel*>(QString::fromUtf16(name));
    };
    QCOMPARE(label(u"?PRODUCT")->text(), u"V Wolkan Vaduvevedu"_s);
    QCOMPARE(label(u"?VERSION")->text(), u"Versie 2010.1"_s);
    QVERIFY(
        label(u"?MINISTRY1")->text().startsWith(u"Gemaakt in opdracht van het ministerie van "_s));
    QVERIFY(label(u"?MINISTRY2")->text().endsWith(u")"_s));
    // Top to bottom: logo and name, version, the ministry in two lines, its logo.
    QCOMPARE(label(u"?MAKERLOGO")->geometry(), du.rect(2, 0, 108, 37));
    QCOMPARE(label(u"?VERSION")->geometry(), du.rect(116, 24, 137, 15));
    QCOMPARE(label(u"?MINISTRY1")->pos(), du.point(16, 48));
    QCOMPARE(label(u"?MINISTRY2")->pos(), du.point(16, 57));
    QCOMPARE(label(u"?MINISTRYLOGO")->geometry(), du.rect(95, 69, 75, 17));
    QVERIFY(!label(u"?MAKERLOGO")->pixmap().isNull());
    QVERIFY(!label(u"?MINISTRYLOGO")->pixmap().isNull());
    // Every text fits its line, in whatever font the system gave.
    for (const char16_t* name : {u"?PRODUCT", u"?VERSION", u"?MINISTRY1", u"?MINISTRY2"}) {
        QLabel* text = label(name);
        QVERIFY2(QFontMetrics(text->font()).horizontalAdvance(text->text()) <= text->width(),
                 qPrintable(text->text()));
    }
    QVERIFY(about->findChildren<QAbstractButton*>().isEmpty());
    about->close();
}

void TestShellFrame::closingFrameClosesAbouts() {
    Fixture f;
    MainFrame frame(f.services, f.windows);
    QVERIFY(showActive(frame));
    frame.action(FrameCommand::About)->trigger();
    frame.action(FrameCommand::About)->trigger();
    QCOMPARE(openAbouts().size(), 2);
    QVERIFY(frame.close());
    QTRY_VERIFY(openAbouts().isEmpty());
}

void TestShellFrame::windowMenu() {
    Fixture f;
    MainFrame frame(f.services, f.windows);
    frame.move(40, 30);
    QVERIFY(showActive(frame));
    frame.action(FrameCommand::About)->trigger();
    frame.action(FrameCommand::About)->trigger();
    const QList<AboutWindow*> abouts = openAbouts();
    QCOMPARE(abouts.size(), 2);
    // The window menu lists the open windows.
    QTest::keyClick(&frame, Qt::Key_W, Qt::AltModifier);
    QMenu* window = frame.menuBar()->actions().at(4)->menu();
    QTRY_VERIFY(window->isVisible());
    int listed = 0;
    for (QAction* a : window->actions()) {
        listed += a->text().contains(u"SV01 - Over V_Wolkan Vaduvevedu"_s) ? 1 : 0;
    }
    QCOMPARE(listed, 2);
    QTest::keyClick(window, Qt::Key_Escape);
    // Cascade: one below and right of the other, from the frame's corner.
    frame.action(FrameCommand::Cascade)->trigger();
    QTRY_VERIFY(abouts.at(0)->pos() != abouts.at(1)->pos());
    const QPoint step = abouts.at(1)->pos() - abouts.at(0)->pos();
    QVERIFY(step.x() > 0 && step.y() > 0);
    frame.action(FrameCommand::Tile)->trigger();
    QTRY_VERIFY(abouts.at(0)->x() < abouts.at(1)->x());
}

void TestShellFrame::printerSetup() {
    Fixture f;
    MainFrame frame(f.services, f.windows);
    QVERIFY(showActive(frame));
    frame.action(FrameCommand::PrinterSetup)->trigger();
    QPrintDialog* dialog = nullptr;
    QTRY_VERIFY((dialog = frame.findChild<QPrintDialog*>()) != nullptr && dialog->isVisible());
    dialog->reject();
    QTRY_VERIFY(frame.findChild<QPrintDialog*>() == nullptr);
    QVERIFY(frame.isVisible());
}

void TestShellFrame::exitCloses() {
    Fixture f;
    MainFrame frame(f.services, f.windows);
    QVERIFY(showActive(frame));
    frame.action(FrameCommand::Exit)->trigger();
    QTRY_VERIFY(!frame.isVisible());
    // The position was written on the way out.
    QCOMPARE(f.settings.value(u"Main", u"Maximize"), std::optional<QString>(u"No"_s));
}

void TestShellFrame::placementRoundTrip_data() {
    QTest::addColumn<bool>("maximized");
    QTest::newRow("normal") << false;
    QTest::newRow("maximized") << true;
}

void TestShellFrame::placementRoundTrip() {
    QFETCH(bool, maximized);
    Fixture f;
    const QRect chosen(70, 60, 700, 420);
    {
        MainFrame frame(f.services, f.windows);
        frame.restorePlacement();
        frame.show();
        frame.setGeometry(chosen);
        if (maximized) {
            frame.setWindowState(Qt::WindowMaximized);
        }
        QTRY_COMPARE(frame.isMaximized(), maximized);
        frame.close();
    }
    const auto value = [&f](const char16_t* key) {
        return f.settings.value(u"Main", QString::fromUtf16(key));
    };
    QCOMPARE(value(u"Maximize"), std::optional<QString>(maximized ? u"Yes"_s : u"No"_s));
    QCOMPARE(value(u"Minimize"), std::optional<QString>(u"No"_s));
    QCOMPARE(value(u"XPos").has_value(), !maximized);
    QCOMPARE(value(u"Width").has_value(), !maximized);

    MainFrame again(f.services, f.windows);
    again.restorePlacement();
    again.show();
    if (maximized) {
        QTRY_VERIFY(again.isMaximized());
    } else {
        QVERIFY(!again.isMaximized());
        QTRY_COMPARE(again.geometry(), chosen);
    }
    again.close();

    // The About window is not resizable: its position is kept, its size never.
    AboutWindow* about = AboutWindow::open(f.services);
    about->move(123, 45);
    const QRect aboutPlace = about->geometry();
    about->close();
    QVERIFY(f.settings.value(u"AboutQuickWolkan", u"XPos").has_value());
    QVERIFY(!f.settings.value(u"AboutQuickWolkan", u"Width").has_value());
    AboutWindow* second = AboutWindow::open(f.services);
    QTRY_COMPARE(second->geometry(), aboutPlace);
    second->close();
}

void TestShellFrame::placementOffScreen() {
    Fixture f;
    QVERIFY(f.settings.setValue(u"Main", u"Maximize", u"No"));
    QVERIFY(f.settings.setValue(u"Main", u"XPos", u"-9000"));
    QVERIFY(f.settings.setValue(u"Main", u"YPos", u"7000"));
    QVERIFY(f.settings.setValue(u"Main", u"Width", u"0"));
    QVERIFY(f.settings.setValue(u"Main", u"Height", u"-5"));
    MainFrame frame(f.services, f.windows);
    const QSize designed = frame.size();
    frame.restorePlacement();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.contains(frame.geometry().topLeft()));
    QCOMPARE(frame.size(), designed.boundedTo(area.size()));
}

void TestShellFrame::unreadablePlacementRestoresNothing() {
    Fixture f;
    QVERIFY(f.settings.setValue(u"Main", u"Maximize", u"Ja"));
    QVERIFY(f.settings.setValue(u"Main", u"XPos", u"300"));
    QVERIFY(f.settings.setValue(u"Main", u"Width", u"900"));
    MainFrame frame(f.services, f.windows);
    const QRect designed = frame.geometry();
    frame.restorePlacement();
    QCOMPARE(frame.geometry(), designed);
    QVERIFY(!frame.isMaximized());
}

void TestShellFrame::helpPagesForEveryKeyword() {
    HelpWindow help;
    for (const shell::WindowInfo& info : shell::windows::kAll) {
        const QString keyword = info.helpKeyword.toString();
        QVERIFY2(HelpWindow::hasPage(keyword), qPrintable(keyword));
        help.showHelp(keyword);
        QCOMPARE(help.currentKeyword(), keyword);
        QVERIFY(!help.browser()->toPlainText().trimmed().isEmpty());
    }
    help.showHelp(u"UpdateBronnen"_s);
    QCOMPARE(help.browser()->documentTitle(), u"Gegevens van een bron"_s);
    QVERIFY(help.browser()->toPlainText().contains(u"0,10 tot 10,00"_s));
    help.showHelp(u"GeenTrefwoord"_s);  // unknown: the contents
    QCOMPARE(help.currentKeyword(), QString());
    QCOMPARE(help.browser()->documentTitle(), u"V-Wolkan Vaduvevedu - Inhoud"_s);
    QVERIFY(!HelpWindow::hasPage(u"../index"_s));
    // A link of the contents leads to its page.
    help.browser()->setSource(QUrl(u"qrc:/help/QS71.html"_s));
    QCOMPARE(help.currentKeyword(), u"QS71"_s);
    QCOMPARE(help.windowTitle(), HelpWindow::kTitle);
}

void TestShellFrame::f1OpensTheWindowsKeyword() {
    Fixture f;
    HelpWindow help;
    WindowServices services{f.messages, f.busy, help, f.settings};
    AboutWindow* about = AboutWindow::open(services);
    QVERIFY(showActive(*about));
    QTest::keyClick(about, Qt::Key_F1);
    QTRY_VERIFY(help.isVisible());
    QCOMPARE(help.currentKeyword(), u"GS1"_s);
    QCOMPARE(help.browser()->documentTitle(), u"Over V-Wolkan Vaduvevedu"_s);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    about->close();

    // The frame has no keyword of its own: F1 there shows the contents.
    MainFrame frame(services, f.windows);
    QVERIFY(showActive(frame));
    QTest::keyClick(&frame, Qt::Key_F1);
    QTRY_COMPARE(help.browser()->documentTitle(), u"V-Wolkan Vaduvevedu - Inhoud"_s);

    // Any window made a program window answers F1 with its own keyword.
    QWidget form;
    new ProgramWindow(&form, shell::windows::kUpdateGeurGevLoc, f.services, false);
    form.setWindowTitle(u"Toevoegen van een GGL"_s);
    QVERIFY(showActive(form));
    QCOMPARE(form.windowTitle(), u"SV05 - Toevoegen van een GGL"_s);
    QTest::keyClick(&form, Qt::Key_F1);
    QCOMPARE(f.help.keywords, QStringList{u"UpdateGeurGevLoc"_s});
}

void TestShellFrame::programDialogRunsModally() {
    Fixture f;
    auto makeForm = [&f] {
        auto* form = new ProgramDialog(shell::windows::kUpdateBronnen, f.services, true);
        form->setWindowTitle(u"Toevoegen van een Bron"_s);
        form->form().windowSize(248, 163, true);
        form->form().button(u"?OK", u"&Bevestigen", {160, 140, 68, 14});
        return form;
    };
    ProgramDialog* form = makeForm();
    QCOMPARE(form->minimumSize(), DialogUnits::standard().size(248, 163));  // design size
    QString titleWhileOpen;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        titleWhileOpen = form->windowTitle();
        modal = QApplication::activeModalWidget() == form;
        form->resize(form->width() + 40, form->height() + 30);
        QTest::mouseClick(form->findChild<QPushButton*>(u"?OK"_s), Qt::LeftButton);
    });
    QObject::connect(form->findChild<QPushButton*>(u"?OK"_s), &QPushButton::clicked, form,
                     &QDialog::accept);
    QCOMPARE(form->run(), int(QDialog::Accepted));
    QCOMPARE(titleWhileOpen, u"SV04 - Toevoegen van een Bron"_s);
    QVERIFY(modal);
    const QSize closedSize = form->size();
    delete form;
    // Its size came back from its own section.
    QCOMPARE(f.settings.value(u"UpdateBronnen", u"Width"),
             std::optional<QString>(QString::number(closedSize.width())));
    ProgramDialog* again = makeForm();
    again->open();
    QCOMPARE(again->size(), closedSize);
    again->reject();
    delete again;
}

QTEST_MAIN(TestShellFrame)
#include "test_shell_frame.moc"
