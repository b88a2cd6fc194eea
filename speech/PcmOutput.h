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
    bool isOpen() const override { return FSink != nullptr; }
    qint64 writable() override;
    qint64 write(const char* data, qint64 size) override;
    qint64 written() const override { return FWritten; }
    qint64 played() override;
    void suspend() override;
    void resume() override;
    void setVolume(double volume) override;
    bool failed() const override;

private:
    QAudioDevice FDevice;
    std::unique_ptr<QAudioSink> FSink;
    QIODevice* FInput = nullptr; // owned by the sink
    qint64 FWritten = 0;
    double FVolume = 1.0;
    bool FFailed = false;
};

// The output when there is no audio device: a clock consumes the audio as a device would, through a buffer
// of 100 ms drained at real time (times `speed`, which tests raise), so events, pause and waiting behave alike.
class ClockOutput : public PcmOutput
{
public:
    explicit ClockOutput(double speed = 1.0);

    bool open() override;
    void close() override;
    bool isOpen() const override { return FOpen; }
    qint64 writable() override;
    qint64 write(const char* data, qint64 size) override;
    qint64 written() const override { return FWritten; }
    qint64 played() override;
    void suspend() override;
    void resume() override;
    void setVolume(double) override {}

private:
    void advance();

    double FSpeed;
    qint64 FCapacity;
    QElapsedTimer FClock;
    qint64 FLastNs = 0;
    double FPlayed = 0;
    qint64 FWritten = 0;
    bool FOpen = false;
    bool FSuspended = false;
};
