#pragma once
// Line-oriented text files with one 500-character text field per line: the model input files are
// written and the model's results file is read through them. Texts are bytes (Windows-1252 in
// every file the model reads or writes); nothing is converted.
//
// Writing: each line is cut at 500 characters, its trailing blanks are removed and it ends in
// carriage return and line feed, the last line too. No byte-order mark, no end-of-file marker.
//
// Reading: a line ends at carriage return and line feed, and also at a lone line feed; tabs are
// expanded with blanks to the next multiple of 8 columns; the text is cut at 500 characters;
// a Ctrl-Z (byte 26) ends the file. The file is read ahead in large blocks.

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

inline constexpr size_t kTextLineLength = 500;
inline constexpr size_t kTabWidth = 8;
inline constexpr char kEndOfFileMark = 26;

// The driver's texts for a failed open, read or write ("File Not Found", "Access Denied", ...).
[[nodiscard]] QString textFileErrorText(int errnoValue);

class TextLineWriter {
public:
    TextLineWriter() = default;
    ~TextLineWriter();
    TextLineWriter(const TextLineWriter&) = delete;
    TextLineWriter& operator=(const TextLineWriter&) = delete;

    // Removes an existing file of that name, creates it empty and opens it for writing, denying
    // other processes write access while it is open. False on failure, see errorText().
    [[nodiscard]] bool create(const QString& path);
    // Appends one line; false when the file is not open or the write failed.
    bool writeLine(std::string_view text);
    // Flushes and closes; false when a write or the close failed. Closing twice is harmless.
    bool close();

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    [[nodiscard]] QString errorText() const { return m_errorText; }

private:
    bool flush();

    int m_fd = -1;
    bool m_failed = false;
    std::string m_buffer;
    QString m_errorText;
};

class TextLineReader {
public:
    TextLineReader() = default;
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    // Opens the file read-only, denying other processes all access while it is open. False on
    // failure, see errorText().
    [[nodiscard]] bool open(const QString& path);
    // Reads from memory instead of a file (the same line rules).
    void openBuffer(std::string bytes);
    // The next line, tabs expanded and cut at 500 characters, without its line end and without
    // blank padding. False at the end of the file (or at Ctrl-Z) and after a read error.
    [[nodiscard]] bool readLine(std::string& line);
    void close();

    [[nodiscard]] QString errorText() const { return m_errorText; }

private:
    bool fill();

    int m_fd = -1;
    bool m_ended = false;
    std::string m_buffer;
    size_t m_pos = 0;
    QString m_errorText;
};

}  // namespace platform
