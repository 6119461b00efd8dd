#include "shell/working_dirs.h"

#include "shell/messages.h"

#include <QDir>
#include <QFileInfo>

namespace shell {
namespace {

QString trimmedRight(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ') {
        --end;
    }
    return text.left(end);
}

// True when anything of that name is there, a dangling symbolic link included.
bool nameExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void ensureDir(const QString& path, platform::MessageSink& messages) {
    if (nameExists(path)) {
        return;
    }
    if (!QDir().mkdir(path)) {
        platform::Message message;
        message.text = messages::workDirNotCreated(trimmedRight(path));
        message.buttons = platform::Ok;
        message.defaultButton = platform::Ok;
        messages.show(message);
    }
}

}  // namespace

QString currentHomeDir() {
    const QString current = QDir::currentPath();
    const QString canonical = QFileInfo(current).canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? current : canonical);
}

WorkDirs deriveWorkDirs(QStringView homeDir) {
    const qsizetype slash = homeDir.lastIndexOf(u'/');
    const QString parent = homeDir.left(slash + 1).toString();  // empty when there is none
    return {parent + QStringLiteral("Input"), parent + QStringLiteral("Output")};
}

void prepareWorkDirs(Glo& glo, platform::MessageSink& messages) {
    const WorkDirs dirs = deriveWorkDirs(glo.homeDir);
    glo.inputDir = dirs.inputDir;
    glo.outputDir = dirs.outputDir;
    ensureDir(glo.inputDir, messages);
    ensureDir(glo.outputDir, messages);
    glo.inputDir += u'/';
    glo.outputDir += u'/';
}

}  // namespace shell
