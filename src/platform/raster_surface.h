// The raster picture of the fills pass: direct pixel writes and aliased
// fills of ellipses, pies and polygons, with a solid colour or a colour
// computed per pixel.  Everything is clipped to the picture.
//
// A pixel (x, y) stands for the point (x, y).  A fill covers a pixel when
// that point lies inside the shape or at most half a pixel from its outline,
// as a shape filled together with its one-pixel outline.  Pixels are visited
// row by row from the top, left to right within a row, each once.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/canvas.h"

namespace pelmar {

// A rotation of a shape by `degrees` (clockwise on the picture) about `centre`.
struct Rotation {
    double degrees = 0;
    PointF centre;
};

class RasterSurface {
public:
    using PixelColor = std::function<Rgb(int x, int y)>;
    static constexpr Rgb NoPixel = 0xFFFFFFFF;  // pixel() outside the picture

    // Works on `image` in place.  An image in a format other than ARGB32
    // (premultiplied or not) or RGB32 is converted to ARGB32 premultiplied.
    explicit RasterSurface(QImage& image);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    void setPixel(int x, int y, Rgb color);  // nothing outside the picture
    // setPixel(x0 + i, y, colours[i]) for each i with set[i] != 0.
    void setPixels(int y, int x0, std::span<const Rgb> colours, std::span<const std::uint8_t> set);
    Rgb pixel(int x, int y) const;           // NoPixel outside the picture
    void fill(Rgb color);

    void fillEllipse(const RectF& box, Rgb color, const Rotation& rotation = {});
    void fillEllipse(const RectF& box, const PixelColor& color, const Rotation& rotation = {});
    // Angles as on the canvas (canvas.h).
    void fillPie(const RectF& box, double start, double sweep, Rgb color, const Rotation& rotation = {});
    void fillPie(const RectF& box, double start, double sweep, const PixelColor& color,
                 const Rotation& rotation = {});
    void fillPolygon(std::span<const PointF> points, Rgb color);  // alternate rule
    void fillPolygon(std::span<const PointF> points, const PixelColor& color);

private:
    void put(int x, int y, Rgb color);
    void ellipseOrPie(const RectF& box, bool pie, double start, double sweep, const PixelColor& color,
                      const Rotation& rotation);

    QImage& image_;
};

}  // namespace pelmar
