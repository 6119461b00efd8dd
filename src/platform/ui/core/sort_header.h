#pragma once
// The click-to-sort state of a list header: which columns sort, in which level order and
// direction. A plain click sorts by one column (a second click on it reverses it), Ctrl+click adds
// a further level (or reverses a column that already sorts), Shift+click removes the sort. The
// header text of a sorting column carries a marker: "[", "+" or "-", the level number when more
// than one column sorts, "]". The state is kept in the settings file as the row field names of
// the sorting columns in level order, separated by ",", each with "-" in front when descending.
// Pure state: no widget, no I/O.

#include <QString>
#include <QStringList>
#include <vector>

namespace ui {

struct SortLevel {
    int column = 0;
    bool descending = false;
    friend bool operator==(const SortLevel&, const SortLevel&) = default;
};

enum class SortClick { Plain, Add, Clear };  // click, Ctrl+click, Shift+click

class SortHeaderState {
public:
    // One row field name per column, e.g. "BED:NAAM"; an empty name marks a column that does not
    // sort (clicks on it are ignored).
    explicit SortHeaderState(QStringList fieldNames);

    void click(int column, SortClick kind);
    void clear() { m_levels.clear(); }

    [[nodiscard]] const std::vector<SortLevel>& levels() const { return m_levels; }
    [[nodiscard]] bool sorted() const { return !m_levels.empty(); }
    // The first sort level's column, or -1 in key order.
    [[nodiscard]] int primaryColumn() const;
    [[nodiscard]] int columnCount() const { return static_cast<int>(m_fields.size()); }
    [[nodiscard]] const QStringList& fieldNames() const { return m_fields; }

    // "[+]", "[-]", "[+1]", "[-2]", … or empty for a column that does not sort.
    [[nodiscard]] QString marker(int column) const;
    // The header text with its marker appended ("Naam[+]").
    [[nodiscard]] QString headerText(int column, const QString& header) const;

    // "BED:NAAM", "-BED:AANMAAKDATUM,BED:NAAM"; empty in key order.
    [[nodiscard]] QString toText() const;
    // Restores a saved state. Names are compared without regard to case and blanks around them;
    // a name that is no column of this list, or a column named twice, is skipped, so a stale
    // entry never breaks the list. Returns false when something had to be skipped.
    bool fromText(const QString& text);

private:
    [[nodiscard]] int levelOf(int column) const;

    QStringList m_fields;
    std::vector<SortLevel> m_levels;
};

}  // namespace ui
