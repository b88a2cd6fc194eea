#pragma once

#include "speech/SpeechEngine.h"

#include <QStringList>

// A speech engine for tests: records what it was asked and emits the events a test chooses.
// With autoFinish (the default) every utterance ends at once: its end-of-stream event is posted to the
// event queue, so SpeakAndWait returns as soon as events are processed. Like the real engine, an utterance
// cut off by a purging speak still ends, through the event queue.
class ScriptedSpeechEngine : public SpeechEngine
{
    Q_OBJECT
public:
    struct Utterance
    {
        QString text;
        bool markup = false;
        bool purge = false;
        int stream = 0;
        QString file;    // set for speakToFile, "-" for render
        QString voice{}; // the voice it was spoken in
    };

    QList<EngineVoice> installed{{QStringLiteral("en"), QStringLiteral("English")}};
    QList<Utterance> spoken;
    bool autoFinish = true;
    bool failVoices = false; // voices() throws, as an engine that cannot start
    QString failingVoice;    // the id of a voice that cannot start: setVoice throws
    QString voiceId;
    int rate = 0;
    int volume = 100;
    bool paused = false;
    int skips = 0;
    bool speaking = false;

    QList<EngineVoice> voices() override;
    void setVoice(const QString& id) override;
    void setRate(int value) override { rate = value; }
    void setVolume(int value) override { volume = value; }
    int speak(const QString& text, bool markup, bool purge) override;
    void pause() override { paused = true; }
    void resume() override { paused = false; }
    int skipAll() override;
    bool isDone() const override { return !speaking; }
    // Renders a tenth of a second of silence.
    void render(const QString& text, bool markup, const std::function<void(const QByteArray& pcm)>& consume,
                const std::function<void(const SpeechEvent&)>& event,
                const std::function<bool(double)>& progress) override;
    void speakToFile(const QString& text, bool markup, const QString& path,
                     const std::function<bool(double)>& progress) override;

    // Deliver events of the current utterance at once, as the engine would when the audio reaches them.
    void word(int position, int length);
    void sentence(int position, int length);
    void viseme(int id);
    void finish(); // ends the current utterance
    QStringList texts() const;

private:
    void send(SpeechEvent::Type type, int position = 0, int length = 0, int viseme = 0);
    void postEnd(int stream);
    int mStream = 0;
};
