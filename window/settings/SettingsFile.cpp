#include "window/settings/SettingsFile.h"

#include "core/AppFolder.h"
#include "core/ProfileStrings.h"
#include "speech/ReadingModel.h"

#include <algorithm>
#include <array>

namespace {
// The voice a settings file without one names; older versions wrote it, and it is not reported as missing.
const QString UnsetReader = QStringLiteral("Microsoft Sam");
const QString Mp3SubtitlesKey = QStringLiteral("Mp3Subtitles");
const QString ReaderBarKey = QStringLiteral("ReaderBar");
const QString ReaderBarPlaceKey = QStringLiteral("ReaderBarPlace");
const QString MatchLanguageKey = QStringLiteral("MatchLanguage");

// "x,y", as the floating reader bar's place is kept; (-1, -1) for anything else.
QPoint readPlace(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    bool xOk = false;
    bool yOk = false;
    const QPoint place =
        parts.size() == 2 ? QPoint(parts[0].trimmed().toInt(&xOk), parts[1].trimmed().toInt(&yOk)) : QPoint();
    return xOk && yOk ? place : QPoint(-1, -1);
}

// A speed or volume, 1 to 10: one beyond that is brought within it, one that is no number is the default; either
// is noted in `corrected`.
int readLevel(const ProfileStrings& ini, QStringView key, int defaultLevel, QStringList& corrected)
{
    const QString text = ini.readString(ReaderSection, key, QString());
    if (text.isEmpty())
        return defaultLevel;
    const std::optional<qint32> stored = ParseProfileInteger(text);
    const int level = stored ? std::clamp<qint32>(*stored, 1, 10) : defaultLevel;
    if (!stored || *stored != level)
        corrected << QStringLiteral("%1=%2 \u2192 %3").arg(key, text).arg(level);
    return level;
}

void restoreChoices(ReadingModel& model, WindowSettings& window, const std::function<void()>& voiceChosen,
                    const ProfileStrings& ini, QString& missingReader, QStringList& corrected)
{
    window.readerVisible = ini.readInteger(ReaderSection, u"ReaderVisible", 1) == 1;
    const QString reader = ini.readString(ReaderSection, u"Reader", UnsetReader);
    if (model.setVoice(reader)) {
        if (voiceChosen)
            voiceChosen();
    } else if (!reader.isEmpty() && reader != UnsetReader) {
        missingReader = reader;
    }
    model.setVolume(readLevel(ini, u"Volume", DefaultReadingVolume, corrected));
    model.setSpeed(readLevel(ini, u"Speed", DefaultReadingSpeed, corrected));

    // An unknown mode leaves the mode the model had.
    switch (const int mode = ini.readInteger(ReaderSection, u"ReadALong", 1)) {
    case int(AutoReadMode::Off):
    case int(AutoReadMode::SingleWord):
    case int(AutoReadMode::Sentence):
        model.setAutoReadMode(AutoReadMode(mode));
        break;
    default:
        break;
    }

    window.spellingDelay = ini.readInteger(ReaderSection, u"SpellingDelay", 15);
    window.mp3Subtitles = ini.readInteger(ReaderSection, Mp3SubtitlesKey, 0) == 1;
    window.readerBarVisible = ini.readInteger(ReaderSection, ReaderBarKey, 1) != 0;
    window.matchLanguage = ini.readInteger(ReaderSection, MatchLanguageKey, 0) == 1;
    window.floatingBarPlace = readPlace(ini.readString(ReaderSection, ReaderBarPlaceKey, QString()));

    const AppearanceSettings defaults;
    std::array<bool, AppearanceSettings::FieldCount + 1> given{};
    for (int field = 1; field <= AppearanceSettings::FieldCount; ++field) {
        const QString key = QString::fromLatin1(AppearanceSettings::keys()[field - 1]);
        given[field] = !ini.readString(CustomisationSection, key, QString()).isEmpty();
        window.appearance.field(field) = ini.readInteger(CustomisationSection, key, defaults.field(field));
    }
    corrected << MakeReadable(window.appearance, [&given](int field) { return given[field]; });

    window.readingAids = ReadReadingAids(ini);
    window.writingHelp = ReadWritingHelp(ini);
}
} // namespace

QString SettingsFilePath()
{
    return appPath(QStringLiteral("Parlivo.ini"));
}

SettingsRestored LoadSettings(ReadingModel& model, WindowSettings& window, const std::function<void()>& voiceChosen,
                              const QString& path)
{
    SettingsRestored restored;
    try {
        restoreChoices(model, window, voiceChosen, ProfileStrings(path), restored.missingReader, restored.corrected);
    } catch (...) {
        model.setAutoReadMode(AutoReadMode::Off);
    }
    return restored;
}

QString SaveSettings(const ReadingModel& model, const WindowSettings& window, const QString& path)
{
    try {
        const ProfileStrings ini(path);
        ini.writeString(ReaderSection, QStringLiteral("Reader"), model.voice());
        if (model.volume())
            ini.writeInteger(ReaderSection, QStringLiteral("Volume"), *model.volume());
        if (model.speed())
            ini.writeInteger(ReaderSection, QStringLiteral("Speed"), *model.speed());
        ini.writeInteger(ReaderSection, QStringLiteral("SpellingDelay"), window.spellingDelay);
        ini.writeInteger(ReaderSection, QStringLiteral("ReaderVisible"), window.readerVisible ? 1 : 0);
        ini.writeInteger(ReaderSection, QStringLiteral("ReadALong"), int(model.autoReadMode()));
        // Written once it has been switched on, so the files of older versions save back as they were.
        if (window.mp3Subtitles || ini.readInteger(ReaderSection, Mp3SubtitlesKey, 0) != 0)
            ini.writeInteger(ReaderSection, Mp3SubtitlesKey, window.mp3Subtitles ? 1 : 0);
        // Like the subtitles: written once the bar has been hidden, or its floating window placed.
        if (!window.readerBarVisible || ini.readInteger(ReaderSection, ReaderBarKey, 1) != 1)
            ini.writeInteger(ReaderSection, ReaderBarKey, window.readerBarVisible ? 1 : 0);
        if (window.matchLanguage || ini.readInteger(ReaderSection, MatchLanguageKey, 0) != 0)
            ini.writeInteger(ReaderSection, MatchLanguageKey, window.matchLanguage ? 1 : 0);
        if (window.floatingBarPlace != QPoint(-1, -1))
            ini.writeString(ReaderSection, ReaderBarPlaceKey,
                            QStringLiteral("%1,%2").arg(window.floatingBarPlace.x()).arg(window.floatingBarPlace.y()));

        for (int field = 1; field <= AppearanceSettings::FieldCount; ++field)
            ini.writeInteger(CustomisationSection, QLatin1String(AppearanceSettings::keys()[field - 1]),
                             window.appearance.field(field));
        WriteReadingAids(ini, window.readingAids);
        WriteWritingHelp(ini, window.writingHelp);
    } catch (const std::exception& failure) {
        return QString::fromUtf8(failure.what());
    } catch (...) {
        return QStringLiteral("Cannot create file %1").arg(path);
    }
    return {};
}
