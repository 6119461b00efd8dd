#include "boundary_layer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calendar.h"
#include "parallel.h"

namespace zivirare {

using namespace bl;

char klasseLetter(Klasse k) {
    return static_cast<char>('A' + static_cast<int>(k));
}

double solarElevation(int year, int dayOfYear, int hh, double latitude, double longitude) {
    constexpr double kPi = std::numbers::pi;
    const double hourUt = hh - 0.5;
    const double daysInYear = calendar::isLeap(year) ? 366.0 : 365.0;
    const double gamma = 2.0 * kPi / daysInYear * (dayOfYear - 1 + (hourUt - 12.0) / 24.0);
    const double eqTime =
        229.18 * (0.000075 + 0.001868 * std::cos(gamma) - 0.032077 * std::sin(gamma) -
                  0.014615 * std::cos(2 * gamma) - 0.040849 * std::sin(2 * gamma));
    const double decl = 0.006918 - 0.399912 * std::cos(gamma) + 0.070257 * std::sin(gamma) -
                        0.006758 * std::cos(2 * gamma) + 0.000907 * std::sin(2 * gamma) -
                        0.002697 * std::cos(3 * gamma) + 0.00148 * std::sin(3 * gamma);
    const double trueSolarMinutes = hourUt * 60.0 + eqTime + 4.0 * longitude;
    const double hourAngle = (trueSolarMinutes / 4.0 - 180.0) * kPi / 180.0;
    const double lat = latitude * kPi / 180.0;
    const double cosZenith =
        std::sin(lat) * std::sin(decl) + std::cos(lat) * std::cos(decl) * std::cos(hourAngle);
    return 90.0 - std::acos(std::clamp(cosZenith, -1.0, 1.0)) * 180.0 / kPi;
}

double estimatedRadiation(double elevationDeg, double cloudOctas) {
    if (elevationDeg <= 1.74) {
        return 0.0;
    }
    const double n = cloudOctas / 8.0;
    const double clear = 990.0 * std::sin(elevationDeg * std::numbers::pi / 180.0) - 30.0;
    return std::max(0.0, clear * (1.0 - 0.75 * std::pow(n, 3.4)));
}

double netRadiation(double incoming, double temperatureK, double cloudOctas) {
    constexpr double kAlbedo = 0.2, kC1 = 5.31e-13, kC2 = 60.0, kC3 = 0.12;
    const double n = cloudOctas / 8.0;
    const double t2 = temperatureK * temperatureK;
    const double t4 = t2 * t2;
    return ((1.0 - kAlbedo) * incoming + kC1 * t4 * t2 - kSigmaSB * t4 + kC2 * n) / (1.0 + kC3);
}

double psiM(double zeta) {
    const double mu = std::pow(1.0 - 16.0 * zeta, 0.25);
    return 2.0 * std::log((1.0 + mu) / 2.0) + std::log((1.0 + mu * mu) / 2.0) -
           2.0 * std::atan(mu) + std::numbers::pi / 2.0;
}

SurfaceLayer surfaceLayer(double netRad, double u10, double temperatureK, double cloudOctas,
                          double z0) {
    SurfaceLayer s;
    const double logZ = std::log(kZref / z0);
    if (netRad > 0.0) {
        constexpr double kBowen = 0.6;
        s.heatFlux = 0.9 * netRad / (1.0 + 1.0 / kBowen);
        const double lFactor = -kRho * kCp * temperatureK / (kKarman * kG * s.heatFlux);
        s.ustar = kKarman * u10 / logZ;
        s.obukhov = lFactor * s.ustar * s.ustar * s.ustar;
        for (int round = 0; round < 20; ++round) {
            s.ustar = kKarman * u10 / (logZ - psiM(kZref / s.obukhov) + psiM(z0 / s.obukhov));
            const double next = lFactor * s.ustar * s.ustar * s.ustar;
            const bool settled = std::abs(next - s.obukhov) < 0.01 * std::abs(s.obukhov);
            s.obukhov = next;
            if (settled) {
                break;
            }
        }
        return s;
    }
    const double n = cloudOctas / 8.0;
    double thetaStar = 0.09 * (1.0 - 0.5 * n * n);
    const double cdn = kKarman / logZ;
    const double u0 = std::sqrt(5.0 * kZref * kG * thetaStar / temperatureK);
    const double ratio = 2.0 * u0 / (std::sqrt(cdn) * u10);
    if (ratio * ratio <= 1.0) {
        s.ustar = cdn * u10 / 2.0 * (1.0 + std::sqrt(1.0 - ratio * ratio));
    } else {
        const double uCritical = 2.0 * u0 / std::sqrt(cdn);
        s.ustar = cdn * uCritical / 2.0 * u10 / uCritical;
        thetaStar *= u10 / uCritical;
    }
    s.obukhov = temperatureK * s.ustar * s.ustar / (kKarman * kG * thetaStar);
    return s;
}

Klasse klasseFromObukhov(double obukhov, double z0) {
    constexpr double kA[kKlasseCount] = {-0.096, -0.037, -0.002, 0.0, 0.004, 0.035};
    constexpr double kB[kKlasseCount] = {0.029, 0.029, 0.018, 0.0, -0.018, -0.036};
    const double inverse = 1.0 / obukhov;
    const double logZ0 = std::log10(z0);
    int best = kD;
    double bestDistance = INFINITY;
    for (int c = 0; c < kKlasseCount; ++c) {
        const double distance = std::abs(inverse - (kA[c] + kB[c] * logZ0));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = c;
        }
    }
    return static_cast<Klasse>(best);
}

std::vector<HourState> hourStates(const MeteoSeries& series, double z0, int threads) {
    const auto position = stationPosition(series.station);
    std::vector<HourState> states(series.hours.size());
    parallelFor(states.size(), threads, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            const MeteoHour& m = series.hours[i];
            HourState& s = states[i];
            s.elevation =
                solarElevation(m.year, m.dayOfYear, m.hh, position.latitude, position.longitude);
            if (!m.valid) {
                continue;
            }
            s.valid = true;
            s.u10 = m.u10;
            s.direction = m.direction;
            s.temperature = m.temperature;
            const double incoming =
                m.hasRadiation ? m.radiation : estimatedRadiation(s.elevation, m.cloud);
            const double netRad = netRadiation(incoming, m.temperature, m.cloud);
            const SurfaceLayer sl = surfaceLayer(netRad, m.u10, m.temperature, m.cloud, z0);
            s.ustar = sl.ustar;
            s.obukhov = sl.obukhov;
            s.heatFlux = sl.heatFlux;
            s.klasse = klasseFromObukhov(sl.obukhov, z0);
        }
    });

    double zm = 0.0;   // mechanical mixing height carried from hour to hour
    double zc2 = 0.0;  // square of the convective height grown since sunrise
    constexpr double kSecondsPerHour = 3600.0;
    constexpr double kLapse = 0.005;  // K/m above the mixing layer
    for (HourState& s : states) {
        if (s.elevation <= 0.0) {
            zc2 = 0.0;
        }
        if (!s.valid) {
            continue;
        }
        const double zmEq = 2400.0 * std::pow(s.ustar, 1.5);
        const double tau = zm / (2.0 * s.ustar);
        const double keep = tau > 0.0 ? std::exp(-kSecondsPerHour / tau) : 0.0;
        zm = std::min(zm * keep + zmEq * (1.0 - keep), 4000.0);
        if (s.heatFlux > 0.0) {
            zc2 += 2.0 * (1.0 + 2.0 * 0.2) * s.heatFlux * kSecondsPerHour / (kRho * kCp * kLapse);
        }
        s.mixingHeight = s.klasse >= kE ? kNoLid : std::max({std::sqrt(zc2), zm, 50.0});
    }
    return states;
}

}  // namespace zivirare
