// The two shape exports: the drawing-program export writes an OpenDocument
// drawing, the word-processor export an OpenDocument text.  Both copy the
// edited document into the drawing snapshot and let every object's painter
// draw it through the automation objects of automation.h.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawing/paint_target.h"
#include "drawing/redraw.h"
#include "model/records.h"
#include "office/automation.h"

namespace pelmar {

class WordTable;

// The desktop's programs for a file type.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // True when a program for the type (a MIME type) is installed.
    virtual bool hasProgramFor(const std::string& mimeType) = 0;
    // Opens the file with the type's default program; the reason of a
    // failure, empty on success.
    virtual std::string open(const std::string& path) = 0;
};

// What an export run needs of its option dialog.
class ExportUi {
public:
    virtual ~ExportUi() = default;
    virtual std::string wordLine(int line) = 0;
    // The error question with the buttons Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
    // Shows the status label with the text and repaints it.
    virtual void setStatus(const std::string& text) = 0;
    // Objects drawn so far of all the run draws.
    virtual void setProgress(int done, int total) {
        (void)done;
        (void)total;
    }
};

// Run modes of the option dialogs: the file written; the file written and
// opened with the desktop's program for its type; a copy opened, the file
// not written.
enum class RunMode : std::uint8_t { DoNotOpen = 0, OpenAndClose = 1, OpenDoNotClose = 2 };

// The file types the exports write, as the user reads them.
inline constexpr char OdgTypeName[] = "OpenDocument Drawing (.odg)";
inline constexpr char OdtTypeName[] = "OpenDocument Text (.odt)";

struct OfficeRun {
    const DProj* proj = nullptr;  // the edited document
    DProj* snapshot = nullptr;    // the drawing snapshot the objects are read from
    const PainterTable* painters = nullptr;
    ExportOptions options;
    std::uint8_t CdrGroupMode = 1;  // 1: one group per object
    std::string tempDir;            // where "open but do not close" puts its copy, ending in "/"
    ExportUi* ui = nullptr;
    DesktopOpener* desktop = nullptr;

    // After a run: the calls made on the automation object, and the file
    // written (the chosen name, or the temporary copy).
    std::vector<std::string> calls;
    std::string written;
};

// Word-table lines of the exports.
inline constexpr int NotFoundLine = 234;    // "Не найдена программа для файлов "
inline constexpr int InSystemLine = 235;    // ".\n\rСохранить файл, не открывая его?"
inline constexpr int StartingLine = 236;    // "Записываю "
inline constexpr int LayerLine = 237;       // "Слой "
inline constexpr int FirstKindLine = 239;   // "Рисую точки...", then the kinds in order

// The file name with the extension of the written type (".odg", ".odt"): a
// ".cdr" or ".doc" ending (any case) is replaced, another name gets it
// appended unless it already ends with it.
std::string OdfFileName(const std::string& name, const std::string& ext);

// The exports.  A run mode that opens the file first asks the desktop for a
// program for the type; without one the user is asked whether to write the
// file without opening it.  False when the user declined.  Failures (a file
// that cannot be written, a program that cannot be started) raise
// AutomationError.
bool ExportToCorelDraw(int version, const std::string& fileName, RunMode mode, const DImProj& im, OfficeRun& run);
bool ExportToOffice(const std::string& fileName, RunMode mode, const DImProj& im, OfficeRun& run);

// The painters' sinks on the two automation objects.
class CdrExportSink : public CdrSink {
public:
    CdrExportSink(CdrApplication& app, std::uint8_t groupMode) : app_(app), groupMode_(groupMode) {}

    void CreateEllipse(int top, int left, int bottom, int right, int startAngle, int endAngle, int pie) override;
    void SetOutlineWidth(int width) override;
    void CreateArtisticText(const std::string& text, int x, int y) override;
    void SetCharacterAttributes(int start, int length, const std::string& font, int style, int size, int a6, int a7,
                                int a8, int a9, int a10, int a11, int a12, int a13) override;
    void BeginDrawCurve(int x, int y) override;
    void DrawCurveLineTo(int x, int y) override;
    void DrawCurveCurveTo(int x1, int y1, int x2, int y2, int x3, int y3) override;
    void EndDrawCurve() override;
    void CloseCurve() override;
    void ApplyOutline(int width, int type, int a3, int a4, int a5, int a6, int dashNo, int endArrow, int startArrow,
                      int a10) override;
    void RotateObject(int angle, int a2, int a3, int a4) override;
    void CdrSetOutlineColor(TColor colour) override;
    void CdrSetFillColor(TColor colour) override;
    void CdrRememberShape() override;

    void CdrGroupBegin();
    void CdrGroupEnd();

private:
    CdrApplication& app_;
    std::uint8_t groupMode_;
    std::vector<int> CdrShapeIDs;
};

// The five shape writers.  Lengths arrive in picture pixels at `dpi`.
class WordExportSink : public WordSink {
public:
    WordExportSink(WordApplication& app, int dpi) : app_(app), dpi_(dpi) {}

    // Reads the page margins of the new document; the numbering restarts.
    void Start();

    void OfficeTextBox(int width, int height, const std::string& text, double left, double top,
                       const std::string& upper, const std::string& lower, const std::string& nameFont,
                       const std::string& indexFont, bool nameItalic, bool nameBold, bool indexItalic, bool indexBold,
                       double size, std::uint8_t colourIndex, TColor colour) override;
    void OfficeOval(std::uint8_t pointType, TColor colour, double x, double y, double r, double innerR) override;
    void OfficeLine(TColor colour, bool dashed, std::uint8_t dashNo, double x1, double y1, double x2, double y2,
                    double width, std::uint8_t arrow1, std::uint8_t arrow2, const ArrowheadSizes& sizes) override;
    void OfficeArc(TColor colour, bool dashed, std::uint8_t dashNo, double cx, double cy, double l1, double l2,
                   double b2, double b1, double width, double tilt, double angle1, double angle2) override;
    void OfficeFreeform(const DCurve1& poly, TColor colour, bool dashed, std::uint8_t dashNo, double width) override;

    int WordShapeCount = 0;
    double WordLeftMargin = 0, WordTopMargin = 0;

private:
    void nameShape();
    double pt(double pixels) const;

    WordApplication& app_;
    int dpi_;
};

// Word's colour index of the program's 16 colour indexes (others: black).
int WordColorIndex(int colourIndex);

// The angle on the word processor's ellipse of an arc angle a, for an
// ellipse of vertical extent v and horizontal extent h.
double EllipseAngle(double v, double h, double a);

}  // namespace pelmar

namespace pelmar {

// The "Ok" of an option dialog: `Running` is set while `exportRun` runs and
// cleared after it whatever happens; a failure is shown through `showError`
// and counts as false.  A file that could not be written is said with its
// reason in the language of `words` (Russian without).
bool RunGuarded(bool& Running, const std::function<bool()>& exportRun,
                const std::function<void(const std::string&)>& showError, const WordTable* words = nullptr);

}  // namespace pelmar
