#include "files/animated_gif.h"

#include <gif_lib.h>
#include <libimagequant.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <unordered_map>
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

// A palette made by the quantiser and kept for later frames, with the
// nearest entry of every colour mapped so far.
struct KeptPalette {
    bool valid = false;
    double error = 0;  // mean square error of the frame it was made from
    std::unordered_map<std::uint32_t, std::uint8_t> nearest;

    void reset() {
        valid = false;
        nearest.clear();
    }
};

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

    std::string fail(const std::string& why) {
        failed = true;
        return why;
    }
    void closeAndRemove() {
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
    const int fd = s_->file->releaseFd();
    int err = 0;
    s_->gif = EGifOpenFileHandle(fd, &err);
    if (!s_->gif) {
        ::close(fd);
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

// The frame as 0x00RRGGBB colours.
void ReadColors(const QImage& frame, std::vector<std::uint32_t>& out) {
    const QImage img = frame.format() == QImage::Format_RGB32 || frame.format() == QImage::Format_ARGB32
                           ? frame
                           : frame.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    out.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(img.constScanLine(y));
        std::uint32_t* dst = out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x) dst[x] = line[x] & 0xFFFFFFu;
    }
}

// The smallest rectangle holding every pixel of cur that differs from prev;
// w = 0 when none does.
Rect ChangedRect(const std::vector<std::uint32_t>& prev, const std::vector<std::uint32_t>& cur, int w, int h) {
    int x0 = w, x1 = -1, y0 = -1, y1 = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* a = prev.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        const std::uint32_t* b = cur.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        int first = 0;
        while (first < w && a[first] == b[first]) ++first;
        if (first == w) continue;
        int last = w - 1;
        while (a[last] == b[last]) --last;
        if (y0 < 0) y0 = y;
        y1 = y;
        x0 = std::min(x0, first);
        x1 = std::max(x1, last);
    }
    if (y0 < 0) return {};
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

}  // namespace

std::string AnimatedGifWriter::AddFrame(const QImage& frame, std::int64_t delayMs) {
    State& s = *s_;
    if (!s.gif || s.failed) return "the animation is not open";
    if (frame.width() != s.width || frame.height() != s.height) return s.fail("frame size differs");
    const int W = s.width, H = s.height;
    ReadColors(frame, s.cur);

    // The part to write and which of its pixels keep the previous frame's colour.
    const bool diff = s.options.onlyChanges && s.frames > 0;
    Rect r{0, 0, W, H};
    if (diff) {
        r = ChangedRect(s.prev, s.cur, W, H);
        if (r.w == 0) r = Rect{0, 0, 1, 1};  // nothing changed: one transparent pixel
    }
    // The rectangle's rows in this frame and the previous one; a pixel is
    // "same" when only the changes are written and it kept its colour.
    const std::size_t stride = static_cast<std::size_t>(W);
    const std::uint32_t* curTop = s.cur.data() + static_cast<std::size_t>(r.y) * stride + static_cast<std::size_t>(r.x);
    const std::uint32_t* prevTop =
        diff ? s.prev.data() + static_cast<std::size_t>(r.y) * stride + static_cast<std::size_t>(r.x) : nullptr;
    const std::size_t rw = static_cast<std::size_t>(r.w), rh = static_cast<std::size_t>(r.h);
    // Calls f(i, colour, same) for every pixel of the rectangle, row by row;
    // i counts the pixels from the rectangle's top left.
    auto forEach = [&](auto&& f) {
        std::size_t i = 0;
        for (std::size_t y = 0; y < rh; ++y) {
            const std::uint32_t* c = curTop + y * stride;
            if (diff) {
                const std::uint32_t* p = prevTop + y * stride;
                for (std::size_t x = 0; x < rw; ++x, ++i) f(i, c[x], p[x] == c[x]);
            } else {
                for (std::size_t x = 0; x < rw; ++x, ++i) f(i, c[x], false);
            }
        }
    };

    bool anySame = false;
    if (diff)
        for (std::size_t y = 0; !anySame && y < rh; ++y) {
            const std::uint32_t* c = curTop + y * stride;
            const std::uint32_t* p = prevTop + y * stride;
            for (std::size_t x = 0; x < rw; ++x)
                if (p[x] == c[x]) {
                    anySame = true;
                    break;
                }
        }
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
    // Whether the colours written all stand in the global palette.
    auto inGlobal = [&] {
        std::uint32_t last = kEmpty;
        for (std::size_t y = 0; y < rh; ++y) {
            const std::uint32_t* c = curTop + y * stride;
            const std::uint32_t* p = diff ? prevTop + y * stride : nullptr;
            for (std::size_t x = 0; x < rw; ++x) {
                if ((p && p[x] == c[x]) || c[x] == last) continue;
                if (s.globalIndex.find(c[x]) < 0) return false;
                last = c[x];
            }
        }
        return true;
    };

    const std::size_t n = rw * rh;
    s.indices.assign(n, 0);
    const Palette* used = nullptr;  // the palette the frame's indices refer to
    Palette local;
    bool useGlobal = false;

    auto exactPalette = [&](Palette& p, ColorTable& index) {
        index.clear();
        p.colors.clear();
        forEach([&](std::size_t, std::uint32_t c, bool same) {
            if (!same && index.add(c) && index.size() > static_cast<int>(p.colors.size())) p.colors.push_back(c);
        });
        p.transparent = static_cast<int>(p.colors.size());
        p.colors.push_back(0);
    };
    auto mapExact = [&](const ColorTable& index, int transparent) {
        std::uint8_t* out = s.indices.data();
        std::uint32_t last = kEmpty;
        std::uint8_t lastIndex = 0;
        forEach([&](std::size_t i, std::uint32_t c, bool same) {
            if (same) {
                out[i] = static_cast<std::uint8_t>(transparent);
                return;
            }
            if (c != last) {
                last = c;
                lastIndex = static_cast<std::uint8_t>(index.find(c));
            }
            out[i] = lastIndex;
        });
    };
    // The rectangle as the quantiser reads it.
    auto fillRgba = [&] {
        s.rgba.resize(n * 4);
        std::uint8_t* out = s.rgba.data();
        for (std::size_t y = 0; y < rh; ++y) {
            const std::uint32_t* c = curTop + y * stride;
            for (std::size_t x = 0; x < rw; ++x, out += 4) {
                out[0] = static_cast<std::uint8_t>(c[x] >> 16);
                out[1] = static_cast<std::uint8_t>(c[x] >> 8);
                out[2] = static_cast<std::uint8_t>(c[x]);
                out[3] = 255;
            }
        }
    };
    // Maps the pixels to write onto a quantised palette (nearest colour);
    // the mean square error per channel.
    auto remap = [&](const Palette& pal, KeptPalette& kept) -> double {
        s.remapped.resize(n);
        std::uint8_t* out = s.remapped.data();
        const int entries = static_cast<int>(pal.colors.size()) - 1;  // the last one is the transparent slot
        // Sums of whole numbers: exact in an integer, and the same double at the end.
        std::uint64_t sum = 0;
        std::size_t count = 0;
        std::uint32_t lastColor = kEmpty;
        std::uint8_t lastIndex = 0;
        int lastD = 0;
        forEach([&](std::size_t i, std::uint32_t c, bool same) {
            if (same) return;
            if (c != lastColor) {
                auto it = kept.nearest.find(c);
                if (it == kept.nearest.end()) {
                    int best = 0, bestD = INT32_MAX;
                    for (int k = 0; k < entries; ++k) {
                        const std::uint32_t q = pal.colors[static_cast<std::size_t>(k)];
                        const int dr = static_cast<int>((q >> 16) & 0xFF) - static_cast<int>((c >> 16) & 0xFF);
                        const int dg = static_cast<int>((q >> 8) & 0xFF) - static_cast<int>((c >> 8) & 0xFF);
                        const int db = static_cast<int>(q & 0xFF) - static_cast<int>(c & 0xFF);
                        const int d = dr * dr + dg * dg + db * db;
                        if (d < bestD) bestD = d, best = k;
                    }
                    it = kept.nearest.emplace(c, static_cast<std::uint8_t>(best)).first;
                }
                lastColor = c;
                lastIndex = it->second;
                const std::uint32_t q = pal.colors[lastIndex];
                const int dr = static_cast<int>((q >> 16) & 0xFF) - static_cast<int>((c >> 16) & 0xFF);
                const int dg = static_cast<int>((q >> 8) & 0xFF) - static_cast<int>((c >> 8) & 0xFF);
                const int db = static_cast<int>(q & 0xFF) - static_cast<int>(c & 0xFF);
                lastD = dr * dr + dg * dg + db * db;
            }
            out[i] = lastIndex;
            sum += static_cast<std::uint64_t>(lastD);
            ++count;
        });
        return count ? static_cast<double>(sum) / (3.0 * static_cast<double>(count)) : 0;
    };
    // Quantises the rectangle into `into` and keeps it in `kept`.
    auto quantise = [&](KeptPalette& kept, Palette& into) -> bool {
        kept.reset();
        fillRgba();
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
    auto takeRemapped = [&](int transparent) {
        std::uint8_t* out = s.indices.data();
        const std::uint8_t* from = s.remapped.data();
        forEach([&](std::size_t i, std::uint32_t, bool same) {
            out[i] = same ? static_cast<std::uint8_t>(transparent) : from[i];
        });
    };
    // A kept quantiser palette serves while it maps the frame about as well
    // as it mapped the frame it was made from.
    auto serves = [](const KeptPalette& kept, double err) { return err >= 0 && err <= std::max(kept.error * 2, 12.0); };

    if (!s.screenWritten) {
        if (fits) {
            exactPalette(s.global, s.globalIndex);
            mapExact(s.globalIndex, s.global.transparent);
        } else {
            if (!quantise(s.globalKept, s.global)) return s.fail("cannot reduce the colours");
            takeRemapped(s.global.transparent);
            for (std::size_t k = 0; k + 1 < s.global.colors.size(); ++k) s.globalIndex.add(s.global.colors[k]);
        }
        ColorMapObject* map = MakeMap(s.global);
        const bool ok = map && EGifPutScreenDesc(s.gif, W, H, BitsFor(s.global.colors.size()), 0, map) == GIF_OK;
        if (map) GifFreeMapObject(map);
        if (!ok) return s.fail("cannot write the file");
        if (s.options.loop && !PutLoopExtension(s.gif)) return s.fail("cannot write the file");
        s.screenWritten = true;
        used = &s.global;
        useGlobal = true;
    } else if (inGlobal()) {
        mapExact(s.globalIndex, s.global.transparent);
        used = &s.global;
        useGlobal = true;
    } else if (fits) {
        ColorTable index;
        exactPalette(local, index);
        mapExact(index, local.transparent);
        used = &local;
    } else if (s.globalKept.valid && serves(s.globalKept, remap(s.global, s.globalKept))) {
        takeRemapped(s.global.transparent);
        used = &s.global;
        useGlobal = true;
    } else if (s.localKept.valid && serves(s.localKept, remap(s.localPal, s.localKept))) {
        takeRemapped(s.localPal.transparent);
        used = &s.localPal;
    } else {
        if (!quantise(s.localKept, s.localPal)) return s.fail("cannot reduce the colours");
        takeRemapped(s.localPal.transparent);
        used = &s.localPal;
    }

    // A pixel whose written colour is the one already shown needs no writing
    // either; the rectangle then shrinks to the pixels that do.
    if (s.shown.empty()) s.shown.assign(static_cast<std::size_t>(W) * static_cast<std::size_t>(H), 0);
    const auto transparent = static_cast<std::uint8_t>(used->transparent);
    int x0 = r.w, x1 = -1, y0 = -1, y1 = -1;
    const std::uint32_t* colors = used->colors.data();
    for (int y = 0; y < r.h; ++y) {
        std::uint8_t* idx = s.indices.data() + static_cast<std::size_t>(y) * rw;
        std::uint32_t* shown = s.shown.data() + static_cast<std::size_t>(r.y + y) * stride + static_cast<std::size_t>(r.x);
        int first = -1, last = -1;
        for (int x = 0; x < r.w; ++x) {
            if (idx[x] == transparent) continue;
            const std::uint32_t c = colors[idx[x]];
            if (diff && c == shown[x]) {
                idx[x] = transparent;
                anySame = true;
                continue;
            }
            shown[x] = c;
            if (first < 0) first = x;
            last = x;
        }
        if (first < 0) continue;
        x0 = std::min(x0, first), x1 = std::max(x1, last);
        if (y0 < 0) y0 = y;
        y1 = y;
    }
    if (diff) {
        const Rect tight = y0 < 0 ? Rect{0, 0, 1, 1} : Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
        if (tight.w != r.w || tight.h != r.h) {
            std::vector<std::uint8_t> cropped(static_cast<std::size_t>(tight.w) * static_cast<std::size_t>(tight.h));
            for (int y = 0; y < tight.h; ++y)
                std::copy_n(s.indices.begin() + static_cast<std::ptrdiff_t>((tight.y + y) * r.w + tight.x), tight.w,
                            cropped.begin() + static_cast<std::ptrdiff_t>(y * tight.w));
            s.indices.swap(cropped);
            r = Rect{r.x + tight.x, r.y + tight.y, tight.w, tight.h};
        }
    }

    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = GifDelayHundredths(delayMs);
    gcb.TransparentColor = anySame ? used->transparent : NO_TRANSPARENT_COLOR;
    GifByteType ext[4];
    const std::size_t len = EGifGCBToExtension(&gcb, ext);
    if (EGifPutExtension(s.gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) != GIF_OK)
        return s.fail("cannot write the file");
    ColorMapObject* map = useGlobal ? nullptr : MakeMap(*used);
    DropImageMap(s.gif);
    bool ok = (useGlobal || map) && EGifPutImageDesc(s.gif, r.x, r.y, r.w, r.h, false, map) == GIF_OK;
    if (map) GifFreeMapObject(map);
    for (int y = 0; ok && y < r.h; ++y)
        ok = EGifPutLine(s.gif, s.indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(r.w), r.w) ==
             GIF_OK;
    if (!ok) return s.fail("cannot write the file");
    s.prev.swap(s.cur);
    ++s.frames;
    return {};
}

std::string AnimatedGifWriter::Finish() {
    State& s = *s_;
    if (!s.gif) return "the animation is not open";
    std::string error = s.failed ? "cannot write the file" : s.frames == 0 ? "no frames" : "";
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
