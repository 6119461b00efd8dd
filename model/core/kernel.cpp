#include "kernel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <numbers>
#include <thread>

#include "constants.h"
#include "parallel.h"
#include "percentile.h"
#include "plume.h"

#if defined(__SSE2__)
#include <pmmintrin.h>
#include <xmmintrin.h>
#endif

namespace zivirare {

namespace {

constexpr float kFar = 1.0e30f;  // a distance never reached: switches a wake branch off

Stack stackOf(const Source& s) {
    return {s.hoogte, s.gebouwHoogte, s.diameter, s.uittree};
}

// Sixteen lanes of single precision (GCC vector extensions): the receptor loop works on sixteen
// receptors at once, the same instructions for every lane whatever the target (one AVX-512
// register, two AVX2 registers, or four SSE registers). Receptor arrays are padded to a
// multiple of the width.
using Floats = float __attribute__((vector_size(64)));
using Ints = int32_t __attribute__((vector_size(64)));
constexpr std::size_t kWidth = 16;

__attribute__((always_inline)) inline Floats splat(float v) {
    return Floats{} + v;
}
__attribute__((always_inline)) inline Floats load(const float* p) {
    Floats v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
__attribute__((always_inline)) inline void store(float* p, Floats v) {
    std::memcpy(p, &v, sizeof v);
}
__attribute__((always_inline)) inline Floats vmin(Floats a, Floats b) {
    return a < b ? a : b;
}
__attribute__((always_inline)) inline Floats vmax(Floats a, Floats b) {
    return a > b ? a : b;
}
__attribute__((always_inline)) inline Floats vsqrt(Floats v) {
    Floats r;
    for (std::size_t i = 0; i < kWidth; ++i) {
        r[i] = std::sqrt(v[i]);
    }
    return r;
}

__attribute__((always_inline)) inline bool noLane(Ints mask) {
    int32_t any = 0;
    for (std::size_t i = 0; i < kWidth; ++i) {
        any |= mask[i];
    }
    return any == 0;
}

// exp and log after Cephes, with selects only. exp returns 0 below -87 (instead of a denormal);
// log expects normal positive numbers.
__attribute__((always_inline)) inline Floats expF(Floats x) {
    const Floats clamped = vmin(vmax(x, splat(-87.0f)), splat(88.0f));
    const Floats t = clamped * 1.44269504088896341f + 0.5f;
    Ints n = __builtin_convertvector(t, Ints);         // towards zero
    n = n + (__builtin_convertvector(n, Floats) > t);  // a true mask is -1: floor
    const Floats fn = __builtin_convertvector(n, Floats);
    Floats r = clamped - fn * 0.693359375f;
    r = r - fn * -2.12194440e-4f;
    Floats p = splat(1.9875691500e-4f);
    p = p * r + 1.3981999507e-3f;
    p = p * r + 8.3334519073e-3f;
    p = p * r + 4.1665795894e-2f;
    p = p * r + 1.6666665459e-1f;
    p = p * r + 5.0000001201e-1f;
    p = p * r * r + r + 1.0f;
    const Floats scale = reinterpret_cast<Floats>((n + 127) << 23);
    return x < -87.0f ? Floats{} : p * scale;
}

__attribute__((always_inline)) inline Floats logF(Floats x) {
    const Ints bits = reinterpret_cast<Ints>(x);
    Ints e = ((bits >> 23) & 0xff) - 126;
    Floats m = reinterpret_cast<Floats>((bits & 0x007fffff) | 0x3f000000);
    const Ints small = m < 0.707106781186547524f;
    e = small ? e - 1 : e;
    m = small ? m + m - 1.0f : m - 1.0f;
    const Floats z = m * m;
    Floats y = splat(7.0376836292e-2f);
    y = y * m - 1.1514610310e-1f;
    y = y * m + 1.1676998740e-1f;
    y = y * m - 1.2420140846e-1f;
    y = y * m + 1.4249322787e-1f;
    y = y * m - 1.6668057665e-1f;
    y = y * m + 2.0000714765e-1f;
    y = y * m - 2.4999993993e-1f;
    y = y * m + 3.3333331174e-1f;
    y = y * m * z;
    const Floats fe = __builtin_convertvector(e, Floats);
    y = y + -2.12194440e-4f * fe;
    y = y - 0.5f * z;
    return m + y + 0.693359375f * fe;
}

// tan of the small angles (below 50 degrees) of the sigma-y formula, by series of sin and cos.
__attribute__((always_inline)) inline Floats tanSmallF(Floats a) {
    const Floats a2 = a * a;
    const Floats s =
        a * (1.0f + a2 * (-1.0f / 6 + a2 * (1.0f / 120 + a2 * (-1.0f / 5040 + a2 / 362880))));
    const Floats c =
        1.0f +
        a2 * (-0.5f + a2 * (1.0f / 24 + a2 * (-1.0f / 720 + a2 * (1.0f / 40320 - a2 / 3628800))));
    return s / c;
}

// A class's sigma-z segments padded to kMaxSegments (upper bound in metres).
struct SegmentsF {
    std::array<float, kMaxSegments> upper, a, b;
};

SegmentsF segmentsOf(Klasse k) {
    const auto& t = sigmaZTable(k);
    SegmentsF s{};
    for (std::size_t i = 0; i < kMaxSegments; ++i) {
        const auto& seg = t.segments[std::min(i, static_cast<std::size_t>(t.count) - 1)];
        const bool last = i + 1 >= static_cast<std::size_t>(t.count);
        s.upper[i] = last ? kFar : static_cast<float>(seg.upperKm * 1000.0);
        s.a[i] = static_cast<float>(seg.a);
        s.b[i] = static_cast<float>(seg.b);
    }
    return s;
}

// Everything of one emission point in one hour that the receptor loop needs.
struct SourceHourF {
    float sn, cs;  // of the wind direction
    float xMin;    // smallest evaluated downwind distance (m), cavity included
    float cY, dY;  // sigma-y coefficients
    float yLinStart, yFarStart, yLin0, yShift;  // sigma-y in the wake
    float zLinStart, zFarStart, zLin0;          // sigma-z in the wake
    const float* zShift;                        // per segment, beyond the near wake
    const SegmentsF* seg;
    float rise2;  // (rise / 3.5)^2
    float he, zi;
    float qFactor;      // Q / (2 pi u_s), 0 when nothing reaches the ground
    float mixedAbove;   // sigma-z above which the mixing layer is well mixed
    float mixedFactor;  // sqrt(2 pi) / zi
    int segments;       // sigma-z segments of the class
    bool wake;          // the building wake applies
    bool wakeY;         // ... to sigma-y too
    bool reflect;       // images in the lid count
};

// Adds one emission point's concentrations at `n` receptors (n a multiple of kWidth) to `acc`.
// Without a building wake (or with one that widens sigma-z only) sigma-y needs no distance of
// its own; without reflections (no lid, or a lid so far above the plume that its images add
// less than 1e-8) only the direct and the ground-reflected plume count. Which variant runs is
// decided per emission point and hour.
template <bool kWake, bool kWakeY, bool kReflect>
__attribute__((always_inline)) inline void addSourceBody(const SourceHourF& p, const float* dxs,
                                                         const float* dys, const float* inRange,
                                                         float* acc, std::size_t n) {
    const SegmentsF& seg = *p.seg;
    const auto segments = static_cast<std::size_t>(p.segments);
    const Floats sn = splat(p.sn), cs = splat(p.cs), xMin = splat(p.xMin);
    const Floats yFarStart = splat(p.yFarStart), yLinStart = splat(p.yLinStart);
    const Floats zFarStart = splat(p.zFarStart), zLinStart = splat(p.zLinStart);
    const Floats he = splat(p.he), zi = splat(p.zi);
    for (std::size_t r = 0; r < n; r += kWidth) {
        const Floats dx = load(dxs + r), dy = load(dys + r);
        const Floats x = -(dx * sn + dy * cs);
        const Floats y = dx * cs - dy * sn;
        const Floats weight = x >= 1.0f ? load(inRange + r) : Floats{};
        if (noLane(weight > 0.0f)) {
            continue;  // all upwind or out of range: they would add exactly 0
        }
        const Floats xe = vmax(x, xMin);

        // sigma-y, in the far wake at a virtual distance.
        const Floats logXe = logF(xe * 0.001f);
        Floats argYKm = xe * 0.001f, logY = logXe;
        if constexpr (kWakeY) {
            argYKm = (xe >= yFarStart ? xe + p.yShift : xe) * 0.001f;
            logY = logF(argYKm);
        }
        const Floats angle = 0.017453293f * (p.cY - p.dY * logY);
        Floats sy = 465.11628f * argYKm * tanSmallF(angle);
        if constexpr (kWakeY) {
            const Ints nearY = (xe >= yLinStart) & (xe < yFarStart);
            sy = nearY ? vmax(p.yLin0 + 0.067f * xe, sy) : sy;
        }

        // sigma-z: the first segment whose upper bound the (virtual) distance does not pass.
        const std::size_t last = segments - 1;
        Floats za = splat(seg.a[last]), zb = splat(seg.b[last]);
        Floats sz;
        if constexpr (kWake) {
            const Ints farZ = xe >= zFarStart;
            Floats zt = farZ ? xe + p.zShift[last] : xe;
            for (std::size_t k = last; k-- > 0;) {
                const Floats t = farZ ? xe + p.zShift[k] : xe;
                const Ints inside = t <= seg.upper[k];
                za = inside ? splat(seg.a[k]) : za;
                zb = inside ? splat(seg.b[k]) : zb;
                zt = inside ? t : zt;
            }
            sz = za * expF(zb * logF(zt * 0.001f));
        } else {
            for (std::size_t k = last; k-- > 0;) {
                const Ints inside = xe <= seg.upper[k];
                za = inside ? splat(seg.a[k]) : za;
                zb = inside ? splat(seg.b[k]) : zb;
            }
            sz = za * expF(zb * logXe);
        }
        sz = vmin(sz, splat(5000.0f));
        if constexpr (kWake) {
            const Ints nearZ = (xe >= zLinStart) & (xe < zFarStart);
            sz = nearZ ? vmax(p.zLin0 + 0.067f * xe, sz) : sz;
        }

        sy = vsqrt(sy * sy + p.rise2);
        sz = vsqrt(sz * sz + p.rise2);
        const Floats rsy = 1.0f / sy, rsz = 1.0f / sz;
        const Floats inv = 0.5f * rsz * rsz;  // 1 / (2 sigma-z^2)

        const Floats a = expF(-he * he * inv);
        Floats perSigmaZ;
        if constexpr (kReflect) {
            // Ground and lid: nine images on each side, built from four exponentials whose
            // products never overflow.
            const Floats q = expF(-4.0f * zi * zi * inv);
            const Floats rr = expF(-4.0f * zi * he * inv);
            const Floats g = expF(-4.0f * zi * (zi - he) * inv);
            const Floats q2 = q * q;
            const Floats up1 = a * rr * q;
            const Floats up2 = up1 * rr * q2 * q;
            const Floats up3 = up2 * rr * q2 * q2 * q;
            const Floats up4 = up3 * rr * q2 * q2 * q2 * q;
            const Floats dn1 = a * g;
            const Floats dn2 = dn1 * g * q2;
            const Floats dn3 = dn2 * g * q2 * q2;
            const Floats dn4 = dn3 * g * q2 * q2 * q2;
            const Floats vertical =
                2.0f * (a + (up1 + dn1) + (up2 + dn2) + (up3 + dn3) + (up4 + dn4));
            perSigmaZ = sz > p.mixedAbove ? splat(p.mixedFactor) : vertical * rsz;
        } else {
            perSigmaZ = 2.0f * a * rsz;
        }
        const Floats crosswind = expF(-0.5f * y * y * rsy * rsy);
        store(acc + r, load(acc + r) + weight * p.qFactor * crosswind * rsy * perSigmaZ);
    }
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ZIVIRARE_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define ZIVIRARE_CLONES
#endif

#define ZIVIRARE_VARIANT(name, wake, wakeY, reflect)                                    \
    ZIVIRARE_CLONES void name(const SourceHourF& p, const float* dxs, const float* dys, \
                              const float* in, float* acc, std::size_t n) {             \
        addSourceBody<wake, wakeY, reflect>(p, dxs, dys, in, acc, n);                   \
    }
ZIVIRARE_VARIANT(addPlain, false, false, false)
ZIVIRARE_VARIANT(addReflected, false, false, true)
ZIVIRARE_VARIANT(addWake, true, false, false)
ZIVIRARE_VARIANT(addWakeReflected, true, false, true)
ZIVIRARE_VARIANT(addLowWake, true, true, false)
ZIVIRARE_VARIANT(addLowWakeReflected, true, true, true)
#undef ZIVIRARE_VARIANT

void addSource(const SourceHourF& p, const float* dxs, const float* dys, const float* in,
               float* acc, std::size_t n) {
    if (p.wakeY) {
        (p.reflect ? addLowWakeReflected : addLowWake)(p, dxs, dys, in, acc, n);
    } else if (p.wake) {
        (p.reflect ? addWakeReflected : addWake)(p, dxs, dys, in, acc, n);
    } else {
        (p.reflect ? addReflected : addPlain)(p, dxs, dys, in, acc, n);
    }
}

// Sets flush-to-zero for the lifetime of the object, so that tiny reflection terms cost nothing.
class FlushDenormals {
public:
    FlushDenormals() {
#if defined(__SSE2__)
        m_saved = _mm_getcsr();
        _mm_setcsr(m_saved | 0x8040u);  // FTZ and DAZ
#endif
    }
    ~FlushDenormals() {
#if defined(__SSE2__)
        _mm_setcsr(m_saved);
#endif
    }
    FlushDenormals(const FlushDenormals&) = delete;
    FlushDenormals& operator=(const FlushDenormals&) = delete;

private:
    unsigned m_saved = 0;
};

struct Prepared {
    std::size_t receptors = 0, padded = 0;
    // Receptors in the order of their bearing from the middle of the emission points, so that
    // a group of kWidth lies mostly on one side and is skipped as a whole when it is upwind.
    std::vector<std::size_t> order;      // position -> index into the locations
    std::vector<float> dx, dy, inRange;  // [source * padded + receptor]
    std::array<SegmentsF, kKlasseCount> segments{};
    std::vector<WakeDistances> wake;  // [source * kKlasseCount + class]
    std::vector<float> zShift;        // [(source * kKlasseCount + class) * kMaxSegments + segment]
    std::vector<float> yShift;        // [source * kKlasseCount + class]
    std::vector<double> sigmaZFar;    // [source * kKlasseCount + class]: largest sigma-z reached
};

Prepared prepare(const KernelProblem& p) {
    const auto& sources = *p.sources;
    const auto& locations = *p.locations;
    Prepared w;
    w.receptors = locations.size();
    w.padded = (w.receptors + kWidth - 1) / kWidth * kWidth;
    w.dx.assign(sources.size() * w.padded, 0.0f);
    w.dy.assign(sources.size() * w.padded, 0.0f);
    w.inRange.assign(sources.size() * w.padded, 0.0f);
    double cx = 0.0, cy = 0.0;
    for (const auto& src : sources) {
        cx += src.x / static_cast<double>(sources.size());
        cy += src.y / static_cast<double>(sources.size());
    }
    std::vector<double> bearing(w.receptors);
    w.order.resize(w.receptors);
    for (std::size_t r = 0; r < w.receptors; ++r) {
        bearing[r] = std::atan2(locations[r].y - cy, locations[r].x - cx);
        w.order[r] = r;
    }
    std::stable_sort(w.order.begin(), w.order.end(),
                     [&](std::size_t a, std::size_t b) { return bearing[a] < bearing[b]; });
    for (std::size_t s = 0; s < sources.size(); ++s) {
        for (std::size_t pos = 0; pos < w.receptors; ++pos) {
            const std::size_t r = pos;
            const Location& l = locations[w.order[pos]];
            const double dx = l.x - sources[s].x, dy = l.y - sources[s].y;
            w.dx[s * w.padded + r] = static_cast<float>(dx);
            w.dy[s * w.padded + r] = static_cast<float>(dy);
            w.inRange[s * w.padded + r] =
                dx * dx + dy * dy <= p.maxDistance * p.maxDistance ? 1.0f : 0.0f;
        }
    }
    for (int k = 0; k < kKlasseCount; ++k) {
        w.segments[static_cast<std::size_t>(k)] = segmentsOf(static_cast<Klasse>(k));
    }
    w.wake.resize(sources.size() * kKlasseCount);
    w.zShift.assign(sources.size() * kKlasseCount * kMaxSegments, 0.0f);
    w.yShift.assign(sources.size() * kKlasseCount, 0.0f);
    w.sigmaZFar.assign(sources.size() * kKlasseCount, 0.0);
    for (std::size_t s = 0; s < sources.size(); ++s) {
        const double hb = sources[s].gebouwHoogte;
        double farthest = p.minDistance;
        for (std::size_t r = 0; r < w.receptors; ++r) {
            const double dx = w.dx[s * w.padded + r], dy = w.dy[s * w.padded + r];
            if (w.inRange[s * w.padded + r] > 0.0f) {
                farthest = std::max(farthest, std::sqrt(dx * dx + dy * dy));
            }
        }
        for (int k = 0; k < kKlasseCount; ++k) {
            const std::size_t i = s * kKlasseCount + static_cast<std::size_t>(k);
            w.wake[i] = wakeDistances(static_cast<Klasse>(k), hb);
            const int count = sigmaZTable(static_cast<Klasse>(k)).count;
            for (std::size_t g = 0; g < kMaxSegments; ++g) {
                const auto from = std::min(g, static_cast<std::size_t>(count) - 1);
                w.zShift[i * kMaxSegments + g] =
                    static_cast<float>(std::max(w.wake[i].xZ[from] - 10.0 * hb, 0.0));
            }
            w.yShift[i] = static_cast<float>(std::max(w.wake[i].xY - 10.0 * hb, 0.0));
            // With or without the wake, the plume is nowhere wider than at the farthest
            // receptor (a margin covers the small steps between sigma-z segments).
            PlumeHour wide;
            wide.klasse = static_cast<Klasse>(k);
            wide.wake = hb > 0.0;
            wide.buildingLength = hb;
            wide.wakeDistances = w.wake[i];
            w.sigmaZFar[i] = 1.05 * std::max(sigmaZ(static_cast<Klasse>(k), farthest),
                                             plumeSigmas(wide, farthest).z);
        }
    }
    return w;
}

SourceHourF sourceHour(const Prepared& w, const KernelProblem& p, std::size_t s,
                       const HourState& st, double sn, double cs) {
    const Source& src = (*p.sources)[s];
    const std::size_t i = s * kKlasseCount + static_cast<std::size_t>(st.klasse);
    const PlumeHour ph = plumeHour(stackOf(src), st.klasse, st.u10, st.temperature, &w.wake[i]);
    const double lb = ph.buildingLength;
    const bool lid = st.klasse <= kD;
    SourceHourF f{};
    f.sn = static_cast<float>(sn);
    f.cs = static_cast<float>(cs);
    f.xMin = static_cast<float>(std::max(p.minDistance, ph.wake ? 3.0 * lb : 0.0));
    const auto coefficients = sigmaYCoefficients(st.klasse);
    f.cY = static_cast<float>(coefficients.c);
    f.dY = static_cast<float>(coefficients.d);
    f.yLinStart = ph.wakeY ? static_cast<float>(3.0 * lb) : kFar;
    f.yFarStart = ph.wakeY ? static_cast<float>(10.0 * lb) : kFar;
    f.yLin0 = static_cast<float>(0.35 * lb - 0.067 * 3.0 * lb);
    f.yShift = w.yShift[i];
    f.zLinStart = ph.wake ? static_cast<float>(3.0 * lb) : kFar;
    f.zFarStart = ph.wake ? static_cast<float>(10.0 * lb) : kFar;
    f.zLin0 = static_cast<float>(0.7 * lb - 0.067 * 3.0 * lb);
    f.zShift = &w.zShift[i * kMaxSegments];
    f.seg = &w.segments[static_cast<std::size_t>(st.klasse)];
    const double r = ph.rise / 3.5;
    f.rise2 = static_cast<float>(r * r);
    f.he = static_cast<float>(ph.effectiveHeight);
    const double zi = lid ? st.mixingHeight : bl::kNoLid;
    f.zi = static_cast<float>(zi);
    const bool reaches = !(lid && ph.effectiveHeight > zi);
    f.qFactor = reaches
                    ? static_cast<float>(src.emissie / (2.0 * std::numbers::pi * ph.windAtStack))
                    : 0.0f;
    f.mixedAbove = lid ? static_cast<float>(1.6 * zi) : kFar;
    f.mixedFactor = static_cast<float>(std::sqrt(2.0 * std::numbers::pi) / zi);
    f.segments = sigmaZTable(st.klasse).count;
    f.wake = ph.wake;
    f.wakeY = ph.wakeY;
    // The first lid image relative to the direct plume is at most exp(-2 zi (zi - He) / sz^2);
    // below 1e-8 (exponent 18.42) the images, and mixing through the layer, change nothing.
    const double szFar2 = w.sigmaZFar[i] * w.sigmaZFar[i] + r * r;
    f.reflect = lid && 2.0 * zi * (zi - ph.effectiveHeight) <= 18.42 * szFar2;
    return f;
}

}  // namespace

std::vector<double> referenceHourlyConcentrations(const KernelProblem& p) {
    const auto& states = *p.states;
    const auto& sources = *p.sources;
    const auto& locations = *p.locations;
    const std::size_t hours = states.size();
    std::vector<double> out(locations.size() * hours, 0.0);
    for (std::size_t h = 0; h < hours; ++h) {
        const HourState& st = states[h];
        for (const auto& src : sources) {
            const PlumeHour ph = plumeHour(stackOf(src), st.klasse, st.u10, st.temperature);
            const double zi = st.klasse <= kD ? st.mixingHeight : bl::kNoLid;
            for (std::size_t r = 0; r < locations.size(); ++r) {
                double x = 0.0, y = 0.0;
                if (downwind(locations[r].x - src.x, locations[r].y - src.y, st.direction,
                             p.maxDistance, p.minDistance, x, y)) {
                    out[r * hours + h] += concentration(ph, zi, x, y, src.emissie);
                }
            }
        }
    }
    return out;
}

std::vector<float> hourlyConcentrations(const KernelProblem& p, int threads) {
    const Prepared w = prepare(p);
    const auto& states = *p.states;
    const std::size_t hours = states.size();
    const std::size_t sources = p.sources->size();
    std::vector<float> out(w.receptors * hours, 0.0f);
    parallelFor(hours, threads, [&](std::size_t begin, std::size_t end) {
        const FlushDenormals flush;
        std::vector<float> acc(w.padded);
        for (std::size_t h = begin; h < end; ++h) {
            const HourState& st = states[h];
            const double theta = st.direction * std::numbers::pi / 180.0;
            const double sn = std::sin(theta), cs = std::cos(theta);
            std::fill(acc.begin(), acc.end(), 0.0f);
            for (std::size_t s = 0; s < sources; ++s) {
                const SourceHourF f = sourceHour(w, p, s, st, sn, cs);
                addSource(f, w.dx.data() + s * w.padded, w.dy.data() + s * w.padded,
                          w.inRange.data() + s * w.padded, acc.data(), w.padded);
            }
            for (std::size_t pos = 0; pos < w.receptors; ++pos) {
                out[w.order[pos] * hours + h] = acc[pos];
            }
        }
    });
    return out;
}

std::vector<double> odourLoads(const KernelProblem& p, int threads) {
    // Locations in blocks, so that the hourly series in memory stay small (a block of 512 over
    // five years is 90 MB) however many locations a company has.
    constexpr std::size_t kBlock = 512;
    const auto& all = *p.locations;
    const std::size_t hours = p.states->size();
    std::vector<double> loads(all.size(), 0.0);
    for (std::size_t first = 0; first < all.size(); first += kBlock) {
        const std::size_t count = std::min(kBlock, all.size() - first);
        const std::vector<Location> block(all.begin() + static_cast<std::ptrdiff_t>(first),
                                          all.begin() + static_cast<std::ptrdiff_t>(first + count));
        KernelProblem part = p;
        part.locations = &block;
        auto conc = hourlyConcentrations(part, threads);
        parallelFor(count, threads, [&](std::size_t begin, std::size_t end) {
            for (std::size_t r = begin; r < end; ++r) {
                loads[first + r] = percentileInPlace(
                    std::span<float>(conc.data() + r * hours, hours), kPercentile);
            }
        });
    }
    return loads;
}

}  // namespace zivirare
