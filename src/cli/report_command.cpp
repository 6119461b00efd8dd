// The report command: the report of a saved calculation, with its chart drawn off-screen.

#include "cli/commands.h"
#include "presentation/ui/saved_report.h"

namespace cli {

int cmdReport(Context& c) {
    const auto id = idArgument(c, 0, "BER:ID");
    if (!id) {
        return kExitFailed;
    }
    const auto result = presentation::writeSavedReport(c.dictionary, *id, c.shell.glo.outputDir,
                                                       c.args.value(QStringLiteral("--out")),
                                                       c.sink, c.clock.now());
    if (!result.ok) {
        return kExitFailed;
    }
    c.out << result.path << '\n';
    return kExitDone;
}

}  // namespace cli
