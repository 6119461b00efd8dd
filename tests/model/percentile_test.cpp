#include "percentile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace zivirare {
namespace {

struct RankCase {
    const char* name;
    int64_t n;
    int64_t rank;
};
const RankCase kRankCases[] = {
    {"five_years", 43824, 42948},        {"exact_hundred", 100, 98}, {"one_value", 1, 1},
    {"just_above_a_whole_rank", 51, 50}, {"fifty", 50, 49},          {"one_leap_year", 8784, 8609}};

TEST(Percentile, NearestRankRoundsUp) {
    for (const auto& c : kRankCases) {
        EXPECT_EQ(nearestRank(c.n, 98), c.rank) << c.name;
    }
}

TEST(Percentile, ValueOfTheRankInAShuffledSeries) {
    std::vector<float> values(43824);
    std::iota(values.begin(), values.end(), 1.0f);
    std::mt19937 shuffle(7);
    std::shuffle(values.begin(), values.end(), shuffle);
    EXPECT_EQ(percentileInPlace(values, 98), 42948.0f);

    // Ties and zeros, as in a series that is mostly calm at the receptor.
    std::vector<float> mostlyZero(200, 0.0f);
    mostlyZero[3] = 5.0f;
    mostlyZero[150] = 9.0f;
    mostlyZero[199] = 7.0f;
    EXPECT_EQ(percentileInPlace(mostlyZero, 98), 0.0f);  // rank 196 of 200
    mostlyZero.assign(100, 0.0f);
    mostlyZero[10] = 1.0f;
    mostlyZero[20] = 2.0f;
    mostlyZero[30] = 3.0f;
    EXPECT_EQ(percentileInPlace(mostlyZero, 98), 1.0f);  // rank 98: the smallest of the three
}

TEST(Percentile, EmptySeriesIsZero) {
    std::vector<float> none;
    EXPECT_EQ(percentileInPlace(none, 98), 0.0f);
}

}  // namespace
}  // namespace zivirare
