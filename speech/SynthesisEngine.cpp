#include "speech/SynthesisEngine.h"

#include "core/Errors.h"
#include "speech/EspeakVoices.h"
#include "speech/SpeechMarkup.h"
#include "speech/SpeechPlayer.h"
#include "speech/SpeechQueue.h"

#include <QCoreApplication>
#include <QMediaDevices>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <optional>

namespace {

SpeechEvent endOfStream(int stream, qint64 position)
{
    SpeechEvent event;
    event.type = SpeechEvent::EndStream;
    event.stream = stream;
    event.audioPosition = position;
    return event;
}

// The chunk that ends an utterance the synthesiser could not finish.
AudioChunk closingChunk(int stream, qint64 offset)
{
    AudioChunk chunk;
    chunk.stream = stream;
    chunk.offset = offset;
    chunk.events.push_back(endOfStream(stream, offset));
    chunk.progress = 1;
    chunk.ends = true;
    return chunk;
}

void scaleVolume(QByteArray& pcm, int volume)
{
    if (volume >= 100)
        return;
    auto* samples = reinterpret_cast<qint16*>(pcm.data());
    for (qsizetype i = 0; i < pcm.size() / 2; ++i)
        samples[i] = qint16(int(samples[i]) * volume / 100);
}

} // namespace

SynthesisEngineOptions SynthesisEngineOptions::fromEnvironment()
{
    SynthesisEngineOptions options;
    bool ok = false;
    const double speed = qEnvironmentVariable("PARLIVO_SPEECH_CLOCK").toDouble(&ok);
    if (ok && speed > 0) {
        options.useClock = true;
        options.clockSpeed = speed;
    }
    return options;
}

SynthesisEngine::SynthesisEngine(std::unique_ptr<Synthesizer> synthesizer, const Options& options, QObject* parent)
    : SpeechEngine(parent), mOptions(options), mSynthesizer(std::move(synthesizer)),
      mQueue(std::make_unique<SpeechQueue>())
{
}

SynthesisEngine::~SynthesisEngine()
{
    if (mSynthesis.joinable()) {
        {
            std::lock_guard lock(mQueue->mutex);
            mQueue->quit = true;
            mQueue->droppedUpTo = INT_MAX;
            mQueue->fileCancelled = true;
        }
        mQueue->synthesisWake.notify_all();
        mSynthesis.join();
    }
    if (mPlayer) {
        // The player goes on the audio thread as its event loop ends, never from a call queued to it: a call can
        // be delivered inside a nested event loop the sound system runs in the middle of a tick, and the device
        // closed under that tick.
        SpeechPlayer* player = mPlayer;
        connect(
            &mAudioThread, &QThread::finished, &mAudioThread, [player] { delete player; }, Qt::DirectConnection);
        mAudioThread.quit();
        mAudioThread.wait();
    }
}

void SynthesisEngine::ensurePlayer()
{
    if (mPlayer)
        return;
    QAudioDevice device;
    std::optional<double> clock;
    if (mOptions.useClock)
        clock = mOptions.clockSpeed;
    else
        device = QMediaDevices::defaultAudioOutput();
    auto lostChanged = [this](bool) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                // Told in order on this thread, each change once, as the player stands now.
                const bool lost = soundLost();
                if (lost != std::exchange(mToldLost, lost))
                    emit soundLostChanged(lost);
            },
            Qt::QueuedConnection);
    };
    mPlayer = new SpeechPlayer(
        *mQueue, [this](const SpeechEvent& event) { post(event); }, lostChanged, device, clock);
    mPlayer->moveToThread(&mAudioThread);
    mAudioThread.setObjectName(QStringLiteral("Speech audio"));
    mAudioThread.start(QThread::HighPriority);
    QMetaObject::invokeMethod(mPlayer, &SpeechPlayer::start, Qt::BlockingQueuedConnection);
    if (!clock) {
        mDevices = new QMediaDevices(this);
        connect(mDevices, &QMediaDevices::audioOutputsChanged, this, &SynthesisEngine::retrySoundDevice);
    }
}

void SynthesisEngine::retrySoundDevice()
{
    if (!mPlayer || !mPlayer->soundLost())
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QMetaObject::invokeMethod(
        mPlayer, [player = mPlayer, device] { player->tryDevice(device); }, Qt::BlockingQueuedConnection);
}

bool SynthesisEngine::soundLost() const
{
    return mPlayer && mPlayer->soundLost();
}

void SynthesisEngine::wakePlayer()
{
    // Live speech starts the player before its first chunk, so there is nothing to wake before then.
    if (mPlayer)
        QMetaObject::invokeMethod(mPlayer, &SpeechPlayer::wake, Qt::QueuedConnection);
}

void SynthesisEngine::runSynthesis(std::promise<QString> started)
{
    QString failure;
    try {
        mSynthesizer->start();
    } catch (const ParlivoError& error) {
        failure = error.message();
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    started.set_value(failure);
    if (!failure.isEmpty())
        return;

    SpeechQueue& queue = *mQueue;
    std::unique_ptr<UtteranceRenderer> current;
    bool toFile = false;
    auto dropped = [&queue](int stream) { return stream <= queue.droppedUpTo.load(); };
    while (true) {
        std::function<void()> task;
        {
            std::unique_lock lock(queue.mutex);
            queue.synthesisWake.wait(lock, [&] {
                if (queue.quit || !queue.tasks.empty())
                    return true;
                if (!current)
                    return !queue.jobs.empty();
                if (toFile)
                    return queue.fileCancelled.load() || queue.fileBytes < SpeechQueue::FileAheadBytes;
                return dropped(current->stream()) || queue.chunkBytes + queue.playerBacklog < SpeechQueue::AheadBytes;
            });
            if (queue.quit)
                break;
            if (!queue.tasks.empty()) {
                task = std::move(queue.tasks.front());
                queue.tasks.pop_front();
            } else if (!current) {
                const SpeechJob job = std::move(queue.jobs.front());
                queue.jobs.pop_front();
                current = std::make_unique<UtteranceRenderer>(job.stream, job.text, job.markup, job.voice, !job.toFile);
                toFile = job.toFile;
            }
        }
        if (task) {
            task();
            continue;
        }

        const int stream = current->stream();
        const bool renderingFile = toFile;
        auto cancelled = [&queue, &dropped, stream, renderingFile] {
            return renderingFile ? queue.fileCancelled.load() : dropped(stream);
        };
        auto hand = [&queue, &dropped, this, stream, renderingFile](AudioChunk&& chunk) {
            {
                std::lock_guard lock(queue.mutex);
                if (renderingFile) {
                    queue.fileBytes += chunk.pcm.size();
                    queue.fileChunks.push_back(std::move(chunk));
                } else if (!dropped(stream)) {
                    queue.chunkBytes += chunk.pcm.size();
                    queue.chunks.push_back(std::move(chunk));
                }
            }
            if (renderingFile)
                queue.fileWake.notify_all();
            else
                wakePlayer();
        };
        AudioChunk chunk;
        bool produced = false;
        std::exception_ptr error;
        if (!cancelled()) {
            try {
                produced = current->next(*mSynthesizer, queue.wordsPerMinute.load(), chunk, cancelled, hand);
            } catch (...) {
                error = std::current_exception();
            }
        }
        // A live utterance the synthesiser fails on still ends, with what was already spoken.
        if (error && !renderingFile) {
            chunk = closingChunk(stream, current->offset());
            produced = true;
        }
        const bool ends = !produced || chunk.ends;
        if (produced && !(error && renderingFile))
            hand(std::move(chunk));
        if (renderingFile && (ends || error)) {
            {
                std::lock_guard lock(queue.mutex);
                if (error)
                    queue.fileError = error;
                queue.fileDone = true;
            }
            queue.fileWake.notify_all();
        }
        if (ends || error)
            current.reset();
    }
    mSynthesizer->stop();
}

void SynthesisEngine::launchSynthesis()
{
    if (mSynthesis.joinable())
        return;
    std::promise<QString> started;
    mStarted = started.get_future().share();
    mSynthesis = std::thread([this, promise = std::move(started)]() mutable { runSynthesis(std::move(promise)); });
}

void SynthesisEngine::ensureStarted()
{
    launchSynthesis();
    const QString failure = mStarted.get();
    if (!failure.isEmpty())
        throw SpeechError(failure);
}

QList<EngineVoice> SynthesisEngine::voices()
{
    ensureStarted();
    if (!mVoices.isEmpty())
        return mVoices;
    auto task = std::make_shared<std::packaged_task<QList<EngineVoice>()>>([this] { return mSynthesizer->voices(); });
    std::future<QList<EngineVoice>> listed = task->get_future();
    {
        std::lock_guard lock(mQueue->mutex);
        mQueue->tasks.push_back([task] { (*task)(); });
    }
    mQueue->synthesisWake.notify_all();
    mVoices = listed.get();
    return mVoices;
}

void SynthesisEngine::setVoice(const QString& id)
{
    if (!id.isEmpty()) {
        const QList<EngineVoice> installed = voices();
        const bool known =
            std::any_of(installed.begin(), installed.end(), [&id](const EngineVoice& voice) { return voice.id == id; });
        if (!known)
            throw SpeechError(
                QCoreApplication::translate("SynthesisEngine", "The voice \"%1\" is not installed.").arg(id));
    }
    mVoice = id;
}

void SynthesisEngine::setRate(int rate)
{
    mQueue->wordsPerMinute = wordsPerMinuteForRate(rate);
}

void SynthesisEngine::setVolume(int volume)
{
    mQueue->volume = std::clamp(volume, 0, 100);
    wakePlayer();
}

int SynthesisEngine::enqueue(const QString& text, bool markup, bool toFile)
{
    ensureStarted();
    const int stream = ++mLastStream;
    {
        std::lock_guard lock(mQueue->mutex);
        if (!toFile)
            mQueue->outstanding.insert(stream);
        mQueue->jobs.push_back({stream, text, markup, mVoice, toFile});
    }
    mQueue->synthesisWake.notify_all();
    return stream;
}

int SynthesisEngine::speak(const QString& text, bool markup, bool purge)
{
    // The library starts while the sound device opens: the first speech waits for the slower of the two only.
    launchSynthesis();
    ensurePlayer();
    retrySoundDevice();
    ensureStarted();
    if (purge) {
        dropAll();
        mQueue->paused = false;
        wakePlayer();
    }
    const int stream = enqueue(text, markup || looksLikeMarkup(text), false);
    mLive.insert(stream);
    return stream;
}

void SynthesisEngine::pause()
{
    mQueue->paused = true;
    wakePlayer();
}

void SynthesisEngine::resume()
{
    mQueue->paused = false;
    wakePlayer();
}

int SynthesisEngine::skipAll()
{
    return dropAll();
}

bool SynthesisEngine::isDone() const
{
    std::lock_guard lock(mQueue->mutex);
    return mQueue->outstanding.empty();
}

int SynthesisEngine::dropAll()
{
    const int previous = mDroppedUpTo;
    {
        std::lock_guard lock(mQueue->mutex);
        mQueue->droppedUpTo = mLastStream;
        ++mQueue->purges;
        std::erase_if(mQueue->jobs, [](const SpeechJob& job) { return !job.toFile; });
        mQueue->chunks.clear();
        mQueue->chunkBytes = 0;
        mQueue->outstanding.clear();
    }
    mQueue->synthesisWake.notify_all();
    wakePlayer();
    mDroppedUpTo = mLastStream;

    // A dropped utterance still ends, once, through the event queue like every other end.
    const int playing = mQueue->playingStream.load();
    const qint64 position = mQueue->playingPosition.load();
    int dropped = 0;
    for (int stream : mLive) {
        if (stream <= previous)
            continue;
        post(endOfStream(stream, stream == playing ? position : 0));
        ++dropped;
    }
    return dropped;
}

void SynthesisEngine::post(const SpeechEvent& event)
{
    QMetaObject::invokeMethod(
        this, [this, event] { deliver(event); }, Qt::QueuedConnection);
}

void SynthesisEngine::deliver(const SpeechEvent& event)
{
    const auto live = mLive.find(event.stream);
    if (live == mLive.end())
        return;
    if (event.type == SpeechEvent::EndStream) {
        mLive.erase(live);
        emit speechEvent(event);
        return;
    }
    if (event.stream <= mDroppedUpTo)
        return;
    emit speechEvent(event);
}

void SynthesisEngine::render(const QString& text, bool markup,
                             const std::function<void(const QByteArray& pcm)>& consume,
                             const std::function<void(const SpeechEvent&)>& event,
                             const std::function<bool(double)>& progress)
{
    ensureStarted();
    dropAll();
    {
        std::lock_guard lock(mQueue->mutex);
        mQueue->fileChunks.clear();
        mQueue->fileBytes = 0;
        mQueue->fileDone = false;
        mQueue->fileError = nullptr;
        mQueue->fileCancelled = false;
    }
    enqueue(text, markup || looksLikeMarkup(text), true);

    // Ends the rendering on the synthesis thread before the caller hears of a failure.
    auto abandon = [this] {
        mQueue->fileCancelled = true;
        mQueue->synthesisWake.notify_all();
        std::unique_lock lock(mQueue->mutex);
        mQueue->fileWake.wait(lock, [this] { return mQueue->fileDone; });
        mQueue->fileChunks.clear();
        mQueue->fileBytes = 0;
    };

    qint64 handed = 0;
    bool cancelled = false;
    try {
        while (true) {
            std::deque<AudioChunk> chunks;
            bool done = false;
            std::exception_ptr error;
            {
                std::unique_lock lock(mQueue->mutex);
                mQueue->fileWake.wait(lock, [this] { return !mQueue->fileChunks.empty() || mQueue->fileDone; });
                chunks.swap(mQueue->fileChunks);
                mQueue->fileBytes = 0;
                done = mQueue->fileDone;
                error = mQueue->fileError;
            }
            mQueue->synthesisWake.notify_all();
            if (error)
                std::rethrow_exception(error);
            for (AudioChunk& chunk : chunks) {
                scaleVolume(chunk.pcm, mQueue->volume.load());
                consume(chunk.pcm);
                // Times come from the audio handed over: each event keeps its place in its chunk's audio.
                const qint64 shift = handed - chunk.offset;
                handed += chunk.pcm.size();
                for (SpeechEvent placed : chunk.events) {
                    placed.audioPosition += shift;
                    if (event)
                        event(placed);
                }
                if (progress && !progress(chunk.progress)) {
                    cancelled = true;
                    break;
                }
            }
            if (cancelled || done)
                break;
        }
    } catch (...) {
        abandon();
        throw;
    }
    if (cancelled) {
        abandon();
        throw SpeechError(QCoreApplication::translate("SynthesisEngine", "The rendering of the speech was cancelled."));
    }
}

qint64 SynthesisEngine::audioDelivered() const
{
    return mQueue->delivered.load();
}

bool SynthesisEngine::usesClock()
{
    ensurePlayer();
    return mPlayer->usesClock();
}
