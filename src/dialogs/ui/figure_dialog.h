// What the triangle and tetragon dialogs share: the working copy, the two
// pages, the head and the vertex rows; a moved vertex, a typed angle, side
// length or height reshaping the figure through its kind's rules; the words
// of the captions, the tab texts and the projection mark.
#pragma once

#include <QTabWidget>
#include <array>
#include <optional>
#include <span>

#include "dialogs/number_text.h"
#include "dialogs/ui/dialog_parts.h"
#include "dialogs/ui/dialog_registry.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/num_edit.h"
#include "drawing/word_lines.h"
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
    // The figure's rules: a vertex's angle, a side's length (both 1-based),
    // the height; nothing for a shape the figure cannot take.
    struct Rules {
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

    // The head and the vertex rows.  A typed value the figure cannot take
    // leaves the record as it was (and the edit keeps the focus).
    void connectFigure(TNumEdit* height, Rules rules) {
        this->watchAlways(head_.id, [this](const QString& t) { w_.ID.s = t.toStdString(); });
        ConnectHead<R>(*this, head_, [this]() -> R& { return w_; });
        ConnectFlag(*this, head_.dis, w_.Disabled);
        for (int i = 0; i < static_cast<int>(N); ++i) {
            const VertexRow& r = rows_[static_cast<std::size_t>(i)];
            QObject::connect(r.x, &TSpinEdit::changed, this, [this, i] { moveVertex(i + 1, true); });
            QObject::connect(r.y, &TSpinEdit::changed, this, [this, i] { moveVertex(i + 1, false); });
            exitRule(r.ang, [this, i] { return w_.Ang[static_cast<std::size_t>(i + 1)].v; },
                     [this, i, rules](double a) { return rules.angle(w_, i + 1, a); });
            exitRule(r.len, [this, i] { return w_.S[static_cast<std::size_t>(i + 1)].Length.v; },
                     [this, i, rules](double l) { return rules.side(w_, i + 1, l); });
        }
        exitRule(height, [this] { return w_.Height.v; }, [this, rules](double h) { return rules.height(w_, h); });
    }

    void refreshHints() override { updateHints(); }
    void updateHints() {
        this->showThickness(head_.pt, head_.tol, w_.Thick.v);
        for (std::size_t i = 1; i <= N; ++i)
            VertexHints(*this, rows_[i - 1], w_.S[i].P1, w_.S[i % N + 1].P1, wordProj_);
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

    void moveVertex(int i, bool xCoord) {
        const VertexRow& r = rows_[static_cast<std::size_t>(i - 1)];
        if (MoveVertex(*this, xCoord ? r.x : r.y, w_.S[static_cast<std::size_t>(i)].P1, xCoord)) updateHints();
    }

    // A value that reshapes the figure through `rule`, taken when the user
    // is done with it; one the figure cannot take is refused.
    template <class Shown, class Rule>
    void exitRule(TNumEdit* edit, Shown shown, Rule rule) {
        this->watchNumber(edit, {.store = [this, rule](double v) {
                                     std::optional<R> f = rule(v);
                                     if (f) w_ = std::move(*f);
                                     return this->ruleNote(f.has_value());
                                 },
                                 .shown = shown,
                                 .group = 0,
                                 .live = false});
    }

    std::span<const WordTarget> words_;
    std::array<const char*, 2> tabs_;
    QString wordProj_ = QString::fromUtf8(BuiltInWord(WordNo::Projection));
};

}  // namespace pelmar
