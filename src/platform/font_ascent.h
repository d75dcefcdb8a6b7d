// How high a font stands above its baseline, as a share of its size.
#pragma once

#include <string>

namespace pelmar {

// The font's ascent divided by its size, unrounded (the program's own text
// measure at a large size).  A word processor's text box without margins has
// its first baseline this share of the font size below its top: the painters
// give the boxes' tops with it, and the word processor's stand-in finds the
// baselines again with it.  0 for a font that cannot be measured.
double AscentShare(const std::string& family, bool bold, bool italic);

}  // namespace pelmar
