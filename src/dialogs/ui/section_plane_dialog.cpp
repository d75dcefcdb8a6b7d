#include "dialogs/ui/section_plane_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/number_text.h"
#include "dialogs/ui/dialog_parts.h"
#include "model/round_reshape.h"

namespace pelmar {

TFormOrb::TFormOrb(DSf& sphere, int plane, DialogCommit& commit, QWidget* parent)
    : QDialog(parent), s_(sphere), plane_(std::clamp(plane, 1, 7)), commit_(commit) {
    setObjectName("FormOrb");
    setWindowTitle(QString::fromUtf8("Сечение сферы"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    UseSmallFont(this);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 6, 8, 6);
    auto* g1 = Named(new QGroupBox(QString::fromUtf8("Нормальный вектор"), this), QString("GroupBox1"));
    auto* l1 = new QGridLayout(g1);
    QLineEdit** edits[3] = {&Edit1, &Edit2, &Edit3};
    const char* labels[3] = {"X:", "Y:", "Z:"};
    for (int i = 0; i < 3; ++i) {
        *edits[i] = Named(new QLineEdit(g1), QString("Edit%1").arg(i + 1));
        l1->addWidget(NamedLabel(g1, QString("Label%1").arg(i + 1), labels[i]), 0, 2 * i);
        l1->addWidget(*edits[i], 0, 2 * i + 1);
    }
    v->addWidget(g1);
    auto* g2 = Named(new QGroupBox(QString::fromUtf8("Расстояние от центра"), this), QString("GroupBox2"));
    auto* l2 = new QHBoxLayout(g2);
    Edit4 = Named(new QLineEdit(g2), QString("Edit4"));
    l2->addWidget(NamedLabel(g2, "Label4", "H:"));
    l2->addWidget(Edit4, 1);
    v->addWidget(g2);
    Button1 = Named(new QPushButton("Ok", this), QString("Button1"));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(Button1);
    row->addStretch(1);
    v->addLayout(row);
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4}) e->setMinimumWidth(60);

    QLineEdit* all[4] = {Edit1, Edit2, Edit3, Edit4};
    for (int i = 0; i < 4; ++i) connect(all[i], &QLineEdit::textEdited, this, [this, i] { typed(i); });
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

// The plane's values as they stand; the user's edits alone store.
void TFormOrb::showEvent(QShowEvent* event) {
    const auto i = static_cast<std::size_t>(plane_);
    const double values[4] = {s_.SecNX[i].v, s_.SecNY[i].v, s_.SecNZ[i].v, s_.SecH[i].v};
    QLineEdit* all[4] = {Edit1, Edit2, Edit3, Edit4};
    for (int k = 0; k < 4; ++k) all[k]->setText(QString::fromStdString(NumberText(values[k])));
    QDialog::showEvent(event);
}

void TFormOrb::typed(int which) {
    QLineEdit* all[4] = {Edit1, Edit2, Edit3, Edit4};
    const auto v = ReadNumber(all[which]->text().toStdString());
    if (!v) return;
    const SectionField field[4] = {SectionField::NormalX, SectionField::NormalY, SectionField::NormalZ, SectionField::Distance};
    auto t = OrbWithPlane(s_, plane_, field[which], *v);
    if (!t) return;
    // "12," reads as "12": a keystroke that changes no value is no change.
    const auto i = static_cast<std::size_t>(plane_);
    if (t->SecNX[i].v == s_.SecNX[i].v && t->SecNY[i].v == s_.SecNY[i].v && t->SecNZ[i].v == s_.SecNZ[i].v &&
        t->SecH[i].v == s_.SecH[i].v)
        return;
    s_ = std::move(*t);
    commit_.ApplyObject(true);
}

}  // namespace pelmar
