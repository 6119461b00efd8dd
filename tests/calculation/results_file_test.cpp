#include "calculation/results_file.h"

#include "platform/text_line_file.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include <limits>

namespace {

using calctest::PrintTo;

using calctest::bron;
using calctest::ggl;
using calculation::Gridq;
using calculation::kBlack;
using calculation::kDefaultColor;
using calculation::kRed;
using calculation::kWhite;

// Three emission points and two locations (standards 2 and 3), numbered 1 to 5, in the order the
// input writer leaves them: locations first.
Gridq company() {
    Gridq rows = {bron(3, QStringLiteral("EP3"), 1, 1), bron(5, QStringLiteral("EP5"), 1, 1),
                  bron(7, QStringLiteral("EP7"), 1, 1), ggl(2, QStringLiteral("W2"), 1, 1, 2.0),
                  ggl(9, QStringLiteral("W9"), 1, 1, 3.0)};
    calculation::numberRows(rows);
    calculation::sortByTypeDescThenId(rows);
    return rows;
}

struct Outcome {
    Gridq gridq;
    QString version = calculation::kInitialVersienrregel;
    platform::RecordingSink messages;
};

void read(const char* file, Outcome& out) {
    out.gridq = company();
    calculation::getCalResults(calctest::dataPath(QStringLiteral("results/") + QLatin1String(file)),
                               out.gridq, out.version, out.messages);
}

struct Expect {
    double value;
    int32_t nfg;
    int32_t sfg;
};
constexpr Expect kUntouched{0, kDefaultColor, kDefaultColor};
constexpr Expect kWithin(double v) {
    return {v, kBlack, kWhite};
}
constexpr Expect kExceeded(double v) {
    return {v, kRed, kRed};
}

struct FileCase {
    const char* name;
    const char* file;
    const char* version;  // nullptr: unchanged
    Expect row4;
    Expect row5;
};

const FileCase kFileCases[] = {
    {"example", "example.dat", "Model 2.0", kWithin(1.5), kExceeded(3.25)},
    {"equal_is_within_any_excess_is_red", "equal.dat", "Model 2.0", kWithin(2.0),
     kExceeded(3.0000001)},
    {"tabs_expand_before_columns_count", "tabs.dat", "Model 2.0", kExceeded(2.5), kExceeded(7.75)},
    {"ctrl_z_ends_the_file", "ctrlz.dat", "Model 2.0", kWithin(1.5), kUntouched},
    {"blank_unknown_zero_twice_and_empty_load", "blank_unknown.dat", "Model 2.0", kExceeded(2.5),
     kWithin(0)},
    {"one_line_keeps_the_version", "one_line.dat", nullptr, kUntouched, kUntouched},
    {"two_lines_take_the_version_trimmed", "two_lines.dat", "Model 3.1", kUntouched, kUntouched},
    {"lone_lf_line_ends", "lf_only.dat", "Model LF", kUntouched, kExceeded(4.5)},
};

class ResultsFile : public testing::TestWithParam<FileCase> {};

TEST_P(ResultsFile, ReadsLoadsColoursAndVersion) {
    const FileCase& c = GetParam();
    Outcome out;
    read(c.file, out);
    EXPECT_TRUE(out.messages.messages.empty());
    EXPECT_EQ(out.version, c.version != nullptr ? QString::fromLatin1(c.version)
                                                : calculation::kInitialVersienrregel);
    ASSERT_EQ(out.gridq.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        const auto& row = out.gridq[i];
        ASSERT_EQ(row.volgnummer, static_cast<int32_t>(i + 1)) << "sorted back by number";
        const Expect e = i == 3 ? c.row4 : i == 4 ? c.row5 : kUntouched;
        EXPECT_EQ(row.value, e.value) << "row " << i + 1;
        EXPECT_EQ(row.colorNfg, e.nfg) << "row " << i + 1;
        EXPECT_EQ(row.colorSfg, e.sfg) << "row " << i + 1;
        EXPECT_EQ(row.colorNbg, kDefaultColor);
        EXPECT_EQ(row.colorSbg, kDefaultColor);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ResultsFile, testing::ValuesIn(kFileCases), calctest::CaseName());

TEST(ResultsFile, LongLinesAreCutAndTheVersionTo128) {
    Outcome out;
    read("long_line.dat", out);
    EXPECT_EQ(out.version, QString(128, QLatin1Char('V')));
    EXPECT_EQ(out.gridq[3].value, 1.25);
}

TEST(ResultsFile, EarlierValuesStayWhereTheFileHasNoLine) {
    Outcome out;
    out.gridq = company();
    for (auto& row : out.gridq) {
        if (row.volgnummer == 5) {
            calculation::setLoad(row, 9.0);
        }
    }
    calculation::getCalResults(calctest::dataPath(QStringLiteral("results/ctrlz.dat")), out.gridq,
                               out.version, out.messages);
    EXPECT_EQ(out.gridq[4].value, 9.0);
    EXPECT_EQ(out.gridq[4].colorNfg, kRed);
}

TEST(ResultsFile, MissingFileNamesTheFullPathAndStillSortsBack) {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Outcome out;
    out.gridq = company();
    calculation::getCalResults(QStringLiteral("RepGeurBelast.dat"), out.gridq, out.version,
                               out.messages);
    ASSERT_EQ(out.messages.messages.size(), 1u);
    EXPECT_TRUE(out.messages.messages[0].title.isEmpty());
    EXPECT_EQ(out.messages.messages[0].buttons, platform::Ok);
    EXPECT_EQ(out.messages.messages[0].text,
              QStringLiteral("File Not Found error for file:") +
                  QDir(dir.path()).absoluteFilePath(QStringLiteral("RepGeurBelast.dat")));
    EXPECT_EQ(out.version, calculation::kInitialVersienrregel);
    for (size_t i = 0; i < out.gridq.size(); ++i) {
        EXPECT_EQ(out.gridq[i].volgnummer, static_cast<int32_t>(i + 1));
    }
    QDir::setCurrent(QDir::rootPath());
}

struct NumberCase {
    const char* name;
    const char* field;
    double expected;
};

const NumberCase kNumberCases[] = {
    {"leading_blanks", "         12", 12},
    {"fraction", "  4.9", 4.9},
    {"ends_where_it_cannot_continue", "12.5abc", 12.5},
    {"ends_at_a_blank", "1 2", 1},
    {"second_point_ends_it", "1.2.3", 1.2},
    {"sign_and_exponent", "  -3.5e1x", -35},
    {"plus_and_bare_fraction", "+.5", 0.5},
    {"exponent_without_digits_is_not_part", "1e", 1},
    {"point_alone_is_no_number", ".", 0},
    {"letters_are_no_number", "abc", 0},
    {"empty", "", 0},
    {"comma_is_not_a_point", "2,5", 2},
    {"underflow_is_zero", "1e-999", 0},
    {"overflow_is_largest", "1e999", std::numeric_limits<double>::max()},
};

class NumberField : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberField, Reads) {
    EXPECT_EQ(calculation::readNumberField(GetParam().field), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberField, testing::ValuesIn(kNumberCases), calctest::CaseName());

}  // namespace
