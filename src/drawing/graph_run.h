// What the painters of the coordinate systems and their graph drawers need
// from the run that draws them, beyond the target: the stop switch, the
// documents that computed curves are stored into, the windows' progress
// display, the word table and the decimal separator.  The redraw and the
// exports each set one up and hang it on their target.
#pragma once

#include <string>

#include "drawing/curve_builder.h"
#include "drawing/formula.h"
#include "model/records.h"

namespace pelmar {

// The windows around a drawing run: besides what the curve tracers use, the
// status text with its progress bar ("pel": the drawing window's status bar,
// "cdr" and "wrd": the export dialog's label and bar).
class GraphRunHost : public GraphHost {
public:
    // Shows the text and the bar at position 0, and repaints them.
    virtual void showProgress(const std::string& targetWord, const std::string& text) = 0;
    // Hides the bar and clears the text.
    virtual void hideProgress(const std::string& targetWord) = 0;
};

struct GraphRun {
    bool* Running = nullptr;          // cleared by the stop button; null counts as running
    const bool* NoRedraw = nullptr;   // set while an object is dragged
    GraphRunHost* Host = nullptr;
    CurveStores Stores;               // where traced curves and outlines are stored
    char DecimalSep = ',';
    DistributionParameters Params;    // the distribution parameters of all formulas of the run

    bool running() const { return !Running || *Running; }
};

}  // namespace pelmar
