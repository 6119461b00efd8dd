// Commands of the calculation: calc, roughness, import-roughness, demo-roughness and saved.

#include <QJsonDocument>
#include <memory>

#include "calculation/berekenen.h"
#include "calculation/cli_report.h"
#include "calculation/roughness.h"
#include "calculation/roughness_grid.h"
#include "calculation/roughness_import.h"
#include "cli/commands.h"
#include "platform/model_library.h"

namespace cli {
namespace {

QString gridPath(Context& c) {
    return c.dictionary.pathOf(store::FileId::RUWHEID);
}

std::unique_ptr<calculation::RoughnessGrid> openGrid(Context& c) {
    return calculation::RoughnessGrid::open(gridPath(c), c.shell.errors);
}

std::optional<int32_t> coordinate(Context& c, qsizetype index) {
    bool ok = false;
    const int32_t value = c.args.positional.value(index).toInt(&ok);
    if (!ok) {
        complain(c,
                 QStringLiteral("Geef XBOTTUM YBOTTUM XTOP YTOP als gehele getallen in meters."));
        return std::nullopt;
    }
    return value;
}

calculation::CalculationPaths paths(Context& c) {
    calculation::CalculationPaths p;
    p.inputDir = c.shell.glo.inputDir;
    p.outputDir = c.shell.glo.outputDir;
    p.resultsFile = c.shell.glo.resultsFile;
    return p;
}

}  // namespace

int cmdCalc(Context& c) {
    const auto id = idArgument(c, 0, "het ID van het bedrijf");
    if (!id) {
        return kExitFailed;
    }
    calculation::CalcRequest request;
    request.bedId = *id;
    if (c.args.has(QStringLiteral("--ruwheid"))) {
        bool ok = false;
        QString text = c.args.value(QStringLiteral("--ruwheid"));
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        const double r = text.toDouble(&ok);
        if (!ok) {
            complain(c, QStringLiteral("--ruwheid verwacht een getal, bijvoorbeeld 0.25."));
            return kExitFailed;
        }
        request.eigenRuwheid = r;
    }
    if (c.args.has(QStringLiteral("--save"))) {
        request.saveName = c.args.value(QStringLiteral("--save"));
    }

    platform::ModelLibrary model;
    std::function<int32_t(int32_t*)> ping;
    if (model.load()) {
        ping = model.ping();
    }
    auto grid = openGrid(c);
    calculation::BerekenenServices services(*grid, c.sink, c.clock, paths(c), ping);
    if (!model.isLoaded()) {
        services.modelMissingText = model.errorText();
    }
    const calculation::CalcOutcome outcome = calculation::runCalc(c.dictionary, services, request);
    if (!outcome.companyFound) {
        return kExitFailed;
    }
    if (c.args.has(QStringLiteral("--json"))) {
        c.out << QString::fromUtf8(
            QJsonDocument(calculation::calcJson(outcome)).toJson(QJsonDocument::Indented));
    } else {
        c.out << calculation::calcText(outcome);
    }
    switch (outcome.result) {
        case calculation::StartResult::Calculated:
            return request.saveName && outcome.berId == 0 ? kExitFailed : kExitDone;
        case calculation::StartResult::RoughnessRefused:
            return kExitRoughnessRefused;
        case calculation::StartResult::ModelFailed:
            return kExitModelFailed;
        case calculation::StartResult::ModelMissing:
            return kExitFailed;
    }
    return kExitFailed;
}

int cmdRoughness(Context& c) {
    if (c.args.positional.size() != 4) {
        complain(c, QStringLiteral("Gebruik: roughness XBOTTUM YBOTTUM XTOP YTOP"));
        return kExitFailed;
    }
    const auto xb = coordinate(c, 0);
    const auto yb = xb ? coordinate(c, 1) : std::nullopt;
    const auto xt = yb ? coordinate(c, 2) : std::nullopt;
    const auto yt = xt ? coordinate(c, 3) : std::nullopt;
    if (!yt) {
        return kExitFailed;
    }
    auto grid = openGrid(c);
    const double r = calculation::getRoughness(*grid, c.sink, *xb, *yb, *xt, *yt);
    c.out << QString::number(r, 'g', 15) << '\n';
    return kExitDone;
}

int cmdImportRoughness(Context& c) {
    const QString path = c.args.positional.value(0);
    if (path.isEmpty()) {
        complain(c, QStringLiteral("Geef het ESRI ASCII-bestand met de ruwheid."));
        return kExitFailed;
    }
    const auto result = calculation::importEsriAsciiGrid(path, gridPath(c));
    if (!result.ok) {
        complain(c, result.message);
        return kExitFailed;
    }
    c.out << result.message << '\n';
    return kExitDone;
}

int cmdDemoRoughness(Context& c) {
    const auto result = calculation::writeDemoRoughness(gridPath(c));
    if (!result.ok) {
        complain(c, result.message);
        return kExitFailed;
    }
    c.out << result.message << '\n';
    return kExitDone;
}

int cmdSaved(Context& c) {
    const QString what = c.args.positional.value(0);
    Args rest = c.args;
    rest.positional.removeFirst();
    Context sub{rest, c.sink, c.shell, c.dictionary, c.clock, c.out};
    if (what == QStringLiteral("list")) {
        const auto id = idArgument(sub, 0, "het ID van het bedrijf");
        if (!id) {
            return kExitFailed;
        }
        c.out << calculation::savedListText(calculation::savedCalculations(c.dictionary, *id));
        return kExitDone;
    }
    if (what == QStringLiteral("show")) {
        const auto id = idArgument(sub, 0, "BER:ID");
        if (!id) {
            return kExitFailed;
        }
        calculation::Gridq gridq;
        const auto saved = calculation::loadSavedCalculation(c.dictionary, *id, gridq);
        if (!saved) {
            complain(c, QStringLiteral("Berekening %1 bestaat niet.").arg(*id));
            return kExitFailed;
        }
        c.out << calculation::savedShowText(*saved, gridq);
        return kExitDone;
    }
    if (what == QStringLiteral("delete")) {
        const auto id = idArgument(sub, 0, "BER:ID");
        if (!id) {
            return kExitFailed;
        }
        switch (calculation::deleteSavedCalculation(c.dictionary, *id, true)) {
            case calculation::SavedDeleteResult::Done:
                return kExitDone;
            case calculation::SavedDeleteResult::NotFound:
                complain(c, QStringLiteral("Berekening %1 bestaat niet.").arg(*id));
                return kExitFailed;
            case calculation::SavedDeleteResult::Cancelled:
            case calculation::SavedDeleteResult::Failed:
                return kExitFailed;
        }
        return kExitFailed;
    }
    complain(c, QStringLiteral("Gebruik: saved list ID | saved show BER_ID | saved delete BER_ID"));
    return kExitFailed;
}

}  // namespace cli
