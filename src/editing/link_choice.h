// The choices of the new-object link dialog without its window: the object
// and element lists its combos offer, how a chosen text becomes the bytes of
// a link, the dialog's words per kind, and what the caller does with the
// answer (the new object created, its defining points linked).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/records.h"

namespace pelmar {

struct EditingState;

// The dialog's answer: OK (use the links), independent, cancel.
enum class LinkResult : int { Ok = 1, Independent = 2, Cancel = 3 };

using NewLinks = std::array<DLink, 8>;

// Number of defining points (group boxes) of a kind: 1, 2, 1, 3, 4, 1, 1, 1, 1, 4, 5, 6, 8, 1.
int LinkGroupCount(Kind k);
// The dialog's title ("Новый отрезок") and the caption of group g (1-based).
std::string LinkTitle(Kind k);
std::string LinkGroupCaption(Kind k, int g);

// The object combo: "Free", then every object of the document ("Point №1" ...).
std::vector<std::string> LinkObjectItems(const DProj& doc);
// Link byte 1 (kind) and 2 (index) from the object combo's text.
void ReadObjectText(const std::string& text, DLink& link);
// The element list under a parent kind (empty for kinds 0, 1, 6 and 14,
// where the combo shows one empty item and is disabled).
std::vector<std::string> LinkElementItems(int parentKind);
// The element kind and selector of level 2 .. 5 from the combo's text.
void ReadElementText(const std::string& text, DLink& link, int level);
// The kind chosen one level up of level L: the object kind for L = 2.
int ParentKindOf(const DLink& link, int level);

// The caller's part: with Ok or Independent the kind's default object is
// created (false: nothing created, also when the kind is full); with Ok the
// new object takes the next creation number, link i goes into its i-th
// defining point, each linked point is resolved and the object recomputed,
// and a linked object still free (creation number 0) becomes 1.  Ellipses
// and spheres carry their outline along with the centre; cylinders and
// cones move whole onto the point linked to their base centre.  Creation
// and links are one undo step.
bool ApplyNewObjectLinks(EditingState& st, Kind k, LinkResult result, const NewLinks& links);

}  // namespace pelmar
