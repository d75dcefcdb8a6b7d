#include "transform/anim_build.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "support/fake_redraw_host.h"
#include "files/file_test_util.h"
#include "files/gif_frames.h"
#include "model/coord_edits.h"
#include "transform/anim_fixture.h"

namespace pelmar {
namespace {

using test::AnimatedDocument;
using test::ComparePictures;
using test::DecodeGif;
using test::DocText;
using test::FakeAnimHost;

struct BuildRun {
    AnimResult result;
    FakeAnimHost host;
    std::string before, after;  // the document's text around the build
};

BuildRun Build(DProj& doc, const std::string& path, int cancelAtPoll = -1) {
    DrawingState st;
    FakeRedrawHost redraw;
    BuildRun r;
    r.host.cancelAtPoll = cancelAtPoll;
    r.before = DocText(doc);
    r.result = BuildAnimation(doc, st, redraw, r.host, path);
    r.after = DocText(doc);
    return r;
}

// Frame i of an n-frame build is the picture of a one-frame build starting at
// t = i: the document is put back between frames and t advances by the step.
// The frames differ as the formulas move the objects; the delay is clamped.
TEST(AnimationBuilder, FramesFollowTheFormulasAndTheDocumentComesBackUnchanged) {
    test::Scratch dir;
    auto doc = AnimatedDocument();
    const std::string path = AnimationPath(dir.path("Drawing.pel"));
    EXPECT_EQ(path, dir.path("Drawing.pel.gif"));
    const BuildRun run = Build(*doc, path);
    EXPECT_EQ(run.result.outcome, AnimOutcome::Created);
    EXPECT_EQ(run.result.frames, 3);
    EXPECT_EQ(run.before, run.after);
    const std::vector<std::pair<std::string, TColor>> statuses = {{"Строю кадр 1", AnimBlack},
                                                                  {"Строю кадр 2", AnimBlack},
                                                                  {"Строю кадр 3", AnimBlack},
                                                                  {AnimSaving, AnimBlack},
                                                                  {AnimDone, AnimGreen}};
    EXPECT_EQ(run.host.statuses, statuses);
    EXPECT_EQ(run.host.progress, std::make_pair(3, 3));

    const auto gif = DecodeGif(path);
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 3u);
    EXPECT_EQ(gif.width, doc->Im.Width);
    EXPECT_TRUE(gif.loopExtension);
    for (int d : gif.delays) EXPECT_EQ(d, 7000) << "70000 ms clamped, not cut to 16 bits";
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_GT(ComparePictures(gif.frames[i], gif.frames[(i + 1) % 3]).max, 0) << i;
        auto one = AnimatedDocument();
        one->AnimFrames = 1;
        one->AnimStart = std::to_string(i);
        const std::string single = dir.path("one" + std::to_string(i) + ".gif");
        ASSERT_EQ(Build(*one, single).result.outcome, AnimOutcome::Created);
        const auto g1 = DecodeGif(single);
        ASSERT_EQ(g1.frames.size(), 1u);
        EXPECT_FALSE(g1.loopExtension) << "a single frame plays once";
        const auto d = ComparePictures(g1.frames[0], gif.frames[i]);
        EXPECT_LT(d.mean, 0.1) << i;
    }
}

// Formulas that do not evaluate: the build goes on with start 0 and step 1
// or the value kept, and ends olive.
TEST(AnimationBuilder, FailingFormulasGiveTheCorrectedStatus) {
    test::Scratch dir;
    auto good = AnimatedDocument();
    good->AnimFrames = 2;
    ASSERT_EQ(Build(*good, dir.path("good.gif")).result.outcome, AnimOutcome::Created);
    const auto reference = DecodeGif(dir.path("good.gif"));
    struct Case {
        const char* start;
        const char* step;
        const char* pointY;
        bool sameFrames;  // as the build with start 0 and step 1
    } cases[] = {{"abc", "1", "300+100*cos(x)", true},
                 {"0", "ln(0)", "300+100*cos(x)", true},
                 {"0", "1", "1/0", false},
                 {"", "", "300+100*cos(x)", true}};
    for (const Case& c : cases) {
        auto doc = AnimatedDocument();
        doc->AnimFrames = 2;
        doc->AnimStart = c.start;
        doc->AnimStep = c.step;
        doc->Obj.Po[1].Anim[1] = c.pointY;
        const std::string path = dir.path("c.gif");
        const BuildRun run = Build(*doc, path);
        const bool silent = std::string(c.start).empty();
        EXPECT_EQ(run.result.outcome, silent ? AnimOutcome::Created : AnimOutcome::Corrected) << c.start << c.step;
        EXPECT_EQ(run.host.statuses.back().second, silent ? AnimGreen : AnimOlive);
        EXPECT_EQ(run.before, run.after);
        const auto gif = DecodeGif(path);
        ASSERT_EQ(gif.frames.size(), 2u);
        for (std::size_t i = 0; c.sameFrames && i < 2; ++i)
            EXPECT_LT(ComparePictures(gif.frames[i], reference.frames[i]).mean, 0.1);
    }
}

// Cancelling, no frames and a file that cannot be written leave the document
// as it was, write nothing and keep an existing animation, and the status
// says why, a file that cannot be written with the system's reason; a
// background picture is in the frames; vector picture mode still makes
// raster frames.
TEST(AnimationBuilder, OnlyASuccessfulBuildWritesTheFile) {
    test::Scratch dir;
    const std::string path = dir.path("Drawing.pel.gif");
    test::WriteBytes(path, "old");
    struct Case {
        const char* name;
        int frames;
        int cancelAtPoll;
        std::string target;
        AnimOutcome outcome;
        int built;
        const char* why;
        std::string message;  // empty: none
    } cases[] = {{"cancel", 5, 2, path, AnimOutcome::Cancelled, 2, "Отменено.", ""},
                 {"no frames", 0, -1, path, AnimOutcome::Failed, 0, "Нет кадров.", ""},
                 {"negative", -4, -1, path, AnimOutcome::Failed, 0, "Нет кадров.", ""},
                 {"no folder", 2, -1, dir.path("none/x.gif"), AnimOutcome::Failed, 0, "Файл не записан.",
                  "Не могу записать файл " + dir.path("none/x.gif") + "\nПричина: папка не найдена"},
                 {"under a file", 2, -1, path + "/x.gif", AnimOutcome::Failed, 0, "Файл не записан.",
                  "\nПричина: часть пути не папка"}};
    for (const Case& c : cases) {
        auto doc = AnimatedDocument();
        doc->AnimFrames = c.frames;
        const BuildRun run = Build(*doc, c.target, c.cancelAtPoll);
        EXPECT_EQ(run.result.outcome, c.outcome) << c.name;
        EXPECT_EQ(run.result.frames, c.built) << c.name;
        EXPECT_EQ(run.host.statuses.back(), std::make_pair(std::string(AnimNotDone) + " " + c.why, AnimRed))
            << c.name;
        ASSERT_EQ(run.host.messages.size(), c.message.empty() ? 0u : 1u) << c.name;
        if (!c.message.empty()) {
            EXPECT_NE(run.host.messages[0].find(c.message), std::string::npos) << run.host.messages[0];
        }
        EXPECT_EQ(run.before, run.after) << c.name;
        EXPECT_EQ(test::ReadBytes(path), "old") << c.name;
        EXPECT_EQ(test::FilesIn(dir.path("")), 1) << c.name << ": no scrap, no folder made";
    }

    auto backed = AnimatedDocument();  // a background picture shows through the drawing's background
    backed->AnimFrames = 1;
    backed->Im.BackOn = true;
    {
        DrawingState st;
        st.BackBitmap = QImage(40, 30, QImage::Format_RGB32);
        st.BackBitmap.fill(Qt::green);
        FakeRedrawHost redraw;
        FakeAnimHost host;
        ASSERT_EQ(BuildAnimation(*backed, st, redraw, host, dir.path("back.gif")).outcome, AnimOutcome::Created);
        const auto g = DecodeGif(dir.path("back.gif"));
        ASSERT_EQ(g.frames.size(), 1u);
        EXPECT_EQ(g.frames[0].pixel(5, 5), qRgb(0, 255, 0));
        EXPECT_EQ(g.frames[0].pixel(60, 5), qRgb(255, 255, 255));
    }

    auto raster = AnimatedDocument();
    raster->AnimFrames = 2;
    ASSERT_EQ(Build(*raster, dir.path("raster.gif")).result.outcome, AnimOutcome::Created);
    auto vector = AnimatedDocument();
    vector->AnimFrames = 2;
    vector->Im.PicMode = 1;
    const BuildRun run = Build(*vector, path);
    EXPECT_EQ(run.result.outcome, AnimOutcome::Created);
    EXPECT_EQ(run.before, run.after);
    EXPECT_EQ(vector->Im.PicMode, 1);
    const auto a = DecodeGif(dir.path("raster.gif")), b = DecodeGif(path);
    ASSERT_EQ(b.frames.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_LT(ComparePictures(a.frames[i], b.frames[i]).mean, 0.1);
}

// A graph that cannot be drawn in any frame is told once for the whole build,
// the document drawn again after it included, and the frames are still written.
TEST(AnimationBuilder, APartThatCannotBeDrawnIsToldOncePerBuild) {
    test::Scratch dir;
    auto doc = AnimatedDocument();
    doc->AnimFrames = 4;
    DrawingState st;
    st.Painters.xoy.pass2 = [](const DXOY&, bool, int, const DImProj&, char, const PaintTarget&) {
        throw std::length_error("vector::_M_default_append");
    };
    FakeRedrawHost redraw;
    FakeAnimHost host;
    const AnimResult result = BuildAnimation(*doc, st, redraw, host, dir.path("x.gif"));
    EXPECT_EQ(result.frames, 4);
    EXPECT_EQ(std::count(redraw.log.begin(), redraw.log.end(), "message Не могу построить график!"), 1);
    RepaintProject(*doc, st, redraw, RedrawMode::Window, true);  // the next drawing tells again
    EXPECT_EQ(std::count(redraw.log.begin(), redraw.log.end(), "message Не могу построить график!"), 2);
}

// Systems moved by their formulas, traced again in every frame (a 2D implicit
// circle, a 3D implicit sphere with its sections and outline): while the
// frames are built their traces neither move the drawing window's bar nor
// pump its events, and no frame locks the main window's commands, turns its
// play button or times itself in the caption (the selection is cleared once,
// before them); the builder's window is polled for events during a frame
// instead.  A stop asked during a frame ends the build there: no frame of it,
// no file.
TEST(AnimationBuilder, FramesTraceWithoutTheDrawingWindowsProgress) {
    test::Scratch dir;
    const DefaultsSource src{.programFolder = "/nonexistent"};
    auto doc = NewDocument();
    doc->Im.Width = 400, doc->Im.Height = 300;
    doc->Obj.Xy.add({});
    DXOY& plane = doc->Obj.Xy[1];
    LoadDefaultXOY(plane, 1, src);
    plane.GraphOn[6].v = true, plane.Graph[6].s = "x^2+y^2-4";
    plane.Center.Anim[1] = std::to_string(plane.Center.Y.v) + "+7*x";
    doc->Obj.Xz.add({});
    DXZ& space = doc->Obj.Xz[1];
    LoadDefaultXYZ(space, 1, src);
    space.Scale.v = 10, space.SurfOn[4].v = true, space.Surf[4].s = "x^2+y^2+z^2-16";
    space.Outlines[3].On = true;
    WholePictureOutlineWindows(space, 400, 300);
    UpdateXYZ(space, 0);
    space.Center.Anim[2] = std::to_string(space.Center.Z.v) + "-5*x";
    doc->AnimFrames = 3;

    for (const int stopAt : {-1, 1}) {
        SCOPED_TRACE(stopAt);
        DrawingState st;
        FakeRedrawHost redraw;
        struct Host : test::FakeAnimHost {
            const FakeRedrawHost* redraw = nullptr;
            std::size_t logAtEnd = 0;  // the window's log at the last poll of the frames
            bool cancelRequested() override {
                logAtEnd = redraw->log.size();
                return FakeAnimHost::cancelRequested();
            }
            bool pollDuringFrame() override {
                logAtEnd = redraw->log.size();
                return FakeAnimHost::pollDuringFrame();
            }
        } host;
        host.redraw = &redraw;
        host.cancelAtFramePoll = stopAt;
        const std::string path = dir.path("moving.gif");
        const std::string before = test::DocText(*doc);
        const AnimResult r = BuildAnimation(*doc, st, redraw, host, path);
        EXPECT_EQ(test::DocText(*doc), before);
        EXPECT_GE(host.framePolls, 1) << "the first event pump of a build reaches the builder's window";
        const auto progress = [](const std::string& line) {
            for (const char* window : {"processEvents", "progress ", "showProgressBar", "hideProgressBar",
                                       "commands ", "play", "caption ", "commitFocusedEdits"})
                if (line.rfind(window, 0) == 0) return true;
            return false;
        };
        EXPECT_EQ(std::count_if(redraw.log.begin(), redraw.log.begin() + static_cast<std::ptrdiff_t>(host.logAtEnd),
                                progress),
                  0)
            << "calls of the drawing window's progress and commands while the frames were built";
        EXPECT_EQ(std::count(redraw.log.begin(), redraw.log.end(), "selectNone"), 1) << "once, before the frames";
        if (stopAt < 0) {
            EXPECT_EQ(r.outcome, AnimOutcome::Created);
            EXPECT_EQ(DecodeGif(path).frames.size(), 3u);
        } else {
            EXPECT_EQ(r.outcome, AnimOutcome::Cancelled);
            EXPECT_EQ(r.frames, 0);
            EXPECT_EQ(host.polls, 0) << "no frame was finished";
            EXPECT_FALSE(std::filesystem::exists(path));
            EXPECT_FALSE(st.Running);
        }
        std::filesystem::remove(path);
    }
}

// Implicit graphs that cannot be built (three roots in a column) in two systems are told once a drawing and
// once an animation, however many graphs and frames; the drawing after each tells again.
TEST(AnimationBuilder, AGraphThatCannotBeBuiltIsToldOncePerDrawingAndPerAnimation) {
    test::Scratch dir;
    auto doc = AnimatedDocument();
    DefaultsSource src;
    src.programFolder = "/nonexistent";
    src.pictureHeight = doc->Im.Height;
    for (int n = 1; n <= 2; ++n) {
        DXOY x;
        LoadDefaultXOY(x, n, src);
        x.GraphOn[6].v = true, x.Graph[6].s = "(y-1)*(y-2)*(y-3)";
        doc->Obj.Xy.add(x);
    }
    DrawingState st;
    FakeRedrawHost redraw;
    FakeAnimHost host;
    const auto draw = [&] { RepaintProject(*doc, st, redraw, RedrawMode::Window, true); };
    const auto animate = [&](int frames) {
        return [&, frames] {
            doc->AnimFrames = frames;
            EXPECT_EQ(BuildAnimation(*doc, st, redraw, host, dir.path("x.gif")).frames, frames);
        };
    };
    const struct {
        const char* what;
        std::function<void()> run;
    } rows[] = {{"a drawing", draw},         {"an animation of 2 frames", animate(2)}, {"the drawing after it", draw},
                {"another drawing", draw},   {"an animation of 5 frames", animate(5)}, {"the drawing after it", draw}};
    for (const auto& row : rows) {
        const auto before = std::count(redraw.log.begin(), redraw.log.end(), "message Не могу построить график!");
        row.run();
        EXPECT_EQ(std::count(redraw.log.begin(), redraw.log.end(), "message Не могу построить график!") - before, 1)
            << row.what;
    }
}

}  // namespace
}  // namespace pelmar
