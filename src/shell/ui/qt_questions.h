// The desktop's answers to the document commands and the editing core:
// message boxes, the open and save dialogs (the platform's or the program's
// own with the preview), the new-project dialog, and the delete and copy
// questions.
#pragma once

#include "editing/editing_host.h"
#include "shell/file_commands.h"

class QWidget;

namespace pelmar {

class WordTable;

class QtFileQuestions : public FileQuestions {
public:
    QtFileQuestions(QWidget* parent, const WordTable& words) : parent_(parent), words_(words) {}
    Answer askYesNoCancel(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    void showMessage(const std::string& text) override;
    std::string chooseOpenFile(const std::string& initialDir, bool own) override;
    std::string chooseSaveFile(const std::string& initialDir, const std::string& fileName, bool own) override;
    bool chooseNewProject(std::array<std::uint8_t, KindCount>& counts) override;
    bool chooseNewPicture(PictureSettings& settings) override;

private:
    QWidget* parent_;
    const WordTable& words_;
};

class QtObjectQuestions : public QuestionBox {
public:
    QtObjectQuestions(QWidget* parent, const WordTable& words) : parent_(parent), words_(words) {}
    QuestionAnswer AskDelete(const DeleteQuestion& q) override;
    QuestionAnswer AskCopy(const CopyQuestion& q) override;

private:
    QWidget* parent_;
    const WordTable& words_;
};

}  // namespace pelmar
