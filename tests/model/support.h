#pragma once
// Helpers of the model tests: a temporary home with its Input and Output, files written as the
// program writes them, the results file read by the program's reading rules, and the tools run
// as programs.

#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace model_test {

namespace fs = std::filesystem;

inline void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lines joined with CR LF, the last one included.
inline std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += l + "\r\n";
    }
    return out;
}

// A unique directory with "home", "Input" and "Output"; removed again at the end.
class TempRoot {
public:
    TempRoot() {
        static int counter = 0;
        m_root = fs::temp_directory_path() /
                 ("zivirare-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        fs::create_directories(home());
        fs::create_directories(input());
        fs::create_directories(output());
    }
    ~TempRoot() {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
    [[nodiscard]] fs::path root() const { return m_root; }
    [[nodiscard]] fs::path home() const { return m_root / "home"; }
    [[nodiscard]] fs::path input() const { return m_root / "Input"; }
    [[nodiscard]] fs::path output() const { return m_root / "Output"; }

private:
    fs::path m_root;
};

// Sets (or with nullptr unsets) an environment variable for the lifetime of the object.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~EnvGuard() {
        if (m_old) {
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// The working directory changed for the lifetime of the object.
class CwdGuard {
public:
    explicit CwdGuard(const fs::path& dir) : m_old(fs::current_path()) { fs::current_path(dir); }
    ~CwdGuard() { fs::current_path(m_old); }
    CwdGuard(const CwdGuard&) = delete;
    CwdGuard& operator=(const CwdGuard&) = delete;

private:
    fs::path m_old;
};

// ping() of the built shared library, loaded the way the program loads it.
using PingFunction = int32_t (*)(int32_t*);
inline PingFunction libraryPing() {
    static void* handle = dlopen(ZIVIRARE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    return handle == nullptr ? nullptr : reinterpret_cast<PingFunction>(dlsym(handle, "ping"));
}

// The results file as the program reads it: lines end at CR LF or LF, at most 500 characters,
// tabs expanded to the next multiple of 8 columns, Ctrl-Z ends the file.
inline std::vector<std::string> programLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool pending = false;
    const auto finish = [&] {
        std::string expanded;
        for (const char c : line) {
            if (c == '\t') {
                do {
                    expanded += ' ';
                } while (expanded.size() % 8 != 0);
            } else {
                expanded += c;
            }
        }
        expanded.resize(std::min<std::size_t>(expanded.size(), 500));
        lines.push_back(expanded);
        line.clear();
        pending = false;
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\x1a') {
            break;
        }
        if (c == '\n') {
            finish();
        } else if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            continue;
        } else {
            line += c;
            pending = true;
        }
    }
    if (pending) {
        finish();
    }
    return lines;
}

// A number read from columns first..last (1-based): leading blanks skipped, then as far as the
// text can continue a decimal number; no number reads 0.
inline double programNumber(const std::string& line, std::size_t first, std::size_t last) {
    std::string field = line.size() >= first ? line.substr(first - 1, last - first + 1) : "";
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') {
        ++i;
    }
    std::string number;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
        number += field[i++];
    }
    bool point = false;
    while (i < field.size() &&
           (std::isdigit(static_cast<unsigned char>(field[i])) || (field[i] == '.' && !point))) {
        point = point || field[i] == '.';
        number += field[i++];
    }
    if (number.find_first_of("0123456789") == std::string::npos) {
        return 0.0;
    }
    return std::strtod(number.c_str(), nullptr);
}

struct ResultRow {
    int64_t volgnummer;
    double load;
};

// Result lines from line 4 on: the sequence number from columns 1-14 (truncated), the load from
// columns 70-83; lines whose number is 0 are skipped.
inline std::vector<ResultRow> programResults(const std::string& bytes) {
    std::vector<ResultRow> rows;
    const auto lines = programLines(bytes);
    for (std::size_t n = 3; n < lines.size(); ++n) {
        const auto seq = static_cast<int64_t>(programNumber(lines[n], 1, 14));
        if (seq != 0) {
            rows.push_back({seq, programNumber(lines[n], 70, 83)});
        }
    }
    return rows;
}

struct ToolOutput {
    int status;
    std::string out;
};

// Runs a command line and collects its standard output.
inline ToolOutput runTool(const std::string& command) {
    ToolOutput result{-1, {}};
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace model_test
