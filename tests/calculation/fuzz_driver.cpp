// Runs a libFuzzer-style entry point without libFuzzer: every file of a seed folder, then a
// number of inputs made by mutating the seeds and by pure chance, from a fixed seed so that a
// failure can be repeated. Usage: driver SEED_DIR [ITERATIONS] [RANDOM_SEED]

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

// Bytes that matter to the reader: line ends, tabs, Ctrl-Z, blanks, digits, signs, points.
const char kInteresting[] = "\r\n\t\x1a 0123456789+-.eE";

std::string mutate(std::string input, std::mt19937_64& random) {
    std::uniform_int_distribution<int> pick(0, 7);
    const int steps = 1 + static_cast<int>(random() % 8);
    for (int s = 0; s < steps; ++s) {
        const size_t at = input.empty() ? 0 : random() % input.size();
        switch (pick(random)) {
            case 0:
                if (!input.empty())
                    input[at] = static_cast<char>(random());
                break;
            case 1:
                input.insert(at, 1, kInteresting[random() % (sizeof kInteresting - 1)]);
                break;
            case 2:
                if (!input.empty())
                    input.erase(at, 1 + random() % 16);
                break;
            case 3:
                input.insert(at, std::string(random() % 700, ' '));
                break;
            case 4:
                input.insert(at, std::to_string(static_cast<int64_t>(random()) % 100000));
                break;
            case 5:
                input.resize(at);
                break;
            case 6:
                if (!input.empty())
                    input.insert(at, input.substr(random() % input.size(), 200));
                break;
            default:
                input.insert(at, "\t\t\t\t\t\t\t\t\t1e308");
                break;
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SEED_DIR [ITERATIONS] [RANDOM_SEED]\n", argv[0]);
        return 2;
    }
    const long iterations = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 10000;
    const auto seed = static_cast<uint64_t>(argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 4);

    std::vector<std::string> corpus;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "no seed files in %s\n", argv[1]);
        return 2;
    }
    for (const auto& input : corpus) {
        run(input);
    }
    std::mt19937_64 random(seed);
    for (long i = 0; i < iterations; ++i) {
        if (i % 10 == 0) {
            std::string noise(random() % 2000, '\0');
            for (auto& c : noise) {
                c = static_cast<char>(random());
            }
            run(noise);
        } else {
            run(mutate(corpus[random() % corpus.size()], random));
        }
    }
    std::printf("%zu seeds and %ld generated inputs ran clean\n", corpus.size(), iterations);
    return 0;
}
