// The building blocks of the surfaces of a 3D coordinate system: the box the
// switched-on sections span, the section curves to draw, the search along a
// picture line for the part a surface covers, the outline scan and the shaded
// fill.  They know nothing of the running graph call: the surface ray test
// reaches them as a function of the picture point (0, y, z), and progress,
// stop and output go through the arguments.  surfaces.cpp ties them to the
// graph drawing.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "drawing/graph_transform.h"
#include "drawing/sub_curve.h"
#include "model/geometry.h"
#include "model/records.h"

namespace pelmar {

class RasterSurface;

// The sections of one surface, 0-based here: 0..10 the planes x = const,
// 11..21 y = const, 22..32 z = const (the dispatcher's section set).
inline constexpr int SurfaceSectionCount = 33;
using SurfaceSections = SectionSet;

// The box spanned by the switched-on sections; all 0 with none on.
struct SurfaceBox {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0, zmin = 0, zmax = 0;
};

SurfaceBox MakeSurfaceBox(const SurfaceSections& sections);
// The eight corners in the order the ray test takes its faces from:
// (xmax, ymin, zmin), (xmax, ymax, zmin), (xmin, ymax, zmin), (xmin, ymin, zmin),
// then the same with zmax; rotated, then moved, by the graph's transform.
std::array<Vec3, 8> SurfaceBoxCorners(const SurfaceBox& box, const GraphTransform& t);

// The surface kinds.
inline constexpr const char* SurfaceKindCartesian = "dec3d";  // z = f(x, y)
inline constexpr const char* SurfaceKindImplicit = "Fxy3d";   // F(x, y, z) = 0
bool IsSurfaceKind(const std::string& kind);

// The formula of one section (group 1..3, constant c) as a curve in x and y:
// the fixed letter replaced by "(" c ")", the others renamed.  c is written
// with up to 15 significant digits and the given decimal separator.
std::string SectionFormula(const std::string& kind, int group, const std::string& formula, double c,
                           char decimalSep);
// F(x, y, z) of the surface as the ray test takes it: formula 1, with "-z"
// for "dec3d", rewritten for a moved or rotated surface.
std::string SurfaceRayFormula(const std::string& kind, const std::string& formula, const GraphTransform& t);

// One section curve to draw.
struct SurfaceSection {
    int Group = 0;          // 1 x = c, 2 y = c, 3 z = c (also the plane of the drawer)
    int K = 0;              // 1..11 within the group
    bool Traced = false;    // true: the implicit-curve tracer, false: the Cartesian graph drawer
    std::string F;          // the section's formula in x (and y)
    std::string G;          // the surface that may hide it
    double Position = 0;    // the section value
    double Left = 0, Right = 0, Bottom = 0, Top = 0;  // the window around the origin, pixels
    double OriginX = 0, OriginY = 0;                  // the section plane's origin on the picture
    int Slot = 0;           // the stored-curve slot N (11..65) of a traced section, else 0
};

// The section's window cut to what can reach the picture of width x height
// pixels with a band of the picture's own size around it (where a cached
// curve may be moved into view): the drawers walk every pixel of the window,
// so beyond the picture its bounds cost nothing.  A window already within it
// stays as it is; a picture of no size cuts nothing.
void ClipSectionWindow(SurfaceSection& section, int width, int height);

// The switched-on sections of a surface in drawing order (group 1, 2, 3;
// k = 1..11).  s: pixels per unit; (cx, cy): the origin on the picture;
// surfaceNo: 1 or 2 for "dec3d".  The windows are cut to the picture of
// pictureWidth x pictureHeight pixels (ClipSectionWindow; 0: not cut).
std::vector<SurfaceSection> PlanSurfaceSections(const std::string& kind, const std::string& formula,
                                                int surfaceNo, const SurfaceSections& sections, double s,
                                                double cx, double cy, char decimalSep, int pictureWidth = 0,
                                                int pictureHeight = 0);
// How many of them the tracer draws (the progress total).
int TracedSectionCount(const std::vector<SurfaceSection>& plan);

// The ray test of the surface for the picture point (0, y, z): hit or miss.
using SurfaceHitTest = std::function<bool(double y, double z)>;
// The same in colouring mode: true and the shaded colour on a hit.
using SurfaceColourTest = std::function<bool(double y, double z, TColor& colour)>;

// Where the answer of the ray test changes between a and b on the picture
// line (direction 0: the vertical line y = c, moving z; 1: the horizontal
// line z = c, moving y), to 0.001 units.
double BisectSurfaceEdge(std::uint8_t direction, double c, double a, double b, const SurfaceHitTest& hit);

// Stop and progress of a long scan.  After every scanned line: lineDone()
// runs (the event pump), progress(position) follows when the position 0..100
// grew, and the scan ends when running() answers false.  Within a line,
// every few pixels of a march, pump() runs (the event pump too) and the
// march ends when running() answers false.  Empty members are skipped.
struct SurfaceScanControl {
    std::function<bool()> running;
    std::function<void()> lineDone;
    std::function<void(int)> progress;
    std::function<void()> pump;
};

// The part of the line from a to b that the surface covers: code 1 all of
// it, 2 an upper part (from lo on), 3 a lower part (up to lo), 4 an inner part
// [lo, hi], 0 none (also when ctl's stop ends the march).  s: pixels per unit
// (the march step is one pixel).
std::uint8_t FindCoveredSpan(std::uint8_t direction, double& lo, double& hi, double c, double a, double b,
                             double s, const SurfaceHitTest& hit, const SurfaceScanControl* ctl = nullptr);

// The outline settings and the picture the scan works in.
struct OutlineScanArgs {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;  // window, y counted up from the bottom edge
    std::uint8_t ScanDir = 0;             // 0 columns, 1 rows
    int Step2 = 3;                        // pixels between scanned lines
    bool GradientOn = false;              // rows: every row is scanned
    int S = 1;                            // pixels per unit (integer)
    int CX = 0, CY = 0;                   // origin on the picture
    int Width = 0, Height = 0;            // the picture
};

// The open polylines A and B of the outline and the finished ones, in
// picture pixels (the third field of a point is not used).
struct OutlinePolylines {
    std::vector<CurvePoint> A, B;
    std::vector<std::vector<CurvePoint>> Lines;
    void add(int which, double x, double y);
    void closeA();
    void closeB();
};

// Scans the window line by line and joins the covered parts' boundaries into
// polylines.  False when nothing was scanned (empty window, no scale) or the
// scan was stopped; out then holds no complete outline.
bool ScanSurfaceOutline(const OutlineScanArgs& args, const SurfaceHitTest& hit, const SurfaceScanControl& ctl,
                        OutlinePolylines& out);

// The projected box of the corners on the picture, one pixel wider on every
// side; the extremes are searched from 5000 and -5000.
struct PixelRange {
    int First = 0, Last = 0;
};
void SurfaceBoxPixels(const std::array<Vec3, 8>& corners, int s, int cx, int cy, PixelRange& columns,
                      PixelRange& rows);

struct GradientScanArgs {
    std::uint8_t ScanDir = 0;  // 0 columns, 1 rows
    int S = 1;
    int CX = 0, CY = 0;
    int Threads = 0;           // lines coloured at once; 0: one per core
};

// Colours the covered pixels of the surface's projected box, one line at a
// time, into the raster.  Returns the number of pixels written; the scan ends
// early when ctl.running answers false.  The tests run on the calling thread.
long PaintSurfaceGradient(const std::array<Vec3, 8>& corners, const GradientScanArgs& args,
                          const SurfaceHitTest& hit, const SurfaceColourTest& colour, RasterSurface& raster,
                          const SurfaceScanControl& ctl);

// The cores this process may run on (at least 1).
int UsableCores();

// The tests one worker of a parallel scan uses; make(w) gives worker w
// (0 .. threads - 1) a pair that shares nothing another worker changes.
struct SurfaceTests {
    SurfaceHitTest hit;
    SurfaceColourTest colour;
};
using SurfaceTestMaker = std::function<SurfaceTests(int worker)>;

// The same with the lines coloured by args.Threads workers at once.  The
// picture, the progress, the event pump and the stop are those of the serial
// scan: lines are written, and ctl called, on the calling thread in line
// order.  lastWorker receives the worker that coloured the last line written
// (-1 when none was).
long PaintSurfaceGradient(const std::array<Vec3, 8>& corners, const GradientScanArgs& args,
                          const SurfaceTestMaker& make, RasterSurface& raster, const SurfaceScanControl& ctl,
                          int* lastWorker = nullptr);

}  // namespace pelmar
