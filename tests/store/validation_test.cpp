// Field checks of the frozen copies and default values of new records.

#include "store/messages.h"
#include "store_fixture.h"

namespace store {
namespace {

using test::Home;

BerbronRecord validPoint() {
    BerbronRecord r{};
    r.fkBerekening = 1;
    r.xCoord = 155000;
    r.yCoord = 463000;
    r.gemgebhoogte = 5;
    r.stHoogte = 6.5;
    r.stBinnendiam = 0.5;
    r.stUittree = 4;
    r.eVergund = 12000;
    return r;
}

TEST(FieldChecks, FrozenEmissionPoints) {
    struct Case {
        const char* name;
        void (*change)(BerbronRecord&);
        const char* message;  // nullptr: accepted
        int field;
    };
    const Case cases[] = {
        {"x_upper_bound", [](BerbronRecord& r) { r.xCoord = 299999; }, nullptr, 0},
        {"x_above", [](BerbronRecord& r) { r.xCoord = 300000; },
         "The value of BB:X_Coord must be in range 0 .. 299999.", 4},
        {"x_negative", [](BerbronRecord& r) { r.xCoord = -1; },
         "The value of BB:X_Coord must be in range 0 .. 299999.", 4},
        {"y_upper_bound", [](BerbronRecord& r) { r.yCoord = 650000; }, nullptr, 0},
        {"y_above", [](BerbronRecord& r) { r.yCoord = 650001; },
         "The value of BB:Y_Coord must be in range 300000 .. 650000.", 5},
        {"y_below", [](BerbronRecord& r) { r.yCoord = 299999; },
         "The value of BB:Y_Coord must be in range 300000 .. 650000.", 5},
        {"building_height", [](BerbronRecord& r) { r.gemgebhoogte = 1000.01; },
         "The value of BB:GemGebHoogte must be in range 0 .. 1000.", 6},
        {"stack_height", [](BerbronRecord& r) { r.stHoogte = -0.1; },
         "The value of BB:ST_Hoogte must be in range 0 .. 1000.", 7},
        {"diameter", [](BerbronRecord& r) { r.stBinnendiam = 100.5; },
         "The value of BB:ST_Binnendiam must be in range 0 .. 100.", 8},
        {"exit_velocity_zero", [](BerbronRecord& r) { r.stUittree = 0; }, nullptr, 0},
        {"exit_velocity_negative", [](BerbronRecord& r) { r.stUittree = -0.01; },
         "The value of BB:ST_Uittree must be higher than 0.", 9},
        {"emission_negative", [](BerbronRecord& r) { r.eVergund = -1; },
         "The value of BB:E_Vergund must be higher than 0.", 10},
        {"first_failure_only",
         [](BerbronRecord& r) {
             r.xCoord = 300000;
             r.stUittree = -1;
         },
         "The value of BB:X_Coord must be in range 0 .. 299999.", 4},
    };
    Home h;
    auto& bb = h.dict->berbron();
    bb.open();
    int64_t stored = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        h.sink.clear();
        bb.record() = validPoint();
        c.change(bb.record());
        const Status st = bb.insert();
        if (c.message == nullptr) {
            EXPECT_EQ(st, Status::Ok);
            EXPECT_TRUE(h.sink.messages.empty());
            ++stored;
        } else {
            EXPECT_EQ(st, Status::Invalid);
            EXPECT_EQ(bb.problemField(), c.field);
            ASSERT_EQ(h.sink.messages.size(), 1u);
            EXPECT_EQ(h.sink.messages[0].title, QStringLiteral("Range Error"));
            EXPECT_EQ(h.sink.messages[0].text, QString::fromLatin1(c.message));
        }
        EXPECT_EQ(bb.records(), stored);
    }
    // An update is checked the same way.
    ASSERT_EQ(bb.fetch(Key::BB_By_ID, 1), Status::Ok);
    bb.record().yCoord = 0;
    h.sink.clear();
    EXPECT_EQ(bb.update(), Status::Invalid);
    EXPECT_EQ(h.sink.messages.size(), 1u);
    bb.close();
}

TEST(FieldChecks, FrozenLocationsCheckOnlyTheirCoordinates) {
    Home h;
    auto& bg = h.dict->berggl();
    bg.open();
    bg.clear();
    bg.record().xCoor = 299999;
    bg.record().yCoor = 300000;
    bg.record().geurnorm = -5;  // not checked
    EXPECT_EQ(bg.insert(), Status::Ok);
    bg.record().yCoor = 650001;
    EXPECT_EQ(bg.insert(), Status::Invalid);
    ASSERT_EQ(h.sink.messages.size(), 1u);
    EXPECT_EQ(h.sink.messages[0].text,
              QStringLiteral("The value of BG:Y_Coor must be in range 300000 .. 650000."));
    bg.close();
}

TEST(FieldChecks, CompanyFilesAcceptValuesOutsideTheRanges) {
    Home h;
    auto& bro = h.dict->bronnen();
    auto& copy = h.dict->broncopy();
    bro.open();
    copy.open();
    for (BronnenFile* f : {&bro, &copy}) {
        f->clear();
        f->record().xCoord = 900000;
        f->record().stUittree = -3;
        EXPECT_EQ(f->insert(), Status::Ok);
    }
    EXPECT_TRUE(h.sink.messages.empty());
    copy.close();
    bro.close();
}

TEST(Defaults, NewEmissionPointsStartWithDiameterAndExitVelocity) {
    Home h;
    auto& bro = h.dict->bronnen();
    auto& copy = h.dict->broncopy();
    auto& ggl = h.dict->geurgevloc();
    bro.open();
    copy.open();
    ggl.open();
    bro.record().xCoord = 5;  // leftovers are cleared
    for (BronnenFile* f : {&bro, &copy}) {
        ASSERT_EQ(f->prime(), Status::Ok);
        EXPECT_EQ(f->record().stBinnendiam, 0.5);
        EXPECT_EQ(f->record().stUittree, 4.0);
        EXPECT_EQ(f->record().xCoord, 0);
        EXPECT_EQ(text(f->record().userId), QString());
        EXPECT_EQ(paddedText(f->record().userId), QString(20, QLatin1Char(' ')));
    }
    EXPECT_EQ(copy.record().id, bro.record().id + 1);  // the alias numbers the same file
    ASSERT_EQ(ggl.prime(), Status::Ok);
    EXPECT_EQ(ggl.record().geurnorm, 0.0);
    ggl.close();
    copy.close();
    bro.close();
}

}  // namespace
}  // namespace store
