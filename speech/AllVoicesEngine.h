#pragma once

#include "speech/SpeechEngine.h"

#include <QHash>
#include <memory>
#include <vector>

// Every installed voice of every engine as one engine: the voice chosen decides which engine speaks. An engine
// that cannot start lists no voices; stream numbers are its own, so those of different engines never meet.
class AllVoicesEngine : public SpeechEngine
{
public:
    // The first engine speaks until a voice of another is chosen.
    explicit AllVoicesEngine(std::vector<std::unique_ptr<SpeechEngine>> engines, QObject* parent = nullptr);

    // Throws SpeechError only when no engine can start.
    QList<EngineVoice> voices() override;
    void setVoice(const QString& id) override;
    void setRate(int rate) override;
    void setVolume(int volume) override;
    int speak(const QString& text, bool markup, bool purge) override;
    void pause() override;
    void resume() override;
    int skipAll() override;
    bool isDone() const override;
    void render(const QString& text, bool markup, const std::function<void(const QByteArray& pcm)>& consume,
                const std::function<void(const SpeechEvent&)>& event,
                const std::function<bool(double)>& progress = {}) override;

private:
    std::vector<std::unique_ptr<SpeechEngine>> FEngines;
    std::vector<QList<EngineVoice>> FVoices; // each engine's, once listed
    SpeechEngine* FCurrent = nullptr;
    QHash<QPair<SpeechEngine*, int>, int> FStreams; // an engine's utterance to its number here
    int FLastStream = 0;
};
