#pragma once
// The commands of vaduvevedu-cli. Each returns the process's exit code.

#include <QTextStream>

#include "cli/args.h"
#include "cli/cli_sink.h"
#include "platform/clock.h"
#include "shell/startup.h"
#include "store/dictionary.h"

namespace cli {

// Exit codes.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitModelFailed = 2;
inline constexpr int kExitRoughnessRefused = 3;

struct Context {
    const Args& args;
    StderrSink& sink;
    shell::Shell& shell;
    store::Dictionary& dictionary;
    const platform::Clock& clock;
    QTextStream& out;
};

// A message of the command line itself (a usage error, a file that cannot be read).
void complain(Context& c, const QString& text);
// The identifier in positional argument `index`, or nullopt after a message.
[[nodiscard]] std::optional<int32_t> idArgument(Context& c, qsizetype index, const char* what);

int cmdInit(Context& c);
int cmdList(Context& c);
int cmdImport(Context& c);
int cmdExport(Context& c);
int cmdDelete(Context& c);
int cmdCopy(Context& c);
int cmdCalc(Context& c);
int cmdRoughness(Context& c);
int cmdImportRoughness(Context& c);
int cmdDemoRoughness(Context& c);
int cmdSaved(Context& c);
// Needs the window libraries; only in builds with windows.
int cmdReport(Context& c);

}  // namespace cli
