#include "office/ui/cdr_export_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/ui/radio_group.h"
#include "dialogs/ui/spin_edit.h"
#include "drawing/redraw.h"

namespace pelmar {

CdrExportDialog::CdrExportDialog(OfficeExportContext& ctx, ExportState& state, QWidget* parent)
    : ExportDialogBase(ctx, state, parent) {
    setObjectName("FormCDR");
    auto* top = new QVBoxLayout(this);

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName("GroupBox2");
    auto* mainGrid = new QGridLayout(GroupBox2);
    Label2 = new QLabel(GroupBox2);
    Label2->setObjectName("Label2");
    mainGrid->addWidget(Label2, 0, 0);
    SpinEditVer = new TSpinEdit(GroupBox2);
    SpinEditVer->setObjectName("SpinEditVer");
    SpinEditVer->setMinMax(8, 100);
    SpinEditVer->setValue(8);
    // A program version means nothing to an OpenDocument drawing: the
    // setting is kept in the settings file but cannot be changed.
    Label2->setEnabled(false);
    SpinEditVer->setEnabled(false);
    mainGrid->addWidget(SpinEditVer, 0, 1);
    mainGrid->addWidget(makeRunGroup(QString::fromLatin1(OdgTypeName)), 1, 0, 1, 2);
    top->addWidget(GroupBox2);

    RadioGroupGroup = new TRadioGroup(QString(), this);
    RadioGroupGroup->setObjectName("RadioGroupGroup");
    RadioGroupGroup->setItems({QString(), QString()});
    RadioGroupGroup->setItemIndex(1);
    top->addWidget(RadioGroupGroup);

    GroupBox3 = new QGroupBox(this);
    GroupBox3->setObjectName("GroupBox3");
    auto* linesGrid = new QGridLayout(GroupBox3);
    CheckBoxArrow = new QCheckBox(GroupBox3);
    CheckBoxArrow->setObjectName("CheckBoxArrow");
    linesGrid->addWidget(CheckBoxArrow, 0, 0, 1, 2);
    Label1 = new QLabel(GroupBox3);
    Label1->setObjectName("Label1");
    linesGrid->addWidget(Label1, 1, 0);
    SpinEditNArrow = new TSpinEdit(GroupBox3);
    SpinEditNArrow->setObjectName("SpinEditNArrow");
    SpinEditNArrow->setMinMax(0, 90);
    SpinEditNArrow->setValue(3);
    linesGrid->addWidget(SpinEditNArrow, 1, 1);
    Label3 = new QLabel(GroupBox3);
    Label3->setObjectName("Label3");
    linesGrid->addWidget(Label3, 2, 0);
    SpinEditNDash = new TSpinEdit(GroupBox3);
    SpinEditNDash->setObjectName("SpinEditNDash");
    SpinEditNDash->setMinMax(0, 30);
    SpinEditNDash->setValue(9);
    linesGrid->addWidget(SpinEditNDash, 2, 1);
    top->addWidget(GroupBox3);
    connect(CheckBoxArrow, &QCheckBox::toggled, this, [this] { arrowClicked(); });
    CheckBoxArrow->setChecked(true);

    top->addWidget(makeStatusGroup(false));
    top->addWidget(makeButtons());
    WordsToExport();
}

void CdrExportDialog::WordsToExport() {
    setWindowTitle(QString::fromStdString(wordLine(CaptionLine) + OdgTypeName));
    GroupBox2->setTitle(escapedWord(MainGroupLine));
    Label2->setText(QString::fromStdString(wordLine(VersionLine)));
    RadioGroupGroup->setTitle(escapedWord(GroupingLine));
    for (int i = 0; i < 2; ++i) RadioGroupGroup->setItemText(i, escapedWord(GroupItemLine + i));
    CheckBoxArrow->setText(escapedWord(OwnArrowsLine));
    wordsToShared();
    LabelStatus1->setText(QString::fromStdString(wordLine(StartingLine) + OdgTypeName + "..."));
}

void CdrExportDialog::arrowClicked() {
    const bool own = CheckBoxArrow->isChecked();
    Label1->setEnabled(!own);
    SpinEditNArrow->setEnabled(!own);
}

void CdrExportDialog::setControls(const CdrSettings& s) {
    SpinEditVer->setValue(s.version);
    RadioGroupRun->setItemIndex(s.runMode);
    RadioGroupGroup->setItemIndex(s.groupMode);
    CheckBoxArrow->setChecked(s.ownArrows);
    arrowClicked();
    SpinEditNArrow->setValue(s.arrowNo);
    SpinEditNDash->setValue(s.dashNo);
}

CdrSettings CdrExportDialog::controls() const {
    CdrSettings s;
    s.version = SpinEditVer->checkedValue();
    s.runMode = std::max(RadioGroupRun->itemIndex(), 0);
    s.groupMode = std::max(RadioGroupGroup->itemIndex(), 0);
    s.ownArrows = CheckBoxArrow->isChecked();
    s.arrowNo = SpinEditNArrow->checkedValue();
    s.dashNo = SpinEditNDash->checkedValue();
    return s;
}

void CdrExportDialog::loadSettings() {
    read_ = ReadCdrSettings(ctx_.progDir);
    setControls(read_.values);
    if (read_.unreadable) tellUnreadable(read_.file, read_.error);
}

std::string CdrExportDialog::saveSettings() {
    const CdrSettings now = controls();
    if (!OptionsNeedWriting(read_, now)) return {};
    std::string error = SaveCdrSettings(ctx_.progDir, now);
    if (error.empty()) read_.values = now;
    return error;
}

bool CdrExportDialog::runExport(OfficeRun& run) {
    const CdrSettings s = controls();
    if (!ctx_.proj || !ctx_.st) throw AutomationError("no document to export");
    run.proj = ctx_.proj;
    run.snapshot = ctx_.st->DrawProj.get();
    run.painters = &ctx_.st->Painters;
    run.options.CdrOwnArrows = s.ownArrows;
    run.options.CdrArrowNo = static_cast<std::uint8_t>(s.arrowNo);
    run.options.CdrDashNo = static_cast<std::uint8_t>(s.dashNo);
    run.CdrGroupMode = static_cast<std::uint8_t>(s.groupMode);
    run.tempDir = ctx_.progDir + "Temp/";
    run.ui = this;
    run.desktop = ctx_.desktop;
    return ExportToCorelDraw(s.version, state_.CdrFileName, static_cast<RunMode>(s.runMode), ctx_.proj->Im, run);
}

}  // namespace pelmar
