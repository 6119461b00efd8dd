#pragma once
// What the window tests of the Calculation window and the viewer share: a temporary home
// directory (parent/home with Input and Output beside it), the settings file of the test, a
// record store with companies imported from JSON, a small roughness grid, recording message sink,
// busy cursor, help and document opener, a fixed clock, and a helper that answers the name
// dialog of a calculation.

#include "calculation/berekenen.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/settings_file.h"
#include "platform/ui/core/busy_cursor.h"
#include "platform/ui/core/help.h"
#include "presentation/report.h"
#include "shell/ui/core/window_services.h"
#include "store/dictionary.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace testing_ui {

// A message sink that also notes whether the busy cursor was on when each message came.
class CursorAwareSink : public platform::RecordingSink {
public:
    explicit CursorAwareSink(const ui::BusyCursor& busy) : m_busy(busy) {}
    platform::Button show(const platform::Message& message) override {
        busyAtMessage.push_back(m_busy.busy());
        return RecordingSink::show(message);
    }
    std::vector<bool> busyAtMessage;

private:
    const ui::BusyCursor& m_busy;
};

class RecordingOpener : public presentation::DocumentOpener {
public:
    bool open(const QString& path) override {
        opened.append(path);
        return true;
    }
    QStringList opened;
};

struct Fixture {
    Fixture();
    ~Fixture();

    // Imports the companies of `json` (see definitions/company_exchange.h); their BED:ID values.
    QList<int32_t> import(const QByteArray& json);
    // A roughness grid of `value` over the 2 km around (x, y) m.
    void writeRoughness(int32_t x, int32_t y, float value);
    // Records in a file of the store.
    int64_t records(store::FileManager& file);

    calculation::CalculationPaths paths() const;
    QString home() const { return parent.filePath(QStringLiteral("home")); }

    QTemporaryDir parent;
    ui::RecordingBusyCursor busy;
    CursorAwareSink messages{busy};
    ui::RecordingHelp help;
    std::unique_ptr<platform::SettingsFile> settings;
    std::unique_ptr<ui::WindowServices> services;
    platform::ErrorManager errors{messages};
    std::unique_ptr<store::Dictionary> dict;
    platform::FixedClock clock{QDateTime(QDate(2026, 12, 11), QTime(14, 5, 7))};
    RecordingOpener opener;
};

// Answers the next name dialog of a calculation once it is shown: types `name` and clicks
// "&Bewaren", or clicks "&Annuleren" when there is no name. `seen` gets what the dialog showed:
// its title, the prompt, the entry's tool tip and its text on opening.
void answerNameDialog(std::optional<QString> name, QStringList* seen = nullptr);

// Two companies: "Zeeman" (2 emission points, 3 locations, Eindhoven) and "Akkerman"
// (1 emission point, 1 location, Schiphol), in this order.
extern const QByteArray kTwoCompanies;

}  // namespace testing_ui
