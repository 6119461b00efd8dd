// Prints how long the steps of a calculation take.
// Usage: calculation_bench [REPETITIONS] [--demo]   (--demo: also time writing the demo grid)

#include "calculation/berekenen.h"
#include "calculation/roughness.h"
#include "calculation/roughness_grid.h"
#include "calculation/roughness_import.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

struct Figures {
    double median = 0;
    double best = 0;
};

template <typename F>
Figures measure(int repetitions, F&& run) {
    run();  // warm: the grid's pages in the cache, the statements prepared
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        run();
        times.push_back(microseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

void print(const char* what, const Figures& f, double goalUs) {
    std::printf("%-58s median %9.1f us  best %9.1f us", what, f.median, f.best);
    if (goalUs > 0) {
        std::printf("  (goal < %.0f us: %s)", goalUs, f.median < goalUs ? "met" : "NOT met");
    }
    std::printf("\n");
}

class NullSink : public platform::MessageSink {
public:
    platform::Button show(const platform::Message& m) override {
        std::fprintf(stderr, "message: %s\n", m.text.toUtf8().constData());
        return platform::Ok;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    QTemporaryDir dir;
    NullSink sink;
    platform::ErrorManager errors(sink);

    // Rows 1500 to 1800 of the grid (Y 450000 … 480000), full width, smoothly varying values.
    const QString gridPath = dir.filePath(QStringLiteral("Roughness.tps"));
    QString error;
    if (!calculation::writeRoughnessFile(
            gridPath,
            [](int32_t r, std::vector<float>& cells) {
                if (r < 1500 || r > 1800) {
                    return false;
                }
                cells.resize(calculation::kGridColumns);
                for (int32_t c = 0; c < calculation::kGridColumns; ++c) {
                    cells[static_cast<size_t>(c)] =
                        0.05f + 0.001f * static_cast<float>((c + r) % 200);
                }
                return true;
            },
            {}, error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    auto grid = calculation::RoughnessGrid::open(gridPath, errors);

    double sink2 = 0;
    print("getRoughness, 2 km square (21 x 21 cells), warm",
          measure(repetitions,
                  [&] {
                      sink2 +=
                          calculation::getRoughness(*grid, sink, 155000, 463000, 155000, 463000);
                  }),
          1000);
    print("getRoughness, 20 km square (201 x 201 cells), warm",
          measure(std::max(1, repetitions / 10),
                  [&] {
                      sink2 +=
                          calculation::getRoughness(*grid, sink, 145000, 453000, 165000, 473000);
                  }),
          0);

    // A whole start with the test model: 10 emission points, 50 locations, a prepared results
    // file that the model copies; the time spent inside ping is subtracted.
    QDir(dir.path()).mkpath(QStringLiteral("Input"));
    QDir(dir.path()).mkpath(QStringLiteral("Output"));
    calculation::CalculationPaths paths;
    paths.inputDir = dir.filePath(QStringLiteral("Input/"));
    paths.outputDir = dir.filePath(QStringLiteral("Output/"));
    calculation::Gridq rows;
    for (int32_t i = 0; i < 60; ++i) {
        calculation::GridqRow row;
        row.type = i < 10 ? calculation::kTypeBron : calculation::kTypeGgl;
        row.id = 100 + i;
        row.userId = QStringLiteral("Punt %1").arg(i);
        row.xPos = 155000 + 37 * i;
        row.yPos = 463000 + 23 * i;
        row.limit = 3.0;
        row.stHoogte = 6.5;
        row.gebHoogte = 5;
        row.stBinnen = 0.5;
        row.stUittree = 4;
        row.eVergund = 12000;
        rows.push_back(row);
    }
    QByteArray results = "Resultaten\r\nTestmodel 1.0\r\nkop\r\n";
    for (int32_t n = 11; n <= 60; ++n) {
        QByteArray line = QByteArray::number(n).rightJustified(14, ' ').leftJustified(69, ' ');
        line += QByteArray::number(0.1 * n, 'f', 3).rightJustified(14, ' ');
        results += line + "\r\n";
    }
    const QString prepared = dir.filePath(QStringLiteral("prepared.dat"));
    {
        QFile f(prepared);
        if (!f.open(QIODevice::WriteOnly) || f.write(results) != results.size()) {
            return 1;
        }
    }
    qputenv("VV_FAKE_MODEL_RESULTS", QFile::encodeName(prepared));
    qputenv("VV_FAKE_MODEL_OUTPUT", QFile::encodeName(paths.resultsPath()));
    platform::ModelLibrary model;
    if (!model.load(VV_FAKE_MODEL_LIBRARY)) {
        std::fprintf(stderr, "%s\n", model.errorText().toUtf8().constData());
        return 1;
    }
    calculation::SystemClock clock;
    Clock::duration inModel{};
    calculation::BerekenenServices services(*grid, sink, clock, paths, [&](int32_t* in) {
        const auto start = Clock::now();
        const int32_t rc = model.ping()(in);
        inModel += Clock::now() - start;
        return rc;
    });
    calculation::BerekenenState state;
    std::vector<double> times;
    for (int i = 0; i <= repetitions; ++i) {
        calculation::loadGridq(state, rows);
        inModel = {};
        const auto start = Clock::now();
        if (calculation::startBerekenen(state, services) != calculation::StartResult::Calculated) {
            std::fprintf(stderr, "calculation failed\n");
            return 1;
        }
        if (i > 0) {
            times.push_back(microseconds(Clock::now() - start - inModel));
        }
    }
    std::sort(times.begin(), times.end());
    print("start of a calculation, 10 + 50 points, without the model",
          {times[times.size() / 2], times.front()}, 20000);

    if (argc > 2 && std::string_view(argv[2]) == "--demo") {
        const auto start = Clock::now();
        const auto demo = calculation::writeDemoRoughness(dir.filePath(QStringLiteral("demo.tps")));
        std::printf("%-58s %9.2f s%s\n", "writeDemoRoughness, the whole country (once)",
                    std::chrono::duration<double>(Clock::now() - start).count(),
                    demo.ok ? "" : " (failed)");
    }
    return sink2 > 0 ? 0 : 1;
}
