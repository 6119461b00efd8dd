#include "calculation/roughness.h"

#include "calculation/number_text.h"
#include "calculation/roughness_grid.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace {

using calctest::PrintTo;

using calculation::cellNumber;
using calculation::RoughnessGrid;

// A small grid holding only the rows (indices from 0 at Y = 300000) for which `present` is true,
// each cell given by `value(column, row)`.
class SparseGrid {
public:
    SparseGrid(int32_t firstRow, int32_t lastRow, std::function<float(int32_t, int32_t)> value)
        : SparseGrid([=](int32_t r) { return r >= firstRow && r <= lastRow; }, std::move(value)) {}

    SparseGrid(const std::function<bool(int32_t)>& present,
               const std::function<float(int32_t, int32_t)>& value) {
        path = dir.filePath(QStringLiteral("Roughness.tps"));
        QString error;
        const bool ok = calculation::writeRoughnessFile(
            path,
            [&](int32_t r, std::vector<float>& cells) {
                if (!present(r)) {
                    return false;
                }
                cells.resize(calculation::kGridColumns);
                for (int32_t c = 0; c < calculation::kGridColumns; ++c) {
                    cells[static_cast<size_t>(c)] = value(c, r);
                }
                return true;
            },
            {}, error);
        EXPECT_TRUE(ok) << error.toStdString();
        grid = RoughnessGrid::open(path, errors);
    }

    QTemporaryDir dir;
    QString path;
    platform::RecordingSink sink;
    platform::ErrorManager errors{sink};
    std::unique_ptr<RoughnessGrid> grid;
};

// Cells inside columns c0..c1 and rows (in hundreds of metres) r0..r1 hold `inside`, all others
// 1.0, so a rectangle one cell too large or too small changes the mean.
std::function<float(int32_t, int32_t)> block(int32_t c0, int32_t c1, int32_t r0, int32_t r1,
                                             float inside) {
    return [=](int32_t c, int32_t r) {
        const int32_t row = r + calculation::kSouthRow;
        return c >= c0 && c <= c1 && row >= r0 && row <= r1 ? inside : 1.0f;
    };
}

struct RectCase {
    const char* name;
    int32_t xBottum, yBottum, xTop, yTop;
    int32_t c0, c1, r0, r1;  // the cells that must be averaged
    double expected;
};

// Every case has 0.2 in exactly the cells it must average and 1.0 around them.
const RectCase kRectCases[] = {
    {"one_point_gives_21_by_21", 155000, 463000, 155000, 463000, 1540, 1560, 4620, 4640, 0.2},
    {"span_1999_truncates_toward_zero", 150050, 463000, 152049, 463000, 1500, 1520, 4620, 4640,
     0.2},
    {"span_5km_is_not_widened", 150020, 460000, 155070, 465049, 1500, 1551, 4600, 4650, 0.2},
    {"corner_50_past_rounds_up", 151050, 463050, 151050, 463050, 1501, 1521, 4621, 4641, 0.2},
    {"corner_49_past_rounds_down", 151049, 463049, 151049, 463049, 1500, 1520, 4620, 4640, 0.2},
    {"west_border_shifts_east", 500, 463000, 500, 463000, 0, 20, 4620, 4640, 0.2},
    {"south_border_shifts_north", 155000, 300400, 155000, 300400, 1540, 1560, 3000, 3020, 0.2},
    // At the east border the 21st column is number 2818, one past the last of the row: the
    // read in number order takes the first cell of the next row (1.0 here) for it.
    {"east_border_reads_on_into_next_row", 281500, 463000, 281500, 463000, 2798, 2817, 4620, 4640,
     (420 * 0.2 + 21 * 1.0) / 441},
};

class GetRoughness : public testing::TestWithParam<RectCase> {};

TEST_P(GetRoughness, AveragesExactlyTheRoundedRectangle) {
    const RectCase& c = GetParam();
    SparseGrid g(c.r0 - calculation::kSouthRow - 2, c.r1 - calculation::kSouthRow + 2,
                 block(c.c0, c.c1, c.r0, c.r1, 0.2f));
    platform::RecordingSink messages;
    const double result =
        calculation::getRoughness(*g.grid, messages, c.xBottum, c.yBottum, c.xTop, c.yTop);
    EXPECT_TRUE(messages.texts().isEmpty())
        << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(result, calculation::roundDecimal(c.expected, 2));
}

INSTANTIATE_TEST_SUITE_P(Rectangles, GetRoughness, testing::ValuesIn(kRectCases),
                         calctest::CaseName());

struct MessageCase {
    const char* name;
    int32_t xBottum, yBottum, xTop, yTop;
    const char* message;
};

const MessageCase kMessageCases[] = {
    {"x_bottom_outside", -1, 463000, 155000, 463000, "X waarde niet tussen 0 en 281800"},
    {"y_bottom_outside_before_any_company", 0, 0, 0, 0, "Y waarde niet tussen 300000 en 625000"},
    {"x_top_outside", 155000, 463000, 281801, 463000, "X waarde niet tussen 0 en 281800"},
    {"y_top_outside", 155000, 463000, 155000, 625001, "Y waarde niet tussen 300000 en 625000"},
    {"company_without_emission_points", 3000000, 650000, 0, 0, "X waarde niet tussen 0 en 281800"},
    {"north_border_row_is_past_the_grid", 155000, 624800, 155000, 624800,
     "Onvolledig Ruwheidsbestand voor X:154000 Y:625000"},
};

class GetRoughnessMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(GetRoughnessMessage, SaysOnceAndGives01) {
    const MessageCase& c = GetParam();
    // The northernmost rows of the grid only.
    SparseGrid g([](int32_t r) { return r >= 3228; }, [](int32_t, int32_t) { return 0.5f; });
    platform::RecordingSink messages;
    EXPECT_EQ(calculation::getRoughness(*g.grid, messages, c.xBottum, c.yBottum, c.xTop, c.yTop),
              0.1);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromLatin1(c.message)});
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].title.isEmpty());
    EXPECT_EQ(messages.messages[0].buttons, platform::Ok);
}

INSTANTIATE_TEST_SUITE_P(Messages, GetRoughnessMessage, testing::ValuesIn(kMessageCases),
                         calctest::CaseName());

TEST(GetRoughness, EmptyFileCreatedWhenMissing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Roughness.tps"));
    platform::RecordingSink sink;
    platform::ErrorManager errors(sink);
    auto grid = RoughnessGrid::open(path, errors);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(grid->rowCount(), 0);
    platform::RecordingSink messages;
    EXPECT_EQ(calculation::getRoughness(*grid, messages, 155000, 463000, 155000, 463000), 0.1);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Onvolledig Ruwheidsbestand voor X:154000 Y:462000")});
    EXPECT_TRUE(sink.messages.empty());
    // Opened again, the now existing empty file answers the same.
    grid.reset();
    grid = RoughnessGrid::open(path, errors);
    EXPECT_FALSE(grid->set(1));
}

struct MeanCase {
    const char* name;
    float cell;
    double expected;
};

const MeanCase kMeanCases[] = {
    {"raised_to_lowest", 0.02f, 0.03},        {"lowered_to_highest", 1.7f, 1.0},
    {"rounded_half_up", 0.456f, 0.46},        {"halfway_0125", 0.125f, 0.13},
    {"just_below_halfway", 0.1249999f, 0.12}, {"all_zero_gives_01", 0.0f, 0.1},
};

class RoughnessMean : public testing::TestWithParam<MeanCase> {};

TEST_P(RoughnessMean, ClampsAndRounds) {
    SparseGrid g(1620, 1640, [v = GetParam().cell](int32_t, int32_t) { return v; });
    platform::RecordingSink messages;
    EXPECT_EQ(calculation::getRoughness(*g.grid, messages, 155000, 463000, 155000, 463000),
              GetParam().expected);
    EXPECT_TRUE(messages.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Means, RoughnessMean, testing::ValuesIn(kMeanCases), calctest::CaseName());

TEST(RoughnessGrid, NextGoesOnInNumberOrderAcrossRowsAndGaps) {
    // Rows 5 and 7 only: after the last cell of row 5 comes the first of row 7.
    SparseGrid g([](int32_t r) { return r == 5 || r == 7; },
                 [](int32_t c, int32_t r) { return static_cast<float>(r * 10000 + c); });
    ASSERT_TRUE(g.grid->set(cellNumber(2816, 5)));
    int32_t number = 0;
    float value = 0;
    ASSERT_TRUE(g.grid->next(number, value));
    EXPECT_EQ(number, cellNumber(2816, 5));
    ASSERT_TRUE(g.grid->next(number, value));
    EXPECT_EQ(value, 5 * 10000 + 2817);
    ASSERT_TRUE(g.grid->next(number, value));
    EXPECT_EQ(number, cellNumber(0, 7));
    EXPECT_EQ(value, 70000.0f);
    EXPECT_EQ(g.grid->value(cellNumber(17, 7)), std::optional<float>(70017.0f));
    EXPECT_EQ(g.grid->value(cellNumber(17, 6)), std::nullopt);
    EXPECT_EQ(g.grid->value(cellNumber(17, 8)), std::nullopt);
    // Positioning in a row that is absent lands on the first cell of the next row present.
    EXPECT_TRUE(g.grid->set(cellNumber(100, 2)));
    ASSERT_TRUE(g.grid->next(number, value));
    EXPECT_EQ(number, cellNumber(0, 5));
    EXPECT_FALSE(g.grid->set(cellNumber(0, 8)));
    EXPECT_FALSE(g.grid->next(number, value));
    EXPECT_EQ(cellNumber(0, 0), 1);
    EXPECT_EQ(cellNumber(2817, 3249), 2818 * 3250);
    EXPECT_EQ(cellNumber(0, 1), 2819);
}

TEST(RoughnessGrid, ANonGridFileIsFatal) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Roughness.tps"));
    calctest::writeBytes(path, QByteArray(4096, 'x'));
    platform::RecordingSink sink;
    platform::ErrorManager errors(sink);
    EXPECT_THROW((void)RoughnessGrid::open(path, errors), platform::FatalError);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, QStringLiteral("File Access Error"));
    EXPECT_TRUE(sink.messages[0].text.startsWith(QStringLiteral("File ") + path +
                                                 QStringLiteral(" could not be opened.  Error: ")));
}

TEST(RoughnessGrid, MissingDirectoryCannotBeCreated) {
    QTemporaryDir dir;
    platform::RecordingSink sink;
    platform::ErrorManager errors(sink);
    EXPECT_THROW(
        (void)RoughnessGrid::open(dir.filePath(QStringLiteral("no/Roughness.tps")), errors),
        platform::FatalError);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, QStringLiteral("File Creation Error"));
}

}  // namespace
