// ping() through the shared library, as the program calls it: files in Input beside the working
// directory, the results in Output, and a return code for every way a run can fail.

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

#include "support.h"

namespace {

using namespace model_test;

constexpr const char* kBronnenTitle =
    "Dit is een bronneninvoer bestand voor bedrijf:Jansen gemaakt op:2010-05-17";
constexpr const char* kBronnenHeader =
    "VolgNr    IDNR       X_COORD      Y_COORD   ST-hoogte GemGebHoogt  ST-bindiam   ST-uittree "
    "E-Vergund";
constexpr const char* kGglHeader =
    "Volgnummer  Identifier    X-coordinaat    Y-coordinaat    NORM-OU";

// Three June days at Eindhoven, wind turning through the south-west.
std::string threeDays() {
    std::vector<std::string> lines = {"# eigen testreeks",
                                      "# STN,YYYYMMDD,   HH,   DD,   FH,    T,    N,    Q"};
    for (int day = 1; day <= 3; ++day) {
        for (int hh = 1; hh <= 24; ++hh) {
            lines.push_back("  370,1995060" + std::to_string(day) + "," + std::to_string(hh) + "," +
                            std::to_string(200 + 10 * (hh % 8)) + "," +
                            std::to_string(10 + 3 * hh) + ",150,4,");
        }
    }
    return crlf(lines);
}

class Contract : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_NE(libraryPing(), nullptr) << dlerror();
        std::filesystem::create_directories(m_emptyData);
        writeFile(root.input() / "weer.dat", threeDays());
        param = {(root.input() / "weer.dat").string(),
                 "1995",
                 "6",
                 "1",
                 "1",
                 "1995",
                 "6",
                 "3",
                 "24",
                 "5000",
                 "0.18",
                 "20"};
        bronnen = {kBronnenTitle, kBronnenHeader,
                   "1 EP1                  155000 463000 6.5 5 0.5 4 12000",
                   "2 EP2                  155020 463010 8 0 0.4 6 6000"};
        ggl = {kGglHeader, "3 Woning 1             155100 463100 2",
               "4 Woning 2             155300 463300 3.5"};
    }

    void writeInputs() {
        writeFile(root.input() / "Param.dat", crlf(param));
        writeFile(root.input() / "Bronnen.dat", crlf(bronnen));
        writeFile(root.input() / "GGL.dat", crlf(ggl));
    }

    int32_t ping(int32_t value = 3) {
        const CwdGuard cwd(root.home());
        int32_t in = value;
        return libraryPing()(&in);
    }

    [[nodiscard]] std::string results() const {
        return readFile(root.output() / "RepGeurBelast.dat");
    }
    [[nodiscard]] bool hasResults() const {
        return std::filesystem::exists(root.output() / "RepGeurBelast.dat");
    }
    [[nodiscard]] std::string log() const { return readFile(root.output() / "zivirare.log"); }

    TempRoot root;
    std::filesystem::path m_emptyData = root.root() / "geen-data";
    EnvGuard data{"ZIVIRARE_DATA", m_emptyData.c_str()};
    std::vector<std::string> param, bronnen, ggl;
};

TEST_F(Contract, RunWritesResultsAndLog) {
    writeInputs();
    ASSERT_EQ(ping(), 0) << log();
    const auto lines = programLines(results());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Geurbelasting als 98-percentiel van uurgemiddelde concentraties (ouE/m3)");
    EXPECT_EQ(lines[1], "V-WOLKAN rekenkern versie 1.0, meteo Eindhoven 1995-1995");
    EXPECT_NE(lines[2].find("geldig 72 kalm 0 ongeldig 0"), std::string::npos) << lines[2];
    EXPECT_EQ(lines[3].substr(0, 34), "             3Woning 1            ");
    const auto rows = programResults(results());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].volgnummer, 3);
    EXPECT_EQ(rows[1].volgnummer, 4);
    EXPECT_GT(rows[0].load, rows[1].load);  // both north-east, downwind; the second farther
    EXPECT_GT(rows[1].load, 0.0);
    EXPECT_NE(log().find("geldig 72"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(root.output() / "RepGeurBelast.dat.tmp"));
}

// Two hours: a calm one (at least 0.5 m/s, from 225 degrees) and one with a variable direction
// (the direction of the hour before). Both count; the calm one is reported as such.
TEST_F(Contract, CalmAndVariableHour) {
    writeFile(root.input() / "weer.dat",
              crlf({"# STN,YYYYMMDD,   HH,   DD,   FH,    T,    N,    Q",
                    "  370,19950601,    1,    0,    0,  120,    8,     ",
                    "  370,19950601,    2,  990,   20,  120,    8,     "}));
    param[7] = "1";
    param[8] = "2";
    ggl = {kGglHeader, "3 Woning NO            155050 463050 2",
           "4 Woning ZW            154950 462950 2"};
    writeInputs();
    ASSERT_EQ(ping(), 0) << log();
    const auto lines = programLines(results());
    EXPECT_NE(lines[2].find("geldig 2 kalm 1 ongeldig 0"), std::string::npos) << lines[2];
    EXPECT_NE(log().find("windstil 1 en variabel 1"), std::string::npos) << log();
    const auto rows = programResults(results());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_GT(rows[0].load, 10.0);  // downwind of 225 degrees, 70 m away, in light wind
    EXPECT_EQ(rows[1].load, 0.0);   // upwind in both hours
}

TEST_F(Contract, SameResultsForAnyNumberOfThreads) {
    writeInputs();
    std::string first;
    for (const char* threads : {"1", "2", "5"}) {
        const EnvGuard env("ZIVIRARE_THREADS", threads);
        ASSERT_EQ(ping(), 0);
        if (first.empty()) {
            first = results();
        }
        EXPECT_EQ(results(), first) << threads << " threads";
    }
}

TEST_F(Contract, CompanyWithoutPointsOrLocations) {
    bronnen.resize(2);
    writeInputs();
    ASSERT_EQ(ping(), 0);
    const auto rows = programResults(results());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].load, 0.0);
    ggl.resize(1);
    writeInputs();
    ASSERT_EQ(ping(), 0);
    EXPECT_TRUE(programResults(results()).empty());
    EXPECT_EQ(programLines(results()).size(), 3u);
}

struct FailureCase {
    const char* name;
    std::function<void(Contract&)> spoil;
    int32_t code;
    const char* logText;
};

std::function<void(Contract&)> removeInput(const char* name) {
    return [name](Contract& c) { std::filesystem::remove(c.root.input() / name); };
}

std::function<void(Contract&)> changeParam(std::size_t line, std::string value) {
    return [line, value](Contract& c) {
        c.param[line - 1] = value;
        c.writeInputs();
    };
}

const FailureCase kFailureCases[] = {
    {"param_missing", removeInput("Param.dat"), -1, "Param.dat ontbreekt"},
    {"bronnen_missing", removeInput("Bronnen.dat"), -1, "Bronnen.dat ontbreekt"},
    {"ggl_missing", removeInput("GGL.dat"), -1, "GGL.dat ontbreekt"},
    {"param_is_a_directory",
     [](Contract& c) {
         std::filesystem::remove(c.root.input() / "Param.dat");
         std::filesystem::create_directory(c.root.input() / "Param.dat");
     },
     -1, "niet leesbaar"},
    {"no_station_line",
     [](Contract& c) {
         c.param.erase(c.param.begin());
         c.writeInputs();
     },
     -2, "geen meteobestand"},
    {"weather_file_missing", changeParam(1, "C:\\Model\\Input\\nergens.dat"), -2, "niet gevonden"},
    {"weather_file_not_weather",
     [](Contract& c) { writeFile(c.root.input() / "weer.dat", "dit is geen meteobestand\r\n"); },
     -2, "STN"},
    {"malformed_source_line",
     [](Contract& c) {
         c.bronnen[3] = "2 EP2                  155020 463010 8 0 0,4 6 6000";
         c.writeInputs();
     },
     -3, "Bronnen.dat regel 4"},
    {"malformed_location_line",
     [](Contract& c) {
         c.ggl[1] = "3 Woning 1 155100 463100 2";
         c.writeInputs();
     },
     -3, "GGL.dat regel 2"},
    {"malformed_weather_line",
     [](Contract& c) {
         std::string w = threeDays();
         w.replace(w.find(",1,") + 1, 1, "x");
         writeFile(c.root.input() / "weer.dat", w);
     },
     -3, "weer.dat regel 3"},
    {"roughness_out_of_range", changeParam(11, "5"), -4, "ruwheidslengte"},
    {"period_end_before_start", changeParam(8, "0"), -4, "geldig uur"},
    {"too_few_valid_hours", changeParam(8, "5"), -7, "75 %"},
    {"output_directory_missing", [](Contract& c) { std::filesystem::remove_all(c.root.output()); },
     -6, nullptr},
    {"temporary_name_taken_by_a_directory",
     [](Contract& c) {
         std::filesystem::create_directories(c.root.output() / "RepGeurBelast.dat.tmp" / "x");
     },
     -6, "kan niet worden geschreven"},
};

// Named in test output by the case's name, not by its bytes.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ContractFailure : public Contract, public ::testing::WithParamInterface<FailureCase> {};

// Each failure returns its code, says why in the log, and leaves no results file: neither the
// one of an earlier run nor a half-written one.
TEST_P(ContractFailure, ReturnsItsCodeAndLeavesNoResults) {
    const FailureCase& c = GetParam();
    writeInputs();
    c.spoil(*this);
    if (std::filesystem::is_directory(root.output())) {
        writeFile(root.output() / "RepGeurBelast.dat", "oud resultaat\r\n");
    }
    EXPECT_EQ(ping(), c.code);
    EXPECT_FALSE(hasResults());
    EXPECT_FALSE(std::filesystem::exists(root.output() / "RepGeurBelast.dat.tmp") &&
                 std::filesystem::is_regular_file(root.output() / "RepGeurBelast.dat.tmp"));
    if (c.logText != nullptr) {
        EXPECT_NE(log().find(c.logText), std::string::npos) << log();
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, ContractFailure, ::testing::ValuesIn(kFailureCases),
                         [](const auto& test) { return std::string(test.param.name); });

// The library shows ping and nothing of the code behind it.
TEST(Library, ExportsPingOnly) {
    void* handle = dlopen(ZIVIRARE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_NE(dlsym(handle, "ping"), nullptr);
    for (const char* hidden :
         {"_ZN8zivirare10odourLoadsERKNS_13KernelProblemEi",
          "_ZN8zivirare5runInERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEES7_",
          "_ZN8zivirare10parseParamESt17basic_string_viewIcSt11char_traitsIcEERNS_5ParamERNS_"
          "6RunLogE"}) {
        EXPECT_EQ(dlsym(handle, hidden), nullptr) << hidden;
    }
    dlclose(handle);
}

TEST_F(Contract, WrongArgumentTouchesNothing) {
    writeInputs();
    EXPECT_EQ(ping(4), -8);
    EXPECT_EQ(ping(0), -8);
    EXPECT_EQ(libraryPing()(nullptr), -8);
    EXPECT_FALSE(hasResults());
    EXPECT_FALSE(std::filesystem::exists(root.output() / "zivirare.log"));
}

// The program names a file in its own Input directory; when it is not there, the library's
// data folder has the synthetic years. A 6.5 m stack on a 5 m building, d 0.5 m, 4 m/s and
// 12,000 ouE/s, with houses 100, 300 and 1000 m to the north-east.
TEST_F(Contract, SanityRunOnTheSyntheticEindhovenYears) {
    const EnvGuard noData("ZIVIRARE_DATA", nullptr);
    param = {"C:\\Model\\Input\\mixeindhoven9599.dat",
             "1995",
             "1",
             "1",
             "1",
             "1999",
             "12",
             "31",
             "24",
             "5000",
             "0.18",
             "20"};
    bronnen.resize(3);
    ggl = {kGglHeader, "2 Woning 100 m         155071 463071 2",
           "3 Woning 300 m         155212 463212 2", "4 Woning 1000 m        155707 463707 2"};
    writeInputs();
    ASSERT_EQ(ping(), 0) << log();
    const auto lines = programLines(results());
    EXPECT_EQ(lines[1],
              "V-WOLKAN rekenkern versie 1.0, meteo Eindhoven 1995-1999 SYNTHETISCHE METEO");
    EXPECT_NE(lines[2].find("geldig 43824"), std::string::npos);
    const auto rows = programResults(results());
    ASSERT_EQ(rows.size(), 3u);
    std::cout << "Geurbelasting op 100, 300 en 1000 m: " << rows[0].load << ", " << rows[1].load
              << ", " << rows[2].load << " ouE/m3\n";
    EXPECT_GT(rows[0].load, rows[1].load);
    EXPECT_GT(rows[1].load, rows[2].load);
    EXPECT_GT(rows[0].load, 1.0);
    EXPECT_LT(rows[0].load, 20.0);
    EXPECT_GT(rows[2].load, 0.05);
    EXPECT_LT(rows[2].load, 1.5);
}

}  // namespace
