#include "plume.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace zivirare {
namespace {

constexpr double kT = 293.15;

TEST(Plume, WindAtStackHeight) {
    const Stack low{6.5, 0.0, 0.5, 4.0};
    EXPECT_EQ(plumeHour(low, kD, 3.0, kT).windAtStack, 3.0);
    const Stack tall{20.0, 0.0, 0.5, 4.0};
    EXPECT_DOUBLE_EQ(plumeHour(tall, kD, 3.0, kT).windAtStack, 3.0 * std::pow(2.0, 0.15));
    EXPECT_DOUBLE_EQ(plumeHour(tall, kF, 3.0, kT).windAtStack, 3.0 * std::pow(2.0, 0.55));
    EXPECT_EQ(plumeHour(low, kF, 0.5, kT).windAtStack, 1.0);  // never below 1 m/s
}

struct HeightCase {
    const char* name;
    Stack stack;
    Klasse klasse;
    double u10;
    double afterDownwash, rise;
};
const HeightCase kHeightCases[] = {
    {"fast_exit_no_downwash", {6.5, 0, 0.5, 4.0}, kB, 2.0, 6.5, 3.0},
    {"slow_exit_downwash", {6.5, 0, 0.5, 4.0}, kD, 3.0, 6.5 + 2 * 0.5 * (4.0 / 3.0 - 1.5), 2.0},
    {"no_exit_no_rise", {10.0, 0, 0.0, 0.0}, kD, 3.0, 10.0, 0.0},
    // 2 m stack, 1 m wide, no exit speed: downwash would put it 1 m under the ground.
    {"downwash_stops_at_the_ground", {2.0, 0, 1.0, 0.0}, kD, 3.0, 0.0, 0.0},
    // A strong jet in class F: the stable limit 1.5 (Fm / (u sqrt(s)))^(1/3) is the lower one.
    {"stable_limit", {6.5, 0, 2.0, 10.0}, kF, 1.0, 6.5, 21.4459},
};

TEST(Plume, DownwashAndMomentumRise) {
    for (const auto& c : kHeightCases) {
        const PlumeHour p = plumeHour(c.stack, c.klasse, c.u10, kT);
        EXPECT_NEAR(p.stackAfterDownwash, c.afterDownwash, 1e-9) << c.name;
        EXPECT_NEAR(p.rise, c.rise, 1e-4) << c.name;
        EXPECT_NEAR(p.effectiveHeight, c.afterDownwash + c.rise, 1e-4) << c.name;
    }
}

TEST(Plume, BuildingWakeAppliesToLowStacksOnly) {
    EXPECT_TRUE(plumeHour({6.5, 5.0, 0.5, 4.0}, kD, 3.0, kT).wake);
    EXPECT_FALSE(plumeHour({6.5, 5.0, 0.5, 4.0}, kD, 3.0, kT).wakeY);  // plume rises above 6 m
    EXPECT_TRUE(plumeHour({5.5, 5.0, 0.0, 0.0}, kD, 3.0, kT).wakeY);
    EXPECT_FALSE(plumeHour({30.0, 5.0, 0.5, 4.0}, kD, 3.0, kT).wake);
    EXPECT_FALSE(plumeHour({6.5, 0.0, 0.5, 4.0}, kD, 3.0, kT).wake);
    // Top above 2.5 Hb, but less than half a building length above the roof: still in the wake.
    EXPECT_TRUE(plumeHour({5.0, 4.0, 3.0, 20.0}, kD, 1.0, kT).wake);
}

TEST(Plume, WakeWidensAndNeverNarrowsThePlume) {
    for (int k = kA; k <= kF; ++k) {
        const auto klasse = static_cast<Klasse>(k);
        const PlumeHour wake = plumeHour({5.0, 5.0, 0.0, 0.0}, klasse, 3.0, kT);
        ASSERT_TRUE(wake.wake && wake.wakeY);
        for (double x = 20.0; x < 5000.0; x *= 1.1) {
            const Sigmas s = plumeSigmas(wake, x);
            EXPECT_GE(s.y, sigmaY(klasse, x) * (1 - 1e-12)) << k << " " << x;
            EXPECT_GE(s.z, sigmaZ(klasse, x) * (1 - 1e-12)) << k << " " << x;
        }
    }
    // In the near wake sigma-z grows with the building, 0.7 Lb + 0.067 (x - 3 Lb).
    const PlumeHour stable = plumeHour({12.0, 12.0, 0.0, 0.0}, kF, 3.0, kT);
    EXPECT_NEAR(plumeSigmas(stable, 60.0).z, 0.7 * 12 + 0.067 * (60 - 36), 1e-9);
    EXPECT_NEAR(plumeSigmas(stable, 60.0).y, 0.35 * 12 + 0.067 * (60 - 36), 1e-9);
    // Inside the cavity: as at its end.
    EXPECT_EQ(plumeSigmas(stable, 10.0).z, plumeSigmas(stable, 36.0).z);
    EXPECT_EQ(plumeSigmas(stable, 10.0).y, plumeSigmas(stable, 36.0).y);
}

TEST(Plume, FarWakeContinuesTheNearWake) {
    for (int k = kC; k <= kF; ++k) {
        const PlumeHour p = plumeHour({10.0, 10.0, 0.0, 0.0}, static_cast<Klasse>(k), 3.0, kT);
        const Sigmas before = plumeSigmas(p, 100.0 - 1e-6), after = plumeSigmas(p, 100.0);
        EXPECT_NEAR(after.y, before.y, 1e-4 * before.y) << k;
        EXPECT_NEAR(after.z, before.z, 0.03 * before.z) << k;  // the wake line ends at 1.169 Lb
        EXPECT_NEAR(after.z, 1.2 * 10.0, 1e-6) << k;
        // Farther on it approaches the plain coefficients from above.
        EXPECT_GT(plumeSigmas(p, 3000.0).z, sigmaZ(static_cast<Klasse>(k), 3000.0)) << k;
    }
}

TEST(Plume, RiseInducedSpread) {
    const PlumeHour p = plumeHour({6.5, 0.0, 0.5, 4.0}, kB, 2.0, kT);  // rise 3 m
    const double extra = std::pow(3.0 / 3.5, 2);
    const Sigmas s = plumeSigmas(p, 100.0);
    EXPECT_NEAR(s.y * s.y, std::pow(sigmaY(kB, 100.0), 2) + extra, 1e-9);
    EXPECT_NEAR(s.z * s.z, std::pow(sigmaZ(kB, 100.0), 2) + extra, 1e-9);
}

TEST(Plume, ReflectionsAtGroundAndLid) {
    const PlumeHour p = plumeHour({10.0, 0.0, 0.0, 0.0}, kC, 3.0, kT);
    const double x = 500.0;
    const Sigmas s = plumeSigmas(p, x);
    const double ground =
        1.0 / (std::numbers::pi * 3.0 * s.y * s.z) * std::exp(-100.0 / (2 * s.z * s.z));
    // Without a lid only the ground reflects.
    EXPECT_NEAR(concentration(p, bl::kNoLid, x, 0.0, 1.0), ground, 1e-12 * ground);
    // A lid not far above the plume traps it: more at the ground.
    const Sigmas at1km = plumeSigmas(p, 1000.0);
    const double ground1km = 1.0 / (std::numbers::pi * 3.0 * at1km.y * at1km.z) *
                             std::exp(-100.0 / (2 * at1km.z * at1km.z));
    const double trapped = concentration(p, 80.0, 1000.0, 0.0, 1.0);
    EXPECT_GT(trapped, 1.05 * ground1km);
    // Above the lid nothing reaches the ground.
    EXPECT_EQ(concentration(p, 9.0, x, 0.0, 1.0), 0.0);
    // Far downwind under a low lid the layer is well mixed.
    const Sigmas far = plumeSigmas(p, 3000.0);
    ASSERT_GT(far.z, 1.6 * 60.0);
    EXPECT_NEAR(concentration(p, 60.0, 3000.0, 20.0, 1.0),
                1.0 / (std::sqrt(2 * std::numbers::pi) * 3.0 * far.y * 60.0) *
                    std::exp(-400.0 / (2 * far.y * far.y)),
                1e-15);
    // Stable classes have no lid at all.
    const PlumeHour stable = plumeHour({10.0, 0.0, 0.0, 0.0}, kF, 3.0, kT);
    EXPECT_EQ(concentration(stable, 5.0, x, 0.0, 1.0),
              concentration(stable, bl::kNoLid, x, 0.0, 1.0));
}

struct GeometryCase {
    const char* name;
    double dx, dy, direction;
    bool reached;
    double x, y;
};
const GeometryCase kGeometryCases[] = {
    {"west_wind_east_receptor", 300, 0, 270, true, 300, 0},
    {"north_wind_south_receptor", 0, -300, 0, true, 300, 0},
    {"crosswind_to_the_left", 300, 100, 270, true, 300, 100},
    {"upwind", -300, 0, 270, false, 0, 0},
    {"less_than_a_metre", 0.5, 50, 270, false, 0, 0},
    {"raised_to_twenty_metres", 5, 0, 270, true, 20, 0},
    {"beyond_the_largest_distance", 5001, 0, 270, false, 0, 0},
};

TEST(Plume, DownwindGeometry) {
    for (const auto& c : kGeometryCases) {
        double x = 0, y = 0;
        EXPECT_EQ(downwind(c.dx, c.dy, c.direction, 5000.0, 20.0, x, y), c.reached) << c.name;
        if (c.reached) {
            EXPECT_NEAR(x, c.x, 1e-9) << c.name;
            EXPECT_NEAR(y, c.y, 1e-9) << c.name;
        }
    }
}

}  // namespace
}  // namespace zivirare
