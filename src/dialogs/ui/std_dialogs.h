// The standard colour dialog and message box behind the dialogs' interfaces.
#pragma once

#include "dialogs/dialog_host.h"

class QWidget;

namespace pelmar {

class QtColorChooser : public ColorChooser {
public:
    explicit QtColorChooser(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<TColor> chooseColor(TColor initial) override;

private:
    QWidget* parent_;
};

class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
    void showMessage(const std::string& text) override;

private:
    QWidget* parent_;
};

}  // namespace pelmar
