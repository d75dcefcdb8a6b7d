// A bar painted in one colour that the user clicks (or presses Space on) to
// choose another colour.
#pragma once

#include <QAbstractButton>
#include <QColor>

namespace pelmar {

class TColorBar : public QAbstractButton {
    Q_OBJECT
public:
    explicit TColorBar(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& c);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = Qt::white;
};

}  // namespace pelmar
