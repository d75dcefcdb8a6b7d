#include "drawing/shade_rows.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "drawing/surface_internal.h"
#include "platform/raster_surface.h"

namespace pelmar {

namespace {

// Below this many pixels a box is coloured on the calling thread: starting
// the threads would cost more than they save.
constexpr long kParallelPixels = 20000;
// Rows per thread at least.
constexpr int kRowsPerThread = 16;

}  // namespace

void ShadeRows(RasterSurface& surface, int x0, int y0, int x1, int y1,
               const std::function<void(int y, ShadedRow& out)>& row) {
    if (x1 < x0 || y1 < y0) return;
    const auto width = static_cast<std::size_t>(x1 - x0 + 1);
    const int rows = y1 - y0 + 1;
    auto write = [&](int y, const ShadedRow& r) { surface.setPixels(y, x0, r.colour, r.set); };
    auto clear = [&](ShadedRow& r) {
        r.colour.assign(width, 0);
        r.set.assign(width, 0);
    };
    const int threads = std::min(UsableCores(), rows / kRowsPerThread);
    if (threads < 2 || static_cast<long>(width) * rows < kParallelPixels) {
        ShadedRow r;
        for (int y = y0; y <= y1; ++y) {
            clear(r);
            row(y, r);
            write(y, r);
        }
        return;
    }

    std::vector<ShadedRow> done(static_cast<std::size_t>(rows));
    std::atomic<int> next{0};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto work = [&] {
        try {
            for (int i = next.fetch_add(1); i < rows; i = next.fetch_add(1)) {
                ShadedRow& r = done[static_cast<std::size_t>(i)];
                clear(r);
                row(y0 + i, r);
            }
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure) failure = std::current_exception();
            next = rows;
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(static_cast<std::size_t>(threads - 1));
    for (int t = 1; t < threads; ++t) {
        // Without another thread the rows are shared among those running.
        try {
            pool.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        }
    }
    work();
    for (std::thread& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
    for (int i = 0; i < rows; ++i) write(y0 + i, done[static_cast<std::size_t>(i)]);
}

}  // namespace pelmar
