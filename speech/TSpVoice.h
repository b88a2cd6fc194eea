#pragma once

#include "platform/speech/Pronunciations.h"
#include "platform/speech/SpeechEngine.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

// A voice token: what the voice list holds for each installed voice.
struct VoiceToken
{
    QString id;
    QString description;
    QString language{}; // BCP 47 tag, e.g. "en-gb"; empty when unknown
    bool natural = false;
};

// Flags of Speak.
enum SpeakFlag
{
    SVSFlagsAsync = 1,
    SVSFPurgeBeforeSpeak = 2,
    SVSFIsXML = 8,
};
constexpr int SpeakReading = SVSFlagsAsync | SVSFPurgeBeforeSpeak | SVSFIsXML; // 11
constexpr int SpeakAutoRead = SVSFlagsAsync | SVSFPurgeBeforeSpeak;            // 3
constexpr int SpeakToFile = SVSFPurgeBeforeSpeak;                              // 2
constexpr int SkipAllSentences = 2147483646;
constexpr int AllEventInterests = 33790;

// Speech file stream: the target of audio export, a WAV file.
class TSpFileStream
{
public:
    // mode 3 creates the file for writing.
    void Open(const QString& path, int mode = 3, bool doEvents = false);
    void Close();
    bool isOpen() const { return FOpen; }
    QString path() const { return FPath; }

private:
    QString FPath;
    bool FOpen = false;
};

// The voice everything Parlivo says goes through; a thin wrapper over the speech engine.
class TSpVoice : public QObject
{
    Q_OBJECT
public:
    explicit TSpVoice(std::unique_ptr<SpeechEngine> engine, QObject* parent = nullptr);
    ~TSpVoice() override;

    SpeechEngine& engine() { return *FEngine; }

    void SetVoice(const VoiceToken& token);
    // The file stream to speak into, or nullptr for the default audio output.
    void SetAudioOutputStream(TSpFileStream* stream);
    void SetRate(int rate); // -10 to 10
    int Rate() const { return FRate; }
    void SetVolume(int volume); // 0 to 100
    int Volume() const { return FVolume; }
    void SetEventInterests(int interests) { FEventInterests = interests; }
    // Asynchronous with SVSFlagsAsync; otherwise returns when the text has been spoken (or written to the stream).
    int Speak(const QString& text, int flags);
    void Pause();
    void Resume();
    bool Paused() const { return FPaused; }
    // Skips the rest of what is being spoken ("Sentence", count 2147483646).
    int Skip(const QString& type, int count);
    // Installed voices in the engine's order. Throws SpeechError when the engine cannot start.
    QList<VoiceToken> GetVoices();
    // True when the voice has finished speaking; waits at most timeoutMs without processing events.
    bool WaitUntilDone(int timeoutMs);
    // How listed words are said, for everything spoken from now on; positions reported stay on the written words.
    void SetPronunciations(PronunciationList list) { FPronunciations = std::move(list); }
    const PronunciationList& Pronunciations() const { return FPronunciations; }
    // Receives the share of a file rendering done (0 to 1); return false to cancel it.
    void SetRenderProgress(std::function<bool(double)> progress) { FRenderProgress = std::move(progress); }

signals:
    void OnWord(int streamNumber, qint64 streamPosition, int characterPosition, int length);
    void OnSentence(int streamNumber, qint64 streamPosition, int characterPosition, int length);
    void OnViseme(int streamNumber, qint64 streamPosition, int duration, int nextVisemeId, int feature,
                  int currentVisemeId);
    void OnEndStream(int streamNumber, qint64 streamPosition);
    // Every event heard, as the signals above give it: positions on the written text.
    void OnEvent(const SpeechEvent& event);

private:
    void deliver(const SpeechEvent& event);

    std::unique_ptr<SpeechEngine> FEngine;
    TSpFileStream* FOutput = nullptr;
    std::function<bool(double)> FRenderProgress;
    int FRate = 0;
    int FVolume = 100;
    int FEventInterests = 0;
    bool FPaused = false;
    bool FRenderingToFile = false;
    int FSupersededUpTo = 0; // utterances up to this stream were purged by a later one
    PronunciationList FPronunciations;
    QHash<int, SpokenTextMap> FSpokenMaps; // utterances spoken with pronunciations: where the words went
};

// The reading area's text as it is given to the voice: each paragraph break becomes one space, so every
// character keeps its position and the voice's positions are reading-area positions.
QString TextForVoice(const QString& readingAreaText);

// Speaks a text with flags 11 and returns when it has been spoken, processing events meanwhile
// (commands and events can run nested inside the wait).
void SpeakAndWait(TSpVoice& voice, const QString& text);
