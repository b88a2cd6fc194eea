#include "speech/AllVoicesEngine.h"

#include "core/Errors.h"
#include "speech/EspeakEngine.h"
#include "speech/FestivalEngine.h"

#include <QCoreApplication>

AllVoicesEngine::AllVoicesEngine(std::vector<std::unique_ptr<SpeechEngine>> engines, QObject* parent)
    : SpeechEngine(parent), mEngines(std::move(engines)), mVoices(mEngines.size()), mFailures(mEngines.size()),
      mCurrent(mEngines.front().get())
{
    for (const std::unique_ptr<SpeechEngine>& owned : mEngines) {
        SpeechEngine* engine = owned.get();
        connect(engine, &SpeechEngine::speechEvent, this, [this, engine](SpeechEvent event) {
            const auto key = qMakePair(engine, event.stream);
            const auto known = mStreams.constFind(key);
            if (known == mStreams.constEnd())
                return;
            event.stream = *known;
            if (event.type == SpeechEvent::EndStream)
                mStreams.remove(key);
            emit speechEvent(event);
        });
        // Only the engine that speaks is heard or not.
        connect(engine, &SpeechEngine::soundLostChanged, this, [this, engine](bool lost) {
            if (engine == mCurrent)
                emit soundLostChanged(lost);
        });
    }
}

const QList<EngineVoice>& AllVoicesEngine::voicesOf(size_t index, QString* failure)
{
    if (!mVoices[index]) {
        try {
            mVoices[index] = mEngines[index]->voices();
        } catch (const SpeechError& error) {
            mVoices[index] = QList<EngineVoice>();
            mFailures[index] = error.message();
        }
    }
    if (failure && failure->isEmpty())
        *failure = mFailures[index];
    return *mVoices[index];
}

void AllVoicesEngine::noVoiceAtAll(const QString& failure)
{
    // The next call tries every engine again.
    std::fill(mVoices.begin(), mVoices.end(), std::nullopt);
    throw SpeechError(failure.isEmpty() ? QCoreApplication::translate("AllVoicesEngine", "No voice is installed.")
                                        : failure);
}

QList<EngineVoice> AllVoicesEngine::voices()
{
    QList<EngineVoice> all;
    QString failure;
    for (size_t i = 0; i < mEngines.size(); ++i)
        all += voicesOf(i, &failure);
    if (all.isEmpty())
        noVoiceAtAll(failure);
    return all;
}

std::optional<EngineVoice> AllVoicesEngine::findVoice(const QString& descriptionOrId)
{
    QString failure;
    bool anyVoice = false;
    for (size_t i = 0; i < mEngines.size(); ++i) {
        const QList<EngineVoice>& listed = voicesOf(i, &failure);
        anyVoice = anyVoice || !listed.isEmpty();
        if (std::optional<EngineVoice> found = FindVoiceIn(listed, descriptionOrId))
            return found;
    }
    if (!anyVoice)
        noVoiceAtAll(failure);
    return std::nullopt;
}

void AllVoicesEngine::setVoice(const QString& id)
{
    // The default voice is the first engine's; any other is looked for engine by engine.
    SpeechEngine* chosen = mEngines.front().get();
    for (size_t i = 0; i < mEngines.size() && !id.isEmpty(); ++i) {
        const QList<EngineVoice>& listed = voicesOf(i);
        if (std::any_of(listed.begin(), listed.end(), [&id](const EngineVoice& voice) { return voice.id == id; })) {
            chosen = mEngines[i].get();
            break;
        }
    }
    chosen->setVoice(id);
    mCurrent = chosen;
}

void AllVoicesEngine::setRate(int rate)
{
    for (const std::unique_ptr<SpeechEngine>& engine : mEngines)
        engine->setRate(rate);
}

void AllVoicesEngine::setVolume(int volume)
{
    for (const std::unique_ptr<SpeechEngine>& engine : mEngines)
        engine->setVolume(volume);
}

int AllVoicesEngine::speak(const QString& text, bool markup, bool purge)
{
    // What another engine is saying is cut off as a purge cuts off this one's.
    if (purge) {
        for (const std::unique_ptr<SpeechEngine>& engine : mEngines) {
            if (engine.get() != mCurrent && !engine->isDone())
                engine->skipAll();
        }
    }
    const int inner = mCurrent->speak(text, markup, purge);
    mStreams.insert(qMakePair(mCurrent, inner), ++mLastStream);
    return mLastStream;
}

void AllVoicesEngine::pause()
{
    for (const std::unique_ptr<SpeechEngine>& engine : mEngines)
        engine->pause();
}

void AllVoicesEngine::resume()
{
    for (const std::unique_ptr<SpeechEngine>& engine : mEngines)
        engine->resume();
}

int AllVoicesEngine::skipAll()
{
    int skipped = 0;
    for (const std::unique_ptr<SpeechEngine>& engine : mEngines)
        skipped += engine->skipAll();
    return skipped;
}

bool AllVoicesEngine::isDone() const
{
    return std::all_of(mEngines.begin(), mEngines.end(), [](const auto& engine) { return engine->isDone(); });
}

bool AllVoicesEngine::soundLost() const
{
    return mCurrent->soundLost();
}

void AllVoicesEngine::render(const QString& text, bool markup,
                             const std::function<void(const QByteArray& pcm)>& consume,
                             const std::function<void(const SpeechEvent&)>& event,
                             const std::function<bool(double)>& progress)
{
    mCurrent->render(text, markup, consume, event, progress);
}

std::unique_ptr<SpeechEngine> createDefaultSpeechEngine()
{
    const SynthesisEngineOptions options = SynthesisEngineOptions::fromEnvironment();
    std::vector<std::unique_ptr<SpeechEngine>> engines;
    engines.push_back(std::make_unique<EspeakEngine>(options));
    engines.push_back(std::make_unique<FestivalEngine>(options));
    return std::make_unique<AllVoicesEngine>(std::move(engines));
}
