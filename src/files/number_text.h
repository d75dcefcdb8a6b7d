// Numbers as the dialogs show and read them.
//
// A number is shown in the general form with up to 15 significant digits and
// the decimal comma.  Reading takes the comma or the point as the decimal
// separator, whatever the machine's locale, so that a value typed or pasted
// either way means the same.  A text that is not a number reads as nothing:
// the caller keeps its previous value and says nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelmar {

// The text of a number in an edit: "0", "1,5", "-273,15", "1,5E-6".
std::string NumberText(double v);

// The number in a text: blanks around it, an optional sign, digits with at
// most one decimal separator ("," or "."), an optional exponent.  Empty text,
// a lone sign, anything else and values beyond the range of double give
// nullopt.
std::optional<double> ReadNumber(std::string_view text);

// The whole number an integer field's text holds: the number as ReadNumber
// reads it, rounded half to even, so that "12,5" is 12 and "12,6" is 13 (a
// separator never vanishes into the digits around it).  nullopt for no
// number and for one beyond int.
std::optional<int> ReadWholeNumber(std::string_view text);

// How a bounded integer field takes a text while it is typed.
enum class WholeTextState { Invalid, Intermediate, Acceptable };
struct WholeText {
    WholeTextState state = WholeTextState::Invalid;
    int value = 0;  // the rounded number of an acceptable text
};
// Texts of an integer field: an optional "-" (where the range has negative
// numbers), digits, at most one separator ("," or ".") with digits after it.  A text without digits is
// intermediate; a number in [minValue, maxValue] is acceptable; one outside
// that more typing can still bring inside is intermediate; the rest invalid.
WholeText ReadWholeText(std::string_view text, int minValue, int maxValue);

// What a numeric edit's key filter lets through of `inserted` when it goes
// between `head` and `tail` (the text before and after the insertion): the
// digits, "-" when allowMinus and only at the start of the number (nothing
// before it, no minus after it), and one decimal comma when allowComma and
// neither the text around nor the characters let through before hold one.  A
// point counts as the comma and is written as one.  Pasted and dropped text
// passes the same filter, character by character, as typed keys do.
struct NumericInsert {
    std::string kept;
    bool minusRefused = false;  // a minus was dropped for its place (or where none is allowed)
};
NumericInsert FilterNumericInsert(std::string_view head, std::string_view inserted, std::string_view tail,
                                  bool allowMinus, bool allowComma);

class WordTable;

// The tips of a number field that took another number than the one typed:
// a whole-number field rounded it, a bounded field kept it within its bounds,
// or the object's rule made it `taken`.
std::string WholeNote(const WordTable& words, int taken);
std::string RangeNote(const WordTable& words, int lo, int hi, int taken);
std::string ChangedNote(const WordTable& words, double taken);
// The tip of a field left empty (or with a lone minus) that took `taken`.
std::string EmptyNote(const WordTable& words, double taken);

// The tips of a number past the range the program takes (kCoordLimit): a
// coordinate or length typed past it, a number that would carry the object
// past it, another number typed past the same bound.
enum class LimitCase { Pixels, Reach, Number };
std::string LimitNote(const WordTable& words, LimitCase what);

// The tips of a key a number field did not take: a minus out of its place
// (or in a field of numbers that are never negative), a digit that would
// leave the bounds.
std::string MinusNote(const WordTable& words, bool allowMinus);
std::string BoundsNote(const WordTable& words, int lo, int hi);
// The tip of a key or a pasted text that is not part of a number: the text
// refused is quoted (cut short when long); without it the tip names none.
std::string NotNumberNote(const WordTable& words, std::string_view refused);

}  // namespace pelmar
