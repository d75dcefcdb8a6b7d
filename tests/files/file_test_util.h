// Helpers of the file tests: a scratch folder and whole-file bytes.
#pragma once

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace pelmar::test {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::uint32_t Le32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

inline std::uint32_t Be32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

struct Scratch {
    QTemporaryDir dir;
    std::string path(const std::string& name) const { return (dir.path() + "/").toStdString() + name; }
};

// A drawing-like picture: white, a black frame, coloured bars and an
// anti-aliased diagonal, so that it holds far more than 256 colours.
inline QImage DrawingPicture(int w = 120, int h = 90) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    p.drawRect(0, 0, w - 1, h - 1);
    p.fillRect(10, 10, 20, 20, QColor(255, 0, 0));
    p.fillRect(40, 10, 20, 20, QColor(0, 0, 255));
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, QColor(0, 200, 0));
    g.setColorAt(1, QColor(250, 250, 0));
    p.fillRect(0, 40, w, 20, g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(128, 0, 128), 2.5));
    p.drawLine(QPointF(5, 85), QPointF(w - 5, 62));
    return img;
}

}  // namespace pelmar::test
