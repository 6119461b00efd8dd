#include "forms.h"

#include "store/calendar.h"
#include "store/messages.h"

#include <cmath>
#include <limits>

namespace definitions {

namespace {

constexpr int kFirstField = 1;

int32_t toInt32(const QVariant& value) {
    const double d = value.toDouble();
    if (!(d == d)) {
        return 0;
    }
    if (d >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (d <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(std::lround(d));
}

// The value converted to the type of `like` (the field's value as read from the record).
QVariant asTypeOf(const QVariant& like, const QVariant& value) {
    switch (like.typeId()) {
        case QMetaType::Int:
            return QVariant(toInt32(value));
        case QMetaType::Double:
            return QVariant(value.toDouble());
        default:
            return QVariant(value.toString());
    }
}

}  // namespace

// ---- history and messages -------------------------------------------------------------------

FormHistory& FormHistory::ofThisThread() {
    thread_local FormHistory history;
    return history;
}

platform::Button RecordMessageSink::show(const platform::Message& message) {
    if (m_refusedText && message.title == store::msg::changedByOtherTitle()) {
        platform::Message longer = message;
        longer.text = *m_refusedText;
        return m_target.show(longer);
    }
    return m_target.show(message);
}

RecordMessageSink::RefusedUpdateText::RefusedUpdateText(RecordMessageSink* sink,
                                                        const QString& text)
    : m_sink(sink) {
    if (m_sink != nullptr) {
        m_before = m_sink->m_refusedText;
        m_sink->m_refusedText = text;
    }
}

RecordMessageSink::RefusedUpdateText::~RefusedUpdateText() {
    if (m_sink != nullptr) {
        m_sink->m_refusedText = m_before;
    }
}

// ---- the common form ------------------------------------------------------------------------

RecordFormPresenter::RecordFormPresenter(store::Dictionary& dictionary,
                                         store::RelationManager& relations,
                                         store::FileManager& file, platform::MessageSink& messages,
                                         Request request)
    : m_dictionary(dictionary),
      m_relations(relations),
      m_file(file),
      m_messages(messages),
      m_request(request) {
    m_relations.open();
    m_opened = true;
}

RecordFormPresenter::~RecordFormPresenter() {
    if (!m_finished && m_request == Request::Insert) {
        // A form that ends without an answer must not leave its reserved record behind.
        (void)m_relations.cancelPrime();
    }
    if (m_opened) {
        m_relations.close();
    }
}

void RecordFormPresenter::start() {
    m_values = readRecord();
    m_opening = m_values;
}

void RecordFormPresenter::finish(Response response) {
    m_finished = true;
    m_response = response;
}

Response RecordFormPresenter::remove() {
    if (m_finished) {
        return m_response;
    }
    const store::DeleteResult result = m_relations.remove(true);
    finish(result == store::DeleteResult::Done ? Response::Completed : Response::Cancelled);
    return m_response;
}

QVariant RecordFormPresenter::value(int field) const {
    if (field < kFirstField || field > fieldCount()) {
        return {};
    }
    return m_values[static_cast<std::size_t>(field - 1)];
}

void RecordFormPresenter::setValue(int field, const QVariant& value) {
    if (field < kFirstField || field > fieldCount()) {
        return;
    }
    auto& slot = m_values[static_cast<std::size_t>(field - 1)];
    slot = asTypeOf(slot, value);
}

QVariant RecordFormPresenter::recall(int field) {
    if (field < kFirstField || field > fieldCount()) {
        return {};
    }
    setValue(field, historyValue(field));
    return value(field);
}

FormStep RecordFormPresenter::confirm() {
    if (m_finished) {
        return {true, 0, false};
    }
    writeRecord(m_values);
    if (const auto violation = check()) {
        m_messages.show(rangeMessage(*violation));
        return {false, violation->field, false};
    }
    remember();
    if (m_request == Request::Insert) {
        if (m_file.insert() == store::Status::Ok) {
            finish(Response::Completed);
            return {true, 0, false};
        }
        // The store has told why; the reserved identifier stays reserved for another try.
        return {false, kFirstField, false};
    }
    if (m_request == Request::Change && m_values == m_opening) {
        finish(Response::Completed);
        return {true, 0, false};
    }
    return storeChange();
}

FormStep RecordFormPresenter::storeChange() {
    auto* sink = dynamic_cast<RecordMessageSink*>(&m_dictionary.errors().sink());
    for (;;) {
        store::Status status;
        {
            RecordMessageSink::RefusedUpdateText longer(sink, kRefusedUpdateText);
            status = m_relations.update();
        }
        if (status == store::Status::Ok) {
            finish(Response::Completed);
            return {true, 0, false};
        }
        if (status == store::Status::Changed) {
            if (sink == nullptr) {
                // The store's own short notice has been shown; add what the user can do.
                m_messages.show(platform::Message{store::msg::changedByOtherTitle(),
                                                  kRefusedUpdateText, platform::Icon::Information,
                                                  platform::Ok, platform::Ok, false});
            }
            // The buffer holds the record as the other station stored it: show that one.
            start();
            return {false, kFirstField, true};
        }
        const platform::Button answer = m_messages.show(platform::Message{
            kUpdateErrorTitle, kUpdateErrorText, platform::Icon::Question,
            platform::Yes | platform::No | platform::Cancel, platform::Cancel, false});
        if (answer == platform::Yes) {
            continue;
        }
        if (answer == platform::No) {
            finish(Response::Cancelled);
            return {true, 0, false};
        }
        return {false, kFirstField, false};
    }
}

FormStep RecordFormPresenter::cancel(bool unreadEntries) {
    if (m_finished) {
        return {true, 0, false};
    }
    if (changed() || unreadEntries) {
        if (!m_dictionary.errors().ask(kCancelTitle, kCancelText)) {
            return {false, kFirstField, false};
        }
    }
    abandon();
    return {true, 0, false};
}

void RecordFormPresenter::abandon() {
    if (m_finished) {
        return;
    }
    if (m_request == Request::Insert) {
        (void)m_relations.cancelPrime();
    }
    finish(Response::Cancelled);
}

// ---- UPDATEBEDRIJVEN ------------------------------------------------------------------------

UpdateBedrijvenPresenter::UpdateBedrijvenPresenter(store::Dictionary& dictionary,
                                                   platform::MessageSink& messages,
                                                   FormHistory& history,
                                                   const platform::Clock& clock, Request request)
    : RecordFormPresenter(dictionary, dictionary.bedrijvenRelations(), dictionary.bedrijven(),
                          messages, request),
      m_history(history) {
    if (request == Request::Insert) {
        auto& rec = m_dictionary.bedrijven().record();
        rec.aanmaakdatum = store::today(clock);
        store::setText(rec.meteo, QStringLiteral("Schiphol"));
    }
    start();
}

UpdateBedrijvenPresenter::~UpdateBedrijvenPresenter() = default;

QString UpdateBedrijvenPresenter::caption() const {
    return request() == Request::Insert ? QStringLiteral("Toevoegen van een bedrijf")
                                        : QStringLiteral("Wijzigen van een bedrijf");
}

QStringList UpdateBedrijvenPresenter::stations() {
    return {QStringLiteral("Eindhoven"), QStringLiteral("Schiphol")};
}

std::vector<QVariant> UpdateBedrijvenPresenter::readRecord() const {
    const auto& rec = m_dictionary.bedrijven().record();
    return {QVariant(store::text(rec.naam)), QVariant(store::text(rec.meteo))};
}

void UpdateBedrijvenPresenter::writeRecord(const std::vector<QVariant>& v) {
    auto& rec = m_dictionary.bedrijven().record();
    store::setText(rec.naam, v[0].toString());
    store::setText(rec.meteo, v[1].toString());
}

void UpdateBedrijvenPresenter::remember() {
    m_history.bed = m_dictionary.bedrijven().record();
}

QVariant UpdateBedrijvenPresenter::historyValue(int field) const {
    const store::BedrijvenRecord h = m_history.bed;
    return field == 1 ? QVariant(store::text(h.naam)) : QVariant(store::text(h.meteo));
}

// ---- UPDATEBRONNEN --------------------------------------------------------------------------

UpdateBronnenPresenter::UpdateBronnenPresenter(store::Dictionary& dictionary,
                                               platform::MessageSink& messages,
                                               FormHistory& history, Request request)
    : RecordFormPresenter(dictionary, dictionary.bronnenRelations(), dictionary.bronnen(), messages,
                          request),
      m_history(history) {
    start();
}

UpdateBronnenPresenter::~UpdateBronnenPresenter() = default;

QString UpdateBronnenPresenter::caption() const {
    return request() == Request::Insert ? QStringLiteral("Toevoegen van een Bron")
                                        : QStringLiteral("Wijzigen van een Bron");
}

namespace {

std::vector<QVariant> bronFields(const store::BronnenRecord& r) {
    const double stHoogte = r.stHoogte;
    const double gemgebhoogte = r.gemgebhoogte;
    const double stBinnendiam = r.stBinnendiam;
    const double stUittree = r.stUittree;
    const double eVergund = r.eVergund;
    return {QVariant(store::text(r.userId)),
            QVariant(static_cast<int>(r.xCoord)),
            QVariant(static_cast<int>(r.yCoord)),
            QVariant(stHoogte),
            QVariant(gemgebhoogte),
            QVariant(stBinnendiam),
            QVariant(stUittree),
            QVariant(eVergund)};
}

std::vector<QVariant> gglFields(const store::GeurgevlocRecord& r) {
    const double geurnorm = r.geurnorm;
    return {QVariant(store::text(r.userId)), QVariant(static_cast<int>(r.xCoor)),
            QVariant(static_cast<int>(r.yCoor)), QVariant(geurnorm)};
}

}  // namespace

std::vector<QVariant> UpdateBronnenPresenter::readRecord() const {
    return bronFields(m_dictionary.bronnen().record());
}

void UpdateBronnenPresenter::writeRecord(const std::vector<QVariant>& v) {
    auto& rec = m_dictionary.bronnen().record();
    store::setText(rec.userId, v[0].toString());
    rec.xCoord = toInt32(v[1]);
    rec.yCoord = toInt32(v[2]);
    rec.stHoogte = v[3].toDouble();
    rec.gemgebhoogte = v[4].toDouble();
    rec.stBinnendiam = v[5].toDouble();
    rec.stUittree = v[6].toDouble();
    rec.eVergund = v[7].toDouble();
}

std::optional<RangeViolation> UpdateBronnenPresenter::check() const {
    const auto& v = values();
    BronValues b;
    b.xCoord = toInt32(v[1]);
    b.yCoord = toInt32(v[2]);
    b.stHoogte = v[3].toDouble();
    b.gemGebHoogte = v[4].toDouble();
    b.stBinnendiam = v[5].toDouble();
    b.stUittree = v[6].toDouble();
    b.eVergund = v[7].toDouble();
    return checkBronnen(b);
}

void UpdateBronnenPresenter::remember() {
    m_history.bro = m_dictionary.bronnen().record();
}

QVariant UpdateBronnenPresenter::historyValue(int field) const {
    return bronFields(m_history.bro)[static_cast<std::size_t>(field - 1)];
}

// ---- UPDATEGEURGEVLOC -----------------------------------------------------------------------

UpdateGeurGevLocPresenter::UpdateGeurGevLocPresenter(store::Dictionary& dictionary,
                                                     platform::MessageSink& messages,
                                                     FormHistory& history, Request request)
    : RecordFormPresenter(dictionary, dictionary.geurgevlocRelations(), dictionary.geurgevloc(),
                          messages, request),
      m_history(history) {
    start();
}

UpdateGeurGevLocPresenter::~UpdateGeurGevLocPresenter() = default;

QString UpdateGeurGevLocPresenter::caption() const {
    return request() == Request::Insert ? QStringLiteral("Toevoegen van een GGL")
                                        : QStringLiteral("Wijzigen van een GGL");
}

std::vector<QVariant> UpdateGeurGevLocPresenter::readRecord() const {
    return gglFields(m_dictionary.geurgevloc().record());
}

void UpdateGeurGevLocPresenter::writeRecord(const std::vector<QVariant>& v) {
    auto& rec = m_dictionary.geurgevloc().record();
    store::setText(rec.userId, v[0].toString());
    rec.xCoor = toInt32(v[1]);
    rec.yCoor = toInt32(v[2]);
    rec.geurnorm = v[3].toDouble();
}

std::optional<RangeViolation> UpdateGeurGevLocPresenter::check() const {
    const auto& v = values();
    return checkGeurgevloc(GglValues{toInt32(v[1]), toInt32(v[2])});
}

void UpdateGeurGevLocPresenter::remember() {
    m_history.ggl = m_dictionary.geurgevloc().record();
}

QVariant UpdateGeurGevLocPresenter::historyValue(int field) const {
    return gglFields(m_history.ggl)[static_cast<std::size_t>(field - 1)];
}

}  // namespace definitions
