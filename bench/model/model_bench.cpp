// Prints the speed of the model for 10 emission points, 50 sensitive locations and the five
// synthetic Eindhoven years (43,824 hours): evaluations per second of the kernel, and the time
// of a whole ping() (reading, computing, writing), with all cores and with one thread.

#include <dlfcn.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "boundary_layer.h"
#include "kernel.h"
#include "meteo.h"
#include "paths.h"
#include "text.h"

namespace {

namespace fs = std::filesystem;
using namespace zivirare;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// A farm of 10 emission points in a 200 m square and 50 houses on rings from 100 m to 2 km.
void farm(std::vector<Source>& sources, std::vector<Location>& locations) {
    for (int i = 0; i < 10; ++i) {
        Source s;
        s.volgnummer = i + 1;
        s.label = text::fitRight("Stal " + std::to_string(i + 1), 20);
        s.x = 155000.0 + 20.0 * (i % 5) * 5;
        s.y = 463000.0 + 100.0 * (i / 5);
        s.hoogte = 5.0 + i % 4;
        s.gebouwHoogte = i % 3 == 0 ? 0.0 : 4.0 + i % 2;
        s.diameter = 0.5;
        s.uittree = 2.0 + i % 5;
        s.emissie = 2000.0 + 1000.0 * i;
        sources.push_back(s);
    }
    for (int j = 0; j < 50; ++j) {
        Location l;
        l.volgnummer = 11 + j;
        l.label = text::fitRight("Woning " + std::to_string(j + 1), 20);
        const double angle = j * 0.7, radius = 100.0 + 40.0 * j;
        l.x = std::round(155100.0 + radius * std::cos(angle));
        l.y = std::round(463050.0 + radius * std::sin(angle));
        l.norm = 2.0;
        locations.push_back(l);
    }
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string n(double v) {
    return text::formatGeneral(v, 10);
}

}  // namespace

int main() {
    const std::string weather = dataDir() + "/mixeindhoven9599.dat";
    std::string bytes;
    if (text::readFile(weather, bytes) != text::ReadStatus::kOk) {
        std::fprintf(stderr, "geen meteobestand %s\n", weather.c_str());
        return 1;
    }
    RunLog log;
    MeteoFile file;
    if (parseMeteo(bytes, weather, file, log) != MeteoStatus::kOk) {
        return 1;
    }
    const auto series = buildSeries(file, Period{1995, 1, 1, 1, 1999, 12, 31, 24});
    std::vector<HourState> states;
    for (const auto& s : hourStates(series, 0.18)) {
        if (s.valid) {
            states.push_back(s);
        }
    }
    std::vector<Source> sources;
    std::vector<Location> locations;
    farm(sources, locations);
    const KernelProblem problem{&states, &sources, &locations, 5000.0, 20.0};
    const double evaluations =
        static_cast<double>(states.size() * sources.size() * locations.size());
    for (const int threads : {threadCount(), 1}) {
        double best = 1e9, bestCpu = 1e9;
        for (int round = 0; round < 3; ++round) {
            const auto start = Clock::now();
            const std::clock_t cpuStart = std::clock();
            const auto conc = hourlyConcentrations(problem, threads);
            best = std::min(best, seconds(start));
            bestCpu =
                std::min(bestCpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
            if (conc.empty()) {
                return 1;
            }
        }
        std::printf(
            "kernel, %d thread(s): %.3f s for %.0f evaluations, %.1f million/s "
            "(processor time %.3f s, %.1f million/s per core)\n",
            threads, best, evaluations, evaluations / best / 1e6, bestCpu,
            evaluations / bestCpu / 1e6);
    }

    // A whole run through the library, in a temporary home with its Input and Output.
    const fs::path root =
        fs::temp_directory_path() / ("zivirare-bench-" + std::to_string(::getpid()));
    fs::create_directories(root / "home");
    fs::create_directories(root / "Input");
    fs::create_directories(root / "Output");
    writeFile(
        root / "Input" / "Param.dat",
        weather + "\r\n1995\r\n1\r\n1\r\n1\r\n1999\r\n12\r\n31\r\n24\r\n5000\r\n0.18\r\n20\r\n");
    std::string bronnen =
        "Dit is een bronneninvoer bestand voor bedrijf:Bench gemaakt op:2026-01-01\r\nkop\r\n";
    for (const auto& s : sources) {
        bronnen += std::to_string(s.volgnummer) + " " + s.label + " " + n(s.x) + " " + n(s.y) +
                   " " + n(s.hoogte) + " " + n(s.gebouwHoogte) + " " + n(s.diameter) + " " +
                   n(s.uittree) + " " + n(s.emissie) + "\r\n";
    }
    writeFile(root / "Input" / "Bronnen.dat", bronnen);
    std::string ggl = "kop\r\n";
    for (const auto& l : locations) {
        ggl += std::to_string(l.volgnummer) + " " + l.label + " " + n(l.x) + " " + n(l.y) + " " +
               n(l.norm) + "\r\n";
    }
    writeFile(root / "Input" / "GGL.dat", ggl);
    void* library = dlopen(ZIVIRARE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    using Ping = int32_t (*)(int32_t*);
    const auto ping = reinterpret_cast<Ping>(dlsym(library, "ping"));
    const fs::path before = fs::current_path();
    fs::current_path(root / "home");
    for (const char* threads : {"", "1"}) {
        if (*threads != '\0') {
            setenv("ZIVIRARE_THREADS", threads, 1);
        } else {
            unsetenv("ZIVIRARE_THREADS");
        }
        double best = 1e9, bestCpu = 1e9;
        int32_t rc = 0;
        for (int round = 0; round < 5; ++round) {
            int32_t in = 3;
            const auto start = Clock::now();
            const std::clock_t cpuStart = std::clock();
            rc = ping(&in);
            best = std::min(best, seconds(start));
            bestCpu =
                std::min(bestCpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        }
        std::printf(
            "ping, %s thread(s), 10 x 50 x %zu hours: %.3f s, processor time %.3f s "
            "(code %d)\n",
            *threads != '\0' ? threads : std::to_string(threadCount()).c_str(), states.size(), best,
            bestCpu, rc);
    }
    fs::current_path(before);
    dlclose(library);
    fs::remove_all(root);
    return 0;
}
