#include "plume.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zivirare {

namespace {

constexpr double kInf = 1.0e30;

constexpr SigmaZTable kSigmaZ[kKlasseCount] = {
    {8,
     {{{0.10, 122.800, 0.94470},
       {0.15, 158.080, 1.05420},
       {0.20, 170.220, 1.09320},
       {0.25, 179.520, 1.12620},
       {0.30, 217.410, 1.26440},
       {0.40, 258.890, 1.40940},
       {0.50, 346.750, 1.72830},
       {kInf, 453.850, 2.11660}}}},
    {3, {{{0.20, 90.673, 0.93198}, {0.40, 98.483, 0.98332}, {kInf, 109.300, 1.09710}}}},
    {1, {{{kInf, 61.141, 0.91465}}}},
    {6,
     {{{0.30, 34.459, 0.86974},
       {1.0, 32.093, 0.81066},
       {3.0, 32.093, 0.64403},
       {10.0, 33.504, 0.60486},
       {30.0, 36.650, 0.56589},
       {kInf, 44.053, 0.51179}}}},
    {9,
     {{{0.10, 24.260, 0.83660},
       {0.30, 23.331, 0.81956},
       {1.0, 21.628, 0.75660},
       {2.0, 21.628, 0.63077},
       {4.0, 22.534, 0.57154},
       {10.0, 24.703, 0.50527},
       {20.0, 26.970, 0.46713},
       {40.0, 35.420, 0.37615},
       {kInf, 47.618, 0.29592}}}},
    {10,
     {{{0.20, 15.209, 0.81558},
       {0.70, 14.457, 0.78407},
       {1.0, 13.953, 0.68465},
       {2.0, 13.953, 0.63227},
       {3.0, 14.823, 0.54503},
       {7.0, 16.187, 0.46490},
       {15.0, 17.836, 0.41507},
       {30.0, 22.651, 0.32681},
       {60.0, 27.074, 0.27436},
       {kInf, 34.219, 0.21716}}}},
};

constexpr SigmaYCoefficients kSigmaY[kKlasseCount] = {{24.1670, 2.5334}, {18.3330, 1.8096},
                                                      {12.5000, 1.0857}, {8.3330, 0.72382},
                                                      {6.2500, 0.54287}, {4.1667, 0.36191}};

constexpr double kWindExponent[kKlasseCount] = {0.07, 0.07, 0.10, 0.15, 0.35, 0.55};
constexpr double kPotentialGradient[kKlasseCount] = {0, 0, 0, 0, 0.020, 0.035};  // K/m

double sigmaZWith(const SigmaZSegment& s, double xKm) {
    return std::min(s.a * std::pow(xKm, s.b), 5000.0);
}

std::size_t segmentOf(const SigmaZTable& t, double xKm) {
    std::size_t k = 0;
    while (k + 1 < static_cast<std::size_t>(t.count) && xKm > t.segments[k].upperKm) {
        ++k;
    }
    return k;
}

// Stability parameter s = (g / T) d(theta)/dz of the stable classes.
double stability(Klasse k, double temperatureK) {
    return 9.80616 / temperatureK * kPotentialGradient[k];
}

}  // namespace

const SigmaZTable& sigmaZTable(Klasse k) {
    return kSigmaZ[k];
}

SigmaYCoefficients sigmaYCoefficients(Klasse k) {
    return kSigmaY[k];
}

double windExponent(Klasse k) {
    return kWindExponent[k];
}

double sigmaY(Klasse k, double xMetres) {
    const double x = xMetres / 1000.0;
    const auto [c, d] = kSigmaY[k];
    return 465.11628 * x * std::tan(0.017453293 * (c - d * std::log(x)));
}

double sigmaZ(Klasse k, double xMetres) {
    const double x = xMetres / 1000.0;
    const auto& t = kSigmaZ[k];
    return sigmaZWith(t.segments[segmentOf(t, x)], x);
}

WakeDistances wakeDistances(Klasse k, double buildingHeight) {
    WakeDistances w;
    if (buildingHeight <= 0.0) {
        return w;
    }
    // sigma-y grows with x; halve the bracket on a log scale until it is tight.
    const double targetY = 0.819 * buildingHeight;
    double lo = 1.0e-3, hi = 1.0e7;  // m
    for (int i = 0; i < 200 && hi / lo > 1.0 + 1e-13; ++i) {
        const double mid = std::sqrt(lo * hi);
        (sigmaY(k, mid) < targetY ? lo : hi) = mid;
    }
    w.xY = std::sqrt(lo * hi);
    const auto& t = kSigmaZ[k];
    for (int s = 0; s < t.count; ++s) {
        const auto& seg = t.segments[static_cast<std::size_t>(s)];
        w.xZ[static_cast<std::size_t>(s)] =
            1000.0 * std::pow(1.2 * buildingHeight / seg.a, 1.0 / seg.b);
    }
    return w;
}

double riseAt(const Stack& stack, double us, Klasse k, double temperatureK, double xMetres) {
    const double v = stack.uittree, d = stack.diameter;
    const double finalRise = 3.0 * d * v / us;
    if (v <= 0.0 || d <= 0.0) {
        return 0.0;
    }
    const double fm = v * v * d * d / 4.0;
    const double beta = 1.0 / 3.0 + us / v;
    double rise;
    if (k >= kE) {
        const double rootS = std::sqrt(stability(k, temperatureK));
        // Beyond a quarter period of the stable oscillation the plume has reached its top.
        const double phase = std::min(xMetres * rootS / us, std::numbers::pi / 2.0);
        rise = std::cbrt(3.0 * fm * std::sin(phase) / (beta * beta * us * rootS));
    } else {
        rise = std::cbrt(3.0 * fm * xMetres / (beta * beta * us * us));
    }
    return std::min(rise, finalRise);
}

PlumeHour plumeHour(const Stack& stack, Klasse k, double u10, double temperatureK,
                    const WakeDistances* known) {
    PlumeHour p;
    p.klasse = k;
    const double hs = stack.hoogte, d = stack.diameter, v = stack.uittree;
    const double us = hs > 10.0 ? u10 * std::pow(hs / 10.0, kWindExponent[k]) : u10;
    p.windAtStack = std::max(us, 1.0);
    const double u = p.windAtStack;
    // Downwash cannot take the plume below the ground.
    p.stackAfterDownwash = v < 1.5 * u ? std::max(hs + 2.0 * d * (v / u - 1.5), 0.0) : hs;
    double rise = 3.0 * d * v / u;
    if (k >= kE && d > 0.0 && v > 0.0) {
        const double fm = v * v * d * d / 4.0;
        rise = std::min(rise, 1.5 * std::cbrt(fm / (u * std::sqrt(stability(k, temperatureK)))));
    }
    p.rise = rise;
    p.effectiveHeight = p.stackAfterDownwash + rise;

    const double hb = stack.gebouwHoogte;
    if (hb > 0.0) {
        const double lb = hb;
        const double top = hb + 1.5 * lb;
        const double heightWake = hs + riseAt(stack, u, k, temperatureK, 2.0 * hb);
        p.wake = (hs <= top && heightWake <= top) || hs - hb < 0.5 * lb;
        p.wakeY = p.wake && heightWake <= 1.2 * hb;
        p.buildingLength = lb;
        if (p.wake) {
            p.wakeDistances = known != nullptr ? *known : wakeDistances(k, hb);
        }
    }
    return p;
}

Sigmas plumeSigmas(const PlumeHour& p, double x) {
    const Klasse k = p.klasse;
    const double lb = p.buildingLength;
    if (p.wake) {
        x = std::max(x, 3.0 * lb);  // inside the cavity: as at its end
    }
    double sy = sigmaY(k, x);
    double sz = sigmaZ(k, x);
    if (p.wake) {
        const auto& w = p.wakeDistances;
        if (x < 10.0 * lb) {
            sz = std::max(0.7 * lb + 0.067 * (x - 3.0 * lb), sz);
            if (p.wakeY) {
                sy = std::max(0.35 * lb + 0.067 * (x - 3.0 * lb), sy);
            }
        } else {
            // Continue from the end of the near wake at a virtual distance; the wake never makes
            // the plume narrower than it would be without the building.
            const auto& t = kSigmaZ[k];
            std::size_t s = static_cast<std::size_t>(t.count) - 1;
            for (std::size_t i = 0; i < static_cast<std::size_t>(t.count); ++i) {
                const double arg = x + std::max(w.xZ[i] - 10.0 * lb, 0.0);
                if (arg <= 1000.0 * t.segments[i].upperKm) {
                    s = i;
                    break;
                }
            }
            sz = sigmaZWith(t.segments[s], (x + std::max(w.xZ[s] - 10.0 * lb, 0.0)) / 1000.0);
            if (p.wakeY) {
                sy = sigmaY(k, x + std::max(w.xY - 10.0 * lb, 0.0));
            }
        }
    }
    const double r = p.rise / 3.5;
    return {std::sqrt(sy * sy + r * r), std::sqrt(sz * sz + r * r)};
}

double concentration(const PlumeHour& p, double zi, double x, double y, double q) {
    const bool lid = p.klasse <= kD;
    const double he = p.effectiveHeight;
    if (lid && he > zi) {
        return 0.0;
    }
    const Sigmas s = plumeSigmas(p, x);
    const double u = p.windAtStack;
    const double crosswind = std::exp(-y * y / (2.0 * s.y * s.y));
    if (lid && s.z > 1.6 * zi) {
        return q / (std::sqrt(2.0 * std::numbers::pi) * u * s.y * zi) * crosswind;
    }
    const double inv = 1.0 / (2.0 * s.z * s.z);
    double vertical;
    if (!lid) {
        vertical = 2.0 * std::exp(-he * he * inv);
    } else {
        vertical = 0.0;
        for (int n = -4; n <= 4; ++n) {
            const double a = -he + 2.0 * n * zi, b = he + 2.0 * n * zi;
            vertical += std::exp(-a * a * inv) + std::exp(-b * b * inv);
        }
    }
    return q / (2.0 * std::numbers::pi * u * s.y * s.z) * crosswind * vertical;
}

bool downwind(double dx, double dy, double directionDeg, double maxDistance, double minDistance,
              double& x, double& y) {
    const double theta = directionDeg * std::numbers::pi / 180.0;
    const double sn = std::sin(theta), cs = std::cos(theta);
    x = -(dx * sn + dy * cs);
    y = dx * cs - dy * sn;
    if (x < 1.0 || dx * dx + dy * dy > maxDistance * maxDistance) {
        return false;
    }
    x = std::max(x, minDistance);
    return true;
}

}  // namespace zivirare
