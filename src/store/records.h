#pragma once
// Record layouts of the record files: one packed struct per file with exactly the types, sizes and
// offsets of the stored record, a field table per layout (name as the layout spells it, offset,
// size, type) that messages, validation and the storage adapter use, and the keys of each file.
//
// Texts are Windows-1252 bytes. A NUL-terminated text of n bytes (CText<n>) holds at most n-1
// characters; a fixed text of n bytes (FixedText<n>) holds n characters padded with blanks. Use
// text()/setText() to move them to and from QString.

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace store {

#pragma pack(push, 1)

// NUL-terminated text in an n-byte field: at most n-1 characters.
template <std::size_t N>
struct CText {
    char data[N];
};

// Fixed text of n bytes, padded with blanks.
template <std::size_t N>
struct FixedText {
    char data[N];
};

// Companies (farms). File "Bedrijven.tps".
struct BedrijvenRecord {
    int32_t id;            // BED:ID
    CText<255> naam;       // BED:NAAM
    CText<20> meteo;       // BED:METEO
    int32_t aanmaakdatum;  // BED:AANMAAKDATUM, day number (calendar.h)
};

// Emission points of a company. File "Bronnen.tps".
struct BronnenRecord {
    int32_t id;            // BRO:ID
    int32_t fkBedrijf;     // BRO:FK_BEDRIJF, BED:ID of the owning company
    FixedText<20> userId;  // BRO:USER_ID
    int32_t xCoord;        // BRO:X_COORD, m
    int32_t yCoord;        // BRO:Y_COORD, m
    double gemgebhoogte;   // BRO:GEMGEBHOOGTE, m
    double stHoogte;       // BRO:ST_HOOGTE, m
    double stBinnendiam;   // BRO:ST_BINNENDIAM, m; 0.5 in a new record
    double stUittree;      // BRO:ST_UITTREE, m/s; 4.0 in a new record
    double eVergund;       // BRO:E_VERGUND, ouE/s
};

// Odour-sensitive locations of a company. File "GeurGevLoc.tps".
struct GeurgevlocRecord {
    int32_t id;            // GGL:ID
    int32_t fkBedrijf;     // GGL:FK_BEDRIJF, BED:ID of the owning company
    FixedText<20> userId;  // GGL:USER_ID
    int32_t xCoor;         // GGL:X_COOR, m
    int32_t yCoor;         // GGL:Y_COOR, m
    double geurnorm;       // GGL:GEURNORM, ouE/m3
    double geurbelasting;  // GGL:GEURBELASTING, stays 0 in this file
};

// Saved calculations. File "Berekeningen.tps".
struct BerekeningenRecord {
    int32_t id;                     // BER:ID
    int32_t fk;                     // BER:FK, BED:ID of the company calculated
    CText<128> naam;                // BER:NAAM
    uint8_t eigenruwheid;           // BER:EIGENRUWHEID, 1 when the user entered the roughness
    double ruwheid;                 // BER:RUWHEID (unaligned: the record is packed)
    int32_t berDatum;               // BER:BER_DATUM, day number
    int32_t berTijd;                // BER:BER_TIJD, time of day (hundredths + 1)
    int32_t rekentijd;              // BER:REKENTIJD, duration in hundredths of a second
    FixedText<128> wolkanversienr;  // BER:WOLKANVERSIENR
};

// Frozen emission points of a saved calculation. File "BerBron.tps".
struct BerbronRecord {
    int32_t id;            // BB:ID
    int32_t fkBerekening;  // BB:FK_BEREKENING, BER:ID of the saved calculation
    FixedText<20> userId;  // BB:USER_ID
    int32_t xCoord;        // BB:X_COORD
    int32_t yCoord;        // BB:Y_COORD
    double gemgebhoogte;   // BB:GEMGEBHOOGTE
    double stHoogte;       // BB:ST_HOOGTE
    double stBinnendiam;   // BB:ST_BINNENDIAM
    double stUittree;      // BB:ST_UITTREE
    double eVergund;       // BB:E_VERGUND
};

// Frozen sensitive locations with their computed odour load. File "BerGGL.tps".
struct BergglRecord {
    int32_t id;            // BG:ID
    int32_t fkBerekening;  // BG:FK_BEREKENING, BER:ID of the saved calculation
    FixedText<20> userId;  // BG:USER_ID
    int32_t xCoor;         // BG:X_COOR
    int32_t yCoor;         // BG:Y_COOR
    double geurnorm;       // BG:GEURNORM
    double geurbelasting;  // BG:GEURBELASTING, the computed odour load, ouE/m3
};

// One cell of the terrain-roughness grid. File "Roughness.tps" (kept by the calculation's grid
// reader, not by a file manager of this library).
struct RuwheidRecord {
    int32_t id;   // RUW:ID, cell number 1 + column + 2818 * row
    float value;  // RUW:VALUE
};

#pragma pack(pop)

static_assert(sizeof(CText<255>) == 255 && sizeof(FixedText<20>) == 20);
static_assert(sizeof(BedrijvenRecord) == 283);
static_assert(offsetof(BedrijvenRecord, naam) == 4 && offsetof(BedrijvenRecord, meteo) == 259 &&
              offsetof(BedrijvenRecord, aanmaakdatum) == 279);
static_assert(sizeof(BronnenRecord) == 76);
static_assert(offsetof(BronnenRecord, fkBedrijf) == 4 && offsetof(BronnenRecord, userId) == 8 &&
              offsetof(BronnenRecord, xCoord) == 28 && offsetof(BronnenRecord, yCoord) == 32 &&
              offsetof(BronnenRecord, gemgebhoogte) == 36 &&
              offsetof(BronnenRecord, stHoogte) == 44 &&
              offsetof(BronnenRecord, stBinnendiam) == 52 &&
              offsetof(BronnenRecord, stUittree) == 60 && offsetof(BronnenRecord, eVergund) == 68);
static_assert(sizeof(GeurgevlocRecord) == 52);
static_assert(offsetof(GeurgevlocRecord, userId) == 8 && offsetof(GeurgevlocRecord, xCoor) == 28 &&
              offsetof(GeurgevlocRecord, yCoor) == 32 &&
              offsetof(GeurgevlocRecord, geurnorm) == 36 &&
              offsetof(GeurgevlocRecord, geurbelasting) == 44);
static_assert(sizeof(BerekeningenRecord) == 285);
static_assert(offsetof(BerekeningenRecord, naam) == 8 &&
              offsetof(BerekeningenRecord, eigenruwheid) == 136 &&
              offsetof(BerekeningenRecord, ruwheid) == 137 &&
              offsetof(BerekeningenRecord, berDatum) == 145 &&
              offsetof(BerekeningenRecord, berTijd) == 149 &&
              offsetof(BerekeningenRecord, rekentijd) == 153 &&
              offsetof(BerekeningenRecord, wolkanversienr) == 157);
static_assert(sizeof(BerbronRecord) == 76);
static_assert(offsetof(BerbronRecord, fkBerekening) == 4 && offsetof(BerbronRecord, xCoord) == 28 &&
              offsetof(BerbronRecord, eVergund) == 68);
static_assert(sizeof(BergglRecord) == 52);
static_assert(offsetof(BergglRecord, fkBerekening) == 4 && offsetof(BergglRecord, xCoor) == 28 &&
              offsetof(BergglRecord, geurbelasting) == 44);
static_assert(sizeof(RuwheidRecord) == 8 && offsetof(RuwheidRecord, value) == 4);

// Where a record starts relative to an 8-byte boundary so that its doubles are aligned (all
// doubles of a layout share one offset modulo 8). BerekeningenRecord keeps its identifiers
// aligned instead: its fields after BER:EIGENRUWHEID stay unaligned, so read those by value.
template <typename R>
inline constexpr std::size_t kPlacement = 0;
template <>
inline constexpr std::size_t kPlacement<BronnenRecord> = 8 - offsetof(BronnenRecord, eVergund) % 8;
template <>
inline constexpr std::size_t kPlacement<GeurgevlocRecord> = 8 -
                                                            offsetof(GeurgevlocRecord, geurnorm) %
                                                                8;
template <>
inline constexpr std::size_t kPlacement<BerbronRecord> = 8 - offsetof(BerbronRecord, eVergund) % 8;
template <>
inline constexpr std::size_t kPlacement<BergglRecord> = 8 - offsetof(BergglRecord, geurnorm) % 8;
static_assert((kPlacement<BronnenRecord> + offsetof(BronnenRecord, gemgebhoogte)) % 8 == 0);
static_assert((kPlacement<GeurgevlocRecord> + offsetof(GeurgevlocRecord, geurbelasting)) % 8 == 0);
static_assert((kPlacement<BerbronRecord> + offsetof(BerbronRecord, stUittree)) % 8 == 0);
static_assert((kPlacement<BergglRecord> + offsetof(BergglRecord, geurbelasting)) % 8 == 0);

// ---- Texts ------------------------------------------------------------------------------------

// A NUL-terminated text: the characters before the first NUL (at most n-1). A fixed text: its
// characters up to a NUL, without trailing blanks.
[[nodiscard]] QString text(const char* data, std::size_t size, bool fixed);
// Stores `value` as Windows-1252 (characters without a byte become '?'), cut to what the field
// holds; returns false when it had to be cut.
bool setText(char* data, std::size_t size, bool fixed, const QString& value);

template <std::size_t N>
[[nodiscard]] QString text(const CText<N>& field) {
    return text(field.data, N, false);
}
// The text without its padding blanks; paddedText() keeps all N characters.
template <std::size_t N>
[[nodiscard]] QString text(const FixedText<N>& field) {
    return text(field.data, N, true);
}
template <std::size_t N>
[[nodiscard]] QString paddedText(const FixedText<N>& field) {
    return text(field.data, N, true).leftJustified(static_cast<qsizetype>(N), QLatin1Char(' '));
}
template <std::size_t N>
bool setText(CText<N>& field, const QString& value) {
    return setText(field.data, N, false, value);
}
template <std::size_t N>
bool setText(FixedText<N>& field, const QString& value) {
    return setText(field.data, N, true, value);
}

// ---- Field tables -----------------------------------------------------------------------------

enum class FieldType : uint8_t { Int32, Double, Float, Byte, CText, FixedText };

// A value check of a frozen copy: a range that includes its bounds, or "0 or more".
enum class CheckKind : uint8_t { None, Range, AtLeast };
struct FieldCheck {
    CheckKind kind = CheckKind::None;
    double low = 0;
    double high = 0;
    const char* message = nullptr;  // %Message of the range message, e.g. "0 .. 299999"
};

struct Field {
    const char* name;  // without the prefix: "NAAM" of "BED:NAAM"; also the column name
    uint16_t offset;
    uint16_t size;
    FieldType type;
    const char* description = nullptr;  // mixed-case name for messages, e.g. "BB:X_Coord"
    FieldCheck check = {};
};

// ---- Files and keys ---------------------------------------------------------------------------

// The record files in the order in which the dictionary creates their managers.
enum class FileId : uint8_t {
    BEDRIJVEN,
    RUWHEID,
    BRONNEN,
    BERBRON,
    BEREKENINGEN,
    GEURGEVLOC,
    BERGGL,
    BRONCOPY,
    GGLCOPY,
    BEDCOPY,
};
inline constexpr std::size_t kFileCount = 10;

// Every key of the physical files. An alias uses the keys of its base file under its own prefix
// (BEDC:By_Name is Key::BED_By_Name on the alias BEDCOPY).
enum class Key : uint8_t {
    BED_By_Id,            // BED:By_Id, primary, auto-numbered
    BED_By_Name,          // BED:By_Name, duplicates
    BED_By_CreationDate,  // BED:By_CreationDate, duplicates
    BRO_By_ID,            // BRO:By_ID, primary, auto-numbered
    BRO_By_Fk,            // BRO:By_Fk, duplicates
    GGL_By_Id,            // GGL:By_Id, primary, auto-numbered
    GGL_By_Fk,            // GGL:By_Fk, duplicates
    BER_By_ID,            // BER:By_ID, primary, auto-numbered
    BER_By_Fk,            // BER:By_Fk, duplicates
    BB_By_ID,             // BB:By_ID, primary, auto-numbered
    BB_By_Fk,             // BB:By_Fk, duplicates
    BG_By_Id,             // BG:By_Id, primary, auto-numbered
    BG_By_Fk,             // BG:By_Fk, duplicates
    RUW_By_ID,            // RUW:By_ID, primary
};

struct KeyInfo {
    Key key;
    const char* name;  // without the prefix: "By_Name"; also the index name
    uint8_t field;     // 0-based index into the layout's fields
    bool primary;
};

// Everything about one physical record file.
struct Layout {
    const char* label;     // "BEDRIJVEN": table name and schema name
    const char* prefix;    // "BED"
    const char* physical;  // "Bedrijven.tps"
    std::size_t size;      // record size in bytes
    std::span<const Field> fields;
    std::span<const KeyInfo> keys;
    void (*defaults)(void* record);  // default values of a primed record, or nullptr
};

// The layout of a physical file; aliases map to their base file's layout.
[[nodiscard]] const Layout& layoutOf(FileId file);
[[nodiscard]] const KeyInfo* findKey(const Layout& layout, Key key);
// Name of the file as the dictionary lists it ("BEDRIJVEN", "BEDCOPY"), its prefix ("BEDC") and
// the file it is an alias of (itself when it is none).
[[nodiscard]] const char* fileLabel(FileId file);
[[nodiscard]] const char* filePrefix(FileId file);
[[nodiscard]] FileId baseFile(FileId file);

// Roughness grid: 2818 columns from X = 0 and 3250 rows from Y = 300000, 100 m cells.
inline constexpr int32_t kRuwheidColumns = 2818;
inline constexpr int32_t kRuwheidRows = 3250;
// Cell number of column c and row r: 1 + c + 2818 * r.
[[nodiscard]] constexpr int32_t ruwheidCell(int32_t column, int32_t row) {
    return 1 + column + kRuwheidColumns * row;
}

}  // namespace store
