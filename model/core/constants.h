#pragma once
// Return codes, file names and fixed layouts of the model's files, in one place.

#include <cstdint>
#include <string_view>

namespace zivirare {

inline constexpr std::string_view kVersion = "1.0";

enum ReturnCode : int32_t {
    kOk = 0,
    kInputMissing = -1,   // an input file is missing or cannot be read
    kNoMeteo = -2,        // no meteorological file named, or it cannot be found or read
    kMalformed = -3,      // an input file is malformed; the log names file and line
    kOutOfRange = -4,     // a parameter out of range
    kCannotWrite = -6,    // the results file cannot be written
    kTooFewHours = -7,    // fewer than 75 % of the hours of the period are valid
    kBadArgument = -8,    // *pingIn is not 3
    kInternalError = -9,  // internal error, caught
};

inline constexpr int32_t kPingMagic = 3;

inline constexpr std::string_view kInputDirName = "Input";
inline constexpr std::string_view kOutputDirName = "Output";
inline constexpr std::string_view kParamFile = "Param.dat";
inline constexpr std::string_view kBronnenFile = "Bronnen.dat";
inline constexpr std::string_view kGglFile = "GGL.dat";
inline constexpr std::string_view kResultsFile = "RepGeurBelast.dat";
inline constexpr std::string_view kResultsTempFile = "RepGeurBelast.dat.tmp";
inline constexpr std::string_view kLogFile = "zivirare.log";

// The data folder beside the library, and the variables that override it and the thread count.
inline constexpr std::string_view kDataDirName = "zivirare-data";
inline constexpr const char* kDataEnv = "ZIVIRARE_DATA";
inline constexpr const char* kThreadsEnv = "ZIVIRARE_THREADS";

// Header lines before the first record line of each input file.
inline constexpr int kBronnenHeaderLines = 2;
inline constexpr int kGglHeaderLines = 1;
inline constexpr int kLabelWidth = 20;

// Results file: columns counted from 1, both ends included.
inline constexpr int kSeqFirstColumn = 1, kSeqLastColumn = 14;
inline constexpr int kLabelFirstColumn = 15, kLabelLastColumn = 34;
inline constexpr int kXFirstColumn = 35, kXLastColumn = 48;
inline constexpr int kYFirstColumn = 49, kYLastColumn = 62;
inline constexpr int kNormFirstColumn = 63, kNormLastColumn = 69;
inline constexpr int kLoadFirstColumn = 70, kLoadLastColumn = 83;
inline constexpr int kVersionLineMax = 128;
inline constexpr int kResultHeaderLines = 3;

inline constexpr std::string_view kResultsTitle =
    "Geurbelasting als 98-percentiel van uurgemiddelde concentraties (ouE/m3)";
inline constexpr std::string_view kVersionPrefix = "V-WOLKAN rekenkern versie ";
inline constexpr std::string_view kSyntheticSuffix = " SYNTHETISCHE METEO";
inline constexpr std::string_view kSyntheticMark = "SYNTHETISCH";

// Share of valid hours below which a run is refused, as a fraction (75 %).
inline constexpr int kMinValidPercent = 75;
// The odour load is this percentile of the hourly concentrations.
inline constexpr int kPercentile = 98;

}  // namespace zivirare
