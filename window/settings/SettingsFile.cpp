#include "window/settings/SettingsFile.h"

#include "window/main/MenuMarker.h"
#include "core/AppFolder.h"
#include "core/ProfileStrings.h"
#include "window/settings/MenuDecorator.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace {
const QString Mp3SubtitlesKey = QStringLiteral("Mp3Subtitles");

enum AutoReadMode : quint8
{
    AutoReadOff = 0,
    AutoReadSingleWord = 1,
    AutoReadSentence = 2
};

void markAutoRead(const ReaderChoices& choices, QAction* chosen)
{
    for (QAction* item : {choices.singleWord, choices.sentence, choices.autoReadOff})
        if (item != chosen)
            UnmarkDefault(item);
    MarkDefault(chosen);
}

void restoreChoices(const ReaderChoices& choices, const ProfileStrings& ini)
{
    choices.readerPanel->setVisible(ini.readInteger(ReaderSection, u"ReaderVisible", 1) == 1);
    const QString unsetReader = QStringLiteral("Microsoft Sam");
    const QString reader = ini.readString(ReaderSection, u"Reader", unsetReader);
    if (!SelectItemByCaption(choices.readers, reader) && choices.missingReader && !reader.isEmpty() &&
        reader != unsetReader)
        *choices.missingReader = reader;
    SelectItemByCaption(choices.volume, QString::number(ini.readInteger(ReaderSection, u"Volume", 10)));
    SelectItemByCaption(choices.speed, QString::number(ini.readInteger(ReaderSection, u"Speed", 5)));

    switch (ini.readInteger(ReaderSection, u"ReadALong", 1)) {
    case AutoReadOff:
        choices.autoReadMode = AutoReadOff;
        markAutoRead(choices, choices.autoReadOff);
        break;
    case AutoReadSingleWord:
        choices.autoReadMode = AutoReadSingleWord;
        markAutoRead(choices, choices.singleWord);
        break;
    case AutoReadSentence:
        choices.autoReadMode = AutoReadSentence;
        markAutoRead(choices, choices.sentence);
        break;
    default:
        break; // an unknown mode leaves the mode the window started with and marks nothing
    }

    choices.spellingDelay = ini.readInteger(ReaderSection, u"SpellingDelay", 15);
    if (choices.mp3Subtitles)
        *choices.mp3Subtitles = ini.readInteger(ReaderSection, Mp3SubtitlesKey, 0) == 1;

    const AppearanceSettings defaults;
    for (int field = 1; field <= AppearanceSettings::FieldCount; ++field)
        choices.appearance.field(field) = ini.readInteger(
            CustomisationSection, QString::fromLatin1(AppearanceSettings::keys()[field - 1]), defaults.field(field));

    if (choices.readingAids)
        *choices.readingAids = ReadReadingAids(ini);
}
} // namespace

QString SettingsFilePath()
{
    return appPath(QStringLiteral("Parlivo.ini"));
}

void LoadSettings(const ReaderChoices& choices, const QString& path)
{
    if (choices.decorator)
        choices.decorator->setActive(false);
    try {
        restoreChoices(choices, ProfileStrings(path));
    } catch (...) {
        choices.autoReadMode = AutoReadOff;
        markAutoRead(choices, choices.autoReadOff);
    }
    if (choices.decorator)
        choices.decorator->setActive(true);
}

void SaveSettings(const ReaderChoices& choices, const QString& path)
{
    try {
        const ProfileStrings ini(path);
        const QString voice = MarkedItemCaption(choices.readers);
        const std::optional<qint32> speed = ParseProfileInteger(MarkedItemCaption(choices.speed));
        const std::optional<qint32> volume = ParseProfileInteger(MarkedItemCaption(choices.volume));
        if (!speed || !volume)
            return;

        ini.writeString(ReaderSection, QStringLiteral("Reader"), voice);
        ini.writeInteger(ReaderSection, QStringLiteral("Volume"), *volume);
        ini.writeInteger(ReaderSection, QStringLiteral("Speed"), *speed);
        ini.writeInteger(ReaderSection, QStringLiteral("SpellingDelay"), choices.spellingDelay);
        ini.writeInteger(ReaderSection, QStringLiteral("ReaderVisible"), choices.readerPanel->isHidden() ? 0 : 1);
        const int mode = IsMarkedDefault(choices.autoReadOff)  ? AutoReadOff
                         : IsMarkedDefault(choices.singleWord) ? AutoReadSingleWord
                                                               : AutoReadSentence;
        ini.writeInteger(ReaderSection, QStringLiteral("ReadALong"), mode);
        if (choices.mp3Subtitles)
            ini.writeInteger(ReaderSection, Mp3SubtitlesKey, *choices.mp3Subtitles ? 1 : 0);

        for (int field = 1; field <= AppearanceSettings::FieldCount; ++field)
            ini.writeInteger(CustomisationSection, QLatin1String(AppearanceSettings::keys()[field - 1]),
                             choices.appearance.field(field));
        if (choices.readingAids)
            WriteReadingAids(ini, *choices.readingAids);
    } catch (...) {
        // Saving happens while the window closes; a failure must not keep it open.
    }
}
