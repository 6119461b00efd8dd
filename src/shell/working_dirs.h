#pragma once
// The home directory and the two working directories beside it, "Input" and "Output".

#include "platform/messages.h"
#include "shell/glo.h"

#include <QString>
#include <QStringView>

namespace shell {

// The full path of the process's current directory with every symbolic link resolved, "/" as
// separator, no trailing separator except for the root.
[[nodiscard]] QString currentHomeDir();

struct WorkDirs {
    QString inputDir;   // without trailing separator
    QString outputDir;  // without trailing separator
};

// The working directories of `homeDir`: siblings in its parent directory, so /srv/model/Bin
// gives /srv/model/Input and /srv/model/Output, and the root / gives /Input and /Output. A path
// without any separator gives "Input" and "Output" relative to the current directory.
[[nodiscard]] WorkDirs deriveWorkDirs(QStringView homeDir);

// Sets glo.inputDir and glo.outputDir from glo.homeDir, creates each one (one level) when no
// file or directory of that name exists, and ends both with "/". A directory that cannot be
// created is reported by the message "Kan de werkdirectory (<path>) niet aanmaken!" (OK, no
// caption), once per directory; nothing is retried and start-up goes on.
void prepareWorkDirs(Glo& glo, platform::MessageSink& messages);

}  // namespace shell
