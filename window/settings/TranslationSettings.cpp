#include "window/settings/TranslationSettings.h"

#include "core/ProfileStrings.h"
#include "speech/Translation.h"

namespace {
const QString LanguageKey = QStringLiteral("MyLanguage");
const QString WhileReadingKey = QStringLiteral("ShowWhileReading");
} // namespace

void LoadTranslationSettings(TranslationChoices& choices, const QString& path)
{
    try {
        const ProfileStrings ini(path);
        // A pair no longer installed stays chosen: translating then says which one is missing.
        choices.setLanguage(ini.readString(TranslationSection, LanguageKey, choices.language()));
        choices.setWhileReading(ini.readInteger(TranslationSection, WhileReadingKey, choices.whileReading()) == 1);
    } catch (...) {
        // An unreadable file leaves the choices as they were, as for the other settings.
    }
}

QString SaveTranslationSettings(const TranslationChoices& choices, const QString& path)
{
    try {
        const ProfileStrings ini(path);
        const bool saved = !ini.readString(TranslationSection, LanguageKey, QString()).isEmpty() ||
                           ini.readInteger(TranslationSection, WhileReadingKey, 0) != 0;
        if (!saved && choices.language().isEmpty() && !choices.whileReading())
            return {};
        ini.writeString(TranslationSection, LanguageKey, choices.language());
        ini.writeInteger(TranslationSection, WhileReadingKey, choices.whileReading() ? 1 : 0);
    } catch (const std::exception& failure) {
        return QString::fromUtf8(failure.what());
    }
    return {};
}
