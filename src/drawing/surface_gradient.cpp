// The shaded fill of a surface: every pixel of the covered part of each
// picture line gets the colour the ray test shades its hit point with.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <sched.h>
#include <mutex>
#include <thread>
#include <vector>

#include "drawing/surface_internal.h"
#include "platform/raster_surface.h"

namespace pelmar {

namespace {

int LinePosition(int first, int last, int current) {
    if (last == first) return 100;
    return static_cast<int>(Round((1.0 - static_cast<double>(last - current) / (last - first)) * 100));
}

// Round into the integer range (NaN gives 0).
long long RoundLL(double v) {
    if (!(v == v)) return 0;
    v = std::clamp(v, -4.0e18, 4.0e18);
    return static_cast<long long>(Round(v));
}

// The pieces of a line strictly between the limits u and v (either order),
// cut to lo..hi.
void OpenBetween(long long u, long long v, int lo, int hi, int& from, int& to) {
    if (u > v) std::swap(u, v);
    from = static_cast<int>(std::max<long long>(u + 1, lo));
    to = static_cast<int>(std::min<long long>(v - 1, hi));
}

}  // namespace

void SurfaceBoxPixels(const std::array<Vec3, 8>& corners, int s, int cx, int cy, PixelRange& columns,
                      PixelRange& rows) {
    const double r8 = static_cast<double>(Sqrt8());
    long long cMin = 5000, cMax = -5000, rMin = 5000, rMax = -5000;
    for (const Vec3& p : corners) {
        const long long col = RoundLL(cx + s * (p.y - p.x / r8));
        const long long row = RoundLL(cy - s * (p.z - p.x / r8));
        cMin = std::min(cMin, col), cMax = std::max(cMax, col);
        rMin = std::min(rMin, row), rMax = std::max(rMax, row);
    }
    auto fit = [](long long v) { return static_cast<int>(std::clamp<long long>(v, -(1LL << 30), 1LL << 30)); };
    columns = {fit(cMin - 1), fit(cMax + 1)};
    rows = {fit(rMin - 1), fit(rMax + 1)};
}

namespace {

// The scan of one gradient: which lines it covers and how one line is
// coloured.  Every line is independent of the others.
class GradientScan {
public:
    GradientScan(const std::array<Vec3, 8>& corners, const GradientScanArgs& g, int w, int h) : g_(g), w_(w), h_(h) {
        if (g.S < 1) return;
        PixelRange cols, rows;
        SurfaceBoxPixels(corners, g.S, g.CX, g.CY, cols, rows);
        if (cols.First >= cols.Last || rows.First >= rows.Last) return;
        // Only the part of the box on the picture is scanned: lines off the
        // picture colour nothing, and the ends of a line are taken at most one
        // pixel outside it.
        c_ = {std::max(cols.First, -1), std::min(cols.Last, w)};
        r_ = {std::max(rows.First, -1), std::min(rows.Last, h)};
        if (c_.First >= c_.Last || r_.First >= r_.Last) return;
        lines_ = columns() ? PixelRange{std::max(c_.First, 0), std::min(c_.Last, w - 1)}
                           : PixelRange{std::max(r_.First, 0), std::min(r_.Last, h - 1)};
        empty_ = false;
    }

    bool empty() const { return empty_; }
    bool columns() const { return g_.ScanDir == 0; }
    const PixelRange& lines() const { return lines_; }

    // The colours of line L: pixel positions from..from + size - 1 along the
    // line, with a flag for the pixels the colour test coloured.
    struct Line {
        int from = 0;
        std::vector<TColor> colour;
        std::vector<std::uint8_t> set;
    };

    Line line(int L, const SurfaceHitTest& hit, const SurfaceColourTest& colour) const {
        const double s = g_.S, cx = g_.CX, cy = g_.CY;
        double lo = 0, hi = 0;
        int from = 0, to = -1;
        Line out;
        if (columns()) {
            const double cc = (L - cx) / s;
            const std::uint8_t code =
                FindCoveredSpan(0, lo, hi, cc, (cy - r_.Last) / s, (cy - r_.First) / s, s, hit);
            const long long loRow = RoundLL(cy - lo * s), hiRow = RoundLL(cy - hi * s);
            switch (code) {
                case 1: OpenBetween(r_.First, r_.Last, 0, h_ - 1, from, to); break;
                case 2: OpenBetween(r_.First, loRow, 0, h_ - 1, from, to); break;
                case 3: OpenBetween(loRow, r_.Last, 0, h_ - 1, from, to); break;
                case 4: OpenBetween(loRow, hiRow, 0, h_ - 1, from, to); break;
                default: break;
            }
            Reserve(out, from, to);
            for (int Y = from; Y <= to; ++Y) Put(out, Y - from, [&](TColor& col) { return colour(cc, (cy - Y) / s, col); });
        } else {
            const double cc = (cy - L) / s;
            const std::uint8_t code =
                FindCoveredSpan(1, lo, hi, cc, (c_.First - cx) / s, (c_.Last - cx) / s, s, hit);
            const long long loCol = RoundLL(cx + lo * s), hiCol = RoundLL(cx + hi * s);
            switch (code) {
                case 1: OpenBetween(c_.First, c_.Last, 0, w_ - 1, from, to); break;
                case 3: OpenBetween(c_.First, loCol, 0, w_ - 1, from, to); break;
                case 2: OpenBetween(loCol, c_.Last, 0, w_ - 1, from, to); break;
                case 4: OpenBetween(loCol, hiCol, 0, w_ - 1, from, to); break;
                default: break;
            }
            Reserve(out, from, to);
            for (int X = from; X <= to; ++X) Put(out, X - from, [&](TColor& col) { return colour((X - cx) / s, cc, col); });
        }
        return out;
    }

    // Writes a computed line; the number of pixels written.
    long write(int L, const Line& line, RasterSurface& raster) const {
        if (!columns()) {
            raster.setPixels(L, line.from, line.colour, line.set);
            return static_cast<long>(std::count(line.set.begin(), line.set.end(), std::uint8_t{1}));
        }
        long written = 0;
        for (std::size_t i = 0; i < line.set.size(); ++i) {
            if (!line.set[i]) continue;
            raster.setPixel(L, line.from + static_cast<int>(i), line.colour[i]);
            ++written;
        }
        return written;
    }

private:
    static void Reserve(Line& out, int from, int to) {
        out.from = from;
        const auto n = static_cast<std::size_t>(std::max(to - from + 1, 0));
        out.colour.assign(n, 0);
        out.set.assign(n, 0);
    }
    template <class Test>
    static void Put(Line& out, int i, Test&& test) {
        TColor col = 0;
        if (test(col)) {
            out.colour[static_cast<std::size_t>(i)] = col;
            out.set[static_cast<std::size_t>(i)] = 1;
        }
    }

    GradientScanArgs g_;
    int w_, h_;
    PixelRange c_, r_, lines_;
    bool empty_ = true;
};

// After every written line, as a serial scan does: the event pump, the
// progress when it grew, and the stop.  False when the scan is to stop.
class LineProgress {
public:
    LineProgress(const PixelRange& lines, const SurfaceScanControl& ctl) : lines_(lines), ctl_(ctl) {}
    bool done(int L) {
        if (ctl_.lineDone) ctl_.lineDone();
        const int pos = LinePosition(lines_.First, lines_.Last, L);
        if (pos > shown_) {
            shown_ = pos;
            if (ctl_.progress) ctl_.progress(pos);
        }
        return !(ctl_.running && !ctl_.running());
    }

private:
    PixelRange lines_;
    const SurfaceScanControl& ctl_;
    int shown_ = -1;
};

int WorkerCount(int asked, int lines) {
    const int n = asked > 0 ? asked : UsableCores();
    return std::clamp(n, 1, std::max(lines, 1));
}

}  // namespace

int UsableCores() {
    // The cores the process may use (taskset, container limits), else all.
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

long PaintSurfaceGradient(const std::array<Vec3, 8>& corners, const GradientScanArgs& g, const SurfaceHitTest& hit,
                          const SurfaceColourTest& colour, RasterSurface& raster, const SurfaceScanControl& ctl) {
    // The tests may keep state of their own: one thread runs them all.
    GradientScanArgs serial = g;
    serial.Threads = 1;
    return PaintSurfaceGradient(
        corners, serial, [&](int) { return SurfaceTests{hit, colour}; }, raster, ctl);
}

long PaintSurfaceGradient(const std::array<Vec3, 8>& corners, const GradientScanArgs& g, const SurfaceTestMaker& make,
                          RasterSurface& raster, const SurfaceScanControl& ctl, int* lastWorker) {
    if (lastWorker) *lastWorker = -1;
    const GradientScan scan(corners, g, raster.width(), raster.height());
    if (scan.empty()) return 0;
    const PixelRange lines = scan.lines();
    const int count = lines.Last - lines.First + 1;
    const int workers = WorkerCount(g.Threads, count);
    LineProgress progress(lines, ctl);
    long written = 0;

    if (workers == 1) {
        const SurfaceTests t = make(0);
        for (int L = lines.First; L <= lines.Last; ++L) {
            written += scan.write(L, scan.line(L, t.hit, t.colour), raster);
            if (lastWorker) *lastWorker = 0;
            if (!progress.done(L)) break;
        }
        return written;
    }

    // The workers take the lines in order and colour them with tests of
    // their own; this thread writes them in order and runs the progress and
    // the stop between lines, exactly as the serial scan does.  Lines
    // coloured beyond a stop are dropped.
    struct Slot {
        GradientScan::Line line;
        int worker = -1;
        bool ready = false;
    };
    std::vector<Slot> computed(static_cast<std::size_t>(count));
    std::vector<SurfaceTests> tests;
    tests.reserve(static_cast<std::size_t>(workers));
    for (int w = 0; w < workers; ++w) tests.push_back(make(w));
    std::mutex mutex;
    std::condition_variable readyChanged;
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::exception_ptr failure;

    auto work = [&](int w) {
        try {
            for (;;) {
                const int i = next.fetch_add(1);
                if (i >= count || stop.load()) break;
                GradientScan::Line line = scan.line(lines.First + i, tests[static_cast<std::size_t>(w)].hit,
                                                    tests[static_cast<std::size_t>(w)].colour);
                const std::lock_guard lock(mutex);
                Slot& slot = computed[static_cast<std::size_t>(i)];
                slot.line = std::move(line);
                slot.worker = w;
                slot.ready = true;
                readyChanged.notify_all();
            }
        } catch (...) {
            const std::lock_guard lock(mutex);
            if (!failure) failure = std::current_exception();
            stop = true;
            readyChanged.notify_all();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(workers));
    for (int w = 0; w < workers; ++w) threads.emplace_back(work, w);

    for (int i = 0; i < count; ++i) {
        Slot slot;
        {
            std::unique_lock lock(mutex);
            readyChanged.wait(lock, [&] { return computed[static_cast<std::size_t>(i)].ready || failure; });
            if (failure) break;
            slot = std::move(computed[static_cast<std::size_t>(i)]);
        }
        const int L = lines.First + i;
        written += scan.write(L, slot.line, raster);
        if (lastWorker) *lastWorker = slot.worker;
        if (!progress.done(L)) break;
    }
    stop = true;
    for (std::thread& t : threads) t.join();
    if (failure) std::rethrow_exception(failure);
    return written;
}

}  // namespace pelmar
