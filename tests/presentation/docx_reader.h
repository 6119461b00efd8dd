#pragma once
// Reads a .docx package back for the tests: the parts of the zip, and the paragraphs and tables of
// a document or header part with the format of their runs.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <ostream>
#include <vector>

// Readable failure output of texts in the tests.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace docx_test {

// Every part of the package by name; empty when the bytes are no zip.
std::map<QString, QByteArray> unzip(const QByteArray& package);

struct ReadRun {
    QString text;
    QString font;
    int halfPoints = 0;
    bool bold = false;
    bool italic = false;
};

struct ReadParagraph {
    std::vector<ReadRun> runs;
    QString alignment;  // w:jc
    QString markFont;   // font of the paragraph mark
    int markHalfPoints = 0;
    bool hasPicture = false;
    QString pictureId;  // r:embed of the picture
    [[nodiscard]] QString text() const;
};

struct ReadCell {
    ReadParagraph paragraph;
};

struct ReadRow {
    bool header = false;
    std::vector<ReadCell> cells;
    [[nodiscard]] QStringList texts() const;
};

struct ReadTable {
    std::vector<ReadRow> rows;
    QStringList borders;  // "top=single", ...
};

struct Block {
    bool isTable = false;
    ReadParagraph paragraph;
    ReadTable table;
};

struct ReadDocument {
    std::vector<Block> blocks;
    std::map<QString, QString> pageSize;     // w:pgSz attributes
    std::map<QString, QString> pageMargins;  // w:pgMar attributes
    bool hasHeaderReference = false;
    QString error;  // XML error, empty when well-formed
};

ReadDocument readDocument(const QByteArray& xml);

}  // namespace docx_test
