#include "office/office_export.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>

#include "model/units.h"
#include "platform/canvas.h"
#include "office/odf_writer.h"
#include "files/save_failure.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

constexpr int LayerCount = 10;

bool EndsWithNoCase(const std::string& s, const std::string& end) {
    if (s.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - end.size() + i])) !=
            std::tolower(static_cast<unsigned char>(end[i])))
            return false;
    return true;
}

template <class T>
bool Skipped(const T& r, int layer) {
    return r.Layer.v != layer || r.Disabled.v;
}

// Every object of the snapshot on `layer`, kind by kind, with the kind's
// 0-based number; coordinate systems also get their 1-based index.
template <class F>
void ForEachObject(const DProj& doc, const PainterTable& p, int layer, const PaintTarget& target, F&& status) {
    const DImProj& im = doc.Im;
    const DSubProj& o = doc.Obj;
    auto plain = [&](int kind, const auto& store, const auto& painter) {
        for (std::size_t i = 1; i <= store.count(); ++i) {
            if (Skipped(store[i], layer)) continue;
            status(kind, [&] {
                if (painter) painter(store[i], im, target);
            });
        }
    };
    auto systems = [&](int kind, const auto& store, const auto& painter) {
        for (std::size_t i = 1; i <= store.count(); ++i) {
            if (Skipped(store[i], layer)) continue;
            status(kind, [&] {
                if (painter) painter(store[i], true, static_cast<int>(i), im, 'm', target);
            });
        }
    };
    plain(0, o.Po, p.point);
    plain(1, o.Li, p.line);
    plain(2, o.Ci, p.circle.pass2);
    plain(3, o.Tr, p.triangle.pass2);
    plain(4, o.Kv, p.tetragon.pass2);
    systems(5, o.Xy, p.xoy.pass2);
    plain(6, o.Sf, p.orb.pass2);
    plain(7, o.Zi, p.cylinder.pass2);
    plain(8, o.Ko, p.cone.pass2);
    plain(9, o.I3, p.pyramid3.pass2);
    plain(10, o.I4, p.pyramid4.pass2);
    plain(11, o.R3, p.prism3.pass2);
    plain(12, o.R4, p.prism4.pass2);
    systems(13, o.Xz, p.xyz.pass2);
}

// How many objects a run draws.
int CountObjects(const DProj& doc) {
    int n = 0;
    ForEachStore(doc.Obj, [&](const auto& store) {
        for (std::size_t i = 1; i <= store.count(); ++i)
            if (store[i].Layer.v >= 1 && store[i].Layer.v <= LayerCount && !store[i].Disabled.v) ++n;
    });
    return n;
}

std::string BaseName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The written file opened with the desktop's program for its type.
void Open(const OfficeRun& run) {
    if (!run.desktop) throw AutomationError("no program can open " + run.written);
    const std::string opened = run.desktop->open(run.written);
    if (!opened.empty()) throw AutomationError(opened);
}

// A run mode that opens the file needs a program for its type.  Without one
// the user may have the file written all the same (the mode becomes "do not
// open"); false when not.
bool ProgramFound(const OfficeRun& run, RunMode& mode, const char* mimeType, const char* typeName) {
    if (mode == RunMode::DoNotOpen || (run.desktop && run.desktop->hasProgramFor(mimeType))) return true;
    ExportUi& ui = *run.ui;
    if (!ui.askYesNo(ui.wordLine(NotFoundLine) + typeName + ui.wordLine(InSystemLine))) return false;
    mode = RunMode::DoNotOpen;
    return true;
}

// The temporary copy of "open but do not close": written, then opened.
void OpenCopy(OfficeRun& run, const std::string& fileName, const std::string& ext,
              const std::function<std::string(const std::string&)>& write) {
    std::error_code ec;
    std::filesystem::create_directories(run.tempDir, ec);
    std::string name = BaseName(OdfFileName(fileName, ext));
    if (name.empty() || name == ext) name = "Export" + ext;
    run.written = run.tempDir + name;
    const std::string error = write(run.written);
    if (!error.empty()) throw FileWriteError(run.written, error);
    Open(run);
}

void Prepare(OfficeRun& run) {
    if (!run.proj || !run.snapshot || !run.painters || !run.ui) throw AutomationError("the export is not set up");
    *run.snapshot = *run.proj;
    run.calls.clear();
    run.written.clear();
}

}  // namespace

std::string OdfFileName(const std::string& name, const std::string& ext) {
    for (const char* old : {".cdr", ".doc"})
        if (EndsWithNoCase(name, old)) return name.substr(0, name.size() - 4) + ext;
    if (EndsWithNoCase(name, ext)) return name;
    return name + ext;
}

// ---- the drawing program ------------------------------------------------

void CdrExportSink::CreateEllipse(int top, int left, int bottom, int right, int startAngle, int endAngle, int pie) {
    app_.CreateEllipse(top, left, bottom, right, startAngle, endAngle, pie);
}
void CdrExportSink::SetOutlineWidth(int width) { app_.SetOutlineWidth(width); }
void CdrExportSink::CreateArtisticText(const std::string& text, int x, int y) { app_.CreateArtisticText(text, x, y); }
void CdrExportSink::SetCharacterAttributes(int start, int length, const std::string& font, int style, int size, int a6,
                                           int a7, int a8, int a9, int a10, int a11, int a12, int a13) {
    app_.SetCharacterAttributes(start, length, font, style, size, a6, a7, a8, a9, a10, a11, a12, a13);
}
void CdrExportSink::BeginDrawCurve(int x, int y) { app_.BeginDrawCurve(x, y); }
void CdrExportSink::DrawCurveLineTo(int x, int y) { app_.DrawCurveLineTo(x, y); }
void CdrExportSink::DrawCurveCurveTo(int x1, int y1, int x2, int y2, int x3, int y3) {
    app_.DrawCurveCurveTo(x1, y1, x2, y2, x3, y3);
}
void CdrExportSink::EndDrawCurve() { app_.EndDrawCurve(); }
void CdrExportSink::CloseCurve() { app_.CloseCurve(); }
void CdrExportSink::ApplyOutline(int width, int type, int a3, int a4, int a5, int a6, int dashNo, int endArrow,
                                 int startArrow, int a10) {
    app_.ApplyOutline(width, type, a3, a4, a5, a6, dashNo, endArrow, startArrow, a10);
}
void CdrExportSink::RotateObject(int angle, int a2, int a3, int a4) { app_.RotateObject(angle, a2, a3, a4); }

void CdrExportSink::CdrSetOutlineColor(TColor colour) {
    app_.StoreColor(5, RgbRed(colour), RgbGreen(colour), RgbBlue(colour), 0);
    app_.SetOutlineColor();
}

void CdrExportSink::CdrSetFillColor(TColor colour) {
    app_.StoreColor(5, RgbRed(colour), RgbGreen(colour), RgbBlue(colour), 0);
    app_.ApplyUniformFillColor();
}

void CdrExportSink::CdrRememberShape() {
    if (groupMode_ == 1) CdrShapeIDs.push_back(app_.GetObjectsCDRStaticID());
}

void CdrExportSink::CdrGroupBegin() {
    if (groupMode_ == 1) CdrShapeIDs.clear();
}

void CdrExportSink::CdrGroupEnd() {
    if (groupMode_ != 1 || CdrShapeIDs.empty()) return;
    for (int id : CdrShapeIDs) app_.AppendObjectToSelection(id);
    app_.Group();
    CdrShapeIDs.clear();
}

bool ExportToCorelDraw(int version, const std::string& fileName, RunMode mode, const DImProj& im, OfficeRun& run) {
    Prepare(run);
    ExportUi& ui = *run.ui;
    const std::string v = std::to_string(version);
    if (!ProgramFound(run, mode, OdgMimeType, OdgTypeName)) return false;
    ui.setStatus(ui.wordLine(StartingLine) + OdgTypeName + "...");

    auto app = CreateCdrObject("CorelDraw.Automation." + v);
    struct KeepLog {
        OfficeRun& run;
        CdrApplication& app;
        ~KeepLog() { run.calls = app.calls(); }
    } keep{run, *app};

    app->FileNew();
    if (mode != RunMode::DoNotOpen) app->SetDocVisible(true);
    app->SetPageOrientation(0);
    app->SetPageSize(CdrUnits(im.Dpi, im.Width), CdrUnits(im.Dpi, im.Height));

    CdrExportSink sink(*app, run.CdrGroupMode);
    PaintTarget target;
    target.kind = TargetKind::Cdr;
    target.cdr = &sink;
    target.options = run.options;
    const DProj& doc = *run.snapshot;
    target.doc = &doc;
    const int total = CountObjects(doc);
    int done = 0;
    for (int n = 1; n <= LayerCount; ++n) {
        const std::string layer = "Layer_" + std::to_string(n);
        app->NewLayer(layer);
        app->SelectLayer(layer);
        const std::string prefix = ui.wordLine(LayerLine) + std::to_string(n) + ": ";
        ForEachObject(doc, *run.painters, n, target, [&](int kind, const auto& paint) {
            ui.setStatus(prefix + ui.wordLine(FirstKindLine + kind));
            sink.CdrGroupBegin();
            paint();
            sink.CdrGroupEnd();
            ui.setProgress(++done, total);
        });
    }
    if (mode == RunMode::OpenDoNotClose) {
        OpenCopy(run, fileName, ".odg", [&](const std::string& path) { return WriteOdfDrawing(app->document(), path); });
    } else {
        run.written = OdfFileName(fileName, ".odg");
        app->FileSave(run.written, 0, false, 0, false);
        app->FileExit(false);
        if (mode == RunMode::OpenAndClose) Open(run);
    }
    return true;
}

// ---- the word processor -------------------------------------------------

int WordColorIndex(int colourIndex) {
    static constexpr int Table[16] = {1, 13, 11, 14, 9, 12, 10, 15, 16, 6, 4, 7, 2, 5, 3, 8};
    if (colourIndex < 0 || colourIndex > 15) return 1;
    return Table[colourIndex];
}

double EllipseAngle(double v, double h, double a) {
    if (!std::isfinite(a)) return 0;
    // Beyond the seven half-turns the angle is brought back by whole turns,
    // into [270, 630) or (-630, -270]: fmod is exact, and a far angle (which
    // a step of 360 no longer moves) costs no more than a near one.
    if (a >= 630) {
        a = std::fmod(a, 360.0);
        if (a < 270) a += 360;
    } else if (a <= -630) {
        a = std::fmod(a, 360.0);
        if (a > -270) a -= 360;
    }
    struct Exact {
        double a, result;
    };
    static constexpr Exact Exacts[] = {{-450, -90}, {-270, 90}, {-90, -90}, {90, 90}, {270, 270}, {450, 90}};
    for (const Exact& e : Exacts)
        if (a == e.a) return e.result;
    const double offset = a < -450 ? -540 : a < -270 ? -360 : a < -90 ? -180 : a < 90 ? 0 : a < 270 ? 180 : a < 450 ? 360
                                                                                                                     : 540;
    const double t = std::tan(a * std::numbers::pi / 180) * h;
    const double atanDeg = v == 0 ? (t == 0 ? 0 : std::copysign(90.0, t)) : std::atan(t / v) * 180 / std::numbers::pi;
    return atanDeg + offset;
}

double WordExportSink::pt(double pixels) const { return PixToPtF(dpi_, pixels); }

void WordExportSink::Start() {
    WordLeftMargin = app_.LeftMargin();
    WordTopMargin = app_.TopMargin();
    WordShapeCount = 0;
}

void WordExportSink::nameShape() {
    ++WordShapeCount;
    app_.put("Selection.ShapeRange.Name", "O" + std::to_string(WordShapeCount));
}

void WordExportSink::OfficeTextBox(int width, int height, const std::string& text, double left, double top,
                                   const std::string& upper, const std::string& lower, const std::string& nameFont,
                                   const std::string& indexFont, bool nameItalic, bool nameBold, bool indexItalic,
                                   bool indexBold, double size, std::uint8_t colourIndex, TColor colour) {
    if (size <= 0) size = 1;
    app_.AddTextbox(1, WordLeftMargin + pt(left), WordTopMargin + pt(top), width, height);
    app_.SelectText();
    app_.SelectShape();
    static constexpr std::pair<const char*, double> Box[] = {
        {"Fill.Visible", 0},     {"Fill.Transparency", 0},      {"Line.Weight", 0.75},
        {"Line.DashStyle", 1},   {"Line.Style", 1},             {"Line.Transparency", 0},
        {"Line.Visible", 0},     {"TextFrame.MarginLeft", 0},   {"TextFrame.MarginRight", 0},
        {"TextFrame.MarginTop", 0}, {"TextFrame.MarginBottom", 0}};
    for (const auto& [path, value] : Box) app_.put(std::string("Selection.ShapeRange.") + path, value);
    app_.put("Selection.Font.ColorIndex", WordColorIndex(colourIndex));
    // The label's own colour, which the colour index may not name.
    app_.put("Selection.Font.Color", colour);
    app_.put("Selection.Font.Name", nameFont);
    app_.put("Selection.Font.Size", size);
    app_.put("Selection.Font.Bold", nameBold ? 1 : 0);
    app_.put("Selection.Font.Italic", nameItalic ? 1 : 0);
    app_.TypeText(text);
    app_.put("Selection.Font.Name", indexFont);
    app_.put("Selection.Font.Bold", indexBold ? 1 : 0);
    app_.put("Selection.Font.Italic", indexItalic ? 1 : 0);
    app_.put("Selection.Font.Subscript", 1);
    app_.TypeText(lower);
    app_.put("Selection.Font.Superscript", 1);
    app_.TypeText(upper);
    nameShape();
}

void WordExportSink::OfficeOval(std::uint8_t pointType, TColor colour, double x, double y, double r, double innerR) {
    if (pointType != 2 && pointType != 3) return;
    const double X = pt(x), Y = pt(y), R = pt(r), inner = pt(innerR);
    app_.AddShape(9, WordLeftMargin + X - R, WordTopMargin + Y - R, 2 * R, 2 * R);
    app_.put("Selection.ShapeRange.Fill.Visible", 1);
    app_.FillSolid();
    app_.put("Selection.ShapeRange.Fill.Transparency", 0);
    app_.put("Selection.ShapeRange.Line.Transparency", 0);
    app_.put("Selection.ShapeRange.Line.Visible", 1);
    app_.put("Selection.ShapeRange.Line.ForeColor.RGB", colour);
    app_.put("Selection.ShapeRange.Line.BackColor.RGB", 0xFFFFFF);
    if (pointType == 2) {
        app_.put("Selection.ShapeRange.Fill.ForeColor.RGB", colour);
        app_.put("Selection.ShapeRange.Line.Weight", 0.25);
    } else {
        app_.put("Selection.ShapeRange.Fill.ForeColor.RGB", 0xFFFFFF);
        app_.put("Selection.ShapeRange.Line.Weight", R - inner);
    }
    nameShape();
}

void WordExportSink::OfficeLine(TColor colour, bool dashed, std::uint8_t dashNo, double x1, double y1, double x2,
                                double y2, double width, std::uint8_t arrow1, std::uint8_t arrow2,
                                const ArrowheadSizes& sizes) {
    app_.AddLine(WordLeftMargin + pt(x1), WordTopMargin + pt(y1), WordLeftMargin + pt(x2), WordTopMargin + pt(y2));
    app_.put("Selection.ShapeRange.Line.ForeColor.RGB", colour);
    app_.put("Selection.ShapeRange.Line.Weight", pt(width));
    if (dashed) app_.put("Selection.ShapeRange.Line.DashStyle", dashNo);
    app_.put("Selection.ShapeRange.Line.Transparency", 0);
    app_.put("Selection.ShapeRange.Line.Visible", 1);
    // The arrowheads as large as the picture's, their length and width in
    // points where the picture has them.
    auto arrowhead = [&](const char* end, std::uint8_t style, double length, double across) {
        if (style == 0) return;
        const std::string line = std::string("Selection.ShapeRange.Line.") + end + "Arrowhead";
        app_.put(line + "Style", style);
        if (length <= 0 || across <= 0) return;
        app_.put(line + "Length", pt(length));
        app_.put(line + "Width", pt(across));
    };
    arrowhead("Begin", arrow1, sizes.length1, sizes.width1);
    arrowhead("End", arrow2, sizes.length2, sizes.width2);
    nameShape();
}

void WordExportSink::OfficeArc(TColor colour, bool dashed, std::uint8_t dashNo, double cx, double cy, double l1,
                               double l2, double b2, double b1, double width, double tilt, double angle1,
                               double angle2) {
    const double X = pt(cx), Y = pt(cy), w = pt(width);
    double left = pt(l1), right = pt(l2), upper = pt(b2), lower = pt(b1);
    double t = tilt, a1 = angle1, a2 = angle2;
    auto swap = [&] {
        std::swap(left, upper);
        std::swap(right, lower);
    };
    if (std::isfinite(t)) {
        t = std::remainder(t, 360.0);  // into [-180, 180]
        if (t == -180) t = 180;
    } else {
        t = 0;
    }
    if (t > 135 && t <= 180) {
        swap();
        a1 += 90, a2 += 90, t -= 90;
    } else if (t >= -180 && t < -135) {
        swap();
        a1 += 90, a2 += 90, t += 270;
    } else if (t >= -135 && t < -90) {
        a1 += 180, a2 += 180, t += 180;
    } else if (t > -90 && t < -45) {
        a1 += 180, a2 += 180, t += 180;
    } else if (t >= -45 && t < 0) {
        swap();
        a1 -= 90, a2 -= 90, t += 90;
    } else if (t > 0 && t < 45) {
        swap();
        a1 -= 90, a2 -= 90, t += 90;
    }
    if (t == 135) t = 134.999;

    const double e1 = EllipseAngle(upper, left, a1), e2 = EllipseAngle(upper, left, a2);
    // A whole turn computed through the tangent misses 360 by a rounding
    // error: such an ellipse is still whole.
    constexpr double Eps = 1e-9;
    const bool same = std::abs(e2 - e1) < Eps, turn = std::abs(e2 - e1) >= 360 - Eps;
    const bool whole = same || turn;
    if (whole)
        app_.AddShape(9, WordLeftMargin + X - left, WordTopMargin + Y - upper, left + right, upper + lower);
    else
        app_.AddShape(25, WordLeftMargin + X + (right - left) / 2, WordTopMargin + Y - (lower - upper) / 2 - upper,
                      right, upper);
    app_.put("Selection.ShapeRange.Line.Weight", w);
    app_.put("Selection.ShapeRange.Fill.Visible", 0);
    app_.put("Selection.ShapeRange.Fill.Transparency", 0);
    if (dashed) app_.put("Selection.ShapeRange.Line.DashStyle", dashNo);
    app_.put("Selection.ShapeRange.Line.ForeColor.RGB", colour);
    app_.put("Selection.ShapeRange.Line.BackColor.RGB", 0xFFFFFF);
    if (!whole) {
        app_.put("Selection.ShapeRange.Adjustments.Item(1)", 0);
        app_.put("Selection.ShapeRange.Adjustments.Item(2)", 360);
    }
    if (t != 0) app_.put("Selection.ShapeRange.Rotation", t);
    if (!same && e2 - e1 < 360 - Eps) {
        app_.put("Selection.ShapeRange.Adjustments.Item(1)", -e1);
        app_.put("Selection.ShapeRange.Adjustments.Item(2)", -e2);
    }
    nameShape();
}

void WordExportSink::OfficeFreeform(const DCurve1& poly, TColor colour, bool dashed, std::uint8_t dashNo,
                                    double width) {
    const std::vector<CurvePoint>& p = poly.points();
    const std::size_t n = std::min(p.size(), static_cast<std::size_t>(std::max(poly.Count, 0)));
    if (n < 2) return;
    auto wordPt = [&](double v) { return dpi_ == 0 ? 0.0 : v / dpi_ * 72; };
    app_.BuildFreeform(0, WordLeftMargin + wordPt(p[0].x), WordTopMargin + wordPt(p[0].y));
    for (std::size_t i = 1; i < n; ++i)
        app_.AddNodes(1, 0, WordLeftMargin + wordPt(p[i].x), WordTopMargin + wordPt(p[i].y));
    app_.ConvertToShape();
    app_.put("Selection.ShapeRange.Line.Weight", pt(width));
    app_.put("Selection.ShapeRange.Line.ForeColor.RGB", colour);
    if (dashed) app_.put("Selection.ShapeRange.Line.DashStyle", dashNo);
    nameShape();
}

bool ExportToOffice(const std::string& fileName, RunMode mode, const DImProj& im, OfficeRun& run) {
    Prepare(run);
    ExportUi& ui = *run.ui;
    const std::string OfficeApp = "Word";
    if (!ProgramFound(run, mode, OdtMimeType, OdtTypeName)) return false;
    ui.setStatus(ui.wordLine(StartingLine) + OdtTypeName + "...");

    auto app = CreateWordObject(OfficeApp + ".Application");
    struct KeepLog {
        OfficeRun& run;
        WordApplication& app;
        ~KeepLog() { run.calls = app.calls(); }
    } keep{run, *app};

    if (mode != RunMode::DoNotOpen) app->putVisible(true);
    app->DocumentsAdd();
    WordExportSink sink(*app, im.Dpi);
    sink.Start();

    PaintTarget target;
    target.kind = TargetKind::Wrd;
    target.wrd = &sink;
    target.options = run.options;
    const DProj& doc = *run.snapshot;
    target.doc = &doc;
    const int total = CountObjects(doc);
    int done = 0;
    for (int n = 1; n <= LayerCount; ++n)
        ForEachObject(doc, *run.painters, n, target, [&](int kind, const auto& paint) {
            ui.setStatus(ui.wordLine(FirstKindLine + kind));
            paint();
            ui.setProgress(++done, total);
        });

    if (sink.WordShapeCount >= 2) {
        std::vector<std::string> names;
        for (int i = 1; i <= sink.WordShapeCount; ++i) names.push_back("O" + std::to_string(i));
        app->GroupRange(names);
    }
    if (mode == RunMode::OpenDoNotClose) {
        OpenCopy(run, fileName, ".odt", [&](const std::string& path) { return WriteOdfText(app->document(), path); });
    } else {
        run.written = OdfFileName(fileName, ".odt");
        app->SaveAs(run.written);
        app->Quit();
        if (mode == RunMode::OpenAndClose) Open(run);
    }
    return true;
}

}  // namespace pelmar

namespace pelmar {

bool RunGuarded(bool& Running, const std::function<bool()>& exportRun,
                const std::function<void(const std::string&)>& showError, const WordTable* words) {
    Running = true;
    bool ok = false;
    std::string error;
    try {
        ok = exportRun();
    } catch (const FileWriteError& e) {
        const std::string& cannot = words ? words->WordLine(WordNo::CannotSaveFile) : std::string();
        error = SaveFailedText(cannot.empty() ? BuiltInWord(WordNo::CannotSaveFile) : cannot, e.file(), e.reason(), words);
    } catch (const std::exception& e) {
        error = e.what();
        if (error.empty()) error = "the export failed";
    } catch (...) {
        error = "the export failed";
    }
    Running = false;
    if (!error.empty()) showError(error);
    return ok && error.empty();
}

}  // namespace pelmar
