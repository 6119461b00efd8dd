#pragma once
// The calculation as the Calculation window runs it, without any window: the window's variables
// (BerekenenState) and its "&Start berekenen" handling (startBerekenen). The window copies its
// controls into the state, calls these functions and shows the state; the command line does the
// same with its options. Messages, the busy cursor, the clock, the chart and the model come in
// through BerekenenServices.

#include "calculation/gridq.h"
#include "calculation/results_file.h"
#include "calculation/roughness.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/model_library.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>

namespace shell {
struct Glo;
}

namespace calculation {

// One day in hundredths of a second.
inline constexpr int32_t kDayHundredths = 8640000;
inline constexpr int32_t kPingIn = 3;

using Clock = platform::Clock;
using SystemClock = platform::SystemClock;

// The clock reading of a time of day: hundredths of a second since midnight.
[[nodiscard]] int32_t clockReading(const QTime& time);
// The duration from one clock reading to a later one, across midnight when the later reading is
// the smaller.
[[nodiscard]] int32_t elapsedHundredths(int32_t start, int32_t end);
// "hh:mm:ss" with a blank for the first hour digit before 10 o'clock: " 9:05:07".
[[nodiscard]] QString timeText(const QTime& time);

// Shows and hides the busy cursor; without one (the command line) nothing is shown.
class BusyCursor {
public:
    virtual ~BusyCursor() = default;
    virtual void setBusy(bool busy) = 0;
};

struct CalculationPaths {
    QString inputDir;   // GLO:INPUTDIR, ending in a separator
    QString outputDir;  // GLO:OUTPUTDIR, ending in a separator
    QString resultsFile = QStringLiteral("RepGeurBelast.dat");  // GLO:RESULTSFILE

    // GLO:OUTPUTDIR without trailing blanks followed by GLO:RESULTSFILE.
    [[nodiscard]] QString resultsPath() const;
};

// The model paths of the program's globals.
[[nodiscard]] CalculationPaths calculationPaths(const shell::Glo& glo);

struct BerekenenServices {
    BerekenenServices(RoughnessGrid& grid_, platform::MessageSink& messages_, const Clock& clock_,
                      CalculationPaths paths_, std::function<int32_t(int32_t*)> ping_ = {})
        : grid(grid_),
          messages(messages_),
          clock(clock_),
          paths(std::move(paths_)),
          ping(std::move(ping_)) {}

    RoughnessGrid& grid;
    platform::MessageSink& messages;
    const Clock& clock;
    CalculationPaths paths;
    // The model's entry point; empty when no model library could be loaded.
    std::function<int32_t(int32_t*)> ping;
    BusyCursor* busy = nullptr;        // optional
    std::function<void()> drawBubble;  // redraws the chart; optional
    // Said instead of calling the model when `ping` is empty.
    QString modelMissingText =
        QStringLiteral("Het rekenmodel is niet geladen; de berekening kan niet worden uitgevoerd.");
};

// The variables of the Calculation window, with their values when it opens.
struct BerekenenState {
    Gridq gridq;  // GRIDQ
    // Bounding box of the loaded company's emission points; 0 before the first load.
    int32_t locMinxbron = 0, locMaxxbron = 0, locMinybron = 0, locMaxybron = 0;
    // The company in the record buffer: what the input files name.
    int32_t bedId = 0;
    QString bedNaam;
    QString bedMeteo;
    uint8_t eigenRuwheid = 0;             // EIGEN_RUWHEID: 1 while "Eigen Ruwheid" is checked
    double locRuwheid = kDefaultRuwheid;  // LOC:RUWHEID
    uint8_t locEqualscale = 1;            // LOC:EQUALSCALE
    uint8_t showgrid = 0;                 // SHOWGRID
    int32_t saveResult = 0;               // SAVERESULT: BER:ID saved last, 0 while none
    int32_t pingIn = 0;                   // PINGIN
    int32_t pingReturn = 0;               // PINGRETURN
    int32_t runtime = 0;                  // RUNTIME, hundredths of a second
    QString locVersienrregel = kInitialVersienrregel;  // LOC:VERSIENRREGEL
    bool startEnabled = true;                          // "&Start berekenen"
    bool saveEnabled = false;                          // "&Berekeningen bewaren"
};

enum class StartResult {
    Calculated,        // the model returned 0 or more; saving is enabled
    RoughnessRefused,  // the roughness lay outside 0.03 … 1; nothing was run
    ModelFailed,       // the model returned a negative code; saving is disabled
    ModelMissing,      // no model library is loaded; saving is disabled
};

// Fills GRIDQ for a company from its emission points and locations (the rows in any order):
// bounding box of the emission points from its start values (3000000, 650000, 0, 0), rows
// emission points first, each group by identifier, numbered 1..n, loads 0. Enables "&Start
// berekenen" and redraws the chart.
void loadGridq(BerekenenState& state, Gridq rows, const std::function<void()>& drawBubble = {});

// The "&Start berekenen" handling, after the controls were copied into `state`: busy cursor and
// clock; the roughness (derived unless own); the range check; the input files; the model; the
// results and the chart; the run time. Every message goes through services.messages: the
// roughness warnings while the cursor is busy, the others after it was restored.
[[nodiscard]] StartResult startBerekenen(BerekenenState& state, BerekenenServices& services);

}  // namespace calculation
