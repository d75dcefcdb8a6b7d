#include "shell/ui/qt_questions.h"

#include <QFileDialog>
#include <QMessageBox>

#include "editing/ui/copy_question.h"
#include "editing/ui/delete_question.h"
#include "files/ui/zor_dialogs.h"
#include "shell/ui/new_project_dialog.h"
#include "shell/ui/project_options.h"
#include "shell/ui/tool_icons.h"
#include "shell/user_folders.h"
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
    KeepQtSettingsReadable();
    if (own) {
        TOpenZorDialog d(parent_);
        d.SetInitialDir(Q(initialDir));
        return d.Execute() ? d.FileName().toStdString() : std::string();
    }
    return QFileDialog::getOpenFileName(parent_, QString(), Q(initialDir), PelFilter).toStdString();
}

std::string QtFileQuestions::chooseSaveFile(const std::string& initialDir, const std::string& fileName, bool own) {
    KeepQtSettingsReadable();
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
    return TFormQDel::Ask(q, words_, ToolIcon("TBDelete"), parent_);
}

QuestionAnswer QtObjectQuestions::AskCopy(const CopyQuestion& q) {
    return TFormQCopy::Ask(q, words_, ToolIcon("TBCopy"), parent_);
}

}  // namespace pelmar
