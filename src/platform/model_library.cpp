#include "platform/model_library.h"

#include <dlfcn.h>
#include <QFile>

namespace platform {

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
