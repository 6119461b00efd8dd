#pragma once
// Readers of the three input files that the program writes before each run. Tolerant of CR LF or
// LF, of extra blanks between numbers and of empty lines; strict about everything else: a line
// that cannot be read is reported with file name and line number.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "log.h"

namespace zivirare {

struct Param {
    bool hasMeteoFile = false;
    std::string meteoFile;  // line 1, as written (may be a Windows path)
    int firstYear = 0, firstMonth = 0, firstDay = 0, firstHour = 0;
    int lastYear = 0, lastMonth = 0, lastDay = 0, lastHour = 0;
    double maxDistance = 0.0;  // m; farther source-receptor pairs add nothing
    double z0 = 0.0;           // roughness length, m
    double minDistance = 0.0;  // m; nearer downwind distances are evaluated here
};

struct Source {
    int64_t volgnummer = 0;
    std::string label;  // 20 bytes as written
    double x = 0.0, y = 0.0;
    double hoogte = 0.0;        // stack height, m
    double gebouwHoogte = 0.0;  // average building height, m
    double diameter = 0.0;      // inner diameter, m
    double uittree = 0.0;       // exit velocity, m/s
    double emissie = 0.0;       // ouE/s
};

struct Location {
    int64_t volgnummer = 0;
    std::string label;
    double x = 0.0, y = 0.0;
    double norm = 0.0;  // odour standard, ouE/m3
};

enum class ParseStatus { kOk, kMalformed, kNoMeteoLine };

// Parses the text of each file. On failure the log holds the file name, the line number and what
// is wrong with it.
[[nodiscard]] ParseStatus parseParam(std::string_view bytes, Param& param, RunLog& log);
[[nodiscard]] ParseStatus parseBronnen(std::string_view bytes, std::vector<Source>& sources,
                                       RunLog& log);
[[nodiscard]] ParseStatus parseGgl(std::string_view bytes, std::vector<Location>& locations,
                                   RunLog& log);

// Range checks of values that parse but cannot be computed with. False after a log line.
[[nodiscard]] bool checkParam(const Param& param, RunLog& log);
[[nodiscard]] bool checkSources(const std::vector<Source>& sources, RunLog& log);

}  // namespace zivirare
