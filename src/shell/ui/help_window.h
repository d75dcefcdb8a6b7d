// The help window: the program's own viewer of its help page, so that help
// needs no web browser on the desktop.  The page's links within itself (and
// to other local pages) are followed in the window; links elsewhere go to
// the desktop.
#pragma once

#include <QTextBrowser>
#include <QWidget>
#include <functional>
#include <string>

namespace pelmar {

// What the help window asks of the desktop for a link that leaves the page.
struct HelpLinks {
    std::function<bool(const std::string& url)> openUrl;       // false: nothing could open it
    std::function<void(const std::string& url)> cannotOpen;    // says so
};

// The largest help page or picture read: the shipped page is some tens of
// kilobytes, its pictures a few.
inline constexpr std::size_t MaxHelpFileBytes = std::size_t{16} << 20;

// The bytes of a help page or picture, read as every file the program reads;
// *ok false (and nothing) for one that cannot be read or is far too large.
QByteArray ReadHelpFile(const QString& file, bool* ok = nullptr);

// The page view: pictures wider than the page's room are shown smaller.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& name) override;
};

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(HelpLinks links, QWidget* parent);

    // Shows the HTML file `page` (its pictures found beside it) under
    // `caption`, and brings the window to the front.  The page is read again
    // only when it is another file than the one shown.  A page that cannot be
    // read is said through HelpLinks::cannotOpen, and nothing is shown.
    void showPage(const std::string& page, const QString& caption);

    HelpBrowser* browser() const { return browser_; }

private:
    void follow(const QUrl& link);

    HelpLinks links_;
    HelpBrowser* browser_ = nullptr;
    bool placed_ = false;
};

// The one help window of `owner`, made on first use and kept, hidden, when
// closed.
HelpWindow& OwnHelpWindow(QWidget& owner, const HelpLinks& links);

}  // namespace pelmar
