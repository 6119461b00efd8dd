#include "inputs.h"

#include <gtest/gtest.h>

#include <string>

#include "support.h"

namespace zivirare {
namespace {

using model_test::crlf;
using model_test::readFile;

std::string fixture(const char* name) {
    return readFile(std::string(MODEL_TEST_DATA) + "/" + name);
}

bool logMentions(const RunLog& log, const std::string& text) {
    for (const auto& line : log.lines()) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The files of a company "Jansen" at Eindhoven, exactly as the program writes them.
TEST(Inputs, ReadsTheProgramsFilesToTheByte) {
    RunLog log;
    Param p;
    ASSERT_EQ(parseParam(fixture("Param.dat"), p, log), ParseStatus::kOk);
    EXPECT_EQ(p.meteoFile, "C:\\Model\\Input\\mixeindhoven9599.dat");
    EXPECT_EQ(p.firstYear, 1995);
    EXPECT_EQ(p.firstHour, 1);
    EXPECT_EQ(p.lastMonth, 12);
    EXPECT_EQ(p.lastDay, 31);
    EXPECT_EQ(p.lastHour, 24);
    EXPECT_EQ(p.maxDistance, 5000.0);
    EXPECT_EQ(p.z0, 0.18);
    EXPECT_EQ(p.minDistance, 20.0);
    EXPECT_TRUE(checkParam(p, log));

    std::vector<Source> sources;
    ASSERT_EQ(parseBronnen(fixture("Bronnen.dat"), sources, log), ParseStatus::kOk);
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0].volgnummer, 1);
    EXPECT_EQ(sources[0].label, "EP1                 ");
    EXPECT_EQ(sources[0].x, 155000.0);
    EXPECT_EQ(sources[0].y, 463000.0);
    EXPECT_EQ(sources[0].hoogte, 6.5);
    EXPECT_EQ(sources[0].gebouwHoogte, 5.0);
    EXPECT_EQ(sources[0].diameter, 0.5);
    EXPECT_EQ(sources[0].uittree, 4.0);
    EXPECT_EQ(sources[0].emissie, 12000.0);

    std::vector<Location> locations;
    ASSERT_EQ(parseGgl(fixture("GGL.dat"), locations, log), ParseStatus::kOk);
    ASSERT_EQ(locations.size(), 1u);
    EXPECT_EQ(locations[0].volgnummer, 2);
    EXPECT_EQ(locations[0].label, "Woning 1            ");
    EXPECT_EQ(locations[0].x, 155300.0);
    EXPECT_EQ(locations[0].norm, 2.0);
}

TEST(Inputs, ToleratesLineFeedsEmptyLinesAndExtraBlanks) {
    RunLog log;
    std::vector<Source> sources;
    const std::string bytes =
        "titel\nkop\n\n7 Stal met 20 tekens!  155000   463000 6.5\t0 0.5 4 1500000\n\n";
    ASSERT_EQ(parseBronnen(bytes, sources, log), ParseStatus::kOk);
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0].label, "Stal met 20 tekens! ");
    EXPECT_EQ(sources[0].emissie, 1500000.0);

    // A company without emission points or without locations has only its header lines.
    EXPECT_EQ(parseBronnen(crlf({"titel", "kop"}), sources, log), ParseStatus::kOk);
    EXPECT_TRUE(sources.empty());
    std::vector<Location> locations;
    EXPECT_EQ(parseGgl(crlf({"kop"}), locations, log), ParseStatus::kOk);
    EXPECT_TRUE(locations.empty());
}

TEST(Inputs, ParamWithoutStationLineIsNoMeteo) {
    RunLog log;
    Param p;
    EXPECT_EQ(
        parseParam(crlf({"1995", "1", "1", "1", "1999", "12", "31", "24", "5000", "0.1", "20"}), p,
                   log),
        ParseStatus::kNoMeteoLine);
    EXPECT_TRUE(logMentions(log, "Param.dat"));
}

struct MalformedCase {
    const char* name;
    const char* line;
};
const MalformedCase kMalformedSources[] = {
    {"letter_in_number", "1 EP1                  155000 463000 6.5x 5 0.5 4 12000"},
    {"six_numbers", "1 EP1                  155000 463000 6.5 5 0.5 4"},
    {"eight_numbers", "1 EP1                  155000 463000 6.5 5 0.5 4 12000 1"},
    {"label_too_short", "1 EP1 155000 463000 6.5 5 0.5 4 12000"},
    {"not_a_number", "1 EP1                  155000 463000 nan 5 0.5 4 12000"},
    {"decimal_comma", "1 EP1                  155000 463000 6,5 5 0.5 4 12000"},
    {"sequence_not_whole", "1.5 EP1                155000 463000 6.5 5 0.5 4 12000"},
    {"infinite", "1 EP1                  155000 463000 6.5 5 0.5 4 inf"},
};

TEST(Inputs, MalformedSourceLineIsNamedWithFileAndLine) {
    for (const auto& c : kMalformedSources) {
        RunLog log;
        std::vector<Source> sources;
        const std::string bytes = crlf(
            {"titel", "kop", "2 EP2                  155010 463000 6.5 5 0.5 4 12000", c.line});
        EXPECT_EQ(parseBronnen(bytes, sources, log), ParseStatus::kMalformed) << c.name;
        EXPECT_TRUE(logMentions(log, "Bronnen.dat regel 4")) << c.name;
    }
}

TEST(Inputs, MalformedParamAndLocationLines) {
    RunLog log;
    Param p;
    EXPECT_EQ(parseParam(crlf({"meteo.dat", "1995", "1", "1", "1", "1999", "12", "31", "24", "5000",
                               "0.1"}),
                         p, log),
              ParseStatus::kMalformed);
    EXPECT_TRUE(logMentions(log, "Param.dat regel 12"));
    EXPECT_EQ(parseParam(crlf({"meteo.dat", "1995", "1", "1", "1", "1999", "12", "31", "24", "5000",
                               "0,1", "20"}),
                         p, log),
              ParseStatus::kMalformed);
    EXPECT_TRUE(logMentions(log, "Param.dat regel 11"));
    std::vector<Location> locations;
    EXPECT_EQ(parseGgl(crlf({"kop", "2 Woning 1             155300 463000"}), locations, log),
              ParseStatus::kMalformed);
    EXPECT_TRUE(logMentions(log, "GGL.dat regel 2"));
}

struct RangeCase {
    const char* name;
    std::vector<std::pair<std::size_t, const char*>> changes;  // line number, new text
};
const RangeCase kRangeCases[] = {
    {"roughness_too_small", {{11, "0.0005"}}},
    {"roughness_too_large", {{11, "3.5"}}},
    {"end_before_start", {{6, "1994"}}},
    {"end_an_hour_before_start", {{6, "1995"}, {7, "1"}, {8, "1"}, {9, "1"}, {5, "2"}}},
    {"a_thousand_years", {{6, "2995"}}},
    {"hour_25", {{5, "25"}}},
    {"hour_0", {{9, "0"}}},
    {"february_30", {{3, "2"}, {4, "30"}}},
    {"no_distance", {{10, "0"}}},
    {"negative_minimum", {{12, "-20"}}},
};

TEST(Inputs, ParametersOutOfRange) {
    const std::vector<std::string> good = {"meteo.dat", "1995", "1",  "1",    "1",   "1999",
                                           "12",        "31",   "24", "5000", "0.1", "20"};
    const auto with = [&](const std::vector<std::pair<std::size_t, const char*>>& changes) {
        auto lines = good;
        for (const auto& [line, value] : changes) {
            lines[line - 1] = value;
        }
        return crlf(lines);
    };
    for (const auto& c : kRangeCases) {
        RunLog log;
        Param p;
        ASSERT_EQ(parseParam(with(c.changes), p, log), ParseStatus::kOk) << c.name;
        EXPECT_FALSE(checkParam(p, log)) << c.name;
        EXPECT_TRUE(logMentions(log, "Param.dat")) << c.name;
    }
    RunLog log;
    Param p;
    ASSERT_EQ(parseParam(with({{11, "3"}}), p, log), ParseStatus::kOk);
    EXPECT_TRUE(checkParam(p, log)) << "3 m is still allowed";
    ASSERT_EQ(parseParam(with({{6, "1995"}, {7, "1"}, {8, "1"}, {9, "1"}}), p, log),
              ParseStatus::kOk);
    EXPECT_TRUE(checkParam(p, log)) << "a period of one hour";

    std::vector<Source> sources(1);
    sources[0].emissie = -1.0;
    EXPECT_FALSE(checkSources(sources, log));
}

}  // namespace
}  // namespace zivirare
