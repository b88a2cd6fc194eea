#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The 44-byte header of a standard WAV file (RIFF, PCM) holding `dataBytes` bytes of samples.
QByteArray wavHeader(qint64 dataBytes, int sampleRate = 22050, int channels = 1, int bitsPerSample = 16);

// The most sample bytes a WAV file can hold: its sizes are 32-bit.
constexpr qint64 MaxWavDataBytes = 0xFFFFFFFFLL - 36;

// What the header of a WAV file says, or nothing when the file is no PCM WAV file.
struct WavInfo
{
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    qint64 dataBytes = 0;
    qint64 dataOffset = 0;
    double seconds() const;
};
std::optional<WavInfo> readWavInfo(const QString& path);
