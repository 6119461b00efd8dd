#include "meteo.h"

#include <gtest/gtest.h>

#include "support.h"

namespace zivirare {
namespace {

using model_test::crlf;

const char* const kHeader = "# STN,YYYYMMDD,   HH,   DD,   FH,   FF,   FX,    T,    N,    Q";

MeteoSeries seriesOf(const std::vector<std::string>& lines, const Period& period) {
    RunLog log;
    MeteoFile file;
    EXPECT_EQ(parseMeteo(crlf(lines), "test.dat", file, log), MeteoStatus::kOk);
    return buildSeries(file, period);
}

// Two hours of a day: the first calm, the second with a variable direction.
TEST(Meteo, CalmAndVariableHoursAreValidWithTheLastDirection) {
    const auto s = seriesOf({"# uurgegevens", kHeader,
                             "  370,19950101,    1,    0,    0,    0,"
                             "    0,   45,    7,    0",
                             "  370,19950101,    2,  990,   30,   30,   50,   40,    9,     "},
                            Period{1995, 1, 1, 1, 1995, 1, 1, 2});
    ASSERT_EQ(s.hours.size(), 2u);
    EXPECT_EQ(s.validCount, 2);
    EXPECT_EQ(s.calmCount, 1);
    EXPECT_EQ(s.variableCount, 1);
    EXPECT_EQ(s.invalidCount, 0);
    EXPECT_EQ(s.station, 370);
    EXPECT_TRUE(s.hours[0].calm);
    EXPECT_EQ(s.hours[0].u10, 0.5);          // calm: at least 0.5 m/s
    EXPECT_EQ(s.hours[0].direction, 225.0);  // no direction seen yet
    EXPECT_TRUE(s.hours[1].variable);
    EXPECT_EQ(s.hours[1].u10, 3.0);
    EXPECT_EQ(s.hours[1].direction, 225.0);
    EXPECT_EQ(s.hours[1].cloud, 8.0);  // sky invisible counts as overcast
    EXPECT_FALSE(s.hours[1].hasRadiation);
    EXPECT_DOUBLE_EQ(s.hours[0].temperature, 4.5 + 273.15);
}

TEST(Meteo, GapsAndCarriedValues) {
    const auto s =
        seriesOf({kHeader, "  240,19951231,   23,  200,   40,   40,   60,     ,     ,   10",
                  "  240,19951231,   24,    0,   15,   15,   20,  -12,    3,     ",
                  "  240,19960101,    2,     ,   40,   40,   60,   10,    3,    0",
                  "  240,19960101,    3,  990,    2,    2,    5,   10,    3,    0",
                  "  240,19960101,    4,  310,     ,    0,    0,   10,    3,    0"},
                 Period{1995, 12, 31, 23, 1996, 1, 1, 4});
    ASSERT_EQ(s.hours.size(), 6u);
    // 23 and 24 (the hour ending at midnight) of the last day, then 1 to 4 of the new year.
    EXPECT_EQ(s.hours[1].hh, 24);
    EXPECT_EQ(s.hours[1].year, 1995);
    EXPECT_EQ(s.hours[2].year, 1996);
    EXPECT_EQ(s.hours[2].dayOfYear, 1);
    EXPECT_EQ(s.hours[2].hh, 1);
    EXPECT_EQ(s.validCount, 3);
    EXPECT_EQ(s.invalidCount, 3);  // hour 1 absent, hour 2 without DD, hour 4 without FH
    EXPECT_FALSE(s.hours[2].valid);
    EXPECT_FALSE(s.hours[3].valid);
    EXPECT_FALSE(s.hours[5].valid);
    // Missing T and N before any value: 10 degC and 6 octas; radiation given in J/cm2.
    EXPECT_DOUBLE_EQ(s.hours[0].temperature, 283.15);
    EXPECT_EQ(s.hours[0].cloud, 6.0);
    EXPECT_DOUBLE_EQ(s.hours[0].radiation, 10.0 * 1.0e4 / 3600.0);
    // DD = 0 is calm whatever FH says; the direction stays the last one that was given.
    EXPECT_TRUE(s.hours[1].calm);
    EXPECT_EQ(s.hours[1].u10, 1.5);
    EXPECT_EQ(s.hours[1].direction, 200.0);
    EXPECT_DOUBLE_EQ(s.hours[1].temperature, -1.2 + 273.15);
    EXPECT_TRUE(s.hours[4].variable);
    EXPECT_EQ(s.hours[4].u10, 0.5);
    EXPECT_EQ(s.hours[4].direction, 200.0);
}

TEST(Meteo, ServiceDownloadWithPreambleAndColumnsInAnotherOrder) {
    RunLog log;
    MeteoFile file;
    const std::string bytes = crlf({"BRON: weerdienst", "Opmerking: uurwaarden", "",
                                    "STN,YYYYMMDD,   HH,    T,   DD,   FH,    Q,    N", "",
                                    "  370,19950101,    1,   10,  240,   50,    0,    8"});
    ASSERT_EQ(parseMeteo(bytes, "uurgeg.txt", file, log), MeteoStatus::kOk);
    ASSERT_EQ(file.hours.size(), 1u);
    EXPECT_EQ(file.hours[0].dd, 240);
    EXPECT_EQ(file.hours[0].fh, 50);
    EXPECT_EQ(file.hours[0].t, 10);
    EXPECT_EQ(file.hours[0].n, 8);
    EXPECT_FALSE(file.synthetic);
    ASSERT_EQ(parseMeteo("# SYNTHETISCH\n" + bytes, "s.dat", file, log), MeteoStatus::kOk);
    EXPECT_TRUE(file.synthetic);
}

struct BadFileCase {
    const char* name;
    std::vector<std::string> lines;
    MeteoStatus status;
};

TEST(Meteo, UnreadableAndMalformedFiles) {
    const BadFileCase cases[] = {
        {"no_header", {"  370,19950101,    1,  240,   50"}, MeteoStatus::kNoHeader},
        {"header_without_fh", {"# STN,YYYYMMDD,   HH,   DD"}, MeteoStatus::kNoHeader},
        {"letters",
         {kHeader, "  370,19950101,    1,  2x0,   50,    ,    ,    ,    ,"},
         MeteoStatus::kMalformed},
        {"too_few_fields", {kHeader, "  370,19950101,    1,  240"}, MeteoStatus::kMalformed},
        {"hour_25",
         {kHeader, "  370,19950101,   25,  240,   50,    ,    ,    ,    ,"},
         MeteoStatus::kMalformed},
        {"no_such_date",
         {kHeader, "  370,19950230,    1,  240,   50,    ,    ,    ,    ,"},
         MeteoStatus::kMalformed},
        {"direction_400",
         {kHeader, "  370,19950101,    1,  400,   50,    ,    ,    ,    ,"},
         MeteoStatus::kMalformed},
    };
    for (const auto& c : cases) {
        RunLog log;
        MeteoFile file;
        EXPECT_EQ(parseMeteo(crlf(c.lines), "m.dat", file, log), c.status) << c.name;
        ASSERT_FALSE(log.lines().empty()) << c.name;
        if (c.status == MeteoStatus::kMalformed) {
            EXPECT_NE(log.lines().back().find("m.dat regel 2"), std::string::npos) << c.name;
        }
    }
}

TEST(Meteo, StationNamesAndPositions) {
    EXPECT_EQ(stationName(370), "Eindhoven");
    EXPECT_EQ(stationName(240), "Schiphol");
    EXPECT_EQ(stationName(260), "260");
    EXPECT_DOUBLE_EQ(stationPosition(370).latitude, 51.451);
    EXPECT_DOUBLE_EQ(stationPosition(240).longitude, 4.790);
    EXPECT_DOUBLE_EQ(stationPosition(260).latitude, 52.1);
}

}  // namespace
}  // namespace zivirare
