#pragma once

#include "speech/SpeechEngine.h"

#include <QHash>
#include <memory>
#include <optional>
#include <vector>

// Every installed voice of every engine as one engine: the voice chosen decides which engine speaks. An engine
// that cannot start lists no voices; stream numbers are its own, so those of different engines never meet.
// An engine starts only when its voices are listed or one of them is used: a voice of the first engine is
// found, chosen and spoken without starting the others.
class AllVoicesEngine : public SpeechEngine
{
public:
    // The first engine speaks until a voice of another is chosen.
    explicit AllVoicesEngine(std::vector<std::unique_ptr<SpeechEngine>> engines, QObject* parent = nullptr);

    // Throws SpeechError only when no engine can start.
    QList<EngineVoice> voices() override;
    // Looks engine by engine, in order, and stops at the first that has the voice.
    std::optional<EngineVoice> findVoice(const QString& descriptionOrId) override;
    void setVoice(const QString& id) override;
    void setRate(int rate) override;
    void setVolume(int volume) override;
    int speak(const QString& text, bool markup, bool purge) override;
    void pause() override;
    void resume() override;
    int skipAll() override;
    bool isDone() const override;
    bool soundLost() const override;
    void render(const QString& text, bool markup, const std::function<void(const QByteArray& pcm)>& consume,
                const std::function<void(const SpeechEvent&)>& event,
                const std::function<bool(double)>& progress = {}) override;

private:
    // The voices of engine `index`, listed once; an engine that cannot start has none, and `failure` (when
    // given and still empty) is told why.
    const QList<EngineVoice>& voicesOf(size_t index, QString* failure = nullptr);
    // Throws SpeechError: no engine has a voice.
    [[noreturn]] void noVoiceAtAll(const QString& failure);

    std::vector<std::unique_ptr<SpeechEngine>> mEngines;
    std::vector<std::optional<QList<EngineVoice>>> mVoices; // each engine's, once listed
    std::vector<QString> mFailures;                         // why an engine listed none
    SpeechEngine* mCurrent = nullptr;
    QHash<QPair<SpeechEngine*, int>, int> mStreams; // an engine's utterance to its number here
    int mLastStream = 0;
};
