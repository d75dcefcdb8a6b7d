// The animation builder: plays the document's animation formulas frame by
// frame and writes the pictures as one animated GIF beside the document.  It
// works on the edited document and puts it back exactly as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "drawing/redraw.h"
#include "drawing/word_lines.h"
#include "model/geometry.h"
#include "model/records.h"

namespace pelmar {

class AnimEval;
class WordTable;

// The status line of the builder's window.
inline constexpr TColor AnimBlack = 0x000000;
inline constexpr TColor AnimGreen = 0x008000;
inline constexpr TColor AnimOlive = 0x008080;
inline constexpr TColor AnimRed = 0x0000FF;
inline constexpr const char* AnimStandBy = "Stand-By";
inline const char* const AnimBuildingFrame = BuiltInWord(WordNo::BuildingFrame);
inline const char* const AnimSaving = BuiltInWord(WordNo::SavingGif);
inline const char* const AnimDone = BuiltInWord(WordNo::GifDone);
inline const char* const AnimCorrected = BuiltInWord(WordNo::GifCorrected);
inline const char* const AnimNotDone = BuiltInWord(WordNo::GifNotDone);

// What the builder needs of its window; a test stands in a fake.
class AnimHost {
public:
    virtual ~AnimHost() = default;
    virtual void setStatus(const std::string& text, TColor colour) = 0;
    // Frame `frame` (1-based) of `count` is being built.
    virtual void setProgress(int frame, int count) = 0;
    // Handles the pending window events; true once the user asked to stop.
    // Asked after each frame.
    virtual bool cancelRequested() = 0;
    // The same while a frame is traced, at most every AnimPumpIntervalMs: the
    // window stays responsive, and a stop ends the frame in progress.
    virtual bool pollDuringFrame() = 0;
    virtual void showMessage(const std::string& text) = 0;
    // The interface's words, for the builder's own messages (Russian
    // without them).
    virtual const WordTable* words() const = 0;
};

// How often the window's events are handled while a frame is traced (its
// traces would pump them for every column and scan line).
inline constexpr int AnimPumpIntervalMs = 50;

enum class AnimOutcome : std::uint8_t {
    Created,    // written, every formula evaluated
    Corrected,  // written, some formula did not evaluate
    Cancelled,  // stopped by the user; no file
    Failed,     // no frame to build, or the file could not be written; no file
};

struct AnimResult {
    AnimOutcome outcome = AnimOutcome::Failed;
    int frames = 0;      // frames built
    std::string error;   // why no file was written, in the interface's language
};

// What the window lets the two numbers be: a delay a GIF frame can carry
// (655.35 seconds at most; the file counts hundredths), and at least one
// frame.
inline constexpr std::int32_t AnimDelayMin = 0, AnimDelayMax = 655350;
inline constexpr std::int32_t AnimFramesMin = 1, AnimFramesMax = INT32_MAX;

// The five settings of the builder, as the document stores them.
struct AnimSettings {
    std::int32_t delay = 0;
    std::int32_t frames = 0;
    std::string step, start;
    bool loop = false;
    bool operator==(const AnimSettings&) const = default;
};
AnimSettings AnimSettingsOf(const DProj& doc);
void PutAnimSettings(DProj& doc, const AnimSettings& s);

// Closing the builder's window: when the settings differ from those kept
// when it was shown, the kept ones go back into the document for `commit`
// (so that its undo step holds them) and the new ones are written again.
// Whether a commit was made.
bool CommitAnimSettings(DProj& doc, const AnimSettings& kept, const std::function<void()>& commit);

// The animated picture of the document file `docPath`: "Drawing.pel" gives
// "Drawing.pel.gif" beside it.
std::string AnimationPath(const std::string& docPath);

// The start and step of the time: the start and step formulas evaluated at
// x = 0.  A formula that does not evaluate gives start 0 or step 1 and sets
// `corrected`; an empty one gives them silently.
void AnimTimeBase(const std::string& startFormula, const std::string& stepFormula, Ext& start, Ext& step,
                  bool& corrected);

// The objects of the frame at time ev.t: those of `base` (the document's,
// without the formulas of linked points) with their formulas evaluated, each
// object recomputed as the still of those values and the dependent objects
// after it, in creation order, as a commit would.  A frame draws as the
// still of its values: a coordinate system that stands elsewhere than where
// its curves were traced traces them again.  Only the surfaces a 3D system
// traced for the frame before, at the place it still stands and moved by no
// formula, are kept from it.
void SetFrameObjects(DProj& proj, const DSubProj& base, AnimEval& ev);

// Builds the animation of `proj` into `gifPath` with the document's settings
// (delay, frame count, start and step formulas, loop), showing progress and
// the final status through `host`: a red one says why no file was made, and
// a file that could not be written is told with its reason.  The document,
// its shading cache and its picture are as before when it returns.
AnimResult BuildAnimation(DProj& proj, DrawingState& st, const RedrawHost& redrawHost, AnimHost& host,
                          const std::string& gifPath);

}  // namespace pelmar
