#include "dialogs/ui/outline_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/ui/color_bar.h"
#include "dialogs/ui/color_combo.h"
#include "dialogs/ui/coord_parts.h"
#include "dialogs/ui/dialog_registry.h"
#include "dialogs/ui/dialog_words.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "drawing/redraw.h"
#include "files/word_table.h"
#include "model/coord_limit.h"

namespace pelmar {

namespace {

constexpr int PreviewSide = 200;
// The two lines of help on each step.
constexpr int StepOneHelp = 554, StepTwoHelp = 556;

constexpr WordTarget WordsToOL[] = {
    Cap("", "{547}"),           Cap("CheckBox1", "{548}"),       Cap("Label5", "{549}"),
    Cap("Label6", "{550}"),     Cap("RadioGroup1", "{551}"),     Item("RadioGroup1", 0, "{552}"),
    Item("RadioGroup1", 1, "{553}"),
};

int Rounded(double v) { return SaturatedRound<int>(v); }

}  // namespace

TFormOL::TFormOL(DialogRegistry& reg, int outline, QWidget* parent)
    : TFormOL(reg, outline, reg.session().surfaceDialogs(), parent) {}

TFormOL::TFormOL(DialogRegistry& reg, int outline, const SurfaceDialogContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      reg_(reg),
      session_(reg.commitTarget()),
      n_(outline >= 1 && outline <= 3 ? outline : 1),
      colors_(ctx.colors),
      picture_(ctx.picture),
      moveColor_(ctx.moveColor) {
    setObjectName("FormOL");
    setModal(true);

    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(name);
        return l;
    };
    auto spinEdit = [this](const char* name, int lo, int hi) {
        auto* s = new TSpinEdit(this);
        s->setObjectName(name);
        s->setMinMax(lo, hi);
        return s;
    };
    SpinEdit1 = spinEdit("SpinEdit1", 0, 0);
    SpinEdit2 = spinEdit("SpinEdit2", 0, 0);
    SpinEdit3 = spinEdit("SpinEdit3", 0, 0);
    SpinEdit4 = spinEdit("SpinEdit4", 0, 0);
    SpinEdit5 = spinEdit("SpinEdit5", 1, 20);
    SpinEdit6 = spinEdit("SpinEdit6", 1, 10);
    SpinEdit5->setValue(10);
    SpinEdit6->setValue(3);
    RadioGroup1 = new TRadioGroup(QString(), this);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioGroup1->setItems({QString(), QString()});
    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox2 = new QCheckBox(QStringLiteral("Gradient"), this);
    CheckBox2->setObjectName("CheckBox2");
    auto colorBar = [this](const char* name) {
        auto* b = new TColorBar(this);
        b->setObjectName(name);
        return b;
    };
    Panel2 = colorBar("Panel2");
    Panel3 = colorBar("Panel3");
    Panel4 = colorBar("Panel4");
    auto help = [this](const char* name) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(QStringLiteral("?"));
        return b;
    };
    SpeedButton1 = help("SpeedButton1");
    SpeedButton2 = help("SpeedButton2");
    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFixedSize(PreviewSide + 4, PreviewSide + 4);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName("Image1");
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName("Button1");
    HoldOkForTold(Button1);
    // The window has no Cancel: its close keeps what was typed, as OK does.
    CloseKeepsAsOk(this);
    Button1->setAutoDefault(false);

    // Left: the window and the steps; middle: convexity, switches, colours;
    // right: the preview.
    auto* window = new QGridLayout;
    const char* const corners[] = {"x1=", "y1=", "x2=", "y2="};
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "Label" + QByteArray::number(i + 1);
        window->addWidget(label(name.constData(), corners[i]), i, 0, Qt::AlignRight);
        window->addWidget(spin(i + 1), i, 1);
    }
    window->addWidget(label("Label5", ""), 4, 0, Qt::AlignRight);
    window->addWidget(SpinEdit5, 4, 1);
    window->addWidget(SpeedButton1, 4, 2);
    window->addWidget(label("Label6", ""), 5, 0, Qt::AlignRight);
    window->addWidget(SpinEdit6, 5, 1);
    window->addWidget(SpeedButton2, 5, 2);
    window->setRowStretch(6, 1);

    auto* middle = new QVBoxLayout;
    middle->addWidget(RadioGroup1);
    middle->addWidget(CheckBox1);
    middle->addWidget(CheckBox2);
    middle->addWidget(Panel2);
    middle->addWidget(Panel3);
    middle->addWidget(Panel4);
    middle->addStretch();
    middle->addWidget(Button1, 0, Qt::AlignHCenter);

    auto* all = new QHBoxLayout(this);
    all->setSizeConstraint(QLayout::SetFixedSize);
    all->addLayout(window);
    all->addLayout(middle);
    all->addWidget(Panel1, 0, Qt::AlignTop);

    // A number is taken when the user is done with it (the field left,
    // Return, an arrow): one commit for the whole number.
    for (int n = 1; n <= 6; ++n)
        WatchModalNumber(spin(n), reg_.session().words(),
                         [this, n](int v) { return NumberStored{static_cast<double>(SpinEditChange(n, v))}; });
    connect(RadioGroup1, &TRadioGroup::itemClicked, this, &TFormOL::RadioGroup1Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TFormOL::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TFormOL::CheckBox2Click);
    connect(Panel2, &TColorBar::clicked, this, [this] { PanelClick(2); });
    connect(Panel3, &TColorBar::clicked, this, [this] { PanelClick(3); });
    connect(Panel4, &TColorBar::clicked, this, [this] { PanelClick(4); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButtonClick(1); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButtonClick(2); });
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

DOutLine& TFormOL::outline() { return reg_.session().copies().CurXZ.Outlines[static_cast<std::size_t>(n_)]; }

TSpinEdit* TFormOL::spin(int n) const {
    TSpinEdit* const spins[] = {SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4, SpinEdit5, SpinEdit6};
    return spins[n - 1];
}

TColorBar* TFormOL::panel(int n) const { return n == 2 ? Panel2 : n == 3 ? Panel3 : Panel4; }

void TFormOL::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFormOL::FormShow() {
    const DOutLine& o = outline();
    filling_ = true;
    const int values[] = {o.X1, o.Y1, o.X2, o.Y2, o.Step1, o.Step2};
    for (int n = 1; n <= 6; ++n) spin(n)->setFillValue(values[n - 1]);
    RadioGroup1->setItemIndex(o.ScanDir == 1 ? 0 : 1);
    CheckBox1->setChecked(o.On);
    CheckBox2->setChecked(o.GradientOn);
    for (int p = 2; p <= 4; ++p) panel(p)->setColor(ToQColor(o.Colors[static_cast<std::size_t>(p - 2)]));
    filling_ = false;
    DrawOutlinePreview();
    ApplyWords(*this, WordsToOL, reg_.session().words());
}

void TFormOL::DrawOutlinePreview() {
    const DImProj& im = reg_.session().proj().Im;
    int w = 0, h = 0;
    FitToBox(im.Width, im.Height, PreviewSide, w, h, PreviewSide);
    w = std::max(w, 1);
    h = std::max(h, 1);
    QImage shown(w, h, QImage::Format_RGB32);
    shown.fill(Qt::white);
    {
        QPainter p(&shown);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (!picture_.isNull()) p.drawImage(QRect(0, 0, w, h), picture_);
        if (im.Width > 0 && im.Height > 0) {
            const DOutLine& o = outline();
            const double k = static_cast<double>(im.Width) / w;
            const double H = im.Height;
            const int left = Rounded(o.X1 / k), top = Rounded(H / k - o.Y1 / k);
            const int right = Rounded(o.X2 / k), bottom = Rounded(H / k - o.Y2 / k);
            // The frame's lines run through the left and top corner and one
            // pixel inside the right and bottom one.
            const int l = std::min(left, right), r = std::max(left, right);
            const int t = std::min(top, bottom), b = std::max(top, bottom);
            p.setPen(QPen(ToQColor(moveColor_), 0));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(l, t, std::max(r - l - 1, 0), std::max(b - t - 1, 0)));
        }
    }
    Image1->setFixedSize(w, h);
    Image1->move((Panel1->width() - w) / 2, (Panel1->height() - h) / 2);
    Image1->setPixmap(QPixmap::fromImage(shown));
}

void TFormOL::changed() { session_.changed(); }

int TFormOL::SpinEditChange(int n, int v) {
    DOutLine& o = outline();
    std::int32_t* const fields[] = {&o.X1, &o.Y1, &o.X2, &o.Y2, &o.Step1, &o.Step2};
    if (filling_ || *fields[n - 1] == v) return *fields[n - 1];
    *fields[n - 1] = v;
    o.Lines.Valid = 0;
    changed();
    if (n <= 4) DrawOutlinePreview();
    return *fields[n - 1];
}

void TFormOL::RadioGroup1Click() {
    DOutLine& o = outline();
    o.ScanDir = RadioGroup1->itemIndex() == 0 ? 1 : 0;
    o.Lines.Valid = 0;
    changed();
}

void TFormOL::CheckBox1Click() {
    outline().On = CheckBox1->isChecked();
    changed();
}

void TFormOL::CheckBox2Click() {
    outline().GradientOn = CheckBox2->isChecked();
    changed();
}

void TFormOL::PanelClick(int n) {
    TColor& colour = outline().Colors[static_cast<std::size_t>(n - 2)];
    const std::optional<TColor> chosen = colors_.chooseColor(colour);
    // Cancel, or the colour it had: nothing to commit.
    if (!chosen || *chosen == colour) return;
    colour = *chosen;
    panel(n)->setColor(ToQColor(colour));
    changed();
}

void TFormOL::SpeedButtonClick(int n) {
    const WordTable& words = reg_.session().words();
    const int first = n == 1 ? StepOneHelp : StepTwoHelp;
    reg_.session().showMessage(words.WordLine(first) + "\n\r" + words.WordLine(first + 1));
}

TFormOL::~TFormOL() {
    FinishTyping(this);
    session_.end();
}

void TFormOL::done(int result) {
    FinishTyping(this);
    session_.end();
    QDialog::done(result);
}

}  // namespace pelmar
