// zivirare-meteo: synthetic weather files, import of the weather service's hourly files, and a
// summary of a weather file.

#include <fstream>
#include <iostream>
#include <string>

#include "args.h"
#include "log.h"
#include "meteo.h"
#include "synth.h"
#include "text.h"

namespace {

using namespace zivirare;

constexpr const char* kHelp =
    "Gebruik: zivirare-meteo synth --station 370|240 --out BESTAND\n"
    "         zivirare-meteo import BESTAND --out BESTAND\n"
    "         zivirare-meteo stats BESTAND [--ruwheid Z0]\n"
    "\n"
    "synth   schrijft vijf jaar (1995-1999) synthetische uurgegevens in de indeling van de\n"
    "        uurgegevens van het KNMI, gemarkeerd als SYNTHETISCH; steeds dezelfde bytes.\n"
    "import  neemt de uren van 1995-1999 over uit een bestand met uurgegevens en meldt de gaten.\n"
    "stats   toont de windroos (12 sectoren), het aandeel windstille uren, de gemiddelde wind en\n"
    "        het aandeel van elke stabiliteitsklasse (ruwheid standaard 0.1 m).\n";

int usage(const std::string& message) {
    std::cerr << "zivirare-meteo: " << message << "\n\n" << kHelp;
    return 2;
}

bool writeOut(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        std::cerr << "zivirare-meteo: kan " << path << " niet schrijven\n";
        return false;
    }
    return true;
}

bool readWeather(const std::string& path, MeteoFile& file) {
    std::string bytes;
    if (text::readFile(path, bytes) != text::ReadStatus::kOk) {
        std::cerr << "zivirare-meteo: kan " << path << " niet lezen\n";
        return false;
    }
    RunLog log;
    if (parseMeteo(bytes, path, file, log) != MeteoStatus::kOk) {
        for (const auto& line : log.lines()) {
            std::cerr << "zivirare-meteo: " << line << "\n";
        }
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::cout << kHelp;
        return argc < 2 ? 2 : 0;
    }
    const std::string command = argv[1];
    const tools::Args args(argc, argv, 2);
    if (args.has("--help")) {
        std::cout << kHelp;
        return 0;
    }
    if (command == "synth") {
        const auto station = tools::number(args.value("--station"));
        const auto out = args.value("--out");
        if (!station || (*station != 370 && *station != 240) || !out) {
            return usage("synth vraagt --station 370 of 240 en --out BESTAND");
        }
        return writeOut(*out, synthesize(static_cast<int32_t>(*station))) ? 0 : 1;
    }
    if (command == "import") {
        const auto files = args.positional();
        const auto out = args.value("--out");
        if (files.size() != 1 || !out) {
            return usage("import vraagt BESTAND en --out BESTAND");
        }
        MeteoFile file;
        if (!readWeather(files.front(), file)) {
            return 1;
        }
        ImportReport report;
        const std::string bytes = importHours(file, report);
        if (!writeOut(*out, bytes)) {
            return 1;
        }
        std::cout << "Overgenomen: " << report.copied << " uren; ontbrekend: " << report.absent
                  << " uren; zonder windrichting of windsnelheid: " << report.incomplete
                  << " uren\n";
        return 0;
    }
    if (command == "stats") {
        const auto files = args.positional();
        if (files.size() != 1) {
            return usage("stats vraagt BESTAND");
        }
        const auto z0Text = args.value("--ruwheid");
        const auto z0 = z0Text ? tools::number(z0Text) : std::optional<double>(0.1);
        if (!z0 || *z0 < 0.001 || *z0 > 3.0) {
            return usage("--ruwheid moet tussen 0.001 en 3 m liggen");
        }
        MeteoFile file;
        if (!readWeather(files.front(), file)) {
            return 1;
        }
        std::cout << statistics(file, *z0);
        return 0;
    }
    return usage("onbekende opdracht " + command);
}
