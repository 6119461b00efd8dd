#include "calculation/number_text.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using calctest::PrintTo;

using calculation::roundedText;

struct RoundCase {
    const char* name;
    double value;
    int decimals;
    const char* expected;
};

const RoundCase kRoundCases[] = {
    {"whole_number_has_no_point", 12.0, 1, "12"},
    {"tenth_rounds_down", 6.54, 1, "6.5"},
    {"tenth_halfway_held_below_rounds_up", 6.55, 1, "6.6"},
    {"hundredth_keeps_one_digit", 0.5, 2, "0.5"},
    {"metre_halfway_rounds_up", 1234.5, 0, "1235"},
    {"zero", 0.0, 2, "0"},
    {"negative_zero", -0.0, 1, "0"},
    {"tiny_negative_rounds_to_zero", -0.004, 2, "0"},
    {"diameter_0555", 0.555, 2, "0.56"},
    {"diameter_0545", 0.545, 2, "0.55"},
    {"velocity_ten", 10.0, 2, "10"},
    {"fifteen_digits_decide_4005", 4.005, 2, "4.01"},
    {"below_halfway_at_15_digits", 0.1249999, 2, "0.12"},
    {"halfway_0125", 0.125, 2, "0.13"},
    {"leading_zero_below_one", 0.05, 1, "0.1"},
    {"negative_halfway_away_from_zero", -2.25, 1, "-2.3"},
    {"carry_into_new_digit", 9.96, 1, "10"},
    {"large_emission", 1500000.0, 0, "1500000"},
    {"beyond_15_digits_no_exponent", 1.0e20, 0, "100000000000000000000"},
    {"far_below_step", 1.0e-20, 2, "0"},
    {"not_a_number", std::numeric_limits<double>::quiet_NaN(), 1, "0"},
};

class RoundedText : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundedText, WritesShortestRoundedForm) {
    const RoundCase& c = GetParam();
    EXPECT_EQ(roundedText(c.value, c.decimals), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundedText, testing::ValuesIn(kRoundCases), calctest::CaseName());

TEST(NumberText, IntegerText) {
    EXPECT_EQ(calculation::integerText(0), "0");
    EXPECT_EQ(calculation::integerText(-42), "-42");
    EXPECT_EQ(calculation::integerText(2147483647), "2147483647");
}

}  // namespace
