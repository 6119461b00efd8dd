#include "calculation/saving.h"

#include "calculation/messages.h"
#include "store/calendar.h"
#include "store/dictionary.h"

namespace calculation {

namespace {

// Opens a relation manager's files for as long as it lives.
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

}  // namespace

int32_t saveResults(store::Dictionary& dictionary, platform::MessageSink& messages,
                    const Clock& clock, const QString& resultNaam, int32_t parBedid,
                    int32_t parRuntime, uint8_t parEigenruwheid, double parRuwheid,
                    const QString& parVersienrregel) {
    OpenFiles open(dictionary.berekeningenRelations());
    store::BerekeningenFile& file = dictionary.berekeningen();
    store::BerekeningenRecord& ber = file.record();
    ber.fk = parBedid;
    store::setText(ber.naam, resultNaam.left(kBerNaamLength));
    ber.eigenruwheid = parEigenruwheid;
    ber.ruwheid = parRuwheid;
    ber.berDatum = store::today(clock);
    ber.berTijd = store::timeNow(clock);
    ber.rekentijd = parRuntime;
    store::setText(ber.wolkanversienr, parVersienrregel);
    if (file.insert() != store::Status::Ok) {
        messages.show(platform::Message{QString(), text::kOpslaanMislukt + file.lastErrorText()});
        return 0;
    }
    return file.record().id;
}

FrozenCopy saveFrozenCopy(store::Dictionary& dictionary, const Gridq& gridq, int32_t berId) {
    OpenFiles open(dictionary.berekeningenRelations());
    store::BerbronFile& berbron = dictionary.berbron();
    store::BergglFile& berggl = dictionary.berggl();
    FrozenCopy copy;
    store::Transaction transaction(dictionary, {&berbron, &berggl},
                                   store::RelationManager::kLockWaitMs);
    copy.inTransaction = transaction.status() == store::Status::Ok;
    for (const GridqRow& row : gridq) {
        store::Status status = store::Status::Failed;
        if (row.isBron()) {
            store::BerbronRecord& bb = berbron.record();
            bb.fkBerekening = berId;
            store::setText(bb.userId, row.userId);
            bb.xCoord = row.xPos;
            bb.yCoord = row.yPos;
            bb.gemgebhoogte = row.gebHoogte;
            bb.stHoogte = row.stHoogte;
            bb.stBinnendiam = row.stBinnen;
            bb.stUittree = row.stUittree;
            bb.eVergund = row.eVergund;
            status = berbron.insert();
            copy.bronnen += status == store::Status::Ok ? 1 : 0;
        } else if (row.isGgl()) {
            store::BergglRecord& bg = berggl.record();
            bg.fkBerekening = berId;
            store::setText(bg.userId, row.userId);
            bg.xCoor = row.xPos;
            bg.yCoor = row.yPos;
            bg.geurnorm = row.limit;
            bg.geurbelasting = row.value;
            status = berggl.insert();
            copy.locaties += status == store::Status::Ok ? 1 : 0;
        }
        copy.refused += status == store::Status::Ok ? 0 : 1;
    }
    if (copy.inTransaction) {
        (void)transaction.commit();
    }
    return copy;
}

int32_t berekeningenBewaren(BerekenenState& state, store::Dictionary& dictionary,
                            platform::MessageSink& messages, const Clock& clock,
                            const QString& resultNaam, BusyCursor* busy, FrozenCopy* copy) {
    if (busy != nullptr) {
        busy->setBusy(true);
    }
    state.saveResult =
        saveResults(dictionary, messages, clock, resultNaam, state.bedId, state.runtime,
                    state.eigenRuwheid, state.locRuwheid, state.locVersienrregel);
    if (busy != nullptr) {
        busy->setBusy(false);
        busy->setBusy(true);
    }
    if (state.saveResult != 0) {
        const FrozenCopy done = saveFrozenCopy(dictionary, state.gridq, state.saveResult);
        if (copy != nullptr) {
            *copy = done;
        }
    }
    if (busy != nullptr) {
        busy->setBusy(false);
    }
    return state.saveResult;
}

}  // namespace calculation
