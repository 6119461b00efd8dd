#include "text.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace zivirare::text {

ReadStatus readFile(const std::string& path, std::string& bytes) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        return ReadStatus::kMissing;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return ReadStatus::kUnreadable;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ReadStatus::kUnreadable;
    }
    // One read of the whole file: the weather files are a few megabytes.
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0 || !in) {
        return ReadStatus::kUnreadable;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size)) {
        return ReadStatus::kUnreadable;
    }
    return ReadStatus::kOk;
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = next;
    }
    return lines;
}

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}
}  // namespace

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    return trimRight(s);
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::vector<std::string_view> splitBlanks(std::string_view s) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && isBlank(s[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < s.size() && !isBlank(s[i])) {
            ++i;
        }
        if (i > start) {
            tokens.push_back(s.substr(start, i - start));
        }
    }
    return tokens;
}

std::optional<double> parseDouble(std::string_view token) {
    if (token.empty()) {
        return std::nullopt;
    }
    // from_chars takes no leading '+'; accept it, as hand-written files may carry one.
    if (token.front() == '+') {
        token.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value,
                                           std::chars_format::general);
    if (ec != std::errc() || end != token.data() + token.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int64_t> parseInt(std::string_view token) {
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1);
    }
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (token.empty() || ec != std::errc() || end != token.data() + token.size()) {
        return std::nullopt;
    }
    return value;
}

std::string formatFixed(double value, int decimals) {
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) {
        return "0";
    }
    std::string s(buffer, end);
    // "-0.000" would read back as zero anyway; write it without the sign.
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) {
        s.erase(0, 1);
    }
    return s;
}

std::string formatGeneral(double value, int significantDigits) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::general, significantDigits);
    return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

std::string padLeft(std::string_view s, std::size_t width) {
    std::string out;
    if (s.size() < width) {
        out.assign(width - s.size(), ' ');
    }
    out.append(s);
    return out;
}

std::string fitRight(std::string_view s, std::size_t width) {
    std::string out(s.substr(0, width));
    out.resize(width, ' ');
    return out;
}

}  // namespace zivirare::text
