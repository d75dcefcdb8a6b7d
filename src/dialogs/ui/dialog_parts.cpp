#include "dialogs/ui/dialog_parts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/number_text.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/radio_group.h"
#include "model/coord_limit.h"

namespace pelmar {

QLabel* NamedLabel(QWidget* parent, const QString& name, const char* utf8Text) {
    return Named(new QLabel(QString::fromUtf8(utf8Text), parent), name);
}

TSpinEdit* NamedSpin(QWidget* parent, const QString& name, int lo, int hi) {
    auto* s = Named(new TSpinEdit(parent), name);
    s->setMinMax(lo, hi);
    return s;
}

void UseSmallFont(QWidget* w) {
    QFont small = w->font();
    small.setPointSizeF(std::min(small.pointSizeF(), 8.0));
    w->setFont(small);
}

PlainColumn BuildPlainColumn(QWidget* body, const QString& pathName, int spacing) {
    UseSmallFont(body);
    auto* top = new QVBoxLayout(body);
    top->setContentsMargins(6, 4, 6, 4);
    top->setSpacing(spacing);
    QLabel* path = NamedLabel(body, pathName, "");
    path->setStyleSheet("color: red");
    top->addWidget(path);
    return {top, path};
}

QGridLayout* TightGrid(QGroupBox* g) {
    auto* l = new QGridLayout(g);
    l->setContentsMargins(6, 1, 6, 3);
    l->setVerticalSpacing(2);
    return l;
}

void PaintMaroon(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    p.setColor(QPalette::Text, QColor(0x80, 0, 0));
    w->setPalette(p);
}

QString NumText(double v) { return QString::fromStdString(NumberText(v)); }

HeadGroup BuildHeadGroup(QWidget* page, QVBoxLayout* v, const QString& x) {
    auto* m1 = Named(new QGroupBox(QString(), page), "GroupBox" + x + "M1");
    auto* g1 = new QGridLayout(m1);
    g1->setContentsMargins(4, 2, 4, 2);
    g1->setVerticalSpacing(1);
    HeadGroup h{};
    h.id = Named(new QLineEdit(m1), "Edit" + x + "ID");
    h.id->setMaxLength(15);
    // The ID shares its column with the thickness: room for the longest
    // default ID ("Pyramid4 №10") whole, beside the frame and the margins.
    h.id->setMinimumWidth(h.id->fontMetrics().horizontalAdvance(QStringLiteral("Pyramid4 №10")) + 14);
    h.layer = Named(new QComboBox(m1), "ComboBox" + x + "Layer");
    for (int i = 1; i <= 10; ++i) h.layer->addItem(QString("Layer %1").arg(i, 2, 10, QChar('0')));
    h.tol = NamedSpin(m1, "SpinEdit" + x + "Tol", 0, 30);
    h.pt = Named(new QLabel(m1), "Label" + x + "Pt");
    h.col = Named(new TColorCombo(m1), "ColorComboBox" + x + "Col");
    h.dis = Named(new QCheckBox(QString(), m1), "CheckBox" + x + "Dis");
    h.save = Named(new QPushButton(QString(), m1), "Button" + x + "Save");
    h.load = Named(new QPushButton(QString(), m1), "Button" + x + "Load");
    h.lid = NamedLabel(m1, "Label" + x + "ID", "ID:");
    h.llayer = NamedLabel(m1, "Label" + x + "Layer", "");
    h.ltol = NamedLabel(m1, "Label" + x + "Tol", "");
    h.lcol = NamedLabel(m1, "Label" + x + "Col", "");
    g1->addWidget(h.lid, 0, 0);
    g1->addWidget(h.id, 0, 1);
    g1->addWidget(h.llayer, 0, 2);
    g1->addWidget(h.layer, 0, 3);
    g1->addWidget(h.save, 0, 4);
    g1->addWidget(h.ltol, 1, 0);
    auto* tol = new QHBoxLayout;
    tol->addWidget(h.tol);
    tol->addWidget(h.pt);
    g1->addLayout(tol, 1, 1);
    g1->addWidget(h.lcol, 1, 2);
    g1->addWidget(h.col, 1, 3);
    g1->addWidget(h.load, 1, 4);
    g1->addWidget(h.dis, 2, 0, 1, 2);
    v->addWidget(m1);
    return h;
}

HeadGroup BuildPlainHead(QWidget* g, QGridLayout* l, const QString& x, bool thickness) {
    HeadGroup h{};
    h.lid = NamedLabel(g, "Label" + x + "ID", "ID:");
    h.id = Named(new QLineEdit(g), "Edit" + x + "ID");
    h.id->setMaxLength(15);
    h.llayer = NamedLabel(g, "Label" + x + "Layer", "");
    h.layer = Named(new QComboBox(g), "ComboBox" + x + "Layer");
    for (int i = 1; i <= 10; ++i) h.layer->addItem(QString("Layer %1").arg(i, 2, 10, QChar('0')));
    if (thickness) {
        h.ltol = NamedLabel(g, "Label" + x + "Tol", "");
        h.tol = NamedSpin(g, "SpinEdit" + x + "Tol", 0, 30);
        h.pt = NamedLabel(g, "Label" + x + "Pt", "");
    }
    h.lcol = NamedLabel(g, "Label" + x + "Col", "");
    h.col = Named(new TColorCombo(g), "ColorComboBox" + x + "Col");
    h.dis = Named(new QCheckBox(QString(), g), "CheckBox" + x + "Dis");
    h.save = Named(new QPushButton(QString(), g), "Button" + x + "Save");
    h.load = Named(new QPushButton(QString(), g), "Button" + x + "Load");
    l->addWidget(h.lid, 0, 0), l->addWidget(h.id, 0, 1), l->addWidget(h.llayer, 0, 2);
    l->addWidget(h.layer, 0, 3), l->addWidget(h.save, 0, 4);
    l->addWidget(h.lcol, 1, 0), l->addWidget(h.col, 1, 1), l->addWidget(h.dis, 1, 2, 1, 2);
    l->addWidget(h.load, 1, 4);
    if (thickness) l->addWidget(h.ltol, 2, 0), l->addWidget(h.tol, 2, 1), l->addWidget(h.pt, 2, 2, 1, 2);
    return h;
}

void EnableHead(const HeadGroup& h, bool id, bool layer, bool thick, bool color, bool disabled) {
    h.lid->setEnabled(id), h.id->setEnabled(id);
    h.llayer->setEnabled(layer), h.layer->setEnabled(layer);
    if (h.tol) h.ltol->setEnabled(thick), h.tol->setEnabled(thick);
    h.lcol->setEnabled(color), h.col->setEnabled(color);
    h.dis->setEnabled(disabled);
}

void ConnectFlag(ObjectDialog& d, QCheckBox* box, Ed<bool>& field) {
    QObject::connect(box, &QCheckBox::toggled, &d, [&d, box, &field](bool on) {
        if (!d.focusAllows(box)) return;
        field.v = on;
        d.commit();
    });
}

void ConnectIndex(ObjectDialog& d, TRadioGroup* group, Ed<std::uint8_t>& field, int base) {
    QObject::connect(group, &TRadioGroup::itemClicked, &d, [&d, group, &field, base](int i) {
        if (d.filling()) return;
        field.v = static_cast<std::uint8_t>(i + base);
        d.commitIfEntered(group);
    });
}

void ConnectIndex(ObjectDialog& d, QComboBox* combo, Ed<std::uint8_t>& field, int base) {
    QObject::connect(combo, &QComboBox::activated, &d, [&d, combo, &field, base](int i) {
        if (d.filling()) return;
        field.v = static_cast<std::uint8_t>(i + base);
        d.commitIfEntered(combo);
    });
}

TwoPages BuildTwoPages(QWidget* body, const QString& tab1, const QString& tab2, const QString& pathName) {
    auto* top = new QVBoxLayout(body);
    top->setContentsMargins(4, 4, 4, 4);
    top->setSpacing(2);
    TwoPages p{};
    p.tabs = Named(new QTabWidget(body), "PageControl1");
    p.page1 = Named(new QWidget, "TabSheet1");
    p.page2 = Named(new QWidget, "TabSheet2");
    p.tabs->addTab(p.page1, tab1);
    p.tabs->addTab(p.page2, tab2);
    top->addWidget(p.tabs);
    p.path = Named(new QLabel(body), pathName);
    QPalette red = p.path->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    p.path->setPalette(red);
    top->addWidget(p.path);
    return p;
}

namespace {

VertexRow BuildVertexRow(QWidget* g, const QString& x, int i) {
    const QString n = QString::number(i);
    VertexRow r{};
    r.xy = Named(new QLabel(QString("(X%1,Y%1) :").arg(n), g), "Label" + x + "xy" + n);
    r.x = Named(new TSpinEdit(g), "SpinEdit" + x + "x" + n);
    r.y = Named(new TSpinEdit(g), "SpinEdit" + x + "y" + n);
    r.lang = Named(new QLabel(QString(), g), "Label" + x + "Ang" + n);
    r.ang = Named(new TNumEdit(g, false, true), "Edit" + x + "Ang" + n);
    r.angx = Named(new QLineEdit(g), "Edit" + x + "Ang" + n + "x");
    r.angx->setEnabled(false);
    r.llen = Named(new QLabel(QString(), g), "Label" + x + "Len" + n);
    r.len = Named(new TNumEdit(g, false, true), "Edit" + x + "Len" + n);
    for (QWidget* w : {static_cast<QWidget*>(r.lang), static_cast<QWidget*>(r.ang), static_cast<QWidget*>(r.llen),
                       static_cast<QWidget*>(r.len)})
        PaintMaroon(w);
    return r;
}

}  // namespace

FigureColumn BuildFigureColumn(QWidget* page, const QString& x, HeadGroup& head, std::span<VertexRow> rows) {
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(3, 3, 3, 3);
    v->setSpacing(2);
    head = BuildHeadGroup(page, v, x);
    auto* m2 = Named(new QGroupBox(QString(), page), "GroupBox" + x + "M2");
    auto* g2 = new QGridLayout(m2);
    g2->setContentsMargins(4, 2, 4, 2);
    g2->setVerticalSpacing(1);
    g2->setHorizontalSpacing(3);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = BuildVertexRow(m2, x, static_cast<int>(i) + 1);
    v->addWidget(m2);
    return {v, g2};
}

void FillVertexRow(const VertexRow& r, const DPoint& p, const DPoint& f, const Ed<double>& angle, const DLine& side) {
    r.x->setFillValue(SaturatedRound<int>(p.ScrX.v));
    r.y->setFillValue(SaturatedRound<int>(p.ScrY.v));
    r.ang->setNumber(angle.v);
    ObjectDialog::fillText(r.angx, NumText(side.Angle.v));
    r.len->setNumber(side.Length.v);
    r.xy->setEnabled(f.ScrX.e);
    r.x->setEnabled(f.ScrX.e);
    r.y->setEnabled(f.ScrY.e);
    r.lang->setEnabled(angle.e);
    r.ang->setEnabled(angle.e);
    r.llen->setEnabled(side.Length.e);
    r.len->setEnabled(side.Length.e);
}

void VertexHints(ObjectDialog& d, const VertexRow& r, const DPoint& p, const DPoint& q, const QString& projWord) {
    d.setSizeHintOf(r.x, p.ScrX.v);
    d.setSizeHintOf(r.y, p.ScrY.v);
    const double n = std::nearbyint(std::hypot(q.ScrX.v - p.ScrX.v, q.ScrY.v - p.ScrY.v));
    r.len->setToolTip(d.sizeHintText(n) + " " + NumText(n) + " " + d.pkWord() + " " + projWord);
}

}  // namespace pelmar
