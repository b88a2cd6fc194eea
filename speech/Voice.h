#pragma once

#include "speech/Pronunciations.h"
#include "speech/SpeechEngine.h"

#include <QFlags>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

// A voice token: what the voice list holds for each installed voice.
struct VoiceToken
{
    QString id;
    QString description;
    QString language{}; // BCP 47 tag, e.g. "en-gb"; empty when unknown
    bool natural = false;
};

// How Speak takes its text.
enum class SpeakFlag
{
    Async = 0x1,  // returns at once; without it Speak returns when the text has been spoken
    Purge = 0x2,  // drops what is queued or being spoken first
    Markup = 0x8, // tags are obeyed, never spoken
};
Q_DECLARE_FLAGS(SpeakFlags, SpeakFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(SpeakFlags)

inline constexpr SpeakFlags SpeakReading = SpeakFlag::Async | SpeakFlag::Purge | SpeakFlag::Markup;
inline constexpr SpeakFlags SpeakAutoRead = SpeakFlag::Async | SpeakFlag::Purge;

// The voice everything Parlivo says goes through; a thin wrapper over the speech engine.
class Voice : public QObject
{
    Q_OBJECT
public:
    explicit Voice(std::unique_ptr<SpeechEngine> engine, QObject* parent = nullptr);
    ~Voice() override;

    SpeechEngine& engine() { return *mEngine; }

    void SetVoice(const VoiceToken& token);
    void SetRate(int rate); // -10 to 10
    int Rate() const { return mRate; }
    void SetVolume(int volume); // 0 to 100
    int Volume() const { return mVolume; }
    // Asynchronous with SpeakFlag::Async; otherwise returns when the text has been spoken (or written to the
    // stream). Returns the utterance's stream number.
    int Speak(const QString& text, SpeakFlags flags);
    void Pause();
    void Resume();
    // Skips the rest of what is being spoken and everything queued; returns the number of utterances skipped.
    int SkipAll();
    // Installed voices in the engine's order. Throws SpeechError when the engine cannot start.
    QList<VoiceToken> GetVoices();
    // The installed voice with this description (without regard to case) or id, found without starting an
    // engine that does not have it when an earlier one does. Throws SpeechError when no engine can start.
    std::optional<VoiceToken> FindVoice(const QString& descriptionOrId);
    // True when the voice has finished speaking; waits at most timeoutMs without processing events.
    bool WaitUntilDone(int timeoutMs);
    // How listed words are said, for everything spoken from now on; positions reported stay on the written words.
    void SetPronunciations(PronunciationList list) { mPronunciations = std::move(list); }
    const PronunciationList& Pronunciations() const { return mPronunciations; }

signals:
    // The events of what is heard, positions on the written text. Events of an utterance a later purging Speak
    // cut off are not given.
    void OnWord(const SpeechEvent& event);
    void OnSentence(const SpeechEvent& event);
    void OnViseme(const SpeechEvent& event);
    void OnEndStream(const SpeechEvent& event);
    // Every one of the events above, whatever its type.
    void OnEvent(const SpeechEvent& event);

private:
    void deliver(const SpeechEvent& event);

    std::unique_ptr<SpeechEngine> mEngine;
    int mRate = 0;
    int mVolume = 100;
    int mSupersededUpTo = 0; // utterances up to this stream were purged by a later one
    PronunciationList mPronunciations;
    QHash<int, SpokenTextMap> mSpokenMaps; // utterances spoken with pronunciations: where the words went
};

// The reading area's text as it is given to the voice: each paragraph break becomes one space, so every
// character keeps its position and the voice's positions are reading-area positions.
QString TextForVoice(const QString& readingAreaText);

// Speaks a text as a reading is spoken (SpeakReading) and returns when it has been spoken, processing events meanwhile
// (commands and events can run nested inside the wait).
void SpeakAndWait(Voice& voice, const QString& text);
