#include "dialogs/apply_to_all.h"

namespace pelmar {

namespace {

// Visits the points of each record kind; f(DPoint&).
template <class F>
void Points(DPoint& p, F& f) {
    f(p);
}
template <class F>
void Points(DLine& l, F& f) {
    f(l.P1), f(l.P2), f(l.P3), f(l.P4);
}
// A radius starts at the centre: its end 1 is not visited again.
template <class F>
void RadiusPoints(DCircle& c, F& f) {
    for (std::size_t i = 1; i <= 3; ++i) f(c.R[i].P2), f(c.R[i].P3), f(c.R[i].P4);
}
template <class F>
void Points(DCircle& c, F& f) {
    f(c.Center);
    RadiusPoints(c, f);
}
// A side's end 2 is the next side's end 1.
template <class Fig, class F>
void FigurePoints(Fig& t, F& f) {
    for (std::size_t i = 1; i <= t.S.size(); ++i) f(t.S[i].P1), f(t.S[i].P3), f(t.S[i].P4);
    for (std::size_t i = 1; i <= 2; ++i) Points(t.Circ[i], f);
}
template <class F>
void Points(DTri& t, F& f) {
    FigurePoints(t, f);
    for (std::size_t i = 1; i <= 5; ++i) Points(t.Lines[i], f);
}
template <class F>
void Points(DKv& k, F& f) {
    FigurePoints(k, f);
    for (std::size_t i = 1; i <= 2; ++i) Points(k.Diag[i], f);
    f(k.Center);
}
// In solids the centres of the contour, base and section circles are not
// visited: they lie on the axis or at the sphere's centre.
template <class F>
void Points(DSf& s, F& f) {
    f(s.Center);
    RadiusPoints(s.Contour, f);
    for (auto& c : s.Sec) RadiusPoints(c, f);
}
template <class F>
void Points(DZi& z, F& f) {
    Points(z.Axis, f);
    for (auto& c : z.Base) RadiusPoints(c, f);
    for (auto& k : z.Sec) Points(k, f);
    Points(z.OutSphere, f), Points(z.InSphere, f);
}
template <class F>
void Points(DKo& k, F& f) {
    Points(k.Axis, f);
    RadiusPoints(k.Base, f);
    for (auto& t : k.Sec) Points(t, f);
    Points(k.OutSphere, f), Points(k.InSphere, f);
}
template <class B, std::size_t N, class F>
void Points(DPyramid<B, N>& p, F& f) {
    Points(p.HeightLine, f);
    for (auto& t : p.Face) Points(t, f);
    Points(p.Base, f);
    Points(p.OutSphere, f), Points(p.InSphere, f);
}
template <class B, std::size_t N, class F>
void Points(DPrism<B, N>& p, F& f) {
    for (auto& k : p.Side) Points(k, f);
    for (auto& b : p.Base) Points(b, f);
    Points(p.OutSphere, f), Points(p.InSphere, f);
}
template <class F>
void Points(DXOY& x, F& f) {
    f(x.Center);
}
template <class F>
void Points(DXZ& x, F& f) {
    f(x.Center);
}

// Visits the segments of each record kind; f(DLine&).
template <class F>
void Lines(DLine& l, F& f) {
    f(l);
}
template <class F>
void Lines(DCircle& c, F& f) {
    for (std::size_t i = 1; i <= 3; ++i) f(c.R[i]);
}
template <class Fig, class F>
void FigureLines(Fig& t, F& f) {
    for (auto& s : t.S) f(s);
    for (auto& c : t.Circ) Lines(c, f);
}
template <class F>
void Lines(DTri& t, F& f) {
    FigureLines(t, f);
    for (auto& l : t.Lines) f(l);
}
template <class F>
void Lines(DKv& k, F& f) {
    FigureLines(k, f);
    for (auto& l : k.Diag) f(l);
}
template <class F>
void Lines(DSf& s, F& f) {
    Lines(s.Contour, f);
    for (auto& c : s.Sec) Lines(c, f);
}
template <class F>
void Lines(DZi& z, F& f) {
    f(z.Axis);
    for (auto& c : z.Base) Lines(c, f);
    for (auto& k : z.Sec) Lines(k, f);
    Lines(z.OutSphere, f), Lines(z.InSphere, f);
}
template <class F>
void Lines(DKo& k, F& f) {
    f(k.Axis);
    Lines(k.Base, f);
    for (auto& t : k.Sec) Lines(t, f);
    Lines(k.OutSphere, f), Lines(k.InSphere, f);
}
template <class B, std::size_t N, class F>
void Lines(DPyramid<B, N>& p, F& f) {
    f(p.HeightLine);
    for (auto& t : p.Face) Lines(t, f);
    Lines(p.Base, f);
    Lines(p.OutSphere, f), Lines(p.InSphere, f);
}
template <class B, std::size_t N, class F>
void Lines(DPrism<B, N>& p, F& f) {
    for (auto& k : p.Side) Lines(k, f);
    for (auto& b : p.Base) Lines(b, f);
    Lines(p.OutSphere, f), Lines(p.InSphere, f);
}
template <class F>
void Lines(DXOY& x, F& f) {
    f(x.AxisX), f(x.AxisY);
}
template <class F>
void Lines(DXZ& x, F& f) {
    f(x.AxisX), f(x.AxisY), f(x.AxisZ);
}

template <class Store, class F, class Visit>
void EachIn(Store& s, F& f, Visit visit) {
    for (std::size_t i = 1; i <= s.count(); ++i) visit(s[i], f);
}

// The document's plane kinds and coordinate systems, then the working copies.
template <class F, class Visit>
void Walk(DSubProj& d, WorkingCopies& w, F& f, Visit visit) {
    EachIn(d.Po, f, visit);
    EachIn(d.Li, f, visit);
    EachIn(d.Ci, f, visit);
    EachIn(d.Tr, f, visit);
    EachIn(d.Kv, f, visit);
    EachIn(d.Xy, f, visit);
    EachIn(d.Sf, f, visit);
    EachIn(d.Zi, f, visit);
    EachIn(d.Ko, f, visit);
    EachIn(d.I3, f, visit);
    EachIn(d.I4, f, visit);
    EachIn(d.R3, f, visit);
    EachIn(d.R4, f, visit);
    EachIn(d.Xz, f, visit);
    visit(w.CurPoint, f), visit(w.CurLine, f), visit(w.CurCircle, f), visit(w.CurTri, f), visit(w.CurKv, f);
    visit(w.CurXOY, f), visit(w.CurSf, f), visit(w.CurZi, f), visit(w.CurKo, f), visit(w.CurPi3, f);
    visit(w.CurPi4, f), visit(w.CurPr3, f), visit(w.CurPr4, f), visit(w.CurXZ, f);
}

// Visits the ellipses of each record kind; f(DCircle&).
template <class F>
void Circles(DCircle& c, F& f) {
    f(c);
}
template <class F>
void Circles(DTri& t, F& f) {
    for (auto& c : t.Circ) f(c);
}
template <class F>
void Circles(DKv& k, F& f) {
    for (auto& c : k.Circ) f(c);
}
template <class F>
void Circles(DSf& s, F& f) {
    f(s.Contour);
    for (auto& c : s.Sec) f(c);
}
template <class F>
void Circles(DZi& z, F& f) {
    for (auto& c : z.Base) f(c);
    for (auto& k : z.Sec) Circles(k, f);
    Circles(z.OutSphere, f), Circles(z.InSphere, f);
}
template <class F>
void Circles(DKo& k, F& f) {
    f(k.Base);
    for (auto& t : k.Sec) Circles(t, f);
    Circles(k.OutSphere, f), Circles(k.InSphere, f);
}
template <class B, std::size_t N, class F>
void Circles(DPyramid<B, N>& p, F& f) {
    for (auto& t : p.Face) Circles(t, f);
    Circles(p.Base, f);
    Circles(p.OutSphere, f), Circles(p.InSphere, f);
}
template <class B, std::size_t N, class F>
void Circles(DPrism<B, N>& p, F& f) {
    for (auto& k : p.Side) Circles(k, f);
    for (auto& b : p.Base) Circles(b, f);
    Circles(p.OutSphere, f), Circles(p.InSphere, f);
}

}  // namespace

int ApplyToAllPoints(DSubProj& doc, WorkingCopies& work, const DPoint& tmplIn, const PointCategories& cats) {
    const DPoint tmpl = tmplIn;  // the template may be one of the visited points
    int visited = 0;
    auto f = [&](DPoint& p) {
        ++visited;
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
    };
    Walk(doc, work, f, [](auto& rec, auto& fn) {
        if constexpr (requires { Points(rec, fn); }) Points(rec, fn);
    });
    return visited;
}

int ApplyToAllLines(DSubProj& doc, WorkingCopies& work, const DLine& tmplIn, const LineCategories& cats) {
    const DLine tmpl = tmplIn;
    int visited = 0;
    auto f = [&](DLine& l) {
        ++visited;
        if (cats.thickness) l.Thick.v = tmpl.Thick.v;
        if (cats.dashes) l.Dash.v = tmpl.Dash.v, l.Gap.v = tmpl.Gap.v;
        if (cats.arrows) {
            l.Arrow1Len.v = tmpl.Arrow1Len.v, l.Arrow1Angle.v = tmpl.Arrow1Angle.v;
            l.Arrow2Len.v = tmpl.Arrow2Len.v, l.Arrow2Angle.v = tmpl.Arrow2Angle.v;
        }
    };
    Walk(doc, work, f, [](auto& rec, auto& fn) {
        if constexpr (requires { Lines(rec, fn); }) Lines(rec, fn);
    });
    return visited;
}

int ApplyToAllEllipses(DSubProj& doc, WorkingCopies& work, const DCircle& tmplIn, const EllipseCategories& cats) {
    const DCircle tmpl = tmplIn;
    int visited = 0;
    auto f = [&](DCircle& c) {
        ++visited;
        if (cats.thickness) c.Thick.v = tmpl.Thick.v;
        if (cats.dashes) c.Dash.v = tmpl.Dash.v, c.Gap.v = tmpl.Gap.v;
    };
    Walk(doc, work, f, [](auto& rec, auto& fn) {
        if constexpr (requires { Circles(rec, fn); }) Circles(rec, fn);
    });
    return visited;
}

}  // namespace pelmar
