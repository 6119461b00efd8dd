#include "synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "boundary_layer.h"
#include "calendar.h"
#include "text.h"

namespace zivirare {

namespace {

// splitmix64: small, fast, and the same everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    double uniform() {  // in (0, 1)
        return (static_cast<double>(next() >> 11) + 0.5) * 0x1.0p-53;
    }
    double normal() {
        const double u1 = uniform(), u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    }

private:
    uint64_t next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint64_t m_state;
};

// A standard normal series with lag-one correlation rho.
struct Persistent {
    double rho, value = 0.0;
    double step(Random& r) {
        value = rho * value + std::sqrt(1.0 - rho * rho) * r.normal();
        return value;
    }
};

std::string field(int32_t v, std::size_t width) {
    return text::padLeft(v == kMissing ? std::string() : std::to_string(v), width);
}

}  // namespace

std::string columnHeaderLine() {
    return "# STN,YYYYMMDD,   HH,   DD,   FH,    T,    N,    Q";
}

std::string formatHourLine(const RawHour& h) {
    return field(h.stn, 5) + "," + field(h.date, 8) + "," + field(h.hh, 5) + "," + field(h.dd, 5) +
           "," + field(h.fh, 5) + "," + field(h.t, 5) + "," + field(h.n, 5) + "," + field(h.q, 5);
}

std::string synthesize(int32_t station) {
    const double meanWind = station == 370 ? 3.6 : station == 240 ? 5.0 : 4.3;
    constexpr double kShape = 1.8;
    // The daily and yearly factors and the hourly rounding take a few per cent off the mean.
    const double scale = 1.035 * meanWind / std::tgamma(1.0 + 1.0 / kShape);
    const auto position = stationPosition(station);
    Random random(0x5EED0000ull + static_cast<uint64_t>(station));
    Persistent speed{0.93}, direction{0.985}, cloud{0.97}, warmth{0.96};

    std::string out;
    out.reserve(44000 * 50);
    out +=
        "# SYNTHETISCH: gegenereerde uurgegevens, geen waarnemingen. Alleen voor demonstratie en "
        "tests.\r\n";
    out += "# Station " + std::to_string(station) + " (" + stationName(station) +
           "), 1995-1999, gemaakt door zivirare-meteo synth\r\n";
    out +=
        "# DD = windrichting (graden, 0 windstil, 990 veranderlijk); FH = uurgemiddelde "
        "windsnelheid (0.1 m/s);\r\n";
    out +=
        "# T = temperatuur (0.1 graden Celsius); N = bewolking (achtsten); Q = globale "
        "straling (J/cm2)\r\n";
    out += "#\r\n";
    out += columnHeaderLine() + "\r\n";
    out += "#\r\n";
    const int64_t first = calendar::daysFromCivil(1995, 1, 1);
    const int64_t last = calendar::daysFromCivil(1999, 12, 31);
    for (int64_t day = first; day <= last; ++day) {
        const auto date = calendar::civilFromDays(day);
        const int doy = calendar::dayOfYear(date.year, date.month, date.day);
        const double season = std::cos(2.0 * std::numbers::pi * (doy - 15) / 365.25);
        for (int hh = 1; hh <= 24; ++hh) {
            const double hourUt = hh - 0.5;
            const double daily = std::sin(2.0 * std::numbers::pi * (hourUt - 9.0) / 24.0);
            RawHour h;
            h.stn = station;
            h.date = date.year * 10000 + date.month * 100 + date.day;
            h.hh = hh;
            const double u = 0.5 * std::erfc(-speed.step(random) / std::numbers::sqrt2);
            const double v = scale * std::pow(-std::log1p(-u), 1.0 / kShape) * (1.0 + 0.2 * daily) *
                             (1.0 + 0.12 * season);
            h.fh = static_cast<int32_t>(std::lround(v * 10.0));
            // Light winds are often reported as calm.
            if (h.fh < 10 && random.uniform() < 0.4) {
                h.fh = 0;
            }
            double dd = std::fmod(225.0 + 80.0 * direction.step(random), 360.0);
            if (dd < 0.0) {
                dd += 360.0;
            }
            int32_t ddRounded = static_cast<int32_t>(std::lround(dd / 10.0)) * 10;
            if (ddRounded == 0) {
                ddRounded = 360;
            }
            const bool variable = h.fh <= 15 && random.uniform() < 0.05;
            h.dd = h.fh == 0 ? 0 : variable ? 990 : ddRounded;
            const double octas = std::clamp(5.5 + 2.6 * cloud.step(random), 0.0, 8.0);
            h.n = static_cast<int32_t>(std::lround(octas));
            const double t = 10.0 - 7.0 * season + 4.0 * (1.0 - 0.6 * octas / 8.0) * daily +
                             2.0 * warmth.step(random);
            h.t = static_cast<int32_t>(std::lround(t * 10.0));
            const double elevation =
                solarElevation(date.year, doy, hh, position.latitude, position.longitude);
            const double k = estimatedRadiation(elevation, octas);
            h.q = static_cast<int32_t>(std::lround(k * 3600.0 / 1.0e4));
            out += formatHourLine(h);
            out += "\r\n";
        }
    }
    return out;
}

std::string importHours(const MeteoFile& file, ImportReport& report) {
    report = ImportReport{};
    const Period period{1995, 1, 1, 1, 1999, 12, 31, 24};
    std::vector<const RawHour*> slot(static_cast<std::size_t>(period.hourCount()), nullptr);
    int32_t station = kMissing;
    for (const auto& h : file.hours) {
        const int64_t i = period.indexOf(h.date, h.hh);
        if (i >= 0) {
            slot[static_cast<std::size_t>(i)] = &h;
            if (station == kMissing) {
                station = h.stn;
            }
        }
    }
    std::string out;
    out += "# Uurgegevens 1995-1999 van station " + stationName(station) +
           ", overgenomen door zivirare-meteo import\r\n";
    if (file.synthetic) {
        // A copy of generated data stays marked, so that no report passes it off as measured.
        out += "# SYNTHETISCH: overgenomen uit een gegenereerd bestand\r\n";
    }
    out += columnHeaderLine() + "\r\n";
    for (const RawHour* h : slot) {
        if (h == nullptr) {
            ++report.absent;
            continue;
        }
        ++report.copied;
        if (h->dd == kMissing || h->fh == kMissing) {
            ++report.incomplete;
        }
        out += formatHourLine(*h);
        out += "\r\n";
    }
    return out;
}

std::string statistics(const MeteoFile& file, double z0) {
    if (file.hours.empty()) {
        return "Geen uren in het bestand.\n";
    }
    auto [firstIt, lastIt] =
        std::minmax_element(file.hours.begin(), file.hours.end(), [](const auto& a, const auto& b) {
            return a.date != b.date ? a.date < b.date : a.hh < b.hh;
        });
    const Period period{
        firstIt->date / 10000, firstIt->date / 100 % 100, firstIt->date % 100, firstIt->hh,
        lastIt->date / 10000,  lastIt->date / 100 % 100,  lastIt->date % 100,  lastIt->hh};
    const MeteoSeries series = buildSeries(file, period);
    const auto states = hourStates(series, z0);
    std::array<int64_t, 12> sectors{};
    std::array<int64_t, kKlasseCount> classes{};
    double windSum = 0.0;
    for (std::size_t i = 0; i < series.hours.size(); ++i) {
        const auto& m = series.hours[i];
        if (!m.valid) {
            continue;
        }
        windSum += m.u10;
        ++classes[static_cast<std::size_t>(states[i].klasse)];
        if (!m.calm && !m.variable) {
            const auto s = static_cast<std::size_t>(std::lround(m.direction / 30.0)) % 12;
            ++sectors[s];
        }
    }
    const double valid = static_cast<double>(std::max<int64_t>(series.validCount, 1));
    const auto pct = [&](double n) { return text::formatFixed(100.0 * n / valid, 1) + " %"; };
    std::string out;
    out += "Station " + stationName(series.station) + (file.synthetic ? " (synthetisch)" : "") +
           ", " + std::to_string(period.firstYear) + "-" + std::to_string(period.lastYear) + "\n";
    out += "Uren: " + std::to_string(series.hours.size()) + ", geldig " +
           std::to_string(series.validCount) + ", ongeldig " + std::to_string(series.invalidCount) +
           "\n";
    out += "Windstil: " + pct(static_cast<double>(series.calmCount)) +
           ", veranderlijk: " + pct(static_cast<double>(series.variableCount)) + "\n";
    out += "Gemiddelde wind: " + text::formatFixed(windSum / valid, 2) + " m/s\n";
    out += "Windroos (sector rond richting, waar de wind vandaan komt):\n";
    for (std::size_t s = 0; s < sectors.size(); ++s) {
        out += text::padLeft(std::to_string(s * 30), 5) +
               " graden: " + pct(static_cast<double>(sectors[s])) + "\n";
    }
    out += "Stabiliteitsklassen bij z0 = " + text::formatGeneral(z0, 6) + " m:\n";
    for (int c = 0; c < kKlasseCount; ++c) {
        out += std::string("  ") + klasseLetter(static_cast<Klasse>(c)) + ": " +
               pct(static_cast<double>(classes[static_cast<std::size_t>(c)])) + "\n";
    }
    return out;
}

}  // namespace zivirare
