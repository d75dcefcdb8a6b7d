#include "office/ui/export_dialog_base.h"

#include <QCloseEvent>
#include <QTimer>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/ui/radio_group.h"
#include "drawing/redraw.h"
#include "files/ui/modal_ok.h"
#include "files/word_table.h"
#include "office/ui/desktop.h"
#include "shell/startup.h"

namespace pelmar {

ExportDialogBase::ExportDialogBase(OfficeExportContext& ctx, ExportState& state, QWidget* parent)
    : QDialog(parent), ctx_(ctx), state_(state) {
    setModal(true);
}

std::string ExportDialogBase::wordLine(int line) { return ctx_.wordLine ? ctx_.wordLine(line) : std::string(); }

bool ExportDialogBase::askYesNo(const std::string& text) {
    return ctx_.messages ? ctx_.messages->askYesNo(text) : false;
}

void ExportDialogBase::setStatus(const std::string& text) {
    LabelStatus1->setText(QString::fromStdString(text));
    LabelStatus1->show();
    LabelStatus1->repaint();
}

void ExportDialogBase::setProgress(int done, int total) {
    if (total <= 0) return;
    ProgressBar1->setRange(0, total);
    ProgressBar1->setValue(done);
    ProgressBar1->show();
    ProgressBar1->repaint();
}

QString ExportDialogBase::escapedWord(int line) {
    return QString::fromStdString(wordLine(line)).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void ExportDialogBase::wordsToShared() {
    for (int i = 0; i < 3; ++i) RadioGroupRun->setItemText(i, escapedWord(RunItemLine + i));
    GroupBox3->setTitle(escapedWord(LinesLine));
    Label1->setText(QString::fromStdString(wordLine(ArrowNoLine)));
    Label3->setText(QString::fromStdString(wordLine(DashNoLine)));
    GroupBox4->setTitle(escapedWord(StatusLine));
    LabelStatus1->setText(QString::fromStdString(wordLine(StartingLine)));
    LabelStatus2->setText(QString::fromStdString(wordLine(ImplicitGraphLine)));
    Button2->setText(escapedWord(CancelLine));
}

TRadioGroup* ExportDialogBase::makeRunGroup(const QString& title) {
    RadioGroupRun = new TRadioGroup(title, this);
    RadioGroupRun->setObjectName("RadioGroupRun");
    RadioGroupRun->setItems({QString(), QString(), QString()});
    RadioGroupRun->setItemIndex(0);
    return RadioGroupRun;
}

QGroupBox* ExportDialogBase::makeStatusGroup(bool secondImage) {
    auto* box = new QGroupBox(this);
    box->setObjectName("GroupBox4");
    GroupBox4 = box;
    auto* row = new QHBoxLayout(box);
    Image1 = new QLabel(box);
    Image1->setObjectName("Image1");
    Image1->setFixedSize(32, 32);
    row->addWidget(Image1);
    if (secondImage) {
        Image2 = new QLabel(box);
        Image2->setObjectName("Image2");
        Image2->setFixedSize(32, 32);
        row->addWidget(Image2);
    }
    auto* col = new QVBoxLayout;
    LabelStatus1 = new QLabel(box);
    LabelStatus1->setObjectName("LabelStatus1");
    LabelStatus2 = new QLabel(box);
    LabelStatus2->setObjectName("LabelStatus2");
    ProgressBar1 = new QProgressBar(box);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->hide();
    col->addWidget(LabelStatus1);
    col->addWidget(LabelStatus2);
    col->addWidget(ProgressBar1);
    row->addLayout(col, 1);
    box->setMinimumHeight(80);
    return box;
}

QWidget* ExportDialogBase::makeButtons() {
    auto* w = new QWidget(this);
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    Button1 = new QPushButton("Ok", w);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    HoldOkForTold(Button1);
    Button2 = new QPushButton(w);
    Button2->setObjectName("Button2");
    row->addWidget(Button1);
    row->addWidget(Button2);
    connect(Button1, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(Button2, &QPushButton::clicked, this, [this] {
        closePermit_ = true;
        close();
    });
    return w;
}

void ExportDialogBase::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!firstPaint_) return;
    firstPaint_ = false;
    firstPaint();
    // Wide enough for the window manager to show the whole caption, which
    // names the file type (a bold caption, the frame's icon and buttons).
    QFont bold = font();
    bold.setBold(true);
    setMinimumWidth(std::max(minimumWidth(), QFontMetrics(bold).horizontalAdvance(windowTitle()) + 120));
    LabelStatus1->hide();
    LabelStatus2->hide();
    loadSettings();
}

void ExportDialogBase::tellUnreadable(const std::string& file, int error) {
    const std::string reason = UnreadableFileReason(error, ctx_.words);
    if (ctx_.toldUnreadable && !ctx_.toldUnreadable->insert(file + '\n' + reason).second) return;
    const std::string text =
        std::string(Said(ctx_.words, "Не могу прочитать файл параметров экспорта ",
                         "Cannot read the export options file ")) +
        file + ": " + reason + ".\n" +
        std::string(Said(ctx_.words, "Окно показывает параметры по умолчанию; файл не будет перезаписан.",
                         "The window shows the default options; the file will not be written over."));
    // Told over the dialog once it is on the screen.
    QTimer::singleShot(0, this, [this, text] {
        if (ctx_.messages) ctx_.messages->showNotice(text);
    });
}

void ExportDialogBase::okClicked() {
    Button1->setEnabled(false);
    Button2->setEnabled(false);
    Button1->repaint();
    // The options chosen are kept whether or not the export then succeeds.
    if (const std::string error = saveSettings(); !error.empty() && ctx_.messages) ctx_.messages->showError(error);
    bool dummy = false;
    bool& running = ctx_.st ? ctx_.st->Running : dummy;
    const bool ok = RunGuarded(
        running, [this] { return runExport(run_); },
        [this](const std::string& text) {
            if (ctx_.messages) ctx_.messages->showError(text);
        },
        ctx_.words);
    closePermit_ = ok;
    Button1->setEnabled(true);
    Button2->setEnabled(true);
    LabelStatus1->hide();
    LabelStatus2->hide();
    ProgressBar1->hide();
    if (ok) close();
}

void ExportDialogBase::closeEvent(QCloseEvent* e) {
    if (!closePermit_) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void ExportDialogBase::done(int r) {
    // Escape and the window's close button end here too: only "Ok" after a
    // run and "Отмена" may close.  Closing writes nothing: "Ok" wrote the
    // options before its run.
    if (!closePermit_) return;
    QDialog::done(r);
}

}  // namespace pelmar
