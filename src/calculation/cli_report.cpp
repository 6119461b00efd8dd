#include "calculation/cli_report.h"

#include "calculation/gridq_rows.h"

#include "calculation/bedrijf.h"
#include "platform/pictures.h"
#include "store/calendar.h"
#include "store/dictionary.h"

#include <QJsonArray>

namespace calculation {

namespace {

namespace pictures = platform::pictures;

class OpenFiles {
public:
    explicit OpenFiles(store::RelationManager& relations) : m_relations(relations) {
        m_relations.open();
    }
    ~OpenFiles() { m_relations.close(); }
    OpenFiles(const OpenFiles&) = delete;
    OpenFiles& operator=(const OpenFiles&) = delete;

private:
    store::RelationManager& m_relations;
};

QString loadPicture(int decimals) {
    return QStringLiteral("@N10_`%1B").arg(decimals);
}

QString resultWord(StartResult result) {
    switch (result) {
        case StartResult::Calculated:
            return QStringLiteral("berekend");
        case StartResult::RoughnessRefused:
            return QStringLiteral("ruwheid geweigerd");
        case StartResult::ModelFailed:
            return QStringLiteral("model mislukt");
        case StartResult::ModelMissing:
            return QStringLiteral("model niet geladen");
    }
    return {};
}

QString seconds(int32_t hundredths) {
    return pictures::format(hundredths / 100.0, u"@N12_`2").trimmed() + QStringLiteral(" s");
}

SavedCalculation fromRecord(const store::BerekeningenRecord& r) {
    SavedCalculation s;
    s.berId = r.id;
    s.fk = r.fk;
    s.naam = store::text(r.naam);
    s.eigenRuwheid = r.eigenruwheid;
    s.ruwheid = r.ruwheid;
    s.berDatum = r.berDatum;
    s.berTijd = r.berTijd;
    s.rekentijd = r.rekentijd;
    s.versie = store::text(r.wolkanversienr);
    return s;
}

QString dateText(int32_t day) {
    const QDate date = store::dateOf(day);
    return date.isValid() ? date.toString(QStringLiteral("dd-MM-yyyy")) : QString();
}

QString timeOfDayText(int32_t time) {
    const QTime t = store::timeOf(time);
    return t.isValid() ? t.toString(QStringLiteral("hh:mm:ss")) : QString();
}

}  // namespace

std::vector<PointListLine> pointList(const Gridq& gridq, int decimals) {
    const QString load = loadPicture(decimals);
    std::vector<PointListLine> lines;
    lines.reserve(gridq.size());
    for (const GridqRow& row : gridq) {
        PointListLine line;
        line.nr = pictures::format(row.volgnummer, u"@N_3");
        line.id = padUserId(row.userId);
        line.x = pictures::format(row.xPos, u"@N7_");
        line.y = pictures::format(row.yPos, u"@N7_");
        line.type = QString(row.type);
        line.norm = pictures::format(row.limit, load);
        line.belasting = pictures::format(row.value, load);
        line.overschreden = row.colorNfg == kRed;
        lines.push_back(std::move(line));
    }
    return lines;
}

QString pointListText(const Gridq& gridq, int decimals) {
    QString text =
        QStringLiteral("Nr. %1 %2 %3 Type %4 %5\n")
            .arg(QStringLiteral("ID").leftJustified(kUserIdLength),
                 QStringLiteral("X-Coord.").rightJustified(8),
                 QStringLiteral("Y-Coord.").rightJustified(8),
                 QStringLiteral("Geur norm").rightJustified(10), QStringLiteral("Geur belasting"));
    for (const PointListLine& line : pointList(gridq, decimals)) {
        text += line.nr + QLatin1Char(' ') + line.id + QLatin1Char(' ') + line.x.rightJustified(8) +
                QLatin1Char(' ') + line.y.rightJustified(8) + QStringLiteral("  ") + line.type +
                QStringLiteral("   ") + line.norm + QLatin1Char(' ') + line.belasting;
        if (line.overschreden) {
            text += QStringLiteral(" overschreden");
        }
        text += QLatin1Char('\n');
    }
    return text;
}

CalcOutcome runCalc(store::Dictionary& dictionary, BerekenenServices& services,
                    const CalcRequest& request) {
    CalcOutcome outcome;
    OpenFiles open(dictionary.bedrijvenRelations());
    if (dictionary.bedrijven().fetch(store::Key::BED_By_Id, store::KeyValue(request.bedId)) !=
        store::Status::Ok) {
        return outcome;
    }
    outcome.companyFound = true;
    BerekenenState& state = outcome.state;
    getBedrijf(state, dictionary);
    if (request.eigenRuwheid) {
        state.eigenRuwheid = 1;
        state.locRuwheid = *request.eigenRuwheid;
    }
    outcome.result = startBerekenen(state, services);
    if (request.saveName && state.saveEnabled) {
        outcome.berId = berekeningenBewaren(state, dictionary, services.messages, services.clock,
                                            *request.saveName, services.busy, &outcome.frozen);
    }
    return outcome;
}

QString calcText(const CalcOutcome& outcome) {
    const BerekenenState& state = outcome.state;
    QString text = pointListText(state.gridq, 1);
    text +=
        QStringLiteral("Ruwheid: %1 (%2)\n")
            .arg(pictures::format(state.locRuwheid, u"@N6_`2").trimmed(),
                 state.eigenRuwheid != 0 ? QStringLiteral("eigen") : QStringLiteral("berekend"));
    text += QStringLiteral("Versie: %1\n").arg(state.locVersienrregel);
    text += QStringLiteral("Rekentijd: %1\n").arg(seconds(state.runtime));
    if (outcome.berId != 0) {
        text += QStringLiteral("BER:ID %1\n").arg(outcome.berId);
    }
    return text;
}

QJsonObject calcJson(const CalcOutcome& outcome) {
    const BerekenenState& state = outcome.state;
    QJsonArray rows;
    const std::vector<PointListLine> lines = pointList(state.gridq, 1);
    for (size_t i = 0; i < state.gridq.size(); ++i) {
        const GridqRow& row = state.gridq[i];
        rows.append(
            QJsonObject{{QStringLiteral("nr"), row.volgnummer},
                        {QStringLiteral("id"), row.userId.trimmed()},
                        {QStringLiteral("x"), row.xPos},
                        {QStringLiteral("y"), row.yPos},
                        {QStringLiteral("type"), QString(row.type)},
                        {QStringLiteral("geurNorm"), row.limit},
                        {QStringLiteral("geurBelasting"), row.value},
                        {QStringLiteral("geurNormTekst"), lines[i].norm.trimmed()},
                        {QStringLiteral("geurBelastingTekst"), lines[i].belasting.trimmed()},
                        {QStringLiteral("overschreden"), lines[i].overschreden}});
    }
    QJsonObject json{{QStringLiteral("bedrijf"), state.bedId},
                     {QStringLiteral("resultaat"), resultWord(outcome.result)},
                     {QStringLiteral("modelCode"), state.pingReturn},
                     {QStringLiteral("rijen"), rows},
                     {QStringLiteral("ruwheid"), state.locRuwheid},
                     {QStringLiteral("eigenRuwheid"), state.eigenRuwheid != 0},
                     {QStringLiteral("versie"), state.locVersienrregel},
                     {QStringLiteral("rekentijd"), state.runtime}};
    if (outcome.berId != 0) {
        json.insert(QStringLiteral("berId"), outcome.berId);
    }
    return json;
}

std::vector<SavedCalculation> savedCalculations(store::Dictionary& dictionary, int32_t bedId) {
    OpenFiles open(dictionary.berekeningenRelations());
    std::vector<SavedCalculation> list;
    store::BerekeningenFile& file = dictionary.berekeningen();
    file.set(store::Key::BER_By_Fk, store::KeyValue(bedId));
    while (file.next() == store::Status::Ok && file.record().fk == bedId) {
        list.push_back(fromRecord(file.record()));
    }
    return list;
}

QString savedListText(const std::vector<SavedCalculation>& list) {
    QString text;
    for (const SavedCalculation& s : list) {
        text += QStringLiteral("%1\t%2\t%3\t%4\n")
                    .arg(QString::number(s.berId), s.naam, dateText(s.berDatum),
                         timeOfDayText(s.berTijd));
    }
    return text;
}

std::optional<SavedCalculation> loadSavedCalculation(store::Dictionary& dictionary, int32_t berId,
                                                     Gridq& gridq) {
    OpenFiles open(dictionary.berekeningenRelations());
    gridq.clear();
    store::BerekeningenFile& file = dictionary.berekeningen();
    if (file.fetch(store::Key::BER_By_ID, store::KeyValue(berId)) != store::Status::Ok) {
        return std::nullopt;
    }
    const SavedCalculation saved = fromRecord(file.record());

    readFrozenRows(dictionary, berId, gridq);
    return saved;
}

QString savedShowText(const SavedCalculation& saved, const Gridq& gridq) {
    QString text;
    text += QStringLiteral("BER:ID %1\n").arg(saved.berId);
    text += QStringLiteral("Naam: %1\n").arg(saved.naam);
    text += QStringLiteral("Bereken datum: %1\n").arg(dateText(saved.berDatum));
    text += QStringLiteral("Bereken tijd: %1\n").arg(timeOfDayText(saved.berTijd));
    text += QStringLiteral("%1 %2\n").arg(saved.eigenRuwheid != 0
                                              ? QStringLiteral("Eigen ruwheid:")
                                              : QStringLiteral("Berekende ruwheid:"),
                                          pictures::format(saved.ruwheid, u"@N6_`2").trimmed());
    text += QStringLiteral("Rekentijd: %1\n").arg(seconds(saved.rekentijd));
    text += QStringLiteral("Versie: %1\n").arg(saved.versie);
    text += pointListText(gridq, 3);
    return text;
}

SavedDeleteResult deleteSavedCalculation(store::Dictionary& dictionary, int32_t berId, bool ask) {
    OpenFiles open(dictionary.berekeningenRelations());
    if (dictionary.berekeningen().fetch(store::Key::BER_By_ID, store::KeyValue(berId)) !=
        store::Status::Ok) {
        return SavedDeleteResult::NotFound;
    }
    switch (dictionary.berekeningenRelations().remove(ask)) {
        case store::DeleteResult::Done:
            return SavedDeleteResult::Done;
        case store::DeleteResult::Cancelled:
            return SavedDeleteResult::Cancelled;
        case store::DeleteResult::Failed:
            break;
    }
    return SavedDeleteResult::Failed;
}

}  // namespace calculation
