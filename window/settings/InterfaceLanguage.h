#pragma once

#include "window/settings/SettingsFile.h"

#include <QLocale>
#include <QString>

class QCoreApplication;

// The languages the window's captions are translated into, besides English: code and name as the language calls
// itself ("es", "español").
QList<QPair<QString, QString>> InterfaceLanguages();

// Installs the translation of the window's captions, menus, hints and messages for `language` ("es"), or for the
// desktop's language when it is empty, with Qt's own translation of its standard dialogs beside it. Must run before
// the windows are made. English, or a language without a translation, installs nothing and keeps the English texts.
// The application's title (message boxes, the task bar) is set in the same language. Returns the language installed,
// empty when none.
QString InstallInterfaceTranslation(QCoreApplication& application, const QString& language = {},
                                    const QLocale& desktop = QLocale::system());

// The window's language chosen in the Customisation dialog ("en", "es"), empty to follow the desktop.
QString SavedInterfaceLanguage(const QString& path = SettingsFilePath());
void SaveInterfaceLanguage(const QString& language, const QString& path = SettingsFilePath());
