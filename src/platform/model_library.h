#pragma once
// The dispersion model is an outside library with one entry point, `ping`. It is bound by name
// when the program starts, through the ordinary library search path: a library with the same
// entry point placed ahead on that path (LD_LIBRARY_PATH) is the one that runs, otherwise the
// one beside the executable (its RUNPATH is $ORIGIN).

#include <QString>
#include <cstdint>

namespace platform {

// int32_t ping(int32_t* pingIn): runs the model synchronously; negative means failure.
using PingFunction = int32_t (*)(int32_t*);

inline constexpr const char* kModelLibraryName = "libzivirare.so";
inline constexpr const char* kModelEntryPoint = "ping";

class ModelLibrary {
public:
    ModelLibrary() = default;
    ~ModelLibrary();
    ModelLibrary(const ModelLibrary&) = delete;
    ModelLibrary& operator=(const ModelLibrary&) = delete;

    // Loads the library by file name (no directory: the search path decides) and binds its
    // entry point. False with a Dutch message in errorText() when either fails. Loading again
    // after success does nothing.
    bool load(const char* fileName = kModelLibraryName);

    [[nodiscard]] bool isLoaded() const { return m_ping != nullptr; }
    // The bound entry point, or nullptr when the library is not loaded.
    [[nodiscard]] PingFunction ping() const { return m_ping; }
    // Where the bound library was found; empty when none.
    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] QString errorText() const { return m_errorText; }

private:
    void* m_handle = nullptr;
    PingFunction m_ping = nullptr;
    QString m_path;
    QString m_errorText;
};

}  // namespace platform
