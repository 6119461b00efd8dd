#include "calculation/roughness_import.h"

#include "calculation/roughness.h"
#include "calculation/roughness_grid.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include <cmath>

namespace {

using calctest::PrintTo;

using calculation::kGridColumns;

float at(const std::vector<float>& national, int32_t x, int32_t y) {
    const size_t index =
        static_cast<size_t>((y - 300000) / 100) * kGridColumns + static_cast<size_t>(x / 100);
    return national[index];
}

class EsriFile {
public:
    explicit EsriFile(const char* text) {
        path = dir.filePath(QStringLiteral("grid.asc"));
        calctest::writeBytes(path, QByteArray(text));
    }
    QTemporaryDir dir;
    QString path;
};

TEST(EsriImport, CellsLandByTheirLowerLeftCornerNorthRowFirst) {
    EsriFile f(
        "NCOLS 3\nNROWS 2\nXLLCORNER 155000\nYLLCORNER 463000\nCELLSIZE 100\n"
        "NODATA_VALUE -9999\n0.1 0.2 0.3\n0.4 -9999 0.6\n");
    std::vector<float> national;
    const auto result = calculation::readEsriAsciiGrid(f.path, national);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(at(national, 155000, 463100), 0.1f);  // the first row is the northern one
    EXPECT_EQ(at(national, 155200, 463100), 0.3f);
    EXPECT_EQ(at(national, 155000, 463000), 0.4f);
    EXPECT_EQ(at(national, 155100, 463000), 0.0f);  // NODATA
    EXPECT_EQ(at(national, 155300, 463000), 0.0f);  // not covered
    EXPECT_EQ(result.valuesRead, 6);
    EXPECT_EQ(result.cellsFilled, 6);
}

TEST(EsriImport, LargerCellsFillEverythingTheyCoverSmallerOnesAreAveraged) {
    EsriFile big("ncols 1\nnrows 1\nxllcorner 1000\nyllcorner 300000\ncellsize 200\n0.8\n");
    std::vector<float> national;
    ASSERT_TRUE(calculation::readEsriAsciiGrid(big.path, national).ok);
    for (const auto& [x, y] :
         {std::pair{1000, 300000}, {1100, 300000}, {1000, 300100}, {1100, 300100}}) {
        EXPECT_EQ(at(national, x, y), 0.8f);
    }
    EXPECT_EQ(at(national, 1200, 300000), 0.0f);

    // Four 50 m cells, one of them NODATA, in one national cell; centre coordinates given.
    EsriFile small(
        "NCOLS 2\nNROWS 2\nXLLCENTER 1025\nYLLCENTER 300025\nCELLSIZE 50\nNODATA_VALUE -1\n"
        "0.2 0.4\n-1 0.6\n");
    ASSERT_TRUE(calculation::readEsriAsciiGrid(small.path, national).ok);
    EXPECT_FLOAT_EQ(at(national, 1000, 300000), 0.4f);
}

struct MalformedCase {
    const char* name;
    const char* text;
    const char* message;  // the end of the message after "grid.asc"
};

const MalformedCase kMalformed[] = {
    {"missing_nrows", "NCOLS 2\nXLLCORNER 0\nYLLCORNER 300000\nCELLSIZE 100\n1 2\n",
     ": het kopveld NROWS ontbreekt; is dit een ESRI ASCII-raster?"},
    {"unknown_key", "NCOLS 2\nNROWS 1\nFOO 3\n", ", regel 3: onbekend kopveld \"FOO\"."},
    {"key_without_value", "NCOLS\n2\n",
     ", regel 1: het kopveld NCOLS heeft geen getal als waarde."},
    {"cell_size_150", "NCOLS 1\nNROWS 1\nXLLCORNER 0\nYLLCORNER 300000\nCELLSIZE 150\n1\n",
     ": CELLSIZE 150 is geen veelvoud of deler van 100 m."},
    {"too_few_values", "NCOLS 2\nNROWS 2\nXLLCORNER 0\nYLLCORNER 300000\nCELLSIZE 100\n1 2\n3\n",
     ": het bestand bevat 3 waarden, verwacht 4 (NCOLS × NROWS)."},
    {"too_many_values", "NCOLS 1\nNROWS 1\nXLLCORNER 0\nYLLCORNER 300000\nCELLSIZE 100\n1 2\n",
     ": het bestand bevat meer dan 1 waarden (NCOLS × NROWS)."},
    {"not_a_number", "NCOLS 2\nNROWS 1\nXLLCORNER 0\nYLLCORNER 300000\nCELLSIZE 100\n1\n0,5\n",
     ", regel 7: \"0,5\" is geen getal."},
    {"negative_size", "NCOLS -2\nNROWS 1\nXLLCORNER 0\nYLLCORNER 300000\nCELLSIZE 100\n",
     ": NCOLS en NROWS moeten positieve gehele getallen zijn."},
    {"outside_the_country", "NCOLS 1\nNROWS 1\nXLLCORNER 0\nYLLCORNER 0\nCELLSIZE 100\n1\n",
     ": het raster valt geheel buiten het Nederlandse rekengrid (X 0 … 281800, Y 300000 … "
     "625000)."},
};

class EsriMalformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(EsriMalformed, SaysWhatIsWrongAndLeavesTheGridAlone) {
    EsriFile f(GetParam().text);
    const QString gridPath = f.dir.filePath(QStringLiteral("Roughness.tps"));
    calctest::writeBytes(gridPath, QByteArray("the old grid"));
    const auto result = calculation::importEsriAsciiGrid(f.path, gridPath);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, QStringLiteral("grid.asc") + QString::fromUtf8(GetParam().message));
    EXPECT_EQ(calctest::readBytes(gridPath), QByteArray("the old grid"));
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files).size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Files, EsriMalformed, testing::ValuesIn(kMalformed), calctest::CaseName());

TEST(EsriImport, ImportReplacesTheGridAndIsReadBack) {
    EsriFile f("NCOLS 1\nNROWS 1\nXLLCORNER 155000\nYLLCORNER 463000\nCELLSIZE 2000\n0.37\n");
    const QString gridPath = f.dir.filePath(QStringLiteral("Roughness.tps"));
    calctest::writeBytes(gridPath, QByteArray("the old grid"));
    const auto result = calculation::importEsriAsciiGrid(f.path, gridPath);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    platform::RecordingSink sink;
    platform::ErrorManager errors(sink);
    auto grid = calculation::RoughnessGrid::open(gridPath, errors);
    EXPECT_EQ(grid->rowCount(), calculation::kGridRows);
    EXPECT_EQ(grid->meta(QStringLiteral("bron")), QStringLiteral("import"));
    // The 2 km cell is exactly the rectangle around (156000, 464000) less its last row and
    // column, which hold 0: (400 × 0.37) / 441.
    platform::RecordingSink messages;
    EXPECT_EQ(calculation::getRoughness(*grid, messages, 156000, 464000, 156000, 464000), 0.34);
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files).size(), 2) << "no temporary file left";
}

TEST(DemoRoughness, PlausibleAndDeterministic) {
    auto demo = [](int32_t x, int32_t y) {
        return calculation::demoRoughness(x / 100, (y - 300000) / 100);
    };
    EXPECT_LT(demo(30000, 550000), 0.001f) << "North Sea";
    EXPECT_LT(demo(150000, 545000), 0.001f) << "IJsselmeer";
    EXPECT_GE(demo(121000, 487000), 0.5f) << "Amsterdam";
    EXPECT_LE(demo(121000, 487000), 1.5f);
    EXPECT_GE(demo(190000, 462000), 0.5f) << "Veluwe";
    EXPECT_EQ(demo(155555, 444444), demo(155555, 444444));

    int farmland = 0;
    int land = 0;
    for (int32_t r = 0; r < calculation::kGridRows; r += 25) {
        float previous = -1;
        for (int32_t c = 0; c < kGridColumns; ++c) {
            const float v = calculation::demoRoughness(c, r);
            ASSERT_TRUE(v <= 0.001f || (v >= 0.05f && v <= 1.5f)) << c << " " << r << " " << v;
            const bool isFarm = v >= 0.05f && v <= 0.3f;
            if (v > 0.001f) {
                ++land;
                farmland += isFarm ? 1 : 0;
            }
            if (isFarm && previous >= 0.05f && previous <= 0.3f) {
                EXPECT_LT(std::fabs(v - previous), 0.03f) << "farmland varies smoothly";
            }
            previous = v;
        }
    }
    EXPECT_GT(farmland, land / 2);
}

TEST(DemoRoughness, RecordedAsSynthetic) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Roughness.tps"));
    const auto result = calculation::writeDemoRoughness(path, 12);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    platform::RecordingSink sink;
    platform::ErrorManager errors(sink);
    auto grid = calculation::RoughnessGrid::open(path, errors);
    EXPECT_EQ(grid->meta(QStringLiteral("bron")), QStringLiteral("synthetisch"));
    EXPECT_EQ(grid->rowCount(), 12);
    EXPECT_EQ(grid->value(calculation::cellNumber(2000, 11)),
              std::optional<float>(calculation::demoRoughness(2000, 11)));
}

}  // namespace
