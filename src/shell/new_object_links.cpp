#include "shell/new_object_links.h"

#include "model/defining_points.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"
#include "model/links.h"
#include "model/translate.h"
#include "model/update.h"

namespace pelmar {

namespace {

struct Move {
    double dx = 0, dy = 0, dz = 0;
};

Move Between(const DPoint& from, const DPoint& to) { return {to.X.v - from.X.v, to.Y.v - from.Y.v, to.Z.v - from.Z.v}; }

void Shift(std::array<double, 3>& q, const Move& m) {
    q[0] += m.dx;
    q[1] += m.dy;
    q[2] += m.dz;
}

// Links the defining points in order; returns the move of the first one.
template <class R>
Move LinkPoints(const DProj& doc, R& rec, const std::vector<DLink>& links) {
    std::size_t i = 0;
    Move first;
    ForEachDefiningPoint(rec, [&](DPoint& p) {
        if (i < links.size() && links[i].linked()) {
            const DPoint before = p;
            p.Link = links[i];
            ResolveLink(doc, p, p.Link);
            if (i == 0) first = Between(before, p);
        }
        ++i;
    });
    return first;
}

void Update(DPoint& r) { UpdatePoint(r, 0); }
void Update(DLine& r) { UpdateLine(r, 0); }
void Update(DCircle& r) { UpdateCircle(r, 0); }
void Update(DTri& r) { UpdateTriangle(r, 0, false); }
void Update(DKv& r) { UpdateTetragon(r, 0, false); }
void Update(DXOY& r) { UpdateXOY(r, 0); }
void Update(DSf& r) { UpdateOrb(r, 0); }
void Update(DPi3& r) { UpdatePyramid3(r, 0); }
void Update(DPi4& r) { UpdatePyramid4(r, 0); }
void Update(DPr3& r) { UpdatePrism3(r, 0); }
void Update(DPr4& r) { UpdatePrism4(r, 0); }
void Update(DXZ& r) { UpdateXYZ(r, 0); }

template <class R>
void Apply(const DProj& doc, R& rec, const std::vector<DLink>& links) {
    if constexpr (std::is_same_v<R, DZi> || std::is_same_v<R, DKo>) {
        // The body keeps its shape and moves so that its base centre sits on
        // the linked point; the link is kept in that centre.
        DPoint& centre = [&]() -> DPoint& {
            if constexpr (std::is_same_v<R, DZi>) return rec.Base[1].Center;
            else return rec.Base.Center;
        }();
        if (links.empty() || !links[0].linked()) return;
        DPoint target = centre;
        ResolveLink(doc, target, links[0]);
        const Move m = Between(centre, target);
        if constexpr (std::is_same_v<R, DZi>) TranslateCylinder(rec, m.dx, m.dy, m.dz);
        else TranslateCone(rec, m.dx, m.dy, m.dz);
        centre.Link = links[0];
    } else {
        const Move m = LinkPoints(doc, rec, links);
        if constexpr (std::is_same_v<R, DCircle>) {
            Shift(rec.Q1, m);
            Shift(rec.Q2, m);
        } else if constexpr (std::is_same_v<R, DSf>) {
            // The centre has moved already: the circles follow it.
            TranslateCircle(rec.Contour, m.dx, m.dy, m.dz);
            for (int i = 1; i <= 7; ++i) TranslateCircle(rec.Sec[i], m.dx, m.dy, m.dz);
        }
        Update(rec);
    }
}

}  // namespace

int NewObjectLinkCount(Kind k) {
    return VisitKind(k, [](auto kc) {
        typename KindT<decltype(kc)::value>::Rec rec{};
        int n = 0;
        ForEachDefiningPoint(rec, [&](DPoint&) { ++n; });
        return n;
    });
}

void ApplyNewObjectLinks(EditingState& st, Kind k, const std::vector<DLink>& links) {
    DProj& doc = *st.Proj;
    VisitKind(k, [&](auto kc) {
        constexpr Kind K = decltype(kc)::value;
        auto& store = KindT<K>::store(doc.Obj);
        if (store.count() == 0) return;
        auto& stored = store[store.count()];
        auto& work = KindT<K>::work(st.Copies);
        const int number = MaxObjectNumber(doc) + 1;
        stored.Number = number;
        work.Number = number;
        Apply(doc, stored, links);
        Apply(doc, work, links);
        st.Dialogs.Fill(work);
    });
    st.Redraw->Redraw();
}

}  // namespace pelmar
