#pragma once
// The hourly state of the surface layer and the mixing layer from routine weather observations:
// solar elevation, incoming and net radiation, friction velocity, Obukhov length, the Pasquill
// class that corresponds to that length and the roughness, and the mixing height.

#include <vector>

#include "meteo.h"

namespace zivirare {

enum Klasse : int { kA = 0, kB, kC, kD, kE, kF, kKlasseCount };

[[nodiscard]] char klasseLetter(Klasse k);

namespace bl {
inline constexpr double kKarman = 0.4;
inline constexpr double kG = 9.81;
inline constexpr double kRho = 1.2;
inline constexpr double kCp = 1004.0;
inline constexpr double kZref = 10.0;
inline constexpr double kSigmaSB = 5.67e-8;
inline constexpr double kNoLid = 1.0e5;  // mixing height standing for "no lid" (classes E, F)
}  // namespace bl

// Solar elevation in degrees at the middle of hour `hh` (1-24, hour ending, UT) of the given day,
// by the NOAA general solar position formulas.
[[nodiscard]] double solarElevation(int year, int dayOfYear, int hh, double latitude,
                                    double longitude);

// Incoming solar radiation, W/m2, estimated from the elevation and the cloud cover (octas).
[[nodiscard]] double estimatedRadiation(double elevationDeg, double cloudOctas);

// Net radiation, W/m2.
[[nodiscard]] double netRadiation(double incoming, double temperatureK, double cloudOctas);

struct SurfaceLayer {
    double ustar = 0.0;     // friction velocity, m/s
    double obukhov = 0.0;   // Obukhov length L, m (negative unstable, positive stable)
    double heatFlux = 0.0;  // sensible heat flux H, W/m2 (0 in stable hours)
};

// u*, L and H for one hour from net radiation, wind at 10 m, temperature, cloud cover and z0.
[[nodiscard]] SurfaceLayer surfaceLayer(double netRad, double u10, double temperatureK,
                                        double cloudOctas, double z0);

// Integrated stability function for momentum in unstable conditions (zeta < 0).
[[nodiscard]] double psiM(double zeta);

// The class whose line a + b log10(z0) lies nearest to 1/L.
[[nodiscard]] Klasse klasseFromObukhov(double obukhov, double z0);

struct HourState {
    bool valid = false;
    Klasse klasse = kD;
    double u10 = 0.0;
    double direction = 0.0;            // degrees, where the wind comes from
    double temperature = 0.0;          // K
    double mixingHeight = bl::kNoLid;  // m; kNoLid in classes E and F
    double elevation = 0.0;
    double ustar = 0.0, obukhov = 0.0, heatFlux = 0.0;
};

// The state of every hour of the series, in order: the mixing height carries over from hour to
// hour (a mechanical height relaxing towards its equilibrium and a convective height growing
// from sunrise), so this runs sequentially over the whole period. Invalid hours keep valid=false
// and leave the carried heights as they were. The surface layer of each hour is independent of
// the others and is computed on `threads` threads first.
[[nodiscard]] std::vector<HourState> hourStates(const MeteoSeries& series, double z0,
                                                int threads = 1);

}  // namespace zivirare
