#include "inputs.h"

#include <optional>

#include "calendar.h"
#include "constants.h"
#include "text.h"

namespace zivirare {

namespace {

// Lines of a file with the empty ones at the end dropped (and a Ctrl-Z that some editors append).
std::vector<std::string_view> contentLines(std::string_view bytes) {
    if (const auto z = bytes.find('\x1a'); z != std::string_view::npos) {
        bytes = bytes.substr(0, z);
    }
    auto lines = text::splitLines(bytes);
    while (!lines.empty() && text::trim(lines.back()).empty()) {
        lines.pop_back();
    }
    return lines;
}

void lineError(RunLog& log, std::string_view file, std::size_t lineNumber, std::string_view what) {
    log.error(std::string(file) + " regel " + std::to_string(lineNumber) + ": " +
              std::string(what));
}

// One record line: sequence number, one blank, a label of exactly 20 characters, one blank, then
// `count` numbers separated by blanks.
bool parseRecord(std::string_view line, int64_t& volgnummer, std::string& label,
                 std::vector<double>& numbers, std::size_t count, std::string& why) {
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ') {
        ++i;
    }
    const std::size_t seqStart = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
        ++i;
    }
    const auto seq = text::parseInt(line.substr(seqStart, i - seqStart));
    if (!seq) {
        why = "volgnummer is geen geheel getal";
        return false;
    }
    volgnummer = *seq;
    const std::size_t labelStart = i + 1;
    const std::size_t labelEnd = labelStart + static_cast<std::size_t>(kLabelWidth);
    if (i >= line.size() || line[i] != ' ' || labelEnd >= line.size() || line[labelEnd] != ' ') {
        why = "geen naam van 20 tekens tussen volgnummer en getallen";
        return false;
    }
    label.assign(line.substr(labelStart, static_cast<std::size_t>(kLabelWidth)));
    const auto tokens = text::splitBlanks(line.substr(labelEnd + 1));
    if (tokens.size() != count) {
        why = std::to_string(tokens.size()) + " getallen na de naam, verwacht " +
              std::to_string(count);
        return false;
    }
    numbers.clear();
    for (const auto token : tokens) {
        const auto value = text::parseDouble(token);
        if (!value) {
            why.assign(1, '"');
            why.append(token);
            why.append("\" is geen getal");
            return false;
        }
        numbers.push_back(*value);
    }
    return true;
}

}  // namespace

ParseStatus parseParam(std::string_view bytes, Param& param, RunLog& log) {
    const auto lines = contentLines(bytes);
    if (lines.empty()) {
        log.error(std::string(kParamFile) + " is leeg");
        return ParseStatus::kMalformed;
    }
    // Without a known station the program leaves out the file name and starts with the year.
    if (text::parseInt(text::trim(lines[0]))) {
        log.error(std::string(kParamFile) +
                  ": geen meteobestand op regel 1 (meteostation niet bekend)");
        return ParseStatus::kNoMeteoLine;
    }
    param.hasMeteoFile = true;
    param.meteoFile = std::string(text::trim(lines[0]));
    constexpr std::size_t kLines = 12;
    if (lines.size() < kLines) {
        lineError(log, kParamFile, lines.size() + 1, "ontbreekt (12 regels verwacht)");
        return ParseStatus::kMalformed;
    }
    if (lines.size() > kLines) {
        log.warning(std::string(kParamFile) + ": regels na regel 12 genegeerd");
    }
    int* ints[8] = {&param.firstYear, &param.firstMonth, &param.firstDay, &param.firstHour,
                    &param.lastYear,  &param.lastMonth,  &param.lastDay,  &param.lastHour};
    for (std::size_t k = 0; k < 8; ++k) {
        const auto value = text::parseInt(text::trim(lines[k + 1]));
        if (!value || *value < -100000 || *value > 100000) {
            lineError(log, kParamFile, k + 2, "geen geheel getal");
            return ParseStatus::kMalformed;
        }
        *ints[k] = static_cast<int>(*value);
    }
    double* doubles[3] = {&param.maxDistance, &param.z0, &param.minDistance};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto value = text::parseDouble(text::trim(lines[k + 9]));
        if (!value) {
            lineError(log, kParamFile, k + 10, "geen getal");
            return ParseStatus::kMalformed;
        }
        *doubles[k] = *value;
    }
    return ParseStatus::kOk;
}

namespace {

// The record lines after `headerLines` header lines, each with `count` numbers; `fill` makes a
// record of the sequence number, the label and the numbers.
template <typename Record, typename Fill>
ParseStatus parseRecords(std::string_view bytes, std::string_view file, int headerLines,
                         std::size_t count, std::vector<Record>& records, RunLog& log,
                         const Fill& fill) {
    const auto lines = contentLines(bytes);
    const auto headers = static_cast<std::size_t>(headerLines);
    if (lines.size() < headers) {
        lineError(log, file, lines.size() + 1, "kopregel ontbreekt");
        return ParseStatus::kMalformed;
    }
    records.clear();
    std::vector<double> numbers;
    std::string why, label;
    for (std::size_t n = headers; n < lines.size(); ++n) {
        const auto line = text::trimRight(lines[n]);
        if (line.empty()) {
            continue;
        }
        int64_t volgnummer = 0;
        if (!parseRecord(line, volgnummer, label, numbers, count, why)) {
            lineError(log, file, n + 1, why);
            return ParseStatus::kMalformed;
        }
        records.push_back(fill(volgnummer, label, numbers));
    }
    return ParseStatus::kOk;
}

}  // namespace

ParseStatus parseBronnen(std::string_view bytes, std::vector<Source>& sources, RunLog& log) {
    return parseRecords(bytes, kBronnenFile, kBronnenHeaderLines, 7, sources, log,
                        [](int64_t volgnummer, const std::string& label, const auto& v) {
                            return Source{volgnummer, label, v[0], v[1], v[2],
                                          v[3],       v[4],  v[5], v[6]};
                        });
}

ParseStatus parseGgl(std::string_view bytes, std::vector<Location>& locations, RunLog& log) {
    return parseRecords(bytes, kGglFile, kGglHeaderLines, 3, locations, log,
                        [](int64_t volgnummer, const std::string& label, const auto& v) {
                            return Location{volgnummer, label, v[0], v[1], v[2]};
                        });
}

bool checkParam(const Param& p, RunLog& log) {
    const auto bad = [&](std::string_view what) {
        log.error(std::string(kParamFile) + ": " + std::string(what));
        return false;
    };
    if (!calendar::isValidDate(p.firstYear, p.firstMonth, p.firstDay) || p.firstHour < 1 ||
        p.firstHour > 24) {
        return bad("begin van de periode is geen geldig uur (jaar, maand, dag, uur 1-24)");
    }
    if (!calendar::isValidDate(p.lastYear, p.lastMonth, p.lastDay) || p.lastHour < 1 ||
        p.lastHour > 24) {
        return bad("einde van de periode is geen geldig uur (jaar, maand, dag, uur 1-24)");
    }
    const int64_t first =
        calendar::daysFromCivil(p.firstYear, p.firstMonth, p.firstDay) * 24 + p.firstHour;
    const int64_t last =
        calendar::daysFromCivil(p.lastYear, p.lastMonth, p.lastDay) * 24 + p.lastHour;
    if (last < first) {
        return bad("einde van de periode ligt voor het begin");
    }
    // Every hour of the period is held in memory; a century is far more than any weather file.
    if (last - first >= 100LL * 366 * 24) {
        return bad("periode langer dan 100 jaar");
    }
    if (!(p.z0 >= 0.001 && p.z0 <= 3.0)) {
        return bad("ruwheidslengte " + text::formatGeneral(p.z0, 6) +
                   " m ligt niet tussen 0,001 en 3 m");
    }
    if (!(p.maxDistance > 0.0) || !(p.minDistance > 0.0)) {
        return bad("afstanden op regel 10 en 12 moeten positief zijn");
    }
    return true;
}

bool checkSources(const std::vector<Source>& sources, RunLog& log) {
    for (const auto& s : sources) {
        if (s.hoogte < 0.0 || s.gebouwHoogte < 0.0 || s.diameter < 0.0 || s.uittree < 0.0 ||
            s.emissie < 0.0) {
            log.error(std::string(kBronnenFile) + ": emissiepunt " + std::to_string(s.volgnummer) +
                      " heeft een negatieve hoogte, diameter, uittreesnelheid of emissie");
            return false;
        }
    }
    return true;
}

}  // namespace zivirare
