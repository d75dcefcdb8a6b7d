#include "shell/picture_settings.h"

#include <QPainter>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "dialogs/number_text.h"
#include "files/text_lines.h"
#include "model/coord_edits.h"
#include "model/geometry.h"
#include "model/units.h"
#include "platform/side_file.h"

namespace pelmar {

namespace {

int RoundHalfEven(double x) { return static_cast<int>(std::nearbyint(x)); }

QColor ColorOf(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The picture's side in millimetres at its resolution.
double SideMm(int pixels, int dpi) { return PixToCm(pixels, dpi) * 10; }

}  // namespace

FillSettings FillSettingsOf(const DImProj& im) {
    return {im.LightSource, im.TwoColors, im.BorderPercent, im.BorderAngle, im.LightX,
            im.LightY,      im.LightZ,    im.LightDX,       im.LightDY,     im.LightDZ};
}

void StoreFillSettings(DImProj& im, const FillSettings& f) {
    im.LightSource = f.LightSource;
    im.TwoColors = f.TwoColors;
    im.BorderPercent = f.BorderPercent;
    im.BorderAngle = f.BorderAngle;
    im.LightX = f.LightX;
    im.LightY = f.LightY;
    im.LightZ = f.LightZ;
    im.LightDX = f.LightDX;
    im.LightDY = f.LightDY;
    im.LightDZ = f.LightDZ;
}

bool FillSettingsDiffer(const DImProj& im, const FillSettings& f) {
    const FillSettings d = FillSettingsOf(im);
    if (d.LightSource != f.LightSource || d.TwoColors != f.TwoColors || d.BorderPercent != f.BorderPercent ||
        d.BorderAngle != f.BorderAngle)
        return true;
    const std::array<double, 6> a{d.LightX, d.LightY, d.LightZ, d.LightDX, d.LightDY, d.LightDZ};
    const std::array<double, 6> b{f.LightX, f.LightY, f.LightZ, f.LightDX, f.LightDY, f.LightDZ};
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!NearlyEqual(a[i], b[i])) return true;
    return false;
}

double BorderOfText(std::string_view text) {
    const std::optional<double> v = ReadNumber(text);
    return v && *v > 0 && *v < 100 ? *v : 50;
}

double LightPosOfText(std::string_view text) { return ReadNumber(text).value_or(500); }

void StoreLightDirText(FillSettings& f, int component, std::string_view text) {
    std::array<double*, 3> d{&f.LightDX, &f.LightDY, &f.LightDZ};
    double& edited = *d[static_cast<std::size_t>(std::clamp(component, 0, 2))];
    edited = ReadNumber(text).value_or(1);
    if (f.LightDX * f.LightDX + f.LightDY * f.LightDY + f.LightDZ * f.LightDZ < 1e-5) edited = 1;
}

PictureSettings NewProjectSettings() {
    PictureSettings s;
    s.Fill.LightDY = s.Fill.LightDZ = std::nearbyint(1000 / std::sqrt(8.0)) / 1000;
    return s;
}

PictureSettings SettingsOf(const DProj& doc) {
    const DImProj& im = doc.Im;
    PictureSettings s;
    s.Width = im.Width;
    s.Height = im.Height;
    s.Dpi = im.Dpi;
    s.Background = im.Background;
    s.FontUnit = im.FontUnit;
    s.PicMode = im.PicMode;
    s.Smooth = im.Smooth;
    s.BackPicture = im.BackPicture;
    s.BackOn = im.BackOn;
    s.BackLoaded = im.BackLoaded != 0;
    s.BackSizeMode = im.BackSizeMode;
    s.PaperWidth = doc.PaperWidth;
    s.PaperHeight = doc.PaperHeight;
    s.Portrait = doc.Portrait;
    s.MarginTop = doc.Margin1;
    s.MarginLeft = doc.Margin2;
    s.Fill = FillSettingsOf(im);
    s.Caption = doc.Caption;
    s.Author = doc.Author;
    s.Notes = doc.Notes;
    return s;
}

StoredSettings StorePictureSettings(DProj& doc, const PictureSettings& s, bool forNew, WorkingCopies* work) {
    StoredSettings out;
    const DImProj& was = doc.Im;
    const bool resized = s.Width != was.Width || s.Height != was.Height;
    if (resized || s.Dpi != was.Dpi || s.PicMode != was.PicMode) {
        // The curves lie where the old picture put them: traced again.
        out.curvesStale = MarkCurvesNotComputed(doc.Obj);
        if (work) MarkCurvesNotComputed(*work);
    }
    if (resized) doc.FillValid = 0;
    if (forNew) {
        doc.AnimFrames = 30;
        doc.AnimDelay = 30;
        doc.AnimStart = "0";
        doc.AnimStep = "1";
        doc.AnimLoop = true;
    }
    DImProj& im = doc.Im;
    im.Width = s.Width;
    im.Height = s.Height;
    im.Dpi = s.Dpi;
    const TColor background = s.PicMode == 1 ? 0xFFFFFF : s.Background;
    out.backgroundChanged = background != im.Background;
    // The fill picture is painted over the background colour.
    if (out.backgroundChanged) doc.FillValid = 0;
    out.modeChanged = s.PicMode != im.PicMode;
    im.Background = background;
    im.YOrient = 2;
    im.FontUnit = s.FontUnit;
    im.PicMode = s.PicMode;
    im.Smooth = s.Smooth;
    im.BackPicture = s.BackPicture;
    im.BackOn = s.BackOn;
    im.BackLoaded = s.BackLoaded ? 1 : 0;
    im.BackSizeMode = s.BackSizeMode;
    doc.PaperWidth = s.PaperWidth;
    doc.PaperHeight = s.PaperHeight;
    doc.Portrait = s.Portrait;
    doc.Margin1 = s.MarginTop;
    doc.Margin2 = s.MarginLeft;
    if (FillSettingsDiffer(im, s.Fill)) doc.FillValid = 0;
    StoreFillSettings(im, s.Fill);
    doc.Caption = s.Caption;
    doc.Author = s.Author;
    doc.Notes = s.Notes;
    return out;
}

int PaperItemOf(int width, int height) {
    for (std::size_t i = 0; i < PaperTable.size(); ++i)
        if (PaperTable[i].width == width && PaperTable[i].height == height) return static_cast<int>(i);
    return OtherPaper;
}

std::optional<int> ResolutionItemOf(int dpi) {
    for (std::size_t i = 0; i < Resolutions.size(); ++i)
        if (Resolutions[i] == dpi) return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int> PixelsOfCmText(std::string_view text, int dpi) {
    std::optional<double> cm = ReadNumber(text);
    if (text.find_first_not_of(" ") == std::string_view::npos) cm = 1;
    if (!cm) return std::nullopt;
    const std::int64_t px = CmToPix(dpi, *cm);
    return static_cast<int>(std::clamp<std::int64_t>(px, MinPictureSide, MaxPictureSide));
}

std::optional<int> PaperSideOfText(std::string_view text) {
    const std::optional<double> cm = ReadNumber(text);
    if (!cm || !(*cm * 10 < 1e9)) return std::nullopt;
    const int mm = RoundHalfEven(*cm * 10);
    if (mm < MinPaperSide || mm > MaxPaperSide) return std::nullopt;
    return mm;
}

int MaxTopMargin(const PictureSettings& s) { return std::max(0, (s.Portrait ? s.PaperHeight : s.PaperWidth) - 1); }

int MaxLeftMargin(const PictureSettings& s) { return std::max(0, (s.Portrait ? s.PaperWidth : s.PaperHeight) - 1); }

int LeastPaperSide(const PictureSettings& s, bool width) {
    // The width runs across a standing page and down a lying one.
    const bool across = width == s.Portrait;
    return std::max(MinPaperSide, (across ? s.MarginLeft : s.MarginTop) + 1);
}

bool KeepMarginsOnPage(PictureSettings& s) {
    const int top = std::min(s.MarginTop, MaxTopMargin(s)), left = std::min(s.MarginLeft, MaxLeftMargin(s));
    const bool moved = top != s.MarginTop || left != s.MarginLeft;
    s.MarginTop = top;
    s.MarginLeft = left;
    return moved;
}

std::optional<int> MarginOfText(std::string_view text) {
    const std::optional<double> cm = ReadNumber(text);
    if (!cm || std::fabs(*cm * 10) >= 1e9) return std::nullopt;
    return RoundHalfEven(*cm * 10);
}

std::string CmText(int mm) { return NumberText(mm / 10.0); }

int CentredLeftMargin(const PictureSettings& s) {
    const int page = s.Portrait ? s.PaperWidth : s.PaperHeight;
    return std::max(0, RoundHalfEven((page - SideMm(s.Width, s.Dpi)) / 2));
}

int CentredTopMargin(const PictureSettings& s) {
    const int page = s.Portrait ? s.PaperHeight : s.PaperWidth;
    return std::max(0, RoundHalfEven((page - SideMm(s.Height, s.Dpi)) / 2));
}

std::optional<PrintPreviewLayout> PrintPreviewOf(const PictureSettings& s) {
    if (s.PaperWidth <= 0 || s.PaperHeight <= 0) return std::nullopt;
    const double k = 120.0 / std::max(s.PaperWidth, s.PaperHeight);
    PrintPreviewLayout l;
    if (s.PaperHeight > s.PaperWidth) {
        const int w = RoundHalfEven(s.PaperWidth * k);
        l.sheet = QRect(RoundHalfEven((135 - w) / 2.0), 15, w, 120);
    } else {
        const int h = RoundHalfEven(s.PaperHeight * k);
        l.sheet = QRect(7, RoundHalfEven((145 - h) / 2.0), 120, h);
    }
    const int w = RoundHalfEven(SideMm(s.Width, s.Dpi) * k), h = RoundHalfEven(SideMm(s.Height, s.Dpi) * k);
    if (s.Portrait) {
        l.picture = QRect(l.sheet.left() + RoundHalfEven(s.MarginLeft * k), l.sheet.top() + RoundHalfEven(s.MarginTop * k), w, h);
    } else {
        // The paper turned: the picture's width runs down the sheet, its top
        // edge along the sheet's right side.
        const int right = l.sheet.left() + l.sheet.width() - RoundHalfEven(s.MarginTop * k);
        l.picture = QRect(right - h, l.sheet.top() + RoundHalfEven(s.MarginLeft * k), h, w);
    }
    return l;
}

void DrawPrintPreview(QImage& target, const PictureSettings& s, const QImage& picture) {
    const std::optional<PrintPreviewLayout> l = PrintPreviewOf(s);
    if (!l) return;
    QPainter p(&target);
    p.fillRect(l->sheet, Qt::white);
    p.setClipRect(l->sheet);
    if (!picture.isNull() && l->picture.width() > 0 && l->picture.height() > 0) {
        if (s.Portrait) {
            p.drawImage(l->picture, picture);
        } else {
            // Turned clockwise: the picture's top edge along the rectangle's right side.
            p.save();
            p.translate(l->picture.left() + l->picture.width(), l->picture.top());
            p.rotate(90);
            p.drawImage(QRect(0, 0, l->picture.height(), l->picture.width()), picture);
            p.restore();
        }
    }
    p.setClipping(false);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(l->sheet.adjusted(0, 0, -1, -1));
    p.drawRect(l->picture.adjusted(0, 0, -1, -1));
}

std::array<std::string, 3> NotesOfMemo(std::string_view text) {
    // Every break the notes box shows ends a line: CR LF, CR, LF, and the
    // line and paragraph separators U+2028 and U+2029.
    constexpr std::string_view LineSep = "\xE2\x80\xA8", ParaSep = "\xE2\x80\xA9";
    std::array<std::string, 3> notes;
    std::size_t line = 0, start = 0, at = 0;
    while (line < notes.size()) {
        std::size_t breakLength = 0;
        if (at == text.size()) breakLength = 0;
        else if (text[at] == '\r') breakLength = at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
        else if (text[at] == '\n') breakLength = 1;
        else if (text.substr(at, 3) == LineSep || text.substr(at, 3) == ParaSep) breakLength = 3;
        else {
            ++at;
            continue;
        }
        notes[line++] = std::string(text.substr(start, at - start));
        if (at == text.size()) break;
        at += breakLength;
        start = at;
    }
    return notes;
}

namespace {

enum class PictureKind { Jpeg, Bmp, Other };

PictureKind KindOfFile(const std::string& fileName, std::string_view bytes) {
    const auto head = [&](std::size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u; };
    if (bytes.size() >= 3 && head(0) == 0xFF && head(1) == 0xD8 && head(2) == 0xFF) return PictureKind::Jpeg;
    if (bytes.size() >= 2 && head(0) == 'B' && head(1) == 'M') return PictureKind::Bmp;
    // Neither signature: the name's ending, in any case, tells what it should be.
    std::string lower = fileName;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    auto ends = [&](std::string_view e) { return lower.size() >= e.size() && lower.ends_with(e); };
    if (ends(".jpg") || ends(".jpeg")) return PictureKind::Jpeg;
    if (ends(".bmp")) return PictureKind::Bmp;
    return PictureKind::Other;
}

// The largest background file read: a BMP of BmpSideLimit pixels a side at
// four bytes a pixel is 16 MB, a JPEG of JpegSideLimit a side even at the
// finest quality less; a larger file holds a picture beyond the limits.
constexpr std::size_t MaxBackgroundBytes = std::size_t{64} << 20;

}  // namespace

BackgroundResult ReadBackgroundPicture(const std::string& fileName, QImage& picture) {
    if (fileName.empty()) return {BackgroundRead::Missing, 0};
    // Read as every file: a folder, a pipe or a device there is as good as
    // missing, and a file far too large is refused unread.
    const SideFileBytes read = ReadSideFile(fileName, MaxBackgroundBytes, SideFileCap::Refuse);
    if (read.state == SideFileBytes::State::Missing) return {BackgroundRead::Missing, 0};
    if (read.state == SideFileBytes::State::Failed) {
        if (read.error == EFBIG) return {BackgroundRead::Unreadable, 0};
        return {read.readFailed || read.error == EACCES ? BackgroundRead::Unreadable : BackgroundRead::Missing, 0};
    }
    const PictureKind kind = KindOfFile(fileName, read.bytes);
    if (kind == PictureKind::Other) return {BackgroundRead::Unreadable, 0};
    const bool jpeg = kind == PictureKind::Jpeg;
    std::uint32_t w = 0, h = 0;
    std::istringstream in(read.bytes);
    const bool sized = jpeg ? ReadJpegSize(in, w, h) : ReadBmpSize(in, w, h);
    if (!sized) return {BackgroundRead::Unreadable, 0};
    const int limit = jpeg ? JpegSideLimit : BmpSideLimit;
    if (w > static_cast<std::uint32_t>(limit) || h > static_cast<std::uint32_t>(limit))
        return {BackgroundRead::TooLarge, limit};
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(read.bytes.data()),
                                          static_cast<int>(read.bytes.size()), jpeg ? "JPG" : "BMP");
    if (image.isNull()) return {BackgroundRead::Unreadable, 0};
    picture = image.convertToFormat(QImage::Format_RGB32);
    return {BackgroundRead::Loaded, 0};
}

std::string TooLargeText(int limit, const WordTable* words) {
    return std::string(Said(words, "Один из размеров файла-фона превышает ", "A side of the background file exceeds ")) +
           std::to_string(limit) + std::string(Said(words, " пикселей!", " pixels!"));
}

bool DocumentCanHoldPath(const std::string& path) { return Cp1251ToUtf8(Utf8ToCp1251(path)) == path; }

std::string UnholdablePathText(const std::string& path, const WordTable* words) {
    return std::string(Said(words, "Путь к файлу-фону содержит знаки, которые нельзя сохранить в чертеже; фон не изменен. "
                                   "Переместите или переименуйте файл, чтобы путь был без таких знаков:\n",
                            "The path of the background file has characters a drawing cannot keep; the background is not "
                            "changed.  Move or rename the file so that its path has none of them:\n")) +
           path;
}

std::string MissingBackgroundText(const std::string& path, const WordTable* words) {
    return std::string(Said(words, "Файл-фон не найден:\n", "The background file is not found:\n")) + path;
}

QImage FitBackground(const QImage& back, int width, int height, int mode) {
    if (back.isNull() || width <= 0 || height <= 0) return back;
    if (mode == 1 || mode == 2) {
        int w = width, h = height;
        if (mode == 1) h = std::max(1, RoundHalfEven(static_cast<double>(back.height()) * width / back.width()));
        else w = std::max(1, RoundHalfEven(static_cast<double>(back.width()) * height / back.height()));
        if (w > MaxPictureSide * 4 || h > MaxPictureSide * 4) return back;
        return back.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return back.copy(0, 0, std::min(back.width(), width), std::min(back.height(), height));
}

BackgroundResult LoadDocumentBackground(DProj& doc, QImage& back) {
    DImProj& im = doc.Im;
    QImage read = back;
    const BackgroundResult r = ReadBackgroundPicture(im.BackPicture, read);
    const bool taken = r.read == BackgroundRead::Loaded || r.read == BackgroundRead::Missing;
    if (taken && !read.isNull()) back = FitBackground(read, im.Width, im.Height, im.BackSizeMode);
    im.BackLoaded = taken ? 1 : 0;
    return r;
}

QSize BackgroundPreviewSize(int width, int height) {
    if (width <= 0 || height <= 0) return {100, 100};
    if (width >= height) return {100, std::max(1, RoundHalfEven(100.0 * height / width))};
    return {std::max(1, RoundHalfEven(100.0 * width / height)), 100};
}

QImage BackgroundPreview(const QImage& fitted, int width, int height, TColor background) {
    const QSize size = BackgroundPreviewSize(width, height);
    QImage out(size, QImage::Format_RGB32);
    out.fill(ColorOf(background));
    if (fitted.isNull() || width <= 0 || height <= 0) return out;
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const double sx = static_cast<double>(size.width()) / width, sy = static_cast<double>(size.height()) / height;
    p.drawImage(QRectF(0, 0, fitted.width() * sx, fitted.height() * sy), fitted);
    return out;
}

}  // namespace pelmar
