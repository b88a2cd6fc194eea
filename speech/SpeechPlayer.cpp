#include "speech/SpeechPlayer.h"

#include <QScopeGuard>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int TickMs = 5;
// The device stays open this long after the last speech, so speaking again starts at once.
constexpr int CloseAfterIdleMs = 5000;
// How far ahead of the ear silence is written after an utterance, so a device that waits for a full buffer
// before it plays still plays the utterance's end.
constexpr qint64 FillAheadBytes = PcmOutput::BytesPerSecond / 4;
// How often a reading heard on no device tries the device again.
constexpr int RetryDeviceMs = 1000;

} // namespace

SpeechPlayer::SpeechPlayer(SpeechQueue& queue, Post post, Lost lost, const QAudioDevice& device,
                           std::optional<double> clockSpeed)
    : mQueue(queue), mPost(std::move(post)), mLostChanged(std::move(lost)), mDevice(device),
      mClockChosen(clockSpeed.has_value()), mClockSpeed(clockSpeed.value_or(1.0))
{
}

SpeechPlayer::~SpeechPlayer() = default;

void SpeechPlayer::start()
{
    mTimer = new QTimer(this);
    mTimer->setTimerType(Qt::PreciseTimer);
    mTimer->setInterval(TickMs);
    connect(mTimer, &QTimer::timeout, this, &SpeechPlayer::tick);
    mCloseTimer = new QTimer(this);
    mCloseTimer->setSingleShot(true);
    mCloseTimer->setInterval(CloseAfterIdleMs);
    connect(mCloseTimer, &QTimer::timeout, this, [this] {
        if (mChunks.empty() && mPending.empty() && mOutput)
            mOutput->close();
    });

    if (mClockChosen) {
        mOutput = std::make_unique<ClockOutput>(mClockSpeed);
    } else if (mDevice.isNull()) {
        fallBackToClock();
    } else {
        mOutput = std::make_unique<SinkOutput>(mDevice);
        // A device that cannot play at all is found out now, not in the middle of the first sentence.
        if (!mOutput->open())
            fallBackToClock();
    }
    scheduleNextTick();
}

void SpeechPlayer::wake()
{
    tick();
}

void SpeechPlayer::tryDevice(const QAudioDevice& device)
{
    if (mClockChosen || !mLost || device.isNull())
        return;
    // The output is not replaced under a tick that a nested event loop of the sound system let this call into.
    if (mTicking > 0) {
        mDeviceToTry = device;
        return;
    }
    auto output = std::make_unique<SinkOutput>(device);
    if (!output->open())
        return;
    mDevice = device;
    mStalls = 0;
    replaceOutput(std::move(output));
    setLost(false);
    scheduleNextTick();
}

void SpeechPlayer::fallBackToClock()
{
    replaceOutput(std::make_unique<ClockOutput>(1.0));
    setLost(true);
}

void SpeechPlayer::setLost(bool lost)
{
    if (mLost.exchange(lost) != lost && mLostChanged)
        mLostChanged(lost);
}

void SpeechPlayer::replaceOutput(std::unique_ptr<PcmOutput> output)
{
    // Audio already given to the old output is lost; its events come due at once.
    const qint64 lost = mOutput ? mOutput->written() : 0;
    for (Pending& pending : mPending)
        pending.at = std::max<qint64>(pending.at - lost, 0);
    mOrigin -= lost;
    mOutput = std::move(output);
    if (mOutput->isOpen() || mOutput->open())
        mOutput->setVolume(mVolume / 100.0);
    mSuspended = false;
    mLastPlayed = -1;
}

void SpeechPlayer::reopenIfStalled()
{
    // Seen with PulseAudio: a stream opened just after another was closed with audio in it may play its first
    // samples and then take no more, so the reading would wait for ever.
    constexpr int StallMs = 600;
    constexpr int MostReopenings = 3;
    const bool holdsAudio = !mChunks.empty() || mOutput->written() > mOutput->played();
    if (usesClock() || !mOutput->isOpen() || mSuspended || !holdsAudio) {
        mLastPlayed = -1;
        return;
    }
    const qint64 played = mOutput->played();
    if (played != mLastPlayed) {
        if (mLastPlayed >= 0 && played > mLastPlayed)
            mStalls = 0;
        mLastPlayed = played;
        mPlayedSince.start();
        return;
    }
    if (mPlayedSince.elapsed() < StallMs)
        return;
    if (++mStalls > MostReopenings) {
        fallBackToClock();
        return;
    }
    replaceOutput(std::make_unique<SinkOutput>(mDevice));
    if (!mOutput->isOpen())
        fallBackToClock();
}

bool SpeechPlayer::ensureOpen()
{
    if (mOutput->isOpen())
        return true;
    if (mOutput->open()) {
        mOriginStream = -1;
        mSuspended = false;
        mOutput->setVolume(mVolume / 100.0);
        return true;
    }
    fallBackToClock();
    return true;
}

void SpeechPlayer::dropEverything()
{
    mChunks.clear();
    mChunkBytes = 0;
    mChunkRead = 0;
    mChunkStarted = false;
    mPending.clear();
    mOriginStream = -1;
    // Closing the device drops what it still holds; it reopens with the next audio.
    if (mOutput->isOpen() && mOutput->written() > mOutput->played())
        mOutput->close();
}

void SpeechPlayer::tick()
{
    if (!mOutput)
        return;
    if (mTicking == 0) {
        if (mDeviceToTry) {
            tryDevice(*std::exchange(mDeviceToTry, std::nullopt));
        } else if (mLost && !mDevice.isNull() && (!mChunks.empty() || !mPending.empty()) && mRetryAt.hasExpired()) {
            // A sound server that restarts tells no one it is back (Qt's audio reconnects on its own a few seconds
            // after it went), so a reading that goes on unheard looks for it now and then.
            mRetryAt.setRemainingTime(RetryDeviceMs);
            tryDevice(mDevice);
        }
    }
    ++mTicking;
    const auto ticked = qScopeGuard([this] { --mTicking; });
    const int purges = mQueue.purges.load();
    if (purges != mSeenPurges) {
        mSeenPurges = purges;
        dropEverything();
    }
    {
        std::lock_guard lock(mQueue.mutex);
        const int dropped = mQueue.droppedUpTo.load();
        while (!mQueue.chunks.empty()) {
            AudioChunk chunk = std::move(mQueue.chunks.front());
            mQueue.chunks.pop_front();
            if (chunk.stream <= dropped)
                continue;
            if (chunk.stream == mOriginStream) {
                for (const SpeechEvent& event : chunk.events)
                    schedule(event, mOrigin + event.audioPosition);
                chunk.events.clear();
            }
            mChunkBytes += chunk.pcm.size();
            mChunks.push_back(std::move(chunk));
        }
        mQueue.chunkBytes = 0;
    }
    if (!mChunks.empty())
        ensureOpen();
    if (mOutput->failed())
        fallBackToClock();
    reopenIfStalled();

    const bool paused = mQueue.paused.load();
    if (mOutput->isOpen() && paused != mSuspended) {
        if (paused)
            mOutput->suspend();
        else
            mOutput->resume();
        mSuspended = paused;
    }
    if (const int volume = mQueue.volume.load(); volume != mVolume) {
        mVolume = volume;
        mOutput->setVolume(volume / 100.0);
    }

    if (mOutput->isOpen()) {
        writeAudio(paused);
        if (!paused)
            fillSilence();
        if (!paused)
            postDueEvents();
    }
    publishBacklog();
    scheduleNextTick();
}

void SpeechPlayer::writeAudio(bool paused)
{
    while (!mChunks.empty()) {
        AudioChunk& chunk = mChunks.front();
        if (!mChunkStarted) {
            if (chunk.stream != mOriginStream) {
                mOriginStream = chunk.stream;
                mOrigin = mOutput->written() - chunk.offset;
                // The stream's place on the device is known now: the events of its chunks still waiting are due
                // by their audio, not when their chunk is reached (a sentence's words come with its last chunk,
                // behind the audio that went out early).
                for (AudioChunk& waiting : mChunks) {
                    if (waiting.stream != mOriginStream)
                        continue;
                    for (const SpeechEvent& event : waiting.events)
                        schedule(event, mOrigin + event.audioPosition);
                    waiting.events.clear();
                }
            }
            for (const SpeechEvent& event : chunk.events)
                schedule(event, mOrigin + event.audioPosition);
            chunk.events.clear();
            mChunkStarted = true;
            mChunkRead = 0;
        }
        const qint64 left = chunk.pcm.size() - mChunkRead;
        if (left > 0) {
            if (paused)
                return;
            const qint64 room = std::min(mOutput->writable(), left);
            if (room <= 0)
                return;
            const qint64 taken = mOutput->write(chunk.pcm.constData() + mChunkRead, room);
            mChunkRead += taken;
            mChunkBytes -= taken;
            mQueue.delivered += taken;
            if (mChunkRead < chunk.pcm.size())
                return;
        }
        mChunks.pop_front();
        mChunkStarted = false;
        mChunkRead = 0;
    }
}

void SpeechPlayer::schedule(const SpeechEvent& event, qint64 at)
{
    // Events stay in the order of their audio, and in the order given where they fall together.
    const auto place = std::upper_bound(mPending.begin(), mPending.end(), at,
                                        [](qint64 value, const Pending& pending) { return value < pending.at; });
    mPending.insert(place, {at, event});
}

void SpeechPlayer::fillSilence()
{
    if (usesClock() || !mChunks.empty() || mPending.empty() || mPending.back().event.type != SpeechEvent::EndStream)
        return;
    const qint64 ahead = mOutput->written() - mOutput->played();
    const qint64 room = std::min(mOutput->writable(), FillAheadBytes - ahead) & ~qint64(1);
    if (room <= 0)
        return;
    const QByteArray silence(room, '\0');
    mOutput->write(silence.constData(), silence.size());
}

void SpeechPlayer::postDueEvents()
{
    const qint64 played = mOutput->played();
    const qint64 written = mOutput->written();
    // An event falls due once the sample after it is heard; one at the very end of what was given, once all is.
    auto due = [&](qint64 at) { return at < played || (at == played && played == written); };
    while (!mPending.empty() && due(mPending.front().at)) {
        const SpeechEvent event = mPending.front().event;
        mPending.pop_front();
        if (event.stream <= mQueue.droppedUpTo.load())
            continue;
        mQueue.playingStream = event.stream;
        mQueue.playingPosition = event.audioPosition;
        if (event.type == SpeechEvent::EndStream) {
            std::lock_guard lock(mQueue.mutex);
            mQueue.outstanding.erase(event.stream);
        }
        mPost(event);
    }
}

void SpeechPlayer::publishBacklog()
{
    const qint64 unplayed = mOutput->isOpen() ? mOutput->written() - mOutput->played() : 0;
    bool room = false;
    {
        std::lock_guard lock(mQueue.mutex);
        mQueue.playerBacklog = mChunkBytes + std::max<qint64>(unplayed, 0);
        room = mQueue.playerBacklog + mQueue.chunkBytes < SpeechQueue::AheadBytes;
    }
    if (room)
        mQueue.synthesisWake.notify_all();
}

void SpeechPlayer::scheduleNextTick()
{
    // Audio still on its way to the ear keeps the clock ticking: the synthesiser waits for it to drain.
    const bool busy =
        !mChunks.empty() || !mPending.empty() || (mOutput->isOpen() && mOutput->written() > mOutput->played());
    if (busy && !mQueue.paused.load()) {
        mCloseTimer->stop();
        if (!mTimer->isActive())
            mTimer->start();
        return;
    }
    mTimer->stop();
    if (!busy && mOutput->isOpen() && !usesClock() && !mCloseTimer->isActive())
        mCloseTimer->start();
}
