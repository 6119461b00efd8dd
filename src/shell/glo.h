#pragma once
// The process-wide global values. One Glo exists per process: main owns it and passes it on by
// reference. Paths are kept whole (never cut to a fixed size), so a long home directory still
// reaches the right files. The home and working directories are set once during start-up on the
// thread that runs the windows; msgFile changes during a model run; nothing changes the file names.

#include <QString>

namespace shell {

struct Glo {
    // Full path of the directory the process was started in, without a trailing separator
    // except for the root. The record files, the chart template and the report picture live here.
    QString homeDir;  // GLO:HOMEDIR
    // Directory that receives the model's input files; ends with "/" after start-up.
    QString inputDir;  // GLO:INPUTDIR
    // Directory from which the model's results file is read; ends with "/" after start-up.
    QString outputDir;  // GLO:OUTPUTDIR
    // File name (no directory) of the model's results file.
    QString resultsFile = QStringLiteral("RepGeurBelast.dat");  // GLO:RESULTSFILE
    // Full path of the model file that is being written or read at the moment.
    QString msgFile;  // GLO:MSGFILE

    // Names under which the record files are opened in the home directory.
    QString bedrijven = QStringLiteral("Bedrijven.tps");        // GLO:BEDRIJVEN
    QString bronnen = QStringLiteral("Bronnen.tps");            // GLO:BRONNEN
    QString geurGevLoc = QStringLiteral("GeurGevLoc.tps");      // GLO:GEURGEVLOC
    QString berekeningen = QStringLiteral("Berekeningen.tps");  // GLO:BEREKENINGEN
    QString berBron = QStringLiteral("BerBron.tps");            // GLO:BERBRON
    QString berGgl = QStringLiteral("BerGGL.tps");              // GLO:BERGGL
    QString ruwheid = QStringLiteral("Roughness.tps");          // GLO:RUWHEID
};

}  // namespace shell
