#pragma once

#include <QString>
#include <functional>

// The MP3 file for the name the user chose: that name itself when it ends in ".mp3" in any letter case,
// otherwise the whole name with ".mp3" added.
QString Mp3PathFor(const QString& chosenPath);

// The MP3 encoder program: "lame" beside the executable if it is there, otherwise on PATH; empty when missing.
QString FindMp3Encoder();

enum class EncodeResult
{
    Done,
    EncoderMissing,
    Failed,
    Cancelled
};

// Encodes the WAV file into the MP3 file with the encoder (an argument vector, never a shell). `progress`
// receives the share done (0 to 1) and returns false to cancel. Success means the encoder ended with exit
// code 0 and left a non-empty MP3 file; on any other outcome no MP3 file is left behind.
EncodeResult EncodeMp3(const QString& wavPath, const QString& mp3Path, const std::function<bool(double)>& progress = {},
                       const QString& encoder = FindMp3Encoder());
