// The desktop behind the exports' interfaces: the default program of a file
// type (asked of xdg-mime) opened through QDesktopServices, and the message
// boxes of the option dialogs.
#pragma once

#include "office/office_export.h"

class QWidget;

namespace pelmar {

class QtDesktopOpener : public DesktopOpener {
public:
    bool hasProgramFor(const std::string& mimeType) override;
    std::string open(const std::string& path) override;
};

// The question about a missing program, the error message of a failed
// export and the notice of an option file that could not be read.
class OfficeMessages {
public:
    virtual ~OfficeMessages() = default;
    virtual bool askYesNo(const std::string& text) = 0;
    virtual void showError(const std::string& text) = 0;
    virtual void showNotice(const std::string& text) = 0;
};

class QtOfficeMessages : public OfficeMessages {
public:
    explicit QtOfficeMessages(QWidget* parent = nullptr) : parent_(parent) {}
    bool askYesNo(const std::string& text) override;
    void showError(const std::string& text) override;
    void showNotice(const std::string& text) override;

private:
    QWidget* parent_;
};

}  // namespace pelmar
