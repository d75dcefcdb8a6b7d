#include "office/automation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "office/odf_writer.h"
#include "platform/font_ascent.h"

namespace pelmar {

namespace {

constexpr double CdrUnitsPerPoint = 254000.0 / 72.0;

// Whole numbers in full (colours, counts), others in the shortest "%g" form.
std::string Num(double v) {
    char buf[32];
    if (std::isfinite(v) && v == std::trunc(v) && std::abs(v) < 1e15)
        std::snprintf(buf, sizeof buf, "%.0f", v);
    else
        std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// Turns (x, y) about (px, py) by `degrees`, counter-clockwise on a page whose
// y runs downwards.
void Turn(double& x, double& y, double px, double py, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    const double dx = x - px, dy = y - py;
    x = px + dx * std::cos(a) + dy * std::sin(a);
    y = py - dx * std::sin(a) + dy * std::cos(a);
}

void TurnShape(OfficeShape& s, double px, double py, double degrees) {
    switch (s.kind) {
        case OfficeShape::Path:
            for (PathNode& n : s.nodes) {
                Turn(n.x, n.y, px, py, degrees);
                Turn(n.c1x, n.c1y, px, py, degrees);
                Turn(n.c2x, n.c2y, px, py, degrees);
            }
            break;
        case OfficeShape::Ellipse:
            Turn(s.cx, s.cy, px, py, degrees);
            s.rotation += degrees;
            break;
        case OfficeShape::Text: Turn(s.x, s.y, px, py, degrees); break;
    }
}

}  // namespace

// ---- the log ------------------------------------------------------------

std::string AutomationLog::text() const {
    std::string s;
    for (const std::string& c : calls_) {
        if (!s.empty()) s += '\n';
        s += c;
    }
    return s;
}

AutomationLog::Call& AutomationLog::Call::i(long long v) {
    s_ += ' ';
    s_ += std::to_string(v);
    return *this;
}

AutomationLog::Call& AutomationLog::Call::d(double v) {
    s_ += ' ';
    s_ += Num(v);
    return *this;
}

AutomationLog::Call& AutomationLog::Call::t(const std::string& v) {
    s_ += " \"";
    s_ += v;
    s_ += '"';
    return *this;
}

// ---- style tables -------------------------------------------------------

DashStyle CdrDash(int /*dashNo*/) {
    // The drawing program's numbers name the patterns of its own list,
    // which an OpenDocument drawing does not have.  A dashed line is dashed
    // as the picture dashes it: dots (the pattern its default number named
    // here before) turned a thin hidden edge into a grey solid line.
    return DashStyle::Dash;
}

ArrowStyle CdrArrow(int arrowNo) {
    static constexpr ArrowStyle Cycle[] = {ArrowStyle::Triangle, ArrowStyle::Open, ArrowStyle::Stealth,
                                           ArrowStyle::Diamond, ArrowStyle::Oval};
    if (arrowNo <= 0) return ArrowStyle::None;
    return Cycle[(arrowNo - 1) % 5];
}

DashStyle WordDash(int dashNo) {
    static constexpr DashStyle Table[] = {DashStyle::Solid,      DashStyle::SquareDot, DashStyle::Dot,
                                          DashStyle::Dash,       DashStyle::DashDot,   DashStyle::DashDotDot,
                                          DashStyle::LongDash,   DashStyle::LongDashDot};
    // Only a dashed line gets a dash style: "solid" (1) and numbers outside
    // the list keep it dashed, as the picture draws it.
    if (dashNo < 1 || dashNo > 8) return DashStyle::Dash;
    const DashStyle d = Table[dashNo - 1];
    return d == DashStyle::Solid ? DashStyle::Dash : d;
}

ArrowStyle WordArrow(int arrowNo) {
    static constexpr ArrowStyle Table[] = {ArrowStyle::None,    ArrowStyle::Triangle, ArrowStyle::Open,
                                           ArrowStyle::Stealth, ArrowStyle::Diamond,  ArrowStyle::Oval};
    if (arrowNo < 1 || arrowNo > 6) return ArrowStyle::None;
    return Table[arrowNo - 1];
}

TColor WordIndexColour(int index) {
    // 0x00BBGGRR, Word's colour index 1..16.
    static constexpr TColor Table[] = {0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF, 0x0000FF,
                                       0x00FFFF, 0xFFFFFF, 0x800000, 0x808000, 0x008000, 0x800080,
                                       0x000080, 0x008080, 0x808080, 0xC0C0C0};
    if (index < 1 || index > 16) return 0;
    return Table[index - 1];
}

// ---- the document -------------------------------------------------------

OfficeShape* OfficeDocument::shapeById(int id) {
    if (id < 1 || id > static_cast<int>(shapes.size())) return nullptr;
    return &shapes[static_cast<std::size_t>(id - 1)];
}

const OfficeShape* OfficeDocument::shapeById(int id) const {
    return const_cast<OfficeDocument*>(this)->shapeById(id);
}

// ---- the drawing program ------------------------------------------------

double CdrApplication::px(int x) const { return doc_.pageWidth / 2 + x / CdrUnitsPerPoint; }
double CdrApplication::py(int y) const { return doc_.pageHeight / 2 - y / CdrUnitsPerPoint; }

OfficeShape& CdrApplication::add(OfficeShape::Kind kind) {
    if (!open_) throw AutomationError("no document is open");
    OfficeShape s;
    s.kind = kind;
    s.layer = layer_;
    s.strokeWidth = 0;
    s.id = static_cast<int>(doc_.shapes.size()) + 1;
    doc_.shapes.push_back(std::move(s));
    return doc_.shapes.back();
}

OfficeShape& CdrApplication::last(const char* call) {
    if (doc_.shapes.empty()) throw AutomationError(std::string(call) + ": there is no shape");
    return doc_.shapes.back();
}

void CdrApplication::FileNew() {
    Call(*this, "FileNew");
    doc_ = OfficeDocument{};
    open_ = true;
    layer_ = 0;
}

void CdrApplication::SetDocVisible(bool visible) {
    Call(*this, "SetDocVisible").b(visible);
    visible_ = visible;
}

void CdrApplication::SetPageOrientation(int orientation) {
    Call(*this, "SetPageOrientation").i(orientation);
    doc_.landscape = orientation != 0;
}

void CdrApplication::SetPageSize(int width, int height) {
    Call(*this, "SetPageSize").i(width).i(height);
    doc_.pageWidth = width / CdrUnitsPerPoint;
    doc_.pageHeight = height / CdrUnitsPerPoint;
}

void CdrApplication::NewLayer(const std::string& name) {
    Call(*this, "NewLayer").t(name);
    if (!open_) throw AutomationError("no document is open");
    doc_.layers.push_back(name);
}

void CdrApplication::SelectLayer(const std::string& name) {
    Call(*this, "SelectLayer").t(name);
    const auto it = std::find(doc_.layers.begin(), doc_.layers.end(), name);
    if (it == doc_.layers.end()) throw AutomationError("no layer " + name);
    layer_ = static_cast<int>(it - doc_.layers.begin()) + 1;
}

void CdrApplication::CreateEllipse(int top, int left, int bottom, int right, int startAngle, int endAngle, int pie) {
    Call(*this, "CreateEllipse").i(top).i(left).i(bottom).i(right).i(startAngle).i(endAngle).i(pie);
    OfficeShape& s = add(OfficeShape::Ellipse);
    s.cx = (px(left) + px(right)) / 2;
    s.cy = (py(top) + py(bottom)) / 2;
    s.rx = std::abs(px(right) - px(left)) / 2;
    s.ry = std::abs(py(bottom) - py(top)) / 2;
    // The arc's angles as the painters send them run clockwise on the page:
    // counter-clockwise it is the arc from -end to -start.
    s.arc = startAngle != endAngle;
    s.start = -endAngle / 1e6;
    s.end = -startAngle / 1e6;
}

void CdrApplication::SetOutlineWidth(int width) {
    Call(*this, "SetOutlineWidth").i(width);
    last("SetOutlineWidth").strokeWidth = width / CdrUnitsPerPoint;
}

void CdrApplication::CreateArtisticText(const std::string& text, int x, int y) {
    Call(*this, "CreateArtisticText").t(text).i(x).i(y);
    OfficeShape& s = add(OfficeShape::Text);
    // The text starts at (x, y) on its baseline.
    s.x = px(x);
    s.y = py(y);
    s.stroke = false;
    TextRun r;
    r.text = text;
    r.size = 24;
    s.runs.push_back(r);
}

void CdrApplication::SetCharacterAttributes(int start, int length, const std::string& font, int style, int size,
                                            int a6, int a7, int a8, int a9, int a10, int a11, int a12, int a13) {
    Call(*this, "SetCharacterAttributes")
        .i(start).i(length).t(font).i(style).i(size).i(a6).i(a7).i(a8).i(a9).i(a10).i(a11).i(a12).i(a13);
    OfficeShape& s = last("SetCharacterAttributes");
    if (s.kind != OfficeShape::Text) throw AutomationError("SetCharacterAttributes: the last shape is no text");
    for (TextRun& r : s.runs) {
        r.font = font;
        r.size = size / 10.0;
        r.italic = style == 8 || style == 14;
        r.bold = style == 13 || style == 14;
    }
}

void CdrApplication::BeginDrawCurve(int x, int y) {
    Call(*this, "BeginDrawCurve").i(x).i(y);
    curve_.clear();
    curve_.push_back({PathNode::Move, px(x), py(y)});
    drawing_ = true;
}

void CdrApplication::DrawCurveLineTo(int x, int y) {
    Call(*this, "DrawCurveLineTo").i(x).i(y);
    if (!drawing_) throw AutomationError("DrawCurveLineTo: no curve is begun");
    curve_.push_back({PathNode::Line, px(x), py(y)});
}

void CdrApplication::DrawCurveCurveTo(int x1, int y1, int x2, int y2, int x3, int y3) {
    Call(*this, "DrawCurveCurveTo").i(x1).i(y1).i(x2).i(y2).i(x3).i(y3);
    if (!drawing_) throw AutomationError("DrawCurveCurveTo: no curve is begun");
    curve_.push_back({PathNode::Curve, px(x3), py(y3), px(x1), py(y1), px(x2), py(y2)});
}

void CdrApplication::EndDrawCurve() {
    Call(*this, "EndDrawCurve");
    if (!drawing_) throw AutomationError("EndDrawCurve: no curve is begun");
    drawing_ = false;
    add(OfficeShape::Path).nodes = std::move(curve_);
    curve_.clear();
}

void CdrApplication::CloseCurve() {
    Call(*this, "CloseCurve");
    OfficeShape& s = last("CloseCurve");
    if (s.kind == OfficeShape::Path) s.closed = true;
}

void CdrApplication::ApplyOutline(int width, int type, int a3, int a4, int a5, int a6, int dashNo, int endArrow,
                                  int startArrow, int a10) {
    Call(*this, "ApplyOutline").i(width).i(type).i(a3).i(a4).i(a5).i(a6).i(dashNo).i(endArrow).i(startArrow).i(a10);
    OfficeShape& s = last("ApplyOutline");
    s.stroke = type != 0;
    s.strokeWidth = width / CdrUnitsPerPoint;
    s.dash = type == 2 ? CdrDash(dashNo) : DashStyle::Solid;
    s.endArrow = CdrArrow(endArrow);
    s.startArrow = CdrArrow(startArrow);
}

void CdrApplication::RotateObject(int angle, int a2, int cx, int cy) {
    Call(*this, "RotateObject").i(angle).i(a2).i(cx).i(cy);
    TurnShape(last("RotateObject"), px(cx), py(cy), angle / 1e6);
}

void CdrApplication::StoreColor(int model, int red, int green, int blue, int a5) {
    Call(*this, "StoreColor").i(model).i(red).i(green).i(blue).i(a5);
    stored_ = static_cast<TColor>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}

void CdrApplication::SetOutlineColor() {
    Call(*this, "SetOutlineColor");
    last("SetOutlineColor").strokeColour = stored_;
}

void CdrApplication::ApplyUniformFillColor() {
    Call(*this, "ApplyUniformFillColor");
    OfficeShape& s = last("ApplyUniformFillColor");
    if (s.kind == OfficeShape::Text) {
        for (TextRun& r : s.runs) r.colour = stored_;
    } else {
        s.fill = true;
        s.fillColour = stored_;
    }
}

int CdrApplication::GetObjectsCDRStaticID() {
    Call(*this, "GetObjectsCDRStaticID");
    return last("GetObjectsCDRStaticID").id;
}

void CdrApplication::AppendObjectToSelection(int id) {
    Call(*this, "AppendObjectToSelection").i(id);
    if (!doc_.shapeById(id)) throw AutomationError("AppendObjectToSelection: no shape " + std::to_string(id));
    selection_.push_back(id);
}

void CdrApplication::Group() {
    Call(*this, "Group");
    if (selection_.empty()) throw AutomationError("Group: nothing is selected");
    const int g = ++doc_.groupCount;
    for (int id : selection_) doc_.shapeById(id)->group = g;
    selection_.clear();
}

void CdrApplication::FileSave(const std::string& fileName, int a2, bool a3, int a4, bool a5) {
    Call(*this, "FileSave").t(fileName).i(a2).b(a3).i(a4).b(a5);
    const std::string error = WriteOdfDrawing(doc_, fileName);
    if (!error.empty()) throw FileWriteError(fileName, error);
}

void CdrApplication::FileExit(bool save) {
    Call(*this, "FileExit").b(save);
    exited_ = true;
    open_ = false;
}

// ---- the word processor -------------------------------------------------

OfficeShape& WordApplication::add(OfficeShape::Kind kind) {
    if (!open_) throw AutomationError("no document is open");
    OfficeShape s;
    s.kind = kind;
    s.id = static_cast<int>(doc_.shapes.size()) + 1;
    s.name = "Shape " + std::to_string(s.id);
    doc_.shapes.push_back(std::move(s));
    selected_ = doc_.shapes.back().id;
    inText_ = false;
    return doc_.shapes.back();
}

OfficeShape& WordApplication::selected(const std::string& path) {
    OfficeShape* s = doc_.shapeById(selected_);
    if (!s) throw AutomationError(path + ": no shape is selected");
    return *s;
}

void WordApplication::putVisible(bool visible) {
    Call(*this, "put Visible").b(visible);
    visible_ = visible;
}

void WordApplication::DocumentsAdd() {
    Call(*this, "Documents.Add");
    doc_ = OfficeDocument{};
    doc_.marginLeft = PageLeftMargin;
    doc_.marginTop = PageTopMargin;
    doc_.marginRight = PageRightMargin;
    doc_.marginBottom = PageBottomMargin;
    open_ = true;
    selected_ = 0;
    boxTops_.clear();
}

double WordApplication::LeftMargin() {
    Call(*this, "ActiveDocument.PageSetup.LeftMargin");
    if (!open_) throw AutomationError("no document is open");
    return doc_.marginLeft;
}

double WordApplication::TopMargin() {
    Call(*this, "ActiveDocument.PageSetup.TopMargin");
    if (!open_) throw AutomationError("no document is open");
    return doc_.marginTop;
}

void WordApplication::AddTextbox(int orientation, double left, double top, double width, double height) {
    Call(*this, "ActiveDocument.Shapes.AddTextbox").i(orientation).d(left).d(top).d(width).d(height);
    OfficeShape& s = add(OfficeShape::Text);
    s.x = left;
    s.y = top;  // the baseline once the first line has text
    s.width = width;
    s.height = height;
    s.fill = true;  // a new text box is white with a thin black frame
    boxTops_[s.id] = top;
}

void WordApplication::AddShape(int type, double left, double top, double width, double height) {
    Call(*this, "ActiveDocument.Shapes.AddShape").i(type).d(left).d(top).d(width).d(height);
    if (type != 9 && type != 25) throw AutomationError("AddShape: shape type " + std::to_string(type));
    OfficeShape& s = add(OfficeShape::Ellipse);
    s.fill = true;
    if (type == 9) {
        s.cx = left + width / 2;
        s.cy = top + height / 2;
        s.rx = width / 2;
        s.ry = height / 2;
    } else {
        // An arc's box is its upper right quarter: the centre is the box's
        // lower left corner.
        s.cx = left;
        s.cy = top + height;
        s.rx = width;
        s.ry = height;
        s.arc = true;
        adjust1_ = -90;
        adjust2_ = 0;
        s.start = adjust2_;
        s.end = adjust1_;
    }
}

void WordApplication::AddLine(double x1, double y1, double x2, double y2) {
    Call(*this, "ActiveDocument.Shapes.AddLine").d(x1).d(y1).d(x2).d(y2);
    OfficeShape& s = add(OfficeShape::Path);
    s.nodes = {{PathNode::Move, x1, y1}, {PathNode::Line, x2, y2}};
}

void WordApplication::BuildFreeform(int editingType, double x, double y) {
    Call(*this, "ActiveDocument.Shapes.BuildFreeform").i(editingType).d(x).d(y);
    if (!open_) throw AutomationError("no document is open");
    freeform_ = {{PathNode::Move, x, y}};
    building_ = true;
}

void WordApplication::AddNodes(int segmentType, int editingType, double x, double y) {
    Call(*this, "AddNodes").i(segmentType).i(editingType).d(x).d(y);
    if (!building_) throw AutomationError("AddNodes: no freeform is being built");
    freeform_.push_back({PathNode::Line, x, y});
}

void WordApplication::ConvertToShape() {
    Call(*this, "ConvertToShape.Select");
    if (!building_) throw AutomationError("ConvertToShape: no freeform is being built");
    building_ = false;
    OfficeShape& s = add(OfficeShape::Path);
    s.nodes = std::move(freeform_);
    s.fill = false;
    freeform_.clear();
}

void WordApplication::SelectText() {
    Call(*this, "Selection.ShapeRange.TextFrame.TextRange.Select");
    Call(*this, "Selection.Collapse");
    if (selected("TextRange").kind != OfficeShape::Text) throw AutomationError("TextRange: the shape holds no text");
    inText_ = true;
    font_ = TextRun{};
}

void WordApplication::SelectShape() { Call(*this, "Selection.ShapeRange.Select"); }

void WordApplication::FillSolid() {
    Call(*this, "Selection.ShapeRange.Fill.Solid");
    selected("Fill.Solid").fill = true;
}

void WordApplication::put(const std::string& path, double value) {
    Call(*this, "put").t(path).d(value);
    static const std::string Range = "Selection.ShapeRange.", Font = "Selection.Font.";
    if (path.rfind(Font, 0) == 0) {
        const std::string p = path.substr(Font.size());
        if (p == "ColorIndex") font_.colour = WordIndexColour(static_cast<int>(value));
        else if (p == "Size") font_.size = value;
        else if (p == "Color") font_.colour = static_cast<TColor>(static_cast<long long>(value) & 0xFFFFFF);
        else if (p == "Bold") font_.bold = value != 0;
        else if (p == "Italic") font_.italic = value != 0;
        else if (p == "Subscript") font_.script = value != 0 ? TextRun::Sub : TextRun::Normal;
        else if (p == "Superscript") font_.script = value != 0 ? TextRun::Super : TextRun::Normal;
        else throw AutomationError("unknown property " + path);
        return;
    }
    if (path.rfind(Range, 0) != 0) throw AutomationError("unknown property " + path);
    const std::string p = path.substr(Range.size());
    OfficeShape& s = selected(path);
    const auto colour = static_cast<TColor>(static_cast<long long>(value) & 0xFFFFFF);
    if (p == "Fill.Visible") s.fill = value != 0;
    else if (p == "Fill.ForeColor.RGB") s.fillColour = colour;
    else if (p == "Line.Visible") s.stroke = value != 0;
    else if (p == "Line.ForeColor.RGB") s.strokeColour = colour;
    else if (p == "Line.Weight") s.strokeWidth = value;
    else if (p == "Line.DashStyle") s.dash = WordDash(static_cast<int>(value));
    else if (p == "Line.BeginArrowheadStyle") s.startArrow = WordArrow(static_cast<int>(value));
    else if (p == "Line.EndArrowheadStyle") s.endArrow = WordArrow(static_cast<int>(value));
    else if (p == "Line.BeginArrowheadLength") s.startArrowLength = value;
    else if (p == "Line.BeginArrowheadWidth") s.startArrowWidth = value;
    else if (p == "Line.EndArrowheadLength") s.endArrowLength = value;
    else if (p == "Line.EndArrowheadWidth") s.endArrowWidth = value;
    else if (p == "Rotation") s.rotation = -value;  // the word processor turns clockwise
    else if (p == "Adjustments.Item(1)" || p == "Adjustments.Item(2)") {
        (p == "Adjustments.Item(1)" ? adjust1_ : adjust2_) = value;
        // The arc runs clockwise on the page from the angle -adjustment 1 to
        // -adjustment 2, both measured clockwise from the x axis: the
        // adjustments are the picture's arc angles negated.
        s.start = adjust2_;
        s.end = adjust1_;
    } else if (p == "Fill.Transparency" || p == "Line.Transparency" || p == "Line.Style" ||
               p == "Line.BackColor.RGB" || p.rfind("TextFrame.Margin", 0) == 0) {
        // Accepted; the written file has no use for them.
    } else {
        throw AutomationError("unknown property " + path);
    }
}

void WordApplication::put(const std::string& path, const std::string& value) {
    Call(*this, "put").t(path).t(value);
    if (path == "Selection.Font.Name") font_.font = value;
    else if (path == "Selection.ShapeRange.Name") selected(path).name = value;
    else throw AutomationError("unknown property " + path);
}

void WordApplication::TypeText(const std::string& text) {
    Call(*this, "Selection.TypeText").t(text);
    if (!inText_) throw AutomationError("TypeText: the cursor is in no text box");
    if (text.empty()) return;
    TextRun r = font_;
    r.text = text;
    OfficeShape& s = selected("TypeText");
    s.runs.push_back(std::move(r));
    // Without margins the box's first line starts at its top: the baseline
    // lies the ascent of the line's largest text below it.
    double ascent = 0;
    for (const TextRun& run : s.runs)
        if (run.script == TextRun::Normal)
            ascent = std::max(ascent, AscentShare(run.font, run.bold, run.italic) * run.size);
    s.y = boxTops_[s.id] + ascent;
}

void WordApplication::GroupRange(const std::vector<std::string>& names) {
    {
        Call c(*this, "ActiveDocument.Shapes.Range");
        for (const std::string& n : names) c.t(n);
    }
    Call(*this, "Group");
    std::vector<OfficeShape*> members;
    for (const std::string& n : names) {
        auto it = std::find_if(doc_.shapes.begin(), doc_.shapes.end(), [&](const OfficeShape& s) { return s.name == n; });
        if (it == doc_.shapes.end()) throw AutomationError("Shapes.Range: no shape " + n);
        members.push_back(&*it);
    }
    const int g = ++doc_.groupCount;
    for (OfficeShape* s : members) s->group = g;
}

void WordApplication::SaveAs(const std::string& fileName) {
    Call(*this, "ActiveDocument.SaveAs").t(fileName);
    if (!open_) throw AutomationError("no document is open");
    const std::string error = WriteOdfText(doc_, fileName);
    if (!error.empty()) throw FileWriteError(fileName, error);
}

void WordApplication::Quit() {
    Call(*this, "Quit");
    quit_ = true;
    open_ = false;
}

// ---- creation by name ---------------------------------------------------

std::unique_ptr<CdrApplication> CreateCdrObject(const std::string& className) {
    static const std::string Prefix = "CorelDraw.Automation.";
    if (className.rfind(Prefix, 0) != 0 || className.size() == Prefix.size())
        throw AutomationError("cannot create the object " + className);
    return std::make_unique<CdrApplication>();
}

std::unique_ptr<WordApplication> CreateWordObject(const std::string& className) {
    if (className != "Word.Application") throw AutomationError("cannot create the object " + className);
    return std::make_unique<WordApplication>();
}

}  // namespace pelmar
