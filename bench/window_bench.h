// What the benchmarks of the real windows share: the shipped data folder, a
// question host that opens one file, and a digit key typed.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

#include "model/records.h"
#include "shell/file_commands.h"
#include "support/links.h"

namespace pelmar::bench {

using test::LinkTo;

inline const std::string Shipped = std::string(PELMAR_SOURCE_DIR) + "/share/pelmar/";

// Opens one file, answers no question.
struct OpenOneFile : FileQuestions {
    std::string file;
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
    bool askYesNo(const std::string&) override { return false; }
    void showMessage(const std::string&) override {}
    std::string chooseOpenFile(const std::string&, bool) override { return file; }
    std::string chooseSaveFile(const std::string&, const std::string&, bool) override { return {}; }
    bool chooseNewProject(std::array<std::uint8_t, KindCount>&) override { return false; }
    bool chooseNewPicture(PictureSettings&) override { return false; }
};

// A digit key pressed in the edit.
inline void TypeKey(QWidget* edit, QChar c) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + c.digitValue(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(edit, &key);
}

}  // namespace pelmar::bench
