#include "paths.h"

#include <cstdlib>
#include <filesystem>

#include "constants.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace zivirare {

WorkDirs workDirsOf(const std::string& home) {
#if defined(_WIN32)
    const auto cut = home.find_last_of("\\/");
#else
    const auto cut = home.find_last_of('/');
#endif
    const std::string parent = cut == std::string::npos ? std::string() : home.substr(0, cut + 1);
    return {parent + std::string(kInputDirName), parent + std::string(kOutputDirName)};
}

std::string fileNameOf(const std::string& path) {
    const auto cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string dataDir() {
    if (const char* env = std::getenv(kDataEnv); env != nullptr && *env != '\0') {
        return env;
    }
    // Any object of this library tells the loader which file it was loaded from.
    static const char kMarker = 0;
#if defined(_WIN32)
    HMODULE module = nullptr;
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            &kMarker, &module) != 0) {
        char path[MAX_PATH];
        const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            return (std::filesystem::path(std::string(path, n)).parent_path() /
                    std::string(kDataDirName))
                .string();
        }
    }
#else
    Dl_info info{};
    if (dladdr(&kMarker, &info) != 0 && info.dli_fname != nullptr) {
        std::error_code ec;
        auto self = std::filesystem::weakly_canonical(info.dli_fname, ec);
        if (ec) {
            self = info.dli_fname;
        }
        return (self.parent_path() / std::string(kDataDirName)).string();
    }
#endif
    return {};
}

}  // namespace zivirare
