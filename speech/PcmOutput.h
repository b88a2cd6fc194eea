#pragma once

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QtGlobal>
#include <memory>

class QAudioSink;
class QIODevice;

// Where live speech is played: 16-bit mono PCM at 22050 Hz. Counts what it was given and what has been heard
// since it was opened, so events can be timed against the audio actually played.
class PcmOutput
{
public:
    static constexpr int SampleRate = 22050;
    static constexpr int BytesPerSecond = SampleRate * 2;

    virtual ~PcmOutput() = default;

    // False when it cannot play.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Bytes it takes now without blocking.
    virtual qint64 writable() = 0;
    // Returns the bytes taken.
    virtual qint64 write(const char* data, qint64 size) = 0;
    // Bytes given since open, and of those the bytes heard (never more than given).
    virtual qint64 written() const = 0;
    virtual qint64 played() = 0;
    virtual void suspend() = 0;
    virtual void resume() = 0;
    virtual void setVolume(double volume) = 0;
    // True once the device has failed for good.
    virtual bool failed() const { return false; }
};

// Plays through Qt Multimedia's QAudioSink on the given device. Lives on the thread that uses it.
class SinkOutput : public PcmOutput
{
public:
    explicit SinkOutput(const QAudioDevice& device);
    ~SinkOutput() override;

    bool open() override;
    void close() override;
    bool isOpen() const override { return mSink != nullptr; }
    qint64 writable() override;
    qint64 write(const char* data, qint64 size) override;
    qint64 written() const override { return mWritten; }
    qint64 played() override;
    void suspend() override;
    void resume() override;
    void setVolume(double volume) override;
    bool failed() const override;

private:
    QAudioDevice mDevice;
    std::unique_ptr<QAudioSink> mSink;
    QIODevice* mInput = nullptr; // owned by the sink
    qint64 mWritten = 0;
    double mVolume = 1.0;
    bool mFailed = false;
};

// The output when there is no audio device: a clock consumes the audio as a device would, through a buffer
// of 100 ms drained at real time (times `speed`, which tests raise), so events, pause and waiting behave alike.
class ClockOutput : public PcmOutput
{
public:
    explicit ClockOutput(double speed = 1.0);

    bool open() override;
    void close() override;
    bool isOpen() const override { return mOpen; }
    qint64 writable() override;
    qint64 write(const char* data, qint64 size) override;
    qint64 written() const override { return mWritten; }
    qint64 played() override;
    void suspend() override;
    void resume() override;
    void setVolume(double) override {}

private:
    void advance();

    double mSpeed;
    qint64 mCapacity;
    QElapsedTimer mClock;
    qint64 mLastNs = 0;
    double mPlayed = 0;
    qint64 mWritten = 0;
    bool mOpen = false;
    bool mSuspended = false;
};
