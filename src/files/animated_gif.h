// The animated GIF writer.  Frames are streamed into a temporary file beside
// the target as they come; Finish renames it over the target, so a cancelled
// or failed animation never leaves a file behind and never destroys an older
// one.
//
// Colours: a frame whose changed pixels hold at most 255 colours is written
// with exactly those colours; a frame with more (anti-aliasing, gradient
// fills) is reduced by libimagequant.  The first frame's palette becomes the
// file's global palette and serves every later frame whose colours it holds
// (or, for reduced frames, whose colours it still maps closely); other frames
// carry a local palette.  Pixels that did not change since the previous frame
// are written transparent, inside the smallest rectangle holding the changes.
#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>

namespace pelmar {

// Delay of a frame as the file stores it: the milliseconds clamped to
// 0..655350, in hundredths of a second.
std::uint16_t GifDelayHundredths(std::int64_t milliseconds);

class AnimatedGifWriter {
public:
    struct Options {
        // The NETSCAPE2.0 extension with loop count 0 (endless repetition).
        bool loop = false;
        // Write unchanged pixels as transparent inside a tight rectangle; off,
        // every frame is written whole (the plain form other tools optimise).
        bool onlyChanges = true;
    };

    AnimatedGifWriter();
    ~AnimatedGifWriter();  // an unfinished file is removed
    AnimatedGifWriter(const AnimatedGifWriter&) = delete;
    AnimatedGifWriter& operator=(const AnimatedGifWriter&) = delete;

    // Starts a w x h animation for `path`; empty on success, else the reason.
    std::string Open(const std::string& path, int width, int height, const Options& options);
    // Appends a frame of the animation's size (any QImage format; alpha is
    // ignored) shown for `delayMs` milliseconds.  Empty on success.
    std::string AddFrame(const QImage& frame, std::int64_t delayMs);
    // Closes the file and puts it in place; empty on success.  With no frame
    // written nothing is put in place and the reason is returned.
    std::string Finish();
    // Drops the temporary file; the target stays as it was.
    void Cancel();

    int FrameCount() const;

    struct State;

private:
    std::unique_ptr<State> s_;
};

}  // namespace pelmar
