#include "window_fixture.h"

#include "calculation/roughness_grid.h"
#include "definitions/company_exchange.h"
#include "shell/ui/core/window_services.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

namespace testing_ui {

const QByteArray kTwoCompanies = R"({"bedrijven":[
 {"naam":"Zeeman","meteo":"Eindhoven","aanmaakdatum":"20260301",
  "bronnen":[{"id":"EP1","x":155000,"y":463000,"ep_hoogte":6.5,"gem_gebouwhoogte":5.0,
              "ep_diameter":0.5,"ep_uittreesnelheid":4.0,"e_aanvraag":12000},
             {"id":"EP2","x":155100,"y":463050,"ep_hoogte":8.0,"gem_gebouwhoogte":6.0,
              "ep_diameter":0.6,"ep_uittreesnelheid":5.0,"e_aanvraag":8000}],
  "ggl":[{"id":"Woning 1","x":155300,"y":463000,"geurnorm":2.0},
         {"id":"Woning 2","x":154700,"y":463200,"geurnorm":3.0},
         {"id":"School","x":155600,"y":462600,"geurnorm":8.0}]},
 {"naam":"Akkerman","meteo":"Schiphol","aanmaakdatum":"20250101",
  "bronnen":[{"id":"Stal A","x":120000,"y":480000,"ep_hoogte":7.0,"gem_gebouwhoogte":5.0,
              "e_aanvraag":5000}],
  "ggl":[{"id":"Boerderij","x":120400,"y":480100,"geurnorm":3.0}]}]})";

Fixture::Fixture() {
    QDir(parent.path()).mkpath(QStringLiteral("home"));
    QDir(parent.path()).mkpath(QStringLiteral("Input"));
    QDir(parent.path()).mkpath(QStringLiteral("Output"));
    const QString ini = parent.filePath(QStringLiteral("test.INI"));
    qputenv(platform::SettingsFile::kPathVariable, QFile::encodeName(ini));
    settings = std::make_unique<platform::SettingsFile>(ini);
    services =
        std::make_unique<ui::WindowServices>(ui::WindowServices{messages, busy, help, *settings});
    dict = std::make_unique<store::Dictionary>(home(), errors);
    const calculation::CalculationPaths p = paths();
    qputenv("VV_FAKE_MODEL_INPUT", QFile::encodeName(p.inputDir));
    qputenv("VV_FAKE_MODEL_OUTPUT", QFile::encodeName(p.resultsPath()));
    qunsetenv("VV_FAKE_MODEL_CODE");
    qunsetenv("VV_FAKE_MODEL_RESULTS");
    qputenv("VV_FAKE_MODEL_LOG", QFile::encodeName(parent.filePath(QStringLiteral("ping.log"))));
}

Fixture::~Fixture() {
    dict.reset();
}

calculation::CalculationPaths Fixture::paths() const {
    calculation::CalculationPaths p;
    p.inputDir = parent.filePath(QStringLiteral("Input")) + QLatin1Char('/');
    p.outputDir = parent.filePath(QStringLiteral("Output")) + QLatin1Char('/');
    return p;
}

QList<int32_t> Fixture::import(const QByteArray& json) {
    platform::SystemClock now;
    const auto ids = definitions::importCompanies(*dict, messages, json, now);
    if (!ids) {
        qWarning("import refused: %s", qPrintable(messages.texts().join(u'|')));
    }
    return ids.value_or(QList<int32_t>{});
}

void Fixture::writeRoughness(int32_t x, int32_t y, float value) {
    const int32_t firstRow = (y - 1100) / calculation::kCellSize - calculation::kSouthRow;
    const int32_t lastRow = (y + 1100) / calculation::kCellSize - calculation::kSouthRow;
    QString error;
    const bool written = calculation::writeRoughnessFile(
        dict->pathOf(store::FileId::RUWHEID),
        [&](int32_t row, std::vector<float>& cells) {
            if (row < firstRow || row > lastRow) {
                return false;
            }
            cells.assign(calculation::kGridColumns, value);
            return true;
        },
        {{QStringLiteral("bron"), QStringLiteral("synthetisch")}}, error);
    (void)x;
    if (!written) {
        qFatal("roughness grid not written");
    }
}

int64_t Fixture::records(store::FileManager& file) {
    file.open();
    const int64_t n = file.records();
    file.close();
    return n;
}

void answerNameDialog(std::optional<QString> name, QStringList* seen) {
    auto* timer = new QTimer(qApp);
    auto started = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, name, seen, started] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->objectName() != QStringLiteral("SaveResults") ||
            !modal->isVisible()) {
            // Nothing shown after five seconds: the test fails on what it sees, not by hanging.
            if (++*started > 500) {
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        auto* entry = modal->findChild<QLineEdit*>(QStringLiteral("?RESULTNAAM"));
        auto* prompt = modal->findChild<QLabel*>(QStringLiteral("?RESULTNAAM:PROMPT"));
        if (seen != nullptr) {
            *seen << modal->windowTitle() << (prompt ? prompt->text() : QString())
                  << (entry ? entry->toolTip() : QString()) << (entry ? entry->text() : QString());
        }
        if (name && entry != nullptr) {
            entry->setText(*name);
        }
        auto* button = modal->findChild<QPushButton*>(name ? QStringLiteral("?CLOSE")
                                                           : QStringLiteral("?CANCEL"));
        if (button != nullptr) {
            button->click();
        } else {
            modal->close();
        }
    });
    timer->start();
}

}  // namespace testing_ui
