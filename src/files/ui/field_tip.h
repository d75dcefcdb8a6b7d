// A short note at a field: what it refused or what it took instead of what
// was typed.  The note takes no keys and no clicks, so typing goes on into
// the field and a click elsewhere reaches what lies there.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace pelmar {

class WordTable;

// The word table of the moment (the built-in words without it).
using TextWords = std::function<const WordTable&()>;
const WordTable& WordsOf(const TextWords& words);

void ShowFieldTip(QWidget* field, const QString& text);
// The text of the tip showing now; empty when none shows.
QString ShownFieldTip();

}  // namespace pelmar
