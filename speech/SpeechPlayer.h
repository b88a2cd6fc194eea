#pragma once

#include "speech/PcmOutput.h"
#include "speech/SpeechQueue.h"

#include <QAudioDevice>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QTimer;

// The audio thread's side of live speech: feeds the synthesised chunks to the output and hands each event on
// when the audio played reaches it. Created on the user-interface thread, then moved to the audio thread,
// where start() makes its output: a clock when one is chosen, else the device given. Without a device, or when it
// fails, a clock at real time plays unheard until a device can be used again, and `lost` is told of each change.
class SpeechPlayer : public QObject
{
    Q_OBJECT
public:
    using Post = std::function<void(const SpeechEvent&)>;
    using Lost = std::function<void(bool lost)>;

    // `clockSpeed`: plays to a clock at that speed, never to a device.
    SpeechPlayer(SpeechQueue& queue, Post post, Lost lost, const QAudioDevice& device,
                 std::optional<double> clockSpeed);
    ~SpeechPlayer() override;

    bool usesClock() const { return mClockChosen || mLost.load(); }
    bool soundLost() const { return mLost.load(); }

public slots:
    void start();
    // Looks at the queue now: new audio, a purge, pause or resume.
    void wake();
    // While no device is heard, plays on `device` from now on if it opens.
    void tryDevice(const QAudioDevice& device);

private:
    void schedule(const SpeechEvent& event, qint64 at);

    struct Pending
    {
        qint64 at = 0; // output byte position
        SpeechEvent event;
    };

    void tick();
    void dropEverything();
    bool ensureOpen();
    // Goes on to an unheard clock: the device cannot be used.
    void fallBackToClock();
    void setLost(bool lost);
    // Moves to a new output: what the old one had not played is lost and its events come due at once.
    void replaceOutput(std::unique_ptr<PcmOutput> output);
    // A device that holds audio but has stopped playing it is opened anew (a few times, then the clock plays).
    void reopenIfStalled();
    void writeAudio(bool paused);
    void fillSilence();
    void postDueEvents();
    void publishBacklog();
    void scheduleNextTick();

    SpeechQueue& mQueue;
    Post mPost;
    Lost mLostChanged;
    QAudioDevice mDevice;
    const bool mClockChosen;
    double mClockSpeed;
    std::atomic<bool> mLost{false};
    int mTicking = 0;                         // ticks under way: one, or more when a nested event loop let another in
    std::optional<QAudioDevice> mDeviceToTry; // a device offered in the middle of a tick, tried at the next
    QDeadlineTimer mRetryAt{0};               // when a reading unheard next tries the device
    std::unique_ptr<PcmOutput> mOutput;
    QTimer* mTimer = nullptr;
    QTimer* mCloseTimer = nullptr;

    std::deque<AudioChunk> mChunks;
    qint64 mChunkBytes = 0; // unwritten bytes in mChunks
    qint64 mChunkRead = 0;  // bytes of the front chunk already written
    bool mChunkStarted = false;
    std::deque<Pending> mPending;
    // Where the audio of the stream being played begins on the output: a piece's events are known only once its
    // sentence is synthesised, after its first sound went ahead, so they are placed by the stream's origin.
    int mOriginStream = -1;
    qint64 mOrigin = 0;
    int mSeenPurges = 0;
    bool mSuspended = false;
    int mVolume = 100;
    qint64 mLastPlayed = -1;
    QElapsedTimer mPlayedSince; // since played() last moved
    int mStalls = 0;            // reopenings in a row without audio being heard
};
