#include "speech/WavFile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace {

void appendLittle32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendLittle16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

} // namespace

QByteArray wavHeader(qint64 dataBytes, int sampleRate, int channels, int bitsPerSample)
{
    const quint32 data = quint32(std::clamp<qint64>(dataBytes, 0, MaxWavDataBytes));
    const quint16 blockAlign = quint16(channels * bitsPerSample / 8);
    QByteArray header;
    header.reserve(44);
    header.append("RIFF", 4);
    appendLittle32(header, 36 + data);
    header.append("WAVEfmt ", 8);
    appendLittle32(header, 16);
    appendLittle16(header, 1); // PCM
    appendLittle16(header, quint16(channels));
    appendLittle32(header, quint32(sampleRate));
    appendLittle32(header, quint32(sampleRate) * blockAlign);
    appendLittle16(header, blockAlign);
    appendLittle16(header, quint16(bitsPerSample));
    header.append("data", 4);
    appendLittle32(header, data);
    return header;
}

double WavInfo::seconds() const
{
    const int bytesPerSecond = sampleRate * channels * bitsPerSample / 8;
    return bytesPerSecond > 0 ? double(dataBytes) / bytesPerSecond : 0.0;
}

std::optional<WavInfo> readWavInfo(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;
    WavInfo info;
    bool haveFormat = false;
    while (true) {
        const QByteArray chunk = file.read(8);
        if (chunk.size() < 8)
            return std::nullopt;
        const quint32 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        if (chunk.startsWith("fmt ")) {
            const QByteArray format = file.read(size);
            if (format.size() < 16 || qFromLittleEndian<quint16>(format.constData()) != 1)
                return std::nullopt;
            info.channels = qFromLittleEndian<quint16>(format.constData() + 2);
            info.sampleRate = int(qFromLittleEndian<quint32>(format.constData() + 4));
            info.bitsPerSample = qFromLittleEndian<quint16>(format.constData() + 14);
            haveFormat = true;
        } else if (chunk.startsWith("data")) {
            if (!haveFormat)
                return std::nullopt;
            info.dataOffset = file.pos();
            info.dataBytes = std::min<qint64>(size, file.size() - info.dataOffset);
            return info;
        } else if (!file.seek(file.pos() + size + (size & 1))) {
            return std::nullopt;
        }
    }
}
