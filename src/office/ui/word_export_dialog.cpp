#include "office/ui/word_export_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "drawing/redraw.h"

namespace pelmar {

WordExportDialog::WordExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent)
    : ExportDialogBase(ctx, state, parent) {
    setObjectName("FormWord");
    auto* top = new QVBoxLayout(this);

    GroupBox3 = new QGroupBox(this);
    GroupBox3->setObjectName("GroupBox3");
    auto* grid = new QGridLayout(GroupBox3);
    Label1 = new QLabel(GroupBox3);
    Label1->setObjectName("Label1");
    grid->addWidget(Label1, 0, 0);
    SpinEditNArrow = new TSpinEdit(GroupBox3);
    SpinEditNArrow->setObjectName("SpinEditNArrow");
    SpinEditNArrow->setMinMax(1, 6);
    SpinEditNArrow->setValue(4);
    grid->addWidget(SpinEditNArrow, 0, 1);
    Label3 = new QLabel(GroupBox3);
    Label3->setObjectName("Label3");
    grid->addWidget(Label3, 1, 0);
    SpinEditNDash = new TSpinEdit(GroupBox3);
    SpinEditNDash->setObjectName("SpinEditNDash");
    SpinEditNDash->setMinMax(1, 8);
    SpinEditNDash->setValue(4);
    grid->addWidget(SpinEditNDash, 1, 1);
    top->addWidget(GroupBox3);

    top->addWidget(makeStatusGroup(true));
    top->addWidget(makeRunGroup(QString::fromLatin1(OdtTypeName)));
    top->addWidget(makeButtons());
    WordsToExport();
}

void WordExportDialog::WordsToExport() { wordsToShared(); }

void WordExportDialog::firstPaint() {
    setWindowTitle(QString::fromStdString(wordLine(CaptionLine) + OdtTypeName));
    Image1->show();
    Image2->hide();
    RadioGroupRun->setTitle(QString::fromLatin1(OdtTypeName));
    LabelStatus1->setText(QString::fromStdString(wordLine(StartingLine) + OdtTypeName + "..."));
}

WordSettings WordExportDialog::controls() const {
    WordSettings s;
    s.runMode = std::max(RadioGroupRun->itemIndex(), 0);
    s.arrowNo = SpinEditNArrow->checkedValue();
    s.dashNo = SpinEditNDash->checkedValue();
    return s;
}

void WordExportDialog::loadSettings() {
    read_ = ReadWordSettings(ctx_.progDir);
    const WordSettings& s = read_.values;
    RadioGroupRun->setItemIndex(s.runMode);
    SpinEditNArrow->setValue(s.arrowNo);
    SpinEditNDash->setValue(s.dashNo);
    if (read_.unreadable) tellUnreadable(read_.file, read_.error);
}

std::string WordExportDialog::saveSettings() {
    const WordSettings now = controls();
    if (!OptionsNeedWriting(read_, now)) return {};
    std::string error = SaveWordSettings(ctx_.progDir, now);
    if (error.empty()) read_.values = now;
    return error;
}

bool WordExportDialog::runExport(OfficeRun& run) {
    const WordSettings s = controls();
    if (!ctx_.proj || !ctx_.st) throw AutomationError("no document to export");
    run.proj = ctx_.proj;
    run.snapshot = ctx_.st->DrawProj.get();
    run.painters = &ctx_.st->Painters;
    run.options.WordArrowNo = static_cast<std::uint8_t>(s.arrowNo);
    run.options.WordDashNo = static_cast<std::uint8_t>(s.dashNo);
    run.tempDir = ctx_.progDir + "Temp/";
    run.ui = this;
    run.desktop = ctx_.desktop;
    return ExportToOffice(state_.WordFileName, static_cast<RunMode>(s.runMode), ctx_.proj->Im, run);
}

}  // namespace pelmar
