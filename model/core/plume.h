#pragma once
// The Gaussian plume of one emission point in one hour, in double precision: rural dispersion
// coefficients, wind at stack height, stack-tip downwash, momentum rise, building wake,
// dispersion induced by the rise, and ground-level concentration with reflections at the ground
// and the mixing height. The fast kernel evaluates the same formulas in single precision; this
// is the reference it is checked against, and what the screening tool prints.

#include <array>

#include "boundary_layer.h"

namespace zivirare {

// Rural sigma-z segments: up to `upperKm`, sigma-z = a * x^b (x in km).
struct SigmaZSegment {
    double upperKm, a, b;
};
inline constexpr int kMaxSegments = 10;
struct SigmaZTable {
    int count;
    std::array<SigmaZSegment, kMaxSegments> segments;
};
[[nodiscard]] const SigmaZTable& sigmaZTable(Klasse k);

struct SigmaYCoefficients {
    double c, d;
};
[[nodiscard]] SigmaYCoefficients sigmaYCoefficients(Klasse k);

// Plain dispersion coefficients at downwind distance x (m), in m; sigma-z at most 5000 m.
[[nodiscard]] double sigmaY(Klasse k, double xMetres);
[[nodiscard]] double sigmaZ(Klasse k, double xMetres);

// The emission point as it stands.
struct Stack {
    double hoogte = 0.0;        // m
    double gebouwHoogte = 0.0;  // average building height, m (0: no building)
    double diameter = 0.0;      // m
    double uittree = 0.0;       // m/s
};

// Distances at which the plain coefficients reach the values at the end of the near wake:
// sigma-y(xY) = 0.819 Hb, and per sigma-z segment sigma-z(xZ) = 1.2 Lb with that segment's
// coefficients. In metres; per class, fixed for a building height.
struct WakeDistances {
    double xY = 0.0;
    std::array<double, kMaxSegments> xZ{};
};
[[nodiscard]] WakeDistances wakeDistances(Klasse k, double buildingHeight);

// Everything about one emission point in one hour that does not depend on the receptor.
struct PlumeHour {
    Klasse klasse = kD;
    double windAtStack = 1.0;         // u_s, m/s
    double stackAfterDownwash = 0.0;  // hs', m
    double rise = 0.0;                // final momentum rise, m
    double effectiveHeight = 0.0;     // He = hs' + rise, m
    bool wake = false;                // the building wake widens sigma-z
    bool wakeY = false;               // ... and sigma-y too (a plume that stays low)
    double buildingLength = 0.0;      // Lb = Hb, m
    WakeDistances wakeDistances;
};

// Windspeed profile exponent of a class.
[[nodiscard]] double windExponent(Klasse k);

// Plume rise at distance x (m) downwind, limited to the final momentum rise.
[[nodiscard]] double riseAt(const Stack& stack, double windAtStack, Klasse k, double temperatureK,
                            double xMetres);

// `known` may hold wakeDistances(k, stack.gebouwHoogte), computed once beforehand.
[[nodiscard]] PlumeHour plumeHour(const Stack& stack, Klasse k, double u10, double temperatureK,
                                  const WakeDistances* known = nullptr);

struct Sigmas {
    double y, z;
};
// Coefficients at downwind distance x (m; already at least the smallest evaluated distance)
// after the building wake and the rise-induced spread.
[[nodiscard]] Sigmas plumeSigmas(const PlumeHour& p, double xMetres);

// Ground-level concentration (units of q per m3) at downwind x (m) and crosswind y (m) for an
// emission q per second under mixing height zi (bl::kNoLid for none).
[[nodiscard]] double concentration(const PlumeHour& p, double mixingHeight, double xMetres,
                                   double yMetres, double q);

// The run's geometry: wind from `directionDeg`; a receptor at (dx, dy) from the source. Returns
// false when it gets nothing (less than 1 m downwind, or farther than maxDistance); otherwise the
// downwind distance raised to minDistance and the crosswind distance.
[[nodiscard]] bool downwind(double dx, double dy, double directionDeg, double maxDistance,
                            double minDistance, double& x, double& y);

}  // namespace zivirare
