#pragma once
// The range checks of the emission-point and sensitive-location forms. They are the only place
// where the values a user types are held to the physical ranges the model accepts; the frozen
// copies of a saved calculation have wider record rules of their own.

#include <QString>
#include <cstdint>
#include <optional>

#include "platform/messages.h"

namespace definitions {

inline const QString kRangeCaption = QStringLiteral("Fout in invoerbereik");

// The first range that a record violates: the message text and the form field (its place in the
// tab order, from 1) that gets the focus back.
struct RangeViolation {
    QString text;
    int field = 0;
};

// The values of an emission point, as the form holds them.
struct BronValues {
    int32_t xCoord = 0;         // BRO:X_COORD
    int32_t yCoord = 0;         // BRO:Y_COORD
    double stHoogte = 0;        // BRO:ST_HOOGTE
    double gemGebHoogte = 0;    // BRO:GEMGEBHOOGTE
    double stBinnendiam = 0.5;  // BRO:ST_BINNENDIAM
    double stUittree = 4.0;     // BRO:ST_UITTREE
    double eVergund = 0;        // BRO:E_VERGUND
};

// The values of a sensitive location that are range-checked.
struct GglValues {
    int32_t xCoor = 0;  // GGL:X_COOR
    int32_t yCoor = 0;  // GGL:Y_COOR
};

// Checks in the form's order (X, Y, building height before stack height, diameter, exit
// velocity, emission), bounds inclusive, and stops at the first violation.
[[nodiscard]] std::optional<RangeViolation> checkBronnen(const BronValues& values);

// Checks X, then Y; the odour standard and the label are not checked.
[[nodiscard]] std::optional<RangeViolation> checkGeurgevloc(const GglValues& values);

// The message box of a violation: its text, caption "Fout in invoerbereik", the warning icon,
// one OK button, and a beep once it is closed.
[[nodiscard]] platform::Message rangeMessage(const RangeViolation& violation);

}  // namespace definitions
