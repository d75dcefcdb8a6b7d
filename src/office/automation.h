// Our stand-ins for the automation objects of a vector drawing program and of
// a word processor.  They take the calls the exports make, by the names and
// with the arguments those programs know, keep every call in a log, and build
// an OfficeDocument that the OpenDocument writers save.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "office/office_doc.h"

namespace pelmar {

// A failed automation call: the message tells what went wrong.
class AutomationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file the export could not write: the file the user knows and the
// reason its save gave.
class FileWriteError : public AutomationError {
public:
    FileWriteError(const std::string& file, const std::string& reason)
        : AutomationError(file + ": " + reason), file_(file), reason_(reason) {}
    const std::string& file() const { return file_; }
    const std::string& reason() const { return reason_; }

private:
    std::string file_, reason_;
};

// The call log: one line per call, the call's name, then its arguments
// separated by blanks: integers and whole Doubles as they are, other Doubles
// in the shortest "%g" form, texts in double quotes, Booleans as 1 or 0.
class AutomationLog {
public:
    const std::vector<std::string>& calls() const { return calls_; }
    std::string text() const;
    void clearLog() { calls_.clear(); }

    // Builder of one line.
    class Call {
    public:
        Call(AutomationLog& log, const char* name) : log_(log), s_(name) {}
        ~Call() { log_.calls_.push_back(std::move(s_)); }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;
        Call& i(long long v);
        Call& d(double v);
        Call& t(const std::string& v);
        Call& b(bool v) { return i(v ? 1 : 0); }

    private:
        AutomationLog& log_;
        std::string s_;
    };

private:
    std::vector<std::string> calls_;
};

// Dash and arrowhead numbers of the two programs onto the file's styles.
DashStyle CdrDash(int dashNo);
ArrowStyle CdrArrow(int arrowNo);
DashStyle WordDash(int dashNo);
ArrowStyle WordArrow(int arrowNo);
// RGB of the word processor's colour index 1..16 (others give black).
TColor WordIndexColour(int index);

// The drawing program.  Units: 254000 per inch, origin at the page centre,
// y upwards; angles in millionths of a degree, counter-clockwise.
class CdrApplication : public AutomationLog {
public:
    void FileNew();
    void SetDocVisible(bool visible);
    void SetPageOrientation(int orientation);
    void SetPageSize(int width, int height);
    void NewLayer(const std::string& name);
    void SelectLayer(const std::string& name);

    void CreateEllipse(int top, int left, int bottom, int right, int startAngle, int endAngle, int pie);
    void SetOutlineWidth(int width);
    void CreateArtisticText(const std::string& text, int x, int y);
    void SetCharacterAttributes(int start, int length, const std::string& font, int style, int size, int a6, int a7,
                                int a8, int a9, int a10, int a11, int a12, int a13);
    void BeginDrawCurve(int x, int y);
    void DrawCurveLineTo(int x, int y);
    void DrawCurveCurveTo(int x1, int y1, int x2, int y2, int x3, int y3);
    void EndDrawCurve();
    void CloseCurve();
    void ApplyOutline(int width, int type, int a3, int a4, int a5, int a6, int dashNo, int endArrow, int startArrow,
                      int a10);
    void RotateObject(int angle, int a2, int cx, int cy);
    void StoreColor(int model, int red, int green, int blue, int a5);
    void SetOutlineColor();
    void ApplyUniformFillColor();
    int GetObjectsCDRStaticID();
    void AppendObjectToSelection(int id);
    void Group();
    // Writes the drawing as an OpenDocument drawing.
    void FileSave(const std::string& fileName, int a2, bool a3, int a4, bool a5);
    void FileExit(bool save);

    bool visible() const { return visible_; }
    bool exited() const { return exited_; }
    const OfficeDocument& document() const { return doc_; }

private:
    double px(int x) const;
    double py(int y) const;
    OfficeShape& add(OfficeShape::Kind kind);
    OfficeShape& last(const char* call);

    OfficeDocument doc_;
    bool open_ = false, visible_ = false, exited_ = false;
    int layer_ = 0;
    TColor stored_ = 0;
    std::vector<PathNode> curve_;
    bool drawing_ = false;
    std::vector<int> selection_;
};

// The word processor.  Positions and lengths in points from the page's upper
// left corner, y downwards.  Properties are put by their dotted paths on the
// selection; the arrowheads' lengths and widths are put in points.
class WordApplication : public AutomationLog {
public:
    void putVisible(bool visible);
    void DocumentsAdd();
    double LeftMargin();  // ActiveDocument.PageSetup.LeftMargin
    double TopMargin();   // ActiveDocument.PageSetup.TopMargin

    // The shape-making calls select the new shape (their "Select").
    void AddTextbox(int orientation, double left, double top, double width, double height);
    void AddShape(int type, double left, double top, double width, double height);
    void AddLine(double x1, double y1, double x2, double y2);
    void BuildFreeform(int editingType, double x, double y);
    void AddNodes(int segmentType, int editingType, double x, double y);
    void ConvertToShape();
    // Selection.ShapeRange.TextFrame.TextRange.Select, Selection.Collapse,
    // Selection.ShapeRange.Select: the text cursor into the selected box.
    void SelectText();
    void SelectShape();
    void FillSolid();  // Selection.ShapeRange.Fill.Solid
    // Puts a number, Boolean (as 1/0) or text property.
    void put(const std::string& path, double value);
    void put(const std::string& path, const std::string& value);
    void TypeText(const std::string& text);
    void GroupRange(const std::vector<std::string>& names);
    void SaveAs(const std::string& fileName);
    void Quit();

    bool visible() const { return visible_; }
    bool quitted() const { return quit_; }
    const OfficeDocument& document() const { return doc_; }

    // The page margins of a new document, points.
    static constexpr double PageLeftMargin = 85.05, PageTopMargin = 56.7, PageRightMargin = 42.55,
                            PageBottomMargin = 56.7;

private:
    OfficeShape& selected(const std::string& path);
    OfficeShape& add(OfficeShape::Kind kind);

    OfficeDocument doc_;
    bool open_ = false, visible_ = false, quit_ = false;
    int selected_ = 0;
    bool inText_ = false;
    std::vector<PathNode> freeform_;
    bool building_ = false;
    TextRun font_;
    std::map<int, double> boxTops_;  // the text boxes' tops by shape number
    // Arc adjustments of the selected shape, degrees clockwise: a new arc is
    // its box's quarter.
    double adjust1_ = -90, adjust2_ = 0;
};

// Creates the automation object of a class name: "CorelDraw.Automation.<n>"
// or "Word.Application".  An unknown class raises AutomationError.
std::unique_ptr<CdrApplication> CreateCdrObject(const std::string& className);
std::unique_ptr<WordApplication> CreateWordObject(const std::string& className);

}  // namespace pelmar
