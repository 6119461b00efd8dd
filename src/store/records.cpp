#include "store/records.h"

#include "platform/cp1252.h"

#include <algorithm>
#include <cstring>

namespace store {

QString text(const char* data, std::size_t size, bool fixed) {
    std::size_t n = 0;
    const std::size_t limit = fixed ? size : size - 1;
    while (n < limit && data[n] != '\0') {
        ++n;
    }
    if (fixed) {
        while (n > 0 && data[n - 1] == ' ') {
            --n;
        }
    }
    return platform::cp1252::toUnicode(std::string_view(data, n));
}

bool setText(char* data, std::size_t size, bool fixed, const QString& value) {
    const std::string bytes = platform::cp1252::fromUnicode(value);
    const std::size_t capacity = fixed ? size : size - 1;
    const std::size_t n = std::min(bytes.size(), capacity);
    std::memcpy(data, bytes.data(), n);
    std::memset(data + n, fixed ? ' ' : '\0', size - n);
    return n == bytes.size();
}

namespace {

#define VV_FIELD(Record, member, name, type)                               \
    Field {                                                                \
        name, static_cast<uint16_t>(offsetof(Record, member)),             \
            static_cast<uint16_t>(sizeof(Record::member)), FieldType::type \
    }

constexpr FieldCheck range(double low, double high, const char* message) {
    return FieldCheck{CheckKind::Range, low, high, message};
}
constexpr FieldCheck atLeastZero() {
    return FieldCheck{CheckKind::AtLeast, 0, 0, "0"};
}

constexpr Field checked(Field f, const char* description, FieldCheck check) {
    f.description = description;
    f.check = check;
    return f;
}

const Field kBedrijvenFields[] = {
    VV_FIELD(BedrijvenRecord, id, "ID", Int32),
    VV_FIELD(BedrijvenRecord, naam, "NAAM", CText),
    VV_FIELD(BedrijvenRecord, meteo, "METEO", CText),
    VV_FIELD(BedrijvenRecord, aanmaakdatum, "AANMAAKDATUM", Int32),
};
const KeyInfo kBedrijvenKeys[] = {{Key::BED_By_Id, "By_Id", 0, true},
                                  {Key::BED_By_Name, "By_Name", 1, false},
                                  {Key::BED_By_CreationDate, "By_CreationDate", 3, false}};

const Field kBronnenFields[] = {
    VV_FIELD(BronnenRecord, id, "ID", Int32),
    VV_FIELD(BronnenRecord, fkBedrijf, "FK_BEDRIJF", Int32),
    VV_FIELD(BronnenRecord, userId, "USER_ID", FixedText),
    VV_FIELD(BronnenRecord, xCoord, "X_COORD", Int32),
    VV_FIELD(BronnenRecord, yCoord, "Y_COORD", Int32),
    VV_FIELD(BronnenRecord, gemgebhoogte, "GEMGEBHOOGTE", Double),
    VV_FIELD(BronnenRecord, stHoogte, "ST_HOOGTE", Double),
    VV_FIELD(BronnenRecord, stBinnendiam, "ST_BINNENDIAM", Double),
    VV_FIELD(BronnenRecord, stUittree, "ST_UITTREE", Double),
    VV_FIELD(BronnenRecord, eVergund, "E_VERGUND", Double),
};
const KeyInfo kBronnenKeys[] = {{Key::BRO_By_ID, "By_ID", 0, true},
                                {Key::BRO_By_Fk, "By_Fk", 1, false}};

const Field kGeurgevlocFields[] = {
    VV_FIELD(GeurgevlocRecord, id, "ID", Int32),
    VV_FIELD(GeurgevlocRecord, fkBedrijf, "FK_BEDRIJF", Int32),
    VV_FIELD(GeurgevlocRecord, userId, "USER_ID", FixedText),
    VV_FIELD(GeurgevlocRecord, xCoor, "X_COOR", Int32),
    VV_FIELD(GeurgevlocRecord, yCoor, "Y_COOR", Int32),
    VV_FIELD(GeurgevlocRecord, geurnorm, "GEURNORM", Double),
    VV_FIELD(GeurgevlocRecord, geurbelasting, "GEURBELASTING", Double),
};
const KeyInfo kGeurgevlocKeys[] = {{Key::GGL_By_Id, "By_Id", 0, true},
                                   {Key::GGL_By_Fk, "By_Fk", 1, false}};

const Field kBerekeningenFields[] = {
    VV_FIELD(BerekeningenRecord, id, "ID", Int32),
    VV_FIELD(BerekeningenRecord, fk, "FK", Int32),
    VV_FIELD(BerekeningenRecord, naam, "NAAM", CText),
    VV_FIELD(BerekeningenRecord, eigenruwheid, "EIGENRUWHEID", Byte),
    VV_FIELD(BerekeningenRecord, ruwheid, "RUWHEID", Double),
    VV_FIELD(BerekeningenRecord, berDatum, "BER_DATUM", Int32),
    VV_FIELD(BerekeningenRecord, berTijd, "BER_TIJD", Int32),
    VV_FIELD(BerekeningenRecord, rekentijd, "REKENTIJD", Int32),
    VV_FIELD(BerekeningenRecord, wolkanversienr, "WOLKANVERSIENR", FixedText),
};
const KeyInfo kBerekeningenKeys[] = {{Key::BER_By_ID, "By_ID", 0, true},
                                     {Key::BER_By_Fk, "By_Fk", 1, false}};

const Field kBerbronFields[] = {
    VV_FIELD(BerbronRecord, id, "ID", Int32),
    VV_FIELD(BerbronRecord, fkBerekening, "FK_BEREKENING", Int32),
    VV_FIELD(BerbronRecord, userId, "USER_ID", FixedText),
    checked(VV_FIELD(BerbronRecord, xCoord, "X_COORD", Int32), "BB:X_Coord",
            range(0, 299999, "0 .. 299999")),
    checked(VV_FIELD(BerbronRecord, yCoord, "Y_COORD", Int32), "BB:Y_Coord",
            range(300000, 650000, "300000 .. 650000")),
    checked(VV_FIELD(BerbronRecord, gemgebhoogte, "GEMGEBHOOGTE", Double), "BB:GemGebHoogte",
            range(0, 1000, "0 .. 1000")),
    checked(VV_FIELD(BerbronRecord, stHoogte, "ST_HOOGTE", Double), "BB:ST_Hoogte",
            range(0, 1000, "0 .. 1000")),
    checked(VV_FIELD(BerbronRecord, stBinnendiam, "ST_BINNENDIAM", Double), "BB:ST_Binnendiam",
            range(0, 100, "0 .. 100")),
    checked(VV_FIELD(BerbronRecord, stUittree, "ST_UITTREE", Double), "BB:ST_Uittree",
            atLeastZero()),
    checked(VV_FIELD(BerbronRecord, eVergund, "E_VERGUND", Double), "BB:E_Vergund", atLeastZero()),
};
const KeyInfo kBerbronKeys[] = {{Key::BB_By_ID, "By_ID", 0, true},
                                {Key::BB_By_Fk, "By_Fk", 1, false}};

const Field kBergglFields[] = {
    VV_FIELD(BergglRecord, id, "ID", Int32),
    VV_FIELD(BergglRecord, fkBerekening, "FK_BEREKENING", Int32),
    VV_FIELD(BergglRecord, userId, "USER_ID", FixedText),
    checked(VV_FIELD(BergglRecord, xCoor, "X_COOR", Int32), "BG:X_Coor",
            range(0, 299999, "0 .. 299999")),
    checked(VV_FIELD(BergglRecord, yCoor, "Y_COOR", Int32), "BG:Y_Coor",
            range(300000, 650000, "300000 .. 650000")),
    VV_FIELD(BergglRecord, geurnorm, "GEURNORM", Double),
    VV_FIELD(BergglRecord, geurbelasting, "GEURBELASTING", Double),
};
const KeyInfo kBergglKeys[] = {{Key::BG_By_Id, "By_Id", 0, true},
                               {Key::BG_By_Fk, "By_Fk", 1, false}};

const Field kRuwheidFields[] = {
    VV_FIELD(RuwheidRecord, id, "ID", Int32),
    VV_FIELD(RuwheidRecord, value, "VALUE", Float),
};
const KeyInfo kRuwheidKeys[] = {{Key::RUW_By_ID, "By_ID", 0, true}};

#undef VV_FIELD

void bronnenDefaults(void* record) {
    auto* r = static_cast<BronnenRecord*>(record);
    r->stBinnendiam = 0.5;
    r->stUittree = 4.0;
}

const Layout kLayouts[] = {
    {"BEDRIJVEN", "BED", "Bedrijven.tps", sizeof(BedrijvenRecord), kBedrijvenFields, kBedrijvenKeys,
     nullptr},
    {"RUWHEID", "RUW", "Roughness.tps", sizeof(RuwheidRecord), kRuwheidFields, kRuwheidKeys,
     nullptr},
    {"BRONNEN", "BRO", "Bronnen.tps", sizeof(BronnenRecord), kBronnenFields, kBronnenKeys,
     bronnenDefaults},
    {"BERBRON", "BB", "BerBron.tps", sizeof(BerbronRecord), kBerbronFields, kBerbronKeys, nullptr},
    {"BEREKENINGEN", "BER", "Berekeningen.tps", sizeof(BerekeningenRecord), kBerekeningenFields,
     kBerekeningenKeys, nullptr},
    {"GEURGEVLOC", "GGL", "GeurGevLoc.tps", sizeof(GeurgevlocRecord), kGeurgevlocFields,
     kGeurgevlocKeys, nullptr},
    {"BERGGL", "BG", "BerGGL.tps", sizeof(BergglRecord), kBergglFields, kBergglKeys, nullptr},
};

struct FileName {
    const char* label;
    const char* prefix;
    FileId base;
};
constexpr FileName kFileNames[kFileCount] = {
    {"BEDRIJVEN", "BED", FileId::BEDRIJVEN},
    {"RUWHEID", "RUW", FileId::RUWHEID},
    {"BRONNEN", "BRO", FileId::BRONNEN},
    {"BERBRON", "BB", FileId::BERBRON},
    {"BEREKENINGEN", "BER", FileId::BEREKENINGEN},
    {"GEURGEVLOC", "GGL", FileId::GEURGEVLOC},
    {"BERGGL", "BG", FileId::BERGGL},
    {"BRONCOPY", "BRONC", FileId::BRONNEN},
    {"GGLCOPY", "GGLC", FileId::GEURGEVLOC},
    {"BEDCOPY", "BEDC", FileId::BEDRIJVEN},
};

}  // namespace

FileId baseFile(FileId file) {
    return kFileNames[static_cast<std::size_t>(file)].base;
}
const char* fileLabel(FileId file) {
    return kFileNames[static_cast<std::size_t>(file)].label;
}
const char* filePrefix(FileId file) {
    return kFileNames[static_cast<std::size_t>(file)].prefix;
}

const Layout& layoutOf(FileId file) {
    // The physical files come first in FileId order, so the base file's number indexes kLayouts.
    return kLayouts[static_cast<std::size_t>(baseFile(file))];
}

const KeyInfo* findKey(const Layout& layout, Key key) {
    for (const KeyInfo& k : layout.keys) {
        if (k.key == key) {
            return &k;
        }
    }
    return nullptr;
}

}  // namespace store
