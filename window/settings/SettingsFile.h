#pragma once

#include "window/settings/AppearanceSettings.h"
#include "window/readingarea/ReadingAids.h"
#include "window/writing/WritingHelp.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

class ReadingModel;

inline const QString ReaderSection = QStringLiteral("Parlivo Settings");
inline const QString CustomisationSection = QStringLiteral("Customisation");

// "Parlivo.ini" in the application folder.
QString SettingsFilePath();

// What the settings file keeps of the main window beside its reading model.
struct WindowSettings
{
    bool readerVisible = true; // the reader panel
    qint32 spellingDelay = 10;
    AppearanceSettings appearance;
    ReadingAids readingAids;
    bool mp3Subtitles = false;       // an MP3 export also writes LRC and SRT subtitles beside it
    bool readerBarVisible = true;    // the reader bar above the reading area
    bool matchLanguage = false;      // each paragraph read by a voice of its language
    QPoint floatingBarPlace{-1, -1}; // where the floating reader bar was put; (-1, -1) when never
    WritingHelp writingHelp;
};

// What restoring the settings found that the user should be told.
struct SettingsRestored
{
    QString missingReader; // the saved voice, no longer installed; empty when it is or none was saved
    QStringList corrected; // "Key=old → new" for each value that could not be used as it stood
};

// Restores the choices from the settings file: the saved voice, volume and speed into the model (so the voice takes
// them), then its auto-read mode, and the window's settings. A missing file or key gives the defaults. A saved
// speed or volume outside 1 to 10 is brought within it and one that is no number gives the default; font sizes
// and colours that would leave the window unreadable are put right (see MakeReadable); each is listed in
// `corrected`. A voice no longer installed leaves the model's own. `voiceChosen` runs once the saved voice has
// been chosen, before the volume and speed. If restoring fails part-way (the voice cannot start, say), the rest
// is skipped and auto-read is switched off. Never throws.
SettingsRestored LoadSettings(ReadingModel& model, WindowSettings& window,
                              const std::function<void()>& voiceChosen = {}, const QString& path = SettingsFilePath());

// Writes every choice back; a speed or volume the model does not hold is left as the file has it. Each value
// changed is written at once, atomically. Never throws: returns why the file could not be written, or the
// empty text when it was.
QString SaveSettings(const ReadingModel& model, const WindowSettings& window, const QString& path = SettingsFilePath());
