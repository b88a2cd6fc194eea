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

    bool usesClock() const { return FUsesClock.load(); }

public slots:
    void start();
    // Looks at the queue now: new audio, a purge, pause or resume.
    void wake();
    // Closes the device and hands the player back to `home` for deletion.
    void shutdown(QThread* home);

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

    SpeechQueue& FQueue;
    Post FPost;
    QAudioDevice FDevice;
    double FClockSpeed;
    std::atomic<bool> FUsesClock{false};
    std::unique_ptr<PcmOutput> FOutput;
    QTimer* FTimer = nullptr;
    QTimer* FCloseTimer = nullptr;

    std::deque<AudioChunk> FChunks;
    qint64 FChunkBytes = 0; // unwritten bytes in FChunks
    qint64 FChunkRead = 0;  // bytes of the front chunk already written
    bool FChunkStarted = false;
    std::deque<Pending> FPending;
    // Where the audio of the stream being played begins on the output: a piece's events are known only once its
    // sentence is synthesised, after its first sound went ahead, so they are placed by the stream's origin.
    int FOriginStream = -1;
    qint64 FOrigin = 0;
    int FSeenPurges = 0;
    bool FSuspended = false;
    int FVolume = 100;
    qint64 FLastPlayed = -1;
    QElapsedTimer FPlayedSince; // since played() last moved
    int FStalls = 0;            // reopenings in a row without audio being heard
};
