// The about box: the program's pictures and version, a line on what it is
// for, three memory figures, and buttons for the web page and mail.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTimer;

namespace pelmar {

class WordTable;

// The program's web page and mail address.
inline constexpr const char* PelmarWebSite = "https://pelmar.example.org/";
inline constexpr const char* PelmarMail = "pelmar@example.org";
inline constexpr const char* PelmarVersion = "6.0f";

// What the about box asks of the desktop.
struct AboutServices {
    std::function<bool(const std::string& url)> openUrl;       // the default browser or mail program
    std::function<void(const std::string& text)> showMessage;  // a message box
};
// The desktop's own: QDesktopServices and a message box.
AboutServices DesktopAboutServices(QWidget* parent);

// The mail link: the address, subject "Pelmar 6.0f" and one line break as body.
std::string AboutMailUrl();

class FormAbout : public QDialog {
    Q_OBJECT
public:
    FormAbout(const WordTable& words, const std::string& langFile, AboutServices services,
              QWidget* parent = nullptr);

    int frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void applyWords();
    void nextFrame();
    void openSite();
    void openMail();

    const WordTable& words_;
    AboutServices services_;
    QLabel* anim_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* date_ = nullptr;
    QLabel* about_ = nullptr;
    QLabel* memCaption_[3] = {};
    QTimer* timer_ = nullptr;
    bool firstPaint_ = true;
    int frame_ = 0;
};

// Creates the about box, shows it modally and frees it.
void ShowAboutBox(const WordTable& words, const std::string& langFile, QWidget* parent);

}  // namespace pelmar
