#include "files/ui/zor_dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QShowEvent>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <exception>

#include "drawing/redraw.h"
#include "files/document.h"
#include "files/preview_facts.h"
#include "files/ui/preview_widgets.h"
#include "files/text_lines.h"
#include "platform/side_file.h"

#include <unistd.h>

namespace pelmar {

namespace {

const char* const DefaultFilter =
    "Pel-Files (*.pel)|*.pel|All Support Types|*.pel;*.bmp;*.jpg;*.gif;*.png;*.wmf;*.emf|All Files|*.*";

constexpr std::array<const char*, 7> StartValues{"1.111", "00:00", "01.01.2010", "500x500", "1.0", "И", "X"};

// A picture larger than this is read scaled down: the preview never needs
// more, and a huge picture is not loaded whole.
constexpr int PictureReadBox = 2048;

QPixmap PreviewGlyph() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1.6));
    p.setBrush(QColor(200, 225, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(64, 32, 0), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    return pm;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(align | Qt::AlignVCenter);
    l->setGeometry(6, 126, 75, 23);
    return l;
}

}  // namespace

QStringList NameFiltersOf(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        out << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out;
}

// The redraw's window side while the dialog previews a document: the
// miniature comes to this dialog, everything else goes to the main window
// (or nowhere, when the dialog has none).
class TOpenZorDialog::PreviewHost final : public PictureRole {
public:
    PreviewHost(TOpenZorDialog& dialog, const RedrawHost* outer) : dialog_(dialog), outer_(outer) {}

    RedrawHost roles() {
        if (outer_) return {outer_->texts, outer_->progress, outer_->status, outer_->commands, *this};
        return {ownTexts_, quiet_, quiet_, quiet_, *this};
    }

    ViewPort imageView() override { return outer_ ? outer_->picture.imageView() : ViewPort{}; }
    void showPicture(const QImage& view, int boxWidth, int boxHeight, int left, int top) override {
        if (outer_) outer_->picture.showPicture(view, boxWidth, boxHeight, left, top);
    }
    void showPreview(RedrawMode, const QImage& picture) override { dialog_.ShowPreviewPicture(picture); }

private:
    // Without a main window: no words, the user's decimal separator.
    class OwnTexts final : public TextRole {
    public:
        std::string wordLine(int) override { return {}; }
        char decimalSeparator() override { return DecimalSeparator(); }
        void showMessage(const std::string&) override {}
    };

    TOpenZorDialog& dialog_;
    const RedrawHost* outer_;
    OwnTexts ownTexts_;
    QuietWindow quiet_;
};

TOpenZorDialog::TOpenZorDialog(QWidget* owner, ZorDialogContext context)
    : QFileDialog(owner), context_(std::move(context)) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    // The overwrite question belongs to the save command.
    setOption(QFileDialog::DontConfirmOverwrite, true);
    setOption(QFileDialog::HideNameFilterDetails, true);
    host_ = std::make_unique<PreviewHost>(*this, context_.Host);
    SetFilter(QString::fromUtf8(DefaultFilter));
    BuildPanel();
    connect(this, &QFileDialog::currentChanged, this, &TOpenZorDialog::DoSelectionChange);
}

TOpenZorDialog::~TOpenZorDialog() = default;

std::string TOpenZorDialog::Word(WordNo word) const {
    const int line = static_cast<int>(word);
    if (context_.WordLine) {
        std::string w = context_.WordLine(line);
        if (!w.empty()) return w;
    }
    const char* builtIn = BuiltInWord(word);
    return builtIn ? builtIn : "";
}

DrawingState& TOpenZorDialog::Drawing() {
    if (context_.Drawing) return *context_.Drawing;
    if (!ownDrawing_) ownDrawing_ = std::make_unique<DrawingState>();
    return *ownDrawing_;
}

DProj& TOpenZorDialog::OpenDocument() {
    if (context_.Proj) return *context_.Proj;
    if (!ownProj_) ownProj_ = NewDocument();
    return *ownProj_;
}

void TOpenZorDialog::SetFilter(const QString& filter) {
    filter_ = filter;
    setNameFilters(NameFiltersOf(filter));
}

QString TOpenZorDialog::FileName() const { return selectedFiles().value(0); }

void TOpenZorDialog::SetFileName(const QString& name) { selectFile(name); }

void TOpenZorDialog::SetInitialDir(const QString& dir) { setDirectory(dir); }

void TOpenZorDialog::BuildPanel() {
    PicturePanel = new QWidget(this);
    PicturePanel->setObjectName(QStringLiteral("PicturePanel"));
    PicturePanel->setFixedWidth(169);
    PicturePanel->setMinimumHeight(6 + 23 + 150 + 160 + 70 + 6);

    PictureLabel = new QLabel(PicturePanel);
    PictureLabel->setObjectName(QStringLiteral("PictureLabel"));
    PictureLabel->setGeometry(6, 6, 157, 23);

    const QString t1 = QString::fromStdString(Word(WordNo::PreviewSize));
    const Qt::Alignment left = Qt::AlignLeft, right = Qt::AlignRight;
    LabelSize1 = NewLabel(PicturePanel, "LabelSize1", t1, left);
    LabelSize2 = NewLabel(PicturePanel, "LabelSize2", QString::fromUtf8(StartValues[0]), right);
    LabelTime1 = NewLabel(PicturePanel, "LabelTime1", QString::fromStdString(Word(WordNo::PreviewTime)), left);
    LabelTime2 = NewLabel(PicturePanel, "LabelTime2", QString::fromUtf8(StartValues[1]), right);
    LabelDate1 = NewLabel(PicturePanel, "LabelDate1", QString::fromStdString(Word(WordNo::PreviewDate)), left);
    LabelDate2 = NewLabel(PicturePanel, "LabelDate2", QString::fromUtf8(StartValues[2]), right);
    LabelSizeIm1 = NewLabel(PicturePanel, "LabelSizeIm1", QString::fromStdString(Word(WordNo::PreviewPicture)), left);
    LabelSizeIm2 = NewLabel(PicturePanel, "LabelSizeIm2", QString::fromUtf8(StartValues[3]), right);
    LabelVer1 = NewLabel(PicturePanel, "LabelVer1", QString::fromStdString(Word(WordNo::PreviewVersion)), left);
    LabelVer2 = NewLabel(PicturePanel, "LabelVer2", QString::fromUtf8(StartValues[4]), right);
    LabelAuth1 = NewLabel(PicturePanel, "LabelAuth1", QString::fromStdString(Word(WordNo::PreviewAuthor)), left);
    LabelAuth2 = NewLabel(PicturePanel, "LabelAuth2", QString::fromUtf8(StartValues[5]), right);
    LabelCapt1 = NewLabel(PicturePanel, "LabelCapt1", QString::fromStdString(Word(WordNo::PreviewCaption)), left);
    LabelCapt2 = NewLabel(PicturePanel, "LabelCapt2", QString::fromUtf8(StartValues[6]), Qt::AlignHCenter);
    // A name label is as wide as its word needs.
    for (QLabel* l : {LabelSize1, LabelTime1, LabelDate1, LabelSizeIm1, LabelVer1, LabelAuth1, LabelCapt1})
        l->resize(std::max(75, l->sizeHint().width()), 23);
    LabelCapt2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LabelCapt2->setWordWrap(true);
    LabelCapt2->resize(150, 70);

    PreviewButton = new QToolButton(PicturePanel);
    PreviewButton->setObjectName(QStringLiteral("PreviewButton"));
    PreviewButton->setGeometry(77, 1, 23, 22);
    PreviewButton->setAutoRaise(true);
    PreviewButton->setIcon(QIcon(PreviewGlyph()));
    PreviewButton->setToolTip(QStringLiteral("Preview"));
    PreviewButton->setEnabled(false);
    connect(PreviewButton, &QToolButton::clicked, this, [this] { PreviewClick(); });

    PaintPanel = new TSilentPaintPanel(PicturePanel);
    PaintPanel->setObjectName(QStringLiteral("PaintPanel"));
    PaintPanel->setGeometry(6, 29, 257, 145);

    ImageCtrl = new TPreviewImage(PaintPanel);
    ImageCtrl->setObjectName(QStringLiteral("PaintBox"));
    auto* fill = new QVBoxLayout(PaintPanel);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(ImageCtrl);
    connect(ImageCtrl, &TPreviewImage::doubleClicked, this, [this] { PreviewClick(); });

    // The panel stands to the right of the standard controls, over all their rows.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int rows = grid->rowCount();
        const int column = grid->columnCount();
        grid->addWidget(PicturePanel, 0, column, rows, 1, Qt::AlignTop);
    }
    LayoutPanel();
}

void TOpenZorDialog::LayoutPanel() {
    PaintPanel->setGeometry(PaintPanel->x(), PaintPanel->y(), 150, 150);
    const int L = PaintPanel->x();
    const int B = PaintPanel->y() + PaintPanel->height();
    const int R = L + PaintPanel->width();
    const std::array<std::pair<QLabel*, QLabel*>, 6> rows{{{LabelSize1, LabelSize2},
                                                           {LabelTime1, LabelTime2},
                                                           {LabelDate1, LabelDate2},
                                                           {LabelSizeIm1, LabelSizeIm2},
                                                           {LabelVer1, LabelVer2},
                                                           {LabelAuth1, LabelAuth2}}};
    int top = B + 20;
    for (const auto& [name, value] : rows) {
        name->move(L, top);
        value->move(R - value->width(), top);
        top += 20;
    }
    LabelCapt1->move(L, B + 140);
    LabelCapt2->setGeometry(L, B + 160, 150, 70);
    PreviewButton->move(R - PreviewButton->width(), PreviewButton->y());
}

void TOpenZorDialog::DoShow() {
    LayoutPanel();
    ImageCtrl->clear();
    SavedFilename.clear();
    PaintPanel->setCaption(QStringLiteral("(None)"));
}

void TOpenZorDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) DoShow();
    QFileDialog::showEvent(event);
}

void TOpenZorDialog::NoPreview() {
    PictureLabel->setText(QStringLiteral("Picture:"));
    PreviewButton->setEnabled(false);
    ImageCtrl->clear();
    PaintPanel->setCaption(QStringLiteral("(None)"));
}

void TOpenZorDialog::DoSelectionChange(const QString& fileName) {
    const QDateTime stamp = FileDateTimeOf(fileName);
    const bool exists = stamp.isValid() && !QFileInfo(fileName).isDir();
    // The same file again: the preview and its facts stay as they are.
    if (!fileName.isEmpty() && fileName == SavedFilename) return;
    for (QLabel* l : {LabelSize2, LabelTime2, LabelDate2, LabelSizeIm2, LabelVer2, LabelAuth2, LabelCapt2})
        l->clear();
    SavedFilename = fileName;

    bool shown = false;
    if (exists && FileExistsByAttr(fileName)) {
        try {
            LabelSize2->setText(QString::fromStdString(FileSizeText(FileSizeOf(fileName))));
            LabelTime2->setText(QString::fromStdString(FileTimeText(stamp)));
            LabelDate2->setText(QString::fromStdString(FileDateText(stamp)));
            switch (PreviewKindOf(fileName)) {
                case PreviewKind::Picture:
                    shown = PicturePreview(fileName);
                    break;
                case PreviewKind::Document:
                    DocumentPreview(fileName);
                    shown = true;
                    break;
                case PreviewKind::None:
                    break;
            }
        } catch (const std::exception&) {
            shown = false;
        }
    }
    if (!shown) NoPreview();
}

bool TOpenZorDialog::PicturePreview(const QString& fileName) {
    // A pipe or a device chosen in the dialog is no picture: never waited on.
    const int fd = OpenRegularFile(fileName.toStdString());
    if (fd < 0) return false;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    QImageReader reader(&file);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > PictureReadBox || size.height() > PictureReadBox))
        reader.setScaledSize(size.scaled(PictureReadBox, PictureReadBox, Qt::KeepAspectRatio));
    const QImage picture = reader.read();
    if (picture.isNull()) return false;
    const QSize shownSize = size.isValid() ? size : picture.size();
    const QString text = QStringLiteral(" (%1x%2)").arg(shownSize.width()).arg(shownSize.height());
    ImageCtrl->setPicture(picture);
    PictureLabel->setText(text);
    LabelSizeIm2->setText(text);
    PreviewButton->setEnabled(true);
    PaintPanel->setCaption(QString());
    return true;
}

void TOpenZorDialog::DocumentPreview(const QString& fileName) {
    DrawingState& st = Drawing();
    // A fresh document each time, so that nothing of an earlier preview
    // stays in the settings an older file lacks.  Read without the open
    // document: previewing a file never touches it.
    *st.PreviewProj = *NewDocument();
    std::uint8_t version = 0;
    const std::uint8_t result = ReadDocument(fileName.toStdString(), *st.PreviewProj, version, ReadModePreview);
    LabelVer2->setText(QString::fromStdString(VersionText(version)));
    // The picture size belongs to pictures; a document lists its own below.
    PictureLabel->clear();
    ImageCtrl->clear();
    PaintPanel->setCaption(QString());
    if (version <= 9 || result != ReadOk) {
        LabelCapt2->clear();
        LabelAuth2->clear();
        LabelSizeIm2->clear();
        PreviewButton->setEnabled(false);
        return;
    }
    DProj& doc = *st.PreviewProj;
    LabelCapt2->setText(QString::fromStdString(doc.Caption));
    LabelAuth2->setText(QString::fromStdString(doc.Author));
    LabelSizeIm2->setText(QStringLiteral("%1x%2").arg(doc.Im.Width).arg(doc.Im.Height));
    doc.Im.PicMode = 1;
    if (PreviewablePictureSize(doc.Im.Width, doc.Im.Height))
        RepaintProject(OpenDocument(), st, host_->roles(),
                       PreviewDialogKind() == 0 ? RedrawMode::OpenPreview : RedrawMode::SavePreview, false);
    PreviewButton->setEnabled(!ImageCtrl->picture().isNull());
}

void TOpenZorDialog::ShowPreviewPicture(const QImage& picture) { ImageCtrl->setPicture(picture); }

void TOpenZorDialog::DoClose() {
    QToolTip::hideText();
    DrawingState& st = Drawing();
    if (st.Running) RepaintProject(OpenDocument(), st, host_->roles(), RedrawMode::OpenPreview, false);
}

void TOpenZorDialog::done(int result) {
    QFileDialog::done(result);
    DoClose();
}

void TOpenZorDialog::PreviewClick() {
    std::unique_ptr<QDialog> form = MakePreviewForm(ImageCtrl->picture(), this);
    form->exec();
}

bool TOpenZorDialog::Run() {
    running_ = true;
    const bool ok = exec() == QDialog::Accepted;
    running_ = false;
    return ok;
}

bool TOpenZorDialog::Execute() {
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    return Run();
}

bool TSaveZorDialog::Execute() {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    return Run();
}

}  // namespace pelmar
