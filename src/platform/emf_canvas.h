// The canvas of the vector picture: an enhanced metafile written with
// libUEMF.  Every call is recorded twice, as EMF+ records (kept in EMF
// comments, read by EMF+ readers) followed by plain EMF records for readers
// that know only EMF.  The plain records need no world transform: rotated
// shapes and dashed lines are written as the polylines and polygons they
// draw, so that every reader shows the same dashes and round caps.
//
// The file is written to a temporary name next to the target and renamed
// over it only when everything was written, so a failed run never destroys
// an older picture.  Text is measured with Qt's fonts (needs a
// QGuiApplication).
#pragma once

#include <memory>
#include <string>

#include "platform/canvas.h"

namespace pelmar {

class EmfCanvas final : public Canvas {
public:
    // A picture of width x height pixels at `dpi` dots per inch, to be
    // written to `path` (UTF-8).
    EmfCanvas(const std::string& path, int width, int height, double dpi, bool antialias = true);
    ~EmfCanvas() override;  // without a successful finish() nothing is left on disk
    EmfCanvas(const EmfCanvas&) = delete;
    EmfCanvas& operator=(const EmfCanvas&) = delete;

    // Ends the picture and moves it into place; false (with error()) when
    // anything failed.  Later calls draw nothing.
    bool finish();
    bool ok() const;
    const std::string& error() const;

    PELMAR_CANVAS_OVERRIDES;
    RectF measureInk(const Font& font, const std::string& text) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace pelmar
