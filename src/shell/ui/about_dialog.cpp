#include "shell/ui/about_dialog.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdint>

#include "model/units.h"
#include "shell/about_pictures.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

constexpr int WordCaption = 66, WordDate = 68, WordAbout = 70;
constexpr int WordMemory[3] = {73, 74, 75};

QLabel* Picture(QWidget* parent, const char* name, const QImage& image) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFixedSize(image.size());
    l->setPixmap(QPixmap::fromImage(image));
    return l;
}

QLabel* Text(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

}  // namespace

AboutServices DesktopAboutServices(QWidget* parent) {
    return {[](const std::string& url) { return QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); },
            [parent](const std::string& text) {
                QMessageBox::information(parent, "Pelmar", QString::fromStdString(text));
            }};
}

std::string AboutMailUrl() {
    return std::string("mailto:") + PelmarMail + "?subject=Pelmar%20" + PelmarVersion + "&body=%0d";
}

FormAbout::FormAbout(const WordTable& words, const std::string& langFile, AboutServices services, QWidget* parent)
    : QDialog(parent), words_(words), services_(std::move(services)) {
    setObjectName("FormAbout");
    const QColor face = palette().color(QPalette::Button);

    auto* logo = Picture(this, "Image3", AboutLogo(face));
    auto* caption = Picture(this, "Image1", AboutCaption(face, RussianCaption(langFile)));
    auto* picture = Picture(this, "Image2", AboutPicture(face));
    anim_ = Picture(this, "RxGIFAn1", AboutFrame(face, 0));
    version_ = Text(this, "LabelVer");
    date_ = Text(this, "LabelDate");
    about_ = Text(this, "LabelOpi");
    about_->setWordWrap(true);
    about_->setMinimumWidth(220);

    std::uint64_t total = 0, avail = 0, mine = 0;
    MemoryInfo(total, avail, mine);
    const char* captionNames[3] = {"LabelMemAlls0", "LabelMemFree0", "LabelMemMy0"};
    const char* figureNames[3] = {"LabelMemAlls", "LabelMemFree", "LabelMemMy"};
    const std::uint64_t figures[3] = {total, avail, mine};
    auto* memory = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        memCaption_[i] = Text(this, captionNames[i]);
        QLabel* figure = Text(this, figureNames[i]);
        figure->setText(QString::fromStdString(MemoryText(figures[i])));
        figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        memory->addWidget(memCaption_[i], i, 0);
        memory->addWidget(figure, i, 1);
    }

    auto* ok = new QPushButton("Ok", this);
    ok->setObjectName("Button1");
    ok->setDefault(true);
    auto* site = new QPushButton("Web Site", this);
    site->setObjectName("ButtonSite");
    auto* mail = new QPushButton("E-Mail", this);
    mail->setObjectName("ButtonMail");
    connect(ok, &QPushButton::clicked, this, &FormAbout::accept);
    connect(site, &QPushButton::clicked, this, &FormAbout::openSite);
    connect(mail, &QPushButton::clicked, this, &FormAbout::openMail);

    auto* head = new QHBoxLayout;
    head->addWidget(logo);
    head->addWidget(caption);
    head->addStretch(1);
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(version_);
    versionRow->addStretch(1);
    versionRow->addWidget(anim_);
    auto* right = new QVBoxLayout;
    right->addLayout(versionRow);
    right->addWidget(date_);
    right->addSpacing(8);
    right->addWidget(about_);
    right->addStretch(1);
    right->addLayout(memory);
    auto* body = new QHBoxLayout;
    body->addWidget(picture, 0, Qt::AlignTop);
    body->addSpacing(12);
    body->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(site);
    buttons->addWidget(mail);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* main = new QVBoxLayout(this);
    main->addLayout(head);
    main->addLayout(body);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    timer_ = new QTimer(this);
    timer_->setInterval(AboutFrameMs);
    connect(timer_, &QTimer::timeout, this, &FormAbout::nextFrame);
    applyWords();
}

void FormAbout::applyWords() {
    setWindowTitle(QString::fromStdString(words_.WordLine(WordCaption)));
    date_->setText(QString::fromStdString(words_.WordLine(WordDate)));
    about_->setText(QString::fromStdString(words_.WordLine(WordAbout)));
    for (int i = 0; i < 3; ++i) memCaption_[i]->setText(QString::fromStdString(words_.WordLine(WordMemory[i])));
}

void FormAbout::paintEvent(QPaintEvent* event) {
    applyWords();
    if (firstPaint_) {
        firstPaint_ = false;
        version_->setText(QString("V ") + PelmarVersion);
        timer_->start();
    }
    QDialog::paintEvent(event);
}

void FormAbout::nextFrame() {
    frame_ = (frame_ + 1) % AboutFrameCount;
    anim_->setPixmap(QPixmap::fromImage(AboutFrame(palette().color(QPalette::Button), frame_)));
}

void FormAbout::openSite() {
    if (services_.openUrl) services_.openUrl(PelmarWebSite);
}

void FormAbout::openMail() {
    if (services_.openUrl && services_.openUrl(AboutMailUrl())) return;
    if (services_.showMessage) services_.showMessage("Auto method failed.");
}

void FormAbout::closeEvent(QCloseEvent* event) {
    timer_->stop();
    QDialog::closeEvent(event);
}

void FormAbout::done(int result) {
    timer_->stop();
    QDialog::done(result);
}

void ShowAboutBox(const WordTable& words, const std::string& langFile, QWidget* parent) {
    auto* box = new FormAbout(words, langFile, DesktopAboutServices(parent), parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->exec();
}

}  // namespace pelmar
