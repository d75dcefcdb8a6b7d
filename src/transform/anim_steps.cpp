#include "transform/anim_steps.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "model/construct.h"
#include "model/geometry.h"
#include "model/update.h"

namespace pelmar {

const Formula& AnimEval::prepared(const std::string& formula) {
    auto it = cache_.find(formula);
    if (it == cache_.end()) it = cache_.emplace(formula, Formula::Prepare(formula, true, params_)).first;
    return it->second;
}

bool AnimEval::EvalAt(const std::string& formula, Ext x, Ext& value) {
    if (formula.empty()) return false;
    return prepared(formula).Calc(x, value);
}

bool AnimEval::Eval(const std::string& formula, double& value) {
    if (formula.empty()) return false;
    Ext v = 0;
    if (!prepared(formula).Calc(t, v)) {
        failed = true;
        return false;
    }
    value = static_cast<double>(v);
    return true;
}

std::string EquationParameterText(double value) {
    if (!std::isfinite(value)) return "(0)";
    // Eight decimals of the largest double and its sign fit.
    std::array<char, 330> buf{};
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, 8);
    return "(" + std::string(buf.data(), r.ptr) + ")";
}

namespace {

// Evaluates the formulas into values; which of them evaluated.
template <std::size_t N>
struct Values {
    std::array<double, N> v{};
    std::array<bool, N> ok{};
};

template <class Texts, std::size_t N = std::tuple_size_v<Texts>>
Values<N> EvalAll(const Texts& texts, AnimEval& ev) {
    Values<N> r;
    for (std::size_t i = 0; i < N; ++i) r.ok[i] = ev.Eval(texts[i], r.v[i]);
    return r;
}

void StoreIfEditable(Ed<double>& field, bool ok, double v) {
    if (ok && field.e) field.v = v;
}

std::int32_t RoundToInt32(double v) {
    const double r = Round(v);
    if (!(r > -2147483648.0)) return INT32_MIN;
    if (r > 2147483647.0) return INT32_MAX;
    return static_cast<std::int32_t>(r);
}

// The point (cx, cy + dy, cz + dz) turned about the depth axis through the
// centre by the tilt; its Y and Z go into q.
void TiltedOutlinePoint(std::array<double, 3>& q, const DPoint& c, double dy, double dz, double tilt) {
    double x = c.X.v, y = c.Y.v + dy, z = c.Z.v + dz;
    RotateAroundAxis(x, y, z, c.X.v, c.Y.v, c.Z.v, tilt, 1, 0, 0);
    q[1] = y;
    q[2] = z;
}

// Moves q along its direction from the centre to the distance r; a point on
// the centre stays.
void ToDistance(std::array<double, 3>& q, const DPoint& c, double r) {
    const Ext dx = q[0] - static_cast<Ext>(c.X.v), dy = q[1] - static_cast<Ext>(c.Y.v),
              dz = q[2] - static_cast<Ext>(c.Z.v);
    const Ext len = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (len == 0) return;
    q[0] = static_cast<double>(c.X.v + dx / len * r);
    q[1] = static_cast<double>(c.Y.v + dy / len * r);
    q[2] = static_cast<double>(c.Z.v + dz / len * r);
}

// Every "$" of text replaced by rep.
void ReplaceDollars(std::string& text, const std::string& rep) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '$')
            out += rep;
        else
            out += c;
    }
    text.swap(out);
}

// The steps: each evaluates the formulas of an object and of its parts and
// stores the values that evaluated.  They recompute nothing: the object as a
// whole is recomputed once afterwards, as the still of the values it now
// holds, parts included (SetTime...).  A part recomputed on its own would
// work from what its parent has not placed yet, and keep it where the parent
// does not place it again.

void StepPo(DPoint& p, AnimEval& ev) {
    const auto f = EvalAll(p.Anim, ev);
    StoreIfEditable(p.X, f.ok[0], f.v[0]);
    StoreIfEditable(p.Y, f.ok[1], f.v[1]);
    StoreIfEditable(p.Z, f.ok[2], f.v[2]);
    if (f.ok[3] && p.LabelAngle.e) p.LabelAngle.v = RoundToInt32(f.v[3]);
    ProjectPoint(p);
}

void StepLi(DLine& l, AnimEval& ev) {
    StepPo(l.P1, ev);
    StepPo(l.P2, ev);
}

// The outline points move with the centre, and are placed again from the
// semi-axes and tilt that their formulas set.
void StepCi(DCircle& c, AnimEval& ev) {
    const double x0 = c.Center.X.v, y0 = c.Center.Y.v, z0 = c.Center.Z.v;
    StepPo(c.Center, ev);
    const double d[3] = {c.Center.X.v - x0, c.Center.Y.v - y0, c.Center.Z.v - z0};
    for (int i = 0; i < 3; ++i) {
        c.Q1[static_cast<std::size_t>(i)] += d[i];
        c.Q2[static_cast<std::size_t>(i)] += d[i];
    }
    const auto f = EvalAll(c.Anim, ev);
    const bool a = f.ok[0] && c.A.e, b = f.ok[1] && c.B.e, tilt = f.ok[2] && c.Tilt.e;
    if (a) c.A.v = f.v[0];
    if (b) c.B.v = f.v[1];
    if (tilt) c.Tilt.v = f.v[2];
    StoreIfEditable(c.Arc1, f.ok[3], f.v[3]);
    StoreIfEditable(c.Arc2, f.ok[4], f.v[4]);
    for (std::size_t k = 1; k <= 3; ++k) StoreIfEditable(c.R[k].Angle, f.ok[4 + k], f.v[4 + k]);
    if (a || tilt) TiltedOutlinePoint(c.Q1, c.Center, c.A.v, 0, c.Tilt.v);
    if (b || tilt) TiltedOutlinePoint(c.Q2, c.Center, 0, c.B.v, c.Tilt.v);
}

void StepTr(DTri& t, AnimEval& ev) {
    for (std::size_t i = 1; i <= 3; ++i) StepPo(t.S[i].P1, ev);
    for (std::size_t i = 1; i <= 2; ++i) StepCi(t.Circ[i], ev);
}

void StepKv(DKv& k, AnimEval& ev) {
    for (std::size_t i = 1; i <= 4; ++i) StepPo(k.S[i].P1, ev);
    for (std::size_t i = 1; i <= 2; ++i) StepCi(k.Circ[i], ev);
}

void StepSf(DSf& s, AnimEval& ev) {
    StepPo(s.Center, ev);
    double r = 0;
    if (ev.Eval(s.Anim, r)) s.Radius.v = r;
    for (std::size_t i = 1; i <= 7; ++i)
        if (s.SecOn[i].v) StepCi(s.Sec[i], ev);
    if (s.ContourOn.v) StepCi(s.Contour, ev);
}

// Height, radius and the two additional sections of a cylinder or cone;
// whether the height was set.
template <class Body>
bool StepRoundBody(Body& b, DCircle& base, AnimEval& ev) {
    const auto f = EvalAll(b.Anim, ev);
    if (f.ok[0]) {
        b.Axis.Length.v = f.v[0];
        SetLineLength(b.Axis);
    }
    if (f.ok[1]) {
        b.Radius.v = f.v[1];
        ToDistance(base.Q1, base.Center, f.v[1]);
        ToDistance(base.Q2, base.Center, f.v[1]);
    }
    if (f.ok[2]) b.SecPos1.v = f.v[2];
    if (f.ok[3]) b.SecPos2.v = f.v[3];
    return f.ok[0];
}

template <class Body>
void StepSpheres(Body& b, AnimEval& ev) {
    if (b.OutSphereOn.v) StepSf(b.OutSphere, ev);
    if (b.InSphereOn.v) StepSf(b.InSphere, ev);
}

void StepFigure(DTri& t, AnimEval& ev) { StepTr(t, ev); }
void StepFigure(DKv& k, AnimEval& ev) { StepKv(k, ev); }

template <class P>
void StepPyramid(P& p, AnimEval& ev) {
    StepFigure(p.Base, ev);
    StepLi(p.HeightLine, ev);
    double h = 0;
    if (ev.Eval(p.Anim, h)) {
        p.HeightLine.Length.v = h;
        SetLineLength(p.HeightLine);
    }
    for (std::size_t i = 1; i <= p.Face.size(); ++i) StepTr(p.Face[i], ev);
    StepSpheres(p, ev);
}

template <class P>
void StepPrism(P& p, AnimEval& ev) {
    StepFigure(p.Base[1], ev);
    const auto f = EvalAll(p.Anim, ev);
    StoreIfEditable(p.EdgeX, f.ok[0], f.v[0]);
    StoreIfEditable(p.EdgeY, f.ok[1], f.v[1]);
    StoreIfEditable(p.EdgeZ, f.ok[2], f.v[2]);
    StepFigure(p.Base[2], ev);
    for (std::size_t i = 1; i <= p.Side.size(); ++i) StepKv(p.Side[i], ev);
    StepSpheres(p, ev);
}

void StepXY(DXOY& x, AnimEval& ev) {
    StepPo(x.Center, ev);
    StepLi(x.AxisX, ev);
    StepLi(x.AxisY, ev);

    // The 18 bounds: graph, formula array, the value it drives.
    struct Bound {
        std::size_t graph, text;
        Ed<double>* field;
    };
    const Bound bounds[18] = {
        {1, 0, &x.Bounds[1][0]}, {1, 1, &x.Bounds[1][1]}, {1, 2, &x.Bounds[1][2]}, {1, 3, &x.Bounds[1][3]},
        {2, 0, &x.Bounds[2][0]}, {2, 1, &x.Bounds[2][1]}, {2, 2, &x.Bounds[2][2]}, {2, 3, &x.Bounds[2][3]},
        {3, 0, &x.Polar[1][0]},  {3, 1, &x.Polar[1][1]},  {4, 0, &x.Polar[2][0]},  {4, 1, &x.Polar[2][1]},
        {5, 0, &x.ParA},         {5, 1, &x.ParB},         {6, 0, &x.Bounds[3][0]}, {6, 1, &x.Bounds[3][1]},
        {6, 2, &x.Bounds[3][2]}, {6, 3, &x.Bounds[3][3]}};
    std::array<double, 18> bv{};
    std::array<bool, 18> bok{};
    for (std::size_t i = 0; i < 18; ++i) bok[i] = ev.Eval(x.Texts[bounds[i].text][bounds[i].graph], bv[i]);
    std::array<std::array<double, 5>, 7> mv{};
    std::array<std::array<bool, 5>, 7> mok{};
    for (std::size_t g = 1; g <= 6; ++g)
        for (std::size_t a = 0; a < 5; ++a) mok[g][a] = ev.Eval(x.Texts[4 + a][g], mv[g][a]);
    std::array<double, 8> pv{};
    std::array<bool, 8> pok{};
    for (std::size_t k = 1; k <= 7; ++k) pok[k] = ev.Eval(x.Texts7[k], pv[k]);

    bool implicitChanged = false;  // the implicit graph (slot 6) must be traced again
    for (std::size_t i = 0; i < 18; ++i)
        if (bok[i]) {
            bounds[i].field->v = bv[i];
            implicitChanged = implicitChanged || bounds[i].graph == 6;
        }
    for (std::size_t g = 1; g <= 6; ++g) {
        DGraphMove& m = x.Move[g];
        Ed<double>* fields[5] = {&m.Angle, &m.CX, &m.CY, &m.DX, &m.DY};
        for (std::size_t a = 0; a < 5; ++a)
            if (mok[g][a]) {
                fields[a]->v = mv[g][a];
                implicitChanged = implicitChanged || g == 6;
            }
    }
    for (std::size_t k = 1; k <= 7; ++k) {
        if (!pok[k]) continue;
        const std::string rep = EquationParameterText(pv[k]);
        ReplaceDollars(k <= 6 ? x.Graph[k].s : x.Graph2.s, rep);
        implicitChanged = implicitChanged || k == 6;
    }
    if (implicitChanged) x.Curves.Valid = 0;
}

void StepZi(DZi& z, AnimEval& ev) {
    StepCi(z.Base[1], ev);
    StepLi(z.Axis, ev);
    if (StepRoundBody(z, z.Base[1], ev)) {
        z.Base[2].Center.X.v = z.Axis.P2.X.v;
        z.Base[2].Center.Y.v = z.Axis.P2.Y.v;
        z.Base[2].Center.Z.v = z.Axis.P2.Z.v;
    }
    StepCi(z.Base[2], ev);
    for (std::size_t i = 1; i <= 4; ++i) StepKv(z.Sec[i], ev);
    StepSpheres(z, ev);
}

void StepKo(DKo& k, AnimEval& ev) {
    StepCi(k.Base, ev);
    StepLi(k.Axis, ev);
    StepRoundBody(k, k.Base, ev);
    for (std::size_t i = 1; i <= 4; ++i) StepTr(k.Sec[i], ev);
    StepSpheres(k, ev);
}

void StepXZ(DXZ& x, AnimEval& ev) {
    StepPo(x.Center, ev);
    StepLi(x.AxisX, ev);
    StepLi(x.AxisY, ev);
    StepLi(x.AxisZ, ev);
    std::array<std::array<double, 10>, 5> v{};
    std::array<std::array<bool, 10>, 5> ok{};
    for (std::size_t s = 1; s <= 4; ++s)
        for (std::size_t a = 0; a < 10; ++a) ok[s][a] = ev.Eval(x.Texts[a][s], v[s][a]);
    const auto bounds = EvalAll(x.BoundTexts, ev);
    for (std::size_t s = 1; s <= 4; ++s) {
        DGraphMove& m = x.Move[s];
        Ed<double>* fields[10] = {&m.Angle, &m.CX, &m.CY, &m.CZ, &m.NX, &m.NY, &m.NZ, &m.DX, &m.DY, &m.DZ};
        for (std::size_t a = 0; a < 10; ++a)
            if (ok[s][a]) fields[a]->v = v[s][a];
    }
    if (bounds.ok[0]) x.ParT1.v = bounds.v[0];
    if (bounds.ok[1]) x.ParT2.v = bounds.v[1];
}

}  // namespace

void SetTimePo(DPoint& p, AnimEval& ev) {
    StepPo(p, ev);
    UpdateAsStill(p);
}

void SetTimeLi(DLine& l, AnimEval& ev) {
    StepLi(l, ev);
    UpdateAsStill(l);
}

void SetTimeCi(DCircle& c, AnimEval& ev) {
    StepCi(c, ev);
    UpdateAsStill(c);
}

void SetTimeTr(DTri& t, AnimEval& ev) {
    StepTr(t, ev);
    UpdateAsStill(t);
}

void SetTimeKv(DKv& k, AnimEval& ev) {
    StepKv(k, ev);
    UpdateAsStill(k);
}

void SetTimeXY(DXOY& x, AnimEval& ev) {
    StepXY(x, ev);
    UpdateAsStill(x);
}

void SetTimeSf(DSf& s, AnimEval& ev) {
    StepSf(s, ev);
    UpdateAsStill(s);
}

void SetTimeZi(DZi& z, AnimEval& ev) {
    StepZi(z, ev);
    UpdateAsStill(z);
}

void SetTimeKo(DKo& k, AnimEval& ev) {
    StepKo(k, ev);
    UpdateAsStill(k);
}

void SetTimePi3(DPi3& p, AnimEval& ev) {
    StepPyramid(p, ev);
    UpdateAsStill(p);
}

void SetTimePi4(DPi4& p, AnimEval& ev) {
    StepPyramid(p, ev);
    UpdateAsStill(p);
}

void SetTimePr3(DPr3& p, AnimEval& ev) {
    StepPrism(p, ev);
    UpdateAsStill(p);
}

void SetTimePr4(DPr4& p, AnimEval& ev) {
    StepPrism(p, ev);
    UpdateAsStill(p);
}

void SetTimeXZ(DXZ& x, AnimEval& ev) {
    StepXZ(x, ev);
    UpdateAsStill(x);
}

void SetTimeAll(DProj& doc, AnimEval& ev) {
    DSubProj& o = doc.Obj;
    auto each = [&](auto& store, auto step) {
        for (std::size_t i = 1; i <= store.count(); ++i) step(store[i], ev);
    };
    each(o.Po, SetTimePo);
    each(o.Li, SetTimeLi);
    each(o.Ci, SetTimeCi);
    each(o.Tr, SetTimeTr);
    each(o.Kv, SetTimeKv);
    each(o.Xy, SetTimeXY);
    each(o.Sf, SetTimeSf);
    each(o.Zi, SetTimeZi);
    each(o.Ko, SetTimeKo);
    each(o.I3, SetTimePi3);
    each(o.I4, SetTimePi4);
    each(o.R3, SetTimePr3);
    each(o.R4, SetTimePr4);
    each(o.Xz, SetTimeXZ);
}

}  // namespace pelmar
