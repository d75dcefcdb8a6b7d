// What the triangle and tetragon dialogs share: the working copy, the two
// pages, the head and the vertex rows; a moved vertex, a typed angle, side
// length or height reshaping the figure through its kind's rules; the words
// of the captions, the tab texts and the projection mark.
#pragma once

#include <QTabWidget>
#include <QStringList>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <utility>

#include "dialogs/number_text.h"
#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/num_edit.h"
#include "drawing/word_lines.h"
#include "model/coord_limit.h"
#include "model/figure_reshape.h"
#include "model/units.h"

namespace pelmar {

template <class R, std::size_t N>
class FigureDialog : public RecordDialog<R> {
public:
    // Selects the page shown (1 or 2).
    void showPage(int page) { PageControl1->setCurrentIndex(page == 2 ? 1 : 0); }
    int page() const { return PageControl1->currentIndex() + 1; }

    void applyWords(const WordTable& words) override {
        RecordDialog<R>::applyWords(words);
        putWords(words);
        this->fitContent();  // the words may need more room than the design size
        updateHints();
    }

    QTabWidget* PageControl1;

protected:
    // The figure's rules: a vertex's picture place, a vertex's angle, a
    // side's length (all 1-based), the height; nothing for a shape the figure
    // cannot take.
    struct Rules {
        R (*vertex)(R, int, bool, double);
        std::optional<R> (*angle)(R, int, double);
        std::optional<R> (*side)(R, int, double);
        std::optional<R> (*height)(R, double);
    };

    // words: the captions and items; tabs: the two tab texts' patterns.
    FigureDialog(R& work, QSize size, DialogDocument& doc, DialogCommit& commit, QWidget* parent,
                 const char* name, const QString& pathName, std::span<const WordTarget> words,
                 std::array<const char*, 2> tabs)
        : RecordDialog<R>(size, 433, doc, commit, parent), w_(work), words_(words), tabs_(tabs) {
        this->setObjectName(name);
        pages_ = BuildTwoPages(this->body(), QString(), QString(), pathName);
        PageControl1 = pages_.tabs;
    }

    // The built-in words until a session puts its own (applyWords): called
    // once the controls are built.
    void putBuiltInWords() {
        putWords(BuiltInWords());
        this->fitContent();
    }

    // The head and the vertex rows.  A vertex's picture coordinates are
    // taken as they are typed where the figure keeps them and moves no other
    // vertex; where its type moves other vertices, the number waits until
    // the user is done.  A typed angle, side length or height reshapes the
    // figure when the user is done with it; a value the figure cannot take
    // leaves the record as it was, and a tip says why.
    void connectFigure(TNumEdit* height, Rules rules) {
        this->watchAlways(head_.id, [this](const QString& t) { w_.ID.s = t.toStdString(); });
        ConnectHead<R>(*this, head_, [this]() -> R& { return w_; });
        ConnectFlag(*this, head_.dis, w_.Disabled);
        for (int i = 1; i <= static_cast<int>(N); ++i) {
            const VertexRow& r = rows_[static_cast<std::size_t>(i - 1)];
            watchVertex(r.x, i, true, rules.vertex);
            watchVertex(r.y, i, false, rules.vertex);
            exitRule(r.ang, Value::Angle, i, [this, i] { return w_.Ang[static_cast<std::size_t>(i)].v; },
                     [this, i, rules](double a) { return rules.angle(w_, i, a); });
            exitRule(r.len, Value::Side, i, [this, i] { return w_.S[static_cast<std::size_t>(i)].Length.v; },
                     [this, i, rules](double l) { return rules.side(w_, i, l); });
        }
        exitRule(height, Value::Height, 0, [this] { return w_.Height.v; },
                 [this, rules](double h) { return rules.height(w_, h); });
    }

    // The values a typed number reshapes the figure by.
    enum class Value { Angle, Side, Height };
    // Why the figure cannot take `v` as the angle at vertex i, the length of
    // side i or the height (i = 0), or would not move for it; empty where it
    // can.
    virtual QString refusal(Value what, int i, double v) const = 0;
    // The name of the figure's type where it places vertices by a rule;
    // empty for a figure of free vertices.
    virtual QString ruledType() const = 0;
    // The type builds on the plane of vertices 1, 2 and 3: with them on one
    // line it would lay the figure flat for good.
    virtual bool needsPlane() const = 0;

    void refreshHints() override { updateHints(); }
    void updateHints() {
        this->showThickness(head_.pt, head_.tol, w_.Thick.v);
        for (std::size_t i = 1; i <= N; ++i)
            VertexHints(*this, rows_[i - 1], w_.S[i].P1, w_.S[i % N + 1].P1, wordProj_);
    }

    // A side's length typed: above 0 and, where the side is stretched along
    // its own direction, between ends that do not coincide.
    QString sideRefusal(int i, double v, bool alongItself = true) const {
        if (!(v > 0)) return this->said("Сторона длиннее 0.", "A side is longer than 0.");
        if (alongItself && !(w_.S[static_cast<std::size_t>(i)].Length.v > 0))
            return this->said("Концы стороны совпадают: её не растянуть.",
                              "The side's ends coincide: it has no direction to stretch along.");
        return {};
    }

    // A height typed: above 0 (`flat` says why) and one the picture can draw.
    QString heightRefusal(double v, const QString& flat) const {
        if (!(v > 0)) return flat;
        if (!HeightDrawable(v)) return this->said("Высота не больше 1000000.", "A height is at most 1000000.");
        return {};
    }

    R& w_;
    TwoPages pages_{};
    HeadGroup head_{};
    std::array<VertexRow, N> rows_{};

private:
    void putWords(const WordTable& words) {
        ApplyWords(*this, words_, words);
        PageControl1->setTabText(0, WordText(tabs_[0], words).replace('&', "&&"));
        PageControl1->setTabText(1, WordText(tabs_[1], words).replace('&', "&&"));
        wordProj_ = WordText("{364}", words);
    }

    // Vertex i's picture place, as its row shows it.
    std::pair<int, int> placeOf(int i) const {
        const DPoint& p = w_.S[static_cast<std::size_t>(i)].P1;
        return {SaturatedRound<int>(p.ScrX.v), SaturatedRound<int>(p.ScrY.v)};
    }

    // A vertex's picture X or Y: the vertex moves parallel to the picture
    // and is seen exactly where it is typed (`place`, the figure's rule).
    // A field of its own: where the figure's type moves the other vertices
    // with it, the number waits until the user is done, and a tip names
    // them.
    void watchVertex(TSpinEdit* spin, int i, bool xCoord, R (*place)(R, int, bool, double)) {
        this->watchNumber(
            spin, {.store = [this, i, xCoord, place](double v) {
                       R moved = place(w_, i, xCoord, v);
                       auto at = [&](int j) { return PointXYZ(moved.S[static_cast<std::size_t>(j)].P1); };
                       if (needsPlane() && !SpansAngle(at(1), at(2), at(3)))
                           return ObjectDialog::NumberNote::refused(
                               this->said("Вершины 1, 2, 3 легли бы на одну прямую: тип «%1» на них не строится.",
                                          "Vertices 1, 2, 3 would lie on one line: the type “%1” cannot be built on them.")
                                   .arg(ruledType()));
                       for (int j = 1; j <= static_cast<int>(N); ++j) placed_[static_cast<std::size_t>(j - 1)] = placeOf(j);
                       w_ = std::move(moved);
                       return ObjectDialog::NumberNote::taken();
                   },
                   .shown = [this, i, xCoord] { return double(xCoord ? placeOf(i).first : placeOf(i).second); },
                   .why = [this, i](double typed, double stored) { return vertexMoved(i, typed, stored); }});
    }

    // The tip where the figure's rule placed the typed vertex elsewhere or
    // moved other vertices with it.
    QString vertexMoved(int i, double typed, double stored) const {
        const QString type = ruledType();
        if (typed != stored)
            return type.isEmpty() ? QString()
                                  : this->said("Тип «%1» ставит эту вершину на %2.", "The type “%1” puts this vertex at %2.")
                                        .arg(type, NumText(stored));
        QStringList moved;
        for (int j = 1; j <= static_cast<int>(N); ++j)
            if (j != i && placeOf(j) != placed_[static_cast<std::size_t>(j - 1)]) moved << QString::number(j);
        if (moved.isEmpty()) return {};
        const QString which = moved.join(", ");
        if (type.isEmpty())
            return moved.size() == 1 ? this->said("Передвинулась и вершина %1.", "Vertex %1 moved too.").arg(which)
                                     : this->said("Передвинулись и вершины %1.", "Vertices %1 moved too.").arg(which);
        return moved.size() == 1
                   ? this->said("Тип «%1» передвинул и вершину %2.", "The type “%1” moved vertex %2 too.").arg(type, which)
                   : this->said("Тип «%1» передвинул и вершины %2.", "The type “%1” moved vertices %2 too.").arg(type, which);
    }

    // A value that reshapes the figure through `rule`, taken when the user
    // is done with it; one the figure cannot take is refused with the
    // reason.
    template <class Shown, class Rule>
    void exitRule(TNumEdit* edit, Value what, int i, Shown shown, Rule rule) {
        this->watchNumber(edit, {.store = [this, what, i, rule](double v) {
                                     if (QString why = refusal(what, i, v); !why.isEmpty())
                                         return ObjectDialog::NumberNote::refused(why);
                                     std::optional<R> f = rule(v);
                                     if (f) w_ = std::move(*f);
                                     return this->ruleNote(f.has_value());
                                 },
                                 .shown = shown,
                                 .group = 0,
                                 .live = false,
                                 .why = [this](double typed, double stored) { return keptNear(typed, stored); }});
    }

    // Where the figure holds a value near the one typed: its vertices are
    // kept to the thousandth, and the value is made of them.
    QString keptNear(double typed, double stored) const {
        if (!(std::abs(stored - typed) < 0.01)) return {};
        return this->said("Вершины хранятся до тысячных: получилось %1.",
                          "The vertices are kept to the thousandth: this gives %1.")
            .arg(NumText(stored));
    }

    std::array<std::pair<int, int>, N> placed_{};  // the vertices' places before a vertex was typed
    std::span<const WordTarget> words_;
    std::array<const char*, 2> tabs_;
    QString wordProj_ = QString::fromUtf8(BuiltInWord(WordNo::Projection));
};

}  // namespace pelmar
