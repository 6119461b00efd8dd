#include "company_exchange.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cmath>
#include <vector>

#include "definitions/range_checks.h"
#include "platform/cp1252.h"
#include "store/calendar.h"

namespace definitions {
namespace {

const QString kTitle = QStringLiteral("Importeren");

struct Company {
    store::BedrijvenRecord bed{};
    std::vector<store::BronnenRecord> bronnen;
    std::vector<store::GeurgevlocRecord> ggl;
};

// Reading one file; every problem ends it with a message naming the item.
class Reader {
public:
    Reader(platform::MessageSink& messages, const platform::Clock& clock, ImportOptions options)
        : m_messages(messages), m_clock(clock), m_options(options) {}

    std::optional<std::vector<Company>> read(const QByteArray& json) {
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
        if (error.error != QJsonParseError::NoError) {
            fail(QStringLiteral("Het bestand is geen geldige JSON (teken %1): %2")
                     .arg(error.offset)
                     .arg(error.errorString()));
            return std::nullopt;
        }
        const QJsonValue list = doc.object().value(QStringLiteral("bedrijven"));
        if (!doc.isObject() || !list.isArray()) {
            fail(QStringLiteral("Het bestand heeft geen lijst \"bedrijven\"."));
            return std::nullopt;
        }
        std::vector<Company> companies;
        int n = 0;
        for (const QJsonValue& value : list.toArray()) {
            ++n;
            m_item = QStringLiteral("Bedrijf %1").arg(n);
            if (!value.isObject()) {
                fail(QStringLiteral("is geen object."));
                return std::nullopt;
            }
            auto company = readCompany(value.toObject());
            if (!company) {
                return std::nullopt;
            }
            companies.push_back(std::move(*company));
        }
        return companies;
    }

private:
    void fail(const QString& text, const QString& title = kTitle) {
        const QString shown = m_item.isEmpty() ? text : m_item + QStringLiteral(": ") + text;
        m_messages.show(platform::Message{title, shown, platform::Icon::Warning, platform::Ok,
                                          platform::Ok, false});
    }

    bool text(const QJsonObject& o, const char* name, qsizetype maxLength, QString& out,
              bool required) {
        const QJsonValue v = o.value(QLatin1String(name));
        if (v.isUndefined() || v.isNull()) {
            if (required) {
                fail(QStringLiteral("\"%1\" ontbreekt.").arg(QLatin1String(name)));
                return false;
            }
            return true;
        }
        if (!v.isString()) {
            fail(QStringLiteral("\"%1\" moet een tekst zijn.").arg(QLatin1String(name)));
            return false;
        }
        out = v.toString();
        if (!platform::cp1252::representable(out)) {
            fail(QStringLiteral("\"%1\" bevat tekens die niet opgeslagen kunnen worden.")
                     .arg(QLatin1String(name)));
            return false;
        }
        if (out.size() > maxLength) {
            fail(QStringLiteral("\"%1\" is langer dan %2 tekens.")
                     .arg(QLatin1String(name))
                     .arg(maxLength));
            return false;
        }
        return true;
    }

    bool number(const QJsonObject& o, const char* name, double& out, bool required) {
        const QJsonValue v = o.value(QLatin1String(name));
        if (v.isUndefined() || v.isNull()) {
            if (required) {
                fail(QStringLiteral("\"%1\" ontbreekt.").arg(QLatin1String(name)));
                return false;
            }
            return true;
        }
        if (!v.isDouble() || !std::isfinite(v.toDouble())) {
            fail(QStringLiteral("\"%1\" moet een getal zijn.").arg(QLatin1String(name)));
            return false;
        }
        out = v.toDouble();
        return true;
    }

    bool whole(const QJsonObject& o, const char* name, int32_t& out, bool required) {
        double d = out;
        if (!number(o, name, d, required)) {
            return false;
        }
        if (d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0) {
            fail(QStringLiteral("\"%1\" moet een geheel getal zijn.").arg(QLatin1String(name)));
            return false;
        }
        out = static_cast<int32_t>(d);
        return true;
    }

    bool range(const std::optional<RangeViolation>& violation) {
        if (violation && !m_options.unchecked) {
            fail(violation->text, kRangeCaption);
            return false;
        }
        return true;
    }

    std::optional<Company> readCompany(const QJsonObject& o) {
        Company c;
        QString naam;
        QString meteo = QStringLiteral("Schiphol");
        QString datum;
        if (!text(o, "naam", 254, naam, false) || !text(o, "meteo", 19, meteo, false) ||
            !text(o, "aanmaakdatum", 8, datum, false)) {
            return std::nullopt;
        }
        if (!naam.isEmpty()) {
            m_item += QStringLiteral(" (%1)").arg(naam);
        }
        store::setText(c.bed.naam, naam);
        store::setText(c.bed.meteo, meteo);
        c.bed.aanmaakdatum = store::today(m_clock);
        if (!datum.isEmpty()) {
            const QDate date = QDate::fromString(datum, QStringLiteral("yyyyMMdd"));
            const int32_t day = store::dayNumber(date);
            if (day <= 0) {
                fail(QStringLiteral("\"aanmaakdatum\" is geen datum (jjjjmmdd)."));
                return std::nullopt;
            }
            c.bed.aanmaakdatum = day;
        }
        const QString companyItem = m_item;

        const QJsonValue bronnen = o.value(QStringLiteral("bronnen"));
        if (!bronnen.isUndefined() && !bronnen.isArray()) {
            fail(QStringLiteral("\"bronnen\" moet een lijst zijn."));
            return std::nullopt;
        }
        int n = 0;
        for (const QJsonValue& value : bronnen.toArray()) {
            m_item = companyItem + QStringLiteral(", bron %1").arg(++n);
            if (!value.isObject()) {
                fail(QStringLiteral("is geen object."));
                return std::nullopt;
            }
            const QJsonObject b = value.toObject();
            store::BronnenRecord r{};
            QString id;
            BronValues v;
            if (!text(b, "id", 20, id, false)) {
                return std::nullopt;
            }
            if (!id.isEmpty()) {
                m_item += QStringLiteral(" (%1)").arg(id);
            }
            if (!whole(b, "x", v.xCoord, true) || !whole(b, "y", v.yCoord, true) ||
                !number(b, "ep_hoogte", v.stHoogte, false) ||
                !number(b, "gem_gebouwhoogte", v.gemGebHoogte, false) ||
                !number(b, "ep_diameter", v.stBinnendiam, false) ||
                !number(b, "ep_uittreesnelheid", v.stUittree, false) ||
                !number(b, "e_aanvraag", v.eVergund, false) || !range(checkBronnen(v))) {
                return std::nullopt;
            }
            store::setText(r.userId, id);
            r.xCoord = v.xCoord;
            r.yCoord = v.yCoord;
            r.stHoogte = v.stHoogte;
            r.gemgebhoogte = v.gemGebHoogte;
            r.stBinnendiam = v.stBinnendiam;
            r.stUittree = v.stUittree;
            r.eVergund = v.eVergund;
            c.bronnen.push_back(r);
        }

        const QJsonValue ggls = o.value(QStringLiteral("ggl"));
        if (!ggls.isUndefined() && !ggls.isArray()) {
            m_item = companyItem;
            fail(QStringLiteral("\"ggl\" moet een lijst zijn."));
            return std::nullopt;
        }
        n = 0;
        for (const QJsonValue& value : ggls.toArray()) {
            m_item = companyItem + QStringLiteral(", GGL %1").arg(++n);
            if (!value.isObject()) {
                fail(QStringLiteral("is geen object."));
                return std::nullopt;
            }
            const QJsonObject g = value.toObject();
            store::GeurgevlocRecord r{};
            QString id;
            GglValues v;
            double norm = 0;
            if (!text(g, "id", 20, id, false)) {
                return std::nullopt;
            }
            if (!id.isEmpty()) {
                m_item += QStringLiteral(" (%1)").arg(id);
            }
            if (!whole(g, "x", v.xCoor, true) || !whole(g, "y", v.yCoor, true) ||
                !number(g, "geurnorm", norm, false) || !range(checkGeurgevloc(v))) {
                return std::nullopt;
            }
            store::setText(r.userId, id);
            r.xCoor = v.xCoor;
            r.yCoor = v.yCoor;
            r.geurnorm = norm;
            c.ggl.push_back(r);
        }
        m_item = companyItem;
        return c;
    }

    platform::MessageSink& m_messages;
    const platform::Clock& m_clock;
    ImportOptions m_options;
    QString m_item;
};

// Opens BEDRIJVEN with its related files for as long as it lives.
class OpenCompanies {
public:
    explicit OpenCompanies(store::Dictionary& d) : m_d(d) { m_d.bedrijvenRelations().open(); }
    ~OpenCompanies() { m_d.bedrijvenRelations().close(); }
    OpenCompanies(const OpenCompanies&) = delete;
    OpenCompanies& operator=(const OpenCompanies&) = delete;

private:
    store::Dictionary& m_d;
};

}  // namespace

std::optional<QList<int32_t>> importCompanies(store::Dictionary& dictionary,
                                              platform::MessageSink& messages,
                                              const QByteArray& json, const platform::Clock& clock,
                                              ImportOptions options) {
    Reader reader(messages, clock, options);
    const auto companies = reader.read(json);
    if (!companies) {
        return std::nullopt;
    }
    OpenCompanies open(dictionary);
    auto& bed = dictionary.bedrijven();
    auto& bro = dictionary.bronnen();
    auto& ggl = dictionary.geurgevloc();
    store::Transaction transaction(dictionary, {&bed, &bro, &ggl}, 10000);
    if (transaction.status() != store::Status::Ok) {
        messages.show(platform::Message{
            kTitle,
            QStringLiteral("De bedrijfsgegevens zijn in gebruik; er is niets opgeslagen. (%1)")
                .arg(dictionary.lastErrorText()),
            platform::Icon::Warning, platform::Ok, platform::Ok, false});
        return std::nullopt;
    }
    QList<int32_t> ids;
    for (const Company& c : *companies) {
        bed.record() = c.bed;
        if (bed.insert() != store::Status::Ok) {
            return std::nullopt;  // the store has said why; the transaction is undone
        }
        const int32_t id = bed.record().id;
        ids.append(id);
        for (const auto& r : c.bronnen) {
            bro.record() = r;
            bro.record().fkBedrijf = id;
            if (bro.insert() != store::Status::Ok) {
                return std::nullopt;
            }
        }
        for (const auto& r : c.ggl) {
            ggl.record() = r;
            ggl.record().fkBedrijf = id;
            if (ggl.insert() != store::Status::Ok) {
                return std::nullopt;
            }
        }
    }
    if (transaction.commit() != store::Status::Ok) {
        messages.show(
            platform::Message{kTitle,
                              QStringLiteral("Opslaan is mislukt; er is niets opgeslagen. (%1)")
                                  .arg(dictionary.lastErrorText()),
                              platform::Icon::Warning, platform::Ok, platform::Ok, false});
        return std::nullopt;
    }
    return ids;
}

std::optional<QByteArray> exportCompanies(store::Dictionary& dictionary,
                                          platform::MessageSink& messages,
                                          const QList<int32_t>& ids) {
    OpenCompanies open(dictionary);
    auto& bed = dictionary.bedrijven();
    auto& bro = dictionary.bronnen();
    auto& ggl = dictionary.geurgevloc();

    QList<int32_t> wanted = ids;
    if (wanted.isEmpty()) {
        bed.set(store::Key::BED_By_Id);
        while (bed.next() == store::Status::Ok) {
            wanted.append(bed.record().id);
        }
    }
    QJsonArray list;
    for (const int32_t id : wanted) {
        if (bed.fetch(store::Key::BED_By_Id, store::KeyValue(id)) != store::Status::Ok) {
            messages.show(platform::Message{QStringLiteral("Exporteren"),
                                            QStringLiteral("Er is geen bedrijf met ID %1.").arg(id),
                                            platform::Icon::Warning, platform::Ok, platform::Ok,
                                            false});
            return std::nullopt;
        }
        QJsonObject company;
        company.insert(QStringLiteral("naam"), store::text(bed.record().naam));
        company.insert(QStringLiteral("meteo"), store::text(bed.record().meteo));
        const QDate date = store::dateOf(bed.record().aanmaakdatum);
        if (date.isValid()) {
            company.insert(QStringLiteral("aanmaakdatum"),
                           date.toString(QStringLiteral("yyyyMMdd")));
        }
        QJsonArray bronnen;
        bro.set(store::Key::BRO_By_Fk, store::KeyValue(id));
        while (bro.next() == store::Status::Ok && bro.record().fkBedrijf == id) {
            const auto& r = bro.record();
            QJsonObject b;
            b.insert(QStringLiteral("id"), store::text(r.userId));
            b.insert(QStringLiteral("x"), r.xCoord);
            b.insert(QStringLiteral("y"), r.yCoord);
            b.insert(QStringLiteral("ep_hoogte"), r.stHoogte);
            b.insert(QStringLiteral("gem_gebouwhoogte"), r.gemgebhoogte);
            b.insert(QStringLiteral("ep_diameter"), r.stBinnendiam);
            b.insert(QStringLiteral("ep_uittreesnelheid"), r.stUittree);
            b.insert(QStringLiteral("e_aanvraag"), r.eVergund);
            bronnen.append(b);
        }
        company.insert(QStringLiteral("bronnen"), bronnen);
        QJsonArray ggls;
        ggl.set(store::Key::GGL_By_Fk, store::KeyValue(id));
        while (ggl.next() == store::Status::Ok && ggl.record().fkBedrijf == id) {
            const auto& r = ggl.record();
            QJsonObject g;
            g.insert(QStringLiteral("id"), store::text(r.userId));
            g.insert(QStringLiteral("x"), r.xCoor);
            g.insert(QStringLiteral("y"), r.yCoor);
            g.insert(QStringLiteral("geurnorm"), r.geurnorm);
            ggls.append(g);
        }
        company.insert(QStringLiteral("ggl"), ggls);
        list.append(company);
    }
    QJsonObject root;
    root.insert(QStringLiteral("bedrijven"), list);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace definitions
