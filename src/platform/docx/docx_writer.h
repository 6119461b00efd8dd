#pragma once
// A small writer of word-processor documents in the Office Open XML format (.docx): one section
// with its page setup and page header, then paragraphs of formatted runs, tables with a header
// row and grid borders, and inline pictures, in the order they are added. Everything is held in
// memory; toBytes() builds the zip package and saveNew() writes it to a file that must not exist
// yet. Texts are written as they are: XML escaping is done here, so any character a user typed
// reaches the document unchanged (only the few code points that XML 1.0 cannot carry at all are
// replaced by U+FFFD).

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

namespace platform::docx {

// Points to the units of the format.
[[nodiscard]] constexpr int twipsFromPoints(double points) {
    return static_cast<int>(points * 20.0 + 0.5);
}
inline constexpr int kEmuPerPoint = 12700;

struct RunFormat {
    QString font = QStringLiteral("Courier New");
    double sizePoints = 12;
    bool bold = false;
    bool italic = false;
    // Black when true; otherwise the document's default colour.
    bool black = false;
};

// One stretch of text in one format. A TAB in the text becomes a tab stop, a line feed a line
// break within the paragraph.
struct Run {
    QString text;
    RunFormat format;
};

enum class Alignment { Left, Centre };

struct Paragraph {
    std::vector<Run> runs;
    Alignment alignment = Alignment::Left;
    // Format of the paragraph mark: sets the height of an empty paragraph.
    RunFormat markFormat;
};

struct TableRow {
    std::vector<QString> cells;
    RunFormat format;
    bool header = false;  // repeated at the top of every page the table runs onto
};

// A table with single grid borders round every cell. Rows shorter than the widest row get
// empty cells. Column widths follow the longest text of each column, scaled down to the text
// width of the page when they do not fit.
struct Table {
    std::vector<TableRow> rows;
};

enum class PictureType { Png, Bmp };

struct Picture {
    QByteArray data;
    PictureType type = PictureType::Png;
    int widthPixels = 0;
    int heightPixels = 0;
    QString name;  // shown as the picture's name in the word processor
};

// Reads type and pixel size from the file's own header (PNG or Windows bitmap); nullopt for
// anything else or a damaged header.
[[nodiscard]] std::optional<Picture> pictureFromBytes(const QByteArray& data, const QString& name);

struct PageSetup {
    // A4 portrait.
    int widthTwips = 11906;
    int heightTwips = 16838;
    bool landscape = false;
    double topMarginPoints = 72;
    double bottomMarginPoints = 72;
    double leftMarginPoints = 72;
    double rightMarginPoints = 72;
    // Distance of the page header from the top edge of the page.
    double headerDistancePoints = 20;
};

class Document {
public:
    void setPageSetup(const PageSetup& pageSetup) { m_pageSetup = pageSetup; }
    [[nodiscard]] const PageSetup& pageSetup() const { return m_pageSetup; }
    // The page header of every page; no header when never set.
    void setHeader(Paragraph header) { m_header = std::move(header); }
    void setTitle(QString title) { m_title = std::move(title); }

    void addParagraph(Paragraph paragraph);
    void addTable(Table table);
    // The picture in a paragraph of its own, at 96 pixels per inch, scaled down to the text width
    // when it is wider, keeping its proportions.
    void addPicture(Picture picture, Alignment alignment = Alignment::Left);

    // The .docx package. Empty only if the zip library fails (out of memory); `error` then says
    // why.
    [[nodiscard]] QByteArray toBytes(QString* error = nullptr) const;

    // The package written to `path`, which must not exist: an existing file is never replaced.
    // False with a reason in `error` when the file exists or cannot be written; a partly written
    // file is removed again.
    [[nodiscard]] bool saveNew(const QString& path, QString* error = nullptr) const;

    // The document part and the header part as they go into the package, for tests and tools.
    [[nodiscard]] QByteArray documentXml() const;
    [[nodiscard]] QByteArray headerXml() const;

private:
    struct PictureBlock {
        Picture picture;
        Alignment alignment;
    };
    using Block = std::variant<Paragraph, Table, PictureBlock>;

    PageSetup m_pageSetup;
    std::optional<Paragraph> m_header;
    QString m_title;
    std::vector<Block> m_blocks;
};

}  // namespace platform::docx
