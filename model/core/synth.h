#pragma once
// Weather files for demonstrations and tests, and summaries of weather files: the work behind
// the zivirare-meteo tool.

#include <cstdint>
#include <string>

#include "meteo.h"

namespace zivirare {

// A deterministic, plausible hourly file for 1995-1999 in the service's layout, marked
// "SYNTHETISCH": south-westerly winds most often, Weibull speeds (mean about 3.6 m/s for
// station 370, 5.0 m/s for 240, 4.3 m/s otherwise) that persist from hour to hour, daily and
// yearly cycles of temperature and wind, slowly changing clouds, radiation from the sun and the
// clouds. The same station gives the same bytes on every run.
[[nodiscard]] std::string synthesize(int32_t station);

// One hour in the layout "  STN,YYYYMMDD,   HH,   DD,   FH,    T,    N,    Q".
[[nodiscard]] std::string formatHourLine(const RawHour& h);
[[nodiscard]] std::string columnHeaderLine();

struct ImportReport {
    int64_t copied = 0;      // hours of 1995-1999 written
    int64_t absent = 0;      // hours of 1995-1999 not in the file
    int64_t incomplete = 0;  // hours written without DD or FH
};

// The hours of 1995-1999 of a file of the service, in the layout above.
[[nodiscard]] std::string importHours(const MeteoFile& file, ImportReport& report);

// Wind rose of 12 sectors, share of calm hours, mean wind and the share of each stability class
// (for roughness z0), over the span of hours in the file, as text for a person.
[[nodiscard]] std::string statistics(const MeteoFile& file, double z0);

}  // namespace zivirare
