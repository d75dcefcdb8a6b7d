// Cost of the picture export of a 1200 x 900 drawing: the GIF (colour
// reduction of an anti-aliased picture), the opaque PNG, and the transparent
// PNG of the metafile mode (four-times rendering and the fold): painted in
// bands as tall as the export allows, and by band height for comparison,
// down to strips of 8 large rows (the picture painted 450 times).
// The files are left in the temporary folder "pelmar-bench-export".
#include <benchmark/benchmark.h>

#include "bench_status.h"

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "files/picture_export.h"
#include "files/picture_files.h"
#include "files/picture_recording.h"
#include "platform/qt_canvas.h"

using namespace pelmar;

namespace {

constexpr int W = 1200, H = 900;

std::string OutPath(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "pelmar-bench-export";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

// A drawing of the program's kind: axes, a graph, filled and outlined
// figures, dashed hidden edges and labels.
const PictureRecording& Drawing() {
    static PictureRecording pic;
    if (pic.size()) return pic;
    Pen axis;
    axis.width = 1;
    axis.color = MakeRgb(0, 0, 0);
    pic.drawLine(axis, {40, 450}, {1160, 450});
    pic.drawLine(axis, {600, 40}, {600, 860});
    for (int i = 0; i <= 28; ++i) pic.drawLine(axis, {40.0 + 40 * i, 445}, {40.0 + 40 * i, 455});
    std::vector<PointF> graph;
    for (int i = 0; i <= 1120; ++i) graph.push_back({40.0 + i, 450 - 200 * std::sin(i / 90.0)});
    Pen blue;
    blue.width = 2;
    blue.color = MakeRgb(0, 0, 255);
    pic.drawPolyline(blue, graph);
    for (int k = 0; k < 12; ++k) {
        const double x = 80 + 90 * k, y = 120 + 50 * (k % 5);
        const PointF tri[3] = {{x, y}, {x + 70, y + 20}, {x + 20, y + 80}};
        pic.fillPolygon(MakeRgb(255, 220 - 10 * k, 120), tri);
        Pen edge;
        edge.width = 2;
        edge.color = MakeRgb(160, 0, 0);
        pic.drawPolygon(edge, tri);
        pic.drawEllipse(edge, {x, y + 500, 80, 50});
        Pen dashed = edge;
        dashed.dashes = {4, 2};
        pic.drawArc(dashed, {x, y + 480, 80, 50}, 0, -180);
        Font f;
        f.family = "DejaVu Sans";
        f.pixelSize = 14;
        pic.drawText(f, MakeRgb(0, 0, 0), "A" + std::to_string(k + 1), {x - 10, y - 18}, {});
    }
    return pic;
}

QImage RasterDrawing() {
    QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QtCanvas canvas(img, true);
    Drawing().replay(canvas, 1, 0, 0);
    canvas.finish();
    return img;
}

void BM_GifExport(benchmark::State& state) {
    const QImage pic = RasterDrawing();
    const std::string path = OutPath("drawing.gif");
    for (auto _ : state) {
        const std::string err = WriteGifFile(path, pic, std::nullopt);
        if (!err.empty()) state.SkipWithError(err.c_str());
    }
}
BENCHMARK(BM_GifExport)->Unit(benchmark::kMillisecond);

void BM_PngExport(benchmark::State& state) {
    const QImage pic = RasterDrawing();
    const std::string path = OutPath("drawing.png");
    for (auto _ : state) {
        const std::string err = WritePngFile(path, pic, false, *PngPixelsPerMetre(96));
        if (!err.empty()) state.SkipWithError(err.c_str());
    }
}
BENCHMARK(BM_PngExport)->Unit(benchmark::kMillisecond);

void BM_TransparentPng(benchmark::State& state) {
    const PictureRecording& pic = Drawing();
    const std::string path = OutPath("drawing-transparent.png");
    for (auto _ : state) {
        const QImage out = FoldTransparent(W, H, nullptr, pic, nullptr);
        const std::string err = WritePngFile(path, out, true, *PngPixelsPerMetre(96));
        if (!err.empty()) state.SkipWithError(err.c_str());
    }
}
BENCHMARK(BM_TransparentPng)->Unit(benchmark::kMillisecond);

// The encoding and writing alone of the folded picture: a scratch file (not
// flushed to the disk) and a saved one.
void BM_TransparentPngWrite(benchmark::State& state) {
    const QImage out = FoldTransparent(W, H, nullptr, Drawing(), nullptr);
    const std::string path = OutPath("drawing-transparent-write.png");
    const bool scratch = state.range(0) != 0;
    for (auto _ : state) {
        const std::string err = WritePngFile(path, out, true, *PngPixelsPerMetre(96), {}, scratch);
        if (!err.empty()) state.SkipWithError(err.c_str());
    }
}
BENCHMARK(BM_TransparentPngWrite)->ArgName("scratch")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The painting and folding alone, by band height in large rows (0: the
// export's own choice, three bands here; 3600: one pass).
void BM_TransparentFold(benchmark::State& state) {
    const PictureRecording& pic = Drawing();
    const int band = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(FoldTransparent(W, H, nullptr, pic, nullptr, band));
}
BENCHMARK(BM_TransparentFold)->ArgName("band")->Arg(0)->Arg(8)->Arg(200)->Arg(800)->Arg(3600)->Unit(benchmark::kMillisecond);

}  // namespace

// Labels need a QGuiApplication; the offscreen platform needs no display.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    return pelmar::bench::RunBenchmarks(argc, argv);
}
