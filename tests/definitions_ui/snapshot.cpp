// Draws the definitions browser with a few companies, the three forms and the copy dialog into
// PNG files in the given folder, for looking at them without a screen:
// vv_definitions_snapshot <folder>.

#include "definitions/ui/definities_window.h"
#include "definitions/ui/form_windows.h"
#include "platform/ui/dialog_units.h"
#include "store/calendar.h"
#include "store/dictionary.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

namespace {

void seed(store::Dictionary& dict) {
    auto& bed = dict.bedrijven();
    auto& bro = dict.bronnen();
    auto& ggl = dict.geurgevloc();
    const QStringList names{QStringLiteral("Maatschap de Linde"), QStringLiteral("Boerderij"),
                            QStringLiteral("Varkenshouderij Ten Bosch")};
    for (int i = 0; i < names.size(); ++i) {
        bed.clear();
        store::setText(bed.record().naam, names[i]);
        store::setText(bed.record().meteo,
                       i == 1 ? QStringLiteral("Eindhoven") : QStringLiteral("Schiphol"));
        bed.record().aanmaakdatum = store::dayNumber(QDate(2010, 3, 5 + i));
        (void)bed.insert();
        const int32_t id = bed.record().id;
        for (int s = 0; s < 3; ++s) {
            bro.clear();
            bro.record().fkBedrijf = id;
            store::setText(bro.record().userId, QStringLiteral("Stal %1").arg(s + 1));
            bro.record().xCoord = 155000 + 40 * s;
            bro.record().yCoord = 463000 + 25 * s;
            bro.record().stHoogte = 6.5 + s;
            bro.record().gemgebhoogte = 5.2;
            bro.record().stBinnendiam = 0.5;
            bro.record().stUittree = 4;
            bro.record().eVergund = 12500.0 * (s + 1);
            (void)bro.insert();
        }
        for (int g = 0; g < 2; ++g) {
            ggl.clear();
            ggl.record().fkBedrijf = id;
            store::setText(ggl.record().userId, QStringLiteral("Woning %1").arg(g + 1));
            ggl.record().xCoor = 155400 + 120 * g;
            ggl.record().yCoor = 463300;
            ggl.record().geurnorm = g == 0 ? 14.0 : 3.0;
            (void)ggl.insert();
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(ui::DialogUnits::designFont());
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir;
    platform::SettingsFile settings(dir.filePath(QStringLiteral("snapshot.INI")));
    platform::RecordingSink messages;
    platform::ErrorManager errors(messages);
    store::Dictionary dict(dir.path(), errors);
    ui::RecordingBusyCursor busy;
    ui::RecordingHelp help;
    ui::WindowServices services{messages, busy, help, settings};
    platform::SystemClock clock;
    definitions::FormHistory history;
    definitions::DefinitionsContext context{dict, messages, busy, settings, clock, history};
    dict.bedrijvenRelations().open();
    seed(dict);

    int status = 0;
    const auto save = [&](QWidget& w, const QString& name) {
        w.show();
        QApplication::processEvents();
        status |= w.grab().save(folder + QLatin1Char('/') + name) ? 0 : 1;
        w.hide();
    };
    {
        ui::DefinitiesWindow browser(context, services);
        save(browser, QStringLiteral("definities.png"));
    }
    (void)dict.bedrijven().fetch(store::Key::BED_By_Id, store::KeyValue(2));
    {
        definitions::UpdateBedrijvenPresenter p(dict, messages, history, clock,
                                                definitions::Request::Change);
        ui::UpdateBedrijvenWindow w(services, p);
        save(w, QStringLiteral("update_bedrijven.png"));
    }
    (void)dict.bronnen().fetch(store::Key::BRO_By_ID, store::KeyValue(4));
    {
        definitions::UpdateBronnenPresenter p(dict, messages, history,
                                              definitions::Request::Change);
        ui::UpdateBronnenWindow w(services, p);
        save(w, QStringLiteral("update_bronnen.png"));
    }
    (void)dict.geurgevloc().fetch(store::Key::GGL_By_Id, store::KeyValue(3));
    {
        definitions::UpdateGeurGevLocPresenter p(dict, messages, history,
                                                 definitions::Request::Change);
        ui::UpdateGeurGevLocWindow w(services, p);
        save(w, QStringLiteral("update_geurgevloc.png"));
    }
    {
        definitions::CopyBedrijfPresenter p(dict, messages, busy, clock);
        ui::CopyBedrijfWindow w(services, p);
        save(w, QStringLiteral("copy_bedrijf.png"));
    }
    dict.bedrijvenRelations().close();
    return status;
}
