#include "window/settings/InterfaceLanguage.h"

#include "core/ProfileStrings.h"
#include "window/settings/TranslationSettings.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
const QString WindowLanguageKey = QStringLiteral("WindowLanguage");
} // namespace

QList<QPair<QString, QString>> InterfaceLanguages()
{
    return {{QStringLiteral("es"), QStringLiteral("español")}};
}

namespace {
QString installTranslation(QCoreApplication& application, const QString& language, const QLocale& desktop)
{
    const QLocale locale = language.isEmpty() ? desktop : QLocale(language);
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return {};
    // Owned by the application, which keeps them for its lifetime.
    auto* own = new QTranslator(&application);
    if (!own->load(locale, QStringLiteral("parlivo"), QStringLiteral("_"), QStringLiteral(":/translations"))) {
        delete own;
        return {};
    }
    application.installTranslator(own);
    auto* qt = new QTranslator(&application);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(qt);
    else
        delete qt;
    return QLocale::languageToCode(locale.language());
}
} // namespace

QString InstallInterfaceTranslation(QCoreApplication& application, const QString& language, const QLocale& desktop)
{
    const QString installed = installTranslation(application, language, desktop);
    // The title of the message boxes and the task bar, in the same language as the window.
    QGuiApplication::setApplicationDisplayName(QCoreApplication::translate("Program", "Parlivo Study Edition"));
    return installed;
}

QString SavedInterfaceLanguage(const QString& path)
{
    try {
        return ProfileStrings(path).readString(TranslationSection, WindowLanguageKey, QString());
    } catch (...) {
        return {};
    }
}

void SaveInterfaceLanguage(const QString& language, const QString& path)
{
    try {
        ProfileStrings(path).writeString(TranslationSection, WindowLanguageKey, language);
    } catch (...) {
        // Like the other settings: a file that cannot be written keeps what it had.
    }
}
