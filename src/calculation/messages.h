#pragma once
// The texts a calculation shows, exactly as the user sees them. All are shown without caption
// and with an OK button unless stated otherwise.

#include <QString>

namespace calculation::text {

inline const QString kXNietTussen = QStringLiteral("X waarde niet tussen 0 en 281800");
inline const QString kYNietTussen = QStringLiteral("Y waarde niet tussen 300000 en 625000");
inline const QString kXLinksonder = QStringLiteral("X waarde linksonder ");
inline const QString kXRechtsboven = QStringLiteral(" > X waarde rechtsboven ");
inline const QString kYLinksonder = QStringLiteral("Y waarde linksonder ");
inline const QString kYRechtsboven = QStringLiteral(" > Y waarde rechtsboven ");
inline const QString kOnvolledigX = QStringLiteral("Onvolledig Ruwheidsbestand voor X:");
inline const QString kOnvolledigY = QStringLiteral(" Y:");
inline const QString kRuwheidNietTussen =
    QStringLiteral("Ruwheid niet tussen 0.03 en 1, kontroleer uw instellingen en begin opnieuw!");
// Preceded by the time "hh:mm:ss" and followed by the model's return code.
inline const QString kSimulatieNietGoed = QStringLiteral(
    " Simulatie niet goed beeindigd, kontroleer uw instellingen en begin opnieuw! code:");
// Followed directly by the driver's error text.
inline const QString kOpslaanMislukt =
    QStringLiteral("Opslaan berekening gebiedgegevens mislukt; error:");

}  // namespace calculation::text
