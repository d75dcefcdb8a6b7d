#include "files/palette.h"

#include <algorithm>
#include <unordered_map>

namespace pelmar {

namespace {

struct Entry {
    std::uint32_t rgb;
    std::uint64_t count;
};

int Channel(std::uint32_t rgb, int c) { return static_cast<int>((rgb >> (16 - 8 * c)) & 0xFF); }

// One box of the median cut: entries [begin, end) of the sorted list.
struct Box {
    std::size_t begin, end;
    std::uint64_t weight;
    int widest;  // channel 0 red, 1 green, 2 blue
    int range;
};

Box MakeBox(const std::vector<Entry>& e, std::size_t begin, std::size_t end) {
    Box b{begin, end, 0, 0, 0};
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    for (std::size_t i = begin; i < end; ++i) {
        b.weight += e[i].count;
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], Channel(e[i].rgb, c));
            hi[c] = std::max(hi[c], Channel(e[i].rgb, c));
        }
    }
    for (int c = 0; c < 3; ++c)
        if (hi[c] - lo[c] > b.range) {
            b.range = hi[c] - lo[c];
            b.widest = c;
        }
    return b;
}

// The colour a box stands for: its dominant colour when that holds half of
// the box's pixels (a background stays exact), otherwise the weighted mean.
std::uint32_t BoxColor(const std::vector<Entry>& e, const Box& b) {
    std::uint64_t sum[3] = {0, 0, 0};
    const Entry* top = &e[b.begin];
    for (std::size_t i = b.begin; i < b.end; ++i) {
        for (int c = 0; c < 3; ++c) sum[c] += e[i].count * static_cast<std::uint64_t>(Channel(e[i].rgb, c));
        if (e[i].count > top->count) top = &e[i];
    }
    if (b.weight == 0) return top->rgb;
    if (2 * top->count >= b.weight) return top->rgb;
    std::uint32_t rgb = 0;
    for (int c = 0; c < 3; ++c) rgb = (rgb << 8) | static_cast<std::uint32_t>((sum[c] + b.weight / 2) / b.weight);
    return rgb;
}

std::vector<std::uint32_t> MedianCut(std::vector<Entry>& e, int colors) {
    std::vector<Box> boxes{MakeBox(e, 0, e.size())};
    while (static_cast<int>(boxes.size()) < colors) {
        // Split the box with the most pixels times spread that can be split.
        int best = -1;
        double bestScore = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            if (b.end - b.begin < 2 || b.range == 0) continue;
            const double score = static_cast<double>(b.weight) * b.range;
            if (best < 0 || score > bestScore) {
                best = static_cast<int>(i);
                bestScore = score;
            }
        }
        if (best < 0) break;
        const Box b = boxes[static_cast<std::size_t>(best)];
        const int c = b.widest;
        std::sort(e.begin() + static_cast<std::ptrdiff_t>(b.begin), e.begin() + static_cast<std::ptrdiff_t>(b.end),
                  [c](const Entry& x, const Entry& y) {
                      return Channel(x.rgb, c) != Channel(y.rgb, c) ? Channel(x.rgb, c) < Channel(y.rgb, c)
                                                                    : x.rgb < y.rgb;
                  });
        // The weighted median, keeping both halves non-empty.
        std::uint64_t acc = 0;
        std::size_t cut = b.begin + 1;
        for (std::size_t i = b.begin; i < b.end - 1; ++i) {
            acc += e[i].count;
            cut = i + 1;
            if (2 * acc >= b.weight) break;
        }
        boxes[static_cast<std::size_t>(best)] = MakeBox(e, b.begin, cut);
        boxes.push_back(MakeBox(e, cut, b.end));
    }
    std::vector<std::uint32_t> pal;
    for (const Box& b : boxes) {
        const std::uint32_t rgb = BoxColor(e, b);
        if (std::find(pal.begin(), pal.end(), rgb) == pal.end()) pal.push_back(rgb);
    }
    return pal;
}

int Distance(std::uint32_t a, std::uint32_t b) {
    int d = 0;
    for (int c = 0; c < 3; ++c) {
        const int x = Channel(a, c) - Channel(b, c);
        d += x * x;
    }
    return d;
}

}  // namespace

IndexedPicture ReduceColors(const QImage& picture, int maxColors, std::optional<std::uint32_t> key) {
    maxColors = std::clamp(maxColors, 2, 256);
    IndexedPicture out;
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    out.width = img.width();
    out.height = img.height();
    if (key) *key &= 0xFFFFFFu;

    const int w = out.width, h = out.height;
    // Counted a run of one colour at a time: a drawing is mostly runs.
    std::unordered_map<std::uint32_t, std::uint64_t> hist;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w;) {
            const std::uint32_t rgb = row[x] & 0xFFFFFFu;
            int end = x + 1;
            while (end < w && (row[end] & 0xFFFFFFu) == rgb) ++end;
            hist[rgb] += static_cast<std::uint64_t>(end - x);
            x = end;
        }
    }
    if (key) hist.erase(*key);
    const int budget = maxColors - (key ? 1 : 0);

    std::vector<Entry> entries;
    entries.reserve(hist.size());
    for (const auto& [rgb, n] : hist) entries.push_back({rgb, n});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.rgb < b.rgb; });

    std::vector<std::uint32_t> pal;
    bool exact = static_cast<int>(entries.size()) <= budget;
    if (exact) {
        for (const Entry& e : entries) pal.push_back(e.rgb);
    } else if (budget <= 2) {
        pal = {0x000000u, 0xFFFFFFu};
        pal.resize(static_cast<std::size_t>(budget));
    } else {
        pal = MedianCut(entries, budget);
    }
    if (key) {
        out.keyIndex = static_cast<int>(pal.size());
        pal.push_back(*key);
    }
    out.palette = pal;

    // Every colour of the picture once to its palette entry.
    const int searchable = static_cast<int>(pal.size()) - (key ? 1 : 0);
    std::unordered_map<std::uint32_t, std::uint8_t> index;
    index.reserve(hist.size() + 1);
    if (key) index[*key] = static_cast<std::uint8_t>(out.keyIndex);
    for (const auto& [rgb, n] : hist) {
        (void)n;
        int best = 0;
        if (budget == 1 && !exact) {
            best = 0;
        } else if (!exact && budget == 2 && pal.size() >= 2 && pal[0] == 0 && pal[1] == 0xFFFFFFu) {
            // Black and white by brightness.
            const int lum = 299 * Channel(rgb, 0) + 587 * Channel(rgb, 1) + 114 * Channel(rgb, 2);
            best = lum >= 128 * 1000 ? 1 : 0;
        } else {
            int bestD = -1;
            for (int i = 0; i < searchable; ++i) {
                const int d = Distance(rgb, pal[static_cast<std::size_t>(i)]);
                if (bestD < 0 || d < bestD) {
                    bestD = d;
                    best = i;
                }
            }
        }
        index[rgb] = static_cast<std::uint8_t>(best);
    }

    out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        std::uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        std::uint32_t last = 0xFFFFFFFFu;
        std::uint8_t lastIndex = 0;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t rgb = row[x] & 0xFFFFFFu;
            if (rgb != last) {
                last = rgb;
                lastIndex = index[rgb];
            }
            dst[x] = lastIndex;
        }
    }
    return out;
}

}  // namespace pelmar
