// Whether the graph drawer can draw a formula typed into a coordinate
// system's graph field, and what to tell the user where it cannot.
//
// The drawer reads a formula with the evaluator of drawing/formula.h: a graph
// y = f(x), r = f(x), a parametric function of x; an implicit curve
// F(x, y) = 0; a surface z = f(x, y) or F(x, y, z) = 0.  A formula that gives
// no value anywhere draws nothing, without a word from the drawer: the field
// says why when the user is done with it.  The text is never changed.
#pragma once

#include <string>
#include <string_view>

namespace pelmar {

class WordTable;

// What a formula field reads.
struct FormulaField {
    std::string_view vars = "x";  // its variables: "x", "xy" or "xyz"
    char named = 0;               // the letter its label names ("y" of "y="), 0 for "F(x,y)="
    bool folded = false;          // the drawer reads capital letters as small ones before it
                                  // puts values in for y and z
};

// Empty where the drawer can draw `text` (an empty text too: a graph without
// a formula); otherwise one sentence on what is wrong: an "=" (with the
// formula to write instead, and what is wrong with that one too), a letter
// that is neither a variable nor a name the evaluator knows (a parametric or
// polar formula written in "t": the parameter is x), or a formula that gives
// no value at any point of a wide spread of points or whose brackets do not
// pair (an unclosed "(" is told as a stray ")" is).
std::string FormulaNote(const WordTable& words, std::string_view text, FormulaField field);

}  // namespace pelmar
