#pragma once
// Start-up and shutdown of the program without its windows, in this order:
//   startUp       help file, error manager, settings manager (bound to the settings file, its
//                 bookkeeping section read);
//   frameStartUp  while the main frame opens: home directory, working directories, chart check;
//   shutDown      when the frame has closed: the bookkeeping section written, the settings
//                 manager closed.
// The program calls the three around its main frame; the command line and tests call
// runProgram, which does the same around a function. No step stops start-up: problems become
// messages and the program runs on.

#include "platform/messages.h"
#include "platform/settings_file.h"
#include "shell/glo.h"

#include <QString>
#include <functional>
#include <optional>

namespace shell {

// True when the chart library can be used here. It may throw; that counts as false.
using ChartProbe = std::function<bool()>;

struct StartUpOptions {
    QString settingsPath;   // empty: platform::SettingsFile::defaultPath()
    QString homeDir;        // empty: the process's current directory (currentHomeDir())
    ChartProbe chartProbe;  // empty: nothing to check (a program without charts)
};

// The process-wide objects of the program entry. One per process, beside the Glo that main
// owns; windows reach the settings file and the error manager through it.
struct Shell {
    Shell(Glo& globals, platform::MessageSink& sink, StartUpOptions startUpOptions = {})
        : glo(globals), messages(sink), errors(sink), options(std::move(startUpOptions)) {}
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    Glo& glo;
    platform::MessageSink& messages;
    platform::ErrorManager errors;
    StartUpOptions options;

    QString helpFile;                                // set by startUp
    std::optional<platform::SettingsFile> settings;  // bound by startUp, kept after shutDown
    QString bookkeepingSectors;                      // as read by startUp
    bool chartAvailable = false;                     // set by frameStartUp
    bool closed = false;                             // set by shutDown
};

// Section and key of the settings manager's own bookkeeping: the number of entries of its
// section list, which this program leaves empty, so 0 is written at shutdown.
inline constexpr QStringView kBookkeepingSection = u"__Dont_Touch_Me__";
inline constexpr QStringView kBookkeepingKey = u"Sectors";

void startUp(Shell& shell);

// Sets glo.homeDir, prepares the working directories (prepareWorkDirs) and checks the chart
// library (checkChart).
void frameStartUp(Shell& shell);

// Writes "Sectors" = 0 in the bookkeeping section. Safe to call twice; the second call does
// nothing.
void shutDown(Shell& shell);

// Runs the probe; when it says no (or throws) shows the one message that the charts cannot be
// shown (OK, no caption). An empty probe is not run and shows nothing. Never stops start-up.
bool checkChart(const ChartProbe& probe, platform::MessageSink& messages);

// startUp, frameStartUp, `body`, shutDown; shutDown also runs when `body` throws (the
// exception is passed on). Returns what `body` returns.
int runProgram(Shell& shell, const std::function<int(Shell&)>& body);

}  // namespace shell
