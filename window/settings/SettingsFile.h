#pragma once

#include "window/settings/AppearanceSettings.h"
#include "window/readingarea/ReadingAids.h"
#include "window/writing/WritingHelp.h"

#include <QPoint>
#include <QString>
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

// Restores the choices from the settings file: the saved voice, volume and speed into the model (so the voice takes
// them), then its auto-read mode, and the window's settings. A missing file or key gives the defaults; a saved
// value the model does not offer (a voice no longer installed, a speed outside 1 to 10) leaves the model's own.
// `voiceChosen` runs once the saved voice has been chosen, before the volume and speed. If restoring fails
// part-way (the voice cannot start, say), the rest is skipped and auto-read is switched off. Returns the saved
// voice when it is no longer installed, else the empty text. Never throws.
QString LoadSettings(ReadingModel& model, WindowSettings& window, const std::function<void()>& voiceChosen = {},
                     const QString& path = SettingsFilePath());

// Writes every choice back. Nothing is written while the model has no speed or no volume; a write that fails ends
// the saving quietly, keeping what was written before it. Never throws.
void SaveSettings(const ReadingModel& model, const WindowSettings& window, const QString& path = SettingsFilePath());
