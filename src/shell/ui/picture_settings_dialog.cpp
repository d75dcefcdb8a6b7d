#include "shell/ui/picture_settings_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

#include "dialogs/dialog_host.h"
#include "dialogs/number_text.h"
#include "dialogs/ui/num_edit.h"
#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "files/ui/modal_ok.h"
#include "files/ui/text_tip.h"
#include "files/word_table.h"
#include "model/units.h"

namespace pelmar {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
// Word-table texts show "&" as written.
QString Escaped(const std::string& s) { return Q(s).replace(QLatin1Char('&'), QStringLiteral("&&")); }

QColor ColorOf(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

template <class T>
T* Named(T* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

// The preview box of the print page: the sheet fits in 135 x 150.
constexpr int PreviewWidth = 135, PreviewHeight = 150;

}  // namespace

FormImage::FormImage(const WordTable& words, PictureDialogServices services, QWidget* parent)
    : QDialog(parent), words_(words), services_(std::move(services)) {
    setObjectName(QStringLiteral("FormImage"));
    setModal(true);
    build();
    applyWords();
}

// A dialog closed with a number still being typed (destroyed while shown)
// leaves it then: its fields no longer reach the dialog.
FormImage::~FormImage() {
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void FormImage::build() {
    auto* top = new QVBoxLayout(this);
    tabs_ = Named(new QTabWidget(this), "PageControl1");
    // Every page's title in view, in any language: the dialog grows instead.
    tabs_->setUsesScrollButtons(false);
    top->addWidget(tabs_);

    // The picture.
    {
        auto* page = Named(new QWidget, "TabSheet1");
        auto* g = new QGridLayout(page);
        labelWidth_ = Named(new QLabel(page), "LabelWidth");
        labelHeight_ = Named(new QLabel(page), "LabelHeight");
        spin1_ = Named(new TSpinEdit(page), "SpinEdit1");
        spin2_ = Named(new TSpinEdit(page), "SpinEdit2");
        for (TSpinEdit* s : {spin1_, spin2_}) {
            s->setMinMax(MinPictureSide, MaxPictureSide);
            s->setKeyboardTracking(true);
            s->setWords(textRoute().words);
        }
        labelPix1_ = Named(new QLabel(page), "LabelPix1");
        labelPix2_ = Named(new QLabel(page), "LabelPix2");
        edit1_ = Named(new TNumEdit(page, false, true), "Edit1");
        edit2_ = Named(new TNumEdit(page, false, true), "Edit2");
        for (TNumEdit* e : {edit1_, edit2_}) e->setWords(textRoute().words);
        labelSm1_ = Named(new QLabel(page), "LabelSm1");
        labelSm2_ = Named(new QLabel(page), "LabelSm2");
        g->addWidget(labelWidth_, 0, 0);
        g->addWidget(spin1_, 0, 1);
        g->addWidget(labelPix1_, 0, 2);
        g->addWidget(edit1_, 0, 3);
        g->addWidget(labelSm1_, 0, 4);
        g->addWidget(labelHeight_, 1, 0);
        g->addWidget(spin2_, 1, 1);
        g->addWidget(labelPix2_, 1, 2);
        g->addWidget(edit2_, 1, 3);
        g->addWidget(labelSm2_, 1, 4);
        combo3_ = Named(new QComboBox(page), "ComboBox3");
        for (int dpi : Resolutions) combo3_->addItem(QStringLiteral("%1 dpi").arg(dpi));
        g->addWidget(combo3_, 2, 1);
        buttonF_ = Named(new QPushButton(page), "ButtonF");
        image1_ = Named(new QLabel(page), "Image1");
        image1_->setFixedSize(40, 22);
        image1_->setFrameShape(QFrame::Box);
        image1_->setAutoFillBackground(true);
        g->addWidget(buttonF_, 2, 3);
        g->addWidget(image1_, 2, 4);
        radioFont_ = Named(new TRadioGroup(QString(), page), "RadioGroupFont");
        radioFont_->setItems({QString(), QString()});
        radioType_ = Named(new TRadioGroup(QString(), page), "RadioGroupType");
        radioType_->setItems({QString(), QString()});
        g->addWidget(radioFont_, 3, 0, 1, 2);
        g->addWidget(radioType_, 3, 2, 1, 3);
        antiA_ = Named(new QCheckBox(page), "CheckBoxAntiA");
        g->addWidget(antiA_, 4, 0, 1, 3);
        g->setRowStretch(5, 1);
        g->setColumnStretch(5, 1);
        tabs_->addTab(page, QString());

        connect(spin1_, &TSpinEdit::changed, this, [this] { sizeChanged(true); });
        connect(spin2_, &TSpinEdit::changed, this, [this] { sizeChanged(false); });
        // The pixels follow the centimetres typed when the edit is left.
        connect(edit1_, &TNumEdit::numberEntered, this, [this] { cmEntered(true); });
        connect(edit2_, &TNumEdit::numberEntered, this, [this] { cmEntered(false); });
        connect(combo3_, &QComboBox::activated, this, [this](int i) { resolutionChosen(i); });
        connect(buttonF_, &QPushButton::clicked, this, [this] { chooseBackColor(); });
        connect(radioFont_, &TRadioGroup::itemClicked, this, [this](int i) { s_.FontUnit = static_cast<std::uint8_t>(i + 1); });
        connect(radioType_, &TRadioGroup::itemClicked, this, [this](int i) { typeClicked(i); });
        connect(antiA_, &QCheckBox::toggled, this, [this](bool on) { s_.Smooth = on; });
    }

    // The background picture.
    {
        auto* page = Named(new QWidget, "TabSheet2");
        auto* v = new QVBoxLayout(page);
        groupBox1_ = Named(new QGroupBox(page), "GroupBox1");
        v->addWidget(groupBox1_);
        auto* g = new QGridLayout(groupBox1_);
        checkFon_ = Named(new QCheckBox(groupBox1_), "CheckBoxFon");
        buttonFon_ = Named(new QPushButton(groupBox1_), "ButtonFon");
        buttonUpd_ = Named(new QPushButton(groupBox1_), "ButtonUpd");
        editFon_ = Named(new QLineEdit(groupBox1_), "EditFon");
        editFon_->setReadOnly(true);
        editFon_->setMinimumWidth(260);
        radioFon_ = Named(new TRadioGroup(QString(), groupBox1_), "RadioGroupFon");
        radioFon_->setItems({QString(), QString(), QString()});
        imageFon_ = Named(new QLabel(groupBox1_), "ImageFon");
        imageFon_->setFixedSize(100, 100);
        imageFon_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        labelFon_ = Named(new QLabel(groupBox1_), "LabelFon");
        labelFon_->hide();
        g->addWidget(checkFon_, 0, 0);
        g->addWidget(buttonFon_, 0, 1);
        g->addWidget(buttonUpd_, 0, 2);
        g->addWidget(editFon_, 1, 0, 1, 3);
        g->addWidget(radioFon_, 2, 0, 2, 2);
        g->addWidget(imageFon_, 2, 2);
        g->addWidget(labelFon_, 3, 2);
        v->addStretch(1);
        tabs_->addTab(page, QString());

        connect(checkFon_, &QCheckBox::clicked, this, [this](bool on) { backOnToggled(on); });
        connect(buttonFon_, &QPushButton::clicked, this, [this] { browseBackground(); });
        connect(buttonUpd_, &QPushButton::clicked, this, [this] { s_.BackLoaded = loadBackground(); });
        connect(radioFon_, &TRadioGroup::itemClicked, this, [this](int i) {
            s_.BackSizeMode = static_cast<std::uint8_t>(i);
            s_.BackLoaded = loadBackground();
        });
    }

    // The print page.
    {
        auto* page = Named(new QWidget, "TabSheet5");
        auto* h = new QHBoxLayout(page);
        auto* g = new QGridLayout;
        h->addLayout(g);
        labelPri1_ = Named(new QLabel(page), "LabelPri1");
        comboPri_ = Named(new QComboBox(page), "ComboBoxPri");
        for (const PaperSize& p : PaperTable) comboPri_->addItem(QLatin1String(p.name));
        comboPri_->addItem(QString());
        g->addWidget(labelPri1_, 0, 0);
        g->addWidget(comboPri_, 0, 1, 1, 2);
        labelPri2_ = Named(new QLabel(page), "LabelPri2");
        labelPri3_ = Named(new QLabel(page), "LabelPri3");
        labelPri4_ = Named(new QLabel(page), "LabelPri4");
        labelPri5_ = Named(new QLabel(page), "LabelPri5");
        editPri1_ = Named(new TNumEdit(page, false, true), "EditPri1");
        editPri2_ = Named(new TNumEdit(page, false, true), "EditPri2");
        // A margin is never negative.
        editPri3_ = Named(new TNumEdit(page, false, true), "EditPri3");
        editPri4_ = Named(new TNumEdit(page, false, true), "EditPri4");
        for (TNumEdit* e : {editPri1_, editPri2_, editPri3_, editPri4_}) e->setWords(textRoute().words);
        const char* prism[] = {"LabelPrism1", "LabelPrism2", "LabelPrism3", "LabelPrism4"};
        for (int i = 0; i < 4; ++i) labelPrism_[static_cast<std::size_t>(i)] = Named(new QLabel(page), prism[i]);
        g->addWidget(labelPri2_, 1, 0);
        g->addWidget(editPri1_, 1, 1);
        g->addWidget(labelPrism_[0], 1, 2);
        g->addWidget(labelPri3_, 2, 0);
        g->addWidget(editPri2_, 2, 1);
        g->addWidget(labelPrism_[1], 2, 2);
        groupPri1_ = Named(new QGroupBox(page), "GroupBoxPri1");
        auto* og = new QGridLayout(groupPri1_);
        portrait_ = Named(new QRadioButton(groupPri1_), "RadioButtonPri1");
        landscape_ = Named(new QRadioButton(groupPri1_), "RadioButtonPri2");
        imageOri_ = Named(new QLabel(groupPri1_), "ImageOri");
        imageOri_->setFixedSize(32, 32);
        og->addWidget(portrait_, 0, 0);
        og->addWidget(landscape_, 1, 0);
        og->addWidget(imageOri_, 0, 1, 2, 1);
        g->addWidget(groupPri1_, 3, 0, 1, 3);
        g->addWidget(labelPri4_, 4, 0);
        g->addWidget(editPri3_, 4, 1);
        g->addWidget(labelPrism_[2], 4, 2);
        g->addWidget(labelPri5_, 5, 0);
        g->addWidget(editPri4_, 5, 1);
        g->addWidget(labelPrism_[3], 5, 2);
        buttonPri1_ = Named(new QPushButton(page), "ButtonPri1");
        buttonPri2_ = Named(new QPushButton(page), "ButtonPri2");
        g->addWidget(buttonPri1_, 6, 0, 1, 3);
        g->addWidget(buttonPri2_, 7, 0, 1, 3);
        g->setRowStretch(8, 1);
        groupPri2_ = Named(new QGroupBox(page), "GroupBoxPri2");
        auto* pv = new QVBoxLayout(groupPri2_);
        imagePri_ = Named(new QLabel(groupPri2_), "ImagePri");
        imagePri_->setFixedSize(PreviewWidth, PreviewHeight);
        pv->addWidget(imagePri_);
        pv->addStretch(1);
        h->addWidget(groupPri2_, 0, Qt::AlignTop);
        tabs_->addTab(page, QString());

        connect(comboPri_, &QComboBox::activated, this, [this](int i) { paperChosen(i); });
        // The preview follows the number typed; the copy takes it when the
        // field is left.
        for (TNumEdit* e : {editPri1_, editPri2_, editPri3_, editPri4_})
            connect(e, &TNumEdit::numberTyped, this, [this] { drawPreview(); });
        connect(editPri1_, &TNumEdit::numberEntered, this, [this] { paperEntered(true); });
        connect(editPri2_, &TNumEdit::numberEntered, this, [this] { paperEntered(false); });
        connect(editPri3_, &TNumEdit::numberEntered, this, [this] { marginEntered(true); });
        connect(editPri4_, &TNumEdit::numberEntered, this, [this] { marginEntered(false); });
        connect(portrait_, &QRadioButton::clicked, this, [this] { orientation(true); });
        connect(landscape_, &QRadioButton::clicked, this, [this] { orientation(false); });
        connect(buttonPri1_, &QPushButton::clicked, this, [this] {
            s_.MarginLeft = CentredLeftMargin(s_);
            ++filling_;
            editPri4_->setText(Q(CmText(s_.MarginLeft)));
            --filling_;
            drawPreview();
        });
        connect(buttonPri2_, &QPushButton::clicked, this, [this] {
            s_.MarginTop = CentredTopMargin(s_);
            ++filling_;
            editPri3_->setText(Q(CmText(s_.MarginTop)));
            --filling_;
            drawPreview();
        });
    }

    // The fill page: on to the fill settings.
    {
        auto* page = Named(new QWidget, "TabSheet3");
        auto* v = new QVBoxLayout(page);
        button3_ = Named(new QPushButton(page), "Button3");
        v->addWidget(button3_, 0, Qt::AlignLeft);
        v->addStretch(1);
        tabs_->addTab(page, QString());
        connect(button3_, &QPushButton::clicked, this, [this] { finish(true); });
    }

    // The info texts.
    {
        auto* page = Named(new QWidget, "TabSheet6");
        auto* g = new QGridLayout(page);
        labelI1_ = Named(new QLabel(page), "LabelI1");
        labelI2_ = Named(new QLabel(page), "LabelI2");
        labelI3_ = Named(new QLabel(page), "LabelI3");
        editI1_ = Named(new QLineEdit(page), "EditI1");
        editI2_ = Named(new QLineEdit(page), "EditI2");
        memo_ = Named(new QPlainTextEdit(page), "MemoI1");
        memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo_->setTabChangesFocus(true);
        memo_->installEventFilter(this);
        g->addWidget(labelI1_, 0, 0);
        g->addWidget(editI1_, 0, 1);
        g->addWidget(labelI2_, 1, 0);
        g->addWidget(editI2_, 1, 1);
        g->addWidget(labelI3_, 2, 0, Qt::AlignTop);
        g->addWidget(memo_, 2, 1);
        tabs_->addTab(page, QString());
        for (QLineEdit* e : {editI1_, editI2_}) GuardText(e, textRoute().words);
        connect(editI1_, &QLineEdit::textChanged, this, [this](const QString& t) { s_.Caption = t.toStdString(); });
        connect(editI2_, &QLineEdit::textChanged, this, [this](const QString& t) { s_.Author = t.toStdString(); });
        connect(memo_, &QPlainTextEdit::textChanged, this, [this] { memoChanged(); });
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    button1_ = Named(new QPushButton(this), "Button1");
    button2_ = Named(new QPushButton(this), "Button2");
    button1_->setDefault(true);
    buttons->addWidget(button1_);
    buttons->addWidget(button2_);
    top->addLayout(buttons);
    // OK, and the fill settings that close the window first.
    HoldOkForTold(button1_);
    HoldOkForTold(button3_);
    connect(button1_, &QPushButton::clicked, this, [this] { finish(false); });
    connect(button2_, &QPushButton::clicked, this, &QDialog::reject);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
        if (tabs_->currentWidget()->objectName() == QLatin1String("TabSheet2")) fillBackgroundTab();
        else if (tabs_->currentWidget()->objectName() == QLatin1String("TabSheet5")) drawPreview();
    });
}

void FormImage::applyWords() {
    const WordTable& w = words_;
    auto word = [&](int n) { return Escaped(w.WordLine(WordNo::ProjectOptions + n)); };
    // Labels have no shortcut: an "&" in their text shows as it stands.
    auto label = [&](int n) { return Q(w.WordLine(WordNo::ProjectOptions + n)); };
    setWindowTitle(Q(w.WordLine(WordNo::ProjectOptions)));
    tabs_->setTabText(0, word(1));
    labelWidth_->setText(label(2));
    labelHeight_->setText(label(3));
    labelPix1_->setText(label(4));
    labelPix2_->setText(label(4));
    labelSm1_->setText(label(5));
    labelSm2_->setText(label(5));
    buttonF_->setText(word(6));
    radioFont_->setTitle(word(7));
    radioFont_->setItemText(0, word(8));
    radioFont_->setItemText(1, word(9));
    radioType_->setTitle(word(10));
    radioType_->setItemText(0, word(11));
    radioType_->setItemText(1, word(12));
    antiA_->setText(Escaped(w.WordLine(WordNo::AntiAliasing)));
    tabs_->setTabText(1, word(13));
    groupBox1_->setTitle(word(14));
    buttonFon_->setText(word(15));
    buttonUpd_->setText(word(16));
    checkFon_->setText(word(17));
    labelFon_->setText(label(18));
    radioFon_->setTitle(word(19));
    for (int i = 0; i < 3; ++i) radioFon_->setItemText(i, word(20 + i));
    tabs_->setTabText(2, word(23));
    labelPri1_->setText(label(24));
    comboPri_->setItemText(OtherPaper, Q(w.WordLine(WordNo::ProjectOptions + 25)));
    labelPri2_->setText(label(26));
    labelPri3_->setText(label(27));
    for (QLabel* l : labelPrism_) l->setText(label(28));
    groupPri1_->setTitle(word(29));
    portrait_->setText(word(30));
    landscape_->setText(word(31));
    labelPri4_->setText(label(32));
    labelPri5_->setText(label(33));
    groupPri2_->setTitle(word(34));
    buttonPri2_->setText(word(35));
    buttonPri1_->setText(word(36));
    tabs_->setTabText(3, word(37));
    button3_->setText(word(37));
    tabs_->setTabText(4, word(46));
    labelI1_->setText(label(47));
    labelI2_->setText(label(48));
    labelI3_->setText(label(49));
    button1_->setText(QStringLiteral("Ok"));
    button2_->setText(word(50));
}

void FormImage::open(const PictureSettings& settings, bool fromNew, const QImage& background, const QImage& picture) {
    ok_ = false;
    fillRequest_ = false;
    fromNew_ = fromNew;
    s_ = fromNew ? NewProjectSettings() : settings;
    fitted_ = background;
    back_ = background;
    picture_ = picture;
    applyWords();
    button3_->setEnabled(!fromNew);
    fill();
}

void FormImage::fill() {
    ++filling_;
    spin1_->setFillValue(s_.Width);
    spin2_->setFillValue(s_.Height);
    showCm();
    if (std::optional<int> item = ResolutionItemOf(s_.Dpi)) combo3_->setCurrentIndex(*item);
    radioFont_->setItemIndex(s_.FontUnit - 1);
    radioType_->setItemIndex(s_.PicMode == 1 ? 1 : 0);
    buttonF_->setEnabled(s_.PicMode != 1);
    showSwatch();
    antiA_->setChecked(s_.Smooth);
    fillBackgroundTab();
    comboPri_->setCurrentIndex(PaperItemOf(s_.PaperWidth, s_.PaperHeight));
    editPri1_->setText(Q(CmText(s_.PaperWidth)));
    editPri2_->setText(Q(CmText(s_.PaperHeight)));
    (s_.Portrait ? portrait_ : landscape_)->setChecked(true);
    editPri3_->setText(Q(CmText(s_.MarginTop)));
    editPri4_->setText(Q(CmText(s_.MarginLeft)));
    drawOrientation();
    drawPreview();
    editI1_->setText(Q(s_.Caption));
    editI2_->setText(Q(s_.Author));
    const std::array<std::string, 3> notes = s_.Notes;
    memo_->clear();
    QStringList lines;
    for (const std::string& n : notes)
        if (!n.empty()) lines << Q(n);
    memo_->setPlainText(lines.join(QLatin1Char('\n')));
    s_.Notes = notes;
    --filling_;
}

// ---------------------------------------------------------------------------
// The picture

void FormImage::showCm() {
    ++filling_;
    edit1_->setText(Q(NumberText(PixToCm(s_.Width, s_.Dpi))));
    edit2_->setText(Q(NumberText(PixToCm(s_.Height, s_.Dpi))));
    --filling_;
}

void FormImage::sizeChanged(bool width) {
    if (filling_) return;
    (width ? s_.Width : s_.Height) = (width ? spin1_ : spin2_)->checkedValue();
    showCm();
    s_.BackLoaded = false;
}

void FormImage::cmEntered(bool width) {
    TNumEdit* e = width ? edit1_ : edit2_;
    const std::string typed = e->text().toStdString();
    // An empty edit is 1 cm.
    const std::optional<double> cm = typed.find_first_not_of(' ') == std::string::npos ? 1.0 : ReadNumber(typed);
    if (const std::optional<int> px = PixelsOfCmText(typed, s_.Dpi)) {
        (width ? spin1_ : spin2_)->showValue(*px);
        (width ? s_.Width : s_.Height) = *px;
        s_.BackLoaded = false;
    }
    showCm();
    const int px = width ? s_.Width : s_.Height;
    if (!cm)
        ShowTextTip(e, said("Это не число: размер остался %1 см.", "Not a number: the size stays %1 cm.")
                           .arg(e->text()));
    else if (*cm != PixToCm(px, s_.Dpi) && CmToPix(s_.Dpi, *cm) != px)
        ShowTextTip(e, said("Сторона рисунка от %1 до %2 пикселей: взято %3 см.",
                            "A side of the picture is %1 to %2 pixels: %3 cm was taken.")
                           .arg(MinPictureSide)
                           .arg(MaxPictureSide)
                           .arg(e->text()));
    else if (*cm != PixToCm(px, s_.Dpi))
        ShowTextTip(e, said("Рисунок состоит из целых пикселей: %1 пикс., это %2 см.",
                            "The picture is made of whole pixels: %1 pixels, that is %2 cm.")
                           .arg(px)
                           .arg(e->text()));
}

void FormImage::resolutionChosen(int item) {
    if (item < 0 || item >= static_cast<int>(Resolutions.size())) return;
    s_.Dpi = Resolutions[static_cast<std::size_t>(item)];
    showCm();
}

void FormImage::chooseBackColor() {
    if (!services_.colors) return;
    if (std::optional<TColor> c = services_.colors->chooseColor(s_.Background)) {
        s_.Background = *c;
        showSwatch();
    }
}

void FormImage::typeClicked(int item) {
    s_.PicMode = item == 1 ? 1 : 0;
    buttonF_->setEnabled(s_.PicMode != 1);
    showSwatch();
}

void FormImage::showSwatch() {
    QPalette p = image1_->palette();
    p.setColor(QPalette::Window, ColorOf(s_.PicMode == 1 ? 0xFFFFFF : s_.Background));
    image1_->setPalette(p);
}

// ---------------------------------------------------------------------------
// The background picture

void FormImage::fillBackgroundTab() {
    ++filling_;
    checkFon_->setChecked(s_.BackOn);
    for (QWidget* w : std::initializer_list<QWidget*>{buttonFon_, buttonUpd_, radioFon_}) w->setEnabled(s_.BackOn);
    radioFon_->setItemIndex(s_.BackSizeMode <= 2 ? s_.BackSizeMode : 0);
    editFon_->setEnabled(false);
    showFileName();
    showBackgroundPreview();
    --filling_;
}

void FormImage::showBackgroundPreview() {
    const QSize size = BackgroundPreviewSize(s_.Width, s_.Height);
    imageFon_->setFixedSize(size);
    const bool shown = s_.BackLoaded || (s_.BackOn && !fitted_.isNull());
    imageFon_->setPixmap(QPixmap::fromImage(
        BackgroundPreview(shown ? fitted_ : QImage(), s_.Width, s_.Height, s_.Background)));
}

void FormImage::showFileName() {
    // The folders from the fourth character on give way to "..." until the
    // name fits the edit.
    QString t = Q(s_.BackPicture);
    const QFontMetrics fm(editFon_->font());
    const int room = editFon_->width() - 10;
    bool cut = false;
    for (int round = 0; round < 10; ++round) {
        const int slash = t.indexOf(QLatin1Char('/'), 3);
        if (slash < 0 || fm.horizontalAdvance(t) <= room) break;
        t.remove(3, slash - 3 + 1);
        cut = true;
    }
    if (cut) t.insert(3, QStringLiteral(".../"));
    editFon_->setText(t);
}

void FormImage::backOnToggled(bool on) {
    if (filling_) return;
    if (!on) {
        s_.BackLoaded = false;
        s_.BackOn = false;
        fitted_ = QImage(1, 1, QImage::Format_RGB32);
        fitted_.fill(Qt::white);
        back_ = QImage();
    } else {
        s_.BackOn = true;
        s_.BackLoaded = loadBackground();
    }
    fillBackgroundTab();
}

void FormImage::browseBackground() {
    if (!services_.choosePicture) return;
    const std::string name = services_.choosePicture(s_.BackPicture);
    if (name.empty()) return;
    if (!DocumentCanHoldPath(name)) {
        // The document could not find the picture again: the old one stays.
        if (services_.messages) services_.messages->showMessage(UnholdablePathText(name, &words_));
        return;
    }
    const std::string old = s_.BackPicture;
    const bool oldLoaded = s_.BackLoaded;
    s_.BackPicture = name;
    if (loadBackground()) {
        s_.BackLoaded = true;
    } else {
        // A picture that cannot be taken leaves the background as it was.
        s_.BackPicture = old;
        s_.BackLoaded = oldLoaded;
    }
    showFileName();
    showBackgroundPreview();
}

bool FormImage::loadBackground() {
    labelFon_->show();
    QApplication::processEvents();
    QImage read;
    const BackgroundResult r = ReadBackgroundPicture(s_.BackPicture, read);
    bool ok = true;
    switch (r.read) {
        case BackgroundRead::Loaded: back_ = read; break;
        case BackgroundRead::Missing: break;  // the picture kept is fitted again
        case BackgroundRead::TooLarge:
            if (services_.messages) services_.messages->showMessage(TooLargeText(r.limit, &words_));
            ok = false;
            break;
        case BackgroundRead::Unreadable:
            if (services_.messages)
                services_.messages->showMessage(words_.WordLine(WordNo::CannotOpenFile) + "\n" + s_.BackPicture);
            ok = false;
            break;
    }
    if (ok) {
        const QImage& source = back_.isNull() ? fitted_ : back_;
        fitted_ = FitBackground(source, s_.Width, s_.Height, s_.BackSizeMode);
        showBackgroundPreview();
    }
    labelFon_->hide();
    return ok;
}

// ---------------------------------------------------------------------------
// The print page

void FormImage::paperChosen(int item) {
    if (item < 0 || item >= OtherPaper) return;
    s_.PaperWidth = PaperTable[static_cast<std::size_t>(item)].width;
    s_.PaperHeight = PaperTable[static_cast<std::size_t>(item)].height;
    ++filling_;
    editPri1_->setText(Q(CmText(s_.PaperWidth)));
    editPri2_->setText(Q(CmText(s_.PaperHeight)));
    --filling_;
    keepMarginsOnPage(comboPri_);
    drawPreview();
}

void FormImage::paperEntered(bool width) {
    millimetresEntered(width ? editPri1_ : editPri2_, width ? s_.PaperWidth : s_.PaperHeight,
                       {LeastPaperSide(s_, width), MaxPaperSide},
                       said("Размер бумаги — от %2 до %3 см: остался %1 см.",
                            "A paper side is %2 to %3 cm: it stays %1 cm."),
                       said("Размер бумаги хранится в целых миллиметрах: взято %1 см.",
                            "The paper size is kept in whole millimetres: %1 cm was taken."));
}

void FormImage::marginEntered(bool top) {
    millimetresEntered(top ? editPri3_ : editPri4_, top ? s_.MarginTop : s_.MarginLeft,
                       {0, top ? MaxTopMargin(s_) : MaxLeftMargin(s_)},
                       said("Поле — от %2 до %3 см, внутри листа: осталось %1 см.",
                            "A margin is %2 to %3 cm, inside the page: it stays %1 cm."),
                       said("Поля хранятся в целых миллиметрах: взято %1 см.",
                            "Margins are kept in whole millimetres: %1 cm was taken."));
}

// A paper side or a margin left: typed in centimetres (an empty edit: 0),
// kept in whole millimetres within `range`.  The edit then shows what is
// kept, with `refused` (what is kept, then the range) or `rounded` where
// that is not what was typed.
void FormImage::millimetresEntered(TNumEdit* e, int& kept, std::pair<int, int> range, const QString& refused,
                                   const QString& rounded) {
    const bool empty = e->text().isEmpty();
    const std::string text = empty ? std::string("0") : e->text().toStdString();
    const std::optional<int> mm = MarginOfText(text);  // the millimetres of any number
    const bool taken = mm && *mm >= range.first && *mm <= range.second;
    if (taken) kept = *mm;
    e->showNumber(kept / 10.0);
    comboPri_->setCurrentIndex(PaperItemOf(s_.PaperWidth, s_.PaperHeight));
    drawPreview();
    if (!taken) ShowTextTip(e, refused.arg(e->text(), Q(CmText(range.first)), Q(CmText(range.second))));
    else if (empty) ShowTextTip(e, Q(EmptyNote(words_, kept / 10.0)));
    else if (ReadNumber(text) != kept / 10.0) ShowTextTip(e, rounded.arg(e->text()));
}

// A page chosen or turned keeps the margins on it, and says so where they moved.
void FormImage::keepMarginsOnPage(QWidget* at) {
    if (!KeepMarginsOnPage(s_)) return;
    ++filling_;
    editPri3_->showNumber(s_.MarginTop / 10.0);
    editPri4_->showNumber(s_.MarginLeft / 10.0);
    --filling_;
    ShowTextTip(at, said("Поля остаются внутри листа: сверху взято %1 см, слева %2 см.",
                         "The margins stay inside the page: %1 cm was taken at the top, %2 cm at the left.")
                        .arg(Q(CmText(s_.MarginTop)), Q(CmText(s_.MarginLeft))));
}

void FormImage::finishTyping() {
    for (TNumEdit* e : {edit1_, edit2_, editPri1_, editPri2_, editPri3_, editPri4_}) e->finishTyping();
    for (TSpinEdit* s : {spin1_, spin2_}) s->finishTyping();
}

void FormImage::orientation(bool portrait) {
    s_.Portrait = portrait;
    keepMarginsOnPage(portrait ? static_cast<QWidget*>(portrait_) : landscape_);
    drawOrientation();
    drawPreview();
}

void FormImage::drawOrientation() {
    // A sheet standing or lying, with its lines of text.
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const QRect sheet = s_.Portrait ? QRect(8, 2, 16, 27) : QRect(2, 8, 27, 16);
    p.fillRect(sheet, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(sheet);
    p.setPen(Qt::gray);
    for (int y = sheet.top() + 4; y < sheet.bottom() - 2; y += 3) p.drawLine(sheet.left() + 3, y, sheet.right() - 3, y);
    p.end();
    imageOri_->setPixmap(QPixmap::fromImage(img));
}

void FormImage::drawPreview() {
    PictureSettings shown = s_;
    const auto typed = [](TNumEdit* e) { return e->typing() ? e->text().toStdString() : std::string(); };
    if (const std::optional<int> mm = PaperSideOfText(typed(editPri1_))) shown.PaperWidth = *mm;
    if (const std::optional<int> mm = PaperSideOfText(typed(editPri2_))) shown.PaperHeight = *mm;
    if (const std::optional<int> mm = MarginOfText(typed(editPri3_)); mm && *mm >= 0) shown.MarginTop = *mm;
    if (const std::optional<int> mm = MarginOfText(typed(editPri4_)); mm && *mm >= 0) shown.MarginLeft = *mm;
    QImage img(PreviewWidth, PreviewHeight, QImage::Format_RGB32);
    img.fill(palette().color(QPalette::Window));
    DrawPrintPreview(img, shown, picture_);
    imagePri_->setPixmap(QPixmap::fromImage(img));
}

// ---------------------------------------------------------------------------
// The info texts

void FormImage::memoChanged() {
    if (filling_) return;
    // The box shows what the document keeps: a tab is a space, every line
    // break the box shows is a line of the file (a line separator, from
    // Shift+Return or a paste, becomes a break between lines), and there are
    // three notes, the lines after the third going with the change that
    // brought them (one undo step), told by a tip.
    QTextDocument* text = memo_->document();
    const QString tab(QLatin1Char('\t')), separator(QChar::LineSeparator);
    bool over = text->blockCount() > 3;
    if (over || !text->find(tab).isNull() || !text->find(separator).isNull()) {
        QSignalBlocker block(memo_);
        QTextCursor c(text);
        c.joinPreviousEditBlock();
        for (QTextCursor t = text->find(tab); !t.isNull(); t = text->find(tab, t)) t.insertText(QStringLiteral(" "));
        for (QTextCursor sep = text->find(separator); !sep.isNull(); sep = text->find(separator, sep)) {
            sep.removeSelectedText();
            sep.insertBlock();
        }
        over = text->blockCount() > 3;
        if (over) {
            c.setPosition(text->findBlockByNumber(2).position());
            c.movePosition(QTextCursor::EndOfBlock);
            c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        }
        c.endEditBlock();
    }
    if (over)
        ShowTextTip(memo_, QString::fromUtf8(words_.Said("В заметках три строки: следующие строки не приняты.",
                                                         "The notes hold three lines: the lines after them were not taken.")));
    s_.Notes = NotesOfMemo(memo_->toPlainText().toStdString());
}

bool FormImage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memo_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            memo_->textCursor().blockNumber() >= 2)
            return true;  // a fourth note has no place
    }
    return QDialog::eventFilter(watched, event);
}

QString FormImage::said(const char* russian, const char* english) const {
    return QString::fromUtf8(words_.Said(russian, english));
}

TextRoute FormImage::textRoute() const {
    return {[this]() -> const WordTable& { return words_; },
            [this](const std::string& text) {
                if (services_.messages) services_.messages->showMessage(text);
            }};
}

void FormImage::finish(bool fill) {
    // The notes are checked as a whole: the dialog stays open on what the
    // document cannot hold.
    QString notes = memo_->toPlainText();
    if (!TextHeld(notes, textRoute())) {
        tabs_->setCurrentWidget(memo_->parentWidget());
        memo_->setFocus();
        return;
    }
    if (notes != memo_->toPlainText()) memo_->setPlainText(notes);  // the notes follow
    // A number still being typed counts as entered.
    finishTyping();
    // A picture resized since its background was fitted gets it fitted again.
    if (s_.BackOn && !s_.BackLoaded && !back_.isNull()) {
        fitted_ = FitBackground(back_, s_.Width, s_.Height, s_.BackSizeMode);
        s_.BackLoaded = true;
    }
    ok_ = true;
    fillRequest_ = fill;
    accept();
}

}  // namespace pelmar
