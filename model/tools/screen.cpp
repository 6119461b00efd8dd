// zivirare-screen: one hour, one stack, no weather file. Prints per downwind distance the
// effective height, the dispersion coefficients and the ground-level concentration for an
// emission of 1 unit/s, so that consultants can look at worst cases.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "args.h"
#include "boundary_layer.h"
#include "constants.h"
#include "plume.h"
#include "text.h"

namespace {

using namespace zivirare;

constexpr const char* kHelp =
    "Gebruik: zivirare-screen --klasse A..F --u10 M/S --hoogte M --diameter M --uittree M/S\n"
    "                         [--gebouw M] [--menghoogte M] [--y M] [--temperatuur C]\n"
    "                         --afstanden X1,X2,...\n"
    "\n"
    "Rekent een uur met een emissiepunt door, zonder meteobestand: stabiliteitsklasse, wind op\n"
    "10 m, emissiehoogte, binnendiameter, uittreesnelheid, gemiddelde gebouwhoogte (standaard 0,\n"
    "geen gebouw), menghoogte (standaard geen), zijdelingse afstand tot de pluimas (standaard 0)\n"
    "en buitentemperatuur (standaard 20 graden C). Per benedenwindse afstand (m) een regel met:\n"
    "afstand, effectieve hoogte He, sigma-y, sigma-z (m) en de concentratie bij een emissie van\n"
    "1 eenheid/s (eenheden/m3), met zes significante cijfers. Regels met # zijn commentaar.\n";

int usage(const std::string& message) {
    std::cerr << "zivirare-screen: " << message << "\n\n" << kHelp;
    return 2;
}

std::string g(double v) {
    return text::formatGeneral(v, 6);
}

}  // namespace

int main(int argc, char** argv) {
    const tools::Args args(argc, argv, 1);
    if (args.has("--help")) {
        std::cout << kHelp;
        return 0;
    }
    if (const auto unknown =
            args.unknown({"--klasse", "--u10", "--hoogte", "--diameter", "--uittree", "--gebouw",
                          "--menghoogte", "--y", "--temperatuur", "--afstanden"});
        !unknown.empty()) {
        return usage("onbekende optie " + unknown.front());
    }
    const auto klasseText = args.value("--klasse");
    if (!klasseText || klasseText->size() != 1 || (*klasseText)[0] < 'A' ||
        (*klasseText)[0] > 'F') {
        return usage("--klasse moet A, B, C, D, E of F zijn");
    }
    const auto klasse = static_cast<Klasse>((*klasseText)[0] - 'A');
    const auto u10 = tools::number(args.value("--u10"));
    const auto hoogte = tools::number(args.value("--hoogte"));
    const auto diameter = tools::number(args.value("--diameter"));
    const auto uittree = tools::number(args.value("--uittree"));
    if (!u10 || !hoogte || !diameter || !uittree) {
        return usage("--u10, --hoogte, --diameter en --uittree zijn verplicht en numeriek");
    }
    if (*u10 <= 0.0 || *hoogte < 0.0 || *diameter < 0.0 || *uittree < 0.0) {
        return usage(
            "windsnelheid moet positief zijn; hoogte, diameter en uittreesnelheid niet "
            "negatief");
    }
    const auto optional = [&](const char* name, double fallback) -> std::optional<double> {
        const auto text = args.value(name);
        return text ? tools::number(text) : std::optional<double>(fallback);
    };
    const auto gebouw = optional("--gebouw", 0.0);
    const auto menghoogte = optional("--menghoogte", bl::kNoLid);
    const auto crosswind = optional("--y", 0.0);
    const auto temperatuur = optional("--temperatuur", 20.0);
    if (!gebouw || !menghoogte || !crosswind || !temperatuur || *gebouw < 0.0 ||
        *menghoogte <= 0.0 || *temperatuur <= -273.15) {
        return usage("--gebouw, --menghoogte, --y of --temperatuur is geen geldig getal");
    }
    const auto list = args.value("--afstanden");
    if (!list) {
        return usage("--afstanden ontbreekt");
    }
    std::vector<double> distances;
    std::size_t start = 0;
    while (start <= list->size()) {
        const auto comma = list->find(',', start);
        const auto token = text::trim(std::string_view(*list).substr(
            start, comma == std::string::npos ? std::string::npos : comma - start));
        const auto x = text::parseDouble(token);
        if (!x || *x <= 0.0) {
            return usage("afstand \"" + std::string(token) + "\" is geen positief getal");
        }
        distances.push_back(*x);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }

    const Stack stack{*hoogte, *gebouw, *diameter, *uittree};
    const double temperatureK = *temperatuur + 273.15;
    const PlumeHour p = plumeHour(stack, klasse, *u10, temperatureK);
    std::string out;
    out += "# zivirare-screen " + std::string(kVersion) + ": klasse " + klasseLetter(klasse) +
           ", u10 " + g(*u10) + " m/s, wind op emissiehoogte " + g(p.windAtStack) + " m/s\n";
    out += "# emissiehoogte " + g(*hoogte) + " m, na downwash " + g(p.stackAfterDownwash) +
           " m, pluimstijging " + g(p.rise) + " m, gebouw " + g(*gebouw) + " m" +
           (p.wake ? (p.wakeY ? " (gebouwinvloed op sigma-y en sigma-z)"
                              : " (gebouwinvloed op sigma-z)")
                   : "") +
           "\n";
    out += "# menghoogte " +
           (*menghoogte >= bl::kNoLid ? std::string("geen") : g(*menghoogte) + " m") +
           ", zijdelings " + g(*crosswind) + " m, temperatuur " + g(*temperatuur) + " C\n";
    out += "# afstand_m He_m sigma_y_m sigma_z_m concentratie_per_m3\n";
    for (const double x : distances) {
        const Sigmas s = plumeSigmas(p, x);
        const double c = concentration(p, *menghoogte, x, *crosswind, 1.0);
        out += g(x) + " " + g(p.effectiveHeight) + " " + g(s.y) + " " + g(s.z) + " " + g(c) + "\n";
    }
    std::cout << out;
    return 0;
}
