#include "files/ui/preview_widgets.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace pelmar {

TSilentPaintPanel::TSilentPaintPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void TSilentPaintPanel::setCaption(const QString& text) {
    if (caption_ == text) return;
    caption_ = text;
    update();
}

void TSilentPaintPanel::paintFailed() { setCaption(QStringLiteral("Invalid image")); }

void TSilentPaintPanel::paintEvent(QPaintEvent* event) {
    try {
        QFrame::paintEvent(event);
        if (!caption_.isEmpty()) {
            QPainter p(this);
            p.drawText(contentsRect(), Qt::AlignCenter, caption_);
        }
    } catch (const std::exception&) {
        paintFailed();
    }
}

TPreviewImage::TPreviewImage(QWidget* parent) : QWidget(parent) {}

void TPreviewImage::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

QRect TPreviewImage::pictureRect() const {
    if (picture_.isNull() || picture_.width() <= 0 || picture_.height() <= 0) return {};
    const QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void TPreviewImage::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    try {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(pictureRect(), picture_);
    } catch (const std::exception&) {
        if (auto* panel = qobject_cast<TSilentPaintPanel*>(parentWidget())) panel->paintFailed();
    }
}

void TPreviewImage::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

namespace {

// Escape (character 27) closes the window, whichever control has the focus.
class PreviewForm : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
        QDialog::keyPressEvent(event);
    }
};

}  // namespace

std::unique_ptr<QDialog> MakePreviewForm(const QImage& picture, QWidget* parent) {
    auto form = std::make_unique<PreviewForm>(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    form->setObjectName(QStringLiteral("PreviewForm"));
    form->setWindowTitle(QStringLiteral("Preview"));
    form->setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(form.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(form.get());
    panel->setObjectName(QStringLiteral("Panel"));
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setLineWidth(1);
    panel->setBackgroundRole(QPalette::Base);
    panel->setAutoFillBackground(true);
    panel->setAttribute(Qt::WA_OpaquePaintEvent, false);
    layout->addWidget(panel);
    auto* inner = new QVBoxLayout(panel);
    const int border = 5;
    inner->setContentsMargins(border, border, border, border);
    auto* image = new TPreviewImage(panel);
    image->setObjectName(QStringLiteral("Image"));
    image->setPicture(picture.copy());
    inner->addWidget(image);

    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 800, 600);
    if (picture.width() > 0) {
        // The form's client area less the panel's, and the panel's border.
        const int frame = 2 * panel->frameWidth();
        const int w = std::min(area.width() * 3 / 4, picture.width() + frame + 2 * border);
        const int h = std::min(area.height() * 3 / 4, picture.height() + frame + 2 * border);
        form->resize(w, h);
    }
    form->move(area.center() - QPoint(form->width() / 2, form->height() / 2));
    return form;
}

}  // namespace pelmar
