#include "platform/settings_file.h"

#include "platform/cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <mutex>
#include <string_view>

namespace platform {
namespace {

constexpr int kLockTimeoutMs = 5000;

// Serialises every read-modify-write of any settings file within this process; the lock file
// does the same between processes.
std::mutex& settingsMutex() {
    static std::mutex mutex;
    return mutex;
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString decode(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes.sliced(3));
    }
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE);
        return utf16(bytes.sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16BE);
        return utf16(bytes.sliced(2));
    }
    return cp1252::toUnicode(std::string_view(bytes.data(), static_cast<size_t>(bytes.size())));
}

QString unquoted(const QString& value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        return value.mid(1, value.size() - 2);
    }
    return value;
}

// A line end inside a name or value would split its line in two and smuggle in another key.
QString oneLine(QStringView text) {
    QString line = text.toString();
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

}  // namespace

IniDocument IniDocument::fromBytes(QByteArrayView bytes) {
    IniDocument doc;
    const QString text = decode(bytes);
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();  // the line end of the last line
    }
    for (QString& raw : lines) {
        if (raw.endsWith(u'\r')) {
            raw.chop(1);
        }
        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(u'[')) {
            Section section;
            const qsizetype close = trimmed.indexOf(u']');
            section.name = (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
            section.hasHeader = true;
            section.header = raw;
            doc.m_sections.push_back(std::move(section));
            continue;
        }
        if (doc.m_sections.empty()) {
            doc.m_sections.push_back(Section{});
        }
        Line line{raw, {}, {}};
        const qsizetype equals = raw.indexOf(u'=');
        if (equals > 0 && doc.m_sections.back().hasHeader && !trimmed.startsWith(u';')) {
            line.key = raw.left(equals).trimmed();
            line.value = raw.mid(equals + 1).trimmed();
        }
        doc.m_sections.back().lines.push_back(std::move(line));
    }
    return doc;
}

QByteArray IniDocument::toBytes() const {
    QString text;
    for (const Section& section : m_sections) {
        if (section.hasHeader) {
            text += section.header;
            text += u"\r\n";
        }
        for (const Line& line : section.lines) {
            text += line.text;
            text += u"\r\n";
        }
    }
    const std::string bytes = cp1252::fromUnicode(text);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

IniDocument::Section* IniDocument::find(QStringView section) {
    for (Section& s : m_sections) {
        if (s.hasHeader && sameName(s.name, section)) {
            return &s;
        }
    }
    return nullptr;
}

const IniDocument::Section* IniDocument::find(QStringView section) const {
    return const_cast<IniDocument*>(this)->find(section);
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const {
    if (const Section* s = find(section)) {
        for (const Line& line : s->lines) {
            if (!line.key.isEmpty() && sameName(line.key, key)) {
                return unquoted(line.value);
            }
        }
    }
    return std::nullopt;
}

void IniDocument::setValue(QStringView sectionName, QStringView keyName, QStringView valueText) {
    const QString section = oneLine(sectionName);
    const QString key = oneLine(keyName);
    const QString value = oneLine(valueText);
    Section* s = find(section);
    if (s == nullptr) {
        Section added;
        added.name = section;
        added.hasHeader = true;
        added.header = u'[' + added.name + u']';
        m_sections.push_back(std::move(added));
        s = &m_sections.back();
    }
    auto insertAt = s->lines.begin();
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
        if (it->key.isEmpty()) {
            continue;
        }
        if (sameName(it->key, key)) {
            it->value = value;
            it->text = it->key + u'=' + it->value;
            return;
        }
        insertAt = it + 1;
    }
    Line line;
    line.key = key;
    line.value = value;
    line.text = line.key + u'=' + line.value;
    s->lines.insert(insertAt, std::move(line));
}

bool IniDocument::remove(QStringView section, QStringView key) {
    Section* s = find(section);
    if (s == nullptr) {
        return false;
    }
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
        if (!it->key.isEmpty() && sameName(it->key, key)) {
            s->lines.erase(it);
            return true;
        }
    }
    return false;
}

QStringList IniDocument::sections() const {
    QStringList names;
    for (const Section& s : m_sections) {
        if (s.hasHeader) {
            names << s.name;
        }
    }
    return names;
}

QStringList IniDocument::keys(QStringView section) const {
    QStringList names;
    if (const Section* s = find(section)) {
        for (const Line& line : s->lines) {
            if (!line.key.isEmpty()) {
                names << line.key;
            }
        }
    }
    return names;
}

QString SettingsFile::defaultPath() {
    const QString chosen = qEnvironmentVariable(kPathVariable);
    if (!chosen.isEmpty()) {
        return chosen;
    }
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/vaduvevedu/") + kFileName;
}

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {}

namespace {

std::optional<QByteArray> readBytes(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return QByteArray();
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

}  // namespace

IniDocument SettingsFile::read() const {
    std::lock_guard guard(settingsMutex());
    const auto bytes = readBytes(m_path);
    return IniDocument::fromBytes(bytes ? *bytes : QByteArray());
}

std::optional<QString> SettingsFile::value(QStringView section, QStringView key) const {
    return read().value(section, key);
}

bool SettingsFile::update(const std::function<void(IniDocument&)>& change) {
    std::lock_guard guard(settingsMutex());
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        return false;
    }
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockTimeoutMs)) {
        return false;
    }
    const auto before = readBytes(m_path);
    if (!before) {
        return false;  // present but unreadable: rewriting it would lose what it holds
    }
    IniDocument doc = IniDocument::fromBytes(*before);
    change(doc);
    const QByteArray after = doc.toBytes();
    if (after == *before) {
        return true;
    }
    QSaveFile file(m_path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(after) != after.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool SettingsFile::setValue(QStringView section, QStringView key, QStringView value) {
    return update([&](IniDocument& doc) { doc.setValue(section, key, value); });
}

bool SettingsFile::remove(QStringView section, QStringView key) {
    return update([&](IniDocument& doc) { doc.remove(section, key); });
}

}  // namespace platform
