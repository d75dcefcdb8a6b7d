#include "shell/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace pelmar {

namespace {

QLocale::Language LanguageOf(const std::string& code) {
    const QString c = QString::fromStdString(code).trimmed().toLower();
    if (c.isEmpty()) return QLocale::AnyLanguage;
    return QLocale::codeToLanguage(c, QLocale::AnyLanguageCode);
}

}  // namespace

std::string QtLanguageName(const std::string& code) {
    const QLocale::Language lang = LanguageOf(code);
    if (lang == QLocale::AnyLanguage || lang == QLocale::C) return {};
    return QLocale::languageToCode(lang, QLocale::ISO639Part1).toStdString();
}

bool InstallQtTranslation(const std::string& code) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    // One translator of Qt's texts at a time, owned by the application.
    static QPointer<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    const QLocale::Language lang = LanguageOf(code);
    if (lang == QLocale::English) return true;
    if (lang == QLocale::AnyLanguage || lang == QLocale::C) return false;
    auto* translator = new QTranslator(app);
    if (!translator->load(QLocale(lang), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

}  // namespace pelmar
