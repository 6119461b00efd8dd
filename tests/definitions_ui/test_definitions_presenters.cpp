// The definitions presenters without any window: what happens when a form ends without an
// answer, and the refused update when the record store's messages do not pass the forms' sink.

#include "definitions/definities.h"
#include "definitions/forms.h"
#include "store/calendar.h"
#include "store/dictionary.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace definitions;
using namespace Qt::Literals::StringLiterals;

namespace {

// A browser window that shows nothing: each form gets `drive`, if set, and is then left.
struct FakeView : DefinitiesView {
    std::function<void(RecordFormPresenter&)> drive;
    int changes = 0;
    void showForm(UpdateBedrijvenPresenter& f) override { run(f); }
    void showForm(UpdateBronnenPresenter& f) override { run(f); }
    void showForm(UpdateGeurGevLocPresenter& f) override { run(f); }
    void showCopy(CopyBedrijfPresenter&) override {}
    void listChanged(BrowseList) override { ++changes; }
    void run(RecordFormPresenter& f) {
        if (drive) {
            drive(f);
        }
    }
};

struct Fixture {
    QTemporaryDir dir;
    platform::SettingsFile settings{dir.filePath(u"settings.INI"_s)};
    platform::RecordingSink messages;
    platform::ErrorManager errors{messages};  // not the forms' sink: the fallback
    store::Dictionary dict{dir.path(), errors};
    ui::RecordingBusyCursor busy;
    platform::FixedClock clock{QDateTime(QDate(2026, 12, 11), QTime(8, 0))};
    FormHistory history;
    DefinitionsContext context{dict, messages, busy, settings, clock, history};
    FakeView view;
};

}  // namespace

class TestDefinitionsPresenters : public QObject {
    Q_OBJECT
private slots:
    void formLeftWithoutAnswerReleasesIdentifier();
    void refusedUpdateWithoutFormsSink();
};

void TestDefinitionsPresenters::formLeftWithoutAnswerReleasesIdentifier() {
    Fixture f;
    DefinitiesPresenter browser(f.context, f.view);
    browser.add(BrowseList::Bedrijven);  // the view shows nothing and returns
    QCOMPARE(browser.rowCount(BrowseList::Bedrijven), 0);
    QCOMPARE(f.dict.bedrijven().records(), 0);
    // Confirmed, the next company gets identifier 1: the first one was given back.
    f.view.drive = [](RecordFormPresenter& form) {
        form.setValue(1, u"Jansen"_s);
        QVERIFY(form.confirm().close);
    };
    browser.add(BrowseList::Bedrijven);
    QCOMPARE(browser.rowCount(BrowseList::Bedrijven), 1);
    QCOMPARE(browser.idOf(BrowseList::Bedrijven, 0), 1);
    QCOMPARE(browser.value(BrowseList::Bedrijven, 0, 0).toString(), u"Jansen"_s);
    QCOMPARE(browser.value(BrowseList::Bedrijven, 0, 2).toInt(),
             int(store::dayNumber(QDate(2026, 12, 11))));
    QCOMPARE(f.messages.messages.size(), std::size_t(0));
}

void TestDefinitionsPresenters::refusedUpdateWithoutFormsSink() {
    Fixture f;
    f.dict.geurgevlocRelations().open();
    auto& ggl = f.dict.geurgevloc();
    ggl.clear();
    ggl.record().fkBedrijf = 1;
    ggl.record().yCoor = 400000;
    QVERIFY(ggl.insert() == store::Status::Ok);
    const int32_t id = ggl.record().id;

    platform::RecordingSink otherMessages;
    platform::ErrorManager otherErrors(otherMessages);
    store::Dictionary other(f.dir.path(), otherErrors);
    other.geurgevlocRelations().open();
    QVERIFY(other.geurgevloc().fetch(store::Key::GGL_By_Id, id) == store::Status::Ok);

    UpdateGeurGevLocPresenter form(f.dict, f.messages, f.history, Request::Change);
    form.setValue(2, 1200);
    other.geurgevloc().record().geurnorm = 9.5;
    QVERIFY(other.geurgevloc().update() == store::Status::Ok);
    const FormStep step = form.confirm();
    QVERIFY(!step.close);
    QVERIFY(step.redisplay);
    QCOMPARE(step.focus, 1);
    // The store's short notice, then what the user can do about it.
    QCOMPARE(f.messages.titles(),
             (QStringList{u"Record Was Not Updated"_s, u"Record Was Not Updated"_s}));
    QCOMPARE(f.messages.texts().value(1), kRefusedUpdateText);
    QCOMPARE(form.value(4).toDouble(), 9.5);
    QCOMPARE(form.value(2).toInt(), 0);
    QCOMPARE(form.recall(2).toInt(), 1200);
    QVERIFY(form.confirm().close);
    QCOMPARE(form.response(), Response::Completed);
    QVERIFY(f.dict.geurgevloc().fetch(store::Key::GGL_By_Id, id) == store::Status::Ok);
    QCOMPARE(f.dict.geurgevloc().record().xCoor, 1200);
    other.geurgevlocRelations().close();
    f.dict.geurgevlocRelations().close();
}

QTEST_GUILESS_MAIN(TestDefinitionsPresenters)
#include "test_definitions_presenters.moc"
