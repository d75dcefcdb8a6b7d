// The project's picture settings as the project options dialog edits them:
// its own copy of the document's picture, print page and info texts, the
// tables of paper sizes and resolutions, the conversions between pixels and
// centimetres, the print preview's geometry, the background picture read and
// fitted to the picture, and OK writing the copy into the document.
#pragma once

#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/word_table.h"
#include "model/records.h"

namespace pelmar {

// The shading of filled figures: the light and the colour blend.
struct FillSettings {
    std::uint8_t LightSource = 1;  // 1 point light, 2 light direction
    std::uint8_t TwoColors = 0;    // 1 two colours, 0 three colours
    double BorderPercent = 30;     // border of colour 2
    std::int32_t BorderAngle = 180;
    double LightX = 0, LightY = 250, LightZ = 500;
    double LightDX = 1, LightDY = 0.354, LightDZ = 0.354;
    bool operator==(const FillSettings&) const = default;
};

FillSettings FillSettingsOf(const DImProj& im);
void StoreFillSettings(DImProj& im, const FillSettings& f);
// Any of the fill settings differs: the border exactly, the coordinates by
// more than NearlyEqual allows.
bool FillSettingsDiffer(const DImProj& im, const FillSettings& f);

// The fill settings dialog's edits, read as they are left: the border of
// colour 2 (a percentage strictly between 0 and 100, else 50), a light
// position coordinate (any number, else 500) and a light direction
// component (any number, else 1; a direction left null gets the edited
// component 1).  Numbers are read with "," or ".".
double BorderOfText(std::string_view text);
double LightPosOfText(std::string_view text);
// component: 0 X, 1 Y, 2 Z.
void StoreLightDirText(FillSettings& f, int component, std::string_view text);

// The top and left print margins of a new project, millimetres.
inline constexpr int NewProjectMargin = 20;

struct PictureSettings {
    int Width = 500, Height = 500;  // pixels
    int Dpi = 300;
    TColor Background = 0xFFFFFF;
    std::uint8_t FontUnit = 1;      // 1 pixels, 2 points
    std::uint8_t PicMode = 0;       // 0 raster, 1 vector
    bool Smooth = true;
    std::string BackPicture;        // the background picture's full path
    bool BackOn = false;
    bool BackLoaded = false;        // read and fitted to the picture
    std::uint8_t BackSizeMode = 0;  // 0 original, 1 to the width, 2 to the height
    int PaperWidth = 210, PaperHeight = 297;  // millimetres
    bool Portrait = true;
    int MarginTop = NewProjectMargin, MarginLeft = NewProjectMargin;  // millimetres
    FillSettings Fill;
    std::string Caption, Author;
    std::array<std::string, 3> Notes;
    bool operator==(const PictureSettings&) const = default;
};

// The settings of a project being created.
PictureSettings NewProjectSettings();
PictureSettings SettingsOf(const DProj& doc);

// What OK changed beyond the stored values.
struct StoredSettings {
    bool backgroundChanged = false;
    bool modeChanged = false;
    bool curvesStale = false;  // curves the document's coordinate systems had computed are stale
};

// OK: the copy into the document.  A project being created (`forNew`) gets
// its animation too: 30 frames 30 ms apart, t starting at 0 and stepping by
// 1, looped.  A vector picture's background becomes white.  The shaded
// picture is marked stale when a fill setting or the picture's size differs.
// A change of the picture's size, resolution or type marks the curves the
// coordinate systems keep in picture pixels not computed, in the document
// and in the working copies `work` (when given), which a commit would
// otherwise bring back.
StoredSettings StorePictureSettings(DProj& doc, const PictureSettings& s, bool forNew = false,
                                    WorkingCopies* work = nullptr);

// Paper sizes the print page offers, millimetres; the item after the last
// one is "other".
struct PaperSize {
    const char* name;
    int width, height;
};
inline constexpr std::array<PaperSize, 10> PaperTable{{{"A4 210 x 297 mm", 210, 297},
                                                       {"10 x 15 cm (4 x 6 in)", 100, 150},
                                                       {"13 x 18 cm (5 x 7 in)", 130, 180},
                                                       {"A6 105 x 148 mm", 105, 148},
                                                       {"A5 148 x 210 mm", 148, 210},
                                                       {"B5 182 x 257 mm", 182, 257},
                                                       {"A3 297 x 420 mm", 297, 420},
                                                       {"A3+ 329 x 483 mm", 329, 483},
                                                       {"B4 257 x 364 mm", 257, 364},
                                                       {"B3 364 x 515 mm", 364, 515}}};
inline constexpr int OtherPaper = static_cast<int>(PaperTable.size());
// The item of exactly this paper, else OtherPaper.
int PaperItemOf(int width, int height);

inline constexpr std::array<int, 8> Resolutions{72, 96, 100, 200, 300, 400, 500, 600};
static_assert(Resolutions.front() == ResolutionMin && Resolutions.back() == ResolutionMax);
// The item of a resolution; nullopt for one the list lacks.
std::optional<int> ResolutionItemOf(int dpi);

inline constexpr int MinPictureSide = 1, MaxPictureSide = 5000;

// A centimetre text to pixels at a resolution, within the picture's side
// limits; nullopt for a text that is no number.  An empty text reads as 1 cm.
std::optional<int> PixelsOfCmText(std::string_view text, int dpi);
// The paper sides a page may have, in millimetres: up to 200 inches, the
// largest page a PDF file holds (14 400 points a side; printing without a
// printer writes one), which Qt's custom page sizes take and which is beyond
// any printer's paper.
inline constexpr int MinPaperSide = 1, MaxPaperSide = 5080;
// A paper side typed in centimetres, in millimetres; nullopt for no number
// and for a size outside MinPaperSide..MaxPaperSide.
std::optional<int> PaperSideOfText(std::string_view text);
// A margin keeps the picture's corner on the page: it is less than the page
// side it runs along (the top margin down the page, the left one across,
// turned with the orientation).  The largest margins, and the least paper
// side (width or height) that keeps both margins on the page.
int MaxTopMargin(const PictureSettings& s);
int MaxLeftMargin(const PictureSettings& s);
int LeastPaperSide(const PictureSettings& s, bool width);
// Brings the margins onto the page where it no longer holds them; whether
// any moved.
bool KeepMarginsOnPage(PictureSettings& s);
// A margin typed in centimetres, in millimetres; nullopt for no number.
std::optional<int> MarginOfText(std::string_view text);
// Millimetres shown as centimetres: 84 -> "8,4".
std::string CmText(int mm);

// The margin that centres a picture side on the page: across (the page's
// width) or down (its height), turned with the orientation; 0 for a picture
// larger than the page, which is never given a negative margin.
int CentredLeftMargin(const PictureSettings& s);
int CentredTopMargin(const PictureSettings& s);

// The print preview: the sheet drawn with its longer side 120 pixels, and
// the picture's rectangle on it (turned with the sheet in landscape).
struct PrintPreviewLayout {
    QRect sheet;
    QRect picture;
};
std::optional<PrintPreviewLayout> PrintPreviewOf(const PictureSettings& s);
// Draws the preview: the white sheet, the picture stretched into its place
// (turned clockwise in landscape), the frames.
void DrawPrintPreview(QImage& target, const PictureSettings& s, const QImage& picture);

// Three note lines from the memo's text, split at every line break the box
// shows (CR LF, CR, LF, U+2028, U+2029): a line that no longer exists leaves
// an empty note.
std::array<std::string, 3> NotesOfMemo(std::string_view text);

// The background picture.
inline constexpr int JpegSideLimit = 3000, BmpSideLimit = 2000;
enum class BackgroundRead { Loaded, Missing, TooLarge, Unreadable };
struct BackgroundResult {
    BackgroundRead read = BackgroundRead::Missing;
    int limit = 0;  // the side limit a picture exceeded
};
// Reads a JPEG or BMP picture, the type told by the file's content (the name's
// ending only for a file of neither kind); `picture` changes only when the
// result is Loaded.
BackgroundResult ReadBackgroundPicture(const std::string& fileName, QImage& picture);
// The message for a picture over its limit.
std::string TooLargeText(int limit, const WordTable* words = nullptr);
// A background picture is kept by its path in the document, whose code page
// cannot hold every path: such a picture cannot be chosen.
bool DocumentCanHoldPath(const std::string& path);
std::string UnholdablePathText(const std::string& path, const WordTable* words = nullptr);
// The message of a background picture missing when its document opens.
std::string MissingBackgroundText(const std::string& path, const WordTable* words = nullptr);
// The picture fitted to the picture size by the size mode: cut (0), scaled to
// the width (1) or to the height (2).
QImage FitBackground(const QImage& back, int width, int height, int mode);
// The background picture of an opened document into `back`, fitted to its
// picture by its size mode; the document's loaded flag says whether it was
// taken (a missing file keeps `back` as it is and counts as taken).
BackgroundResult LoadDocumentBackground(DProj& doc, QImage& back);
// The preview's size: its longer side 100, the picture's proportions.
QSize BackgroundPreviewSize(int width, int height);
// The preview: the background colour, the fitted picture scaled over it.
QImage BackgroundPreview(const QImage& fitted, int width, int height, TColor background);

}  // namespace pelmar
