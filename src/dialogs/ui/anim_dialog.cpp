#include "dialogs/ui/anim_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pelmar {

TFormAnim::TFormAnim(const QString& objectName, const QString& caption, std::vector<Row> rows, DialogCommit* commit,
                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      rows_(std::move(rows)),
      commit_(commit) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
    auto* grid = new QGridLayout(this);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& r = rows_[i];
        const QString n = QString::number(i + 1);
        auto* label = new QLabel(r.label, this);
        label->setObjectName("Label" + n);
        auto* e = new QLineEdit(this);
        e->setObjectName("Edit" + n);
        e->setMinimumWidth(260);
        e->setText(r.enabled ? QString::fromStdString(*r.field) : QString());
        label->setEnabled(r.enabled);
        e->setEnabled(r.enabled);
        grid->addWidget(label, static_cast<int>(i), 0, Qt::AlignRight);
        grid->addWidget(e, static_cast<int>(i), 1);
        edits_.push_back(e);
    }
    auto* button = new QPushButton("Ok", this);
    button->setObjectName("Button1");
    button->setDefault(true);
    grid->addWidget(button, static_cast<int>(rows_.size()), 1, Qt::AlignRight);
    connect(button, &QPushButton::clicked, this, &TFormAnim::ok);
}

void TFormAnim::ok() {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].enabled) *rows_[i].field = edits_[i]->text().toStdString();
    if (commit_) commit_->ApplyObject(true);
    permitClose_ = true;
    accept();
}

void TFormAnim::closeEvent(QCloseEvent* event) {
    if (permitClose_) event->accept();
    else event->ignore();
}

// Esc is no way out either.
void TFormAnim::reject() {
    if (permitClose_) QDialog::reject();
}

namespace {
QString Q(const char* s) { return QString::fromUtf8(s); }
}  // namespace

TFormAnim* NewFormAnimPo(DPoint& p, DialogCommit& commit, QWidget* parent) {
    return new TFormAnim("FormAnimPo", Q("Анимация точки"),
                         {{"X=", &p.Anim[0], p.X.e},
                          {"Y=", &p.Anim[1], p.Y.e},
                          {"Z=", &p.Anim[2], p.Z.e},
                          {Q("Угол="), &p.Anim[3], p.LabelAngle.e}},
                         &commit, parent);
}

TFormAnim* NewFormAnimCi(DCircle& c, DialogCommit& commit, QWidget* parent) {
    return new TFormAnim("FormAnimCi", Q("Анимация эллипса"),
                         {{"A=", &c.Anim[0], c.A.e},
                          {"B=", &c.Anim[1], c.B.e},
                          {Q("Угол="), &c.Anim[2], c.Tilt.e},
                          {Q("Дуга, Угол1="), &c.Anim[3], c.Arc1.e},
                          {Q("Дуга, Угол2="), &c.Anim[4], c.Arc2.e},
                          {Q("R1, Угол="), &c.Anim[5], c.R[1].Angle.e},
                          {Q("R2, Угол="), &c.Anim[6], c.R[2].Angle.e},
                          {Q("R3, Угол="), &c.Anim[7], c.R[3].Angle.e}},
                         &commit, parent);
}

}  // namespace pelmar
