#pragma once
// The run's diagnostic log: warnings, counts and the reason of a failure, in Dutch, written as
// "zivirare.log" into the output directory at the end of a run.

#include <string>
#include <string_view>
#include <vector>

namespace zivirare {

class RunLog {
public:
    void info(std::string_view line) { m_lines.emplace_back(line); }
    void warning(std::string_view line) { m_lines.push_back("Waarschuwing: " + std::string(line)); }
    void error(std::string_view line) { m_lines.push_back("Fout: " + std::string(line)); }
    [[nodiscard]] const std::vector<std::string>& lines() const { return m_lines; }

    // Writes every line, each ending in CR LF. Returns false when the file cannot be written;
    // the log is a help, so a caller does not fail a run over it.
    bool writeTo(const std::string& path) const;

private:
    std::vector<std::string> m_lines;
};

}  // namespace zivirare
