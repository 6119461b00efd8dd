#include "platform/docx/docx_writer.h"

#include <zip.h>

#include <QFile>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>
#include <memory>

namespace platform::docx {
namespace {

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kR =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kWp =
    QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
const QString kA = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString kPic = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
const QString kPackageRels =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");

const QString kStylesId = QStringLiteral("rIdStyles");
const QString kHeaderId = QStringLiteral("rIdHeader1");

QString pictureId(int index) {
    return QStringLiteral("rIdPicture%1").arg(index + 1);
}
QString pictureExtension(PictureType type) {
    return type == PictureType::Png ? QStringLiteral("png") : QStringLiteral("bmp");
}
QString picturePart(int index, PictureType type) {
    return QStringLiteral("media/picture%1.%2").arg(index + 1).arg(pictureExtension(type));
}

// XML 1.0 carries TAB, LF, CR and everything from U+0020 except lone surrogates and
// U+FFFE/U+FFFF; anything else becomes U+FFFD.
QString xmlSafe(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.append(c);
            out.append(text.at(++i));
        } else if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF ||
                   (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r')) {
            out.append(QChar(0xFFFD));
        } else {
            out.append(c);
        }
    }
    return out;
}

QString halfPoints(double points) {
    return QString::number(static_cast<int>(std::lround(points * 2.0)));
}

void writeRunProperties(QXmlStreamWriter& x, const RunFormat& f) {
    x.writeStartElement(kW, QStringLiteral("rPr"));
    x.writeEmptyElement(kW, QStringLiteral("rFonts"));
    x.writeAttribute(kW, QStringLiteral("ascii"), f.font);
    x.writeAttribute(kW, QStringLiteral("hAnsi"), f.font);
    x.writeAttribute(kW, QStringLiteral("cs"), f.font);
    x.writeAttribute(kW, QStringLiteral("eastAsia"), f.font);
    x.writeEmptyElement(kW, QStringLiteral("b"));
    x.writeAttribute(kW, QStringLiteral("val"), f.bold ? QStringLiteral("1") : QStringLiteral("0"));
    x.writeEmptyElement(kW, QStringLiteral("i"));
    x.writeAttribute(kW, QStringLiteral("val"),
                     f.italic ? QStringLiteral("1") : QStringLiteral("0"));
    if (f.black) {
        x.writeEmptyElement(kW, QStringLiteral("color"));
        x.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("000000"));
    }
    x.writeEmptyElement(kW, QStringLiteral("sz"));
    x.writeAttribute(kW, QStringLiteral("val"), halfPoints(f.sizePoints));
    x.writeEmptyElement(kW, QStringLiteral("szCs"));
    x.writeAttribute(kW, QStringLiteral("val"), halfPoints(f.sizePoints));
    x.writeEndElement();
}

void writeText(QXmlStreamWriter& x, const QString& text) {
    x.writeStartElement(kW, QStringLiteral("t"));
    x.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    x.writeCharacters(text);
    x.writeEndElement();
}

void writeRun(QXmlStreamWriter& x, const Run& run) {
    x.writeStartElement(kW, QStringLiteral("r"));
    writeRunProperties(x, run.format);
    const QString text = xmlSafe(run.text);
    QString piece;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\t' || c == u'\n' || c == u'\r') {
            if (!piece.isEmpty()) {
                writeText(x, piece);
            }
            piece.clear();
            if (c == u'\t') {
                x.writeEmptyElement(kW, QStringLiteral("tab"));
            } else if (c == u'\n' || i + 1 >= text.size() || text.at(i + 1) != u'\n') {
                // CR LF, a lone CR and a lone LF each make one break.
                x.writeEmptyElement(kW, QStringLiteral("br"));
            }
        } else {
            piece.append(c);
        }
    }
    if (!piece.isEmpty()) {
        writeText(x, piece);
    }
    x.writeEndElement();
}

void writeParagraphProperties(QXmlStreamWriter& x, Alignment alignment, const RunFormat& mark) {
    x.writeStartElement(kW, QStringLiteral("pPr"));
    x.writeEmptyElement(kW, QStringLiteral("spacing"));
    x.writeAttribute(kW, QStringLiteral("before"), QStringLiteral("0"));
    x.writeAttribute(kW, QStringLiteral("after"), QStringLiteral("0"));
    x.writeEmptyElement(kW, QStringLiteral("jc"));
    x.writeAttribute(
        kW, QStringLiteral("val"),
        alignment == Alignment::Centre ? QStringLiteral("center") : QStringLiteral("left"));
    writeRunProperties(x, mark);
    x.writeEndElement();
}

void writeParagraph(QXmlStreamWriter& x, const Paragraph& p) {
    x.writeStartElement(kW, QStringLiteral("p"));
    writeParagraphProperties(x, p.alignment, p.markFormat);
    for (const Run& run : p.runs) {
        writeRun(x, run);
    }
    x.writeEndElement();
}

void writeBorder(QXmlStreamWriter& x, const QString& side) {
    x.writeEmptyElement(kW, side);
    x.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("single"));
    x.writeAttribute(kW, QStringLiteral("sz"), QStringLiteral("4"));
    x.writeAttribute(kW, QStringLiteral("space"), QStringLiteral("0"));
    x.writeAttribute(kW, QStringLiteral("color"), QStringLiteral("000000"));
}

constexpr int kCellMarginTwips = 72;

// Width of each column from its longest text: an average character of a proportional font is
// taken as 0.55 of its size.
std::vector<int> columnWidths(const Table& table, int textWidthTwips) {
    size_t columns = 0;
    for (const TableRow& row : table.rows) {
        columns = std::max(columns, row.cells.size());
    }
    std::vector<int> widths(columns, 0);
    for (const TableRow& row : table.rows) {
        for (size_t c = 0; c < row.cells.size(); ++c) {
            const double chars = static_cast<double>(std::max<qsizetype>(row.cells[c].size(), 1));
            const int w = static_cast<int>(chars * row.format.sizePoints * 0.55 * 20.0) +
                          2 * kCellMarginTwips + 40;
            widths[c] = std::max(widths[c], w);
        }
    }
    long total = 0;
    for (int w : widths) {
        total += w;
    }
    if (total > textWidthTwips && total > 0) {
        for (int& w : widths) {
            w = static_cast<int>(static_cast<long>(w) * textWidthTwips / total);
        }
    }
    return widths;
}

void writeTable(QXmlStreamWriter& x, const Table& table, int textWidthTwips) {
    const std::vector<int> widths = columnWidths(table, textWidthTwips);
    x.writeStartElement(kW, QStringLiteral("tbl"));
    x.writeStartElement(kW, QStringLiteral("tblPr"));
    x.writeEmptyElement(kW, QStringLiteral("tblW"));
    x.writeAttribute(kW, QStringLiteral("w"), QStringLiteral("0"));
    x.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("auto"));
    x.writeStartElement(kW, QStringLiteral("tblBorders"));
    for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
        writeBorder(x, QString::fromLatin1(side));
    }
    x.writeEndElement();
    x.writeEmptyElement(kW, QStringLiteral("tblLayout"));
    x.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("autofit"));
    x.writeStartElement(kW, QStringLiteral("tblCellMar"));
    for (const char* side : {"left", "right"}) {
        x.writeEmptyElement(kW, QString::fromLatin1(side));
        x.writeAttribute(kW, QStringLiteral("w"), QString::number(kCellMarginTwips));
        x.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("dxa"));
    }
    x.writeEndElement();
    x.writeEndElement();  // tblPr

    x.writeStartElement(kW, QStringLiteral("tblGrid"));
    for (int w : widths) {
        x.writeEmptyElement(kW, QStringLiteral("gridCol"));
        x.writeAttribute(kW, QStringLiteral("w"), QString::number(w));
    }
    x.writeEndElement();

    for (const TableRow& row : table.rows) {
        x.writeStartElement(kW, QStringLiteral("tr"));
        if (row.header) {
            x.writeStartElement(kW, QStringLiteral("trPr"));
            x.writeEmptyElement(kW, QStringLiteral("tblHeader"));
            x.writeEndElement();
        }
        for (size_t c = 0; c < widths.size(); ++c) {
            x.writeStartElement(kW, QStringLiteral("tc"));
            x.writeStartElement(kW, QStringLiteral("tcPr"));
            x.writeEmptyElement(kW, QStringLiteral("tcW"));
            x.writeAttribute(kW, QStringLiteral("w"), QString::number(widths[c]));
            x.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("dxa"));
            x.writeEndElement();
            Paragraph p;
            p.markFormat = row.format;
            if (c < row.cells.size() && !row.cells[c].isEmpty()) {
                p.runs.push_back(Run{row.cells[c], row.format});
            }
            writeParagraph(x, p);
            x.writeEndElement();  // tc
        }
        x.writeEndElement();  // tr
    }
    x.writeEndElement();  // tbl
}

void writePicture(QXmlStreamWriter& x, const Picture& picture, Alignment alignment, int index,
                  int textWidthTwips) {
    // 96 pixels per inch: one pixel is 0.75 point.
    double widthPoints = picture.widthPixels * 0.75;
    double heightPoints = picture.heightPixels * 0.75;
    const double textWidthPoints = textWidthTwips / 20.0;
    if (widthPoints > textWidthPoints && widthPoints > 0) {
        heightPoints = heightPoints * textWidthPoints / widthPoints;
        widthPoints = textWidthPoints;
    }
    const QString cx = QString::number(std::llround(widthPoints * kEmuPerPoint));
    const QString cy = QString::number(std::llround(heightPoints * kEmuPerPoint));
    const QString id = QString::number(index + 1);

    x.writeStartElement(kW, QStringLiteral("p"));
    writeParagraphProperties(x, alignment, RunFormat{});
    x.writeStartElement(kW, QStringLiteral("r"));
    x.writeStartElement(kW, QStringLiteral("drawing"));
    x.writeStartElement(kWp, QStringLiteral("inline"));
    for (const char* d : {"distT", "distB", "distL", "distR"}) {
        x.writeAttribute(QString::fromLatin1(d), QStringLiteral("0"));
    }
    x.writeEmptyElement(kWp, QStringLiteral("extent"));
    x.writeAttribute(QStringLiteral("cx"), cx);
    x.writeAttribute(QStringLiteral("cy"), cy);
    x.writeEmptyElement(kWp, QStringLiteral("docPr"));
    x.writeAttribute(QStringLiteral("id"), id);
    x.writeAttribute(QStringLiteral("name"), xmlSafe(picture.name));
    x.writeStartElement(kWp, QStringLiteral("cNvGraphicFramePr"));
    x.writeEmptyElement(kA, QStringLiteral("graphicFrameLocks"));
    x.writeAttribute(QStringLiteral("noChangeAspect"), QStringLiteral("1"));
    x.writeEndElement();
    x.writeStartElement(kA, QStringLiteral("graphic"));
    x.writeStartElement(kA, QStringLiteral("graphicData"));
    x.writeAttribute(QStringLiteral("uri"), kPic);
    x.writeStartElement(kPic, QStringLiteral("pic"));
    x.writeStartElement(kPic, QStringLiteral("nvPicPr"));
    x.writeEmptyElement(kPic, QStringLiteral("cNvPr"));
    x.writeAttribute(QStringLiteral("id"), id);
    x.writeAttribute(QStringLiteral("name"), xmlSafe(picture.name));
    x.writeEmptyElement(kPic, QStringLiteral("cNvPicPr"));
    x.writeEndElement();  // nvPicPr
    x.writeStartElement(kPic, QStringLiteral("blipFill"));
    x.writeEmptyElement(kA, QStringLiteral("blip"));
    x.writeAttribute(kR, QStringLiteral("embed"), pictureId(index));
    x.writeStartElement(kA, QStringLiteral("stretch"));
    x.writeEmptyElement(kA, QStringLiteral("fillRect"));
    x.writeEndElement();
    x.writeEndElement();  // blipFill
    x.writeStartElement(kPic, QStringLiteral("spPr"));
    x.writeStartElement(kA, QStringLiteral("xfrm"));
    x.writeEmptyElement(kA, QStringLiteral("off"));
    x.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    x.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    x.writeEmptyElement(kA, QStringLiteral("ext"));
    x.writeAttribute(QStringLiteral("cx"), cx);
    x.writeAttribute(QStringLiteral("cy"), cy);
    x.writeEndElement();  // xfrm
    x.writeStartElement(kA, QStringLiteral("prstGeom"));
    x.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
    x.writeEmptyElement(kA, QStringLiteral("avLst"));
    x.writeEndElement();
    x.writeEndElement();  // spPr
    x.writeEndElement();  // pic
    x.writeEndElement();  // graphicData
    x.writeEndElement();  // graphic
    x.writeEndElement();  // inline
    x.writeEndElement();  // drawing
    x.writeEndElement();  // r
    x.writeEndElement();  // p
}

void startPart(QXmlStreamWriter& x) {
    x.setAutoFormatting(false);
    x.writeStartDocument(QStringLiteral("1.0"), true);
}

QByteArray contentTypes(bool hasHeader) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    const QString ns =
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
    startPart(x);
    x.writeDefaultNamespace(ns);
    x.writeStartElement(ns, QStringLiteral("Types"));
    const auto def = [&](const char* ext, const char* type) {
        x.writeEmptyElement(ns, QStringLiteral("Default"));
        x.writeAttribute(QStringLiteral("Extension"), QString::fromLatin1(ext));
        x.writeAttribute(QStringLiteral("ContentType"), QString::fromLatin1(type));
    };
    const auto over = [&](const char* part, const char* type) {
        x.writeEmptyElement(ns, QStringLiteral("Override"));
        x.writeAttribute(QStringLiteral("PartName"), QString::fromLatin1(part));
        x.writeAttribute(QStringLiteral("ContentType"), QString::fromLatin1(type));
    };
    def("rels", "application/vnd.openxmlformats-package.relationships+xml");
    def("xml", "application/xml");
    def("png", "image/png");
    def("bmp", "image/bmp");
    over("/word/document.xml",
         "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
    over("/word/styles.xml",
         "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml");
    if (hasHeader) {
        over("/word/header1.xml",
             "application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml");
    }
    over("/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml");
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray packageRels() {
    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    x.writeDefaultNamespace(kPackageRels);
    x.writeStartElement(kPackageRels, QStringLiteral("Relationships"));
    x.writeEmptyElement(kPackageRels, QStringLiteral("Relationship"));
    x.writeAttribute(QStringLiteral("Id"), QStringLiteral("rIdDocument"));
    x.writeAttribute(QStringLiteral("Type"),
                     QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/"
                                    "relationships/officeDocument"));
    x.writeAttribute(QStringLiteral("Target"), QStringLiteral("word/document.xml"));
    x.writeEmptyElement(kPackageRels, QStringLiteral("Relationship"));
    x.writeAttribute(QStringLiteral("Id"), QStringLiteral("rIdCore"));
    x.writeAttribute(QStringLiteral("Type"),
                     QStringLiteral("http://schemas.openxmlformats.org/package/2006/"
                                    "relationships/metadata/core-properties"));
    x.writeAttribute(QStringLiteral("Target"), QStringLiteral("docProps/core.xml"));
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray coreProperties(const QString& title) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    const QString cp =
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties");
    const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
    startPart(x);
    x.writeNamespace(cp, QStringLiteral("cp"));
    x.writeNamespace(dc, QStringLiteral("dc"));
    x.writeStartElement(cp, QStringLiteral("coreProperties"));
    x.writeTextElement(dc, QStringLiteral("title"), xmlSafe(title));
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray stylesXml() {
    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    x.writeNamespace(kW, QStringLiteral("w"));
    x.writeStartElement(kW, QStringLiteral("styles"));
    x.writeStartElement(kW, QStringLiteral("docDefaults"));
    x.writeStartElement(kW, QStringLiteral("rPrDefault"));
    writeRunProperties(x, RunFormat{});
    x.writeEndElement();
    x.writeStartElement(kW, QStringLiteral("pPrDefault"));
    x.writeStartElement(kW, QStringLiteral("pPr"));
    x.writeEmptyElement(kW, QStringLiteral("spacing"));
    x.writeAttribute(kW, QStringLiteral("before"), QStringLiteral("0"));
    x.writeAttribute(kW, QStringLiteral("after"), QStringLiteral("0"));
    x.writeAttribute(kW, QStringLiteral("line"), QStringLiteral("240"));
    x.writeAttribute(kW, QStringLiteral("lineRule"), QStringLiteral("auto"));
    x.writeEndElement();
    x.writeEndElement();  // pPrDefault
    x.writeEndElement();  // docDefaults
    x.writeStartElement(kW, QStringLiteral("style"));
    x.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("paragraph"));
    x.writeAttribute(kW, QStringLiteral("default"), QStringLiteral("1"));
    x.writeAttribute(kW, QStringLiteral("styleId"), QStringLiteral("Normal"));
    x.writeEmptyElement(kW, QStringLiteral("name"));
    x.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("Normal"));
    x.writeEndElement();
    x.writeEndElement();  // styles
    x.writeEndDocument();
    return out;
}

QByteArray relationshipsXml(bool hasHeader, const std::vector<PictureType>& pictures) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    x.writeDefaultNamespace(kPackageRels);
    x.writeStartElement(kPackageRels, QStringLiteral("Relationships"));
    const auto rel = [&](const QString& id, const QString& type, const QString& target) {
        x.writeEmptyElement(kPackageRels, QStringLiteral("Relationship"));
        x.writeAttribute(QStringLiteral("Id"), id);
        x.writeAttribute(QStringLiteral("Type"), kR + u'/' + type);
        x.writeAttribute(QStringLiteral("Target"), target);
    };
    rel(kStylesId, QStringLiteral("styles"), QStringLiteral("styles.xml"));
    if (hasHeader) {
        rel(kHeaderId, QStringLiteral("header"), QStringLiteral("header1.xml"));
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int index = static_cast<int>(i);
        rel(pictureId(index), QStringLiteral("image"), picturePart(index, pictures[i]));
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

uint32_t bigEndian32(const QByteArray& d, qsizetype at) {
    return (uint32_t(uint8_t(d[at])) << 24) | (uint32_t(uint8_t(d[at + 1])) << 16) |
           (uint32_t(uint8_t(d[at + 2])) << 8) | uint32_t(uint8_t(d[at + 3]));
}
int32_t littleEndian32(const QByteArray& d, qsizetype at) {
    return static_cast<int32_t>(uint32_t(uint8_t(d[at])) | (uint32_t(uint8_t(d[at + 1])) << 8) |
                                (uint32_t(uint8_t(d[at + 2])) << 16) |
                                (uint32_t(uint8_t(d[at + 3])) << 24));
}

struct ZipDeleter {
    void operator()(zip_source_t* s) const { zip_source_free(s); }
};

}  // namespace

std::optional<Picture> pictureFromBytes(const QByteArray& data, const QString& name) {
    Picture p;
    p.data = data;
    p.name = name;
    constexpr int kMaxSide = 100000;
    if (data.size() >= 24 && data.startsWith("\x89PNG\r\n\x1a\n") && data.mid(12, 4) == "IHDR") {
        const uint32_t w = bigEndian32(data, 16);
        const uint32_t h = bigEndian32(data, 20);
        if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) {
            return std::nullopt;
        }
        p.type = PictureType::Png;
        p.widthPixels = static_cast<int>(w);
        p.heightPixels = static_cast<int>(h);
        return p;
    }
    if (data.size() >= 26 && data.startsWith("BM")) {
        // BITMAPINFOHEADER: width at 18, height at 22 (negative for a top-down bitmap).
        const int32_t w = littleEndian32(data, 18);
        const int32_t h = littleEndian32(data, 22);
        if (w <= 0 || w > kMaxSide || h == 0 || h < -kMaxSide || h > kMaxSide) {
            return std::nullopt;
        }
        p.type = PictureType::Bmp;
        p.widthPixels = w;
        p.heightPixels = h < 0 ? -h : h;
        return p;
    }
    return std::nullopt;
}

void Document::addParagraph(Paragraph paragraph) {
    m_blocks.emplace_back(std::move(paragraph));
}
void Document::addTable(Table table) {
    m_blocks.emplace_back(std::move(table));
}
void Document::addPicture(Picture picture, Alignment alignment) {
    m_blocks.emplace_back(PictureBlock{std::move(picture), alignment});
}

QByteArray Document::documentXml() const {
    const PageSetup& ps = m_pageSetup;
    const int pageWidth = ps.landscape ? ps.heightTwips : ps.widthTwips;
    const int pageHeight = ps.landscape ? ps.widthTwips : ps.heightTwips;
    const int textWidth = std::max(
        pageWidth - twipsFromPoints(ps.leftMarginPoints) - twipsFromPoints(ps.rightMarginPoints),
        720);

    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    x.writeNamespace(kW, QStringLiteral("w"));
    x.writeNamespace(kR, QStringLiteral("r"));
    x.writeNamespace(kWp, QStringLiteral("wp"));
    x.writeNamespace(kA, QStringLiteral("a"));
    x.writeNamespace(kPic, QStringLiteral("pic"));
    x.writeStartElement(kW, QStringLiteral("document"));
    x.writeStartElement(kW, QStringLiteral("body"));
    int pictureIndex = 0;
    bool lastWasTable = false;
    for (const Block& block : m_blocks) {
        if (const auto* p = std::get_if<Paragraph>(&block)) {
            writeParagraph(x, *p);
            lastWasTable = false;
        } else if (const auto* t = std::get_if<Table>(&block)) {
            writeTable(x, *t, textWidth);
            lastWasTable = true;
        } else {
            const auto& pic = std::get<PictureBlock>(block);
            writePicture(x, pic.picture, pic.alignment, pictureIndex++, textWidth);
            lastWasTable = false;
        }
    }
    if (lastWasTable) {
        // A body may not end in a table: the word processors need a paragraph after it.
        writeParagraph(x, Paragraph{});
    }
    x.writeStartElement(kW, QStringLiteral("sectPr"));
    if (m_header) {
        x.writeEmptyElement(kW, QStringLiteral("headerReference"));
        x.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("default"));
        x.writeAttribute(kR, QStringLiteral("id"), kHeaderId);
    }
    x.writeEmptyElement(kW, QStringLiteral("pgSz"));
    x.writeAttribute(kW, QStringLiteral("w"), QString::number(pageWidth));
    x.writeAttribute(kW, QStringLiteral("h"), QString::number(pageHeight));
    if (ps.landscape) {
        x.writeAttribute(kW, QStringLiteral("orient"), QStringLiteral("landscape"));
    }
    x.writeEmptyElement(kW, QStringLiteral("pgMar"));
    x.writeAttribute(kW, QStringLiteral("top"),
                     QString::number(twipsFromPoints(ps.topMarginPoints)));
    x.writeAttribute(kW, QStringLiteral("right"),
                     QString::number(twipsFromPoints(ps.rightMarginPoints)));
    x.writeAttribute(kW, QStringLiteral("bottom"),
                     QString::number(twipsFromPoints(ps.bottomMarginPoints)));
    x.writeAttribute(kW, QStringLiteral("left"),
                     QString::number(twipsFromPoints(ps.leftMarginPoints)));
    x.writeAttribute(kW, QStringLiteral("header"),
                     QString::number(twipsFromPoints(ps.headerDistancePoints)));
    x.writeAttribute(kW, QStringLiteral("footer"),
                     QString::number(twipsFromPoints(ps.headerDistancePoints)));
    x.writeAttribute(kW, QStringLiteral("gutter"), QStringLiteral("0"));
    x.writeEndElement();  // sectPr
    x.writeEndElement();  // body
    x.writeEndElement();  // document
    x.writeEndDocument();
    return out;
}

QByteArray Document::headerXml() const {
    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    x.writeNamespace(kW, QStringLiteral("w"));
    x.writeNamespace(kR, QStringLiteral("r"));
    x.writeStartElement(kW, QStringLiteral("hdr"));
    writeParagraph(x, m_header.value_or(Paragraph{}));
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray Document::toBytes(QString* error) const {
    std::vector<std::pair<QString, QByteArray>> parts;
    std::vector<PictureType> pictureTypes;
    for (const Block& block : m_blocks) {
        if (const auto* pic = std::get_if<PictureBlock>(&block)) {
            pictureTypes.push_back(pic->picture.type);
        }
    }
    parts.emplace_back(QStringLiteral("[Content_Types].xml"), contentTypes(m_header.has_value()));
    parts.emplace_back(QStringLiteral("_rels/.rels"), packageRels());
    parts.emplace_back(QStringLiteral("docProps/core.xml"), coreProperties(m_title));
    parts.emplace_back(QStringLiteral("word/document.xml"), documentXml());
    parts.emplace_back(QStringLiteral("word/styles.xml"), stylesXml());
    if (m_header) {
        parts.emplace_back(QStringLiteral("word/header1.xml"), headerXml());
    }
    parts.emplace_back(QStringLiteral("word/_rels/document.xml.rels"),
                       relationshipsXml(m_header.has_value(), pictureTypes));
    int index = 0;
    for (const Block& block : m_blocks) {
        if (const auto* pic = std::get_if<PictureBlock>(&block)) {
            parts.emplace_back(QStringLiteral("word/") + picturePart(index, pic->picture.type),
                               pic->picture.data);
            ++index;
        }
    }

    const auto fail = [&](const char* what, zip_error_t* ze) {
        if (error) {
            *error = QString::fromLatin1(what) + QStringLiteral(": ") +
                     QString::fromLocal8Bit(zip_error_strerror(ze));
        }
        return QByteArray();
    };

    zip_error_t ze;
    zip_error_init(&ze);
    std::unique_ptr<zip_source_t, ZipDeleter> buffer(zip_source_buffer_create(nullptr, 0, 0, &ze));
    if (!buffer) {
        QByteArray r = fail("zip buffer", &ze);
        zip_error_fini(&ze);
        return r;
    }
    zip_source_keep(buffer.get());
    zip_t* archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &ze);
    if (!archive) {
        QByteArray r = fail("zip open", &ze);
        zip_error_fini(&ze);
        return r;
    }
    for (const auto& [name, data] : parts) {
        // The part's bytes stay alive in `parts` until zip_close has read them.
        zip_source_t* s =
            zip_source_buffer(archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
        const QByteArray utf8 = name.toUtf8();
        if (!s || zip_file_add(archive, utf8.constData(), s, ZIP_FL_ENC_UTF_8) < 0) {
            if (s) {
                zip_source_free(s);
            }
            QByteArray r = fail("zip add", zip_get_error(archive));
            zip_discard(archive);
            zip_error_fini(&ze);
            return r;
        }
    }
    if (zip_close(archive) < 0) {
        QByteArray r = fail("zip close", zip_get_error(archive));
        zip_discard(archive);
        zip_error_fini(&ze);
        return r;
    }
    zip_error_fini(&ze);

    QByteArray out;
    zip_source_t* src = buffer.get();
    if (zip_source_open(src) < 0) {
        return fail("zip read", zip_source_error(src));
    }
    zip_source_seek(src, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(src);
    zip_source_seek(src, 0, SEEK_SET);
    if (size > 0) {
        out.resize(static_cast<qsizetype>(size));
        if (zip_source_read(src, out.data(), static_cast<zip_uint64_t>(size)) != size) {
            zip_source_close(src);
            return fail("zip read", zip_source_error(src));
        }
    }
    zip_source_close(src);
    return out;
}

bool Document::saveNew(const QString& path, QString* error) const {
    const QByteArray bytes = toBytes(error);
    if (bytes.isEmpty()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        if (error) {
            *error = file.errorString();
        }
        file.close();
        file.remove();
        return false;
    }
    file.close();
    return true;
}

}  // namespace platform::docx
