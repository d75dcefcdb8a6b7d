// The one announcement of a change of language.  The application owns it;
// every open window that shows words connects to it where it is wired up,
// and takes the new texts of the word table when it is emitted.  Windows
// that put their words on at each show take them at their next show.
#pragma once

#include <QObject>

namespace pelmar {

class LanguageSignal : public QObject {
    Q_OBJECT
signals:
    // The word table holds the texts of the new language.
    void changed();
};

}  // namespace pelmar
