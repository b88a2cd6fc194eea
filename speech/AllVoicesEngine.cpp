#include "speech/AllVoicesEngine.h"

#include "core/Errors.h"
#include "speech/EspeakEngine.h"
#include "speech/FestivalEngine.h"

AllVoicesEngine::AllVoicesEngine(std::vector<std::unique_ptr<SpeechEngine>> engines, QObject* parent)
    : SpeechEngine(parent), FEngines(std::move(engines)), FVoices(FEngines.size()), FFailures(FEngines.size()),
      FCurrent(FEngines.front().get())
{
    for (const std::unique_ptr<SpeechEngine>& owned : FEngines) {
        SpeechEngine* engine = owned.get();
        connect(engine, &SpeechEngine::speechEvent, this, [this, engine](SpeechEvent event) {
            const auto key = qMakePair(engine, event.stream);
            const auto known = FStreams.constFind(key);
            if (known == FStreams.constEnd())
                return;
            event.stream = *known;
            if (event.type == SpeechEvent::EndStream)
                FStreams.remove(key);
            emit speechEvent(event);
        });
    }
}

const QList<EngineVoice>& AllVoicesEngine::voicesOf(size_t index, QString* failure)
{
    if (!FVoices[index]) {
        try {
            FVoices[index] = FEngines[index]->voices();
        } catch (const SpeechError& error) {
            FVoices[index] = QList<EngineVoice>();
            FFailures[index] = error.message();
        }
    }
    if (failure && failure->isEmpty())
        *failure = FFailures[index];
    return *FVoices[index];
}

void AllVoicesEngine::noVoiceAtAll(const QString& failure)
{
    // The next call tries every engine again.
    std::fill(FVoices.begin(), FVoices.end(), std::nullopt);
    throw SpeechError(failure.isEmpty() ? QStringLiteral("No voice is installed.") : failure);
}

QList<EngineVoice> AllVoicesEngine::voices()
{
    QList<EngineVoice> all;
    QString failure;
    for (size_t i = 0; i < FEngines.size(); ++i)
        all += voicesOf(i, &failure);
    if (all.isEmpty())
        noVoiceAtAll(failure);
    return all;
}

std::optional<EngineVoice> AllVoicesEngine::findVoice(const QString& descriptionOrId)
{
    QString failure;
    bool anyVoice = false;
    for (size_t i = 0; i < FEngines.size(); ++i) {
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
    SpeechEngine* chosen = FEngines.front().get();
    for (size_t i = 0; i < FEngines.size() && !id.isEmpty(); ++i) {
        const QList<EngineVoice>& listed = voicesOf(i);
        if (std::any_of(listed.begin(), listed.end(), [&id](const EngineVoice& voice) { return voice.id == id; })) {
            chosen = FEngines[i].get();
            break;
        }
    }
    chosen->setVoice(id);
    FCurrent = chosen;
}

void AllVoicesEngine::setRate(int rate)
{
    for (const std::unique_ptr<SpeechEngine>& engine : FEngines)
        engine->setRate(rate);
}

void AllVoicesEngine::setVolume(int volume)
{
    for (const std::unique_ptr<SpeechEngine>& engine : FEngines)
        engine->setVolume(volume);
}

int AllVoicesEngine::speak(const QString& text, bool markup, bool purge)
{
    // What another engine is saying is cut off as a purge cuts off this one's.
    if (purge) {
        for (const std::unique_ptr<SpeechEngine>& engine : FEngines) {
            if (engine.get() != FCurrent && !engine->isDone())
                engine->skipAll();
        }
    }
    const int inner = FCurrent->speak(text, markup, purge);
    FStreams.insert(qMakePair(FCurrent, inner), ++FLastStream);
    return FLastStream;
}

void AllVoicesEngine::pause()
{
    for (const std::unique_ptr<SpeechEngine>& engine : FEngines)
        engine->pause();
}

void AllVoicesEngine::resume()
{
    for (const std::unique_ptr<SpeechEngine>& engine : FEngines)
        engine->resume();
}

int AllVoicesEngine::skipAll()
{
    int skipped = 0;
    for (const std::unique_ptr<SpeechEngine>& engine : FEngines)
        skipped += engine->skipAll();
    return skipped;
}

bool AllVoicesEngine::isDone() const
{
    return std::all_of(FEngines.begin(), FEngines.end(), [](const auto& engine) { return engine->isDone(); });
}

void AllVoicesEngine::render(const QString& text, bool markup,
                             const std::function<void(const QByteArray& pcm)>& consume,
                             const std::function<void(const SpeechEvent&)>& event,
                             const std::function<bool(double)>& progress)
{
    FCurrent->render(text, markup, consume, event, progress);
}

std::unique_ptr<SpeechEngine> createDefaultSpeechEngine()
{
    const SynthesisEngineOptions options = SynthesisEngineOptions::fromEnvironment();
    std::vector<std::unique_ptr<SpeechEngine>> engines;
    engines.push_back(std::make_unique<EspeakEngine>(options));
    engines.push_back(std::make_unique<FestivalEngine>(options));
    return std::make_unique<AllVoicesEngine>(std::move(engines));
}
