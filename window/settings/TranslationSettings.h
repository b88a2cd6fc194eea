#pragma once

#include "window/settings/SettingsFile.h"

class TranslationChoices;

inline const QString TranslationSection = QStringLiteral("Translation");

// Restores the learner's language and the translation while reading from their own section of the settings file;
// a missing file or key leaves the choices as they are. Never throws.
void LoadTranslationSettings(TranslationChoices& choices, const QString& path = SettingsFilePath());
// Writes them back once a language has been chosen or the option switched on, so the files of older versions save
// back as they were. Never throws: returns why the file could not be written, or the empty text.
QString SaveTranslationSettings(const TranslationChoices& choices, const QString& path = SettingsFilePath());
