// The picture export command: saves the current picture as BMP, JPEG, GIF or
// PNG (raster mode) or as EMF or a transparent anti-aliased PNG (metafile
// mode), and in both modes hands the drawing to the shape exports, which
// write an OpenDocument drawing or text.
#pragma once

#include <QImage>
#include <functional>
#include <string>

#include "files/export_host.h"
#include "model/records.h"

namespace pelmar {

class PictureRecording;
struct RedrawHost;
struct DrawingState;

// The save dialog's file types by picture mode.  The 1-based position of a
// type is its filter index, which callers and stored settings may keep: the
// shape exports are 2 and 3 in the metafile mode.
inline constexpr char RasterExportFilter[] =
    "Bitmaps (*.bmp)|*.bmp|JPEG Image File (*.jpg)|*.jpg|Gif File (*.gif)|*.gif|"
    "Portable Network Graphics File (*.png)|*.png";
inline constexpr char MetafileExportFilter[] =
    "Enhanced Windows Metafile (*.emf)|*.emf|OpenDocument drawing (*.odg)|*.odg|OpenDocument text (*.odt)|*.odt|"
    "Portable Network Graphics File (*.png)|*.png";

// The command of File > Export and of the tool button.  `proj` is the open
// document (picture mode, resolution, background colour, fill picture flag);
// the pictures come from the drawing state; `progDir` is the program folder
// with its trailing "/".  The save dialog proposes the document's name in
// `folder` and the type chosen last (ExportState::LastFilter), and keeps the
// folder and type chosen.  A failed save shows a message and leaves no file.
// A metafile is exported only when the current drawing wrote it whole
// (DrawingState::MetaWritten); otherwise a message says so.
void ExportPicture(const DProj& proj, DrawingState& st, ExportState& es, const ExportHost& host, const std::string& progDir,
                   const std::string& docName, const std::string& folder = {});

// Renders the metafile picture four times enlarged and folds every 4 x 4
// block into one pixel whose opacity is the share of its non-white pixels and
// whose colour is their mean; white is transparent.  Odd-width strokes lie on
// the centres of the result's pixels.  `fills` (may be null) is stretched
// under the picture.  The result is width x height, straight (not
// premultiplied) RGBA.  `onPercent` gets the progress after each strip of 8
// large rows (2 result rows) folded.  The enlarged picture is painted in one
// pass, or in bands as tall as memory allows; `bandRows` (a multiple of 8)
// sets a smaller band height, which gives the same pixels.
QImage FoldTransparent(int width, int height, const QImage* fills, const PictureRecording& picture,
                       const std::function<void(int percent)>& onPercent, int bandRows = 0);

// Saves the metafile picture of the last redraw as a transparent PNG with the
// project's resolution, showing the progress window meanwhile.  Returns the
// reason of a failure, empty on success.
std::string SaveTransparentPng(const std::string& fileName, const DProj& proj, const DrawingState& st,
                               const ExportHost& host);

// For the main window's ExportWindows::paintMetaPicture: paints pass 2 of
// the drawing snapshot onto `canvas` in metafile mode; the window's pictures
// are not touched.
void PaintMetaPicture(DrawingState& st, const RedrawHost& host, Canvas& canvas);

}  // namespace pelmar
