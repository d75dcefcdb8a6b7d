// The font combo of the object dialogs: the font families of the machine
// whose names a document can hold (code page 1251), and the font name a
// record holds even when the machine has no such font.
//
// Documents name fonts of other systems ("Times New Roman", "MS Sans
// Serif"); a combo that replaced a missing name by a font of its own would
// have the handler write that replacement into the record.  A name the
// machine lacks is added to the list as it is spelled and stays there.
#pragma once

#include <QComboBox>
#include <QStringList>

namespace pelmar {

class TFontCombo : public QComboBox {
    Q_OBJECT
public:
    // families: the names to offer; empty takes the machine's font families.
    // Either way a name the code page cannot spell is left out.
    explicit TFontCombo(QWidget* parent = nullptr, const QStringList& families = {});

    // Filling: chooses the name, adding it when the list lacks it.  An empty
    // name chooses no item.
    void setFontName(const QString& name);
    // The chosen name, spelled as the list has it; empty when none is chosen.
    QString fontName() const;
};

}  // namespace pelmar
