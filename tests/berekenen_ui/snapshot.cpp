// Draws the Calculation window after a calculation and the viewer on the saved calculation into
// PNG files in the given folder, for a look at them: vv_berekenen_snapshot <folder>. Runs the
// model library found on the library path.

#include "calculation/window/ui/berekenen_window.h"
#include "platform/model_library.h"
#include "platform/ui/dialog_units.h"
#include "presentation/viewer/ui/bekijken_window.h"
#include "window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(ui::DialogUnits::designFont());
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    testing_ui::Fixture f;
    QDir::setCurrent(f.home());
    f.import(testing_ui::kTwoCompanies);
    f.writeRoughness(155000, 463000, 0.3f);
    platform::ModelLibrary model;
    if (!model.load()) {
        fprintf(stderr, "%s\n", qPrintable(model.errorText()));
        return 3;
    }
    calculation::BerekenenContext context{*f.dict,   f.messages,   f.busy, f.clock,
                                          f.paths(), model.ping(), {}};
    int status = 0;
    {
        ui::BerekenenWindow w(context, *f.services, f.opener);
        w.move(20, 20);
        w.resize(1100, 620);
        w.open();
        emit w.findChild<QComboBox*>(QStringLiteral("?BED:NAAM"))->activated(0);
        w.findChild<QPushButton*>(QStringLiteral("?STARTCALCULATIONSBUTTON"))->click();
        testing_ui::answerNameDialog(QStringLiteral("Aanvraag 2026"));
        w.findChild<QPushButton*>(QStringLiteral("?SAVECALCBUTTON"))->click();
        QTimer::singleShot(300, [&] {
            status |= w.grab().save(folder + QStringLiteral("/berekenen.png")) ? 0 : 1;
            QApplication::quit();
        });
        QApplication::exec();
    }
    presentation::BekijkenContext viewContext{*f.dict, f.messages, f.busy, f.clock};
    ui::BekijkenWindow v(viewContext, *f.services, f.opener, f.paths().outputDir);
    v.move(20, 20);
    v.resize(1100, 700);
    v.open();
    QTimer::singleShot(300, [&] {
        status |= v.grab().save(folder + QStringLiteral("/bekijken.png")) ? 0 : 2;
        QApplication::quit();
    });
    QApplication::exec();
    for (const QString& text : f.messages.texts()) {
        fprintf(stderr, "%s\n", qPrintable(text));
    }
    return status;
}
