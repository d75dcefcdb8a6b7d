// Pieces the object dialogs share: naming and making controls, the design's
// small font, the "Главная 1" head group with its handlers and its filler,
// and the frame and vertex rows of the figure dialogs.  The controls are
// named after the dialog's letter ("EditTID", "EditKID", "EditCID", ...).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <span>

#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/object_dialog.h"
#include "dialogs/ui/spin_edit.h"
#include "model/coord_limit.h"
#include "model/records.h"

class QGridLayout;
class QGroupBox;
class QTabWidget;
class QVBoxLayout;

namespace pelmar {

class TNumEdit;
class TRadioGroup;

template <class W>
W* Named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}
QLabel* NamedLabel(QWidget* parent, const QString& name, const char* utf8Text);
TSpinEdit* NamedSpin(QWidget* parent, const QString& name, int lo, int hi);
// The design's small dialog font (8 pt at most): the whole table fits the
// fixed size.
void UseSmallFont(QWidget* w);
// The column of a one-page object dialog: the body in the small font, its
// layout with the red path label `pathName` on top.
struct PlainColumn {
    QVBoxLayout* top;
    QLabel* path;
};
PlainColumn BuildPlainColumn(QWidget* body, const QString& pathName, int spacing);
// The tight grid of a group of the ellipse, sphere and round-body dialogs.
QGridLayout* TightGrid(QGroupBox* g);
// The dark red of the values a figure's type reshapes.
void PaintMaroon(QWidget* w);
QString NumText(double v);

struct HeadGroup {
    QLineEdit* id;
    QComboBox* layer;
    TSpinEdit* tol;  // none in the point dialog's head
    QLabel* pt;
    TColorCombo* col;
    QCheckBox* dis;
    QPushButton* save;
    QPushButton* load;
    QLabel *lid, *llayer, *ltol, *lcol;
};

// The figure dialogs' group with its design captions, built on `page` and
// added to `v`.
HeadGroup BuildHeadGroup(QWidget* page, QVBoxLayout* v, const QString& letter);
// The point, segment and ellipse dialogs' head in the grid `l` of group `g`
// (captions from the word table); the thickness row only with `thickness`.
HeadGroup BuildPlainHead(QWidget* g, QGridLayout* l, const QString& letter, bool thickness);
void EnableHead(const HeadGroup& h, bool id, bool layer, bool thick, bool color, bool disabled);

// Layer and colour commit when entered, the thickness is a number field;
// `rec` is the record the dialog edits.
template <class R>
void ConnectHead(ObjectDialog& d, const HeadGroup& h, std::function<R&()> rec) {
    QObject::connect(h.layer, &QComboBox::activated, &d, [&d, h, rec](int i) {
        if (d.filling()) return;
        rec().Layer.v = static_cast<std::uint8_t>(i + 1);
        d.commitIfEntered(h.layer);
    });
    QObject::connect(h.col, &QComboBox::activated, &d, [&d, h, rec] {
        if (d.filling()) return;
        rec().Color.v = h.col->colorValue();
        rec().ColorIndex.v = h.col->colorIndex();
        d.commitIfEntered(h.col);
    });
    if (!h.tol) return;
    d.watchNumber(h.tol, {.store = [rec](double v) {
                              rec().Thick.v = SaturatedRound<decltype(rec().Thick.v)>(v);
                              return ObjectDialog::NumberNote::taken();
                          },
                          .shown = [rec] { return double(rec().Thick.v); }});
}

// The record's head on the group, enabled by the fields' flags; the
// default-set buttons for the dialog's own object only (`own`), Load for one
// not yet numbered.
template <class R>
void FillHead(const HeadGroup& h, const R& r, bool own) {
    ObjectDialog::fillText(h.id, QString::fromStdString(r.ID.s));
    h.layer->setCurrentIndex(r.Layer.v - 1);
    if (h.tol) h.tol->setFillValue(r.Thick.v);
    h.col->setColor(r.ColorIndex.v, r.Color.v);
    h.dis->setChecked(r.Disabled.v);
    EnableHead(h, r.ID.e, r.Layer.e, r.Thick.e, r.Color.e, r.Disabled.e);
    h.save->setEnabled(own);
    h.load->setEnabled(own && r.Number == 0);
}

// ---- the figure dialogs (triangle, tetragon), holding their record by reference

// A check box of the focus rule storing into `field`, committed.
void ConnectFlag(ObjectDialog& d, QCheckBox* box, Ed<bool>& field);
// A radio group or combo box of the entered rule storing its item index plus
// `base` into `field`.
void ConnectIndex(ObjectDialog& d, TRadioGroup* group, Ed<std::uint8_t>& field, int base);
void ConnectIndex(ObjectDialog& d, QComboBox* combo, Ed<std::uint8_t>& field, int base);
// A button that runs the pending edit, then emits d's `signal` with `args`.
template <class D, class... A, class... B>
void ConnectRequest(D* d, QPushButton* b, void (D::*signal)(A...), B... args) {
    QObject::connect(b, &QPushButton::clicked, d, [d, signal, args...] {
        d->flushPendingEdit();
        emit(d->*signal)(args...);
    });
}

// Two pages over the red path label, on the dialog's body.
struct TwoPages {
    QTabWidget* tabs;
    QWidget *page1, *page2;
    QLabel* path;
};
TwoPages BuildTwoPages(QWidget* body, const QString& tab1, const QString& tab2, const QString& pathName);

// A vertex's controls in "Главная 2": its picture coordinates, its angle
// (typed and shown) and its side's length, the reshaped values in dark red.
struct VertexRow {
    QLabel* xy;
    TSpinEdit *x, *y;
    QLabel* lang;
    TNumEdit* ang;
    QLineEdit* angx;
    QLabel* llen;
    TNumEdit* len;
};
// The first page's column: the head group, then "Главная 2" with the
// vertex rows, which the dialog places in the returned grid.
struct FigureColumn {
    QVBoxLayout* v;
    QGridLayout* vertices;
};
FigureColumn BuildFigureColumn(QWidget* page, const QString& letter, HeadGroup& head, std::span<VertexRow> rows);
// `shown` on the row's values, enabled by `first`'s flags (the side's first
// end), the angle and the side.
void FillVertexRow(const VertexRow& row, const DPoint& shown, const DPoint& first, const Ed<double>& angle,
                   const DLine& side);
// The size hints of a vertex `p` and of its side to `q`.
void VertexHints(ObjectDialog& d, const VertexRow& row, const DPoint& p, const DPoint& q, const QString& projWord);

}  // namespace pelmar
