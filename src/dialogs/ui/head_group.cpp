#include "dialogs/ui/head_group.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/spin_edit.h"

namespace pelmar {

namespace {

template <class W>
W* Named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

}  // namespace

HeadGroup BuildHeadGroup(QWidget* page, QVBoxLayout* v, const QString& x) {
    auto* m1 = Named(new QGroupBox(QString::fromUtf8("Главная 1"), page), "GroupBox" + x + "M1");
    auto* g1 = new QGridLayout(m1);
    g1->setContentsMargins(4, 2, 4, 2);
    g1->setVerticalSpacing(1);
    HeadGroup h{};
    h.id = Named(new QLineEdit(m1), "Edit" + x + "ID");
    h.id->setMaxLength(15);
    h.layer = Named(new QComboBox(m1), "ComboBox" + x + "Layer");
    for (int i = 1; i <= 10; ++i) h.layer->addItem(QString("Layer %1").arg(i, 2, 10, QChar('0')));
    h.tol = Named(new TSpinEdit(m1), "SpinEdit" + x + "Tol");
    h.tol->setMinMax(0, 30);
    h.pt = Named(new QLabel(m1), "Label" + x + "Pt");
    h.col = Named(new TColorCombo(m1), "ColorComboBox" + x + "Col");
    h.dis = Named(new QCheckBox(QString::fromUtf8("Откл."), m1), "CheckBox" + x + "Dis");
    h.save = Named(new QPushButton(QString::fromUtf8("Сохранить"), m1), "Button" + x + "Save");
    h.load = Named(new QPushButton(QString::fromUtf8("Загрузить"), m1), "Button" + x + "Load");
    g1->addWidget(Named(new QLabel("ID:", m1), "Label" + x + "ID"), 0, 0);
    g1->addWidget(h.id, 0, 1);
    g1->addWidget(Named(new QLabel(QString::fromUtf8("Слой:"), m1), "Label" + x + "Layer"), 0, 2);
    g1->addWidget(h.layer, 0, 3);
    g1->addWidget(h.save, 0, 4);
    g1->addWidget(Named(new QLabel(QString::fromUtf8("Толщина:"), m1), "Label" + x + "Tol"), 1, 0);
    auto* tol = new QHBoxLayout;
    tol->addWidget(h.tol);
    tol->addWidget(h.pt);
    g1->addLayout(tol, 1, 1);
    g1->addWidget(Named(new QLabel(QString::fromUtf8("Цвет:"), m1), "Label" + x + "Col"), 1, 2);
    g1->addWidget(h.col, 1, 3);
    g1->addWidget(h.load, 1, 4);
    g1->addWidget(h.dis, 2, 0, 1, 2);
    v->addWidget(m1);
    return h;
}

}  // namespace pelmar
