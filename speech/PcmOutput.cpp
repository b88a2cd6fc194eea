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

SinkOutput::SinkOutput(const QAudioDevice& device) : FDevice(device) {}

SinkOutput::~SinkOutput()
{
    close();
}

bool SinkOutput::open()
{
    close();
    FSink = std::make_unique<QAudioSink>(FDevice, speechFormat());
    FSink->setBufferSize(SinkBufferBytes);
    FSink->setVolume(FVolume);
    FInput = FSink->start();
    // Without a usable device start() leaves the sink stopped with an error and never reports a state change.
    if (!FInput || FSink->error() != QAudio::NoError) {
        FFailed = true;
        close();
        return false;
    }
    FWritten = 0;
    return true;
}

void SinkOutput::close()
{
    if (!FSink)
        return;
    FSink->stop();
    FSink.reset();
    FInput = nullptr;
}

qint64 SinkOutput::writable()
{
    if (!FSink || FSink->state() == QAudio::SuspendedState)
        return 0;
    return evenBytes(FSink->bytesFree());
}

qint64 SinkOutput::write(const char* data, qint64 size)
{
    if (!FInput)
        return 0;
    const qint64 taken = evenBytes(FInput->write(data, evenBytes(size)));
    FWritten += taken;
    return taken;
}

qint64 SinkOutput::played()
{
    if (!FSink)
        return FWritten;
    const qint64 heard = FSink->processedUSecs() * BytesPerSecond / 1000000;
    return std::clamp<qint64>(evenBytes(heard), 0, FWritten);
}

void SinkOutput::suspend()
{
    if (FSink)
        FSink->suspend();
}

void SinkOutput::resume()
{
    if (FSink)
        FSink->resume();
}

void SinkOutput::setVolume(double volume)
{
    FVolume = volume;
    if (FSink)
        FSink->setVolume(volume);
}

bool SinkOutput::failed() const
{
    if (FFailed)
        return true;
    if (!FSink)
        return false;
    // A stream the sound server ended (a device unplugged, the server restarted) reports no error through Qt 6.4;
    // it only stops taking audio, with a negative count of free bytes.
    return FSink->error() == QAudio::FatalError || FSink->error() == QAudio::OpenError || FSink->bytesFree() < 0;
}

ClockOutput::ClockOutput(double speed) : FSpeed(std::max(speed, 0.01))
{
    FCapacity = evenBytes(qint64(ClockBufferBytes * FSpeed));
    FClock.start();
}

bool ClockOutput::open()
{
    FOpen = true;
    FWritten = 0;
    FPlayed = 0;
    FLastNs = FClock.nsecsElapsed();
    return true;
}

void ClockOutput::close()
{
    FOpen = false;
}

void ClockOutput::advance()
{
    const qint64 now = FClock.nsecsElapsed();
    if (!FSuspended) {
        const double bytes = double(now - FLastNs) * BytesPerSecond * FSpeed / 1e9;
        FPlayed = std::min<double>(FWritten, FPlayed + bytes);
    }
    FLastNs = now;
}

qint64 ClockOutput::writable()
{
    if (!FOpen || FSuspended)
        return 0;
    advance();
    return evenBytes(FCapacity - (FWritten - qint64(FPlayed)));
}

qint64 ClockOutput::write(const char*, qint64 size)
{
    FWritten += evenBytes(size);
    return evenBytes(size);
}

qint64 ClockOutput::played()
{
    advance();
    return evenBytes(qint64(FPlayed));
}

void ClockOutput::suspend()
{
    advance();
    FSuspended = true;
}

void ClockOutput::resume()
{
    FSuspended = false;
    FLastNs = FClock.nsecsElapsed();
}
