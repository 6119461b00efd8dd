#include "platform/pictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

namespace pictures = platform::pictures;

namespace {

std::string str(const QString& s) {
    return s.toStdString();
}

template <class Case>
std::string caseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

struct NumberCase {
    const char* name;
    const char16_t* picture;
    double value;
    const char* expected;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

const NumberCase kNumberCases[] = {
    // The report's pictures with the examples that go with them.
    {"report_7_0_155000", u"@N7_`0", 155000, "155 000"},
    {"report_7_0_1234", u"@N7_`0", 1234, "  1 234"},
    {"report_7_0_six_digits_fit", u"@N7_`0", 999999, "999 999"},
    {"report_7_0_million_does_not_fit", u"@N7_`0", 1000000, "#######"},
    {"report_5_1", u"@N5_`1", 12.5, " 12,5"},
    {"report_5_2", u"@N5_`2", 1.25, " 1,25"},
    {"report_6_2", u"@N6_`2", 0.25, "  0,25"},
    {"report_6_3", u"@N6_`3", 0.25, " 0,250"},
    {"report_6_1", u"@N6_`1", 3, "   3,0"},
    {"report_7p1_grouped_by_period", u"@N7`1", 1234.5, "1.234,5"},
    {"report_7p1_small", u"@N7`1", 12.3, "   12,3"},
    {"report_10p2", u"@N10.`2", 0.25, "      0,25"},
    {"report_own_roughness_calculation_window", u"@N6_`3", 0.25, " 0,250"},
    {"report_computed_roughness", u"@N6_`2", 0.1234, "  0,12"},
    // The lists and forms.
    {"list_sequence_number", u"@N_3", 12, " 12"},
    {"list_sequence_number_no_grouping", u"@N_3", 999, "999"},
    {"list_sequence_number_too_big", u"@N_3", 1000, "###"},
    {"list_coordinate", u"@N7_", 155000, "155 000"},
    {"list_coordinate_width_9", u"@N9_", 463000, "  463 000"},
    {"list_one_decimal_grouped", u"@N10_`1", 12.5, "      12,5"},
    {"list_one_decimal_thousands", u"@N10_`1", 1234.5, "   1 234,5"},
    {"list_two_decimals_grouped_11", u"@N11_`2", 1234.567, "   1 234,57"},
    {"list_two_decimals_grouped_9", u"@N9_`2", 4, "     4,00"},
    {"list_emission_grouped_11", u"@N11_", 1500000, "  1 500 000"},
    {"list_blank_when_zero", u"@N10_`1B", 0, "          "},
    {"list_blank_when_zero_negative_zero", u"@N10_`1B", -0.0, "          "},
    {"list_small_value_not_blank", u"@N10_`1B", 0.04, "       0,0"},
    {"list_three_decimals_blank_when_zero", u"@N10_`3B", 2.5, "     2,500"},
    {"spin_box_roughness", u"@N6_`2", 0.1, "  0,10"},
    // Rounding: half away from zero on the decimal form, never on the binary remainder.
    {"round_2675_up", u"@N6_`2", 2.675, "  2,68"},
    {"round_1005_up", u"@N6_`2", 1.005, "  1,01"},
    {"round_0125_up", u"@N6_`2", 0.125, "  0,13"},
    {"round_01249999_down", u"@N6_`2", 0.1249999, "  0,12"},
    {"round_sum_noise", u"@N6_`1", 0.1 + 0.2, "   0,3"},
    {"round_half_away_from_zero_negative", u"@N7_`0", -2.5, "     -3"},
    {"round_carry_into_new_digit", u"@N5_`1", 99.95, "100,0"},
    {"round_carry_into_group", u"@N7_`0", 999.5, "  1 000"},
    {"round_to_zero_has_no_sign", u"@N6_`1", -0.04, "   0,0"},
    {"round_below_half_to_zero", u"@N_3", 0.4999, "  0"},
    // Signs, zero, overflow.
    {"zero_without_blank", u"@N6_`2", 0, "  0,00"},
    {"negative_fits", u"@N7_`0", -1234, " -1 234"},
    {"negative_sign_needs_room", u"@N7_`0", -155000, "#######"},
    {"trailing_sign", u"@N7.1-", -12.5, "  12.5-"},
    {"trailing_sign_positive_keeps_place", u"@N7.1-", 12.5, "  12.5 "},
    {"nan", u"@N7_`0", kNaN, "#######"},
    {"infinity", u"@N6_`2", -kInf, "######"},
    {"huge", u"@N11_", 1e300, "###########"},
    {"tiny", u"@N6_`2", 1e-300, "  0,00"},
    // The rest of the grammar.
    {"default_grouping_comma", u"@N9", 1234567, "1,234,567"},
    {"default_grouping_period_with_decimal_comma", u"@N10`2", 1234.5, "  1.234,50"},
    {"decimal_point", u"@N_9.2", 4550, "  4550.00"},
    {"zero_fill", u"@N05", 42, "00042"},
    {"zero_fill_negative", u"@N05", -42, "-0042"},
    {"asterisk_fill", u"@N*6", 42, "****42"},
    // Scientific: a 14-digit whole mantissa, grouped, then the exponent.
    {"scientific_coordinate", u"@E25_.14", 155000, " 15 500 000 000 000.E-008"},
    {"scientific_negative", u"@E25_.14", -1.5, "-15 000 000 000 000.E-013"},
    {"scientific_zero", u"@E25_.14", 0, "                  0.E+000"},
    {"scientific_rounds_last_digit", u"@E25_.14", 123456789012345, " 12 345 678 901 235.E+001"},
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.name;
}

class NumberFormat : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberFormat, ShowsValue) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(str(pictures::format(c.value, QStringView(c.picture))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, NumberFormat, testing::ValuesIn(kNumberCases),
                         caseName<NumberCase>);

struct DateTimeCase {
    const char* name;
    const char16_t* picture;
    int32_t value;
    const char* expected;
};

// Day numbers: 1 January 1801 is day 4; 5 March 2010 is day 76403.
const DateTimeCase kDateCases[] = {
    {"first_january_1801", u"@D6-", 4, " 1-01-1801"},
    {"report_example", u"@D6-", 76403, " 5-03-2010"},
    {"two_digit_day", u"@D6-", 76403 + 10, "15-03-2010"},
    {"leap_day_2000", u"@D6-", 72746, "29-02-2000"},
    {"1900_is_no_leap_year", u"@D6-", 36222, " 1-03-1900"},
    {"end_of_february_1900", u"@D6-", 36221, "28-02-1900"},
    {"last_day_of_9999", u"@D6-", 2994626, "31-12-9999"},
    {"after_9999_blank", u"@D6-", 2994627, "          "},
    {"zero_blank", u"@D6-", 0, "          "},
    {"negative_blank", u"@D6-", -5, "          "},
    {"default_separator", u"@D6", 76403, " 5/03/2010"},
    {"period_separator", u"@D6.", 76403, " 5.03.2010"},
    {"creation_date_in_list", u"yyyymmdd", 76476, "20100517"},
    {"iso_pattern", u"yyyy-mm-dd", 76476, "2010-05-17"},
    {"pattern_blank_when_no_date", u"yyyymmdd", 0, "        "},
};

// Times: hundredths of a second since midnight plus one.
const DateTimeCase kTimeCases[] = {
    {"report_example", u"@T4", (9 * 3600 + 5 * 60 + 7) * 100 + 1, " 9:05:07"},
    {"afternoon", u"@T4", (14 * 3600 + 5 * 60 + 7) * 100 + 1, "14:05:07"},
    {"duration_1234", u"@T4", 1234, " 0:00:12"},
    {"duration_zero", u"@T4", 0, " 0:00:00"},
    {"first_hundredth", u"@T4", 1, " 0:00:00"},
    {"last_hundredth_of_day", u"@T4", 8640000, "23:59:59"},
    {"wraps_after_a_day", u"@T4", 8640001 + 100, " 0:00:01"},
    {"blank_when_zero", u"@T4B", 0, "        "},
    {"hours_minutes", u"@T1", (9 * 3600 + 5 * 60 + 7) * 100 + 1, " 9:05"},
};

void PrintTo(const DateTimeCase& c, std::ostream* os) {
    *os << c.name;
}

class DateFormat : public testing::TestWithParam<DateTimeCase> {};
class TimeFormat : public testing::TestWithParam<DateTimeCase> {};

TEST_P(DateFormat, ShowsDay) {
    const DateTimeCase& c = GetParam();
    EXPECT_EQ(str(pictures::formatDate(c.value, QStringView(c.picture))), c.expected);
    // The general entry point reaches the same formatter.
    EXPECT_EQ(str(pictures::format(c.value, QStringView(c.picture))), c.expected);
}

TEST_P(TimeFormat, ShowsTime) {
    const DateTimeCase& c = GetParam();
    EXPECT_EQ(str(pictures::formatTime(c.value, QStringView(c.picture))), c.expected);
    EXPECT_EQ(str(pictures::format(c.value, QStringView(c.picture))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DateFormat, testing::ValuesIn(kDateCases), caseName<DateTimeCase>);
INSTANTIATE_TEST_SUITE_P(Table, TimeFormat, testing::ValuesIn(kTimeCases), caseName<DateTimeCase>);

TEST(DateFormat, EveryDayFollowsTheLastOne) {
    // Walks two centuries day by day: the day of the month either grows by one or starts again
    // at 1 in the next month, so no day is skipped or shown twice.
    QString previous = pictures::formatDate(4, u"yyyymmdd");
    for (int32_t day = 5; day < 4 + 200 * 366; ++day) {
        const QString shown = pictures::formatDate(day, u"yyyymmdd");
        const int y = shown.left(4).toInt(), m = shown.mid(4, 2).toInt(),
                  d = shown.right(2).toInt();
        const int py = previous.left(4).toInt(), pm = previous.mid(4, 2).toInt(),
                  pd = previous.right(2).toInt();
        const bool nextDay = y == py && m == pm && d == pd + 1;
        const bool nextMonth = d == 1 && ((y == py && m == pm + 1) || (y == py + 1 && m == 1));
        ASSERT_TRUE(nextDay || nextMonth) << str(previous) << " -> " << str(shown);
        if (nextMonth) {
            static const int kLength[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            const bool leap = (py % 4 == 0 && py % 100 != 0) || py % 400 == 0;
            ASSERT_EQ(pd, kLength[pm - 1] + (pm == 2 && leap ? 1 : 0)) << str(previous);
        }
        previous = shown;
    }
}

TEST(Pictures, UnknownPicturesGiveEmptyText) {
    for (const char16_t* p : {u"@X5", u"@N", u"@Nx", u"@N5`2x", u"@N0", u"@N256", u"@N9,`2",
                              u"@E25_", u"@D5-", u"@T3", u"", u"dd-mm"}) {
        EXPECT_TRUE(pictures::format(1.0, QStringView(p)).isEmpty()) << str(QString::fromUtf16(p));
    }
}

TEST(Pictures, ParsesThePartsOfANumberPicture) {
    const auto tenPeriod = pictures::parseNumberPicture(u"@N10.`2");
    ASSERT_TRUE(tenPeriod);
    EXPECT_EQ(tenPeriod->width, 10);
    EXPECT_EQ(tenPeriod->decimals, 2);
    EXPECT_EQ(tenPeriod->decimalMark, u',');
    EXPECT_EQ(tenPeriod->grouping, u'.');
    EXPECT_FALSE(tenPeriod->blankWhenZero);

    const auto norm = pictures::parseNumberPicture(u"@N10_`1B");
    ASSERT_TRUE(norm);
    EXPECT_EQ(norm->width, 10);
    EXPECT_EQ(norm->decimals, 1);
    EXPECT_EQ(norm->grouping, u' ');
    EXPECT_TRUE(norm->blankWhenZero);

    const auto number = pictures::parseNumberPicture(u"@N_3");
    ASSERT_TRUE(number);
    EXPECT_EQ(number->width, 3);
    EXPECT_TRUE(number->grouping.isNull());
    EXPECT_EQ(number->fill, u' ');

    const auto sci = pictures::parseNumberPicture(u"@E25_.14");
    ASSERT_TRUE(sci);
    EXPECT_EQ(sci->kind, pictures::NumberPicture::Kind::Scientific);
    EXPECT_EQ(sci->width, 25);
    EXPECT_EQ(sci->mantissaDigits, 14);
}

TEST(PrettyNumber, WritesBlankFreeTextsThatReadBackExactly) {
    EXPECT_EQ(str(pictures::prettyNumber(u"155000")), "15500000000000.E-008");
    EXPECT_EQ(str(pictures::prettyNumber(u" 463000 ")), "46300000000000.E-008");
    EXPECT_EQ(str(pictures::prettyNumber(u"0")), "0.E+000");
    EXPECT_EQ(str(pictures::prettyNumber(u"geen getal")), "0.E+000");
    for (const double v :
         {0.0, 1.0, 155000.0, 281800.0, 625000.0, 300000.0, -12.0, 0.18, 1e-5, 99999999999999.0}) {
        const QString text = pictures::prettyNumber(QString::number(v, 'g', 17));
        EXPECT_FALSE(text.contains(u' ')) << str(text);
        EXPECT_EQ(std::strtod(text.toLatin1().constData(), nullptr), v) << str(text);
    }
}

struct ParseCase {
    const char* name;
    const char16_t* picture;
    const char16_t* text;
    std::optional<double> expected;
};

const ParseCase kParseCases[] = {
    // One decimal, blank grouping, decimal comma (heights, odour standards).
    {"comma", u"@N10_`1", u"6,5", 6.5},
    {"point_means_comma", u"@N10_`1", u"6.5", 6.5},
    {"blanks_around", u"@N10_`1", u"   12,5 ", 12.5},
    {"grouped_by_blank", u"@N10_`1", u"1 234,5", 1234.5},
    {"grouped_by_no_break_space", u"@N10_`1", u"1\u00A0234,5", 1234.5},
    {"empty_is_zero", u"@N10_`1", u"", 0.0},
    {"blanks_are_zero", u"@N10_`1", u"    ", 0.0},
    {"trailing_zero_decimals", u"@N10_`1", u"12,50", 12.5},
    {"no_whole_digits", u"@N10_`1", u",5", 0.5},
    {"negative", u"@N10_`1", u"-3,0", -3.0},
    {"plus", u"@N10_`1", u"+3", 3.0},
    {"comma_three_digits_is_decimal_comma", u"@N10_`1", u"1,500", 1.5},
    {"point_three_digits_ambiguous", u"@N10_`1", u"1.500", std::nullopt},
    {"point_three_digits_after_blank_group", u"@N10_`1", u"1 234.500", std::nullopt},
    {"point_three_digits_after_zero", u"@N6_`2", u"0.180", 0.18},
    {"point_three_digits_after_long_whole", u"@N10_`1", u"1234.500", 1234.5},
    {"point_three_digits_negative_ambiguous", u"@N10_`1", u"-1.500", std::nullopt},
    {"too_many_decimals", u"@N10_`1", u"12,55", std::nullopt},
    {"two_marks", u"@N10_`1", u"1.234,5", std::nullopt},
    {"two_commas", u"@N10_`1", u"1,2,3", std::nullopt},
    {"letter", u"@N10_`1", u"12a", std::nullopt},
    {"exponent", u"@N10_`1", u"1e3", std::nullopt},
    {"bad_group", u"@N10_`1", u"1 23", std::nullopt},
    {"bad_first_group", u"@N10_`1", u"1234 567", std::nullopt},
    {"double_blank", u"@N10_`1", u"1  234", std::nullopt},
    {"sign_only", u"@N10_`1", u"-", std::nullopt},
    {"mark_only", u"@N10_`1", u",", std::nullopt},
    {"two_signs", u"@N10_`1", u"--1", std::nullopt},
    {"does_not_fit", u"@N10_`1", u"123456789,0", std::nullopt},
    {"largest_that_fits", u"@N10_`1", u"999 999,9", 999999.9},
    // Whole numbers (coordinates, emission).
    {"coordinate", u"@N9_", u"155000", 155000.0},
    {"coordinate_grouped", u"@N9_", u"155 000", 155000.0},
    {"coordinate_point_ambiguous", u"@N9_", u"155.000", std::nullopt},
    {"coordinate_comma_ambiguous", u"@N9_", u"155,000", std::nullopt},
    {"coordinate_zero_decimal", u"@N9_", u"155000,0", 155000.0},
    {"coordinate_with_fraction", u"@N9_", u"155000,5", std::nullopt},
    {"coordinate_too_long", u"@N9_", u"1234567890", std::nullopt},
    {"emission", u"@N11_", u"1 500 000", 1500000.0},
    // Three decimals: a point with three digits is a decimal point.
    {"three_decimals_point", u"@N10_`3B", u"0.250", 0.25},
    {"three_decimals_blank", u"@N10_`3B", u"", 0.0},
    // Period grouping with decimal comma: the period only groups.
    {"period_grouping", u"@N7`1", u"1.234,5", 1234.5},
    {"period_grouping_comma", u"@N7`1", u"12,3", 12.3},
    {"period_cannot_be_decimal_here", u"@N7`1", u"1.5", std::nullopt},
    {"period_grouping_misplaced", u"@N7`1", u"12.34", std::nullopt},
    {"mixed_separators", u"@N10.`2", u"1.234 567", std::nullopt},
    {"trailing_sign_field", u"@N7.1-", u"12.5-", -12.5},
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class NumberEntry : public testing::TestWithParam<ParseCase> {};

TEST_P(NumberEntry, ReadsTypedText) {
    const ParseCase& c = GetParam();
    const auto picture = pictures::parseNumberPicture(QStringView(c.picture));
    ASSERT_TRUE(picture);
    const auto value = pictures::parseNumber(QStringView(c.text), *picture);
    ASSERT_EQ(value.has_value(), c.expected.has_value()) << (value ? *value : 0.0);
    if (value) {
        // The nearest double to the typed decimal, exactly.
        EXPECT_EQ(*value, *c.expected);
        EXPECT_FALSE(std::signbit(*value) && *value == 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, NumberEntry, testing::ValuesIn(kParseCases), caseName<ParseCase>);

TEST(NumberEntry, ReadsBackWhatItShows) {
    struct RoundTrip {
        const char16_t* picture;
        double values[6];
    };
    const RoundTrip trips[] = {
        {u"@N10_`1", {0.1, 12.5, 100.0, 1234.5, 999999.9, -7.3}},
        {u"@N10_`1B", {0.0, 2.0, 0.1, 65.4, 1000.0, 31.9}},
        {u"@N11_`2", {0.1, 0.5, 99.0, 1234.56, 0.09, 10.0}},
        {u"@N9_", {0.0, 155000.0, 281800.0, 300000.0, 625000.0, 1000.0}},
        {u"@N11_", {0.0, 12000.0, 1500000.0, 999.0, 1000.0, 1001.0}},
        {u"@N10.`2", {0.25, 1234.5, 100000.0, 0.01, 7.0, 100.1}},
        {u"@N6_`2", {0.1, 0.18, 1.5, 0.03, 1.0, 0.25}},
    };
    for (const RoundTrip& trip : trips) {
        const auto picture = pictures::parseNumberPicture(QStringView(trip.picture));
        ASSERT_TRUE(picture);
        for (const double v : trip.values) {
            const QString shown = pictures::format(v, *picture);
            const auto back = pictures::parseNumber(shown, *picture);
            ASSERT_TRUE(back) << str(shown);
            EXPECT_EQ(*back, v) << str(shown);
        }
    }
}

}  // namespace
