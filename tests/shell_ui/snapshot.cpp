// Draws the main frame and the About window into PNG files in the given folder, for looking at
// them without a screen: vv_shell_snapshot <folder>.

#include "platform/ui/core/busy_cursor.h"
#include "platform/ui/core/help.h"
#include "platform/ui/dialog_units.h"
#include "shell/ui/about_window.h"
#include "shell/ui/main_frame.h"

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(ui::DialogUnits::designFont());
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir;
    platform::SettingsFile settings(dir.filePath(QStringLiteral("snapshot.INI")));
    platform::RecordingSink messages;
    ui::RecordingBusyCursor busy;
    ui::RecordingHelp help;
    ui::WindowServices services{messages, busy, help, settings};
    ui::WorkWindows windows;
    ui::MainFrame frame(services, windows);
    frame.move(20, 20);
    frame.show();
    ui::AboutWindow* about = ui::AboutWindow::open(services);
    about->move(frame.geometry().center() - about->rect().center());
    int status = 0;
    QTimer::singleShot(300, [&] {
        frame.statusBar()->showMessage(frame.menuBar()->actions().at(1)->statusTip());
        status |= frame.grab().save(folder + QStringLiteral("/frame.png")) ? 0 : 1;
        status |= about->grab().save(folder + QStringLiteral("/about.png")) ? 0 : 2;
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
