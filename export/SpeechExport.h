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

// Has the voice render `text` (the reading area's text, given to the voice as the program's own MP3 export gives
// it) into the target files; subtitle times come from the rendering's events. Everything is
// written under temporary names beside the targets and renamed at the end, so a failure or a cancel leaves
// neither a partial file nor a temporary one, and an older file of the same name stays as it was.
// `progress` receives the share done (0 to 1) and returns false to cancel.
// Throws ExportError: Output when a target cannot be written, Engine when the speech or the encoder fails,
// Cancelled when `progress` cancelled.
void ExportSpeech(Voice& voice, const QString& text, AudioFormat format, const ExportTarget& target,
                  const QString& title, const std::function<bool(double)>& progress = {});
