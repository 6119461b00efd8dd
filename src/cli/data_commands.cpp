// Commands on the companies: init, list, import, export, delete, copy.

#include <QFile>

#include "cli/commands.h"
#include "definitions/company_copy.h"
#include "definitions/company_exchange.h"
#include "platform/pictures.h"

namespace cli {
namespace {

// Opens BEDRIJVEN with every related file for as long as it lives.
class OpenCompanies {
public:
    explicit OpenCompanies(store::Dictionary& d) : m_d(d) { m_d.bedrijvenRelations().open(); }
    ~OpenCompanies() { m_d.bedrijvenRelations().close(); }
    OpenCompanies(const OpenCompanies&) = delete;
    OpenCompanies& operator=(const OpenCompanies&) = delete;

private:
    store::Dictionary& m_d;
};

bool fetchCompany(Context& c, int32_t id) {
    if (c.dictionary.bedrijven().fetch(store::Key::BED_By_Id, store::KeyValue(id)) !=
        store::Status::Ok) {
        complain(c, QStringLiteral("Er is geen bedrijf met ID %1.").arg(id));
        return false;
    }
    return true;
}

}  // namespace

void complain(Context& c, const QString& text) {
    c.sink.show(platform::Message{QStringLiteral("vaduvevedu-cli"), text, platform::Icon::Warning,
                                  platform::Ok, platform::Ok, false});
}

std::optional<int32_t> idArgument(Context& c, qsizetype index, const char* what) {
    bool ok = false;
    const int32_t id = c.args.positional.value(index).toInt(&ok);
    if (!ok || id <= 0) {
        complain(c, QStringLiteral("Geef %1 als positief geheel getal.").arg(QLatin1String(what)));
        return std::nullopt;
    }
    return id;
}

int cmdInit(Context& c) {
    // Opening every file through the relation managers creates the missing ones empty.
    OpenCompanies open(c.dictionary);
    c.dictionary.ruwheidRelations().open();
    c.dictionary.ruwheidRelations().close();
    return kExitDone;
}

int cmdList(Context& c) {
    OpenCompanies open(c.dictionary);
    auto& bed = c.dictionary.bedrijven();
    bed.set(store::Key::BED_By_Id);
    while (bed.next() == store::Status::Ok) {
        const auto& r = bed.record();
        c.out << r.id << '\t' << store::text(r.naam) << '\t' << store::text(r.meteo) << '\t'
              << platform::pictures::formatDate(r.aanmaakdatum, u"yyyymmdd") << '\n';
    }
    return kExitDone;
}

int cmdImport(Context& c) {
    const QString path = c.args.positional.value(0);
    if (path.isEmpty()) {
        complain(c, QStringLiteral("Geef het bestand om te importeren."));
        return kExitFailed;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        complain(c, QStringLiteral("Kan %1 niet lezen: %2").arg(path, file.errorString()));
        return kExitFailed;
    }
    definitions::ImportOptions options;
    options.unchecked = c.args.has(QStringLiteral("--unchecked"));
    const auto ids =
        definitions::importCompanies(c.dictionary, c.sink, file.readAll(), c.clock, options);
    if (!ids) {
        return kExitFailed;
    }
    for (const int32_t id : *ids) {
        c.out << id << '\n';
    }
    return kExitDone;
}

int cmdExport(Context& c) {
    QList<int32_t> ids;
    for (qsizetype i = 0; i < c.args.positional.size(); ++i) {
        const auto id = idArgument(c, i, "elk ID");
        if (!id) {
            return kExitFailed;
        }
        ids.append(*id);
    }
    const auto json = definitions::exportCompanies(c.dictionary, c.sink, ids);
    if (!json) {
        return kExitFailed;
    }
    c.out << QString::fromUtf8(*json);
    return kExitDone;
}

int cmdDelete(Context& c) {
    const auto id = idArgument(c, 0, "het ID van het bedrijf");
    if (!id) {
        return kExitFailed;
    }
    OpenCompanies open(c.dictionary);
    if (!fetchCompany(c, *id)) {
        return kExitFailed;
    }
    return c.dictionary.bedrijvenRelations().remove(true) == store::DeleteResult::Done
               ? kExitDone
               : kExitFailed;
}

int cmdCopy(Context& c) {
    const auto id = idArgument(c, 0, "het ID van het bedrijf");
    if (!id) {
        return kExitFailed;
    }
    OpenCompanies open(c.dictionary);
    if (!fetchCompany(c, *id)) {
        return kExitFailed;
    }
    definitions::CompanyCopy copy(c.dictionary, c.sink, c.clock);
    const QString naam = c.args.has(QStringLiteral("--naam"))
                             ? c.args.value(QStringLiteral("--naam"))
                             : copy.locNaam();
    const QString meteo = c.args.has(QStringLiteral("--meteo"))
                              ? c.args.value(QStringLiteral("--meteo"))
                              : copy.locMeteo();
    const int32_t newId = copy.confirm(naam, meteo);
    if (newId == 0) {
        return kExitFailed;
    }
    c.out << newId << '\n';
    return kExitDone;
}

}  // namespace cli
