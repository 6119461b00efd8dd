// vaduvevedu-cli: the program's data and calculations on the command line. It works in the
// current directory as its home directory, exactly like the program: the same record files and
// the same working directories "Input" and "Output" beside it.

#include <QCoreApplication>
#ifdef VV_CLI_REPORT
#include <QApplication>
#endif
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "cli/args.h"
#include "cli/cli_sink.h"
#include "cli/commands.h"
#include "platform/clock.h"
#include "shell/startup.h"
#include "store/dictionary.h"

namespace {

const char* const kHelp =
    "Gebruik: vaduvevedu-cli OPDRACHT [ARGUMENTEN] [OPTIES]\n"
    "\n"
    "Werkt in de huidige directory als thuisdirectory, net als het programma: dezelfde\n"
    "gegevensbestanden en de werkdirectories Input en Output ernaast.\n"
    "\n"
    "Opdrachten:\n"
    "  init                         maak wat ontbreekt (gegevensbestanden, werkdirectories)\n"
    "  list                         bedrijven op ID: ID, naam, meteo, aanmaakdatum (jjjjmmdd)\n"
    "  import BESTAND.json          voeg bedrijven met bronnen en GGL's toe; toont de nieuwe ID's\n"
    "       [--unchecked]           sla de waarden op zonder de bereikcontroles van de invoer\n"
    "  export [ID ...]              bedrijven (alle als er geen ID is) als JSON\n"
    "  delete ID [--yes]            verwijder een bedrijf met alles wat erbij hoort\n"
    "  copy ID [--naam TEKST] [--meteo TEKST]\n"
    "                               kopieer een bedrijf met zijn bronnen en GGL's\n"
    "  calc ID [--ruwheid R] [--save NAAM] [--json]\n"
    "                               reken voor een bedrijf: ruwheid afgeleid tenzij --ruwheid\n"
    "                               (eigen ruwheid, 0.03 ... 1), invoerbestanden, model, "
    "resultaten;\n"
    "                               met --save bewaard onder NAAM (laatste regel \"BER:ID n\")\n"
    "  roughness XBOTTUM YBOTTUM XTOP YTOP\n"
    "                               gemiddelde terreinruwheid van de rechthoek\n"
    "  import-roughness BESTAND.asc vul Roughness.tps uit een ESRI ASCII-grid (RD-coordinaten)\n"
    "  demo-roughness               vul Roughness.tps met een synthetisch demonstratiegrid\n"
    "  saved list ID                de bewaarde berekeningen van een bedrijf\n"
    "  saved show BER_ID            gegevens en bevroren punten van een bewaarde berekening\n"
    "  saved delete BER_ID [--yes]  verwijder een bewaarde berekening\n"
#ifdef VV_CLI_REPORT
    "  report BER_ID [--out BESTAND.docx]\n"
    "                               rapport (.docx) van een bewaarde berekening\n"
#endif
    "\n"
    "Opties:\n"
    "  --yes                        beantwoord vragen met Ja (anders Nee)\n"
    "  --json                       (calc) uitvoer als JSON\n"
    "  --help                       deze tekst\n"
    "\n"
    "Meldingen gaan naar stderr als \"Titel: tekst\".\n"
    "\n"
    "Afsluitcodes:\n"
    "  0  klaar\n"
    "  1  iets anders ging mis\n"
    "  2  het rekenmodel gaf een negatieve code\n"
    "  3  de ruwheid werd geweigerd\n";

using Command = std::function<int(cli::Context&)>;

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> table = {
        {QStringLiteral("init"), cli::cmdInit},
        {QStringLiteral("list"), cli::cmdList},
        {QStringLiteral("import"), cli::cmdImport},
        {QStringLiteral("export"), cli::cmdExport},
        {QStringLiteral("delete"), cli::cmdDelete},
        {QStringLiteral("copy"), cli::cmdCopy},
        {QStringLiteral("calc"), cli::cmdCalc},
        {QStringLiteral("roughness"), cli::cmdRoughness},
        {QStringLiteral("import-roughness"), cli::cmdImportRoughness},
        {QStringLiteral("demo-roughness"), cli::cmdDemoRoughness},
        {QStringLiteral("saved"), cli::cmdSaved},
#ifdef VV_CLI_REPORT
        {QStringLiteral("report"), cli::cmdReport},
#endif
    };
    return table;
}

// The report draws its chart with the window libraries, which need a QApplication; on a machine
// without a display it draws off-screen.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv, const QString& command) {
#ifdef VV_CLI_REPORT
    if (command == QStringLiteral("report")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return std::make_unique<QApplication>(argc, argv);
    }
#else
    (void)command;
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
    QStringList raw;
    for (int i = 1; i < argc; ++i) {
        raw.append(QString::fromLocal8Bit(argv[i]));
    }
    QString error;
    const auto args = cli::parseArgs(raw, error);
    const auto app = makeApplication(argc, argv, args ? args->command : QString());
    if (!args) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return cli::kExitFailed;
    }
    if (args->has(QStringLiteral("--help")) || args->command.isEmpty() ||
        args->command == QStringLiteral("help")) {
        std::fputs(kHelp, args->command.isEmpty() && !args->has(QStringLiteral("--help")) ? stderr
                                                                                          : stdout);
        return args->command.isEmpty() && !args->has(QStringLiteral("--help")) ? cli::kExitFailed
                                                                               : cli::kExitDone;
    }
    const auto command = commands().find(args->command);
    if (command == commands().end()) {
        std::fprintf(stderr, "Onbekende opdracht: %s (zie --help)\n",
                     args->command.toUtf8().constData());
        return cli::kExitFailed;
    }

    cli::StderrSink sink(args->has(QStringLiteral("--yes")));
    shell::Glo glo;
    shell::Shell shell(glo, sink);
    platform::SystemClock clock;
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    try {
        return shell::runProgram(shell, [&](shell::Shell& s) {
            store::Dictionary dictionary(s.glo.homeDir, s.errors);
            cli::Context context{*args, sink, s, dictionary, clock, out};
            const int code = command->second(context);
            out.flush();
            return code;
        });
    } catch (const platform::FatalError&) {
        out.flush();
        return cli::kExitFailed;
    }
}
