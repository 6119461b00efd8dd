#include "calculation/roughness_import.h"

#include "calculation/roughness_grid.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace calculation {

namespace {

constexpr size_t kCells = static_cast<size_t>(kGridColumns) * kGridRows;

// --- reading the ESRI file -----------------------------------------------------------------

// Whitespace-separated words of a file, read in blocks, with the line each word is on.
class WordReader {
public:
    explicit WordReader(std::FILE* file) : m_file(file) {}

    bool next(std::string& word, int64_t& line) {
        word.clear();
        int c = get();
        while (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            if (c == '\n') {
                ++m_line;
            }
            c = get();
        }
        if (c == EOF) {
            return false;
        }
        line = m_line;
        while (c != EOF && c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f' &&
               c != '\v') {
            if (word.size() < 64) {
                word.push_back(static_cast<char>(c));
            }
            c = get();
        }
        if (c == '\n') {
            ++m_line;
        }
        return true;
    }
    [[nodiscard]] bool failed() const { return std::ferror(m_file) != 0; }

private:
    int get() {
        if (m_pos == m_size) {
            m_size = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
            m_pos = 0;
            if (m_size == 0) {
                return EOF;
            }
        }
        return static_cast<unsigned char>(m_buffer[m_pos++]);
    }

    std::FILE* m_file;
    std::array<char, 1 << 20> m_buffer{};
    size_t m_pos = 0;
    size_t m_size = 0;
    int64_t m_line = 1;
};

std::optional<double> parseNumber(const std::string& word) {
    const char* begin = word.data();
    const char* end = begin + word.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    double value = 0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString upper(const std::string& word) {
    return QString::fromLatin1(word).toUpper();
}

struct Header {
    std::optional<double> ncols, nrows, xll, yll, cellsize, nodata;
    bool xCenter = false, yCenter = false;
};

RoughnessImportResult failure(QString message) {
    RoughnessImportResult result;
    result.message = std::move(message);
    return result;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

RoughnessImportResult readEsriAsciiGrid(const QString& ascPath, std::vector<float>& national) {
    std::unique_ptr<std::FILE, FileCloser> file(
        std::fopen(QFile::encodeName(ascPath).constData(), "rb"));
    if (!file) {
        return failure(QStringLiteral("Het rasterbestand %1 kan niet worden geopend: %2.")
                           .arg(ascPath, QString::fromLocal8Bit(std::strerror(errno))));
    }
    auto reader = std::make_unique<WordReader>(file.get());
    const QString name = QFileInfo(ascPath).fileName();
    auto at = [&](int64_t line) { return QStringLiteral("%1, regel %2: ").arg(name).arg(line); };

    // Header: pairs of a keyword and a number, until the first word that is a number.
    Header header;
    std::string word;
    int64_t line = 1;
    bool haveWord = reader->next(word, line);
    while (haveWord && !parseNumber(word)) {
        const QString key = upper(word);
        std::optional<double>* slot = nullptr;
        if (key == QLatin1String("NCOLS")) {
            slot = &header.ncols;
        } else if (key == QLatin1String("NROWS")) {
            slot = &header.nrows;
        } else if (key == QLatin1String("XLLCORNER") || key == QLatin1String("XLLCENTER")) {
            slot = &header.xll;
            header.xCenter = key == QLatin1String("XLLCENTER");
        } else if (key == QLatin1String("YLLCORNER") || key == QLatin1String("YLLCENTER")) {
            slot = &header.yll;
            header.yCenter = key == QLatin1String("YLLCENTER");
        } else if (key == QLatin1String("CELLSIZE")) {
            slot = &header.cellsize;
        } else if (key == QLatin1String("NODATA_VALUE")) {
            slot = &header.nodata;
        } else {
            return failure(
                at(line) +
                QStringLiteral("onbekend kopveld \"%1\".").arg(QString::fromLatin1(word)));
        }
        const int64_t keyLine = line;
        if (!reader->next(word, line) || line != keyLine || !parseNumber(word)) {
            return failure(at(keyLine) + QStringLiteral("het kopveld %1 heeft geen getal als "
                                                        "waarde.")
                                             .arg(key));
        }
        *slot = parseNumber(word);
        haveWord = reader->next(word, line);
    }
    const std::pair<const char*, const std::optional<double>*> required[] = {
        {"NCOLS", &header.ncols},
        {"NROWS", &header.nrows},
        {"XLLCORNER", &header.xll},
        {"YLLCORNER", &header.yll},
        {"CELLSIZE", &header.cellsize}};
    for (const auto& [key, value] : required) {
        if (!value->has_value()) {
            return failure(QStringLiteral("%1: het kopveld %2 ontbreekt; is dit een ESRI "
                                          "ASCII-raster?")
                               .arg(name, QString::fromLatin1(key)));
        }
    }
    const double ncols = *header.ncols;
    const double nrows = *header.nrows;
    if (ncols < 1 || nrows < 1 || ncols != std::floor(ncols) || nrows != std::floor(nrows) ||
        ncols * nrows > 4.0e9) {
        return failure(
            QStringLiteral("%1: NCOLS en NROWS moeten positieve gehele getallen zijn.").arg(name));
    }
    const double cellsize = *header.cellsize;
    const bool multiple = cellsize >= kCellSize &&
                          std::fabs(cellsize / kCellSize - std::round(cellsize / kCellSize)) < 1e-9;
    const bool divisor = cellsize > 0 && cellsize < kCellSize &&
                         std::fabs(kCellSize / cellsize - std::round(kCellSize / cellsize)) < 1e-9;
    if (!multiple && !divisor) {
        return failure(QStringLiteral("%1: CELLSIZE %2 is geen veelvoud of deler van 100 m.")
                           .arg(name, QString::number(cellsize)));
    }
    const double xll = *header.xll - (header.xCenter ? cellsize / 2 : 0);
    const double yll = *header.yll - (header.yCenter ? cellsize / 2 : 0);
    const auto columns = static_cast<int64_t>(ncols);
    const auto rows = static_cast<int64_t>(nrows);
    const int64_t expected = columns * rows;

    national.assign(kCells, 0.0f);
    std::vector<float>& sum = national;
    std::vector<uint16_t> count(divisor ? kCells : 0, 0);
    std::vector<bool> filled(kCells, false);
    RoughnessImportResult result;
    const int span = multiple ? static_cast<int>(std::lround(cellsize / kCellSize)) : 1;

    auto nationalIndex = [](double x, double y) -> std::optional<size_t> {
        const double c = std::floor(x / kCellSize);
        const double r = std::floor((y - kGridYMin) / kCellSize);
        if (c < 0 || c >= kGridColumns || r < 0 || r >= kGridRows) {
            return std::nullopt;
        }
        return static_cast<size_t>(r) * kGridColumns + static_cast<size_t>(c);
    };

    int64_t index = 0;
    for (; haveWord; haveWord = reader->next(word, line)) {
        const std::optional<double> value = parseNumber(word);
        if (!value) {
            return failure(at(line) +
                           QStringLiteral("\"%1\" is geen getal.").arg(QString::fromLatin1(word)));
        }
        if (index >= expected) {
            return failure(QStringLiteral("%1: het bestand bevat meer dan %2 waarden (NCOLS × "
                                          "NROWS).")
                               .arg(name)
                               .arg(expected));
        }
        const int64_t i = index % columns;
        const int64_t j = index / columns;  // from the north
        ++index;
        const bool nodata = header.nodata && *value == *header.nodata;
        const double x = xll + static_cast<double>(i) * cellsize;
        const double y = yll + static_cast<double>(rows - 1 - j) * cellsize;
        bool inside = false;
        for (int a = 0; a < span; ++a) {
            for (int b = 0; b < span; ++b) {
                const auto cell = nationalIndex(x + a * kCellSize, y + b * kCellSize);
                if (!cell) {
                    continue;
                }
                inside = true;
                filled[*cell] = true;
                if (nodata) {
                    continue;
                }
                if (divisor) {
                    sum[*cell] += static_cast<float>(*value);
                    if (count[*cell] < UINT16_MAX) {
                        ++count[*cell];
                    }
                } else {
                    sum[*cell] = static_cast<float>(*value);
                }
            }
        }
        if (!inside) {
            ++result.valuesOutside;
        }
    }
    if (reader->failed()) {
        return failure(QStringLiteral("%1: leesfout.").arg(name));
    }
    if (index < expected) {
        return failure(QStringLiteral("%1: het bestand bevat %2 waarden, verwacht %3 (NCOLS × "
                                      "NROWS).")
                           .arg(name)
                           .arg(index)
                           .arg(expected));
    }
    if (divisor) {
        for (size_t k = 0; k < kCells; ++k) {
            sum[k] = count[k] > 0 ? sum[k] / static_cast<float>(count[k]) : 0.0f;
        }
    }
    result.valuesRead = index;
    result.cellsFilled = std::count(filled.begin(), filled.end(), true);
    if (result.cellsFilled == 0) {
        return failure(QStringLiteral("%1: het raster valt geheel buiten het Nederlandse "
                                      "rekengrid (X 0 … 281800, Y 300000 … 625000).")
                           .arg(name));
    }

    result.ok = true;
    result.message = QStringLiteral(
                         "%1 waarden ingelezen uit %2; %3 cellen van het rekengrid "
                         "gevuld, %4 waarden buiten het rekengrid.")
                         .arg(result.valuesRead)
                         .arg(name)
                         .arg(result.cellsFilled)
                         .arg(result.valuesOutside);
    return result;
}

RoughnessImportResult importEsriAsciiGrid(const QString& ascPath, const QString& gridPath) {
    std::vector<float> national;
    RoughnessImportResult result = readEsriAsciiGrid(ascPath, national);
    if (!result.ok) {
        return result;
    }
    const std::map<QString, QString> meta = {
        {QStringLiteral("bron"), QStringLiteral("import")},
        {QStringLiteral("bestand"), QFileInfo(ascPath).fileName()},
        {QStringLiteral("ingelezen"), QDateTime::currentDateTime().toString(Qt::ISODate)}};
    QString error;
    const bool written = writeRoughnessFile(
        gridPath,
        [&](int32_t r, std::vector<float>& cells) {
            const auto first = national.begin() + static_cast<ptrdiff_t>(r) * kGridColumns;
            cells.assign(first, first + kGridColumns);
            return true;
        },
        meta, error);
    if (!written) {
        return failure(error);
    }
    return result;
}

// --- the synthetic grid ----------------------------------------------------------------------

namespace {

struct Point {
    double x, y;
};

// The land outline, clockwise from the Belgian border on the coast, in metres.
const Point kLand[] = {
    {13000, 372000},  {22000, 385000},  {28000, 398000},  {40000, 412000},  {55000, 428000},
    {66000, 444000},  {78000, 458000},  {90000, 472000},  {98000, 487000},  {102000, 498000},
    {106000, 520000}, {108000, 540000}, {112000, 553000}, {125000, 550000}, {152000, 573000},
    {158000, 580000}, {175000, 595000}, {200000, 600000}, {225000, 602000}, {245000, 606000},
    {259000, 596000}, {274000, 590000}, {268000, 560000}, {258000, 530000}, {250000, 522000},
    {260000, 500000}, {262000, 470000}, {245000, 445000}, {220000, 430000}, {200000, 427000},
    {205000, 410000}, {210000, 378000}, {200000, 355000}, {195000, 330000}, {203000, 315000},
    {181000, 307000}, {176000, 320000}, {182000, 350000}, {165000, 370000}, {150000, 375000},
    {130000, 380000}, {100000, 380000}, {75000, 378000},  {55000, 368000},  {30000, 362000}};

struct Ellipse {
    double x, y, rx, ry;
};
const Ellipse kLakes[] = {{150000, 545000, 17000, 22000}, {140000, 500000, 10000, 10000}};
const Ellipse kWoods[] = {{190000, 462000, 18000, 14000},
                          {152000, 450000, 12000, 4000},
                          {237000, 545000, 8000, 6000},
                          {140000, 382000, 7000, 5000}};

struct Town {
    double x, y, r;
};
const Town kTowns[] = {
    {121000, 487000, 6000}, {92000, 437000, 6000},  {81000, 455000, 5000},  {136000, 456000, 4500},
    {161000, 383000, 4500}, {233500, 582000, 4000}, {133000, 397000, 4000}, {144000, 487000, 4000},
    {112000, 400000, 3500}, {187000, 428000, 3500}, {194000, 469000, 3500}, {104000, 488000, 3000},
    {190000, 444000, 3500}, {258000, 471000, 3500}, {155000, 463000, 3000}, {203000, 502000, 3000},
    {93000, 464000, 2500},  {176000, 317000, 3000}, {182000, 579000, 3000}, {149000, 411000, 3000},
    {105000, 424000, 2500}, {95000, 452000, 2500}};

constexpr float kWater = 0.0002f;

uint64_t mix(uint64_t z) {
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A number in [0, 1) that depends only on the lattice point and the seed.
double hash01(int64_t i, int64_t j, uint64_t seed) {
    const uint64_t h = mix(static_cast<uint64_t>(i) * 0x1F1F1F1Full ^
                           mix(static_cast<uint64_t>(j) ^ (seed << 32)));
    return static_cast<double>(h >> 11) / 9007199254740992.0;
}

// Smooth noise in [0, 1): values on a lattice of `scale` metres, blended with smoothstep.
double valueNoise(double x, double y, double scale, uint64_t seed) {
    const double gx = x / scale;
    const double gy = y / scale;
    const auto i = static_cast<int64_t>(std::floor(gx));
    const auto j = static_cast<int64_t>(std::floor(gy));
    const double fx = gx - static_cast<double>(i);
    const double fy = gy - static_cast<double>(j);
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double a = hash01(i, j, seed);
    const double b = hash01(i + 1, j, seed);
    const double c = hash01(i, j + 1, seed);
    const double d = hash01(i + 1, j + 1, seed);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

bool inEllipse(const Ellipse& e, double x, double y, double grow) {
    const double dx = (x - e.x) / (e.rx * grow);
    const double dy = (y - e.y) / (e.ry * grow);
    return dx * dx + dy * dy <= 1;
}

bool onLand(double x, double y) {
    bool inside = false;
    const size_t n = std::size(kLand);
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Point& a = kLand[i];
        const Point& b = kLand[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

float landRoughness(double x, double y) {
    const double wobble = valueNoise(x, y, 1500, 7);
    for (const Ellipse& lake : kLakes) {
        if (inEllipse(lake, x, y, 0.9 + 0.2 * wobble)) {
            return kWater;
        }
    }
    for (const Town& town : kTowns) {
        const double d = std::hypot(x - town.x, y - town.y);
        if (d < town.r * (0.8 + 0.4 * wobble)) {
            return static_cast<float>(0.7 +
                                      0.6 * valueNoise(x, y, 800, 11) * (1 - d / (2 * town.r)));
        }
    }
    // Villages: about one in three squares of 4 km has one, 400 to 900 m across.
    {
        const double cell = 4000;
        const auto i = static_cast<int64_t>(std::floor(x / cell));
        const auto j = static_cast<int64_t>(std::floor(y / cell));
        if (hash01(i, j, 21) < 0.35) {
            const double cx = (static_cast<double>(i) + 0.2 + 0.6 * hash01(i, j, 22)) * cell;
            const double cy = (static_cast<double>(j) + 0.2 + 0.6 * hash01(i, j, 23)) * cell;
            const double r = 400 + 500 * hash01(i, j, 24);
            if (std::hypot(x - cx, y - cy) < r) {
                return static_cast<float>(0.5 + 0.4 * hash01(i, j, 25));
            }
        }
    }
    const double woodNoise = valueNoise(x, y, 2500, 31);
    for (const Ellipse& wood : kWoods) {
        if (inEllipse(wood, x, y, 1.0) && woodNoise > 0.3) {
            return static_cast<float>(0.6 + 0.6 * valueNoise(x, y, 700, 33));
        }
    }
    // Scattered small woods.
    if (woodNoise > 0.93) {
        return static_cast<float>(0.55 + 0.5 * valueNoise(x, y, 500, 35));
    }
    const double farm = 0.65 * valueNoise(x, y, 6000, 41) + 0.35 * valueNoise(x, y, 1800, 43);
    return static_cast<float>(0.05 + 0.25 * farm);
}

}  // namespace

float demoRoughness(int32_t column, int32_t row) {
    const double x = (column + 0.5) * kCellSize;
    const double y = kGridYMin + (row + 0.5) * kCellSize;
    return onLand(x, y) ? landRoughness(x, y) : kWater;
}

RoughnessImportResult writeDemoRoughness(const QString& gridPath, int32_t rows) {
    const std::map<QString, QString> meta = {
        {QStringLiteral("bron"), QStringLiteral("synthetisch")},
        {QStringLiteral("omschrijving"),
         QStringLiteral("Synthetisch demonstratieraster van heel Nederland; geen gemeten "
                        "ruwheden.")}};
    QString error;
    int64_t cells = 0;
    const bool written = writeRoughnessFile(
        gridPath,
        [&](int32_t r, std::vector<float>& values) {
            if (r >= rows) {
                return false;
            }
            values.resize(kGridColumns);
            for (int32_t c = 0; c < kGridColumns; ++c) {
                values[static_cast<size_t>(c)] = demoRoughness(c, r);
            }
            cells += kGridColumns;
            return true;
        },
        meta, error);
    RoughnessImportResult result;
    result.ok = written;
    result.cellsFilled = written ? cells : 0;
    result.message = written ? QStringLiteral(
                                   "Synthetisch ruwheidsbestand geschreven: %1 cellen "
                                   "in %2.")
                                   .arg(cells)
                                   .arg(gridPath)
                             : error;
    return result;
}

}  // namespace calculation
