#include "shell/ui/help_window.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/side_file.h"

namespace pelmar {

namespace {

// The page's room at the window's first size: pictures are shown at most
// this wide, smoothly scaled, so that text stays readable in lines of a
// sensible length and no picture needs a horizontal scroll bar.
constexpr int PictureWidth = 800;
constexpr QSize FirstSize(900, 760);

bool IsLocalPage(const QUrl& url) {
    if (!url.isLocalFile()) return false;
    const QString suffix = QFileInfo(url.toLocalFile()).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm");
}

}  // namespace

QByteArray ReadHelpFile(const QString& file, bool* ok) {
    SideFileBytes read = ReadSideFile(file.toStdString(), MaxHelpFileBytes, SideFileCap::Refuse);
    if (ok) *ok = read.state == SideFileBytes::State::Read;
    if (read.state != SideFileBytes::State::Read) return {};
    return QByteArray(read.bytes.data(), static_cast<qsizetype>(read.bytes.size()));
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    // The page and its pictures are read as every file: a pipe, a folder or
    // a file far beyond any page shows nothing in their place.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    QVariant data;
    if (url.isLocalFile()) {
        bool ok = false;
        const QByteArray bytes = ReadHelpFile(url.toLocalFile(), &ok);
        if (!ok) return {};
        data = bytes;
    } else {
        data = QTextBrowser::loadResource(type, name);
    }
    if (type != QTextDocument::ImageResource || data.userType() != QMetaType::QByteArray) return data;
    const QImage image = QImage::fromData(data.toByteArray());
    if (image.isNull() || image.width() <= PictureWidth) return data;
    return image.scaledToWidth(PictureWidth, Qt::SmoothTransformation);
}

HelpWindow::HelpWindow(HelpLinks links, QWidget* parent) : QWidget(parent, Qt::Window), links_(std::move(links)) {
    setObjectName("FormHelp");
    browser_ = new HelpBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenLinks(false);
    browser_->document()->setUndoRedoEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::follow);
}

void HelpWindow::showPage(const std::string& page, const QString& caption) {
    setWindowTitle(caption);
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(page));
    if (browser_->source().adjusted(QUrl::RemoveFragment) != url) {
        bool ok = false;
        ReadHelpFile(url.toLocalFile(), &ok);
        if (!ok) {
            if (links_.cannotOpen) links_.cannotOpen(page);
            return;
        }
        browser_->clearHistory();
        browser_->setSource(url);
    }
    if (!placed_) {
        // First shown: a size that fits the screen, over the right part of
        // the window that asked, clear of the object dialogs, which stand on
        // top at its left.
        placed_ = true;
        QSize size = FirstSize;
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect room = screen->availableGeometry();
            size = size.boundedTo(QSize(room.width() * 9 / 10, room.height() * 9 / 10));
            resize(size);
            QPoint centre = parentWidget() && parentWidget()->isVisible()
                                ? parentWidget()->frameGeometry().center()
                                : room.center();
            QRect frame(QPoint(), size);
            frame.moveCenter(centre);
            if (parentWidget() && parentWidget()->isVisible())
                frame.moveRight(parentWidget()->frameGeometry().right());
            frame.moveLeft(std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() - size.width())));
            frame.moveTop(std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() - size.height())));
            move(frame.topLeft());
        } else {
            resize(size);
        }
    }
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void HelpWindow::follow(const QUrl& link) {
    const QUrl target = browser_->source().resolved(link);
    if (IsLocalPage(target)) {
        // Within the page it only scrolls; another page is read.
        browser_->setSource(target);
        return;
    }
    const std::string url = target.toString().toStdString();
    if (!(links_.openUrl && links_.openUrl(url)) && links_.cannotOpen) links_.cannotOpen(url);
}

HelpWindow& OwnHelpWindow(QWidget& owner, const HelpLinks& links) {
    if (auto* w = owner.findChild<HelpWindow*>(QStringLiteral("FormHelp"), Qt::FindDirectChildrenOnly)) return *w;
    return *new HelpWindow(links, &owner);
}

}  // namespace pelmar
