#pragma once

#include "speech/SpeechEngine.h"

#include <QString>
#include <functional>
#include <vector>

// The MP3 file for the name the user chose: that name itself when it ends in ".mp3" in any letter case,
// otherwise the whole name with ".mp3" added.
QString Mp3PathFor(const QString& chosenPath);

// Has the engine render `text` and encodes it into the MP3 file as it renders (on every core for long speech),
// writing no WAV file. The file is written whole under a temporary name and renamed at the end, so a failure,
// a cancel or a full disk leaves no partial file and an older file of that name as it was. `progress`
// receives the share done (0 to 1) and returns false to cancel. When `events` is given it receives the
// utterance's events with audio positions in bytes of the decoded MP3 (16-bit mono), so times taken from them
// fall on the sound. Throws SpeechError when the speech or the encoder fails or is cancelled, FileError when
// the file cannot be written.
void SpeakToMp3(SpeechEngine& engine, const QString& text, bool markup, const QString& mp3Path,
                const std::function<bool(double)>& progress = {}, std::vector<SpeechEvent>* events = nullptr);
