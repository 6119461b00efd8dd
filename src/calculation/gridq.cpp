#include "calculation/gridq.h"

#include <algorithm>

namespace calculation {

QString padUserId(const QString& label) {
    QString padded = label.left(kUserIdLength);
    padded.resize(kUserIdLength, QLatin1Char(' '));
    return padded;
}

void sortByTypeThenId(Gridq& gridq) {
    std::sort(gridq.begin(), gridq.end(), [](const GridqRow& a, const GridqRow& b) {
        if (a.type != b.type) {
            return a.type < b.type;
        }
        return a.id < b.id;
    });
}

void sortByTypeDescThenId(Gridq& gridq) {
    std::sort(gridq.begin(), gridq.end(), [](const GridqRow& a, const GridqRow& b) {
        if (a.type != b.type) {
            return a.type > b.type;
        }
        return a.id < b.id;
    });
}

void sortByVolgnummer(Gridq& gridq) {
    std::sort(gridq.begin(), gridq.end(),
              [](const GridqRow& a, const GridqRow& b) { return a.volgnummer < b.volgnummer; });
}

void numberRows(Gridq& gridq) {
    int32_t n = 0;
    for (auto& row : gridq) {
        row.volgnummer = ++n;
    }
}

GridqRow* findByVolgnummer(Gridq& gridq, int64_t volgnummer) {
    if (volgnummer >= 1 && volgnummer <= static_cast<int64_t>(gridq.size())) {
        GridqRow& guess = gridq[static_cast<size_t>(volgnummer - 1)];
        if (guess.volgnummer == volgnummer) {
            return &guess;
        }
    }
    for (auto& row : gridq) {
        if (row.volgnummer == volgnummer) {
            return &row;
        }
    }
    return nullptr;
}

void setLoad(GridqRow& row, double value) {
    row.value = value;
    if (row.limit < value) {
        row.colorNfg = kRed;
        row.colorSfg = kRed;
    } else {
        row.colorNfg = kBlack;
        row.colorSfg = kWhite;
    }
}

}  // namespace calculation
