#include "drawing/drawing_work.h"

namespace pelmar {

DrawingWork& WorkDone() {
    thread_local DrawingWork work;
    return work;
}

}  // namespace pelmar
