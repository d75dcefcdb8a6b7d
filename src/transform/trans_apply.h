// Apply of the transformations window: one transformation of the active tab
// over all, the current or the selected objects of the document, then the
// dependency pass, one commit and one redraw.  The window and the editing
// core stand behind TransHost.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "files/word_table.h"
#include "model/records.h"

namespace pelmar {

// The tabs in their order.
enum class TransTab : std::uint8_t { Translate = 1, Rotate, Homothety, Central, Axial, Mirror };

// How many edits each tab reads (translation 3, rotation 7, homothety 4,
// central 3, axial 6, mirror 4).
int TransEditCount(TransTab tab);

// The scope boxes "Все", "Текущий", "Выделенные".
struct TransScope {
    bool all = false;
    bool current = false;
    bool selected = false;
};

class TransHost {
public:
    virtual ~TransHost() = default;
    virtual void showMessage(const std::string& text) = 0;
    // The language of the messages (Russian without a table).
    virtual const WordTable* words() const { return nullptr; }
    // The current entry of the object list; false when the list is empty.
    virtual bool currentObject(Kind& kind, int& index) = 0;
    virtual bool isSelected(Kind kind, int index) = 0;
    // Called once the objects are about to change (the undo snapshot of the
    // document as it was).
    virtual void beforeChange() {}
    // The current object's record into its working copy, the commit (one
    // undo step, the document marked changed) and the redraw.
    virtual void commitAndRedraw() = 0;
};

// A number typed into an edit: "," or "." as the decimal separator, blanks
// around it allowed, an exponent allowed; false for anything else and for a
// value that is not finite.
bool ReadTransNumber(const std::string& text, double& value);

// The largest rotation angle taken, in degrees (ten turns either way): past
// it the angle's fraction of a turn is lost to rounding.
inline constexpr double kTransAngleLimit = 3600;

// The smallest homothety factor taken, either way: a smaller one shrinks the
// objects to a point.
inline constexpr double kHomothetyMinFactor = 1e-6;

enum class TransOutcome : std::uint8_t {
    Applied,
    NotANumber,        // an edit holds no number; nothing changed
    NoTransformation,  // zero axis, normal or vector, or a factor below
                       // kHomothetyMinFactor; nothing changed
    NoScope,           // no scope box checked; nothing changed
    PastLimit,         // a number past its range, or an object would leave the
                       // range of coordinates (kCoordLimit); nothing changed
};

// Reads the tab's edits (texts in the tab's order), checks them, and when
// they describe a transformation and a scope is checked, transforms the
// objects in place, recomputes the dependent objects and commits through the
// host, under the fill comparison (FillWatch): the fill picture is marked
// stale when a filled object moved or changed shape.
//
// A centre, a point of the axis, a direction and the plane's coefficients
// lie within ±kCoordLimit, the angle within ±kTransAngleLimit.  An Apply that
// would carry an object in scope from within the range of coordinates to
// past it (as the dialogs judge an object, model/record_reach.h) is refused
// before anything moves: the message names the first such object.
TransOutcome ApplyTransformation(DProj& doc, TransTab tab, const std::vector<std::string>& edits,
                                 const TransScope& scope, TransHost& host);

}  // namespace pelmar
