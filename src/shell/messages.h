#pragma once
// The texts that start-up shows, exactly as the user sees them ("|" is a line break).

#include <QString>
#include <QStringView>

namespace shell::messages {

// A working directory that could not be created; the path is put between the parentheses.
inline QString workDirNotCreated(QStringView path) {
    return QStringLiteral("Kan de werkdirectory (") + path.toString() +
           QStringLiteral(") niet aanmaken!");
}

// The chart library cannot be used on this computer; everything else works.
inline const QString kChartUnavailable = QStringLiteral(
    "Een onderdeel benodigd voor de grafische functies van deze applicatie kon niet geladen "
    "worden op deze PC.| De grafieken kunnen daarom niet getoond worden; alle andere functies "
    "werken wel.| Informeer bij uw systeembeheerder om dit probleem op te lossen");

}  // namespace shell::messages
