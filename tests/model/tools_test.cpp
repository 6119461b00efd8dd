// The tools as consultants run them, checked against published and peer figures.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support.h"

namespace {

using model_test::runTool;

struct Row {
    double x, he, sy, sz, c;
};

std::vector<Row> screen(const std::string& arguments) {
    const auto result = runTool(std::string(ZIVIRARE_SCREEN_PATH) + " " + arguments);
    EXPECT_EQ(result.status, 0) << arguments;
    std::vector<Row> rows;
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        Row r{};
        fields >> r.x >> r.he >> r.sy >> r.sz >> r.c;
        EXPECT_FALSE(fields.fail()) << line;
        rows.push_back(r);
    }
    return rows;
}

// A regulatory screening model for a 6.5 m stack, d 0.5 m, v 4 m/s, no building: effective
// height and concentration in ug/m3 per g/s at 100, 300 and 1000 m.
struct PeerCase {
    const char* klasse;
    const char* u10;
    double he;
    double c[3];
};
const PeerCase kPeerCases[] = {{"B", "2", 9.50, {520.7, 96.19, 9.412}},
                               {"D", "3", 8.33, {566.6, 305.8, 46.91}},
                               {"F", "2", 9.50, {9.962, 616.0, 266.6}}};

TEST(Screen, PeerScreeningFigures) {
    for (const auto& c : kPeerCases) {
        const auto rows = screen(std::string("--klasse ") + c.klasse + " --u10 " + c.u10 +
                                 " --hoogte 6.5 --diameter 0.5 --uittree 4 --afstanden "
                                 "100,300,1000");
        ASSERT_EQ(rows.size(), 3u) << c.klasse;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(rows[i].he, c.he, 0.005) << c.klasse;
            EXPECT_NEAR(rows[i].c * 1e6, c.c[i], 0.01 * c.c[i]) << c.klasse << " " << rows[i].x;
        }
    }
}

// Plain sigma-z from the rural tables (no rise, no building).
struct SigmaCase {
    const char* klasse;
    const char* x;
    double sz;
};
const SigmaCase kSigmaCases[] = {{"D", "500", 18.2969},  {"D", "2000", 50.1514},
                                 {"E", "1500", 27.9312}, {"F", "800", 11.9762},
                                 {"A", "350", 58.9556},  {"B", "300", 30.1442}};

TEST(Screen, PublishedSigmaZ) {
    for (const auto& c : kSigmaCases) {
        const auto rows =
            screen(std::string("--klasse ") + c.klasse +
                   " --u10 3 --hoogte 10 --diameter 0 --uittree 0 --afstanden " + c.x);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_NEAR(rows[0].sz, c.sz, 1e-4 * c.sz) << c.klasse << " " << c.x;
    }
}

// The worked example of a standard textbook: class B, u = 2 m/s at the stack, He = 40 m,
// Q = 0.37 g/s. The stack is 40 m high, so u10 is chosen to give 2 m/s there.
TEST(Screen, TextbookWorkedExample) {
    const double u10 = 2.0 / std::pow(4.0, 0.07);
    std::ostringstream args;
    args.precision(17);
    args << "--klasse B --u10 " << u10 << " --hoogte 40 --diameter 0 --uittree 0"
         << " --afstanden 260,280,300";
    const auto rows = screen(args.str());
    ASSERT_EQ(rows.size(), 3u);
    const double sz[] = {26.2, 28.2, 30.1}, sy[] = {45.9, 49.0, 52.2},
                 chi[] = {1.53e-5, 1.56e-5, 1.55e-5};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(rows[i].he, 40.0, 1e-9);
        EXPECT_NEAR(rows[i].sz, sz[i], 0.05) << rows[i].x;  // three digits in the book
        EXPECT_NEAR(rows[i].sy, sy[i], 0.05) << rows[i].x;
        EXPECT_NEAR(rows[i].c * 0.37, chi[i], 0.01 * chi[i]) << rows[i].x;
    }
}

TEST(Screen, OptionsAndMistakes) {
    const auto help = runTool(std::string(ZIVIRARE_SCREEN_PATH) + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Gebruik: zivirare-screen"), std::string::npos);
    for (const char* bad : {"--klasse G --u10 2 --hoogte 6 --diameter 0 --uittree 0 --afstanden 1",
                            "--klasse D --u10 2 --hoogte 6 --diameter 0 --uittree 0",
                            "--klasse D --u10 0 --hoogte 6 --diameter 0 --uittree 0 --afstanden 1",
                            "--klasse D --u10 2 --hoogte 6 --diameter 0 --uittree 0 --afstanden "
                            "100,-5",
                            "--klasse D --u10 2 --hoogte 6 --diameter 0 --uittree 0 --afstanden "
                            "100 --onbekend 3"}) {
        EXPECT_EQ(runTool(std::string(ZIVIRARE_SCREEN_PATH) + " " + bad).status, 2) << bad;
    }
    // A lid, a crosswind offset and a building all change the figures as they should.
    const std::string base =
        "--klasse C --u10 3 --hoogte 6.5 --diameter 0.5 --uittree 4 "
        "--afstanden 400";
    const double free = screen(base)[0].c;
    EXPECT_GT(screen(base + " --menghoogte 40")[0].c, free);
    EXPECT_LT(screen(base + " --y 30")[0].c, free);
    EXPECT_GT(screen(base + " --gebouw 5")[0].sz, screen(base)[0].sz);
}

TEST(MeteoTool, SynthesisIsDeterministicAndPlausible) {
    const model_test::TempRoot root;
    const auto out = root.root() / "eindhoven.dat";
    ASSERT_EQ(
        runTool(std::string(ZIVIRARE_METEO_PATH) + " synth --station 370 --out " + out.string())
            .status,
        0);
    const std::string made = model_test::readFile(out);
    EXPECT_EQ(made,
              model_test::readFile(std::string(ZIVIRARE_BUILT_DATA) + "/mixeindhoven9599.dat"));
    EXPECT_NE(made.find("SYNTHETISCH"), std::string::npos);

    const auto stats = runTool(std::string(ZIVIRARE_METEO_PATH) + " stats " + out.string());
    ASSERT_EQ(stats.status, 0);
    EXPECT_NE(stats.out.find("Uren: 43824, geldig 43824"), std::string::npos) << stats.out;
    const auto at = stats.out.find("Gemiddelde wind: ");
    ASSERT_NE(at, std::string::npos);
    const double mean = std::stod(stats.out.substr(at + 17));
    EXPECT_NEAR(mean, 3.6, 0.2);
    // The south-west (210 and 240 degrees) is the most frequent wind.
    std::istringstream lines(stats.out);
    std::string line, best;
    double bestShare = -1.0;
    while (std::getline(lines, line)) {
        const auto g = line.find(" graden: ");
        if (g != std::string::npos) {
            const double share = std::stod(line.substr(g + 9));
            if (share > bestShare) {
                bestShare = share;
                best = line.substr(0, g);
            }
        }
    }
    EXPECT_TRUE(best.find("210") != std::string::npos || best.find("240") != std::string::npos)
        << best;

    const auto schiphol = runTool(std::string(ZIVIRARE_METEO_PATH) + " stats " +
                                  ZIVIRARE_BUILT_DATA + "/mixschiphol9599.dat --ruwheid 0.03");
    const auto s = schiphol.out.find("Gemiddelde wind: ");
    ASSERT_NE(s, std::string::npos);
    EXPECT_NEAR(std::stod(schiphol.out.substr(s + 17)), 5.0, 0.25);
}

TEST(MeteoTool, ImportKeepsThePeriodAndReportsGaps) {
    const model_test::TempRoot root;
    const auto in = root.root() / "uurgeg_370.txt";
    model_test::writeFile(in, model_test::crlf({
                                  "BRON: weerdienst",
                                  "STN,YYYYMMDD,   HH,   DD,   FH,   FF,    T,    N,    Q",
                                  "  370,19941231,   24,  240,   50,   50,   10,    8,    0",
                                  "  370,19950101,    1,  240,   50,   50,   10,    8,    0",
                                  "  370,19950101,    2,     ,   50,   50,   10,    8,    0",
                              }));
    const auto out = root.root() / "kopie.dat";
    const auto result = runTool(std::string(ZIVIRARE_METEO_PATH) + " import " + in.string() +
                                " --out " + out.string());
    ASSERT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("Overgenomen: 2 uren; ontbrekend: 43822 uren; zonder windrichting "
                              "of windsnelheid: 1 uren"),
              std::string::npos)
        << result.out;
    const std::string copy = model_test::readFile(out);
    EXPECT_NE(copy.find("  370,19950101,    1,  240,   50,   10,    8,    0\r\n"),
              std::string::npos);
    EXPECT_EQ(copy.find("19941231"), std::string::npos);
    EXPECT_EQ(copy.find("SYNTHETISCH"), std::string::npos);
    // A copy of generated data keeps its mark.
    const auto synthetic = root.root() / "kopie-synthetisch.dat";
    ASSERT_EQ(runTool(std::string(ZIVIRARE_METEO_PATH) + " import " + ZIVIRARE_BUILT_DATA +
                      "/mixschiphol9599.dat --out " + synthetic.string())
                  .status,
              0);
    EXPECT_NE(model_test::readFile(synthetic).find("\r\n# SYNTHETISCH"), std::string::npos);
    EXPECT_EQ(runTool(std::string(ZIVIRARE_METEO_PATH) + " --help").status, 0);
    EXPECT_EQ(runTool(std::string(ZIVIRARE_METEO_PATH) + " synth --station 999 --out x").status, 2);
}

}  // namespace
