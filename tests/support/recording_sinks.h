// Stand-ins for the export automation that draw nothing and write every call,
// with its arguments, as one text line; for tests of the painters.
//
// Line forms: the call's name, a space, then the arguments separated by
// spaces: integers as they are, Doubles in the shortest "%g" form, texts in
// double quotes, Booleans as 1 or 0, colours as "#RRGGBB".
#pragma once

#include <string>
#include <vector>

#include "drawing/paint_target.h"

namespace pelmar {

class CallLog {
public:
    const std::vector<std::string>& lines() const { return lines_; }
    std::string text() const;  // the lines joined by '\n'
    void clear() { lines_.clear(); }

protected:
    void add(std::string line) { lines_.push_back(std::move(line)); }

private:
    std::vector<std::string> lines_;
};

class RecordingCdrSink final : public CdrSink, public CallLog {
public:
    void CreateEllipse(int top, int left, int bottom, int right, int startAngle, int endAngle, int pie) override;
    void SetOutlineWidth(int width) override;
    void CreateArtisticText(const std::string& text, int x, int y) override;
    void SetCharacterAttributes(int start, int length, const std::string& font, int style, int size, int a6,
                                int a7, int a8, int a9, int a10, int a11, int a12, int a13) override;
    void BeginDrawCurve(int x, int y) override;
    void DrawCurveLineTo(int x, int y) override;
    void DrawCurveCurveTo(int x1, int y1, int x2, int y2, int x3, int y3) override;
    void EndDrawCurve() override;
    void CloseCurve() override;
    void ApplyOutline(int width, int type, int a3, int a4, int a5, int a6, int dashNo, int endArrow,
                      int startArrow, int a10) override;
    void RotateObject(int angle, int a2, int a3, int a4) override;
    void CdrSetOutlineColor(TColor colour) override;
    void CdrSetFillColor(TColor colour) override;
    void CdrRememberShape() override;
};

class RecordingWordSink final : public WordSink, public CallLog {
public:
    void OfficeTextBox(int width, int height, const std::string& text, double left, double top,
                       const std::string& upper, const std::string& lower, const std::string& nameFont,
                       const std::string& indexFont, bool nameItalic, bool nameBold, bool indexItalic,
                       bool indexBold, double size, std::uint8_t colourIndex, TColor colour) override;
    void OfficeOval(std::uint8_t pointType, TColor colour, double x, double y, double r, double innerR) override;
    void OfficeLine(TColor colour, bool dashed, std::uint8_t dashNo, double x1, double y1, double x2, double y2,
                    double width, std::uint8_t arrow1, std::uint8_t arrow2, const ArrowheadSizes& sizes) override;
    void OfficeArc(TColor colour, bool dashed, std::uint8_t dashNo, double cx, double cy, double l1, double l2,
                   double b2, double b1, double width, double tilt, double angle1, double angle2) override;
    void OfficeFreeform(const DCurve1& poly, TColor colour, bool dashed, std::uint8_t dashNo,
                        double width) override;
};

}  // namespace pelmar
