#pragma once

#include "speech/SpeechEngine.h"
#include "speech/Synthesizer.h"

#include <QList>
#include <QString>
#include <QThread>
#include <future>
#include <memory>
#include <set>
#include <thread>

struct SpeechQueue;
class SpeechPlayer;
class QMediaDevices;

// How a SynthesisEngine plays.
struct SynthesisEngineOptions
{
    bool useClock = false;   // play to the clock even when there is an audio device
    double clockSpeed = 1.0; // how much faster than real time the clock plays
    QString dataPath;        // the folder holding espeak-ng-data; empty for the installed one

    // PARLIVO_SPEECH_CLOCK=<speed> in the environment plays to the clock at that speed, e.g. for tests
    // of the whole program on a machine without sound.
    static SynthesisEngineOptions fromEnvironment();
};

// A speech engine over a synthesis library. One synthesis thread owns the library (its Synthesizer) and renders
// each utterance a sentence at a time, keeping about a second ahead of the ear; an audio thread plays it through
// QAudioSink (or, without a device, a clock running at real time) and hands each event to the user-interface
// thread's event queue when the audio reaches it. Without a usable device speech goes on, unheard, to a clock at
// real time, and soundLostChanged says so until a device plays again. Every utterance gets exactly one EndStream, a
// purged one as well. Nothing starts with the engine: the library starts when its voices are first listed or used, and
// the audio thread with its device when speech is first played, so a rendering into a file never opens a sound device.
class SynthesisEngine : public SpeechEngine
{
    Q_OBJECT
public:
    using Options = SynthesisEngineOptions;

    SynthesisEngine(std::unique_ptr<Synthesizer> synthesizer, const Options& options, QObject* parent = nullptr);
    ~SynthesisEngine() override;

    QList<EngineVoice> voices() override;
    // Throws SpeechError for a voice that is not installed; an empty id is the default English voice.
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

    // Bytes of speech handed to the audio output since the engine started.
    qint64 audioDelivered() const;
    // True when speech goes to the clock rather than an audio device; opens the audio output to find out.
    bool usesClock();
    bool soundLost() const override;

private:
    void runSynthesis(std::promise<QString> started);
    // Starts the library on its own thread, once, without waiting for it.
    void launchSynthesis();
    // Waits until the library has started; throws SpeechError when it cannot start.
    void ensureStarted();
    // Starts the audio thread and opens its output, once.
    void ensurePlayer();
    void wakePlayer();
    // While no device is heard, plays on the default device again if there is one and it opens.
    void retrySoundDevice();
    int dropAll();
    void post(const SpeechEvent& event);
    void deliver(const SpeechEvent& event);
    int enqueue(const QString& text, bool markup, bool toFile);

    Options mOptions;
    std::unique_ptr<Synthesizer> mSynthesizer;
    std::unique_ptr<SpeechQueue> mQueue;
    std::thread mSynthesis;
    std::shared_future<QString> mStarted; // the start failure's message, empty when the library runs
    QThread mAudioThread;
    SpeechPlayer* mPlayer = nullptr;
    QMediaDevices* mDevices = nullptr; // tells when a sound device comes (back)
    bool mToldLost = false;            // what soundLostChanged last said
    QList<EngineVoice> mVoices;
    QString mVoice;
    int mLastStream = 0;
    int mDroppedUpTo = 0;
    std::set<int> mLive; // utterances whose EndStream has not been delivered
};
