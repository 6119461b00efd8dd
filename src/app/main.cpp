// The program: start-up, the main frame until it closes, shutdown.

#include "calculation/window/ui/berekenen_window.h"
#include "definitions/forms.h"
#include "definitions/ui/definities_window.h"
#include "platform/clock.h"
#include "platform/model_library.h"
#include "platform/ui/busy_cursor_widget.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/message_box.h"
#include "presentation/ui/bubble_chart_host.h"
#include "presentation/viewer/ui/bekijken_window.h"
#include "shell/glo.h"
#include "shell/startup.h"
#include "shell/ui/artwork.h"
#include "shell/ui/help_window.h"
#include "shell/ui/main_frame.h"
#include "store/dictionary.h"

#include <QApplication>
#include <optional>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vaduvevedu"));
    QApplication::setApplicationDisplayName(QStringLiteral("V-Wolkan Vaduvevedu"));
    QApplication::setFont(ui::DialogUnits::designFont());
    QApplication::setWindowIcon(ui::artwork::applicationIcon());

    ui::MessageBoxSink messages;
    ui::OverrideBusyCursor busy;
    ui::HelpWindow help;
    shell::Glo glo;
    shell::Shell program(glo, messages);
    try {
        shell::startUp(program);
        ui::WindowServices services{messages, busy, help, *program.settings};
        // The working windows are plugged in here as they come; until then their menu entries
        // say that they are not there yet.
        ui::WorkWindows windows;
        // The record store of this thread, made once the home directory is known. Its messages
        // pass a sink that lets the forms lengthen "Record Was Not Updated".
        definitions::RecordMessageSink storeMessages(messages);
        platform::ErrorManager storeErrors(storeMessages);
        platform::SystemClock clock;
        std::optional<store::Dictionary> dictionary;
        windows.set(ui::WorkWindow::Definities, [&] {
            if (!dictionary) {
                dictionary.emplace(glo.homeDir, storeErrors);
            }
            ui::runDefinities({*dictionary, messages, busy, *program.settings, clock,
                               definitions::FormHistory::ofThisThread()},
                              services);
        });
        // The model library is bound once; without it "&Start berekenen" says why.
        platform::ModelLibrary model;
        (void)model.load();
        presentation::DesktopOpener opener;
        windows.set(ui::WorkWindow::Berekenen, [&] {
            if (!dictionary) {
                dictionary.emplace(glo.homeDir, storeErrors);
            }
            std::function<int32_t(int32_t*)> ping;
            if (model.isLoaded()) {
                ping = model.ping();
            }
            ui::runBerekenen({*dictionary, messages, busy, clock,
                              calculation::calculationPaths(glo), ping, model.errorText()},
                             services, opener);
        });
        windows.set(ui::WorkWindow::Bekijken, [&] {
            if (!dictionary) {
                dictionary.emplace(glo.homeDir, storeErrors);
            }
            ui::runBekijken({*dictionary, messages, busy, clock}, services, opener, glo.outputDir);
        });
        ui::MainFrame frame(services, windows);
        frame.restorePlacement();
        frame.show();
        shell::frameStartUp(program);
        const int result = QApplication::exec();
        shell::shutDown(program);
        return result;
    } catch (const platform::FatalError&) {
        // The message has been shown; the program ends.
        shell::shutDown(program);
        return 1;
    }
}
