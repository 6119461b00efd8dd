#include "boundary_layer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zivirare {
namespace {

TEST(BoundaryLayer, SolarElevation) {
    // Eindhoven at the June solstice of 1995: at local solar noon (about 11:39 UT) the sun
    // stands at 90 - 51.451 + 23.44 degrees; the hour ending at 12 UT is centred on 11:30 UT.
    double highest = -90.0;
    int highestHour = 0;
    for (int hh = 1; hh <= 24; ++hh) {
        const double e = solarElevation(1995, 172, hh, 51.451, 5.377);
        if (e > highest) {
            highest = e;
            highestHour = hh;
        }
    }
    EXPECT_EQ(highestHour, 12);
    EXPECT_NEAR(highest, 61.9, 0.3);
    // Midnight in December: far below the horizon.
    EXPECT_NEAR(solarElevation(1995, 355, 24, 51.451, 5.377), -(90.0 - 51.451 + 23.44), 1.0);
    // Sunrise in Eindhoven on the equinox is near 05:50 UT.
    EXPECT_LT(solarElevation(1995, 80, 6, 51.451, 5.377), 2.0);
    EXPECT_GT(solarElevation(1995, 80, 7, 51.451, 5.377), 5.0);
}

TEST(BoundaryLayer, IncomingAndNetRadiation) {
    EXPECT_EQ(estimatedRadiation(1.74, 0.0), 0.0);
    EXPECT_NEAR(estimatedRadiation(30.0, 0.0), 990.0 * 0.5 - 30.0, 1e-9);
    EXPECT_NEAR(estimatedRadiation(30.0, 8.0), (990.0 * 0.5 - 30.0) * 0.25, 1e-9);
    // At night the surface loses heat, less so under clouds; by day the sun wins.
    const double clearNight = netRadiation(0.0, 283.15, 0.0);
    const double cloudyNight = netRadiation(0.0, 283.15, 8.0);
    EXPECT_LT(clearNight, -50.0);
    EXPECT_LT(cloudyNight, 0.0);
    EXPECT_GT(cloudyNight, clearNight);
    EXPECT_GT(netRadiation(500.0, 293.15, 2.0), 250.0);
}

TEST(BoundaryLayer, StabilityFunction) {
    EXPECT_NEAR(psiM(0.0), 0.0, 1e-12);
    EXPECT_NEAR(psiM(-1.0), 1.1162322, 1e-6);
}

TEST(BoundaryLayer, FrictionVelocityAndObukhovLength) {
    const double z0 = 0.1, t = 288.15;
    const double neutral = bl::kKarman * 8.0 / std::log(10.0 / z0);
    // Strong wind on an overcast night: close to neutral, stable, L large.
    const SurfaceLayer windy = surfaceLayer(-10.0, 8.0, t, 8.0, z0);
    EXPECT_GT(windy.obukhov, 100.0);
    EXPECT_NEAR(windy.ustar, neutral, 0.05 * neutral);
    // Light wind on a clear night: below the critical speed, shallow L.
    const SurfaceLayer still = surfaceLayer(-60.0, 1.0, t, 0.0, z0);
    EXPECT_GT(still.obukhov, 0.0);
    EXPECT_LT(still.obukhov, 10.0);
    // Sunny day: L negative, u* above neutral, and u* and L agree with each other.
    const SurfaceLayer sunny = surfaceLayer(400.0, 3.0, t, 2.0, z0);
    EXPECT_LT(sunny.obukhov, 0.0);
    EXPECT_NEAR(sunny.heatFlux, 0.9 * 400.0 / (1.0 + 1.0 / 0.6), 1e-9);
    const double u = bl::kKarman * 3.0 /
                     (std::log(10.0 / z0) - psiM(10.0 / sunny.obukhov) + psiM(z0 / sunny.obukhov));
    EXPECT_NEAR(sunny.ustar, u, 0.02 * u);
    EXPECT_GT(sunny.ustar, bl::kKarman * 3.0 / std::log(10.0 / z0));
}

struct ClassCase {
    const char* name;
    double obukhov;
    Klasse klasse;
};
const ClassCase kClassCases[] = {
    {"very_unstable", -5.0, kA},
    {"unstable", -15.0, kB},
    {"slightly_unstable", -50.0, kC},
    {"neutral_day", -1e6, kD},
    {"neutral_night", 1e6, kD},
    {"slightly_stable", 45.0, kE},
    {"stable", 10.0, kF},
    {"past_the_a_b_midpoint", -1.0 / 0.095, kB},
    {"before_the_a_b_midpoint", -1.0 / 0.096, kA},
};

TEST(BoundaryLayer, ClassFromObukhovLengthAtRoughness01) {
    // Lines at z0 = 0.1: A -0.125, B -0.066, C -0.020, D 0, E 0.022, F 0.071.
    for (const auto& c : kClassCases) {
        EXPECT_EQ(klasseFromObukhov(c.obukhov, 0.1), c.klasse) << c.name;
    }
}

MeteoHour hourOf(int dayOfYear, int hh, double u10, double cloud) {
    MeteoHour m;
    m.valid = true;
    m.year = 1995;
    m.dayOfYear = dayOfYear;
    m.hh = hh;
    m.u10 = u10;
    m.direction = 240.0;
    m.temperature = 291.15;
    m.cloud = cloud;
    return m;
}

TEST(BoundaryLayer, MixingHeightThroughASummerDay) {
    MeteoSeries series;
    series.station = 370;
    for (int hh = 1; hh <= 24; ++hh) {
        series.hours.push_back(hourOf(172, hh, 2.0, 1.0));
    }
    series.hours.push_back(hourOf(173, 1, 2.0, 1.0));
    series.hours[3].valid = false;
    const auto states = hourStates(series, 0.1);
    ASSERT_EQ(states.size(), series.hours.size());
    EXPECT_FALSE(states[3].valid);
    double previous = 0.0;
    for (std::size_t i = 0; i < states.size(); ++i) {
        const auto& s = states[i];
        if (!s.valid) {
            continue;
        }
        if (s.klasse >= kE) {
            EXPECT_EQ(s.mixingHeight, bl::kNoLid) << i;
        } else {
            EXPECT_GE(s.mixingHeight, 50.0) << i;
            EXPECT_LE(s.mixingHeight, 4000.0) << i;
        }
        // In the morning the convective layer only grows.
        if (i >= 6 && i <= 12 && s.klasse <= kD) {
            EXPECT_GE(s.mixingHeight, previous) << i;
            previous = s.mixingHeight;
        }
    }
    EXPECT_LE(states[13].klasse, kC);  // a sunny afternoon is unstable
    EXPECT_GT(states[13].mixingHeight, 500.0);
    EXPECT_GE(states[0].klasse, kE);  // a clear night with light wind is stable
    EXPECT_GE(states[24].klasse, kE);
}

}  // namespace
}  // namespace zivirare
