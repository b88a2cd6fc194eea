#include "speech/SpeechPlayer.h"

#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int TickMs = 5;
// The device stays open this long after the last speech, so speaking again starts at once.
constexpr int CloseAfterIdleMs = 5000;
// How far ahead of the ear silence is written after an utterance, so a device that waits for a full buffer
// before it plays still plays the utterance's end.
constexpr qint64 FillAheadBytes = PcmOutput::BytesPerSecond / 4;

} // namespace

SpeechPlayer::SpeechPlayer(SpeechQueue& queue, Post post, const QAudioDevice& device, double clockSpeed)
    : FQueue(queue), FPost(std::move(post)), FDevice(device), FClockSpeed(clockSpeed)
{
}

SpeechPlayer::~SpeechPlayer() = default;

void SpeechPlayer::start()
{
    FTimer = new QTimer(this);
    FTimer->setTimerType(Qt::PreciseTimer);
    FTimer->setInterval(TickMs);
    connect(FTimer, &QTimer::timeout, this, &SpeechPlayer::tick);
    FCloseTimer = new QTimer(this);
    FCloseTimer->setSingleShot(true);
    FCloseTimer->setInterval(CloseAfterIdleMs);
    connect(FCloseTimer, &QTimer::timeout, this, [this] {
        if (FChunks.empty() && FPending.empty() && FOutput)
            FOutput->close();
    });

    if (FDevice.isNull()) {
        FOutput = std::make_unique<ClockOutput>(FClockSpeed);
        FUsesClock = true;
    } else {
        FOutput = std::make_unique<SinkOutput>(FDevice);
        // A device that cannot play at all is found out now, not in the middle of the first sentence.
        if (!FOutput->open())
            fallBackToClock();
    }
    scheduleNextTick();
}

void SpeechPlayer::wake()
{
    tick();
}

void SpeechPlayer::shutdown(QThread* home)
{
    if (FTimer)
        FTimer->stop();
    if (FCloseTimer)
        FCloseTimer->stop();
    FOutput.reset();
    moveToThread(home);
}

void SpeechPlayer::fallBackToClock()
{
    replaceOutput(std::make_unique<ClockOutput>(1.0));
    FUsesClock = true;
}

void SpeechPlayer::replaceOutput(std::unique_ptr<PcmOutput> output)
{
    // Audio already given to the old output is lost; its events come due at once.
    const qint64 lost = FOutput ? FOutput->written() : 0;
    for (Pending& pending : FPending)
        pending.at = std::max<qint64>(pending.at - lost, 0);
    FOrigin -= lost;
    FOutput = std::move(output);
    if (FOutput->open())
        FOutput->setVolume(FVolume / 100.0);
    FSuspended = false;
    FLastPlayed = -1;
}

void SpeechPlayer::reopenIfStalled()
{
    // Seen with PulseAudio: a stream opened just after another was closed with audio in it may play its first
    // samples and then take no more, so the reading would wait for ever.
    constexpr int StallMs = 600;
    constexpr int MostReopenings = 3;
    const bool holdsAudio = !FChunks.empty() || FOutput->written() > FOutput->played();
    if (FUsesClock || !FOutput->isOpen() || FSuspended || !holdsAudio) {
        FLastPlayed = -1;
        return;
    }
    const qint64 played = FOutput->played();
    if (played != FLastPlayed) {
        if (FLastPlayed >= 0 && played > FLastPlayed)
            FStalls = 0;
        FLastPlayed = played;
        FPlayedSince.start();
        return;
    }
    if (FPlayedSince.elapsed() < StallMs)
        return;
    if (++FStalls > MostReopenings) {
        fallBackToClock();
        return;
    }
    replaceOutput(std::make_unique<SinkOutput>(FDevice));
    if (!FOutput->isOpen())
        fallBackToClock();
}

bool SpeechPlayer::ensureOpen()
{
    if (FOutput->isOpen())
        return true;
    if (FOutput->open()) {
        FOriginStream = -1;
        FSuspended = false;
        FOutput->setVolume(FVolume / 100.0);
        return true;
    }
    fallBackToClock();
    return true;
}

void SpeechPlayer::dropEverything()
{
    FChunks.clear();
    FChunkBytes = 0;
    FChunkRead = 0;
    FChunkStarted = false;
    FPending.clear();
    FOriginStream = -1;
    // Closing the device drops what it still holds; it reopens with the next audio.
    if (FOutput->isOpen() && FOutput->written() > FOutput->played())
        FOutput->close();
}

void SpeechPlayer::tick()
{
    if (!FOutput)
        return;
    const int purges = FQueue.purges.load();
    if (purges != FSeenPurges) {
        FSeenPurges = purges;
        dropEverything();
    }
    {
        std::lock_guard lock(FQueue.mutex);
        const int dropped = FQueue.droppedUpTo.load();
        while (!FQueue.chunks.empty()) {
            AudioChunk chunk = std::move(FQueue.chunks.front());
            FQueue.chunks.pop_front();
            if (chunk.stream <= dropped)
                continue;
            if (chunk.stream == FOriginStream) {
                for (const SpeechEvent& event : chunk.events)
                    schedule(event, FOrigin + event.audioPosition);
                chunk.events.clear();
            }
            FChunkBytes += chunk.pcm.size();
            FChunks.push_back(std::move(chunk));
        }
        FQueue.chunkBytes = 0;
    }
    if (!FChunks.empty())
        ensureOpen();
    if (FOutput->failed())
        fallBackToClock();
    reopenIfStalled();

    const bool paused = FQueue.paused.load();
    if (FOutput->isOpen() && paused != FSuspended) {
        if (paused)
            FOutput->suspend();
        else
            FOutput->resume();
        FSuspended = paused;
    }
    if (const int volume = FQueue.volume.load(); volume != FVolume) {
        FVolume = volume;
        FOutput->setVolume(volume / 100.0);
    }

    if (FOutput->isOpen()) {
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
    while (!FChunks.empty()) {
        AudioChunk& chunk = FChunks.front();
        if (!FChunkStarted) {
            if (chunk.stream != FOriginStream) {
                FOriginStream = chunk.stream;
                FOrigin = FOutput->written() - chunk.offset;
                // The stream's place on the device is known now: the events of its chunks still waiting are due
                // by their audio, not when their chunk is reached (a sentence's words come with its last chunk,
                // behind the audio that went out early).
                for (AudioChunk& waiting : FChunks) {
                    if (waiting.stream != FOriginStream)
                        continue;
                    for (const SpeechEvent& event : waiting.events)
                        schedule(event, FOrigin + event.audioPosition);
                    waiting.events.clear();
                }
            }
            for (const SpeechEvent& event : chunk.events)
                schedule(event, FOrigin + event.audioPosition);
            chunk.events.clear();
            FChunkStarted = true;
            FChunkRead = 0;
        }
        const qint64 left = chunk.pcm.size() - FChunkRead;
        if (left > 0) {
            if (paused)
                return;
            const qint64 room = std::min(FOutput->writable(), left);
            if (room <= 0)
                return;
            const qint64 taken = FOutput->write(chunk.pcm.constData() + FChunkRead, room);
            FChunkRead += taken;
            FChunkBytes -= taken;
            FQueue.delivered += taken;
            if (FChunkRead < chunk.pcm.size())
                return;
        }
        FChunks.pop_front();
        FChunkStarted = false;
        FChunkRead = 0;
    }
}

void SpeechPlayer::schedule(const SpeechEvent& event, qint64 at)
{
    // Events stay in the order of their audio, and in the order given where they fall together.
    const auto place = std::upper_bound(FPending.begin(), FPending.end(), at,
                                        [](qint64 value, const Pending& pending) { return value < pending.at; });
    FPending.insert(place, {at, event});
}

void SpeechPlayer::fillSilence()
{
    if (FUsesClock || !FChunks.empty() || FPending.empty() || FPending.back().event.type != SpeechEvent::EndStream)
        return;
    const qint64 ahead = FOutput->written() - FOutput->played();
    const qint64 room = std::min(FOutput->writable(), FillAheadBytes - ahead) & ~qint64(1);
    if (room <= 0)
        return;
    const QByteArray silence(room, '\0');
    FOutput->write(silence.constData(), silence.size());
}

void SpeechPlayer::postDueEvents()
{
    const qint64 played = FOutput->played();
    const qint64 written = FOutput->written();
    // An event falls due once the sample after it is heard; one at the very end of what was given, once all is.
    auto due = [&](qint64 at) { return at < played || (at == played && played == written); };
    while (!FPending.empty() && due(FPending.front().at)) {
        const SpeechEvent event = FPending.front().event;
        FPending.pop_front();
        if (event.stream <= FQueue.droppedUpTo.load())
            continue;
        FQueue.playingStream = event.stream;
        FQueue.playingPosition = event.audioPosition;
        if (event.type == SpeechEvent::EndStream) {
            std::lock_guard lock(FQueue.mutex);
            FQueue.outstanding.erase(event.stream);
        }
        FPost(event);
    }
}

void SpeechPlayer::publishBacklog()
{
    const qint64 unplayed = FOutput->isOpen() ? FOutput->written() - FOutput->played() : 0;
    bool room = false;
    {
        std::lock_guard lock(FQueue.mutex);
        FQueue.playerBacklog = FChunkBytes + std::max<qint64>(unplayed, 0);
        room = FQueue.playerBacklog + FQueue.chunkBytes < SpeechQueue::AheadBytes;
    }
    if (room)
        FQueue.synthesisWake.notify_all();
}

void SpeechPlayer::scheduleNextTick()
{
    // Audio still on its way to the ear keeps the clock ticking: the synthesiser waits for it to drain.
    const bool busy =
        !FChunks.empty() || !FPending.empty() || (FOutput->isOpen() && FOutput->written() > FOutput->played());
    if (busy && !FQueue.paused.load()) {
        FCloseTimer->stop();
        if (!FTimer->isActive())
            FTimer->start();
        return;
    }
    FTimer->stop();
    if (!busy && FOutput->isOpen() && !FUsesClock && !FCloseTimer->isActive())
        FCloseTimer->start();
}
