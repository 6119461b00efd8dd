#include "platform/model_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace platform {
namespace {

// The folder of the running program, from the kernel's link to it.
QByteArray programFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) {
        return {};
    }
    path[n] = '\0';
    return QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
}

}  // namespace

ModelLibrary::~ModelLibrary() {
    // The library stays loaded until the process ends: a model may keep threads or state that
    // must not be unmapped under it.
}

bool ModelLibrary::load(const char* fileName) {
    if (m_ping != nullptr) {
        return true;
    }
    m_errorText.clear();
    dlerror();
    m_handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr && std::strchr(fileName, '/') == nullptr) {
        // The search path normally includes the program's own folder (its RUNPATH), but not when
        // dlopen is reached through a wrapper library such as a sanitizer runtime, whose own
        // search path is used instead; so look beside the program explicitly, after the search
        // path has had its turn.
        const QByteArray folder = programFolder();
        if (!folder.isEmpty()) {
            const QByteArray beside = folder + '/' + fileName;
            m_handle = dlopen(beside.constData(), RTLD_NOW | RTLD_LOCAL);
        }
        if (m_handle == nullptr) {
            dlerror();
            m_handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);  // for the original error text
        }
    }
    if (m_handle == nullptr) {
        const char* why = dlerror();
        m_errorText = QStringLiteral(
                          "Het rekenmodel kan niet worden geladen: de bibliotheek %1 is "
                          "niet gevonden of onbruikbaar (%2).")
                          .arg(QString::fromLocal8Bit(fileName),
                               QString::fromLocal8Bit(why != nullptr ? why : "onbekende fout"));
        return false;
    }
    void* symbol = dlsym(m_handle, kModelEntryPoint);
    if (symbol == nullptr) {
        m_errorText =
            QStringLiteral(
                "Het rekenmodel kan niet worden geladen: de bibliotheek %1 "
                "bevat geen ingang \"%2\".")
                .arg(QString::fromLocal8Bit(fileName), QString::fromLatin1(kModelEntryPoint));
        dlclose(m_handle);
        m_handle = nullptr;
        return false;
    }
    m_ping = reinterpret_cast<PingFunction>(symbol);
    Dl_info info{};
    if (dladdr(symbol, &info) != 0 && info.dli_fname != nullptr) {
        m_path = QFile::decodeName(info.dli_fname);
    }
    return true;
}

}  // namespace platform
