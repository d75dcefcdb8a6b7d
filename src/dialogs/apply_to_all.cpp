#include "dialogs/apply_to_all.h"

#include <functional>
#include <memory>

#include "files/document.h"
#include "model/update.h"

namespace pelmar {

namespace {

// One walk serves the points, segments and ellipses: a visitor says what it
// takes of a point, a segment and an ellipse, of a figure's side, of a circle
// centred on a solid's axis and of a coordinate system's axis.  Shared points
// are visited once: a side's end 2 is the next side's end 1, a radius starts
// at the centre, and an axis-centred circle's centre lies on the axis or at
// the sphere's centre.
template <class F>
struct PointVisitor {
    F& f;
    void point(DPoint& p) { f(p); }
    void line(DLine& l) { f(l.P1), f(l.P2), f(l.P3), f(l.P4); }
    void side(DLine& s) { f(s.P1), f(s.P3), f(s.P4); }
    void circle(DCircle& c) { f(c.Center), onAxis(c); }
    void onAxis(DCircle& c) {
        for (auto& r : c.R) f(r.P2), f(r.P3), f(r.P4);
    }
    void axis(DLine&) {}
};
template <class F>
struct LineVisitor {
    F& f;
    void point(DPoint&) {}
    void line(DLine& l) { f(l); }
    void side(DLine& s) { f(s); }
    void circle(DCircle& c) {
        for (auto& r : c.R) f(r);
    }
    void onAxis(DCircle& c) { circle(c); }
    void axis(DLine& l) { f(l); }
};
template <class F>
struct EllipseVisitor {
    F& f;
    void point(DPoint&) {}
    void line(DLine&) {}
    void side(DLine&) {}
    void circle(DCircle& c) { f(c); }
    void onAxis(DCircle& c) { f(c); }
    void axis(DLine&) {}
};

template <class V>
void Visit(DPoint& p, V& v) { v.point(p); }
template <class V>
void Visit(DLine& l, V& v) { v.line(l); }
template <class V>
void Visit(DCircle& c, V& v) { v.circle(c); }
template <class V>
void Visit(DTri& t, V& v) {
    for (auto& s : t.S) v.side(s);
    for (auto& c : t.Circ) v.circle(c);
    for (auto& l : t.Lines) v.line(l);
}
template <class V>
void Visit(DKv& k, V& v) {
    for (auto& s : k.S) v.side(s);
    for (auto& c : k.Circ) v.circle(c);
    for (auto& l : k.Diag) v.line(l);
    v.point(k.Center);
}
template <class V>
void Visit(DSf& s, V& v) {
    v.point(s.Center);
    v.onAxis(s.Contour);
    for (auto& c : s.Sec) v.onAxis(c);
}
template <class V>
void Visit(DZi& z, V& v) {
    v.line(z.Axis);
    for (auto& c : z.Base) v.onAxis(c);
    for (auto& k : z.Sec) Visit(k, v);
    Visit(z.OutSphere, v), Visit(z.InSphere, v);
}
template <class V>
void Visit(DKo& k, V& v) {
    v.line(k.Axis);
    v.onAxis(k.Base);
    for (auto& t : k.Sec) Visit(t, v);
    Visit(k.OutSphere, v), Visit(k.InSphere, v);
}
template <class B, std::size_t N, class V>
void Visit(DPyramid<B, N>& p, V& v) {
    v.line(p.HeightLine);
    for (auto& t : p.Face) Visit(t, v);
    Visit(p.Base, v);
    Visit(p.OutSphere, v), Visit(p.InSphere, v);
}
template <class B, std::size_t N, class V>
void Visit(DPrism<B, N>& p, V& v) {
    for (auto& k : p.Side) Visit(k, v);
    for (auto& b : p.Base) Visit(b, v);
    Visit(p.OutSphere, v), Visit(p.InSphere, v);
}
template <class V>
void Visit(DXOY& x, V& v) {
    v.point(x.Center);
    v.axis(x.AxisX), v.axis(x.AxisY);
}
template <class V>
void Visit(DXZ& x, V& v) {
    v.point(x.Center);
    v.axis(x.AxisX), v.axis(x.AxisY), v.axis(x.AxisZ);
}

// `done(object)` follows the visit of each object of the document.
template <class Store, class V, class Done>
void EachIn(Store& s, V& v, Done& done) {
    for (std::size_t i = 1; i <= s.count(); ++i) {
        const auto old = s[i];
        Visit(s[i], v);
        done(old, s[i]);
    }
}

// The document's plane kinds and coordinate systems, then the working copies.
template <class V, class Done>
void Walk(DSubProj& d, WorkingCopies& w, V v, Done done) {
    EachIn(d.Po, v, done), EachIn(d.Li, v, done), EachIn(d.Ci, v, done), EachIn(d.Tr, v, done);
    EachIn(d.Kv, v, done), EachIn(d.Xy, v, done), EachIn(d.Sf, v, done), EachIn(d.Zi, v, done);
    EachIn(d.Ko, v, done), EachIn(d.I3, v, done), EachIn(d.I4, v, done), EachIn(d.R3, v, done);
    EachIn(d.R4, v, done), EachIn(d.Xz, v, done);
    Visit(w.CurPoint, v), Visit(w.CurLine, v), Visit(w.CurCircle, v), Visit(w.CurTri, v), Visit(w.CurKv, v);
    Visit(w.CurXOY, v), Visit(w.CurSf, v), Visit(w.CurZi, v), Visit(w.CurKo, v), Visit(w.CurPi3, v);
    Visit(w.CurPi4, v), Visit(w.CurPr3, v), Visit(w.CurPr4, v), Visit(w.CurXZ, v);
}

// `copy(record, template)` on every record the visitor V takes; how many.
// An object of the document with a part written is then recomputed as a
// reopened file recomputes it: some of what was copied belongs to the object
// rather than to the part (a coordinate system's axes, a figure's sides and a
// solid's faces take the object's thickness), and the stored document must be
// what a save and a reopening make of it.  The working copies take the same
// recompute when they are next applied.  The walk runs on copies: only when
// it changes an object as its file holds it does `before` run and the
// document and the working copies take the copies' place.
template <template <class> class V, class R, class Copy>
int CopyToAll(DSubProj& doc, WorkingCopies& work, const R& tmplIn, Copy copy, const std::function<void()>& before) {
    const R tmpl = tmplIn;  // the template may be one of the visited records
    auto newDoc = std::make_unique<DSubProj>(doc);
    auto newWork = std::make_unique<WorkingCopies>(work);
    int visited = 0, seen = 0;
    bool changes = false;
    auto f = [&](R& r) { ++visited, copy(r, tmpl); };
    auto done = [&](const auto& old, auto& object) {
        if (visited == seen) return;
        seen = visited;
        UpdateAsRead(object);
        changes = changes || !ObjectsWriteAlike(old, object);
    };
    Walk(*newDoc, *newWork, V<decltype(f)>{f}, done);
    if (!changes) return visited;
    if (before) before();
    doc = std::move(*newDoc);
    work = std::move(*newWork);
    return visited;
}

}  // namespace

int ApplyToAllPoints(DSubProj& doc, WorkingCopies& work, const DPoint& tmplIn, const PointCategories& cats,
                     const std::function<void()>& before) {
    return CopyToAll<PointVisitor>(doc, work, tmplIn, [&cats](DPoint& p, const DPoint& tmpl) {
        if (cats.type) p.Typ.v = tmpl.Typ.v, p.Radius.v = tmpl.Radius.v, p.Thick.v = tmpl.Thick.v;
        if (cats.nameFont) {
            p.NameFont.s = tmpl.NameFont.s;
            p.NameBold.v = tmpl.NameBold.v, p.NameItalic.v = tmpl.NameItalic.v, p.NameSize.v = tmpl.NameSize.v;
        }
        if (cats.indexFont) {
            p.IndexFont.s = tmpl.IndexFont.s;
            p.IndexBold.v = tmpl.IndexBold.v, p.IndexItalic.v = tmpl.IndexItalic.v, p.IndexSize.v = tmpl.IndexSize.v;
        }
        if (cats.labelRadius) p.LabelDist.v = tmpl.LabelDist.v;
    }, before);
}

int ApplyToAllLines(DSubProj& doc, WorkingCopies& work, const DLine& tmplIn, const LineCategories& cats,
                    const std::function<void()>& before) {
    return CopyToAll<LineVisitor>(doc, work, tmplIn, [&cats](DLine& l, const DLine& tmpl) {
        if (cats.thickness) l.Thick.v = tmpl.Thick.v;
        if (cats.dashes) l.Dash.v = tmpl.Dash.v, l.Gap.v = tmpl.Gap.v;
        if (cats.arrows) {
            l.Arrow1Len.v = tmpl.Arrow1Len.v, l.Arrow1Angle.v = tmpl.Arrow1Angle.v;
            l.Arrow2Len.v = tmpl.Arrow2Len.v, l.Arrow2Angle.v = tmpl.Arrow2Angle.v;
        }
    }, before);
}

int ApplyToAllEllipses(DSubProj& doc, WorkingCopies& work, const DCircle& tmplIn, const EllipseCategories& cats,
                       const std::function<void()>& before) {
    return CopyToAll<EllipseVisitor>(doc, work, tmplIn, [&cats](DCircle& c, const DCircle& tmpl) {
        if (cats.thickness) c.Thick.v = tmpl.Thick.v;
        if (cats.dashes) c.Dash.v = tmpl.Dash.v, c.Gap.v = tmpl.Gap.v;
    }, before);
}

}  // namespace pelmar
