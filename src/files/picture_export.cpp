#include "files/picture_export.h"

#include <QString>
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

#include <unistd.h>

#include "drawing/redraw.h"
#include "files/picture_files.h"
#include "files/save_failure.h"
#include "platform/safe_save.h"
#include "platform/side_file.h"

namespace pelmar {

namespace {

void Fail(const ExportHost& host, const std::string& fileName, const std::string& reason) {
    // A reason of the save itself names the hidden temporary file: the
    // words of its system error stand for it.
    std::string said = SaveReasonSaid(reason, [&host](std::string_view russian, std::string_view english) {
        return std::string(host.texts.said(russian, english));
    });
    host.texts.showMessage(host.texts.word(WordNo::CannotSaveFile) + "\n\r" + fileName + ": " + said);
}

// The document's name less its last four characters (the extension with its dot).
std::string ProposedName(const std::string& docName) {
    QString s = QString::fromStdString(docName);
    s.chop(4);
    return s.toStdString();
}

BitColorsSetup BmpSetup() {
    BitColorsSetup s;
    s.itemEnabled = {true, true, true, true};
    s.selected = 3;
    s.thirdCaption = "256";
    return s;
}

BitColorsSetup JpegSetup() {
    BitColorsSetup s;
    s.itemEnabled = {false, false, true, true};
    s.selected = 3;
    s.thirdCaption = "256 (Gray Scale)";
    s.spinEnabled = true;
    s.spinText = "100";
    s.labelEnabled = true;
    return s;
}

BitColorsSetup GifSetup() {
    BitColorsSetup s;
    s.itemEnabled = {false, false, false, false};
    s.selected = 2;
    s.thirdCaption = "256";
    s.checkEnabled = true;
    return s;
}

// Copies the metafile of the last redraw to the chosen name.
std::string CopyMetafile(const std::string& from, const std::string& to) {
    // Only a regular file, opened without waiting on anything else there.
    const int fd = OpenRegularFile(from);
    std::FILE* in = fd < 0 ? nullptr : ::fdopen(fd, "rb");
    if (!in) {
        if (fd >= 0) ::close(fd);
        return "the picture's metafile is missing";
    }
    SafeFile file(to);
    std::FILE* out = file.opened() ? file.stream() : nullptr;
    if (!out) {
        std::fclose(in);
        return file.opened() ? file.commit("cannot create the file") : file.error();
    }
    bool ok = true;
    char buf[65536];
    std::size_t n = 0;
    while (ok && (n = std::fread(buf, 1, sizeof buf, in)) > 0) ok = std::fwrite(buf, 1, n, out) == n;
    if (std::ferror(in)) ok = false;
    std::fclose(in);
    return file.commit(ok ? std::string() : std::string("cannot write the file"));
}

// The drawing-program export (an OpenDocument drawing) or the
// word-processor export (an OpenDocument text) through its option dialog.
void ExportShapes(const ExportHost& host, ExportState& es, std::string name, bool text) {
    if (!host.windows.checkSaveFileName(name, text ? "odt" : "odg")) return;
    if (text) {
        es.OfficeApp = "Word";
        es.WordFileName = name;
        host.windows.runWordExport(es);
    } else {
        es.CdrFileName = name;
        host.windows.runCdrExport(es);
    }
}

}  // namespace

void ExportPicture(const DProj& proj, DrawingState& st, ExportState& es, const ExportHost& host,
                   [[maybe_unused]] const std::string& progDir, const std::string& docName, const std::string& folder) {
    const DImProj& im = proj.Im;
    const bool metafile = im.PicMode == 1;
    std::string name;
    int& lastFilter = es.LastFilter[metafile ? 1 : 0];
    int filterIndex = std::clamp(lastFilter, 1, 4);
    if (!host.windows.runSavePictureDialog(metafile ? MetafileExportFilter : RasterExportFilter,
                                           folder + ProposedName(docName), name, filterIndex))
        return;
    lastFilter = filterIndex;
    if (const std::size_t slash = name.rfind('/'); slash != std::string::npos) es.LastDir = name.substr(0, slash + 1);

    if (metafile) {
        switch (filterIndex) {
            case 1: {
                if (!host.windows.checkSaveFileName(name, "emf")) return;
                // Only the metafile the current drawing wrote is the picture
                // the user sees.
                if (st.MetaPath.empty() || !st.MetaWritten) {
                    // No line of the word table says it.
                    Fail(host, name,
                         host.texts.said("метафайл чертежа не построен, постройте чертеж заново",
                                         "the drawing's metafile is not made; draw the picture again"));
                    return;
                }
                const std::string error = CopyMetafile(st.MetaPath, name);
                if (!error.empty()) Fail(host, name, error);
                return;
            }
            case 2: ExportShapes(host, es, name, false); return;
            case 3: ExportShapes(host, es, name, true); return;
            case 4: {
                if (!host.windows.checkSaveFileName(name, "png")) return;
                const std::string error = SaveTransparentPng(name, proj, st, host);
                if (!error.empty()) Fail(host, name, error);
                return;
            }
            default: return;
        }
    }

    static constexpr const char* Extensions[] = {"bmp", "jpg", "gif", "png"};
    if (filterIndex < 1 || filterIndex > 4) return;
    if (!host.windows.checkSaveFileName(name, Extensions[filterIndex - 1])) return;

    BitColorsResult choice;
    if (filterIndex <= 3) {
        es.ExportDialogOK = false;
        if (filterIndex == 1) {
            es.ExportBitsPerPixel = 1;
            choice = host.windows.runBitColors(BmpSetup(), es);
        } else if (filterIndex == 2) {
            es.ExportBitsPerPixel = 8;
            choice = host.windows.runBitColors(JpegSetup(), es);
        } else {
            choice = host.windows.runBitColors(GifSetup(), es);
        }
        if (!es.ExportDialogOK) return;
    }

    const QImage& picture = st.DrawBitmap;
    std::string error;
    switch (filterIndex) {
        case 1:
            error = WriteBmpFile(name, picture, es.ExportBitsPerPixel);
            if (error.empty() && !StampResolution(name, im.Dpi, im.Dpi)) error = "cannot write the resolution";
            break;
        case 2:
            error = WriteJpegFile(name, picture, choice.quality, es.ExportBitsPerPixel == 8);
            if (error.empty() && !StampResolution(name, im.Dpi, im.Dpi)) error = "cannot write the resolution";
            break;
        case 3:
            error = WriteGifFile(name, picture,
                                 choice.transparent ? std::optional<std::uint32_t>(im.Background) : std::nullopt);
            break;
        case 4: {
            const auto ppm = PngPixelsPerMetre(im.Dpi);
            error = ppm ? WritePngFile(name, picture, false, *ppm) : std::string("the resolution does not fit in the file");
            break;
        }
        default: break;
    }
    if (!error.empty()) Fail(host, name, error);
}

}  // namespace pelmar
