#pragma once
// Filling the roughness grid: from an ESRI ASCII grid in Dutch national grid coordinates, or
// with a synthetic grid of the whole country for demonstrations.

#include <QString>
#include <cstdint>
#include <vector>

namespace calculation {

struct RoughnessImportResult {
    bool ok = false;
    QString message;            // Dutch: what went wrong, or a summary of what was imported
    int64_t valuesRead = 0;     // cells of the ESRI grid
    int64_t cellsFilled = 0;    // cells of the national grid that received a value
    int64_t valuesOutside = 0;  // ESRI cells outside the national grid, left out
};

// Imports an ESRI ASCII grid ("NCOLS", "NROWS", "XLLCORNER" or "XLLCENTER", "YLLCORNER" or
// "YLLCENTER", "CELLSIZE", optional "NODATA_VALUE"; rows from north to south) whose cell size is
// a multiple or a divisor of 100 m. An ESRI cell whose lower-left corner is (X, Y) lands in the
// national cell of column X/100 and row (Y − 300000)/100; a larger cell fills every national
// cell it covers, smaller cells are averaged per national cell. National cells that the file
// does not cover, and NODATA cells, hold 0. The new grid replaces `gridPath` only when complete.
[[nodiscard]] RoughnessImportResult importEsriAsciiGrid(const QString& ascPath,
                                                        const QString& gridPath);

// The reading half of the import: the national grid as 2818 × 3250 values, row by row from the
// south (index column + 2818 × row), without writing anything.
[[nodiscard]] RoughnessImportResult readEsriAsciiGrid(const QString& ascPath,
                                                      std::vector<float>& national);

// The roughness of the synthetic demonstration grid in a national cell (column and row from 0):
// deterministic, sea and large lakes very smooth, farmland 0.05 … 0.3 varying smoothly, towns
// and woods 0.5 … 1.5.
[[nodiscard]] float demoRoughness(int32_t column, int32_t row);

// Writes the synthetic grid, recorded as synthetic in its meta table. `rows` limits it to the
// southernmost rows (all 3250 by default).
[[nodiscard]] RoughnessImportResult writeDemoRoughness(const QString& gridPath,
                                                       int32_t rows = 3250);

}  // namespace calculation
