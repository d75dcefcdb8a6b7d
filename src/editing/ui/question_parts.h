// What the delete and copy questions share: the window's frame and size, the
// question line with its small picture, and word-table texts on controls.
#pragma once

#include <QSize>
#include <QString>
#include <string>

class QBoxLayout;
class QDialog;
class QIcon;
class QLabel;

namespace pelmar {

// A fixed border with the close box only, no help button; modal and above
// the object dialogs.
void SetQuestionFrame(QDialog& window);

// The question line: `Image1`, the 16 x 16 picture (the style's question
// picture when `icon` is null), then `Label1`, added to `layout`.  Returns
// the label.
QLabel* AddQuestionLine(QDialog& window, QBoxLayout& layout, const QIcon& icon);

// The window's size fixed to what its texts need, never below `least`.
void FixQuestionSize(QDialog& window, QSize least);

// A word-table text for a button, a group or a radio button: "&" shows as
// written.
QString ButtonText(const std::string& text);

}  // namespace pelmar
