// The frame's commands without a window: the menu tree as it stands, and the working windows
// one at a time.

#include "platform/messages.h"
#include "shell/ui/core/frame_presenter.h"

#include <QTest>

using namespace ui;
using namespace Qt::Literals::StringLiterals;

namespace {

class FakeView : public FrameView {
public:
    void openAbout() override { calls.append(u"about"_s); }
    void printerSetup() override { calls.append(u"printer"_s); }
    void tileWindows() override { calls.append(u"tile"_s); }
    void cascadeWindows() override { calls.append(u"cascade"_s); }
    void arrangeIcons() override { calls.append(u"icons"_s); }
    void closeFrame() override { calls.append(u"close"_s); }
    void setWorkWindowOpen(bool open) override { calls.append(open ? u"busy"_s : u"free"_s); }
    QStringList calls;
};

}  // namespace

class TestShellPresenter : public QObject {
    Q_OBJECT
private slots:
    void menuTree();
    void commands();
    void workWindowsOneAtATime();
    void missingWorkWindowSaysSo();
};

void TestShellPresenter::menuTree() {
    QStringList shown;
    for (const MenuItem& entry : frameMenu()) {
        QString line = entry.text + u'|' + entry.helpText + u'|' + QString::number(entry.number);
        for (const MenuItem& item : entry.items) {
            line +=
                u" > "_s + item.text + u'|' + item.helpText + u'|' + QString::number(item.number);
        }
        shown.append(line);
    }
    const QStringList expected = {
        u"&Algemeen||-2 > &Printer Setup ...|Instellen van de printer|-3 > E&xit|Verlaat het "
        u"programma|-4"_s,
        u"&Definities|Definieer bedrijven met bijbehorende bronnen en geurgevoelige "
        u"locaties|-5"_s,
        u"&Berekenen|Maak berekeningen van geurbelasting van bedrijven|-6"_s,
        u"Be&kijken|Bekijk de resultaten van berekeningen|-7"_s,
        u"&Window||-8 > T&ile|Arrange multiple opened windows|-9 > &Cascade|Arrange multiple "
        u"opened windows|-10 > &Arrange Icons|Arrange the icons for minimized windows|-11"_s,
        u"&Over V-Wolkan|Over V_Wolkan Vaduvevedu|-12"_s,
    };
    QCOMPARE(shown, expected);
}

void TestShellPresenter::commands() {
    FakeView view;
    WorkWindows windows;
    platform::RecordingSink messages;
    FramePresenter presenter(view, windows, messages);
    for (const FrameCommand c :
         {FrameCommand::About, FrameCommand::About, FrameCommand::PrinterSetup, FrameCommand::Tile,
          FrameCommand::Cascade, FrameCommand::ArrangeIcons, FrameCommand::Exit}) {
        presenter.choose(c);
    }
    QCOMPARE(view.calls, (QStringList{u"about"_s, u"about"_s, u"printer"_s, u"tile"_s, u"cascade"_s,
                                      u"icons"_s, u"close"_s}));
    QVERIFY(messages.messages.empty());
}

void TestShellPresenter::workWindowsOneAtATime() {
    FakeView view;
    WorkWindows windows;
    platform::RecordingSink messages;
    FramePresenter presenter(view, windows, messages);
    QStringList ran;
    windows.set(WorkWindow::Definities, [&] {
        ran.append(u"definities"_s);
        QVERIFY(presenter.workWindowOpen());
        // While the browser is open the frame starts nothing else, not even itself again.
        presenter.choose(FrameCommand::Berekenen);
        presenter.choose(FrameCommand::Definities);
        presenter.choose(FrameCommand::About);
    });
    windows.set(WorkWindow::Berekenen, [&] { ran.append(u"berekenen"_s); });
    presenter.choose(FrameCommand::Definities);
    QCOMPARE(ran, QStringList{u"definities"_s});
    QCOMPARE(view.calls, (QStringList{u"busy"_s, u"free"_s}));
    QVERIFY(!presenter.workWindowOpen());
    // Closed, the calculation can be started.
    presenter.choose(FrameCommand::Berekenen);
    QCOMPARE(ran, (QStringList{u"definities"_s, u"berekenen"_s}));

    // A window that ends by an exception still frees the frame.
    windows.set(WorkWindow::Bekijken, [] { throw std::runtime_error("stopped"); });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, presenter.choose(FrameCommand::Bekijken));
    QVERIFY(!presenter.workWindowOpen());
    QVERIFY(messages.messages.empty());
}

void TestShellPresenter::missingWorkWindowSaysSo() {
    FakeView view;
    WorkWindows windows;
    platform::RecordingSink messages;
    FramePresenter presenter(view, windows, messages);
    presenter.choose(FrameCommand::Bekijken);
    QCOMPARE(
        messages.texts(),
        QStringList{
            u"Het venster \"Bekijken\" is in deze versie van het programma nog niet beschikbaar."_s});
    QCOMPARE(messages.messages.front().title, QString());
    QCOMPARE(messages.messages.front().buttons, int(platform::Ok));
    QVERIFY(view.calls.isEmpty());
    QVERIFY(!presenter.workWindowOpen());
}

QTEST_GUILESS_MAIN(TestShellPresenter)
#include "test_shell_presenter.moc"
