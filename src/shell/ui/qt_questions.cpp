#include "shell/ui/qt_questions.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "files/ui/zor_dialogs.h"
#include "shell/ui/new_project_dialog.h"
#include "shell/ui/project_options.h"
#include "files/word_table.h"

namespace pelmar {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Message texts break their lines with LF CR; Qt shows the CR as a blank.
QString MessageText(const std::string& s) {
    QString t = Q(s);
    t.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    return t;
}

const QString PelFilter = QStringLiteral("Pelmar Files (*.pel)");

}  // namespace

Answer QtFileQuestions::askYesNoCancel(const std::string& text) {
    const auto r = QMessageBox::question(parent_, QStringLiteral("Pelmar"), MessageText(text),
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                         QMessageBox::Yes);
    if (r == QMessageBox::Yes) return Answer::Yes;
    if (r == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

bool QtFileQuestions::askYesNo(const std::string& text) {
    return QMessageBox::question(parent_, QStringLiteral("Pelmar"), MessageText(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void QtFileQuestions::showMessage(const std::string& text) {
    QMessageBox::warning(parent_, QStringLiteral("Pelmar"), MessageText(text));
}

std::string QtFileQuestions::chooseOpenFile(const std::string& initialDir, bool own) {
    if (own) {
        TOpenZorDialog d(parent_);
        d.SetInitialDir(Q(initialDir));
        return d.Execute() ? d.FileName().toStdString() : std::string();
    }
    return QFileDialog::getOpenFileName(parent_, QString(), Q(initialDir), PelFilter).toStdString();
}

std::string QtFileQuestions::chooseSaveFile(const std::string& initialDir, const std::string& fileName, bool own) {
    if (own) {
        TSaveZorDialog d(parent_);
        d.SetInitialDir(Q(initialDir));
        d.SetFileName(Q(fileName));
        return d.Execute() ? d.FileName().toStdString() : std::string();
    }
    // The overwrite question is the program's own (CheckSaveFileName).
    return QFileDialog::getSaveFileName(parent_, QString(), Q(fileName), PelFilter, nullptr,
                                        QFileDialog::DontConfirmOverwrite)
        .toStdString();
}

bool QtFileQuestions::chooseNewProject(std::array<std::uint8_t, KindCount>& counts) {
    FormNew form(words_, parent_);
    form.exec();
    if (!form.NewProjOK()) return false;
    counts = form.NewObjCounts();
    return true;
}

bool QtFileQuestions::chooseNewPicture(PictureSettings& settings) {
    return RunNewPictureSettings(settings, words_, parent_);
}

QuestionAnswer QtObjectQuestions::AskDelete(const DeleteQuestion& q) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Pelmar"), Q(words_.WordLine(WordNo::DeleteCommand)) + QStringLiteral("?"),
                    QMessageBox::NoButton, parent_);
    if (q.cannotDeleteAll) box.setInformativeText(Q(words_.WordLine(WordNo::CannotDeleteAll)));
    QPushButton* current = box.addButton(QStringLiteral("Current object"), QMessageBox::YesRole);
    QPushButton* selected = nullptr;
    if (q.choiceEnabled) selected = box.addButton(QStringLiteral("Selected objects"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QMessageBox::No);
    current->setEnabled(q.yesEnabled && (q.chosen == 0 || q.choiceEnabled));
    box.setEscapeButton(no);
    box.exec();
    QuestionAnswer a;
    a.done = true;
    if (box.clickedButton() == current) a.answer = 1;
    else if (selected && box.clickedButton() == selected) a.answer = 2;
    return a;
}

QuestionAnswer QtObjectQuestions::AskCopy(const CopyQuestion& q) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Pelmar"), Q(words_.WordLine(WordNo::CopyCommand)) + QStringLiteral("?"),
                    QMessageBox::NoButton, parent_);
    QPushButton* parent = box.addButton(QStringLiteral("Object"), QMessageBox::YesRole);
    QPushButton* child = box.addButton(QStringLiteral("Part being edited"), QMessageBox::YesRole);
    QPushButton* selected = box.addButton(QStringLiteral("Selected objects"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QMessageBox::Cancel);
    child->setEnabled(q.childEnabled);
    selected->setEnabled(q.selectedEnabled);
    box.setEscapeButton(no);
    box.exec();
    QuestionAnswer a;
    a.done = true;
    if (box.clickedButton() == parent) a.answer = 1;
    else if (box.clickedButton() == child) a.answer = 2;
    else if (box.clickedButton() == selected) a.answer = 3;
    return a;
}

}  // namespace pelmar
