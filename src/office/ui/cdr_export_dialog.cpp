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
    setWindowTitle(QString::fromUtf8("Параметры экспорта в Corel Draw"));
    auto* top = new QVBoxLayout(this);

    auto* main = new QGroupBox(QString::fromUtf8("Главное"), this);
    main->setObjectName("GroupBoxMain");
    auto* mainGrid = new QGridLayout(main);
    mainGrid->addWidget(new QLabel(QString::fromUtf8("Версия:"), main), 0, 0);
    SpinEditVer = new TSpinEdit(main);
    SpinEditVer->setObjectName("SpinEditVer");
    SpinEditVer->setMinMax(8, 100);
    SpinEditVer->setValue(8);
    mainGrid->addWidget(SpinEditVer, 0, 1);
    RadioGroupRun = new TRadioGroup("Corel Draw...", main);
    RadioGroupRun->setObjectName("RadioGroupRun");
    RadioGroupRun->setItems({QString::fromUtf8("Не открывать"), QString::fromUtf8("Открыть и закрыть"),
                             QString::fromUtf8("Открыть, но не закрывать")});
    RadioGroupRun->setItemIndex(0);
    mainGrid->addWidget(RadioGroupRun, 1, 0, 1, 2);
    top->addWidget(main);

    RadioGroupGroup = new TRadioGroup(QString::fromUtf8("Группировка"), this);
    RadioGroupGroup->setObjectName("RadioGroupGroup");
    RadioGroupGroup->setItems({QString::fromUtf8("Не группировать объекты"), QString::fromUtf8("Группировать объекты")});
    RadioGroupGroup->setItemIndex(1);
    top->addWidget(RadioGroupGroup);

    auto* lines = new QGroupBox(QString::fromUtf8("Линии"), this);
    lines->setObjectName("GroupBoxLines");
    auto* linesGrid = new QGridLayout(lines);
    CheckBoxArrow = new QCheckBox(QString::fromUtf8("Собственные стрелки"), lines);
    CheckBoxArrow->setObjectName("CheckBoxArrow");
    linesGrid->addWidget(CheckBoxArrow, 0, 0, 1, 2);
    Label1 = new QLabel(QString::fromUtf8("Номер стрелки:"), lines);
    Label1->setObjectName("Label1");
    linesGrid->addWidget(Label1, 1, 0);
    SpinEditNArrow = new TSpinEdit(lines);
    SpinEditNArrow->setObjectName("SpinEditNArrow");
    SpinEditNArrow->setMinMax(0, 90);
    SpinEditNArrow->setValue(3);
    linesGrid->addWidget(SpinEditNArrow, 1, 1);
    linesGrid->addWidget(new QLabel(QString::fromUtf8("Номер пунктира:"), lines), 2, 0);
    SpinEditNDash = new TSpinEdit(lines);
    SpinEditNDash->setObjectName("SpinEditNDash");
    SpinEditNDash->setMinMax(0, 30);
    SpinEditNDash->setValue(9);
    linesGrid->addWidget(SpinEditNDash, 2, 1);
    top->addWidget(lines);
    connect(CheckBoxArrow, &QCheckBox::toggled, this, [this] { arrowClicked(); });
    CheckBoxArrow->setChecked(true);

    top->addWidget(makeStatusGroup(false));
    LabelStatus1->setText(QString::fromUtf8("Запускаю Corel Draw..."));
    top->addWidget(makeButtons());
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

void CdrExportDialog::loadSettings() { setControls(LoadCdrSettings(ctx_.progDir)); }

std::string CdrExportDialog::saveSettings() { return SaveCdrSettings(ctx_.progDir, controls()); }

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
