// Random sessions of commands (mouse drags in the picture window among them), each but a few followed by a build of
// the drawing: the kept fill picture shows in the picture and the PNG exports just what the same document drawn
// afresh shows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <random>

#include "drawing/host_roles.h"
#include "editing/clipboard.h"
#include "editing/delete_objects.h"
#include "editing/fake_hosts.h"
#include "editing/link_choice.h"
#include "editing/new_objects.h"
#include "editing/object_list.h"
#include "editing/selection.h"
#include "editing/ui/picture_window.h"
#include "files/document.h"
#include "files/picture_export.h"
#include "model/geometry.h"
#include "model/update.h"
#include "shell/default_sets.h"
#include "shell/picture_settings.h"
#include "support/fake_redraw_host.h"
#include "transform/trans_editing.h"
#include "window_session.h"

using namespace pelmar;

namespace {

constexpr int W = 200, H = 150;

struct SessionAnswers : test::QuietQuestions {
    PictureSettings picture;
    std::string saveAs;
    bool askYesNo(const std::string&) override { return true; }
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return saveAs; }
    bool chooseNewPicture(PictureSettings& s) override { return s = picture, true; }
};

// The picture (raster mode only) and the PNG export, or the transparent one (metafile mode), after a build.
std::array<QImage, 2> Build(DProj& proj, DrawingState& st, const std::string& file) {
    FakeRedrawHost redraw;
    redraw.view = {0, 0, W, H};
    RepaintProject(proj, st, redraw, RedrawMode::Window, true);
    FakeExportHost host;
    host.chosenName = file, host.chosenFilter = 4;
    host.metaPicture = [&](Canvas& c) { PaintMetaPicture(st, redraw, c); };
    ExportState es;
    std::filesystem::remove(file);
    ExportPicture(proj, st, es, host, "", "Drawing.pel");
    return {proj.Im.PicMode == 0 ? st.DrawBitmap : QImage(), QImage(QString::fromStdString(file))};
}

// The pixels that differ by more than a shade (the colour of a transparent one does not count), all for another
// size.  Antialiased edges may differ in a hundred pixels or so by what was drawn before; a fill shows in thousands.
int Differing(QImage a, QImage b) {
    if (a.size() != b.size()) return std::max(a.width() * a.height(), b.width() * b.height()) + 1;
    a.convertTo(QImage::Format_RGBA8888_Premultiplied), b.convertTo(QImage::Format_RGBA8888_Premultiplied);
    const auto off = [&](qsizetype i) { return std::abs(a.constBits()[i] - b.constBits()[i]) > 8; };
    int n = 0;
    for (qsizetype i = 0; i < a.sizeInBytes(); i += 4) n += off(i) || off(i + 1) || off(i + 2) || off(i + 3);
    return n;
}

// The picture window as the program shows it, redrawn when the document asks; the mouse goes to its picture.
struct Mouse {
    QuietWindow quiet;
    PictureWindow win;
    Qt::MouseButtons held;
    Mouse(EditingState& st, DrawingState& draw) : win(st, draw, quiet, quiet) {
        QObject::connect(&st.Document, &EditedDocument::redrawNeeded, &win, [this] { win.redraw(false); });
        QObject::connect(&st.Document, &EditedDocument::dragChanged, &win, [&draw](bool on) { draw.NoRedraw = on; });
        win.resize(2 * W, 2 * H);
        win.SetDrawWindowMode(1);
        win.show();
    }
    void send(QEvent::Type type, QPoint at) {
        if (type != QEvent::MouseMove) held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(at), win.paintBox()->mapToGlobal(QPointF(at)), button, held, {});
        QApplication::sendEvent(win.paintBox(), &e);
    }
    // Clicked with the selection tool, then taken with the edit tool and dragged through the given places.
    void drag(QPoint from, const std::vector<QPoint>& through) {
        win.toolButton("TBSell")->trigger();
        send(QEvent::MouseButtonPress, from), send(QEvent::MouseButtonRelease, from);
        win.toolButton("TBEdit")->trigger();
        send(QEvent::MouseButtonPress, from);
        for (QPoint p : through) send(QEvent::MouseMove, p);
        send(QEvent::MouseButtonRelease, through.back());
    }
};

}  // namespace

TEST(FillPictureSession, BuiltPictureAndExportsAreThoseOfAFreshDrawing) {
    for (unsigned seed = 20261208; seed < 20261208 + 8; ++seed) {
        test::Editing e;
        DrawingState draw;
        ShellState shell;
        SessionAnswers ask;
        FileCommands files{*e, shell, ask, DocumentView{}};
        Mouse mouse(*e, draw);
        std::mt19937 rng(seed);
        std::ostringstream log;
        const std::string dir = e.dir.folder();
        e->BackPng = &draw.BackPng, shell.ProgDir = shell.settings.DocDir = dir;
        // The user's own default sets: these kinds come with their fill on, the 3D system with a shaded sphere.
        std::filesystem::create_directories(dir + "DefaultSet");
        for (Kind k : {Kind::ci, Kind::tr, Kind::kv, Kind::sf, Kind::ko, Kind::i4, Kind::xz}) {
            auto d = DefaultSetDocument(k, DefaultsSource{.programFolder = dir});
            VisitKind(k, [&](auto kc) {
                if constexpr (requires { KindT<kc.value>::store(d->Obj)[1].Fill.On; })
                    KindT<kc.value>::store(d->Obj)[1].Fill.On = true;
            });
            if (DCircle* c = k == Kind::ci ? &d->Obj.Ci[1] : nullptr)  // an ellipse, whose tilt shows
                c->B3.v = c->A3.v / 2, c->Q1 = c->Q2 = {}, UpdateCircle(*c, 0);
            if (k == Kind::xz) {
                DXZ& x = d->Obj.Xz[1];
                DOutLine& o = x.Outlines[3];
                x.Scale.v = 10, x.SurfOn[4].v = true, x.Surf[4].s = "x^2+y^2+z^2-16";
                o.On = o.GradientOn = true, o.X2 = W, o.Y2 = H, o.Colors = {0x2060F0, 0x20C040, 0xF04020};
                UpdateXYZ(x, 0);
            }
            ASSERT_TRUE(WriteDocument(DefaultSetFile(k, dir), *d, WriteModeDefaultSet, DocumentContext{}));
        }
        const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(rng); };
        for (int step = 0; step <= 18 && !HasFailure(); ++step) {
            Kind k;
            const int c = step == 0 ? 0 : pick(24);
            // Copy and paste, delete and edits work on an object chosen at random (or on the selected ones).
            const bool choose = c >= 3 && c < 13 && e->Proj->Obj.ObjTotal > 0;
            if (choose) SetCurObjIndex(*e, pick(e->Proj->Obj.ObjTotal)), SelectCurrentObject(*e, e->Dialogs, true);
            const bool chosen = choose && CurrentKind(*e, k);
            switch (c) {
                case 0:  // random objects, picture type and shading
                    log << "new-project ";
                    for (auto& n : ask.counts) n = pick(4) == 0 ? 1 + pick(2) : 0;
                    ask.counts[Slot(Kind::tr)] = ask.counts[Slot(Kind::ci)] = 1, ask.counts[Slot(Kind::xz)] = pick(2);
                    ask.picture = NewProjectSettings();
                    ask.picture.Width = W, ask.picture.Height = H, ask.picture.PicMode = pick(2);
                    ask.picture.Fill.TwoColors = pick(2), ask.picture.Fill.LightSource = 1 + pick(2);
                    files.NewProject();
                    break;
                case 1: case 2:
                    log << "new-" << InfoOf(k = Kind(1 + pick(KindCount))).code << " ";
                    NewDefaultObject(*e, k);
                    break;
                case 3: case 4: case 5: case 6: case 7: {  // the current object, or all but it selected
                    const bool paste = c < 5, selected = chosen && pick(3) == 0;
                    if (selected) SelectAllObjects(*e), DeselectCur(*e, k, e->Work->index(k));
                    log << (paste ? "paste" : "delete") << (selected ? "-selected " : " ");
                    e.questions.answers.push_back({true, selected ? (paste ? 3 : 2) : 1});
                    if (paste) CopyObjects(*e);
                    (paste ? PasteObjects : DeleteObjects)(*e);
                    std::erase(e.messages.shown, std::string(BuiltInWord(WordNo::CannotDeleteGrouped)));  // linked
                    e.questions.answers.clear();
                    SelectNone(*e);
                    break;
                }
                case 8: case 9: log << "undo "; e.edited->undo(); break;
                case 10: log << "redo "; e.edited->redo(); break;
                case 11: case 12:  // edits that change the fill and that keep it
                    if (!chosen) break;
                    VisitKind(k, [&, how = pick(4)](auto kc) {
                        auto& w = KindT<kc.value>::work(*e->Work);
                        log << "edit" << how << "(" << InfoOf(k).code << ") ";
                        if constexpr (requires { w.Fill.On; }) {
                            if (how == 0) w.Fill.On = !w.Fill.On;
                            if (how == 1) w.Fill.Colors[1] ^= 0x305070;
                            if (how == 2) w.Layer.v = 1 + pick(3);
                        }
                        if (how == 3) w.ID.s = "renamed";
                    });
                    e.edited->commit(false);
                    break;
                case 13: case 14: {  // save and reopen, or open a saved document
                    const std::string name = dir + (pick(2) ? "a.pel" : "b.pel");
                    log << (c == 13 ? "save+reopen " : "open ");
                    if (c == 13) ask.saveAs = name, files.Save(), files.OpenDocument(dir + shell.DocName);
                    else if (std::filesystem::exists(name)) files.OpenDocument(name);
                    break;
                }
                case 17: case 18: case 19: {  // an ellipse's arc start or end or its tilt, as its dialog changes them
                    if (e->Proj->Obj.Ci.count() == 0) break;
                    SetCurObjIndex(*e, ListPosition(*e->Proj, Kind::ci, 1 + pick(e->Proj->Obj.Ci.count())));
                    SelectCurrentObject(*e, e->Dialogs, true);
                    DCircle& w = e->Work->CurCircle;
                    const int how = pick(3);
                    const double angle = 5 * pick(72) - 180, arc = 5 + 5 * pick(60);
                    log << "ellipse" << how << "(" << angle << "," << arc << ") ";
                    if (how == 0) w.Arc1.v = w.Arc2.v - arc;  // the start never passes the end
                    if (how == 1) w.Arc2.v = w.Arc1.v + arc;
                    if (how == 2 && w.Tilt.e) {  // the ends of the semi-diameters turn with the tilt
                        const DPoint& o = w.Center;
                        w.Tilt.v = angle, w.Q1 = {o.X.v, o.Y.v + w.A.v, o.Z.v}, w.Q2 = {o.X.v, o.Y.v, o.Z.v + w.B.v};
                        for (auto* q : {&w.Q1, &w.Q2})
                            RotateAroundAxis((*q)[0], (*q)[1], (*q)[2], o.X.v, o.Y.v, o.Z.v, angle, 1, 0, 0);
                    }
                    e.edited->commit(false);
                    break;
                }
                case 20: case 21: case 22: {  // a point dragged with the mouse, and what is linked to it
                    DSubProj& o = e->Proj->Obj;
                    const auto carrying = [&] {  // a point that others are built on, 0 none
                        for (int i = o.Po.count(); i >= 1; --i)
                            if (o.Po[std::size_t(i)].Number == 1) return i;
                        return 0;
                    };
                    // A new point with a filled ellipse, triangle and solid built on it from the link dialog.
                    if ((c == 20 || carrying() == 0) && NewDefaultObject(*e, Kind::po)) {
                        NewLinks links{};
                        links[0].b[0] = std::uint8_t(KindNumber(Kind::po)), links[0].b[1] = std::uint8_t(o.Po.count());
                        const Kind solid = std::array{Kind::sf, Kind::ko, Kind::i4}[std::size_t(pick(3))];
                        log << "link(" << int(o.Po.count()) << ":" << InfoOf(solid).code << ") ";
                        for (Kind k : {Kind::ci, Kind::tr, solid}) ApplyNewObjectLinks(*e, k, LinkResult::Ok, links);
                    }
                    const int n = carrying();
                    if (c == 20 || n == 0) break;
                    const DPoint& p = o.Po[std::size_t(n)];
                    const auto window = [&](double x, double y) {  // a picture place, y up as in the model
                        const int z = e->Proj->Zoom, up = e->Proj->Im.Height - int(std::lround(y));
                        return QPoint(WindowCoord(int(std::lround(x)), z), WindowCoord(up, z) - 1);
                    };
                    std::vector<QPoint> through;
                    for (int m = 1 + pick(3); m > 0; --m) through.push_back(window(pick(W), pick(H)));
                    log << "drag(" << n << " to " << through.back().x() << "," << through.back().y() << ") ";
                    mouse.drag(window(p.ScrX.v, p.ScrY.v), through);
                    SelectNone(*e);
                    break;
                }
                case 23: {  // a move, turn or scaling of all objects or the current one, from the transformations
                    const int how = pick(3);
                    const std::string by = std::to_string(pick(41) - 20);
                    const std::vector<std::string> edits[] = {
                        {"0", by, by}, {"0", "100", "75", "1", "0", "0", by}, {"0", "100", "75", "1,25"}};
                    TransScope scope;
                    (pick(2) ? scope.all : scope.current) = true;
                    log << "transform" << how << "(" << by << (scope.all ? " all) " : ") ");
                    EditingTransHost host(*e);
                    const TransTab tabs[] = {TransTab::Translate, TransTab::Rotate, TransTab::Homothety};
                    ApplyTransformation(*e->Proj, tabs[how], edits[how], scope, host);
                    break;
                }
                default:  // project options: the background colour (white and light blue), picture type or shading
                    PictureSettings p = SettingsOf(*e->Proj);
                    const int how = pick(8);
                    log << "options" << how << " ";
                    if (how == 0) p.Background ^= 0x3F1F00;
                    else if (how < 3) (how == 1 ? p.PicMode : p.Fill.TwoColors) ^= 1;
                    if (how == 3) p.Fill.LightSource = 3 - p.Fill.LightSource;
                    if (how == 4) p.Fill.BorderAngle = 270 - p.Fill.BorderAngle, p.Fill.BorderPercent = 5 + pick(90);
                    if (how == 5) (pick(2) ? p.Fill.LightY : p.Fill.LightZ) = 20 * pick(30);
                    if (how > 5) (pick(2) ? p.Fill.LightDY : p.Fill.LightDZ) = pick(9) - 4;
                    StorePictureSettings(*e->Proj, p, false, e->Work);
            }
            if (pick(4) == 0) continue;  // the next command finds the fill picture stale without a build
            const auto now = Build(*e->Proj, draw, dir + "now.png");
            auto fresh = std::make_unique<DProj>(*e->Proj);
            fresh->FillValid = 0;
            DrawingState freshDraw;
            const auto drawn = Build(*fresh, freshDraw, dir + "fresh.png");
            const int picture = Differing(now[0], drawn[0]), exported = Differing(now[1], drawn[1]);
            EXPECT_TRUE(!drawn[1].isNull() && picture <= 200 && exported <= 200)
                << "seed " << seed << ", mode " << int(fresh->Im.PicMode) << ", after: " << log.str() << "(" << picture
                << " pixels of the picture and " << exported << " of the export differ)";
        }
        EXPECT_TRUE(ask.messages.empty()) << ask.messages.front();
        EXPECT_TRUE(e.messages.shown.empty()) << e.messages.shown.front();
    }
}
