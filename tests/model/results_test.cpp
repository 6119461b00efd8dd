#include "results.h"

#include <gtest/gtest.h>

#include "constants.h"
#include "support.h"
#include "text.h"

namespace zivirare {
namespace {

using model_test::programResults;
using model_test::readFile;

Location location(int64_t n, const char* label, double x, double y, double norm) {
    Location l;
    l.volgnummer = n;
    l.label = text::fitRight(label, 20);
    l.x = x;
    l.y = y;
    l.norm = norm;
    return l;
}

ResultsHeader header() {
    ResultsHeader h;
    h.station = "Eindhoven";
    h.firstYear = 1995;
    h.lastYear = 1999;
    h.synthetic = true;
    h.validHours = 43800;
    h.calmHours = 1234;
    h.invalidHours = 24;
    return h;
}

TEST(Results, FileMatchesTheFixtureToTheByte) {
    const std::vector<Location> locations = {
        location(4, "Woning 1", 155300, 463000, 2),
        location(5, "Boerderij de Hoeve 12", 154990.5, 462000, 14),
        location(12, "", 150000, 400000, 0.5)};
    const std::string file = formatResults(header(), locations, {2.3456, 0.0004, 123.4565});
    EXPECT_EQ(file, readFile(std::string(MODEL_TEST_DATA) + "/RepGeurBelast.dat"));
}

TEST(Results, VersionLine) {
    EXPECT_EQ(versionLine(header()),
              "V-WOLKAN rekenkern versie 1.0, meteo Eindhoven 1995-1999 SYNTHETISCHE METEO");
    ResultsHeader h = header();
    h.synthetic = false;
    h.station = std::string(200, 'x');
    EXPECT_EQ(versionLine(h).size(), 128u);
}

// What the program reads back from columns 1-14 and 70-83, for values at the edges of their
// fields and labels that could shift the columns.
TEST(Results, ColumnsReadBackByTheProgramsRules) {
    const std::vector<Location> locations = {location(7, "met\ttab", 1e7, -463000, 99999.9),
                                             location(123456789012, "x", 0, 0, 2),
                                             location(9, "groot", 0, 0, 2)};
    const std::vector<double> loads = {1.2345, 0.0, 98765432109.87};
    const std::string file = formatResults(header(), locations, loads);
    const auto rows = programResults(file);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].volgnummer, 7);
    EXPECT_DOUBLE_EQ(rows[0].load, 1.234);  // 1.2345 is held just below the half
    EXPECT_EQ(rows[1].volgnummer, 123456789012);
    EXPECT_DOUBLE_EQ(rows[1].load, 0.0);
    EXPECT_EQ(rows[2].volgnummer, 9);
    EXPECT_NEAR(rows[2].load, loads[2], 0.5);  // fewer decimals, never into the next field
    EXPECT_EQ(file.find('\t'), std::string::npos);
}

TEST(Results, WrittenUnderATemporaryNameThenRenamed) {
    const model_test::TempRoot root;
    const std::string dir = root.output().string();
    ASSERT_TRUE(writeFileAtomically(dir, "RepGeurBelast.dat", "RepGeurBelast.dat.tmp", "abc"));
    EXPECT_EQ(readFile(root.output() / "RepGeurBelast.dat"), "abc");
    EXPECT_FALSE(std::filesystem::exists(root.output() / "RepGeurBelast.dat.tmp"));
    EXPECT_FALSE(writeFileAtomically((root.root() / "geen").string(), "RepGeurBelast.dat",
                                     "RepGeurBelast.dat.tmp", "abc"));
}

}  // namespace
}  // namespace zivirare
