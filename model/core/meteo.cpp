#include "meteo.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calendar.h"
#include "text.h"

namespace zivirare {

namespace {

enum Column { kStn, kDate, kHh, kDd, kFh, kT, kN, kQ, kColumnCount };
constexpr std::array<std::string_view, kColumnCount> kColumnNames = {"STN", "YYYYMMDD", "HH", "DD",
                                                                     "FH",  "T",        "N",  "Q"};
constexpr int kRequiredColumns = kFh + 1;  // STN .. FH must be present; T, N, Q may be absent

void splitCommas(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t start = 0;
    while (true) {
        const auto comma = line.find(',', start);
        fields.push_back(text::trim(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
}

// A header is "STN," after an optional "#" and blanks.
bool headerFields(std::string_view line, std::vector<std::string_view>& fields) {
    auto rest = text::trim(line);
    if (!rest.empty() && rest.front() == '#') {
        rest = text::trim(rest.substr(1));
    }
    if (rest.substr(0, 4) != "STN,") {
        return false;
    }
    splitCommas(rest, fields);
    return true;
}

}  // namespace

MeteoStatus parseMeteo(std::string_view bytes, std::string_view fileName, MeteoFile& file,
                       RunLog& log) {
    file = MeteoFile{};
    if (const auto z = bytes.find('\x1a'); z != std::string_view::npos) {
        bytes = bytes.substr(0, z);
    }
    const auto lines = text::splitLines(bytes);
    std::array<int, kColumnCount> index{};
    index.fill(-1);
    bool haveHeader = false;
    int neededFields = 0;
    std::vector<std::string_view> fields;
    file.hours.reserve(lines.size());
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const auto line = text::trim(lines[n]);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '#' && line.find("SYNTHETISCH") != std::string_view::npos) {
            file.synthetic = true;
        }
        if (headerFields(line, fields)) {
            index.fill(-1);
            for (std::size_t f = 0; f < fields.size(); ++f) {
                for (std::size_t c = 0; c < kColumnCount; ++c) {
                    if (fields[f] == kColumnNames[c] && index[c] < 0) {
                        index[c] = static_cast<int>(f);
                    }
                }
            }
            haveHeader = std::all_of(index.begin(), index.begin() + kRequiredColumns,
                                     [](int i) { return i >= 0; });
            if (!haveHeader) {
                log.error(std::string(fileName) + " regel " + std::to_string(n + 1) +
                          ": kolommen STN, YYYYMMDD, HH, DD en FH niet alle gevonden");
                return MeteoStatus::kNoHeader;
            }
            neededFields = 1 + *std::max_element(index.begin(), index.end());
            continue;
        }
        if (line.front() == '#' || !haveHeader) {
            continue;
        }
        splitCommas(line, fields);
        const auto bad = [&](std::string_view what) {
            log.error(std::string(fileName) + " regel " + std::to_string(n + 1) + ": " +
                      std::string(what));
            return MeteoStatus::kMalformed;
        };
        if (static_cast<int>(fields.size()) < neededFields) {
            return bad("te weinig velden");
        }
        std::array<int32_t, kColumnCount> value{};
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            value[c] = kMissing;
            if (index[c] < 0) {
                continue;
            }
            const auto field = fields[static_cast<std::size_t>(index[c])];
            if (field.empty()) {
                continue;
            }
            const auto v = text::parseInt(field);
            if (!v || *v < -1000000 || *v > 100000000) {
                return bad("veld " + std::string(kColumnNames[c]) + " is geen geheel getal");
            }
            value[c] = static_cast<int32_t>(*v);
        }
        RawHour h;
        h.stn = value[kStn];
        h.date = value[kDate];
        h.hh = value[kHh];
        h.dd = value[kDd];
        h.fh = value[kFh];
        h.t = value[kT];
        h.n = value[kN];
        h.q = value[kQ];
        if (h.date == kMissing || h.hh == kMissing ||
            !calendar::isValidDate(h.date / 10000, h.date / 100 % 100, h.date % 100) || h.hh < 1 ||
            h.hh > 24) {
            return bad("geen geldige datum (YYYYMMDD) en uur (1-24)");
        }
        if ((h.dd != kMissing && (h.dd < 0 || (h.dd > 360 && h.dd != 990))) ||
            (h.fh != kMissing && h.fh < 0)) {
            return bad("windrichting of windsnelheid buiten bereik");
        }
        file.hours.push_back(h);
    }
    if (!haveHeader) {
        log.error(std::string(fileName) + ": geen kopregel \"# STN,\" met kolomnamen gevonden");
        return MeteoStatus::kNoHeader;
    }
    return MeteoStatus::kOk;
}

int64_t Period::hourCount() const {
    const int64_t first = calendar::daysFromCivil(firstYear, firstMonth, firstDay) * 24 + firstHour;
    const int64_t last = calendar::daysFromCivil(lastYear, lastMonth, lastDay) * 24 + lastHour;
    return std::max<int64_t>(0, last - first + 1);
}

int64_t Period::indexOf(int32_t date, int32_t hh) const {
    const int64_t first = calendar::daysFromCivil(firstYear, firstMonth, firstDay) * 24 + firstHour;
    const int64_t at =
        calendar::daysFromCivil(date / 10000, date / 100 % 100, date % 100) * 24 + hh;
    const int64_t i = at - first;
    return i >= 0 && i < hourCount() ? i : -1;
}

MeteoSeries buildSeries(const MeteoFile& file, const Period& period) {
    MeteoSeries series;
    series.synthetic = file.synthetic;
    const int64_t count = period.hourCount();
    std::vector<const RawHour*> slot(static_cast<std::size_t>(count), nullptr);
    for (const auto& h : file.hours) {
        const int64_t i = period.indexOf(h.date, h.hh);
        if (i < 0) {
            continue;
        }
        auto& s = slot[static_cast<std::size_t>(i)];
        if (s != nullptr) {
            ++series.duplicateCount;  // the later line of a repeated hour wins
        }
        s = &h;
        if (series.station == kMissing && h.stn != kMissing) {
            series.station = h.stn;
        }
    }
    series.hours.resize(static_cast<std::size_t>(count));
    const int64_t firstDay =
        calendar::daysFromCivil(period.firstYear, period.firstMonth, period.firstDay);
    double lastDirection = 225.0, lastT = 10.0, lastN = 6.0;
    for (int64_t i = 0; i < count; ++i) {
        MeteoHour& m = series.hours[static_cast<std::size_t>(i)];
        const int64_t hourNumber = i + period.firstHour - 1;  // hours since firstDay 00 UT, ending
        const auto date = calendar::civilFromDays(firstDay + hourNumber / 24);
        m.year = date.year;
        m.dayOfYear = calendar::dayOfYear(date.year, date.month, date.day);
        m.hh = static_cast<int>(hourNumber % 24) + 1;
        const RawHour* raw = slot[static_cast<std::size_t>(i)];
        if (raw != nullptr && raw->t != kMissing) {
            lastT = raw->t / 10.0;
        }
        if (raw != nullptr && raw->n != kMissing) {
            lastN = std::min(raw->n, 8);
        }
        m.temperature = lastT + 273.15;
        m.cloud = lastN;
        if (raw == nullptr || raw->dd == kMissing || raw->fh == kMissing) {
            ++series.invalidCount;
            continue;
        }
        m.valid = true;
        ++series.validCount;
        m.calm = raw->fh == 0 || raw->dd == 0;
        m.variable = !m.calm && raw->dd == 990;
        if (m.calm) {
            ++series.calmCount;
        } else if (m.variable) {
            ++series.variableCount;
        } else {
            lastDirection = raw->dd;
        }
        m.direction = lastDirection;
        m.u10 = std::max(raw->fh / 10.0, 0.5);
        if (raw->q != kMissing && raw->q >= 0) {
            m.hasRadiation = true;
            m.radiation = raw->q * 1.0e4 / 3600.0;
        }
    }
    return series;
}

std::string stationName(int32_t stn) {
    if (stn == 370) {
        return "Eindhoven";
    }
    if (stn == 240) {
        return "Schiphol";
    }
    return stn == kMissing ? std::string("onbekend") : std::to_string(stn);
}

StationPosition stationPosition(int32_t stn) {
    if (stn == 370) {
        return {51.451, 5.377};
    }
    if (stn == 240) {
        return {52.318, 4.790};
    }
    return {52.1, 5.2};
}

}  // namespace zivirare
