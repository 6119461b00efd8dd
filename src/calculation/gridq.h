#pragma once
// The result grid: one row per emission point ("B") and per odour-sensitive location ("G") of
// the loaded company. Every later step of a calculation works on it: the input writer, the
// results reader, the chart, the saved copy and the report.

#include <QString>
#include <cstdint>
#include <vector>

namespace calculation {

// Windows colour values 0x00BBGGRR; kDefaultColor leaves the list's own colour.
inline constexpr int32_t kDefaultColor = -1;
inline constexpr int32_t kBlack = 0x000000;
inline constexpr int32_t kWhite = 0xFFFFFF;
inline constexpr int32_t kRed = 0x0000FF;

inline constexpr QChar kTypeBron = QLatin1Char('B');
inline constexpr QChar kTypeGgl = QLatin1Char('G');

// Length of the label field GQ:USERID, in characters.
inline constexpr int kUserIdLength = 20;

// Fields in the order of the layout; sorting and the lists refer to them by that order.
struct GridqRow {
    int32_t volgnummer = 0;            // GQ:VOLGNUMMER, 1..n: the "Nr." and the model's row number
    QString userId;                    // GQ:USERID, 20 characters, blank-padded
    int32_t xPos = 0;                  // GQ:XPOS, m
    int32_t yPos = 0;                  // GQ:YPOS, m
    QChar type;                        // GQ:TYPE, kTypeBron or kTypeGgl
    double limit = 0;                  // GQ:LIMIT, odour standard of a location, ouE/m3
    double value = 0;                  // GQ:VALUE, odour load computed by the model, ouE/m3
    int32_t colorNfg = kDefaultColor;  // GQ:COLORNFG, text colour of the load
    int32_t colorNbg = kDefaultColor;  // GQ:COLORNBG, always the default
    int32_t colorSfg = kDefaultColor;  // GQ:COLORSFG, text colour of the load when highlighted
    int32_t colorSbg = kDefaultColor;  // GQ:COLORSBG, always the default
    double stHoogte = 0;               // GQ:ST_HOOGTE, height of the emission point, m
    double stBinnen = 0;               // GQ:ST_BINNEN, inner diameter, m
    double stUittree = 0;              // GQ:ST_UITTREE, exit velocity, m/s
    double eVergund = 0;               // GQ:E_VERGUND, odour emission applied for, ouE/s
    double gebHoogte = 0;              // GQ:GEB_HOOGTE, average building height, m
    int32_t id = 0;                    // GQ:ID, BRO:ID or GGL:ID of the source record

    bool isBron() const { return type == kTypeBron; }
    bool isGgl() const { return type == kTypeGgl; }
    bool operator==(const GridqRow&) const = default;
};

using Gridq = std::vector<GridqRow>;

// The label as the grid holds it: cut to 20 characters and blank-padded to 20.
[[nodiscard]] QString padUserId(const QString& label);

// Emission points first, each group by identifier: the order of a load.
void sortByTypeThenId(Gridq& gridq);
// Sensitive locations first, each group by identifier: the order the location file leaves.
void sortByTypeDescThenId(Gridq& gridq);
// By sequence number ascending.
void sortByVolgnummer(Gridq& gridq);
// GQ:VOLGNUMMER = position, from 1.
void numberRows(Gridq& gridq);

// The row whose sequence number is `volgnummer`, or nullptr. Linear in the rows when the grid is
// not in numbered order, constant when it is.
[[nodiscard]] GridqRow* findByVolgnummer(Gridq& gridq, int64_t volgnummer);

// Sets the load of a location and its colours: red text where the load exceeds the standard
// (strictly), else black text that turns white when highlighted. Backgrounds stay the default.
void setLoad(GridqRow& row, double value);

}  // namespace calculation
