#include "calculation/roughness.h"

#include "calculation/messages.h"
#include "calculation/number_text.h"

#include <cmath>

namespace calculation {

namespace {

void say(platform::MessageSink& messages, const QString& text) {
    messages.show(platform::Message{QString(), text});
}

QString whole(int64_t value) {
    return QString::number(value);
}

// Widens [low, high] to kMinExtent around its centre (each corner truncated toward zero) and
// shifts it back inside [min, max]. A range that is wide enough is left as it is.
void widen(int32_t& low, int32_t& high, int32_t min, int32_t max) {
    const int32_t extent = high - low;
    if (extent >= kMinExtent) {
        return;
    }
    const double d = (kMinExtent - extent) / 2.0;
    low = static_cast<int32_t>(low - d);
    high = static_cast<int32_t>(high + d);
    if (low < min) {
        high += min - low;
        low = min;
    }
    if (high > max) {
        low -= high - max;
        high = max;
    }
}

// A coordinate in whole cells: rounded to the nearest 100 m, exactly halfway rounding up.
int32_t toCells(int32_t metres) {
    const int32_t shifted = metres + kCellSize / 2;
    return shifted >= 0 ? shifted / kCellSize : -((-shifted + kCellSize - 1) / kCellSize);
}

}  // namespace

double getRoughness(RoughnessGrid& grid, platform::MessageSink& messages, int32_t xBottum,
                    int32_t yBottum, int32_t xTop, int32_t yTop) {
    auto inX = [](int32_t x) { return x >= kGridXMin && x <= kGridXMax; };
    auto inY = [](int32_t y) { return y >= kGridYMin && y <= kGridYMax; };
    if (!inX(xBottum)) {
        say(messages, text::kXNietTussen);
        return kDefaultRuwheid;
    }
    if (!inY(yBottum)) {
        say(messages, text::kYNietTussen);
        return kDefaultRuwheid;
    }
    if (!inX(xTop)) {
        say(messages, text::kXNietTussen);
        return kDefaultRuwheid;
    }
    if (!inY(yTop)) {
        say(messages, text::kYNietTussen);
        return kDefaultRuwheid;
    }

    widen(xBottum, xTop, kGridXMin, kGridXMax);
    widen(yBottum, yTop, kGridYMin, kGridYMax);

    const int32_t bx = toCells(xBottum);
    const int32_t by = toCells(yBottum);
    const int32_t ex = toCells(xTop);
    const int32_t ey = toCells(yTop);
    if (bx > ex) {
        say(messages, text::kXLinksonder + whole(int64_t{bx} * kCellSize) + text::kXRechtsboven +
                          whole(int64_t{ex} * kCellSize));
        return kDefaultRuwheid;
    }
    if (by > ey) {
        say(messages, text::kYLinksonder + whole(int64_t{by} * kCellSize) + text::kYRechtsboven +
                          whole(int64_t{ey} * kCellSize));
        return kDefaultRuwheid;
    }

    double total = 0;
    int64_t count = 0;
    for (int32_t r = by; r <= ey; ++r) {
        // The records that follow are taken as the cells of the row in column order.
        const bool positioned = grid.set(cellNumber(bx, r - kSouthRow));
        for (int32_t c = bx; c <= ex; ++c) {
            int32_t number = 0;
            float value = 0;
            if (!positioned || !grid.next(number, value)) {
                say(messages, text::kOnvolledigX + whole(int64_t{c} * kCellSize) +
                                  text::kOnvolledigY + whole(int64_t{r} * kCellSize));
                return kDefaultRuwheid;
            }
            total += static_cast<double>(value);
            ++count;
        }
    }
    // A grid with a cell that is not a number is treated like one without values.
    if (count == 0 || total == 0 || !std::isfinite(total)) {
        return kDefaultRuwheid;
    }
    double mean = total / static_cast<double>(count);
    if (mean < kMinRuwheid) {
        mean = kMinRuwheid;
    }
    if (mean > kMaxRuwheid) {
        mean = kMaxRuwheid;
    }
    return roundDecimal(mean, 2);
}

}  // namespace calculation
