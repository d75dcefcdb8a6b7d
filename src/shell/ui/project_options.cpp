#include "shell/ui/project_options.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QScrollArea>
#include <memory>

#include "dialogs/ui/std_dialogs.h"
#include "editing/commit.h"
#include "editing/edited_document.h"
#include "editing/editing_state.h"
#include "editing/ui/picture_window.h"
#include "files/word_table.h"
#include "shell/file_commands.h"
#include "shell/ui/fill_settings_dialog.h"
#include "shell/ui/main_window.h"
#include "shell/user_folders.h"

namespace pelmar {

namespace {

QColor ColorOf(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The desktop's dialogs: the colour dialog, the message box and the open
// dialog for a background picture, on `parent`.
struct DesktopDialogs {
    QtColorChooser colors;
    QtMessageSink messages;
    PictureDialogServices services;
    DesktopDialogs(QWidget* parent, const std::string& startFolder) : colors(parent), messages(parent) {
        services.colors = &colors;
        services.messages = &messages;
        services.choosePicture = [parent, startFolder](const std::string& current) {
            const QString start = current.empty() ? QString::fromStdString(startFolder)
                                                  : QFileInfo(QString::fromStdString(current)).absolutePath();
            KeepQtSettingsReadable();
            return QFileDialog::getOpenFileName(parent, QString(), start,
                                                QStringLiteral("JPEG Image File (*.jpg *.jpeg);;Bitmaps (*.bmp)"))
                .toStdString();
        };
    }
};

// The one picture settings dialog of a window, made at its first use and
// kept, so that it opens on the page used last.
FormImage& PictureDialog(QWidget* owner, const WordTable& words, PictureDialogServices services) {
    if (auto* kept = owner ? owner->findChild<FormImage*>(QStringLiteral("FormImage"), Qt::FindDirectChildrenOnly)
                           : nullptr) {
        kept->setServices(std::move(services));
        return *kept;
    }
    return *new FormImage(words, std::move(services), owner);
}

}  // namespace

void ShowProjectOptions(Form1& w, PictureDialogServices services) {
    const DesktopDialogs desktop(&w, StartFolder(w.shell(), std::string()));
    if (!services.colors) services.colors = desktop.services.colors;
    if (!services.messages) services.messages = desktop.services.messages;
    if (!services.choosePicture) services.choosePicture = desktop.services.choosePicture;
    DProj& doc = w.document();
    DrawingState& draw = w.drawing();
    const WordTable& words = w.shell().words;
    FormImage& dialog = PictureDialog(&w, words, services);
    const QImage& picture = doc.Im.PicMode == 1 ? draw.MetaImage : draw.DrawBitmap;
    dialog.open(SettingsOf(doc), false, draw.BackBitmap, picture);
    dialog.exec();
    dialog.setServices({});
    if (dialog.NewProjOK()) {
        const PictureSettings& s = dialog.settings();
        // OK is one undo step of its own, taken before anything is stored;
        // an OK that changes nothing is no change.
        if (!(s == SettingsOf(doc))) w.application().edited().beforeChange();
        const StoredSettings stored = StorePictureSettings(doc, s, false, w.editing().Work);
        if (QAction* anim = w.toolAction(MainCommand::Anim)) anim->setEnabled(doc.Im.PicMode == 0);
        const QColor back = ColorOf(doc.Im.Background);
        QPalette p = w.pictureScroll()->palette();
        p.setColor(QPalette::Window, back);
        w.pictureScroll()->setPalette(p);
        if (stored.backgroundChanged && !draw.DrawBitmap.isNull()) draw.DrawBitmap.fill(back);
        draw.BackBitmap = s.BackOn ? dialog.background() : QImage();
        w.picture()->setImageCaption(words.WordLine(WordNo::ImageCaption) + " " +
                                     words.WordLine(doc.Im.PicMode == 1 ? WordNo::VectorPicture
                                                                        : WordNo::RasterPicture));
        w.picture()->FitScrollBox();
        // Curves traced for the old picture are traced again at once, as the
        // build run does, so that no output misses them.
        w.redraw(stored.curvesStale);
    }
    if (dialog.fillRequested()) {
        // The window's settings are the document's own: its session is one
        // undo step when it changed the file, and none when it ends as it
        // began.
        w.application().edited().ensureStored();
        const DocumentChange session(w.editing());
        FormImageBr fill(words, doc, [&w] { w.redraw(true); }, &w);
        fill.exec();
    }
}

void LoadOpenedBackground(Form1& w) {
    const BackgroundResult r = LoadDocumentBackground(w.document(), w.drawing().BackBitmap);
    // Told through the window's own message service, which tests answer.
    const auto& show = w.application().showMessage;
    if (!show) return;
    const WordTable& words = w.shell().words;
    const std::string& path = w.document().Im.BackPicture;
    if (r.read == BackgroundRead::TooLarge) show(TooLargeText(r.limit, &words));
    // Told at the open only: an undo step reopens the same document.
    else if (r.read == BackgroundRead::Missing && !path.empty() && !w.editing().UndoLoading)
        show(MissingBackgroundText(path, &words));
    else if (r.read == BackgroundRead::Unreadable)
        show(w.shell().words.WordLine(WordNo::CannotOpenFile) + "\n" + w.document().Im.BackPicture);
}

bool RunNewPictureSettings(PictureSettings& settings, const WordTable& words, QWidget* parent) {
    const DesktopDialogs desktop(parent, std::string());
    // Without a window to keep it, the dialog lives for this show only.
    std::unique_ptr<FormImage> own;
    if (!parent) own = std::make_unique<FormImage>(words, desktop.services);
    FormImage& dialog = own ? *own : PictureDialog(parent, words, desktop.services);
    dialog.open(settings, true);
    dialog.exec();
    dialog.setServices({});
    if (!dialog.NewProjOK()) return false;
    settings = dialog.settings();
    return true;
}

}  // namespace pelmar
