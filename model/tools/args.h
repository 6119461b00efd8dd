#pragma once
// Command-line helpers shared by the model's tools.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text.h"

namespace zivirare::tools {

// Options as "--name value" pairs after the positional arguments.
class Args {
public:
    Args(int argc, char** argv, int first) {
        for (int i = first; i < argc; ++i) {
            m_items.emplace_back(argv[i]);
        }
    }
    [[nodiscard]] bool has(std::string_view flag) const {
        for (const auto& s : m_items) {
            if (s == flag) {
                return true;
            }
        }
        return false;
    }
    [[nodiscard]] std::optional<std::string> value(std::string_view name) const {
        for (std::size_t i = 0; i + 1 < m_items.size(); ++i) {
            if (m_items[i] == name) {
                return m_items[i + 1];
            }
        }
        return std::nullopt;
    }
    // The items that are neither an option nor the value of one.
    [[nodiscard]] std::vector<std::string> positional() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i].rfind("--", 0) == 0) {
                if (m_items[i] != "--help") {
                    ++i;
                }
                continue;
            }
            out.push_back(m_items[i]);
        }
        return out;
    }
    // Names of options that are not in `known`.
    [[nodiscard]] std::vector<std::string> unknown(
        const std::vector<std::string_view>& known) const {
        std::vector<std::string> out;
        for (const auto& s : m_items) {
            if (s.rfind("--", 0) == 0 && s != "--help") {
                bool found = false;
                for (const auto k : known) {
                    found = found || s == k;
                }
                if (!found) {
                    out.push_back(s);
                }
            }
        }
        return out;
    }

private:
    std::vector<std::string> m_items;
};

inline std::optional<double> number(const std::optional<std::string>& s) {
    return s ? text::parseDouble(text::trim(*s)) : std::nullopt;
}

}  // namespace zivirare::tools
