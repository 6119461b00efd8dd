#pragma once
// The national terrain-roughness grid "Roughness.tps": 2818 columns by 3250 rows of 100 m cells
// from X 0 and Y 300000 (m), numbered 1 + column + 2818 × row, row by row from the south and
// west to east within a row. It is an SQLite database with one record per row of the grid
// holding the row's cells as little-endian 32-bit floats (a BLOB); a table "meta" records where
// the values came from. A row that is absent has no cells: reading in number order goes on with
// the first cell of the next row that is present.

#include "platform/messages.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace calculation {

inline constexpr int32_t kGridColumns = 2818;
inline constexpr int32_t kGridRows = 3250;
inline constexpr int32_t kCellSize = 100;
inline constexpr int32_t kGridXMin = 0, kGridXMax = 281800;
inline constexpr int32_t kGridYMin = 300000, kGridYMax = 625000;
// Row number (in hundreds of metres) of the southernmost row of cells.
inline constexpr int32_t kSouthRow = 3000;

inline const QString kRoughnessFile = QStringLiteral("Roughness.tps");

// Cell number of the cell in `column` and `row`, both counted from 0.
[[nodiscard]] constexpr int32_t cellNumber(int32_t column, int32_t row) {
    return 1 + column + kGridColumns * row;
}

class RoughnessGrid {
public:
    // Opens the grid for reading and writing, shared with other processes; a missing file is
    // created empty. Without write access the file is opened read-only after the notice "Access
    // Denied". A file that cannot be created or is no grid at all is a fatal error (the error
    // manager shows it and throws platform::FatalError).
    [[nodiscard]] static std::unique_ptr<RoughnessGrid> open(const QString& path,
                                                             platform::ErrorManager& errors);
    ~RoughnessGrid();
    RoughnessGrid(const RoughnessGrid&) = delete;
    RoughnessGrid& operator=(const RoughnessGrid&) = delete;

    // Positions before the first cell whose number is `number` or higher. One keyed lookup.
    // False when there is no such cell (a later next() then fails too).
    bool set(int32_t number);
    // Reads the cell after the position in number order and moves past it. Sequential: inside a
    // row no further lookup. False at the end of the grid or after a read error.
    bool next(int32_t& number, float& value);
    // The value of cell `number`, or nothing when the cell is absent.
    [[nodiscard]] std::optional<float> value(int32_t number);

    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] bool isReadOnly() const { return m_readOnly; }
    // A value of the meta table ("bron": "synthetisch" or "import"), empty when absent.
    [[nodiscard]] QString meta(const QString& key) const;
    // Number of rows present.
    [[nodiscard]] int32_t rowCount() const;

private:
    RoughnessGrid() = default;
    bool loadRowAtOrAfter(int32_t row);

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_seek = nullptr;
    QString m_path;
    bool m_readOnly = false;
    std::vector<unsigned char> m_bytes;  // the current row as stored
    size_t m_cellCount = 0;
    int32_t m_row = -1;   // index of the current row, -1 before any
    size_t m_column = 0;  // next column to read in the current row
    bool m_atEnd = true;
};

// Writes a complete grid file: `row(r, cells)` is asked for every row r from 0 to 3249 and fills
// `cells` with up to 2818 values, or returns false to leave the row out. The file is written
// under a temporary name beside `path` and renamed over it only when complete, so an existing
// grid is never left half-written. False with a Dutch message in `error` on failure.
using RowSource = std::function<bool(int32_t row, std::vector<float>& cells)>;
[[nodiscard]] bool writeRoughnessFile(const QString& path, const RowSource& row,
                                      const std::map<QString, QString>& meta, QString& error);

}  // namespace calculation
