#pragma once

#include "core/Errors.h"

#include <QString>
#include <functional>

class Voice;

enum class AudioFormat
{
    Mp3,
    Wav
};

// Why an export failed; the message names the file or says what failed.
class ExportError : public ParlivoError
{
public:
    enum class Kind
    {
        Output,
        Engine,
        Cancelled
    };
    ExportError(Kind kind, const QString& message) : ParlivoError(message), mKind(kind) {}
    Kind kind() const { return mKind; }

private:
    Kind mKind;
};

// Where one export goes: the audio file and, when not empty, the LRC and SRT files timed from the rendering.
struct ExportTarget
{
    QString audio;
    QString lrc;
    QString srt;
};

// The MP3 file for the name the user chose: that name itself when it ends in ".mp3" in any letter case,
// otherwise the whole name with ".mp3" added.
QString Mp3PathFor(const QString& chosenPath);

// The audio file with, when `subtitles`, its LRC and SRT files beside it: the same name ending in ".lrc" and ".srt"
// in place of the audio's extension.
ExportTarget TargetFor(const QString& audioPath, bool subtitles);

// True when every file of the target is there and whole, as an export leaves it: the audio's MP3 frames run exactly
// to the end of the file (for WAV, the sizes in its header match the file), and the subtitle files are not empty.
// An empty file, or one cut short, is no finished export.
bool IsWholeExport(const ExportTarget& target, AudioFormat format);

// Has the voice render `text` (the reading area's text, as it is) into the target files, with the voice's
// pronunciations; subtitle times come from the rendering's events and fall on the sound of the audio file. An MP3 is
// encoded as the speech is rendered, on every core of the global thread pool, and written as it is encoded, with no
// WAV file made for it; the rendering waits for the encoder, so the memory used does not grow with the text.
// Every file is opened before any speech is made and written under a temporary name beside its target, then renamed
// at the end, so a failure, a cancel or a full disk leaves neither a partial file nor a temporary one, and an older
// file of the same name stays as it was; a name held by a pipe, a device or a socket is refused (see AtomicFile).
// The voice's audio output and events are not touched.
// `progress` receives the share done (0 to 1) and returns false to cancel.
// Throws ExportError: Output when a target cannot be written, Engine when the speech or the encoder fails,
// Cancelled when `progress` cancelled.
void ExportSpeech(Voice& voice, const QString& text, AudioFormat format, const ExportTarget& target,
                  const QString& title, const std::function<bool(double)>& progress = {});
