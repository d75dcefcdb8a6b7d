// The pieces of the file dialogs' preview: the framed panel that shows a
// caption ("(None)", "Invalid image") behind the picture, the picture control
// that stretches its picture proportionally, and the full-size preview window.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>

namespace pelmar {

// A panel that paints as a panel does; when painting fails, its caption
// becomes "Invalid image" instead of the failure going further.
class TSilentPaintPanel : public QFrame {
    Q_OBJECT
public:
    explicit TSilentPaintPanel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& text);
    // A child that failed to paint reports it here.
    void paintFailed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

// A picture shown stretched proportionally and centred in the control.
class TPreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewImage(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);
    void clear() { setPicture(QImage()); }
    // Where the picture is drawn inside the control.
    QRect pictureRect() const;

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

// The full-size preview window "PreviewForm" ("Preview"), holding the panel
// "Panel" and in it the image "Image" with a copy of `picture`; sized to the
// picture, at most three quarters of its screen, centred there.  Escape
// closes it.
std::unique_ptr<QDialog> MakePreviewForm(const QImage& picture, QWidget* parent = nullptr);

}  // namespace pelmar
