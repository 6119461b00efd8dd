#include "kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "meteo.h"
#include "paths.h"
#include "support.h"
#include "text.h"

namespace zivirare {
namespace {

// Three weeks of each season from the synthetic Eindhoven file, so that every class, calm
// hours and low lids occur.
std::vector<HourState> someHours() {
    std::string bytes;
    EXPECT_EQ(text::readFile(std::string(ZIVIRARE_BUILT_DATA) + "/mixeindhoven9599.dat", bytes),
              text::ReadStatus::kOk);
    RunLog log;
    MeteoFile file;
    EXPECT_EQ(parseMeteo(bytes, "eindhoven", file, log), MeteoStatus::kOk);
    std::vector<HourState> states;
    for (const int month : {1, 4, 7, 10}) {
        const auto series = buildSeries(file, Period{1996, month, 1, 1, 1996, month, 21, 24});
        for (const auto& s : hourStates(series, 0.25)) {
            if (s.valid) {
                states.push_back(s);
            }
        }
    }
    return states;
}

Source source(int64_t n, double x, double y, double h, double hb, double d, double v, double q) {
    Source s;
    s.volgnummer = n;
    s.x = x;
    s.y = y;
    s.hoogte = h;
    s.gebouwHoogte = hb;
    s.diameter = d;
    s.uittree = v;
    s.emissie = q;
    return s;
}

struct Farm {
    std::vector<HourState> states = someHours();
    std::vector<Source> sources;
    std::vector<Location> locations;
    KernelProblem problem() const { return {&states, &sources, &locations, 5000.0, 20.0}; }
};

// Stacks low and tall, with and without buildings, and receptors from inside the cavity to
// beyond the largest distance, in every direction.
Farm mixedFarm() {
    Farm f;
    f.sources = {source(1, 0, 0, 6.5, 5.0, 0.5, 4.0, 12000),
                 source(2, 40, 10, 3.0, 8.0, 0.8, 1.0, 5000),
                 source(3, -30, 60, 25.0, 0.0, 1.0, 12.0, 30000),
                 source(4, 10, -40, 12.0, 10.0, 0.3, 0.0, 800)};
    for (int j = 0; j < 37; ++j) {
        Location l;
        l.volgnummer = 10 + j;
        const double angle = j * 2.4, radius = 15.0 + 150.0 * j;
        l.x = std::round(radius * std::cos(angle));
        l.y = std::round(radius * std::sin(angle));
        f.locations.push_back(l);
    }
    return f;
}

TEST(Kernel, SinglePrecisionAgreesWithTheReferenceFormulas) {
    const Farm f = mixedFarm();
    const auto fast = hourlyConcentrations(f.problem(), 2);
    const auto reference = referenceHourlyConcentrations(f.problem());
    ASSERT_EQ(fast.size(), reference.size());
    const std::size_t hours = f.states.size();
    for (std::size_t r = 0; r < f.locations.size(); ++r) {
        double peak = 0.0;
        for (std::size_t h = 0; h < hours; ++h) {
            peak = std::max(peak, reference[r * hours + h]);
        }
        for (std::size_t h = 0; h < hours; ++h) {
            const double ref = reference[r * hours + h], got = fast[r * hours + h];
            ASSERT_NEAR(got, ref, 1e-3 * ref + 1e-6 * peak + 1e-30)
                << "receptor " << r << " hour " << h << " class " << f.states[h].klasse;
        }
    }
    // And so the loads, within 0.1 %.
    const auto loads = odourLoads(f.problem(), 2);
    for (std::size_t r = 0; r < f.locations.size(); ++r) {
        std::vector<float> series(hours);
        for (std::size_t h = 0; h < hours; ++h) {
            series[h] = static_cast<float>(reference[r * hours + h]);
        }
        std::nth_element(series.begin(),
                         series.begin() + (98 * static_cast<long>(hours) + 99) / 100 - 1,
                         series.end());
        const double expected = series[(98 * hours + 99) / 100 - 1];
        EXPECT_NEAR(loads[r], expected, 1e-3 * expected + 1e-12) << r;
    }
}

TEST(Kernel, SameBitsForAnyNumberOfThreads) {
    const Farm f = mixedFarm();
    const auto one = hourlyConcentrations(f.problem(), 1);
    for (const int threads : {2, 3, 7}) {
        const auto many = hourlyConcentrations(f.problem(), threads);
        ASSERT_EQ(many.size(), one.size());
        EXPECT_EQ(std::memcmp(many.data(), one.data(), one.size() * sizeof(float)), 0)
            << threads << " threads";
    }
}

// A company with more locations than fit in one block of hourly series gets the same loads.
TEST(Kernel, ManyLocationsInBlocks) {
    Farm f = mixedFarm();
    f.states.resize(200);
    const auto few = odourLoads(f.problem(), 2);
    const auto first = f.locations;
    while (f.locations.size() < 1100) {
        f.locations.insert(f.locations.end(), first.begin(), first.end());
    }
    const auto many = odourLoads(f.problem(), 2);
    ASSERT_EQ(many.size(), f.locations.size());
    for (std::size_t r = 0; r < many.size(); ++r) {
        ASSERT_EQ(many[r], few[r % first.size()]) << r;
    }
}

TEST(Kernel, NothingWithoutSourcesOrLocations) {
    Farm f = mixedFarm();
    f.locations.clear();
    EXPECT_TRUE(odourLoads(f.problem(), 2).empty());
    f = mixedFarm();
    f.sources.clear();
    for (const double load : odourLoads(f.problem(), 2)) {
        EXPECT_EQ(load, 0.0);
    }
}

TEST(Kernel, ThreadCountFromTheEnvironment) {
    {
        const model_test::EnvGuard env("ZIVIRARE_THREADS", "3");
        EXPECT_EQ(threadCount(), 3);
    }
    const model_test::EnvGuard env("ZIVIRARE_THREADS", "nul");
    EXPECT_GE(threadCount(), 1);
}

}  // namespace
}  // namespace zivirare
