#pragma once

#include "speech/AutoRead.h"
#include "speech/Voice.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextDocument>
#include <optional>

// What the reader is doing. Speaking is an utterance that is no reading (an auto-read word, an export): it is
// busy like a reading, but the reading area stays editable, and it too ends with its end of stream.
enum class ReadingState
{
    Idle,
    Reading,
    Paused,
    Speaking,
};

// The speed and volume, 1 to 10, of a reader for which nothing else was chosen.
inline constexpr int DefaultReadingSpeed = 5;
inline constexpr int DefaultReadingVolume = 10;

// What the reader is set to and what it is doing: the voice, speed and volume it reads with, the auto-read mode,
// the reading state and the document of the reading area. Menus, keys, the face, the settings file and the command
// line read and change it; the menus mark what its signals tell. The voice, speed and volume are set on the voice
// it was given as they are chosen.
class ReadingModel : public QObject
{
    Q_OBJECT
public:
    explicit ReadingModel(Voice& voice, QObject* parent = nullptr);

    // The voices offered: sorted by description without regard to case, the first kept of descriptions that
    // differ only in case.
    const QList<VoiceToken>& voices() const { return mVoices; }
    void setVoices(const QList<VoiceToken>& installed);
    // The description of the chosen voice; empty while none is chosen.
    QString voice() const { return mVoice; }
    // Chooses the offered voice of exactly this description (letter case counts) and has the voice speak with it;
    // false, with nothing changed, when none is offered. The choice stands when the engine cannot take the voice,
    // which throws SpeechError.
    bool setVoice(const QString& description);

    // The reading speed and volume, 1 to 10; nothing until one is chosen, and the voice keeps its own meanwhile.
    std::optional<int> speed() const { return mSpeed; }
    std::optional<int> volume() const { return mVolume; }
    // False, with nothing changed, outside 1 to 10. Choosing the current value sets it on the voice again.
    bool setSpeed(int speed);
    bool setVolume(int volume);

    AutoReadMode autoReadMode() const { return mAutoReadMode; }
    void setAutoReadMode(AutoReadMode mode);

    ReadingState state() const { return mState; }
    void setState(ReadingState state);
    // Reading, paused or speaking: the voice has something to say.
    bool busy() const { return mState != ReadingState::Idle; }
    // Reading or paused: a reading of the reading area is under way.
    bool reading() const { return mState == ReadingState::Reading || mState == ReadingState::Paused; }

    // The reading area's document; the model does not own it.
    QTextDocument* document() const { return mDocument; }
    void setDocument(QTextDocument* document);

signals:
    void voiceChanged(const QString& description);
    void speedChanged(int speed);
    void volumeChanged(int volume);
    void autoReadModeChanged(AutoReadMode mode);
    void stateChanged(ReadingState state);
    void documentChanged(QTextDocument* document);

private:
    Voice& mSpeech;
    QList<VoiceToken> mVoices;
    QString mVoice;
    std::optional<int> mSpeed;
    std::optional<int> mVolume;
    AutoReadMode mAutoReadMode = AutoReadMode::Sentence;
    ReadingState mState = ReadingState::Idle;
    QPointer<QTextDocument> mDocument;
};
