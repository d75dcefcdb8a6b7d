// A spin edit for whole numbers that keeps its pair MinValue/MaxValue.
//
// Both 0 means unbounded.  While the user's text is empty or a lone "-" the
// edit reads as MinValue (0 when unbounded), as CheckSpinEdit has it, and the
// text stays as typed, so that "-90" can be typed from an empty box; when the
// edit is left or Return is pressed such a text becomes MinValue.
//
// A decimal separator ("," or ".", whatever the locale) is taken and the
// number rounded half to even: "12,5" reads as 12, never as 125.  Any other
// character is refused.
//
// Connect to `changed`: it is sent for every new value, set by the program or
// typed, and for a typed empty or "-" text with MinValue.
#pragma once

#include <QSpinBox>
#include <optional>

namespace pelmar {

class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    void setMinMax(int minValue, int maxValue);
    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }

    // The text is empty or "-": a value being typed.
    bool isTransient() const;
    // The value a handler stores: MinValue while the text is transient.
    int checkedValue() const;

    // Shows a value from a record.  A focused edit with a transient text that
    // already reads as v keeps the text the user is typing.
    void setFillValue(int v);

    // Unbounded, the edit is as wide as a picture coordinate needs, not as
    // the largest integer.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void changed(int value);

protected:
    void fixup(QString& input) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    // Plain digits and "-", as the edit reads them, in any locale.
    QString textFromValue(int value) const override;

private:
    void send(int v);
    QSize narrowed(QSize hint) const;
    QString stripped(const QString& text) const;

    std::optional<int> sent_;  // the value `changed` last reported
    int minValue_ = 0;
    int maxValue_ = 0;
};

}  // namespace pelmar
