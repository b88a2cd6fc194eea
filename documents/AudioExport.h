#pragma once

#include <QString>
#include <functional>

// The two files an MP3 export makes from the name the user chose: the folder of the chosen file plus the file
// name cut before its first ".", with ".wav" for the temporary WAV file and ".MP3" for the result.
struct Mp3ExportPaths
{
    QString wav;
    QString mp3;
};
Mp3ExportPaths ExportPathsFor(const QString& chosenPath);

// The MP3 encoder program: "lame" beside the executable if it is there, otherwise on PATH; empty when missing.
QString FindMp3Encoder();

enum class EncodeResult { Done, EncoderMissing, Failed, Cancelled };

// Encodes the WAV file into the MP3 file with the encoder (an argument vector, never a shell). `progress`
// receives the share done (0 to 1) and returns false to cancel. Success means the encoder ended with exit
// code 0 and left a non-empty MP3 file; on any other outcome no MP3 file is left behind.
EncodeResult EncodeMp3(const QString& wavPath, const QString& mp3Path,
                       const std::function<bool(double)>& progress = {}, const QString& encoder = FindMp3Encoder());
