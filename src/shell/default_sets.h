// The default sets the program ships: one document per kind holding the
// object a new object of that kind is made from, drawn as a teacher draws
// on the blackboard (visible outlines, named vertices, hidden edges dashed,
// no arrowheads on the parts of figures and solids).  They are made with the
// program's own default loaders and document writer, each kind from the sets
// of the kinds before it, and lie read-only in share/pelmar/DefaultSet/.  A
// user's own set in the program folder takes precedence; without either the
// built-in values of the loaders hold.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/defaults.h"
#include "model/records.h"

namespace pelmar {

// The document of a kind's set, its object made by the kind's loader from
// `src` and given the look.
std::unique_ptr<DProj> DefaultSetDocument(Kind k, const DefaultsSource& src);

// The set files of all fourteen kinds in folder + "DefaultSet/", reals
// written with `sep`; false when one could not be written.
bool WriteDefaultSets(const std::string& folder, char sep);

// A reader of default sets and their parts: a file of the program folder
// that does not exist is read from the first shipped folder that has it.
DocumentReader ShippedSetReader(const std::string& progDir, const std::vector<std::string>& shippedDirs,
                                DocumentReader reader);

}  // namespace pelmar
