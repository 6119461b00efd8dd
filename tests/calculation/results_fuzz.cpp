// Fuzzing entry point for the results reader: any bytes as "RepGeurBelast.dat". Aborts when an
// invariant of the reader is broken; sanitizers catch the rest.

#include "calculation/results_file.h"
#include "platform/text_line_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

calculation::Gridq sample() {
    calculation::Gridq rows;
    for (int32_t i = 1; i <= 6; ++i) {
        calculation::GridqRow row;
        row.type = i <= 3 ? calculation::kTypeBron : calculation::kTypeGgl;
        row.id = 10 * i;
        row.limit = i <= 3 ? 0 : 2.0 * i;
        row.userId = calculation::padUserId(QStringLiteral("R"));
        rows.push_back(row);
    }
    calculation::numberRows(rows);
    calculation::sortByTypeDescThenId(rows);
    return rows;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The line rules.
    platform::TextLineReader lines;
    lines.openBuffer(bytes);
    std::string line;
    size_t count = 0;
    while (lines.readLine(line)) {
        check(line.size() <= platform::kTextLineLength);
        check(line.find('\t') == std::string::npos && line.find('\n') == std::string::npos);
        check(line.find(platform::kEndOfFileMark) == std::string::npos);
        check(++count <= size + 1);
    }

    // The reader: rows keep their identity, colours follow the loads.
    calculation::Gridq gridq = sample();
    QString version = calculation::kInitialVersienrregel;
    platform::TextLineReader reader;
    reader.openBuffer(bytes);
    calculation::readResults(reader, gridq, version);
    calculation::sortByVolgnummer(gridq);
    check(version.size() <= calculation::kVersienrregelLength);
    check(gridq.size() == 6);
    for (size_t i = 0; i < gridq.size(); ++i) {
        const auto& row = gridq[i];
        check(row.volgnummer == static_cast<int32_t>(i + 1) && row.id == 10 * row.volgnummer);
        if (row.colorNfg == calculation::kDefaultColor) {
            check(row.value == 0 && row.colorSfg == calculation::kDefaultColor);
        } else if (row.limit < row.value) {
            check(row.colorNfg == calculation::kRed && row.colorSfg == calculation::kRed);
        } else {
            check(row.colorNfg == calculation::kBlack && row.colorSfg == calculation::kWhite);
        }
        check(row.colorNbg == calculation::kDefaultColor &&
              row.colorSbg == calculation::kDefaultColor);
    }
    return 0;
}
