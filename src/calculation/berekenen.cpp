#include "calculation/berekenen.h"

#include "calculation/messages.h"
#include "calculation/param_files.h"
#include "shell/glo.h"

namespace calculation {

namespace {

void setBusy(BerekenenServices& services, bool busy) {
    if (services.busy != nullptr) {
        services.busy->setBusy(busy);
    }
}

void say(BerekenenServices& services, const QString& text) {
    services.messages.show(platform::Message{QString(), text});
}

}  // namespace

int32_t clockReading(const QTime& time) {
    return time.msecsSinceStartOfDay() / 10;
}

int32_t elapsedHundredths(int32_t start, int32_t end) {
    int32_t elapsed = end - start;
    if (end < start) {
        elapsed += kDayHundredths;
    }
    return elapsed;
}

QString timeText(const QTime& time) {
    return QStringLiteral("%1:%2:%3")
        .arg(time.hour(), 2, 10, QLatin1Char(' '))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString CalculationPaths::resultsPath() const {
    qsizetype end = outputDir.size();
    while (end > 0 && outputDir.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    return outputDir.left(end) + resultsFile;
}

CalculationPaths calculationPaths(const shell::Glo& glo) {
    CalculationPaths paths;
    paths.inputDir = glo.inputDir;
    paths.outputDir = glo.outputDir;
    paths.resultsFile = glo.resultsFile;
    return paths;
}

void loadGridq(BerekenenState& state, Gridq rows, const std::function<void()>& drawBubble) {
    state.locMinxbron = 3000000;
    state.locMaxxbron = 0;
    state.locMinybron = 650000;
    state.locMaxybron = 0;
    for (const auto& row : rows) {
        if (!row.isBron()) {
            continue;
        }
        if (row.xPos < state.locMinxbron) {
            state.locMinxbron = row.xPos;
        }
        if (row.xPos > state.locMaxxbron) {
            state.locMaxxbron = row.xPos;
        }
        if (row.yPos < state.locMinybron) {
            state.locMinybron = row.yPos;
        }
        if (row.yPos > state.locMaxybron) {
            state.locMaxybron = row.yPos;
        }
    }
    for (auto& row : rows) {
        row.userId = padUserId(row.userId);
        row.value = 0;
        if (row.isBron()) {
            row.limit = 0;
        }
    }
    sortByTypeThenId(rows);
    numberRows(rows);
    state.gridq = std::move(rows);
    state.startEnabled = true;
    if (drawBubble) {
        drawBubble();
    }
}

StartResult startBerekenen(BerekenenState& state, BerekenenServices& services) {
    setBusy(services, true);
    const int32_t start = clockReading(services.clock.now().time());
    StartResult result = StartResult::Calculated;

    if (state.eigenRuwheid == 0) {
        state.locRuwheid = getRoughness(services.grid, services.messages, state.locMinxbron,
                                        state.locMinybron, state.locMaxxbron, state.locMaxybron);
    }
    if (!ruwheidInRange(state.locRuwheid)) {
        setBusy(services, false);
        say(services, text::kRuwheidNietTussen);
        result = StartResult::RoughnessRefused;
    } else {
        ParamFileInput input;
        input.inputDir = services.paths.inputDir;
        input.bedNaam = state.bedNaam;
        input.bedMeteo = state.bedMeteo;
        input.locRuwheid = state.locRuwheid;
        input.today = services.clock.now().date();
        makeParamFile(input, state.gridq);

        state.pingIn = kPingIn;
        state.pingReturn = 0;
        if (services.ping) {
            state.pingReturn = services.ping(&state.pingIn);
            result = state.pingReturn >= 0 ? StartResult::Calculated : StartResult::ModelFailed;
        } else {
            result = StartResult::ModelMissing;
        }
        if (result == StartResult::Calculated) {
            getCalResults(services.paths.resultsPath(), state.gridq, state.locVersienrregel,
                          services.messages);
            if (services.drawBubble) {
                services.drawBubble();
            }
            setBusy(services, false);
            state.saveEnabled = true;
        } else {
            setBusy(services, false);
            if (result == StartResult::ModelFailed) {
                say(services, timeText(services.clock.now().time()) + text::kSimulatieNietGoed +
                                  QString::number(state.pingReturn));
            } else {
                say(services, services.modelMissingText);
            }
            state.saveEnabled = false;
        }
    }

    state.runtime = elapsedHundredths(start, clockReading(services.clock.now().time()));
    return result;
}

}  // namespace calculation
