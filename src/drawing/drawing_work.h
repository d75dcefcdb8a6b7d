// What the drawing's long walks did, counted per thread: the samples of a
// function's graph, the samples along viewing rays and the copies of a dash
// range an arc was split against.  The tests and benchmarks read it to see
// that this work is bounded by the picture, whatever the scale, angle or move.
#pragma once

#include <cstdint>

namespace pelmar {

struct DrawingWork {
    std::int64_t columns = 0;    // samples of a function's graph
    std::int64_t raySteps = 0;   // samples along viewing rays
    std::int64_t arcCopies = 0;  // copies of a dash range tried against an arc
};

// This thread's counts; a test sets it to {} before it draws.
DrawingWork& WorkDone();

}  // namespace pelmar
