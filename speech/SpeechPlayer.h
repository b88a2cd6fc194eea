#pragma once

#include "speech/PcmOutput.h"
#include "speech/SpeechQueue.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class QTimer;

// The audio thread's side of live speech: feeds the synthesised chunks to the output and hands each event on
// when the audio played reaches it. Created on the user-interface thread, then moved to the audio thread,
// where start() makes its output: the device given, or the clock when it is null or fails.
class SpeechPlayer : public QObject
{
    Q_OBJECT
public:
    using Post = std::function<void(const SpeechEvent&)>;

    SpeechPlayer(SpeechQueue& queue, Post post, const QAudioDevice& device, double clockSpeed);
    ~SpeechPlayer() override;

    bool usesClock() const { return mUsesClock.load(); }

public slots:
    void start();
    // Looks at the queue now: new audio, a purge, pause or resume.
    void wake();

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
    void fallBackToClock();
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
    QAudioDevice mDevice;
    double mClockSpeed;
    std::atomic<bool> mUsesClock{false};
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
