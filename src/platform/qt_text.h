// Text measurement and placement shared by the canvases that draw real text
// (QtCanvas, EmfCanvas).  Needs a QGuiApplication.
#pragma once

#include <QFont>
#include <QString>
#include <string>

#include "platform/canvas.h"

namespace pelmar {

QFont MakeQFont(const Font& font, bool antialias);

// The text's box for drawText: its top-left corner, its size and the
// baseline below the top.
struct TextPlacement {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double ascent = 0;
};

SizeF MeasureTextQt(const Font& font, const std::string& text);
TextPlacement PlaceText(const Font& font, const std::string& text, PointF at, TextFormat format);

}  // namespace pelmar
