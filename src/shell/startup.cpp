#include "shell/startup.h"

#include "shell/messages.h"
#include "shell/window_ids.h"
#include "shell/working_dirs.h"

namespace shell {

void startUp(Shell& shell) {
    shell.helpFile = kHelpFile;
    const QString path = shell.options.settingsPath.isEmpty()
                             ? platform::SettingsFile::defaultPath()
                             : shell.options.settingsPath;
    shell.settings.emplace(path);
    shell.bookkeepingSectors =
        shell.settings->value(kBookkeepingSection, kBookkeepingKey).value_or(QString());
    shell.closed = false;
}

void frameStartUp(Shell& shell) {
    shell.glo.homeDir = shell.options.homeDir.isEmpty() ? currentHomeDir() : shell.options.homeDir;
    prepareWorkDirs(shell.glo, shell.messages);
    shell.chartAvailable = checkChart(shell.options.chartProbe, shell.messages);
}

void shutDown(Shell& shell) {
    if (shell.closed) {
        return;
    }
    shell.closed = true;
    if (shell.settings) {
        // A settings file that cannot be written only loses its bookkeeping entry.
        (void)shell.settings->setValue(kBookkeepingSection, kBookkeepingKey, u"0");
    }
}

bool checkChart(const ChartProbe& probe, platform::MessageSink& messages) {
    if (!probe) {
        return true;
    }
    bool usable = false;
    try {
        usable = probe();
    } catch (...) {
        usable = false;
    }
    if (!usable) {
        platform::Message message;
        message.text = messages::kChartUnavailable;
        message.buttons = platform::Ok;
        message.defaultButton = platform::Ok;
        messages.show(message);
    }
    return usable;
}

int runProgram(Shell& shell, const std::function<int(Shell&)>& body) {
    struct ShutDownGuard {
        Shell& shell;
        ~ShutDownGuard() {
            try {
                shutDown(shell);
            } catch (...) {
                // Nothing may escape while another exception may be on its way out.
            }
        }
    };
    startUp(shell);
    ShutDownGuard guard{shell};
    frameStartUp(shell);
    return body(shell);
}

}  // namespace shell
