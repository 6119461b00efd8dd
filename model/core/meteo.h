#pragma once
// Hourly station data in the weather service's "uurgegevens" layout: comment lines start with
// "#", the comment line starting with "# STN," names the columns, every other non-empty line is
// one hour with comma-separated, blank-padded fields; an empty field is missing.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "log.h"

namespace zivirare {

// Sentinel of a missing field.
inline constexpr int32_t kMissing = INT32_MIN;

// One hour as it stands in the file (units of the file: 0.1 m/s, 0.1 degC, octas, J/cm2).
struct RawHour {
    int32_t stn = kMissing;
    int32_t date = 0;  // YYYYMMDD
    int32_t hh = 0;    // 1-24, hour ending, UT
    int32_t dd = kMissing, fh = kMissing, t = kMissing, n = kMissing, q = kMissing;
};

struct MeteoFile {
    std::vector<RawHour> hours;  // in file order
    bool synthetic = false;      // a comment line contains "SYNTHETISCH"
};

enum class MeteoStatus { kOk, kNoHeader, kMalformed };

// Parses the text of a file. A line with a field that is not a whole number, too few fields or an
// impossible date or hour is malformed and named in the log. Lines before the column header that
// are not comments are taken as the file's preamble (the service's own downloads have one).
[[nodiscard]] MeteoStatus parseMeteo(std::string_view bytes, std::string_view fileName,
                                     MeteoFile& file, RunLog& log);

// The period of a run, both ends included; hours 1-24.
struct Period {
    int firstYear, firstMonth, firstDay, firstHour;
    int lastYear, lastMonth, lastDay, lastHour;
    [[nodiscard]] int64_t hourCount() const;
    // Index of a file hour within the period, or -1 outside it.
    [[nodiscard]] int64_t indexOf(int32_t date, int32_t hh) const;
};

// One hour of the period after gap filling, in SI units.
struct MeteoHour {
    bool valid = false;
    bool calm = false;      // FH = 0 or DD = 0
    bool variable = false;  // DD = 990
    int year = 0, dayOfYear = 0, hh = 0;
    double u10 = 0.0;          // m/s, at least 0.5
    double direction = 0.0;    // degrees, where the wind comes from
    double temperature = 0.0;  // K
    double cloud = 0.0;        // octas 0-8
    bool hasRadiation = false;
    double radiation = 0.0;  // W/m2 when hasRadiation
};

struct MeteoSeries {
    std::vector<MeteoHour> hours;  // every hour of the period
    int32_t station = kMissing;
    bool synthetic = false;
    int64_t validCount = 0, calmCount = 0, variableCount = 0, invalidCount = 0;
    int64_t duplicateCount = 0;
};

// Lays the file's hours on the period and fills the gaps: an hour that is absent or lacks DD or
// FH is invalid; calm and variable hours keep the last direction (225 before the first); a
// missing T or N keeps the last value (10 degC, 6 octas before the first), N = 9 counts as 8.
[[nodiscard]] MeteoSeries buildSeries(const MeteoFile& file, const Period& period);

// Station name for the version line: Eindhoven, Schiphol, or the number.
[[nodiscard]] std::string stationName(int32_t stn);

struct StationPosition {
    double latitude, longitude;  // degrees north, east
};
[[nodiscard]] StationPosition stationPosition(int32_t stn);

}  // namespace zivirare
