// The part of the picture an object covers: the box around everything its
// outlines, points and labels draw, in picture pixels (x right, y down).
#pragma once

#include <optional>

#include "model/records.h"
#include "platform/canvas.h"

namespace pelmar {

// Empty when the object draws nothing.  Labels are measured with the
// machine's fonts when a QGuiApplication runs, and count as their anchor
// point otherwise.
std::optional<RectF> PictureExtent(const DPoint& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DLine& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DCircle& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DTri& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DKv& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DXOY& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DSf& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DZi& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DKo& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DPi3& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DPi4& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DPr3& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DPr4& rec, const DImProj& im);
std::optional<RectF> PictureExtent(const DXZ& rec, const DImProj& im);

}  // namespace pelmar
