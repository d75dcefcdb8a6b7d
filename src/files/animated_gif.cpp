#include "files/animated_gif.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdio>
#include <deque>
#include <future>
#include <vector>

#include "platform/safe_save.h"

namespace pelmar {

std::uint16_t GifDelayHundredths(std::int64_t milliseconds) {
    const std::int64_t ms = std::clamp<std::int64_t>(milliseconds, 0, 655350);
    return static_cast<std::uint16_t>(ms / 10);
}

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // never a colour: colours are 0x00RRGGBB
constexpr int kMaxExact = 255;                 // one index stays free for transparency

// Colour -> palette index, open addressing; holds at most 256 colours.
class ColorTable {
public:
    ColorTable() { keys_.fill(kEmpty); }
    void clear() {
        keys_.fill(kEmpty);
        size_ = 0;
    }
    int size() const { return size_; }
    // The colour's index, or -1.
    int find(std::uint32_t c) const {
        for (std::size_t i = Hash(c);; i = (i + 1) & kMask) {
            if (keys_[i] == c) return vals_[i];
            if (keys_[i] == kEmpty) return -1;
        }
    }
    // Adds the colour with the next index when new; false when the table is full.
    bool add(std::uint32_t c) {
        std::size_t i = Hash(c);
        for (; keys_[i] != kEmpty; i = (i + 1) & kMask)
            if (keys_[i] == c) return true;
        if (size_ >= 256) return false;
        keys_[i] = c;
        vals_[i] = static_cast<std::uint8_t>(size_++);
        return true;
    }

private:
    static constexpr std::size_t kSlots = 1024, kMask = kSlots - 1;
    static std::size_t Hash(std::uint32_t c) { return ((c * 2654435761u) >> 22) & kMask; }
    std::array<std::uint32_t, kSlots> keys_;
    std::array<std::uint8_t, kSlots> vals_{};
    int size_ = 0;
};

// giflib keeps a copy of the last image's palette and forgets it when the
// next image has none or the file closes.
void DropImageMap(GifFileType* gif) {
    if (gif->Image.ColorMap) GifFreeMapObject(gif->Image.ColorMap);
    gif->Image.ColorMap = nullptr;
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// A palette of 0x00RRGGBB colours with its transparent index (-1: none).
struct Palette {
    std::vector<std::uint32_t> colors;
    int transparent = -1;
};

int BitsFor(std::size_t n) {
    int bits = 1;
    while ((std::size_t{1} << bits) < n) ++bits;
    return bits;
}

// A giflib colour map of `p`, padded to a power of two.
ColorMapObject* MakeMap(const Palette& p) {
    const int bits = BitsFor(p.colors.size());
    std::vector<GifColorType> c(std::size_t{1} << bits, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < p.colors.size(); ++i)
        c[i] = GifColorType{static_cast<GifByteType>(p.colors[i] >> 16), static_cast<GifByteType>(p.colors[i] >> 8),
                            static_cast<GifByteType>(p.colors[i])};
    return GifMakeMapObject(1 << bits, c.data());
}

struct LiqAttr {
    liq_attr* a = liq_attr_create();
    LiqAttr() {
        if (a) {
            liq_set_max_colors(a, kMaxExact);
            liq_set_speed(a, 5);
        }
    }
    ~LiqAttr() {
        if (a) liq_attr_destroy(a);
    }
};

// Colour -> nearest palette entry, open addressing; grows as colours come.
class NearestCache {
public:
    NearestCache() { clear(); }
    void clear() {
        keys_.assign(kFirstSlots, kEmpty);
        vals_.assign(kFirstSlots, 0);
        size_ = 0;
    }
    // The entry of `c`, or -1 when it has none yet.
    int find(std::uint32_t c) const {
        const std::size_t mask = keys_.size() - 1;
        for (std::size_t i = Hash(c) & mask;; i = (i + 1) & mask) {
            if (keys_[i] == c) return vals_[i];
            if (keys_[i] == kEmpty) return -1;
        }
    }
    void add(std::uint32_t c, std::uint8_t v) {
        if (2 * (size_ + 1) > keys_.size()) grow();
        put(c, v);
    }

private:
    static constexpr std::size_t kFirstSlots = 4096;
    static std::size_t Hash(std::uint32_t c) { return (c * 2654435761u) >> 8; }
    void put(std::uint32_t c, std::uint8_t v) {
        const std::size_t mask = keys_.size() - 1;
        std::size_t i = Hash(c) & mask;
        while (keys_[i] != kEmpty && keys_[i] != c) i = (i + 1) & mask;
        if (keys_[i] == kEmpty) ++size_;
        keys_[i] = c;
        vals_[i] = v;
    }
    void grow() {
        std::vector<std::uint32_t> keys(keys_.size() * 2, kEmpty);
        std::vector<std::uint8_t> vals(keys.size(), 0);
        keys.swap(keys_);
        vals.swap(vals_);
        size_ = 0;
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] != kEmpty) put(keys[i], vals[i]);
    }
    std::vector<std::uint32_t> keys_;
    std::vector<std::uint8_t> vals_;
    std::size_t size_ = 0;
};

// A palette made by the quantiser and kept for later frames, with the
// nearest entry of every colour mapped so far.
struct KeptPalette {
    bool valid = false;
    double error = 0;  // mean square error of the frame it was made from
    NearestCache nearest;

    void reset() {
        valid = false;
        nearest.clear();
    }
};

// giflib's output into a stdio stream, or onto the end of a string.
int WriteToStream(GifFileType* gif, const GifByteType* bytes, int n) {
    return static_cast<int>(std::fwrite(bytes, 1, static_cast<std::size_t>(n), static_cast<std::FILE*>(gif->UserData)));
}
int AppendToString(GifFileType* gif, const GifByteType* bytes, int n) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
    return n;
}

// One frame as giflib is given it: its graphics control extension, its
// place, its local colour map (null: the global one) and its pixels; and
// the bytes the file holds for it.
struct FrameJob {
    GifByteType ext[4] = {};
    int extLen = 0;
    Rect r;
    ColorMapObject* map = nullptr;  // owned
    std::vector<std::uint8_t> indices;
    std::string bytes;
};

// The file's screen as every frame's encoder starts from it.
struct Screen {
    int w = 0, h = 0, bits = 0;
    ColorMapObject* map = nullptr;  // the global colour map, owned
};

// Compresses the frame into job.bytes with an encoder of its own.  giflib
// starts every image's compression afresh, from the image's colour map (or
// the screen's): each frame's bytes are those one encoder writing the whole
// file gives it, so frames compress side by side and follow each other in
// the file.  False when giflib fails.  Frees the job's map.
bool EncodeFrame(const Screen& screen, FrameJob& job) {
    job.bytes.clear();
    int err = 0;
    GifFileType* gif = EGifOpen(&job.bytes, AppendToString, &err);
    bool ok = gif != nullptr;
    if (gif) {
        EGifSetGifVersion(gif, true);
        ok = EGifPutScreenDesc(gif, screen.w, screen.h, screen.bits, 0, screen.map) == GIF_OK;
        job.bytes.clear();  // the frame's bytes only
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, job.extLen, job.ext) == GIF_OK;
        ok = ok && EGifPutImageDesc(gif, job.r.x, job.r.y, job.r.w, job.r.h, false, job.map) == GIF_OK;
        // The rows follow each other in one compressed stream: given at once.
        ok = ok && EGifPutLine(gif, job.indices.data(), job.r.w * job.r.h) == GIF_OK;
        const std::size_t size = job.bytes.size();
        DropImageMap(gif);
        if (EGifCloseFile(gif, &err) != GIF_OK) ok = false;
        job.bytes.resize(size);  // without the file's end the encoder wrote
    }
    if (job.map) GifFreeMapObject(job.map);
    job.map = nullptr;
    return ok;
}

// How many frames compress at once.
constexpr std::size_t kFramesInFlight = 8;

}  // namespace

struct AnimatedGifWriter::State {
    std::unique_ptr<SafeFile> file;  // the temporary file beside the target
    int width = 0, height = 0;
    Options options;
    GifFileType* gif = nullptr;
    bool screenWritten = false;
    bool failed = false;
    int frames = 0;

    std::vector<std::uint32_t> prev, cur;  // source colours of the previous and this frame
    std::vector<std::uint32_t> shown;      // the colours a viewer shows after the frames written
    Palette global;
    ColorTable globalIndex;  // the global palette's exact colours
    LiqAttr attr;
    KeptPalette globalKept;  // valid when the global palette was made by the quantiser
    KeptPalette localKept;   // the last local quantised palette, kept for the frames after it
    Palette localPal;

    std::vector<std::uint8_t> indices;  // the rectangle's pixels as written
    std::vector<std::uint8_t> rgba;     // the rectangle for the quantiser
    std::vector<std::uint8_t> remapped;

    // The frames being compressed, oldest first, each on a thread of its
    // own while the next frames are prepared; done, a frame's bytes go to
    // the file and its buffers serve a later frame.
    Screen screen;
    std::deque<std::pair<std::future<bool>, std::unique_ptr<FrameJob>>> inFlight;
    std::vector<std::unique_ptr<FrameJob>> spare;
    bool writeFailed = false;

    ~State() {
        drain(0);
        if (screen.map) GifFreeMapObject(screen.map);
    }

    std::string fail(const std::string& why) {
        failed = true;
        return why;
    }
    // Writes the oldest frames until at most `keep` are in flight; false
    // once any frame failed.
    bool drain(std::size_t keep) {
        while (inFlight.size() > keep) {
            auto& [done, job] = inFlight.front();
            const bool ok = done.get();
            if (!ok || writeFailed || !gif ||
                std::fwrite(job->bytes.data(), 1, job->bytes.size(), static_cast<std::FILE*>(gif->UserData)) !=
                    job->bytes.size())
                writeFailed = true;
            spare.push_back(std::move(job));
            inFlight.pop_front();
        }
        return !writeFailed;
    }
    void closeAndRemove() {
        drain(0);
        if (gif) {
            int err = 0;
            DropImageMap(gif);
            EGifCloseFile(gif, &err);
            gif = nullptr;
        }
        file.reset();  // an uncommitted temporary file is removed
    }
};

AnimatedGifWriter::AnimatedGifWriter() : s_(std::make_unique<State>()) {}

AnimatedGifWriter::~AnimatedGifWriter() { Cancel(); }

int AnimatedGifWriter::FrameCount() const { return s_->frames; }

void AnimatedGifWriter::Cancel() { s_->closeAndRemove(); }

std::string AnimatedGifWriter::Open(const std::string& path, int width, int height, const Options& options) {
    Cancel();
    const Options keep = options;
    s_ = std::make_unique<State>();
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return s_->fail("bad picture size");
    if (!s_->attr.a) return s_->fail("out of memory");
    s_->width = width;
    s_->height = height;
    s_->options = keep;
    // Opened here rather than by giflib, which would make the file readable by its owner only.
    s_->file = std::make_unique<SafeFile>(path);
    if (!s_->file->opened()) {
        const std::string why = s_->file->error();
        s_->file.reset();
        return s_->fail(why.empty() ? "cannot create the file" : why);
    }
    std::FILE* out = s_->file->stream();
    int err = 0;
    s_->gif = out ? EGifOpen(out, WriteToStream, &err) : nullptr;
    if (!s_->gif) {
        s_->closeAndRemove();
        return s_->fail("cannot create the file");
    }
    EGifSetGifVersion(s_->gif, true);
    return {};
}

namespace {

bool PutLoopExtension(GifFileType* gif) {
    static const GifByteType app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    GifByteType sub[] = {1, 0, 0};  // sub-block 1: loop count 0, repeat endlessly
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, sizeof app, app) == GIF_OK &&
           EGifPutExtensionBlock(gif, sizeof sub, sub) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
}

// Pixels are compared a block at a time: most of two frames agree.
constexpr std::size_t kBlock = 16;

// Whether the kBlock pixels at a and b agree.
inline bool SameBlock(const std::uint32_t* a, const std::uint32_t* b) {
    std::uint32_t d = 0;
    for (std::size_t k = 0; k < kBlock; ++k) d |= a[k] ^ b[k];
    return d == 0;
}

// Whether the kBlock indices at idx are all `t`.
inline bool AllOf(const std::uint8_t* idx, std::uint8_t t) {
    std::uint8_t d = 0;
    for (std::size_t k = 0; k < kBlock; ++k) d |= static_cast<std::uint8_t>(idx[k] ^ t);
    return d == 0;
}

// The rows of a frame that differ from the previous frame, gathered while
// the frame is read: the smallest rectangle holding every changed pixel.
class ChangeTracker {
public:
    ChangeTracker(const std::uint32_t* prev, int w) : prev_(prev), w_(w), x0_(w) {}
    // Row y, just read, against the same row of the previous frame.
    void row(int y, const std::uint32_t* b) {
        if (!prev_) return;
        const std::uint32_t* a = prev_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(w_);
        constexpr int block = static_cast<int>(kBlock);
        int first = 0;
        while (first + block <= w_ && SameBlock(a + first, b + first)) first += block;
        while (first < w_ && a[first] == b[first]) ++first;
        if (first == w_) return;
        int last = w_ - 1;  // a[first] differs: the blocks stop short of it
        while (last + 1 - block >= first && SameBlock(a + last + 1 - block, b + last + 1 - block)) last -= block;
        while (a[last] == b[last]) --last;
        if (y0_ < 0) y0_ = y;
        y1_ = y;
        x0_ = std::min(x0_, first);
        x1_ = std::max(x1_, last);
    }
    void reset() { x0_ = w_, x1_ = -1, y0_ = -1, y1_ = -1; }
    // w = 0 when nothing changed.
    Rect rect() const { return y0_ < 0 ? Rect{} : Rect{x0_, y0_, x1_ - x0_ + 1, y1_ - y0_ + 1}; }

private:
    const std::uint32_t* prev_;
    int w_, x0_, x1_ = -1, y0_ = -1, y1_ = -1;
};

// The frame as 0x00RRGGBB colours, each row compared with the previous
// frame as it comes.  An opaque premultiplied pixel holds its colour as it
// stands; other formats are converted first.
void ReadColors(const QImage& frame, std::vector<std::uint32_t>& out, ChangeTracker& changes) {
    const int w = frame.width(), h = frame.height();
    out.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const QImage::Format f = frame.format();
    const bool premultiplied = f == QImage::Format_ARGB32_Premultiplied;
    if (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || premultiplied) {
        // The rows are compared only once the whole frame proves opaque.
        bool opaque = true;
        for (int y = 0; opaque && y < h; ++y) {
            const auto* line = reinterpret_cast<const std::uint32_t*>(frame.constScanLine(y));
            std::uint32_t* dst = out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
            std::uint32_t alpha = 0xFF000000u;
            for (int x = 0; x < w; ++x) {
                dst[x] = line[x] & 0xFFFFFFu;
                alpha &= line[x];
            }
            opaque = !premultiplied || alpha == 0xFF000000u;
            if (opaque) changes.row(y, dst);
        }
        if (opaque) return;
        changes.reset();
    }
    const QImage img = frame.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(img.constScanLine(y));
        std::uint32_t* dst = out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x) dst[x] = line[x] & 0xFFFFFFu;
        changes.row(y, dst);
    }
}

// The rectangle of a frame that is written, row by row: this frame's
// colours and, when only the changes are written, the previous frame's (a
// pixel that kept its colour is "same" and written transparent).  The loops
// below take their bounds into locals: the compiler cannot keep them in
// registers across the byte stores otherwise.
struct Rows {
    const std::uint32_t* cur = nullptr;
    const std::uint32_t* prev = nullptr;  // null: every pixel is written
    std::size_t stride = 0, w = 0, h = 0;

    const std::uint32_t* curRow(std::size_t y) const { return cur + y * stride; }
    const std::uint32_t* prevRow(std::size_t y) const { return prev ? prev + y * stride : nullptr; }
};

bool AnySame(const Rows& rows) {
    if (!rows.prev) return false;
    const std::size_t w = rows.w, h = rows.h;
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint32_t* c = rows.curRow(y);
        const std::uint32_t* p = rows.prevRow(y);
        for (std::size_t x = 0; x < w; ++x)
            if (p[x] == c[x]) return true;
    }
    return false;
}

// Calls pixel(x) for the pixels of row y that may be written, and
// unchanged(x) for each block of kBlock pixels from x that kept their
// colour.  A block holding a change goes pixel by pixel; pixel() itself
// tells the same pixels in it apart.
template <class Pixel, class Unchanged>
inline void ForRow(const Rows& rows, std::size_t y, Pixel&& pixel, Unchanged&& unchanged) {
    const std::size_t w = rows.w;
    const std::uint32_t* c = rows.curRow(y);
    const std::uint32_t* p = rows.prevRow(y);
    for (std::size_t x = 0; x < w;) {
        if (p && x + kBlock <= w && SameBlock(c + x, p + x)) {
            unchanged(x);
            x += kBlock;
            continue;
        }
        for (const std::size_t end = std::min(x + kBlock, w); x < end; ++x) pixel(x);
    }
}

// Whether every colour written stands in `index`.
bool AllIn(const Rows& rows, const ColorTable& index) {
    std::uint32_t last = kEmpty;
    bool all = true;
    for (std::size_t y = 0; all && y < rows.h; ++y) {
        const std::uint32_t* c = rows.curRow(y);
        const std::uint32_t* p = rows.prevRow(y);
        ForRow(
            rows, y,
            [&](std::size_t x) {
                const std::uint32_t col = c[x];
                if (!all || (p && p[x] == col) || col == last) return;
                if (index.find(col) < 0) all = false;
                last = col;
            },
            [](std::size_t) {});
    }
    return all;
}

// The colours written, in the order they first come, and the transparent
// entry after them.
void ExactPalette(const Rows& rows, Palette& pal, ColorTable& index) {
    index.clear();
    pal.colors.clear();
    std::uint32_t last = kEmpty;
    for (std::size_t y = 0; y < rows.h; ++y) {
        const std::uint32_t* c = rows.curRow(y);
        const std::uint32_t* p = rows.prevRow(y);
        ForRow(
            rows, y,
            [&](std::size_t x) {
                const std::uint32_t col = c[x];
                if ((p && p[x] == col) || col == last) return;
                last = col;
                if (index.add(col) && index.size() > static_cast<int>(pal.colors.size())) pal.colors.push_back(col);
            },
            [](std::size_t) {});
    }
    pal.transparent = static_cast<int>(pal.colors.size());
    pal.colors.push_back(0);
}

// The rectangle's indices in an exact palette; "same" pixels get
// `transparent`.
void MapExact(const Rows& rows, const ColorTable& index, std::uint8_t transparent, std::uint8_t* out) {
    std::uint32_t last = kEmpty;
    std::uint8_t lastIndex = 0;
    for (std::size_t y = 0; y < rows.h; ++y, out += rows.w) {
        const std::uint32_t* c = rows.curRow(y);
        const std::uint32_t* p = rows.prevRow(y);
        std::uint8_t* o = out;
        ForRow(
            rows, y,
            [&](std::size_t x) {
                const std::uint32_t col = c[x];
                if (p && p[x] == col) {
                    o[x] = transparent;
                    return;
                }
                if (col != last) {
                    last = col;
                    lastIndex = static_cast<std::uint8_t>(index.find(col));
                }
                o[x] = lastIndex;
            },
            [&](std::size_t x) { std::memset(o + x, transparent, kBlock); });
    }
}

int Distance(std::uint32_t q, std::uint32_t c) {
    const int dr = static_cast<int>((q >> 16) & 0xFF) - static_cast<int>((c >> 16) & 0xFF);
    const int dg = static_cast<int>((q >> 8) & 0xFF) - static_cast<int>((c >> 8) & 0xFF);
    const int db = static_cast<int>(q & 0xFF) - static_cast<int>(c & 0xFF);
    return dr * dr + dg * dg + db * db;
}

// The entry of a quantised palette nearest to `c` (the first of equals),
// kept in `nearest` for the colours to come.
std::uint8_t Nearest(const Palette& pal, NearestCache& nearest, std::uint32_t c) {
    const int known = nearest.find(c);
    if (known >= 0) return static_cast<std::uint8_t>(known);
    const int entries = static_cast<int>(pal.colors.size()) - 1;  // the last one is the transparent slot
    int best = 0, bestD = INT32_MAX;
    for (int k = 0; k < entries; ++k) {
        const int d = Distance(pal.colors[static_cast<std::size_t>(k)], c);
        if (d < bestD) bestD = d, best = k;
    }
    nearest.add(c, static_cast<std::uint8_t>(best));
    return static_cast<std::uint8_t>(best);
}

// The rectangle's indices in a quantised palette: the pixels written onto
// their nearest entries, "same" pixels onto its transparent entry.  Returns
// the mean square error per channel of the pixels written.
double Remap(const Rows& rows, const Palette& pal, NearestCache& nearest, std::uint8_t* out) {
    const auto transparent = static_cast<std::uint8_t>(pal.transparent);
    // Sums of whole numbers: exact in an integer, and the same double at the end.
    std::uint64_t sum = 0, count = 0;
    std::uint32_t lastColor = kEmpty;
    std::uint8_t lastIndex = 0;
    std::uint64_t lastD = 0, run = 0;  // the last colour's error and pixels since it came
    for (std::size_t y = 0; y < rows.h; ++y, out += rows.w) {
        const std::uint32_t* c = rows.curRow(y);
        const std::uint32_t* p = rows.prevRow(y);
        std::uint8_t* o = out;
        ForRow(
            rows, y,
            [&](std::size_t x) {
                const std::uint32_t col = c[x];
                if (p && p[x] == col) {
                    o[x] = transparent;
                    return;
                }
                if (col != lastColor) {
                    sum += lastD * run;
                    count += run;
                    run = 0;
                    lastColor = col;
                    lastIndex = Nearest(pal, nearest, col);
                    lastD = static_cast<std::uint64_t>(Distance(pal.colors[lastIndex], col));
                }
                o[x] = lastIndex;
                ++run;
            },
            [&](std::size_t x) { std::memset(o + x, transparent, kBlock); });
    }
    sum += lastD * run;
    count += run;
    return count ? static_cast<double>(sum) / (3.0 * static_cast<double>(count)) : 0;
}

// The rectangle as the quantiser reads it.
void FillRgba(const Rows& rows, std::uint8_t* out) {
    const std::size_t w = rows.w, h = rows.h;
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint32_t* c = rows.curRow(y);
        for (std::size_t x = 0; x < w; ++x, out += 4) {
            out[0] = static_cast<std::uint8_t>(c[x] >> 16);
            out[1] = static_cast<std::uint8_t>(c[x] >> 8);
            out[2] = static_cast<std::uint8_t>(c[x]);
            out[3] = 255;
        }
    }
}

// Writes transparent the written pixels whose colour a viewer already
// shows (when only the changes are written), records the colours shown,
// and returns the smallest rectangle (within the rows) holding the pixels
// still written; w = 0 when none is.
Rect MarkShown(std::uint8_t* indices, std::size_t w, std::size_t h, std::uint8_t transparent,
               const std::uint32_t* colors, std::uint32_t* shown, std::size_t stride, bool diff, bool& anySame) {
    int x0 = static_cast<int>(w), x1 = -1, y0 = -1, y1 = -1;
    for (std::size_t y = 0; y < h; ++y) {
        std::uint8_t* idx = indices + y * w;
        std::uint32_t* sh = shown + y * stride;
        int first = -1, last = -1;
        for (std::size_t x = 0; x < w; ++x) {
            if (x % kBlock == 0 && x + kBlock <= w && AllOf(idx + x, transparent)) {
                x += kBlock - 1;
                continue;
            }
            const std::uint8_t i = idx[x];
            if (i == transparent) continue;
            const std::uint32_t c = colors[i];
            if (diff && c == sh[x]) {
                idx[x] = transparent;
                anySame = true;
                continue;
            }
            sh[x] = c;
            if (first < 0) first = static_cast<int>(x);
            last = static_cast<int>(x);
        }
        if (first < 0) continue;
        x0 = std::min(x0, first), x1 = std::max(x1, last);
        if (y0 < 0) y0 = static_cast<int>(y);
        y1 = static_cast<int>(y);
    }
    return y0 < 0 ? Rect{} : Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

}  // namespace

std::string AnimatedGifWriter::AddFrame(const QImage& frame, std::int64_t delayMs) {
    State& s = *s_;
    if (!s.gif || s.failed) return "the animation is not open";
    if (frame.width() != s.width || frame.height() != s.height) return s.fail("frame size differs");
    const int W = s.width, H = s.height;
    // The part to write and which of its pixels keep the previous frame's colour.
    const bool diff = s.options.onlyChanges && s.frames > 0;
    ChangeTracker changes(diff ? s.prev.data() : nullptr, W);
    ReadColors(frame, s.cur, changes);
    Rect r{0, 0, W, H};
    if (diff) {
        r = changes.rect();
        if (r.w == 0) r = Rect{0, 0, 1, 1};  // nothing changed: one transparent pixel
    }
    // The rectangle's rows in this frame and the previous one; a pixel is
    // "same" when only the changes are written and it kept its colour.
    const std::size_t stride = static_cast<std::size_t>(W);
    const std::uint32_t* curTop = s.cur.data() + static_cast<std::size_t>(r.y) * stride + static_cast<std::size_t>(r.x);
    const std::uint32_t* prevTop =
        diff ? s.prev.data() + static_cast<std::size_t>(r.y) * stride + static_cast<std::size_t>(r.x) : nullptr;
    const std::size_t rw = static_cast<std::size_t>(r.w), rh = static_cast<std::size_t>(r.h);
    const Rows rows{curTop, prevTop, stride, rw, rh};
    bool anySame = AnySame(rows);
    // Whether the whole picture has few enough colours to be written exactly.
    bool fits = true;
    {
        ColorTable exact;
        std::uint32_t last = kEmpty;
        for (const std::uint32_t c : s.cur) {
            if (c == last) continue;
            last = c;
            if (!exact.add(c) || exact.size() > kMaxExact) {
                fits = false;
                break;
            }
        }
    }

    const std::size_t n = rw * rh;
    s.indices.resize(n);  // every pixel is set below
    const Palette* used = nullptr;  // the palette the frame's indices refer to
    Palette local;
    bool useGlobal = false;

    auto mapExact = [&](const ColorTable& index, int transparent) {
        MapExact(rows, index, static_cast<std::uint8_t>(transparent), s.indices.data());
    };
    // Maps onto a quantised palette into s.remapped; the mean square error.
    auto remap = [&](const Palette& pal, KeptPalette& kept) -> double {
        s.remapped.resize(n);
        return Remap(rows, pal, kept.nearest, s.remapped.data());
    };
    // Quantises the rectangle into `into` and keeps it in `kept`.
    auto quantise = [&](KeptPalette& kept, Palette& into) -> bool {
        kept.reset();
        s.rgba.resize(n * 4);
        FillRgba(rows, s.rgba.data());
        liq_image* img = liq_image_create_rgba(s.attr.a, s.rgba.data(), r.w, r.h, 0);
        if (!img) return false;
        liq_result* res = nullptr;
        const bool ok = liq_image_quantize(img, s.attr.a, &res) == LIQ_OK && res;
        liq_image_destroy(img);
        if (!ok) return false;
        const liq_palette* pal = liq_get_palette(res);
        into.colors.clear();
        for (unsigned k = 0; k < pal->count; ++k)
            into.colors.push_back((std::uint32_t{pal->entries[k].r} << 16) | (std::uint32_t{pal->entries[k].g} << 8) |
                                  pal->entries[k].b);
        liq_result_destroy(res);
        into.transparent = static_cast<int>(into.colors.size());
        into.colors.push_back(0);
        kept.error = remap(into, kept);
        kept.valid = true;
        return true;
    };
    // The last remapping becomes the frame's pixels.
    auto takeRemapped = [&] { s.indices.swap(s.remapped); };
    // A kept quantiser palette serves while it maps the frame about as well
    // as it mapped the frame it was made from.
    auto serves = [](const KeptPalette& kept, double err) { return err >= 0 && err <= std::max(kept.error * 2, 12.0); };

    if (!s.screenWritten) {
        if (fits) {
            ExactPalette(rows, s.global, s.globalIndex);
            mapExact(s.globalIndex, s.global.transparent);
        } else {
            if (!quantise(s.globalKept, s.global)) return s.fail("cannot reduce the colours");
            takeRemapped();
            for (std::size_t k = 0; k + 1 < s.global.colors.size(); ++k) s.globalIndex.add(s.global.colors[k]);
        }
        s.screen = Screen{W, H, BitsFor(s.global.colors.size()), MakeMap(s.global)};
        if (!s.screen.map || EGifPutScreenDesc(s.gif, W, H, s.screen.bits, 0, s.screen.map) != GIF_OK)
            return s.fail("cannot write the file");
        if (s.options.loop && !PutLoopExtension(s.gif)) return s.fail("cannot write the file");
        s.screenWritten = true;
        used = &s.global;
        useGlobal = true;
    } else if (AllIn(rows, s.globalIndex)) {
        mapExact(s.globalIndex, s.global.transparent);
        used = &s.global;
        useGlobal = true;
    } else if (fits) {
        ColorTable index;
        ExactPalette(rows, local, index);
        mapExact(index, local.transparent);
        used = &local;
    } else if (s.globalKept.valid && serves(s.globalKept, remap(s.global, s.globalKept))) {
        takeRemapped();
        used = &s.global;
        useGlobal = true;
    } else if (s.localKept.valid && serves(s.localKept, remap(s.localPal, s.localKept))) {
        takeRemapped();
        used = &s.localPal;
    } else {
        if (!quantise(s.localKept, s.localPal)) return s.fail("cannot reduce the colours");
        takeRemapped();
        used = &s.localPal;
    }

    // A pixel whose written colour is the one already shown needs no writing
    // either; the rectangle then shrinks to the pixels that do.  Whole frames
    // need no record of what is shown.
    const auto transparent = static_cast<std::uint8_t>(used->transparent);
    if (s.options.onlyChanges) {
        if (s.shown.empty()) s.shown.assign(static_cast<std::size_t>(W) * static_cast<std::size_t>(H), 0);
        Rect tight = MarkShown(s.indices.data(), rw, rh, transparent, used->colors.data(),
                               s.shown.data() + static_cast<std::size_t>(r.y) * stride + static_cast<std::size_t>(r.x),
                               stride, diff, anySame);
        if (tight.w == 0) tight = Rect{0, 0, 1, 1};
        if (diff && (tight.w != r.w || tight.h != r.h)) {
            for (int y = 0; y < tight.h; ++y)
                std::memmove(s.indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(tight.w),
                             s.indices.data() + static_cast<std::size_t>(tight.y + y) * rw + static_cast<std::size_t>(tight.x),
                             static_cast<std::size_t>(tight.w));
            s.indices.resize(static_cast<std::size_t>(tight.w) * static_cast<std::size_t>(tight.h));
            r = Rect{r.x + tight.x, r.y + tight.y, tight.w, tight.h};
        }
    }

    // The oldest frame goes to the file once too many are in flight.
    if (!s.drain(kFramesInFlight - 1)) return s.fail("cannot write the file");
    std::unique_ptr<FrameJob> job;
    if (s.spare.empty()) {
        job = std::make_unique<FrameJob>();
    } else {
        job = std::move(s.spare.back());
        s.spare.pop_back();
    }
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = GifDelayHundredths(delayMs);
    gcb.TransparentColor = anySame ? used->transparent : NO_TRANSPARENT_COLOR;
    job->extLen = static_cast<int>(EGifGCBToExtension(&gcb, job->ext));
    job->r = r;
    job->map = useGlobal ? nullptr : MakeMap(*used);
    if (!useGlobal && !job->map) return s.fail("cannot write the file");
    job->indices.swap(s.indices);  // a done frame's buffer serves the next one
    std::future<bool> done;
    try {
        done = std::async(std::launch::async, EncodeFrame, std::cref(s.screen), std::ref(*job));
    } catch (const std::system_error&) {
        std::promise<bool> now;
        now.set_value(EncodeFrame(s.screen, *job));
        done = now.get_future();
    }
    s.inFlight.emplace_back(std::move(done), std::move(job));
    s.prev.swap(s.cur);
    ++s.frames;
    return {};
}

std::string AnimatedGifWriter::Finish() {
    State& s = *s_;
    if (!s.gif) return "the animation is not open";
    std::string error = s.failed ? "cannot write the file" : s.frames == 0 ? "no frames" : "";
    if (!s.drain(0) && error.empty()) error = "cannot write the file";
    int err = 0;
    DropImageMap(s.gif);
    const bool closed = EGifCloseFile(s.gif, &err) == GIF_OK;
    s.gif = nullptr;
    if (error.empty() && !closed) error = "cannot write the file";
    error = s.file->commit(error);
    s.file.reset();
    return error;
}

}  // namespace pelmar
