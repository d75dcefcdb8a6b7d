#include "office/ui/desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace pelmar {

bool QtDesktopOpener::hasProgramFor(const std::string& mimeType) {
    const QString tool = QStandardPaths::findExecutable("xdg-mime");
    if (tool.isEmpty()) return false;
    QProcess p;
    p.start(tool, {"query", "default", QString::fromStdString(mimeType)});
    if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    return !p.readAllStandardOutput().trimmed().isEmpty();
}

std::string QtDesktopOpener::open(const std::string& path) {
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)))) return {};
    return "cannot start a program for " + path;
}

bool QtOfficeMessages::askYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

void QtOfficeMessages::showError(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), QString::fromStdString(text),
                    QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtOfficeMessages::showNotice(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), QString::fromStdString(text),
                    QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace pelmar
