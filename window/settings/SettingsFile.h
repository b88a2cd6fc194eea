#pragma once

#include "window/settings/AppearanceSettings.h"
#include "window/readingarea/ReadingAids.h"

#include <QString>
#include <QtGlobal>

class MenuDecorator;
class QAction;
class QMenu;
class QWidget;

inline const QString ReaderSection = QStringLiteral("Parlivo Settings");
inline const QString CustomisationSection = QStringLiteral("Customisation");

// "Parlivo.ini" in the application folder.
QString SettingsFilePath();

// The main window's choices that live between runs: the marked items of its choice submenus, the reader
// panel's visibility and the fields of its state. The window owns all of them; this only points at them.
struct ReaderChoices
{
    QMenu* readers;       // miReadersList
    QMenu* speed;         // miReadSpeed
    QMenu* volume;        // miReadVolume
    QAction* singleWord;  // mipumSingleWord
    QAction* sentence;    // mipumSentence
    QAction* autoReadOff; // mipumAutoReadOff
    QWidget* readerPanel; // panReader
    quint8& autoReadMode; // FAutoReadMode
    qint32& spellingDelay;
    AppearanceSettings& appearance;
    MenuDecorator* decorator = nullptr; // switched off while the choices are restored
    ReadingAids* readingAids = nullptr; // the "Reading Aids" section, when the window keeps one
    QString* missingReader = nullptr;   // told the saved voice when it is no longer installed
    bool* mp3Subtitles = nullptr;       // FMp3Subtitles, when the window keeps it
};

// Restores the choices from the settings file: shows or hides the reader panel, marks and clicks the saved
// voice, volume and speed items (so the voice takes them), marks the auto-read mode, and reads the spelling
// delay, the appearance record, the reading aids and whether MP3 exports write subtitles. A missing file or key gives
// the defaults. If restoring fails part-way (the voice cannot start, say), the rest is skipped and auto-read is
// switched off. Never throws.
void LoadSettings(const ReaderChoices& choices, const QString& path = SettingsFilePath());

// Writes every choice back. Nothing is written when no speed or no volume item is marked; a write that fails
// ends the saving quietly, keeping what was written before it. Never throws.
void SaveSettings(const ReaderChoices& choices, const QString& path = SettingsFilePath());
