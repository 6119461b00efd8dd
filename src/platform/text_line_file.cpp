#include "platform/text_line_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

constexpr size_t kReadBlock = 64 * 1024;
constexpr size_t kWriteBlock = 64 * 1024;

int openFile(const QString& path, int flags) {
    const QByteArray name = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(name.constData(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Advisory lock that keeps other processes of the system from the file while it is in use.
bool lockExclusive(int fd) {
    int rc = -1;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc < 0 && errno == EINTR);
    return rc == 0;
}

// A missing file in a missing directory is a missing path.
QString openErrorText(const QString& path, int errnoValue) {
    if (errnoValue == ENOENT && !QFileInfo(path).absoluteDir().exists()) {
        return QStringLiteral("Path Not Found");
    }
    return textFileErrorText(errnoValue);
}

}  // namespace

QString textFileErrorText(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return QStringLiteral("File Not Found");
        case ENOTDIR:
            return QStringLiteral("Path Not Found");
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EWOULDBLOCK:
        case ETXTBSY:
            return QStringLiteral("Access Denied");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("Too Many Open Files");
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("Disk Full");
        case ENAMETOOLONG:
            return QStringLiteral("Invalid Filename");
        default:
            return QString::fromLocal8Bit(std::strerror(errnoValue));
    }
}

// --- writing ---------------------------------------------------------------------------------

TextLineWriter::~TextLineWriter() {
    close();
}

bool TextLineWriter::create(const QString& path) {
    close();
    m_failed = false;
    m_errorText.clear();
    const QByteArray name = QFile::encodeName(path);
    if (::unlink(name.constData()) != 0 && errno != ENOENT) {
        m_errorText = openErrorText(path, errno);
        return false;
    }
    m_fd = openFile(path, O_WRONLY | O_CREAT | O_EXCL);
    if (m_fd < 0) {
        m_errorText = openErrorText(path, errno);
        return false;
    }
    if (!lockExclusive(m_fd)) {
        m_errorText = textFileErrorText(errno);
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    return true;
}

bool TextLineWriter::writeLine(std::string_view text) {
    if (m_fd < 0) {
        return false;
    }
    text = text.substr(0, kTextLineLength);
    const size_t end = text.find_last_not_of(' ');
    text = end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
    m_buffer.append(text);
    m_buffer.append("\r\n");
    if (m_buffer.size() >= kWriteBlock) {
        return flush();
    }
    return !m_failed;
}

bool TextLineWriter::flush() {
    size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_errorText = textFileErrorText(errno);
            m_failed = true;
            break;
        }
        done += static_cast<size_t>(n);
    }
    m_buffer.clear();
    return !m_failed;
}

bool TextLineWriter::close() {
    if (m_fd < 0) {
        return !m_failed;
    }
    flush();
    if (::close(m_fd) != 0 && !m_failed) {
        m_errorText = textFileErrorText(errno);
        m_failed = true;
    }
    m_fd = -1;
    return !m_failed;
}

// --- reading ---------------------------------------------------------------------------------

TextLineReader::~TextLineReader() {
    close();
}

bool TextLineReader::open(const QString& path) {
    close();
    m_errorText.clear();
    m_fd = openFile(path, O_RDONLY);
    if (m_fd < 0) {
        m_errorText = openErrorText(path, errno);
        return false;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        m_errorText = textFileErrorText(EISDIR);
        close();
        return false;
    }
    if (!lockExclusive(m_fd)) {
        m_errorText = textFileErrorText(errno);
        close();
        return false;
    }
    m_ended = false;
    return true;
}

void TextLineReader::openBuffer(std::string bytes) {
    close();
    m_errorText.clear();
    m_buffer = std::move(bytes);
    m_pos = 0;
    m_ended = false;
}

void TextLineReader::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_buffer.clear();
    m_pos = 0;
    m_ended = true;
}

// Makes at least one unread byte available; false at the end of the data.
bool TextLineReader::fill() {
    if (m_pos < m_buffer.size()) {
        return true;
    }
    m_buffer.clear();
    m_pos = 0;
    if (m_fd < 0) {
        return false;
    }
    m_buffer.resize(kReadBlock);
    ssize_t n = -1;
    do {
        n = ::read(m_fd, m_buffer.data(), kReadBlock);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        m_errorText = textFileErrorText(errno);
    }
    m_buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return n > 0;
}

bool TextLineReader::readLine(std::string& line) {
    line.clear();
    if (m_ended) {
        return false;
    }
    bool any = false;  // a byte of this line was read, so it counts even without a line end
    while (fill()) {
        const char c = m_buffer[m_pos++];
        if (c == kEndOfFileMark) {
            m_ended = true;
            return any;
        }
        if (c == '\n') {
            return true;
        }
        if (c == '\r') {
            if (!fill()) {
                m_ended = true;
                return true;
            }
            if (m_buffer[m_pos] == '\n') {
                ++m_pos;
                return true;
            }
        }
        any = true;
        if (line.size() >= kTextLineLength) {
            continue;  // the rest of a long line is read past
        }
        if (c == '\t') {
            line.append(kTabWidth - line.size() % kTabWidth, ' ');
            if (line.size() > kTextLineLength) {
                line.resize(kTextLineLength);
            }
        } else {
            line.push_back(c);
        }
    }
    m_ended = true;
    return any;
}

}  // namespace platform
