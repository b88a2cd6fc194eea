#include "speech/PcmOutput.h"

#include <QAudioFormat>
#include <QAudioSink>

#include <algorithm>

namespace {

// A short device buffer keeps pause and purge prompt and lets a one-word utterance start playing at once.
constexpr qint64 SinkBufferBytes = PcmOutput::BytesPerSecond / 5;
constexpr qint64 ClockBufferBytes = PcmOutput::BytesPerSecond / 10;

qint64 evenBytes(qint64 bytes)
{
    return std::max<qint64>(bytes, 0) & ~qint64(1);
}

QAudioFormat speechFormat()
{
    QAudioFormat format;
    format.setSampleRate(PcmOutput::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

} // namespace

SinkOutput::SinkOutput(const QAudioDevice& device) : mDevice(device) {}

SinkOutput::~SinkOutput()
{
    close();
}

bool SinkOutput::open()
{
    close();
    mSink = std::make_unique<QAudioSink>(mDevice, speechFormat());
    mSink->setBufferSize(SinkBufferBytes);
    mSink->setVolume(mVolume);
    mInput = mSink->start();
    // Without a usable device start() leaves the sink stopped with an error and never reports a state change.
    if (!mInput || mSink->error() != QAudio::NoError) {
        mFailed = true;
        close();
        return false;
    }
    mWritten = 0;
    return true;
}

void SinkOutput::close()
{
    if (!mSink)
        return;
    mSink->stop();
    mSink.reset();
    mInput = nullptr;
}

qint64 SinkOutput::writable()
{
    if (!mSink || mSink->state() == QAudio::SuspendedState)
        return 0;
    return evenBytes(mSink->bytesFree());
}

qint64 SinkOutput::write(const char* data, qint64 size)
{
    if (!mInput)
        return 0;
    const qint64 taken = evenBytes(mInput->write(data, evenBytes(size)));
    mWritten += taken;
    return taken;
}

qint64 SinkOutput::played()
{
    if (!mSink)
        return mWritten;
    const qint64 heard = mSink->processedUSecs() * BytesPerSecond / 1000000;
    return std::clamp<qint64>(evenBytes(heard), 0, mWritten);
}

void SinkOutput::suspend()
{
    if (mSink)
        mSink->suspend();
}

void SinkOutput::resume()
{
    if (mSink)
        mSink->resume();
}

void SinkOutput::setVolume(double volume)
{
    mVolume = volume;
    if (mSink)
        mSink->setVolume(volume);
}

bool SinkOutput::failed() const
{
    if (mFailed)
        return true;
    if (!mSink)
        return false;
    // A stream the sound server ended (a device unplugged, the server restarted) reports no error through Qt 6.4;
    // it only stops taking audio, with a negative count of free bytes.
    return mSink->error() == QAudio::FatalError || mSink->error() == QAudio::OpenError || mSink->bytesFree() < 0;
}

ClockOutput::ClockOutput(double speed) : mSpeed(std::max(speed, 0.01))
{
    mCapacity = evenBytes(qint64(ClockBufferBytes * mSpeed));
    mClock.start();
}

bool ClockOutput::open()
{
    mOpen = true;
    mWritten = 0;
    mPlayed = 0;
    mLastNs = mClock.nsecsElapsed();
    return true;
}

void ClockOutput::close()
{
    mOpen = false;
}

void ClockOutput::advance()
{
    const qint64 now = mClock.nsecsElapsed();
    if (!mSuspended) {
        const double bytes = double(now - mLastNs) * BytesPerSecond * mSpeed / 1e9;
        mPlayed = std::min<double>(mWritten, mPlayed + bytes);
    }
    mLastNs = now;
}

qint64 ClockOutput::writable()
{
    if (!mOpen || mSuspended)
        return 0;
    advance();
    return evenBytes(mCapacity - (mWritten - qint64(mPlayed)));
}

qint64 ClockOutput::write(const char*, qint64 size)
{
    mWritten += evenBytes(size);
    return evenBytes(size);
}

qint64 ClockOutput::played()
{
    advance();
    return evenBytes(qint64(mPlayed));
}

void ClockOutput::suspend()
{
    advance();
    mSuspended = true;
}

void ClockOutput::resume()
{
    mSuspended = false;
    mLastNs = mClock.nsecsElapsed();
}
