// Lines of the word table that the code asks for by name.  The values are
// the line numbers of a translation file; a window that shows many words
// from a block of lines may still count lines.
#pragma once

namespace pelmar {

enum class WordNo : int {
    // Names of the facts the open and save dialogs list of a document.
    PreviewSize = 206,
    PreviewTime = 207,
    PreviewDate = 208,
    PreviewPicture = 209,
    PreviewVersion = 210,
    PreviewAuthor = 211,
    PreviewCaption = 212,
    // The hint of the play button: idle, and while a full redraw runs.
    PlayHint = 265,
    StopHint = 266,
    // The drawing window.
    Seconds = 331,
    ImplicitGraph = 348,
    CartesianGraph = 349,
    GradientBuilt = 352,
    GradientNotBuilt = 353,
    Outline = 519,
    // Messages.
    CannotSaveFile = 625,
    CannotPlotGraph = 634,
};

}  // namespace pelmar
