#pragma once
// The settings file: a Windows INI text ("[Section]" lines, then "Key=Value" lines) that Windows
// tools can read and edit. It is written in Windows-1252 with CR LF line ends; reading also
// takes LF-only files and files that begin with a UTF-8 or UTF-16 byte-order mark. Everything
// this program does not know (other sections, other keys, comments, blank lines) keeps its
// place and its text through every rewrite.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

namespace platform {

// One INI text in memory, line by line. Section and key names compare without regard to case;
// where a name occurs twice, the first one counts. A line that begins with ";" is a comment. Values
// are read with the blanks around them removed and one pair of enclosing quotes (" or ') taken off,
// as the Windows profile functions do.
class IniDocument {
public:
    [[nodiscard]] static IniDocument fromBytes(QByteArrayView bytes);
    // Windows-1252, every line ended by CR LF; a character without a Windows-1252 byte is
    // written as "?".
    [[nodiscard]] QByteArray toBytes() const;

    [[nodiscard]] std::optional<QString> value(QStringView section, QStringView key) const;
    // Replaces the value of an existing key in place, or adds "Key=Value" after the last key of
    // the section, or adds the section at the end. Line ends in any of the three become blanks.
    void setValue(QStringView section, QStringView key, QStringView value);
    // Removes the key's line; the section header stays. False when there was no such key.
    bool remove(QStringView section, QStringView key);

    [[nodiscard]] QStringList sections() const;
    [[nodiscard]] QStringList keys(QStringView section) const;
    [[nodiscard]] bool isEmpty() const { return m_sections.empty(); }

private:
    struct Line {
        QString text;   // the line as read or written, without its line end
        QString key;    // empty: not a key line (comment, blank line, anything else)
        QString value;  // the value as read, before quotes are taken off
    };
    struct Section {
        QString name;            // empty with hasHeader false: the lines before the first header
        bool hasHeader = false;  // the header line itself is `header`
        QString header;
        std::vector<Line> lines;
    };

    Section* find(QStringView section);
    const Section* find(QStringView section) const;

    std::vector<Section> m_sections;
};

// The settings file on disk, shared by every thread of the process and by other processes.
// Each read-modify-write holds a process-wide mutex and a lock file beside the settings file
// ("<name>.lock"), and replaces the file atomically (a temporary file renamed over it), so a
// crash never leaves half a file. A read sees either the old or the new file. Every call reads
// the file afresh: a few hundred bytes, negligible beside the window it serves.
class SettingsFile {
public:
    static inline const QString kFileName = QStringLiteral("V-Wolkan-Vaduvevedu.INI");
    // When set, names the settings file to use instead of the per-user one (tests, portable use).
    static inline const char* const kPathVariable = "VADUVEVEDU_SETTINGS";

    // $VADUVEVEDU_SETTINGS when set, otherwise kFileName in the folder "vaduvevedu" of the
    // user's configuration folder ($XDG_CONFIG_HOME when it is an absolute path, else
    // ~/.config).
    [[nodiscard]] static QString defaultPath();

    explicit SettingsFile(QString path = defaultPath());

    [[nodiscard]] const QString& path() const { return m_path; }

    // The file's content; an empty document when it is missing or cannot be read.
    [[nodiscard]] IniDocument read() const;
    [[nodiscard]] std::optional<QString> value(QStringView section, QStringView key) const;

    // Reads the file, applies `change` and writes the result when it differs from what was
    // read (creating the folder and the file when needed). False when the lock could not be
    // taken within a few seconds or the file could not be written; the file is then as before.
    bool update(const std::function<void(IniDocument&)>& change);
    bool setValue(QStringView section, QStringView key, QStringView value);
    bool remove(QStringView section, QStringView key);

private:
    QString m_path;
};

}  // namespace platform
