// Test stand-in for the dispersion model. Behaviour is chosen by the calling test through
// environment variables, read at every call:
//
//   VV_FAKE_MODEL_CODE     the value to return (default 0); when negative nothing is written
//   VV_FAKE_MODEL_RESULTS  a prepared results file, copied byte for byte to the output file
//   VV_FAKE_MODEL_OUTPUT   the results file to write (default ../Output/RepGeurBelast.dat)
//   VV_FAKE_MODEL_INPUT    the input directory (default ../Input/); without VV_FAKE_MODEL_RESULTS
//                          a results file is made from its GGL.dat: one line per location, the
//                          load being the standard times (number mod 3) times 0.75
//   VV_FAKE_MODEL_LOG      a file that gets the line "ping N" appended, N the value passed in

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string env(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string(fallback);
}

bool copyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        return false;  // no prepared file: no results file at all
    }
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out << in.rdbuf();
    return static_cast<bool>(out);
}

std::string padLeft(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

bool writeFromLocations(const std::string& inputDir, const std::string& output) {
    std::ifstream in(inputDir + "GGL.dat", std::ios::binary);
    if (!in) {
        return false;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out << "Resultaten testmodel\r\n";
    out << "Testmodel 1.0\r\n";
    out << "Volgnr  Identifier            X          Y         Norm                 "
           "Geurbelasting\r\n";
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        long number = 0;
        if (!(fields >> number)) {
            continue;
        }
        // The label takes 20 characters after the number and one blank.
        const size_t afterLabel = line.find(' ') + 1 + 20;
        std::istringstream rest(afterLabel < line.size() ? line.substr(afterLabel) : "");
        double x = 0;
        double y = 0;
        double norm = 0;
        rest >> x >> y >> norm;
        char load[32];
        const auto printed = std::to_chars(load, load + sizeof load - 1,
                                           norm * static_cast<double>(number % 3) * 0.75,
                                           std::chars_format::fixed, 3);
        *printed.ptr = '\0';
        std::string result = padLeft(std::to_string(number), 14);
        result.resize(69, ' ');
        result += padLeft(load, 14);
        out << result << "\r\n";
    }
    return static_cast<bool>(out);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t ping(int32_t* pingIn) {
    try {
        const std::string log = env("VV_FAKE_MODEL_LOG", "");
        if (!log.empty()) {
            std::ofstream(log, std::ios::app)
                << "ping " << (pingIn != nullptr ? *pingIn : -999) << "\n";
        }
        const int32_t code =
            static_cast<int32_t>(std::strtol(env("VV_FAKE_MODEL_CODE", "0").c_str(), nullptr, 10));
        if (code < 0) {
            return code;
        }
        const std::string output = env("VV_FAKE_MODEL_OUTPUT", "../Output/RepGeurBelast.dat");
        const std::string prepared = env("VV_FAKE_MODEL_RESULTS", "");
        if (!prepared.empty()) {
            copyFile(prepared, output);
        } else {
            writeFromLocations(env("VV_FAKE_MODEL_INPUT", "../Input/"), output);
        }
        return code;
    } catch (...) {
        return -99;
    }
}
