#include "definitions/range_checks.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using definitions::BronValues;
using definitions::GglValues;

BronValues validBron() {
    BronValues v;
    v.xCoord = 155000;
    v.yCoord = 463000;
    v.stHoogte = 6.5;
    v.gemGebHoogte = 5.0;
    v.stBinnendiam = 0.5;
    v.stUittree = 4.0;
    v.eVergund = 12000;
    return v;
}

struct BronCase {
    const char* name;
    void (*change)(BronValues&);
    const char* text;  // nullptr: accepted
    int field;
};

const BronCase kBronCases[] = {
    {"valid", [](BronValues&) {}, nullptr, 0},
    {"x_lowest", [](BronValues& v) { v.xCoord = 0; }, nullptr, 0},
    {"x_highest", [](BronValues& v) { v.xCoord = 281800; }, nullptr, 0},
    {"x_above", [](BronValues& v) { v.xCoord = 281801; }, "X Coord. niet tussen 0 en 281800", 2},
    {"x_negative", [](BronValues& v) { v.xCoord = -1; }, "X Coord. niet tussen 0 en 281800", 2},
    {"y_below", [](BronValues& v) { v.yCoord = 299999; }, "Y Coord. niet tussen 300000 en 625000",
     3},
    {"y_highest", [](BronValues& v) { v.yCoord = 625000; }, nullptr, 0},
    {"x_and_y_only_x",
     [](BronValues& v) {
         v.xCoord = 300000;
         v.yCoord = 0;
     },
     "X Coord. niet tussen 0 en 281800", 2},
    {"building_before_stack",
     [](BronValues& v) {
         v.stHoogte = 100.1;
         v.gemGebHoogte = 100.1;
     },
     "Gem. Gebouwhoogte niet tussen 0 en 100", 5},
    {"stack_high", [](BronValues& v) { v.stHoogte = 100.05; }, "EP Hoogte niet tussen 0 en 100", 4},
    {"stack_100_accepted", [](BronValues& v) { v.stHoogte = 100.0; }, nullptr, 0},
    {"diameter_tenth_accepted", [](BronValues& v) { v.stBinnendiam = 0.1; }, nullptr, 0},
    {"diameter_below", [](BronValues& v) { v.stBinnendiam = 0.09; },
     "EP Binnendiameter niet tussen 0,1 en 99", 6},
    {"diameter_nan",
     [](BronValues& v) { v.stBinnendiam = std::numeric_limits<double>::quiet_NaN(); },
     "EP Binnendiameter niet tussen 0,1 en 99", 6},
    {"exit_velocity_above", [](BronValues& v) { v.stUittree = 10.01; },
     "EP Uittree niet tussen 0,1 en 10", 7},
    {"emission_above", [](BronValues& v) { v.eVergund = 1500001; },
     "E aanvraag niet tussen 0 en 1500000", 8},
    {"emission_highest", [](BronValues& v) { v.eVergund = 1500000; }, nullptr, 0},
};

TEST(RangeChecks, EmissionPointFirstViolationInFormOrder) {
    for (const auto& c : kBronCases) {
        SCOPED_TRACE(c.name);
        BronValues v = validBron();
        c.change(v);
        const auto violation = definitions::checkBronnen(v);
        if (c.text == nullptr) {
            EXPECT_FALSE(violation.has_value());
        } else {
            ASSERT_TRUE(violation.has_value());
            EXPECT_EQ(violation->text.toStdString(), c.text);
            EXPECT_EQ(violation->field, c.field);
        }
    }
}

TEST(RangeChecks, SensitiveLocationChecksOnlyCoordinates) {
    EXPECT_FALSE(definitions::checkGeurgevloc(GglValues{0, 540000}).has_value());
    const auto both = definitions::checkGeurgevloc(GglValues{281801, 1});
    ASSERT_TRUE(both.has_value());
    EXPECT_EQ(both->field, 2);
    const auto y = definitions::checkGeurgevloc(GglValues{281800, 625001});
    ASSERT_TRUE(y.has_value());
    EXPECT_EQ(y->text, QStringLiteral("Y Coord. niet tussen 300000 en 625000"));
    EXPECT_EQ(y->field, 3);
}

TEST(RangeChecks, MessageIsAWarningWithCaptionAndBeep) {
    const auto m = definitions::rangeMessage({QStringLiteral("X"), 2});
    EXPECT_EQ(m.title, QStringLiteral("Fout in invoerbereik"));
    EXPECT_EQ(m.icon, platform::Icon::Warning);
    EXPECT_EQ(m.buttons, platform::Ok);
    EXPECT_TRUE(m.beep);
}

}  // namespace
