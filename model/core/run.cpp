#include "run.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "boundary_layer.h"
#include "constants.h"
#include "inputs.h"
#include "kernel.h"
#include "log.h"
#include "meteo.h"
#include "paths.h"
#include "results.h"
#include "text.h"

namespace zivirare {

namespace {

namespace fs = std::filesystem;

std::string join(const std::string& dir, std::string_view name) {
    return (fs::path(dir) / std::string(name)).string();
}

int32_t readInput(const std::string& dir, std::string_view name, std::string& bytes, RunLog& log) {
    const std::string path = join(dir, name);
    switch (text::readFile(path, bytes)) {
        case text::ReadStatus::kOk:
            return kOk;
        case text::ReadStatus::kMissing:
            log.error("invoerbestand " + path + " ontbreekt");
            return kInputMissing;
        case text::ReadStatus::kUnreadable:
            break;
    }
    log.error("invoerbestand " + path + " is niet leesbaar");
    return kInputMissing;
}

int32_t statusCode(ParseStatus s) {
    switch (s) {
        case ParseStatus::kOk:
            return kOk;
        case ParseStatus::kNoMeteoLine:
            return kNoMeteo;
        case ParseStatus::kMalformed:
            break;
    }
    return kMalformed;
}

// The weather file: the path of the parameter file, else the same name in the data folder.
int32_t readMeteo(const Param& param, MeteoFile& file, RunLog& log) {
    std::string bytes;
    std::string used = param.meteoFile;
    auto status = text::readFile(used, bytes);
    if (status != text::ReadStatus::kOk) {
        const std::string data = dataDir();
        const std::string name = fileNameOf(param.meteoFile);
        if (!data.empty() && !name.empty()) {
            const std::string fallback = join(data, name);
            const auto second = text::readFile(fallback, bytes);
            if (second == text::ReadStatus::kOk) {
                log.info("Meteobestand " + param.meteoFile + " niet gevonden; gebruikt " +
                         fallback);
                used = fallback;
                status = second;
            }
        }
    }
    if (status != text::ReadStatus::kOk) {
        log.error("meteobestand " + param.meteoFile +
                  (status == text::ReadStatus::kMissing ? " niet gevonden" : " niet leesbaar") +
                  " (ook niet in de datamap " + dataDir() + ")");
        return kNoMeteo;
    }
    switch (parseMeteo(bytes, used, file, log)) {
        case MeteoStatus::kOk:
            log.info("Meteobestand: " + used);
            return kOk;
        case MeteoStatus::kNoHeader:
            return kNoMeteo;
        case MeteoStatus::kMalformed:
            break;
    }
    return kMalformed;
}

int32_t runSteps(const std::string& inputDir, const std::string& outputDir, RunLog& log) {
    // An earlier results file must not survive a run that fails.
    std::error_code ec;
    const std::string resultsPath = join(outputDir, kResultsFile);
    fs::remove(resultsPath, ec);
    if (ec || fs::exists(resultsPath, ec)) {
        log.error("oud resultatenbestand " + resultsPath + " kan niet worden verwijderd");
        return kCannotWrite;
    }

    std::string paramBytes, bronnenBytes, gglBytes;
    for (const auto& [name, bytes] :
         {std::pair<std::string_view, std::string*>{kParamFile, &paramBytes},
          {kBronnenFile, &bronnenBytes},
          {kGglFile, &gglBytes}}) {
        if (const int32_t rc = readInput(inputDir, name, *bytes, log); rc != kOk) {
            return rc;
        }
    }
    Param param;
    std::vector<Source> sources;
    std::vector<Location> locations;
    if (const int32_t rc = statusCode(parseParam(paramBytes, param, log)); rc != kOk) {
        return rc;
    }
    if (const int32_t rc = statusCode(parseBronnen(bronnenBytes, sources, log)); rc != kOk) {
        return rc;
    }
    if (const int32_t rc = statusCode(parseGgl(gglBytes, locations, log)); rc != kOk) {
        return rc;
    }
    if (!checkParam(param, log) || !checkSources(sources, log)) {
        return kOutOfRange;
    }
    log.info("Emissiepunten: " + std::to_string(sources.size()) +
             ", geurgevoelige locaties: " + std::to_string(locations.size()));

    MeteoFile meteoFile;
    if (const int32_t rc = readMeteo(param, meteoFile, log); rc != kOk) {
        return rc;
    }
    const Period period{param.firstYear, param.firstMonth, param.firstDay, param.firstHour,
                        param.lastYear,  param.lastMonth,  param.lastDay,  param.lastHour};
    const MeteoSeries series = buildSeries(meteoFile, period);
    meteoFile = MeteoFile{};
    const int64_t total = period.hourCount();
    log.info("Uren in de periode: " + std::to_string(total) + ", geldig " +
             std::to_string(series.validCount) + ", waarvan windstil " +
             std::to_string(series.calmCount) + " en variabel " +
             std::to_string(series.variableCount) + ", ontbrekend of onvolledig " +
             std::to_string(series.invalidCount));
    if (series.duplicateCount > 0) {
        log.warning(std::to_string(series.duplicateCount) +
                    " uren staan meer dan eens in het meteobestand; de laatste telt");
    }
    if (series.validCount * 100 < total * kMinValidPercent) {
        log.error("minder dan 75 % van de uren van de periode is geldig");
        return kTooFewHours;
    }

    const int threads = threadCount();
    const auto allStates = hourStates(series, param.z0, threads);
    std::vector<HourState> states;
    states.reserve(static_cast<std::size_t>(series.validCount));
    for (const auto& s : allStates) {
        if (s.valid) {
            states.push_back(s);
        }
    }
    const KernelProblem problem{&states, &sources, &locations, param.maxDistance,
                                param.minDistance};
    const std::vector<double> loads = odourLoads(problem, threads);

    ResultsHeader header;
    header.station = stationName(series.station);
    header.firstYear = param.firstYear;
    header.lastYear = param.lastYear;
    header.synthetic = series.synthetic;
    header.validHours = series.validCount;
    header.calmHours = series.calmCount;
    header.invalidHours = series.invalidCount;
    if (series.synthetic) {
        log.warning("het meteobestand is synthetisch (gegenereerd), geen echte waarnemingen");
    }
    if (!writeFileAtomically(outputDir, std::string(kResultsFile), std::string(kResultsTempFile),
                             formatResults(header, locations, loads))) {
        log.error("resultatenbestand " + resultsPath + " kan niet worden geschreven");
        return kCannotWrite;
    }
    log.info("Resultaten geschreven naar " + resultsPath);
    return kOk;
}

}  // namespace

int32_t runIn(const std::string& inputDir, const std::string& outputDir) noexcept {
    int32_t rc = kInternalError;
    try {
        RunLog log;
        log.info(std::string(kVersionPrefix) + std::string(kVersion));
        try {
            rc = runSteps(inputDir, outputDir, log);
        } catch (const std::bad_alloc&) {
            log.error("onvoldoende geheugen");
            rc = kInternalError;
        } catch (const std::exception& e) {
            log.error(std::string("interne fout: ") + e.what());
            rc = kInternalError;
        } catch (...) {
            log.error("interne fout");
            rc = kInternalError;
        }
        if (rc != kOk) {
            log.info("Afgebroken met code " + std::to_string(rc));
        }
        (void)log.writeTo(join(outputDir, kLogFile));
    } catch (...) {
        // Not even the log could be made; the code says it all.
    }
    return rc;
}

int32_t run(const int32_t* pingIn) noexcept {
    if (pingIn == nullptr || *pingIn != kPingMagic) {
        return kBadArgument;
    }
    try {
        std::error_code ec;
        const auto home = fs::current_path(ec);
        if (ec) {
            return kInputMissing;
        }
        const WorkDirs dirs = workDirsOf(home.string());
        return runIn(dirs.input, dirs.output);
    } catch (...) {
        return kInternalError;
    }
}

}  // namespace zivirare
