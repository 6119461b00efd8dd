#include "log.h"

#include <fstream>

namespace zivirare {

bool RunLog::writeTo(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& line : m_lines) {
        out << line << "\r\n";
    }
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace zivirare
