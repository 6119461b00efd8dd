#include "docx_reader.h"

#include <zip.h>

#include <QXmlStreamReader>

namespace docx_test {

namespace {

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kR =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

bool isOn(const QXmlStreamReader& x) {
    const QStringView v = x.attributes().value(kW, QStringLiteral("val"));
    return v.isEmpty() || v == u"1" || v == u"true" || v == u"on";
}

struct Format {
    QString font;
    int halfPoints = 0;
    bool bold = false;
    bool italic = false;
};

// Reads a w:rPr; the reader stands on its start element.
Format readRunProperties(QXmlStreamReader& x) {
    Format f;
    while (x.readNextStartElement()) {
        if (x.name() == u"rFonts") {
            f.font = x.attributes().value(kW, QStringLiteral("ascii")).toString();
        } else if (x.name() == u"sz") {
            f.halfPoints = x.attributes().value(kW, QStringLiteral("val")).toInt();
        } else if (x.name() == u"b") {
            f.bold = isOn(x);
        } else if (x.name() == u"i") {
            f.italic = isOn(x);
        }
        x.skipCurrentElement();
    }
    return f;
}

ReadParagraph readParagraph(QXmlStreamReader& x) {
    ReadParagraph p;
    while (x.readNextStartElement()) {
        if (x.name() == u"pPr") {
            while (x.readNextStartElement()) {
                if (x.name() == u"jc") {
                    p.alignment = x.attributes().value(kW, QStringLiteral("val")).toString();
                    x.skipCurrentElement();
                } else if (x.name() == u"rPr") {
                    const Format f = readRunProperties(x);
                    p.markFont = f.font;
                    p.markHalfPoints = f.halfPoints;
                } else {
                    x.skipCurrentElement();
                }
            }
        } else if (x.name() == u"r") {
            ReadRun run;
            while (x.readNextStartElement()) {
                if (x.name() == u"rPr") {
                    const Format f = readRunProperties(x);
                    run.font = f.font;
                    run.halfPoints = f.halfPoints;
                    run.bold = f.bold;
                    run.italic = f.italic;
                } else if (x.name() == u"t") {
                    run.text += x.readElementText();
                } else if (x.name() == u"tab") {
                    run.text += u'\t';
                    x.skipCurrentElement();
                } else if (x.name() == u"br") {
                    run.text += u'\n';
                    x.skipCurrentElement();
                } else if (x.name() == u"drawing") {
                    p.hasPicture = true;
                    while (!x.atEnd() && !(x.isEndElement() && x.name() == u"drawing")) {
                        x.readNext();
                        if (x.isStartElement() && x.name() == u"blip") {
                            p.pictureId =
                                x.attributes().value(kR, QStringLiteral("embed")).toString();
                        }
                    }
                } else {
                    x.skipCurrentElement();
                }
            }
            p.runs.push_back(run);
        } else {
            x.skipCurrentElement();
        }
    }
    return p;
}

ReadTable readTable(QXmlStreamReader& x) {
    ReadTable t;
    while (x.readNextStartElement()) {
        if (x.name() == u"tblPr") {
            while (x.readNextStartElement()) {
                if (x.name() == u"tblBorders") {
                    while (x.readNextStartElement()) {
                        t.borders << x.name().toString() + u'=' +
                                         x.attributes().value(kW, QStringLiteral("val")).toString();
                        x.skipCurrentElement();
                    }
                } else {
                    x.skipCurrentElement();
                }
            }
        } else if (x.name() == u"tr") {
            ReadRow row;
            while (x.readNextStartElement()) {
                if (x.name() == u"trPr") {
                    while (x.readNextStartElement()) {
                        if (x.name() == u"tblHeader") {
                            row.header = true;
                        }
                        x.skipCurrentElement();
                    }
                } else if (x.name() == u"tc") {
                    ReadCell cell;
                    while (x.readNextStartElement()) {
                        if (x.name() == u"p") {
                            cell.paragraph = readParagraph(x);
                        } else {
                            x.skipCurrentElement();
                        }
                    }
                    row.cells.push_back(cell);
                } else {
                    x.skipCurrentElement();
                }
            }
            t.rows.push_back(row);
        } else {
            x.skipCurrentElement();
        }
    }
    return t;
}

std::map<QString, QString> attributes(const QXmlStreamReader& x) {
    std::map<QString, QString> out;
    for (const QXmlStreamAttribute& a : x.attributes()) {
        out[a.name().toString()] = a.value().toString();
    }
    return out;
}

}  // namespace

QString ReadParagraph::text() const {
    QString out;
    for (const ReadRun& r : runs) {
        out += r.text;
    }
    return out;
}

QStringList ReadRow::texts() const {
    QStringList out;
    for (const ReadCell& c : cells) {
        out << c.paragraph.text();
    }
    return out;
}

std::map<QString, QByteArray> unzip(const QByteArray& package) {
    std::map<QString, QByteArray> parts;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        package.constData(), static_cast<zip_uint64_t>(package.size()), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (archive == nullptr) {
        if (source) {
            zip_source_free(source);
        }
        zip_error_fini(&error);
        return parts;
    }
    const zip_int64_t n = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        if (zip_stat_index(archive, index, 0, &st) != 0) {
            continue;
        }
        zip_file_t* f = zip_fopen_index(archive, index, 0);
        QByteArray data(static_cast<qsizetype>(st.size), '\0');
        if (f != nullptr) {
            zip_fread(f, data.data(), st.size);
            zip_fclose(f);
        }
        parts[QString::fromUtf8(st.name)] = data;
    }
    zip_close(archive);
    zip_error_fini(&error);
    return parts;
}

ReadDocument readDocument(const QByteArray& xml) {
    ReadDocument doc;
    QXmlStreamReader x(xml);
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement() || x.namespaceUri() != kW) {
            continue;
        }
        if (x.name() == u"p") {
            Block b;
            b.paragraph = readParagraph(x);
            doc.blocks.push_back(b);
        } else if (x.name() == u"tbl") {
            Block b;
            b.isTable = true;
            b.table = readTable(x);
            doc.blocks.push_back(b);
        } else if (x.name() == u"pgSz") {
            doc.pageSize = attributes(x);
        } else if (x.name() == u"pgMar") {
            doc.pageMargins = attributes(x);
        } else if (x.name() == u"headerReference") {
            doc.hasHeaderReference = true;
        }
    }
    if (x.hasError()) {
        doc.error = x.errorString();
    }
    return doc;
}

}  // namespace docx_test
