#include "range_checks.h"

namespace definitions {
namespace {

// Form fields in tab order.
constexpr int kFieldX = 2;
constexpr int kFieldY = 3;
constexpr int kFieldStHoogte = 4;
constexpr int kFieldGemGebHoogte = 5;
constexpr int kFieldBinnendiam = 6;
constexpr int kFieldUittree = 7;
constexpr int kFieldEVergund = 8;

bool outside(double value, double low, double high) {
    return value < low || value > high;
}

std::optional<RangeViolation> checkCoordinates(int32_t x, int32_t y) {
    if (x < 0 || x > 281800) {
        return RangeViolation{QStringLiteral("X Coord. niet tussen 0 en 281800"), kFieldX};
    }
    if (y < 300000 || y > 625000) {
        return RangeViolation{QStringLiteral("Y Coord. niet tussen 300000 en 625000"), kFieldY};
    }
    return std::nullopt;
}

}  // namespace

std::optional<RangeViolation> checkBronnen(const BronValues& v) {
    if (auto violation = checkCoordinates(v.xCoord, v.yCoord)) {
        return violation;
    }
    // NaN compares false both ways; a value that is no number is out of every range.
    const auto bad = [](double value, double low, double high) {
        return value != value || outside(value, low, high);
    };
    if (bad(v.gemGebHoogte, 0.0, 100.0)) {
        return RangeViolation{QStringLiteral("Gem. Gebouwhoogte niet tussen 0 en 100"),
                              kFieldGemGebHoogte};
    }
    if (bad(v.stHoogte, 0.0, 100.0)) {
        return RangeViolation{QStringLiteral("EP Hoogte niet tussen 0 en 100"), kFieldStHoogte};
    }
    if (bad(v.stBinnendiam, 0.1, 99.0)) {
        return RangeViolation{QStringLiteral("EP Binnendiameter niet tussen 0,1 en 99"),
                              kFieldBinnendiam};
    }
    if (bad(v.stUittree, 0.1, 10.0)) {
        return RangeViolation{QStringLiteral("EP Uittree niet tussen 0,1 en 10"), kFieldUittree};
    }
    if (bad(v.eVergund, 0.0, 1500000.0)) {
        return RangeViolation{QStringLiteral("E aanvraag niet tussen 0 en 1500000"),
                              kFieldEVergund};
    }
    return std::nullopt;
}

std::optional<RangeViolation> checkGeurgevloc(const GglValues& v) {
    return checkCoordinates(v.xCoor, v.yCoor);
}

platform::Message rangeMessage(const RangeViolation& violation) {
    return platform::Message{kRangeCaption, violation.text, platform::Icon::Warning,
                             platform::Ok,  platform::Ok,   true};
}

}  // namespace definitions
