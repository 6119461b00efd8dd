#include "results.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "constants.h"
#include "text.h"

namespace zivirare {

namespace {

constexpr std::size_t width(int first, int last) {
    return static_cast<std::size_t>(last - first + 1);
}

// A number right-aligned in its field. A value too wide for the field with the wanted decimals
// gets fewer decimals, so that it never runs into the next field.
std::string numberField(double value, int decimals, std::size_t fieldWidth) {
    for (int d = decimals; d >= 0; --d) {
        const std::string s = text::formatFixed(value, d);
        if (s.size() <= fieldWidth) {
            return text::padLeft(s, fieldWidth);
        }
    }
    return std::string(fieldWidth, '9');
}

}  // namespace

std::string versionLine(const ResultsHeader& h) {
    std::string line = std::string(kVersionPrefix) + std::string(kVersion) + ", meteo " +
                       h.station + " " + std::to_string(h.firstYear) + "-" +
                       std::to_string(h.lastYear);
    if (h.synthetic) {
        line += kSyntheticSuffix;
    }
    if (line.size() > static_cast<std::size_t>(kVersionLineMax)) {
        line.resize(static_cast<std::size_t>(kVersionLineMax));
    }
    return line;
}

std::string resultLine(const Location& l, double load) {
    std::string line;
    line += text::padLeft(std::to_string(l.volgnummer), width(kSeqFirstColumn, kSeqLastColumn));
    // A tab or other control byte in a label would shift the columns for a reader.
    std::string label = l.label;
    for (char& c : label) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = ' ';
        }
    }
    line += text::fitRight(label, width(kLabelFirstColumn, kLabelLastColumn));
    line += numberField(l.x, 1, width(kXFirstColumn, kXLastColumn));
    line += numberField(l.y, 1, width(kYFirstColumn, kYLastColumn));
    line += numberField(l.norm, 1, width(kNormFirstColumn, kNormLastColumn));
    line += numberField(load, 3, width(kLoadFirstColumn, kLoadLastColumn));
    return line;
}

std::string formatResults(const ResultsHeader& h, const std::vector<Location>& locations,
                          const std::vector<double>& loads) {
    constexpr std::string_view kEnd = "\r\n";
    std::string out;
    out += kResultsTitle;
    out += kEnd;
    out += versionLine(h);
    out += kEnd;
    out += text::padLeft("Volgnr", width(kSeqFirstColumn, kSeqLastColumn));
    out += text::fitRight(" Naam", width(kLabelFirstColumn, kLabelLastColumn));
    out += text::padLeft("X", width(kXFirstColumn, kXLastColumn));
    out += text::padLeft("Y", width(kYFirstColumn, kYLastColumn));
    out += text::padLeft("Norm", width(kNormFirstColumn, kNormLastColumn));
    out += text::padLeft("Geurbelasting", width(kLoadFirstColumn, kLoadLastColumn));
    out += "  uren geldig " + std::to_string(h.validHours) + " kalm " +
           std::to_string(h.calmHours) + " ongeldig " + std::to_string(h.invalidHours);
    out += kEnd;
    for (std::size_t i = 0; i < locations.size(); ++i) {
        out += resultLine(locations[i], loads[i]);
        out += kEnd;
    }
    return out;
}

bool writeFileAtomically(const std::string& dir, const std::string& name,
                         const std::string& tempName, const std::string& contents) {
    const std::filesystem::path temp = std::filesystem::path(dir) / tempName;
    const std::filesystem::path target = std::filesystem::path(dir) / name;
    std::error_code ec;
    bool ok = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
            out.flush();
            ok = static_cast<bool>(out);
        }
    }
    if (ok) {
        std::filesystem::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        std::filesystem::remove(temp, ec);
    }
    return ok;
}

}  // namespace zivirare
