#pragma once

// Subtitles set against the sound they were made for: where sentences' sounds start in a WAV file, and the times
// an SRT or LRC file gives.
#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace subtitles {

// Where sound starts after at least 150 ms of near silence in a 22050 Hz mono 16-bit WAV file, in ms; the file is
// read in 5 ms frames.
inline QList<qint64> soundStarts(const QByteArray& wav)
{
    const auto* samples = reinterpret_cast<const qint16*>(wav.constData() + 44);
    const qsizetype count = (wav.size() - 44) / 2;
    constexpr int Frame = 110;
    QList<qint64> starts;
    int quietFrames = 1000;
    for (qsizetype at = 0; at + Frame <= count; at += Frame) {
        int peak = 0;
        for (qsizetype i = at; i < at + Frame; ++i)
            peak = std::max(peak, std::abs(int(samples[i])));
        if (peak > 300 && quietFrames >= 30)
            starts << at * 1000 / 22050;
        quietFrames = peak > 300 ? 0 : quietFrames + 1;
    }
    return starts;
}

// SRT cue times in order, each as {start, end} in ms.
inline QList<std::pair<qint64, qint64>> srtCues(const QString& srt)
{
    static const QRegularExpression cue(
        QStringLiteral("(\\d\\d):(\\d\\d):(\\d\\d),(\\d{3}) --> (\\d\\d):(\\d\\d):(\\d\\d),(\\d{3})"));
    QList<std::pair<qint64, qint64>> cues;
    for (auto match = cue.globalMatch(srt); match.hasNext();) {
        const auto m = match.next();
        auto at = [&m](int first) {
            return ((m.captured(first).toLongLong() * 60 + m.captured(first + 1).toLongLong()) * 60 +
                    m.captured(first + 2).toLongLong()) *
                       1000 +
                   m.captured(first + 3).toLongLong();
        };
        cues.append({at(1), at(5)});
    }
    return cues;
}

// Every time tag of an LRC file, line tags and word tags alike, in file order.
inline QList<qint64> lrcTimes(const QString& lrc)
{
    static const QRegularExpression tag(QStringLiteral("[\\[<](\\d+):(\\d\\d)\\.(\\d\\d)[\\]>]"));
    QList<qint64> times;
    for (auto match = tag.globalMatch(lrc); match.hasNext();) {
        const auto m = match.next();
        times << (m.captured(1).toLongLong() * 60 + m.captured(2).toLongLong()) * 1000 +
                     m.captured(3).toLongLong() * 10;
    }
    return times;
}

// Of `times`, the one farthest from the sound start nearest to it: {that time, the sound start less it}.
inline std::pair<qint64, qint64> farthestFromSound(const QList<qint64>& times, const QList<qint64>& starts)
{
    std::pair<qint64, qint64> worst{0, 0};
    for (const qint64 time : times) {
        const auto nearest = std::min_element(starts.begin(), starts.end(), [time](qint64 a, qint64 b) {
            return std::abs(a - time) < std::abs(b - time);
        });
        if (nearest != starts.end() && std::abs(*nearest - time) > std::abs(worst.second))
            worst = {time, *nearest - time};
    }
    return worst;
}

} // namespace subtitles
