#include "dialogs/apply_to_all.h"

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
    for (std::size_t i = 1; i <= s.count(); ++i) Visit(s[i], v), done(s[i]);
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
// recompute when they are next applied.
template <template <class> class V, class R, class Copy>
int CopyToAll(DSubProj& doc, WorkingCopies& work, const R& tmplIn, Copy copy) {
    const R tmpl = tmplIn;  // the template may be one of the visited records
    int visited = 0, before = 0;
    auto f = [&](R& r) { ++visited, copy(r, tmpl); };
    auto done = [&](auto& object) {
        if (visited != before) UpdateAsRead(object);
        before = visited;
    };
    Walk(doc, work, V<decltype(f)>{f}, done);
    return visited;
}

}  // namespace

namespace {

// The style fields of each kind the categories choose, handed to op(field,
// the template's field): one list serves the copy and the comparison.
template <class Op>
void PointFields(DPoint& p, const DPoint& t, const PointCategories& c, Op&& op) {
    if (c.type) op(p.Typ.v, t.Typ.v), op(p.Radius.v, t.Radius.v), op(p.Thick.v, t.Thick.v);
    if (c.nameFont) {
        op(p.NameFont.s, t.NameFont.s);
        op(p.NameBold.v, t.NameBold.v), op(p.NameItalic.v, t.NameItalic.v), op(p.NameSize.v, t.NameSize.v);
    }
    if (c.indexFont) {
        op(p.IndexFont.s, t.IndexFont.s);
        op(p.IndexBold.v, t.IndexBold.v), op(p.IndexItalic.v, t.IndexItalic.v), op(p.IndexSize.v, t.IndexSize.v);
    }
    if (c.labelRadius) op(p.LabelDist.v, t.LabelDist.v);
}

template <class Op>
void LineFields(DLine& l, const DLine& t, const LineCategories& c, Op&& op) {
    if (c.thickness) op(l.Thick.v, t.Thick.v);
    if (c.dashes) op(l.Dash.v, t.Dash.v), op(l.Gap.v, t.Gap.v);
    if (c.arrows) {
        op(l.Arrow1Len.v, t.Arrow1Len.v), op(l.Arrow1Angle.v, t.Arrow1Angle.v);
        op(l.Arrow2Len.v, t.Arrow2Len.v), op(l.Arrow2Angle.v, t.Arrow2Angle.v);
    }
}

template <class Op>
void EllipseFields(DCircle& e, const DCircle& t, const EllipseCategories& c, Op&& op) {
    if (c.thickness) op(e.Thick.v, t.Thick.v);
    if (c.dashes) op(e.Dash.v, t.Dash.v), op(e.Gap.v, t.Gap.v);
}

const auto Assign = [](auto& field, const auto& from) { field = from; };

// Whether the walk would change an object of the document, as its file
// holds it: each object is walked and recomputed on a copy of its own, as
// CopyToAll does, and compared.  The working copies follow the document's
// objects, and are committed only after a walk that changed one.
template <template <class> class V, class R, class Copy>
bool WouldChange(const DSubProj& d, const R& tmpl, Copy copy) {
    bool changes = false;
    auto each = [&](const auto& store) {
        for (std::size_t i = 1; i <= store.count() && !changes; ++i) {
            auto trial = store[i];
            int visited = 0;
            auto f = [&](R& r) { ++visited, copy(r, tmpl); };
            V<decltype(f)> v{f};
            Visit(trial, v);
            if (visited == 0) continue;
            UpdateAsRead(trial);
            changes = !ObjectsWriteAlike(store[i], trial);
        }
    };
    each(d.Po), each(d.Li), each(d.Ci), each(d.Tr), each(d.Kv), each(d.Xy), each(d.Sf);
    each(d.Zi), each(d.Ko), each(d.I3), each(d.I4), each(d.R3), each(d.R4), each(d.Xz);
    return changes;
}

}  // namespace

int ApplyToAllPoints(DSubProj& doc, WorkingCopies& work, const DPoint& tmplIn, const PointCategories& cats) {
    return CopyToAll<PointVisitor>(doc, work, tmplIn,
                                   [&cats](DPoint& p, const DPoint& t) { PointFields(p, t, cats, Assign); });
}

int ApplyToAllLines(DSubProj& doc, WorkingCopies& work, const DLine& tmplIn, const LineCategories& cats) {
    return CopyToAll<LineVisitor>(doc, work, tmplIn,
                                  [&cats](DLine& l, const DLine& t) { LineFields(l, t, cats, Assign); });
}

int ApplyToAllEllipses(DSubProj& doc, WorkingCopies& work, const DCircle& tmplIn, const EllipseCategories& cats) {
    return CopyToAll<EllipseVisitor>(doc, work, tmplIn,
                                     [&cats](DCircle& c, const DCircle& t) { EllipseFields(c, t, cats, Assign); });
}

bool ApplyToAllPointsChanges(const DSubProj& doc, const DPoint& tmpl, const PointCategories& cats) {
    return WouldChange<PointVisitor>(doc, tmpl, [&cats](DPoint& p, const DPoint& t) { PointFields(p, t, cats, Assign); });
}

bool ApplyToAllLinesChanges(const DSubProj& doc, const DLine& tmpl, const LineCategories& cats) {
    return WouldChange<LineVisitor>(doc, tmpl, [&cats](DLine& l, const DLine& t) { LineFields(l, t, cats, Assign); });
}

bool ApplyToAllEllipsesChanges(const DSubProj& doc, const DCircle& tmpl, const EllipseCategories& cats) {
    return WouldChange<EllipseVisitor>(doc, tmpl,
                                       [&cats](DCircle& c, const DCircle& t) { EllipseFields(c, t, cats, Assign); });
}

}  // namespace pelmar
