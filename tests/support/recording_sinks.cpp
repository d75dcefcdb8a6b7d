#include "support/recording_sinks.h"

#include <cstdio>

#include "support/recording_canvas.h"

namespace pelmar {

namespace {

// Builds one line from its arguments.
class Line {
public:
    explicit Line(const char* name) : s_(name) {}
    Line& i(long long v) {
        s_ += ' ';
        s_ += std::to_string(v);
        return *this;
    }
    Line& d(double v) {
        s_ += ' ';
        s_ += RecordingCanvas::Num(v);
        return *this;
    }
    Line& b(bool v) {
        s_ += v ? " 1" : " 0";
        return *this;
    }
    Line& t(const std::string& v) {
        s_ += " \"";
        s_ += v;
        s_ += '"';
        return *this;
    }
    Line& c(TColor v) {
        s_ += ' ';
        s_ += RecordingCanvas::Color(v);
        return *this;
    }
    std::string str() const { return s_; }

private:
    std::string s_;
};

}  // namespace

std::string CallLog::text() const {
    std::string s;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) s += '\n';
        s += lines_[i];
    }
    return s;
}

void RecordingCdrSink::CreateEllipse(int top, int left, int bottom, int right, int startAngle, int endAngle,
                                     int pie) {
    add(Line("CreateEllipse").i(top).i(left).i(bottom).i(right).i(startAngle).i(endAngle).i(pie).str());
}

void RecordingCdrSink::SetOutlineWidth(int width) { add(Line("SetOutlineWidth").i(width).str()); }

void RecordingCdrSink::CreateArtisticText(const std::string& text, int x, int y) {
    add(Line("CreateArtisticText").t(text).i(x).i(y).str());
}

void RecordingCdrSink::SetCharacterAttributes(int start, int length, const std::string& font, int style,
                                              int size, int a6, int a7, int a8, int a9, int a10, int a11,
                                              int a12, int a13) {
    add(Line("SetCharacterAttributes")
            .i(start).i(length).t(font).i(style).i(size)
            .i(a6).i(a7).i(a8).i(a9).i(a10).i(a11).i(a12).i(a13)
            .str());
}

void RecordingCdrSink::BeginDrawCurve(int x, int y) { add(Line("BeginDrawCurve").i(x).i(y).str()); }

void RecordingCdrSink::DrawCurveLineTo(int x, int y) { add(Line("DrawCurveLineTo").i(x).i(y).str()); }

void RecordingCdrSink::DrawCurveCurveTo(int x1, int y1, int x2, int y2, int x3, int y3) {
    add(Line("DrawCurveCurveTo").i(x1).i(y1).i(x2).i(y2).i(x3).i(y3).str());
}

void RecordingCdrSink::EndDrawCurve() { add("EndDrawCurve"); }

void RecordingCdrSink::CloseCurve() { add("CloseCurve"); }

void RecordingCdrSink::ApplyOutline(int width, int type, int a3, int a4, int a5, int a6, int dashNo,
                                    int endArrow, int startArrow, int a10) {
    add(Line("ApplyOutline")
            .i(width).i(type).i(a3).i(a4).i(a5).i(a6).i(dashNo).i(endArrow).i(startArrow).i(a10)
            .str());
}

void RecordingCdrSink::RotateObject(int angle, int a2, int a3, int a4) {
    add(Line("RotateObject").i(angle).i(a2).i(a3).i(a4).str());
}

void RecordingCdrSink::CdrSetOutlineColor(TColor colour) { add(Line("CdrSetOutlineColor").c(colour).str()); }

void RecordingCdrSink::CdrSetFillColor(TColor colour) { add(Line("CdrSetFillColor").c(colour).str()); }

void RecordingCdrSink::CdrRememberShape() { add("CdrRememberShape"); }

void RecordingWordSink::OfficeTextBox(int width, int height, const std::string& text, double left, double top,
                                      const std::string& upper, const std::string& lower,
                                      const std::string& nameFont, const std::string& indexFont, bool nameItalic,
                                      bool nameBold, bool indexItalic, bool indexBold, double size,
                                      std::uint8_t colourIndex, TColor colour) {
    add(Line("OfficeTextBox")
            .i(width).i(height).t(text).d(left).d(top).t(upper).t(lower).t(nameFont).t(indexFont)
            .b(nameItalic).b(nameBold).b(indexItalic).b(indexBold).d(size).i(colourIndex).c(colour)
            .str());
}

void RecordingWordSink::OfficeOval(std::uint8_t pointType, TColor colour, double x, double y, double r,
                                   double innerR) {
    add(Line("OfficeOval").i(pointType).c(colour).d(x).d(y).d(r).d(innerR).str());
}

void RecordingWordSink::OfficeLine(TColor colour, bool dashed, std::uint8_t dashNo, double x1, double y1,
                                   double x2, double y2, double width, std::uint8_t arrow1,
                                   std::uint8_t arrow2, const ArrowheadSizes& sizes) {
    Line line("OfficeLine");
    line.c(colour).b(dashed).i(dashNo).d(x1).d(y1).d(x2).d(y2).d(width).i(arrow1).i(arrow2);
    // The arrowheads' sizes where there are arrowheads.
    if (arrow1 != 0 || arrow2 != 0) line.d(sizes.length1).d(sizes.width1).d(sizes.length2).d(sizes.width2);
    add(line.str());
}

void RecordingWordSink::OfficeArc(TColor colour, bool dashed, std::uint8_t dashNo, double cx, double cy,
                                  double l1, double l2, double b2, double b1, double width, double tilt,
                                  double angle1, double angle2) {
    add(Line("OfficeArc")
            .c(colour).b(dashed).i(dashNo).d(cx).d(cy).d(l1).d(l2).d(b2).d(b1).d(width).d(tilt).d(angle1)
            .d(angle2)
            .str());
}

void RecordingWordSink::OfficeFreeform(const DCurve1& poly, TColor colour, bool dashed, std::uint8_t dashNo,
                                       double width) {
    Line l("OfficeFreeform");
    l.i(poly.Count);
    for (const CurvePoint& p : poly.points()) {
        l.d(p.x);
        l.d(p.y);
    }
    add(l.c(colour).b(dashed).i(dashNo).d(width).str());
}

}  // namespace pelmar
