#include "kernel.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <numbers>
#include <thread>

#include "constants.h"
#include "percentile.h"
#include "plume.h"

#if defined(__SSE2__)
#include <pmmintrin.h>
#include <xmmintrin.h>
#endif

namespace zivirare {

namespace {

constexpr float kFar = 1.0e30f;     // a distance never reached: switches a wake branch off
constexpr std::size_t kLanes = 16;  // receptor arrays are padded to a multiple of this

Stack stackOf(const Source& s) {
    return {s.hoogte, s.gebouwHoogte, s.diameter, s.uittree};
}

// Single-precision exp and log after Cephes, written with selects only so that they vectorise.
// exp returns 0 below -87 (instead of a denormal), log expects a normal positive number.
inline float expF(float x) {
    const float clamped = std::min(std::max(x, -87.0f), 88.0f);
    const float t = clamped * 1.44269504088896341f + 0.5f;
    int32_t n = static_cast<int32_t>(t);
    n -= static_cast<float>(n) > t ? 1 : 0;
    const float fn = static_cast<float>(n);
    float r = clamped - fn * 0.693359375f;
    r = r - fn * -2.12194440e-4f;
    float p = 1.9875691500e-4f;
    p = p * r + 1.3981999507e-3f;
    p = p * r + 8.3334519073e-3f;
    p = p * r + 4.1665795894e-2f;
    p = p * r + 1.6666665459e-1f;
    p = p * r + 5.0000001201e-1f;
    p = p * r * r + r + 1.0f;
    const float scale = std::bit_cast<float>(static_cast<int32_t>((n + 127) << 23));
    return x < -87.0f ? 0.0f : p * scale;
}

inline float logF(float x) {
    const int32_t bits = std::bit_cast<int32_t>(x);
    int32_t e = ((bits >> 23) & 0xff) - 126;
    float m = std::bit_cast<float>(static_cast<int32_t>((bits & 0x007fffff) | 0x3f000000));
    const bool small = m < 0.707106781186547524f;
    e = small ? e - 1 : e;
    m = small ? m + m - 1.0f : m - 1.0f;
    const float z = m * m;
    float y = 7.0376836292e-2f;
    y = y * m - 1.1514610310e-1f;
    y = y * m + 1.1676998740e-1f;
    y = y * m - 1.2420140846e-1f;
    y = y * m + 1.4249322787e-1f;
    y = y * m - 1.6668057665e-1f;
    y = y * m + 2.0000714765e-1f;
    y = y * m - 2.4999993993e-1f;
    y = y * m + 3.3333331174e-1f;
    y = y * m * z;
    const float fe = static_cast<float>(e);
    y = y + -2.12194440e-4f * fe;
    y = y - 0.5f * z;
    return m + y + 0.693359375f * fe;
}

// tan of the small angles (below 50 degrees) of the sigma-y formula, by series of sin and cos.
inline float tanSmallF(float a) {
    const float a2 = a * a;
    const float s =
        a * (1.0f + a2 * (-1.0f / 6 + a2 * (1.0f / 120 + a2 * (-1.0f / 5040 + a2 / 362880))));
    const float c =
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
};

// Adds one emission point's concentrations at `n` receptors (n a multiple of kLanes) to `acc`.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void addSource(const SourceHourF& p, const float* __restrict dxs, const float* __restrict dys,
               const float* __restrict inRange, float* __restrict acc, std::size_t n) {
    const SegmentsF& seg = *p.seg;
    for (std::size_t r = 0; r < n; ++r) {
        const float dx = dxs[r], dy = dys[r];
        const float x = -(dx * p.sn + dy * p.cs);
        const float y = dx * p.cs - dy * p.sn;
        const float weight = x >= 1.0f ? inRange[r] : 0.0f;
        const float xe = std::max(x, p.xMin);

        // sigma-y, in the far wake at a virtual distance.
        const float argY = xe >= p.yFarStart ? xe + p.yShift : xe;
        const float argYKm = argY * 0.001f;
        const float angle = 0.017453293f * (p.cY - p.dY * logF(argYKm));
        float sy = 465.11628f * argYKm * tanSmallF(angle);
        const bool nearY = xe >= p.yLinStart && xe < p.yFarStart;
        sy = nearY ? std::max(p.yLin0 + 0.067f * xe, sy) : sy;

        // sigma-z: the first segment whose upper bound the (virtual) distance does not pass.
        const bool farZ = xe >= p.zFarStart;
        float za = seg.a[kMaxSegments - 1], zb = seg.b[kMaxSegments - 1];
        float zt = farZ ? xe + p.zShift[kMaxSegments - 1] : xe;
#pragma GCC unroll 10
        for (int k = static_cast<int>(kMaxSegments) - 2; k >= 0; --k) {
            const auto i = static_cast<std::size_t>(k);
            const float t = farZ ? xe + p.zShift[i] : xe;
            const bool in = t <= seg.upper[i];
            za = in ? seg.a[i] : za;
            zb = in ? seg.b[i] : zb;
            zt = in ? t : zt;
        }
        float sz = std::min(za * expF(zb * logF(zt * 0.001f)), 5000.0f);
        const bool nearZ = xe >= p.zLinStart && xe < p.zFarStart;
        sz = nearZ ? std::max(p.zLin0 + 0.067f * xe, sz) : sz;

        sy = std::sqrt(sy * sy + p.rise2);
        sz = std::sqrt(sz * sz + p.rise2);

        // Ground and lid reflections: nine images on each side, built from four exponentials
        // whose products never overflow.
        const float inv = 1.0f / (2.0f * sz * sz);
        const float he = p.he, zi = p.zi;
        const float a = expF(-he * he * inv);
        const float q = expF(-4.0f * zi * zi * inv);
        const float rr = expF(-4.0f * zi * he * inv);
        const float g = expF(-4.0f * zi * (zi - he) * inv);
        const float q2 = q * q;
        const float up1 = a * rr * q;
        const float up2 = up1 * rr * q2 * q;
        const float up3 = up2 * rr * q2 * q2 * q;
        const float up4 = up3 * rr * q2 * q2 * q2 * q;
        const float dn1 = a * g;
        const float dn2 = dn1 * g * q2;
        const float dn3 = dn2 * g * q2 * q2;
        const float dn4 = dn3 * g * q2 * q2 * q2;
        const float vertical = 2.0f * (a + (up1 + dn1) + (up2 + dn2) + (up3 + dn3) + (up4 + dn4));
        const float perSigmaZ = sz > p.mixedAbove ? p.mixedFactor : vertical / sz;
        const float crosswind = expF(-y * y / (2.0f * sy * sy));
        acc[r] += weight * p.qFactor * crosswind / sy * perSigmaZ;
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
    std::vector<float> dx, dy, inRange;  // [source * padded + receptor]
    std::array<SegmentsF, kKlasseCount> segments{};
    std::vector<WakeDistances> wake;  // [source * kKlasseCount + class]
    std::vector<float> zShift;        // [(source * kKlasseCount + class) * kMaxSegments + segment]
    std::vector<float> yShift;        // [source * kKlasseCount + class]
};

Prepared prepare(const KernelProblem& p) {
    const auto& sources = *p.sources;
    const auto& locations = *p.locations;
    Prepared w;
    w.receptors = locations.size();
    w.padded = (w.receptors + kLanes - 1) / kLanes * kLanes;
    w.dx.assign(sources.size() * w.padded, 0.0f);
    w.dy.assign(sources.size() * w.padded, 0.0f);
    w.inRange.assign(sources.size() * w.padded, 0.0f);
    for (std::size_t s = 0; s < sources.size(); ++s) {
        for (std::size_t r = 0; r < w.receptors; ++r) {
            const double dx = locations[r].x - sources[s].x, dy = locations[r].y - sources[s].y;
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
    for (std::size_t s = 0; s < sources.size(); ++s) {
        const double hb = sources[s].gebouwHoogte;
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
    return f;
}

// Runs `work(begin, end)` over [0, count) in `threads` contiguous parts.
template <typename Work>
void parallelFor(std::size_t count, int threads, const Work& work) {
    const std::size_t parts =
        std::max<std::size_t>(1, std::min<std::size_t>(static_cast<std::size_t>(threads), count));
    if (parts == 1) {
        work(std::size_t{0}, count);
        return;
    }
    std::vector<std::thread> pool;
    std::vector<std::exception_ptr> errors(parts);
    pool.reserve(parts - 1);
    for (std::size_t t = 1; t < parts; ++t) {
        pool.emplace_back([&, t] {
            try {
                work(count * t / parts, count * (t + 1) / parts);
            } catch (...) {
                errors[t] = std::current_exception();
            }
        });
    }
    try {
        work(std::size_t{0}, count / parts);
    } catch (...) {
        errors[0] = std::current_exception();
    }
    for (auto& thread : pool) {
        thread.join();
    }
    for (const auto& e : errors) {
        if (e) {
            std::rethrow_exception(e);
        }
    }
}

}  // namespace

int threadCount() {
    if (const char* env = std::getenv(kThreadsEnv); env != nullptr) {
        const long n = std::strtol(env, nullptr, 10);
        if (n > 0 && n <= 256) {
            return static_cast<int>(n);
        }
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

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
                addSource(f, &w.dx[s * w.padded], &w.dy[s * w.padded], &w.inRange[s * w.padded],
                          acc.data(), w.padded);
            }
            for (std::size_t r = 0; r < w.receptors; ++r) {
                out[r * hours + h] = acc[r];
            }
        }
    });
    return out;
}

std::vector<double> odourLoads(const KernelProblem& p, int threads) {
    auto conc = hourlyConcentrations(p, threads);
    const std::size_t hours = p.states->size();
    std::vector<double> loads(p.locations->size(), 0.0);
    parallelFor(loads.size(), threads, [&](std::size_t begin, std::size_t end) {
        for (std::size_t r = begin; r < end; ++r) {
            loads[r] =
                percentileInPlace(std::span<float>(conc.data() + r * hours, hours), kPercentile);
        }
    });
    return loads;
}

}  // namespace zivirare
