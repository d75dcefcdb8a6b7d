// FormSech1, the sections of one surface of a 3D system ("Сечения"): a plane
// (x, y or z = const), and eleven sections in it, each a position and a
// button with its bounds that opens the bounds dialog.  Modal.  It edits the
// working copy and marks the cached curves it changes; it never commits (the
// 3D system's dialog commits when it returns).
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "model/records.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace pelmar {

class TNumEdit;
class WordTable;

class TFormSech1 : public QDialog {
    Q_OBJECT
public:
    // surface: 1, 2 the Cartesian surfaces, 3 the implicit surface (1..3).
    // plane: the remembered plane (SechPlane), shown at opening and written
    // at every change of plane.
    TFormSech1(DXZ& xz, int surface, std::uint8_t& plane, const WordTable& words, QWidget* parent = nullptr);
    // What is being typed is taken before the window closes or goes.
    ~TFormSech1() override;
    void done(int result) override;

    // The plane's label, positions and bounds captions; marks the outline
    // and the cached curves of the sections shown that are on.
    void RefreshSections();
    // The user chose a plane (item 0..2).
    void ComboBox1Change(int index);
    // The position edit of section k (1..11) changed: stored as it is
    // typed while the text is a number or empty (the section off).
    void EditChange(int k);
    // The user is done with the position of section k: the edit shows the
    // position stored ("-" is 0, "1," is 1), or nothing for a section off.
    // A number past the range of coordinates leaves the section as it was
    // before the typing, on or off.
    void EditEntered(int k);
    // The bounds dialog of section k, modal; then the sections are shown again.
    void ButtonClick(int k);

    int plane() const { return plane_; }

    QComboBox* ComboBox1;
    QLabel* Label1;
    std::array<TNumEdit*, 11> Edit{};
    std::array<QPushButton*, 11> Button{};
    QPushButton* ButtonOk;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DXZ& xz_;
    int surface_;
    std::uint8_t& remembered_;
    int plane_;
    const WordTable& words_;
    bool shown_ = false;
    bool filling_ = false;
    // The section whose position is being typed (0: none), as it was before
    // the typing.
    int typedFrom_ = 0;
    DSection before_{};
};

}  // namespace pelmar
