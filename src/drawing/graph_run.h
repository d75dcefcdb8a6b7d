// What the painters of the coordinate systems and their graph drawers need
// from the run that draws them, beyond the target: the stop switch, the
// documents that computed curves are stored into, the windows' progress
// display, the word table and the decimal separator.  The redraw and the
// exports each set one up and hang it on their target.
#pragma once

#include <exception>
#include <string>

#include "drawing/curve_builder.h"
#include "drawing/formula.h"
#include "model/records.h"

namespace pelmar {

// The graph host of a run from the windows' roles: the texts, the progress
// of the own picture ("pel") and that of an export ("cdr", "wrd"); a null
// progress shows nothing for its targets.
class WindowsGraphHost final : public GraphHost {
public:
    WindowsGraphHost(TextRole& texts, ProgressRole* picture, ProgressRole* exports)
        : texts_(texts), picture_(picture), exports_(exports) {}
    TextRole& texts() override { return texts_; }
    ProgressRole* progressFor(TargetKind target) override {
        if (target == TargetKind::Pel) return picture_;
        if (target == TargetKind::Cdr || target == TargetKind::Wrd) return exports_;
        return nullptr;
    }

private:
    TextRole& texts_;
    ProgressRole* picture_;
    ProgressRole* exports_;
};

struct GraphRun {
    bool* Running = nullptr;          // cleared by the stop button; null counts as running
    const bool* NoRedraw = nullptr;   // set while an object is dragged
    GraphHost* Host = nullptr;
    CurveStores Stores;               // where traced curves and outlines are stored
    char DecimalSep = ',';
    DistributionParameters Params;    // the distribution parameters of all formulas of the run
    bool* Told = nullptr;             // set once a part the run could not draw is told; null: tell each

    bool running() const { return !Running || *Running; }
};

// Draws one part of the picture.  A part that cannot be drawn (an exception
// from its drawing, such as memory running out) is told, once a run with
// Told, as a graph that cannot be built is, and the drawing goes on with the
// next.
template <class Draw>
void DrawPart(const PaintTarget& target, Draw&& draw) {
    try {
        draw();
    } catch (const std::exception&) {
        GraphRun* run = target.run;
        if (GraphHost* host = run ? run->Host : nullptr) {
            if (ProgressRole* shown = host->progressFor(target.kind)) shown->hideProgress();
            TellCannotPlot(host, run->Told);
        }
    }
}

}  // namespace pelmar
