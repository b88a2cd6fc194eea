#pragma once

// What the default sound sink plays, recorded from its monitor (parec, pulseaudio-utils), for the sound tests and
// the benchmarks that time the first sound heard.
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

constexpr int MonitorRate = 22050;

// What the default sink plays, read from its monitor as 16-bit mono samples, each piece with the time it came.
class SinkMonitor
{
public:
    SinkMonitor()
    {
        mRecorder.setProgram(QStringLiteral("parec"));
        mRecorder.setArguments({QStringLiteral("--device=@DEFAULT_MONITOR@"), QStringLiteral("--raw"),
                                QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                                QStringLiteral("--rate=%1").arg(MonitorRate), QStringLiteral("--latency-msec=10")});
        QObject::connect(&mRecorder, &QProcess::readyReadStandardOutput, [this] {
            const QByteArray bytes = mRecorder.readAllStandardOutput();
            const auto* data = reinterpret_cast<const qint16*>(bytes.constData());
            mSamples.insert(mSamples.end(), data, data + bytes.size() / 2);
            mArrivals.emplace_back(mClock.elapsed(), qint64(mSamples.size()));
        });
        mClock.start();
        mRecorder.start();
    }

    ~SinkMonitor()
    {
        mRecorder.kill();
        mRecorder.waitForFinished();
    }

    bool started() { return mRecorder.waitForStarted(); }
    qint64 now() const { return mClock.elapsed(); }

    // The time a sample was heard: when the piece holding it came, less the samples after it in that piece.
    qint64 timeOf(qint64 sample) const
    {
        for (const auto& [at, total] : mArrivals) {
            if (sample < total)
                return at - (total - sample) * 1000 / MonitorRate;
        }
        return -1;
    }

    // Times at which sound starts after at least `quietMs` of silence.
    std::vector<qint64> soundStarts(int quietMs) const
    {
        constexpr int Frame = MonitorRate / 200;
        std::vector<qint64> starts;
        int quiet = quietMs; // the recording starts in silence
        for (size_t at = 0; at + Frame <= mSamples.size(); at += Frame) {
            const bool loud = peak(at, at + Frame) > 300;
            if (loud && quiet * 5 >= quietMs)
                starts.push_back(timeOf(qint64(at)));
            quiet = loud ? 0 : quiet + 1;
        }
        return starts;
    }

    // The time of the first sound heard at or after `fromMs`, or -1 while none is.
    qint64 firstSoundFrom(qint64 fromMs) const
    {
        // Samples of a piece that came before `fromMs` were all heard before it.
        qint64 sample = 0;
        for (const auto& [at, total] : mArrivals) {
            if (at >= fromMs)
                break;
            sample = total;
        }
        for (; sample < qint64(mSamples.size()); ++sample) {
            if (std::abs(int(mSamples[sample])) > 300 && timeOf(sample) >= fromMs)
                return timeOf(sample);
        }
        return -1;
    }

    // The time of the last sound heard, or -1 when none was.
    qint64 lastSound() const
    {
        for (size_t at = mSamples.size(); at-- > 0;) {
            if (std::abs(int(mSamples[at])) > 300)
                return timeOf(qint64(at));
        }
        return -1;
    }

    // The root mean square of what was heard between two times.
    double level(qint64 fromMs, qint64 toMs) const
    {
        double sum = 0;
        qint64 count = 0;
        for (size_t i = 0; i < mSamples.size(); ++i) {
            const qint64 at = timeOf(qint64(i));
            if (at >= fromMs && at < toMs) {
                sum += double(mSamples[i]) * mSamples[i];
                ++count;
            }
        }
        return count ? std::sqrt(sum / count) : 0;
    }

private:
    int peak(size_t from, size_t to) const
    {
        int most = 0;
        for (size_t i = from; i < to; ++i)
            most = std::max(most, std::abs(int(mSamples[i])));
        return most;
    }

    QProcess mRecorder;
    QElapsedTimer mClock;
    std::vector<qint16> mSamples;
    std::vector<std::pair<qint64, qint64>> mArrivals; // (ms, samples received by then)
};
