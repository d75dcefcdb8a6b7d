// FormBitColors: the raster export dialog ("Параметры растрового экспорта")
// that asks for the colour depth, the JPEG quality and the GIF transparency.
// Created at start-up and reused; the export sets it up before each use.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "files/export_host.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pelmar {

class TSpinEdit;
class WordTable;

class TFormBitColors : public QDialog {
    Q_OBJECT
public:
    explicit TFormBitColors(QWidget* parent = nullptr);

    // Puts the current words on the window; called each time it is shown.
    std::function<void(TFormBitColors&)> onWords;

    // Sets the controls up for one export.
    void setUp(const BitColorsSetup& setup);
    // Shows the window modally for `state` and returns what its controls hold.
    BitColorsResult run(const BitColorsSetup& setup, ExportState& state);
    BitColorsResult result() const;

    void FormCreate();
    void FormShow();
    void Button1Click();
    void Button2Click();

    QGroupBox* RadioGroup1;
    std::array<QRadioButton*, 4> RadioItems;  // "2", "16", "256", "16M"
    QGroupBox* GroupBox1;
    QCheckBox* CheckBox1;
    QLabel* Label1;
    TSpinEdit* SpinEdit1;  // the JPEG quality
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ExportState* state_ = nullptr;
};

// WordsToExport(1): the word table's texts on the window, each time it is
// shown (its `onWords`).
void WordsToBitColors(TFormBitColors& form, const WordTable& words);

}  // namespace pelmar
