#pragma once
// The relation manager of one record file on one thread: its relations to the other files, the
// open and close that reach every related file, and the cascading delete that removes a record
// with everything that depends on it as one transaction.
//
// Relations (parent = child, child key, delete rule):
//   BEDRIJVEN    -> BEREKENINGEN  BED:ID = BER:FK            BER:By_Fk  Cascade
//   BEDRIJVEN    -> BRONNEN       BED:ID = BRO:FK_BEDRIJF    BRO:By_Fk  Cascade
//   BEDRIJVEN    -> GEURGEVLOC    BED:ID = GGL:FK_BEDRIJF    GGL:By_Fk  Cascade
//   BEREKENINGEN -> BERBRON       BER:ID = BB:FK_BEREKENING  BB:By_Fk   Cascade
//   BEREKENINGEN -> BERGGL        BER:ID = BG:FK_BEREKENING  BG:By_Fk   Cascade
// plus the many-to-one relations back to the parents, which only let open() reach them. No
// relation has an update rule, so update() touches no child. The aliases have no relations.

#include "store/file_manager.h"
#include "store/records.h"

#include <set>
#include <vector>

namespace store {

class Dictionary;
class StoreContext;

enum class DeleteResult { Done, Cancelled, Failed };

enum class Rule { None, Cascade };

class RelationManager {
public:
    RelationManager(const RelationManager&) = delete;
    RelationManager& operator=(const RelationManager&) = delete;

    [[nodiscard]] FileId id() const { return m_id; }
    // The file manager; nullptr for RUWHEID, whose grid the calculation keeps itself.
    [[nodiscard]] FileManager* file() const { return m_file; }

    // Opens the own file, then once every file reachable through the relations (opening
    // BEDRIJVEN opens BEDRIJVEN, BEREKENINGEN, BERBRON, BERGGL, BRONNEN and GEURGEVLOC). May
    // throw platform::FatalError (see FileManager::open). close() undoes the same set.
    void open();
    void close();

    // Deletes the record in the buffer with everything its Cascade relations reach, as one
    // transaction: "Confirm Delete" first when `ask`; "Transaction cancelled" when the files are
    // not free within 2 seconds; "Record was not deleted" and "Record Delete Error" (Yes
    // retries) when the record itself cannot be deleted. After any failure the files hold what
    // they held before. Open the files before a transaction of the caller's own begins.
    [[nodiscard]] DeleteResult remove(bool ask);
    // Writes the record in the buffer (FileManager::update); no child is touched.
    [[nodiscard]] Status update();
    // Gives back the identifier reserved by priming (FileManager::cancelPrime).
    [[nodiscard]] Status cancelPrime();

    // Wait for the files of a cascading delete, milliseconds.
    static constexpr int kLockWaitMs = 2000;

private:
    friend class Dictionary;

    struct Relation {
        RelationManager* related;
        bool oneToMany;
        Rule onUpdate;
        Rule onDelete;
        Key childKey;
        int parentField;  // 0-based fields of the link
        int childField;
    };

    RelationManager(FileId id, FileManager* file, Dictionary& dictionary, StoreContext& context);
    void setUp();
    void open(std::set<RelationManager*>& visited);
    void close(std::set<RelationManager*>& visited);
    [[nodiscard]] const std::vector<Relation>& deleteRelations();
    void collectCascade(std::vector<class Storage*>& files);
    [[nodiscard]] bool hasCascade();
    // Deletes the children of the record in `parent` (this manager's layout); false with the
    // failing file and error text set.
    [[nodiscard]] bool deleteChildren(const unsigned char* parent, QString& failedFile,
                                      QString& error);

    FileId m_id;
    FileManager* m_file;
    Dictionary& m_dictionary;
    StoreContext& m_context;
    bool m_setUp = false;
    std::vector<Relation> m_relations;
};

}  // namespace store
