#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// An installed voice as the engine knows it.
struct EngineVoice
{
    QString id;           // what setVoice takes
    QString description;  // readable name, e.g. "English (Great Britain)"
    QString language{};   // the language it speaks as a BCP 47 tag, e.g. "en-gb"; empty when the engine does not say
    bool natural = false; // built from recorded speech, so it sounds more natural than a formant voice
};

// One event of an utterance, delivered on the user-interface thread when the audio played reaches it.
struct SpeechEvent
{
    enum Type
    {
        StartStream,
        EndStream,
        Word,
        Sentence,
        Viseme
    };
    Type type = Word;
    int stream = 0;           // the utterance's stream number, as speak() returned it
    qint64 audioPosition = 0; // bytes of audio output before the event
    int position = 0;         // Word/Sentence: start in the text as given to speak, in UTF-16 units
    int length = 0;           // Word/Sentence: length in UTF-16 units
    int viseme = 0;           // Viseme: current viseme id (0 to 21)
    int nextViseme = 0;       // Viseme: the one after it
    int duration = 0;         // Viseme: duration in ms
};

// The speech service behind Voice: one engine speaks one utterance at a time to the audio output
// (or, without a device, to a clock that plays silence at real time).
class SpeechEngine : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SpeechEngine() override = default;

    // Throws SpeechError when the engine cannot start.
    virtual QList<EngineVoice> voices() = 0;
    // The voice with this description (without regard to case) or else this id; nothing when none has it.
    // Throws SpeechError when the engine cannot start.
    virtual std::optional<EngineVoice> findVoice(const QString& descriptionOrId);
    virtual void setVoice(const QString& id) = 0;
    virtual void setRate(int rate) = 0;     // -10 to 10, 0 is the engine's normal speed
    virtual void setVolume(int volume) = 0; // 0 to 100
    // Queues the text asynchronously (purge drops what is queued or playing first); returns the stream number.
    // markup: tags are obeyed, never spoken; <silence msec='N'/> is a silence of N ms.
    virtual int speak(const QString& text, bool markup, bool purge) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Skips the rest of the current utterance and everything queued; returns the number skipped.
    virtual int skipAll() = 0;
    // True when nothing is queued or playing (or paused).
    virtual bool isDone() const = 0;
    // Renders the text as 16-bit mono PCM at 22050 Hz without playing it: each stretch of audio goes to
    // `consume` in order, on the calling thread, as it is made, and each event to `event` after the audio before
    // it, with its audio position counted in bytes of what `consume` received. Returns when all is rendered.
    // `progress` receives the share done (0 to 1) and returns false to cancel, which throws SpeechError; so does
    // a failure of the synthesiser or of `consume`.
    virtual void render(const QString& text, bool markup, const std::function<void(const QByteArray& pcm)>& consume,
                        const std::function<void(const SpeechEvent&)>& event,
                        const std::function<bool(double)>& progress = {}) = 0;
    // Renders the text into a WAV file and returns when it is written; events of the utterance are emitted as
    // it renders, with audio positions in the file. Cancelling through `progress` throws SpeechError and leaves
    // no file.
    virtual void speakToFile(const QString& text, bool markup, const QString& path,
                             const std::function<bool(double)>& progress = {});
    // True while live speech goes unheard to a clock because no sound device can be used (none, or the one in use
    // failed); the engine tries a device again at each speak, when the sound devices change and now and then while
    // speech goes on unheard. False on a device, and when a clock was chosen.
    virtual bool soundLost() const { return false; }

signals:
    void speechEvent(const SpeechEvent& event);
    // Live speech stopped being heard (true) or is heard again (false).
    void soundLostChanged(bool lost);
};

// The voice of `voices` with this description (without regard to case), else the one with this id.
std::optional<EngineVoice> FindVoiceIn(const QList<EngineVoice>& voices, const QString& descriptionOrId);

// The engine of the running program: espeak-ng with real audio output.
std::unique_ptr<SpeechEngine> createDefaultSpeechEngine();
