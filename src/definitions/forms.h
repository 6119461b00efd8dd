#pragma once
// The three entry forms of the definitions without their windows: the company form
// (UPDATEBEDRIJVEN), the emission-point form (UPDATEBRONNEN) and the sensitive-location form
// (UPDATEGEURGEVLOC). Each serves one request of the browser on the current record of its file:
//
//   - Delete: remove() deletes the record through the relation manager after "Confirm Delete";
//     no window opens.
//   - Insert (the record was primed by the browser, its identifier reserved) or Change (the
//     selected row was read into the buffer): the window shows value(n) of every field, hands
//     back what the user typed with setValue(n), and calls confirm() or cancel(); each returns a
//     FormStep that says whether the form closes and where the focus goes.
//
// Fields are numbered from 1 in tab order; that number is what the range checks return the focus
// to. Texts are QString, whole numbers int, the others double.
//
// Each form keeps the record confirmed last in a FormHistory that outlives it (one per thread):
// recall(n) brings that record's field n back (the history key, Ctrl+H).

#include "definitions/range_checks.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "store/dictionary.h"

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace definitions {

enum class Request { Insert, Change, Delete };
enum class Response { Cancelled, Completed };

// The last record confirmed in each form, for the history key. Empty (blank or zero) until the
// first confirmation.
struct FormHistory {
    store::BedrijvenRecord bed{};
    store::BronnenRecord bro{};
    store::GeurgevlocRecord ggl{};
    // The history of the calling thread, kept as long as the thread lives.
    static FormHistory& ofThisThread();
};

// The sink through which the record store's messages reach the user. While a form writes a
// changed record it gives "Record Was Not Updated" the form's longer text, which tells the user
// how to get the changes back. Build the dictionary's error manager on it:
//
//     definitions::RecordMessageSink storeMessages(windowMessages);
//     platform::ErrorManager storeErrors(storeMessages);
//     store::Dictionary dictionary(homeDir, storeErrors);
class RecordMessageSink : public platform::MessageSink {
public:
    explicit RecordMessageSink(platform::MessageSink& target) : m_target(target) {}
    platform::Button show(const platform::Message& message) override;

    // Replaces the text of "Record Was Not Updated" while the scope lives.
    class RefusedUpdateText {
    public:
        RefusedUpdateText(RecordMessageSink* sink, const QString& text);
        ~RefusedUpdateText();
        RefusedUpdateText(const RefusedUpdateText&) = delete;
        RefusedUpdateText& operator=(const RefusedUpdateText&) = delete;

    private:
        RecordMessageSink* m_sink;
        std::optional<QString> m_before;
    };

private:
    platform::MessageSink& m_target;
    std::optional<QString> m_refusedText;
};

// The longer text of "Record Was Not Updated" that the forms show.
inline const QString kRefusedUpdateText = QStringLiteral(
    "This record was changed by another station. Those changes will now be displayed. Use the "
    "Ditto Button or Ctrl+H to recall your changes.");
inline const QString kUpdateErrorTitle = QStringLiteral("Record Update Error");
inline const QString kUpdateErrorText = QStringLiteral(
    "An error was experienced changing this record. Do you want to try to save again?");
inline const QString kCancelTitle = QStringLiteral("Changes will be lost!");
inline const QString kCancelText = QStringLiteral("Are you sure you want to cancel?");

// What the window does after confirm() or cancel().
struct FormStep {
    bool close = false;      // the form is done; response() tells how
    int focus = 0;           // otherwise: the field (1-based) that gets the focus, 0 none
    bool redisplay = false;  // the values changed (the record was read again): show them anew
};

class RecordFormPresenter {
public:
    virtual ~RecordFormPresenter();
    RecordFormPresenter(const RecordFormPresenter&) = delete;
    RecordFormPresenter& operator=(const RecordFormPresenter&) = delete;

    [[nodiscard]] Request request() const { return m_request; }
    // The window's caption for the request (the window adds its identifier).
    [[nodiscard]] virtual QString caption() const = 0;

    // Delete request: deletes the current record, with everything that depends on it, after
    // "Confirm Delete". Completed when it was deleted.
    Response remove();

    [[nodiscard]] int fieldCount() const { return static_cast<int>(m_values.size()); }
    [[nodiscard]] QVariant value(int field) const;
    // The user's value for a field, converted to the field's type.
    void setValue(int field, const QVariant& value);
    // The history key: the field takes the value of the record confirmed last; returns it.
    QVariant recall(int field);
    // True when a field differs from its value when the form opened.
    [[nodiscard]] bool changed() const { return m_values != m_opening; }

    // "&Bevestigen".
    FormStep confirm();
    // "&Annuleren" or closing the window. `unreadEntries`: the window holds typed text that it
    // could not hand over (it counts as a change).
    FormStep cancel(bool unreadEntries = false);
    // The window went away without confirm or cancel: cancelled without a question.
    void abandon();

    [[nodiscard]] bool finished() const { return m_finished; }
    [[nodiscard]] Response response() const { return m_response; }

protected:
    RecordFormPresenter(store::Dictionary& dictionary, store::RelationManager& relations,
                        store::FileManager& file, platform::MessageSink& messages, Request request);
    // Reads the fields from the record buffer; called by the subclass's constructor.
    void start();

    // The fields of the record in the buffer, in field order.
    [[nodiscard]] virtual std::vector<QVariant> readRecord() const = 0;
    // Writes the fields into the record buffer.
    virtual void writeRecord(const std::vector<QVariant>& values) = 0;
    // The first range violation of the values, if any.
    [[nodiscard]] virtual std::optional<RangeViolation> check() const { return std::nullopt; }
    // The record buffer becomes the history record; field n of the history record.
    virtual void remember() = 0;
    [[nodiscard]] virtual QVariant historyValue(int field) const = 0;

    [[nodiscard]] const std::vector<QVariant>& values() const { return m_values; }
    store::Dictionary& m_dictionary;

private:
    void finish(Response response);
    [[nodiscard]] FormStep storeChange();

    store::RelationManager& m_relations;
    store::FileManager& m_file;
    platform::MessageSink& m_messages;
    Request m_request;
    std::vector<QVariant> m_values;
    std::vector<QVariant> m_opening;
    bool m_finished = false;
    bool m_opened = false;
    Response m_response = Response::Cancelled;
};

// UPDATEBEDRIJVEN: 1 BED:NAAM, 2 BED:METEO. Nothing is range-checked.
class UpdateBedrijvenPresenter : public RecordFormPresenter {
public:
    UpdateBedrijvenPresenter(store::Dictionary& dictionary, platform::MessageSink& messages,
                             FormHistory& history, const platform::Clock& clock, Request request);
    ~UpdateBedrijvenPresenter() override;
    [[nodiscard]] QString caption() const override;
    // The entries of the station list.
    [[nodiscard]] static QStringList stations();

protected:
    std::vector<QVariant> readRecord() const override;
    void writeRecord(const std::vector<QVariant>& values) override;
    void remember() override;
    QVariant historyValue(int field) const override;

private:
    FormHistory& m_history;
};

// UPDATEBRONNEN: 1 BRO:USER_ID, 2 BRO:X_COORD, 3 BRO:Y_COORD, 4 BRO:ST_HOOGTE,
// 5 BRO:GEMGEBHOOGTE, 6 BRO:ST_BINNENDIAM, 7 BRO:ST_UITTREE, 8 BRO:E_VERGUND.
class UpdateBronnenPresenter : public RecordFormPresenter {
public:
    UpdateBronnenPresenter(store::Dictionary& dictionary, platform::MessageSink& messages,
                           FormHistory& history, Request request);
    ~UpdateBronnenPresenter() override;
    [[nodiscard]] QString caption() const override;

protected:
    std::vector<QVariant> readRecord() const override;
    void writeRecord(const std::vector<QVariant>& values) override;
    std::optional<RangeViolation> check() const override;
    void remember() override;
    QVariant historyValue(int field) const override;

private:
    FormHistory& m_history;
};

// UPDATEGEURGEVLOC: 1 GGL:USER_ID, 2 GGL:X_COOR, 3 GGL:Y_COOR, 4 GGL:GEURNORM.
class UpdateGeurGevLocPresenter : public RecordFormPresenter {
public:
    UpdateGeurGevLocPresenter(store::Dictionary& dictionary, platform::MessageSink& messages,
                              FormHistory& history, Request request);
    ~UpdateGeurGevLocPresenter() override;
    [[nodiscard]] QString caption() const override;

protected:
    std::vector<QVariant> readRecord() const override;
    void writeRecord(const std::vector<QVariant>& values) override;
    std::optional<RangeViolation> check() const override;
    void remember() override;
    QVariant historyValue(int field) const override;

private:
    FormHistory& m_history;
};

}  // namespace definitions
