#pragma once

#include "speech/Synthesizer.h"
#include "speech/SpeechEngine.h"
#include "speech/SpeechPieces.h"

#include <QByteArray>
#include <deque>
#include <functional>
#include <vector>

// A stretch of an utterance's audio with the events that fall in it (a sentence's events come with its last
// stretch, so some may lie before the chunk's own audio).
struct AudioChunk
{
    int stream = 0;
    QByteArray pcm;                  // 16-bit mono samples at 22050 Hz
    qint64 offset = 0;               // bytes of the utterance before pcm
    std::vector<SpeechEvent> events; // in order; audioPosition counts bytes from the utterance's start
    double progress = 0;             // share of the text done once this chunk is played
    bool ends = false;               // the utterance's last chunk, carrying its EndStream
};

// Turns one utterance into audio a piece at a time: each text piece (or each part of it, where the synthesiser makes
// a long sentence in parts) is synthesised and its word, sentence and viseme events are placed on its audio;
// silences become zero samples, a second at a time. The first chunk opens with StartStream, the last one is empty
// and carries EndStream.
class UtteranceRenderer
{
public:
    // `live` when the audio is heard as it is made (not written to a file).
    UtteranceRenderer(int stream, const QString& text, bool markup, const QString& voice, bool live = true);

    int stream() const { return mStream; }
    bool finished() const { return mFinished; }
    qint64 offset() const { return mOffset; }

    using Partial = std::function<void(AudioChunk&&)>;

    // The next chunk. While a sentence is being synthesised its audio so far goes out early through `partial`
    // (chunks without events), so playing starts before the sentence is done; the chunk returned then holds the
    // rest of its audio and all its events. False when `cancelled` stopped the synthesiser (what went out early is
    // then to be dropped). Throws what the synthesiser or `partial` throws.
    bool next(Synthesizer& synthesizer, int wordsPerMinute, AudioChunk& chunk, const std::function<bool()>& cancelled,
              const Partial& partial = {});

private:
    // A piece to synthesise, or a part of one that the synthesiser makes on its own.
    struct Part
    {
        SpeechPiece piece;
        bool endPause = false;
    };
    void prepare(Synthesizer& synthesizer, int wordsPerMinute) const;
    // Gives the next text or silence to make; false when the utterance is done.
    bool nextPart(Synthesizer& synthesizer, int wordsPerMinute, Part& part);
    void addTextEvents(const SpeechPiece& piece, const Synthesis& synthesis, AudioChunk& chunk) const;
    void addEvent(AudioChunk& chunk, SpeechEvent::Type type, qint64 byte) const;

    int mStream;
    QString mVoice;
    bool mLive;
    PieceReader mReader;
    std::deque<Part> mParts; // the parts of a piece still to make
    qint64 mOffset = 0;
    qint64 mSilenceLeft = 0; // bytes of a silence still to produce
    double mProgress = 0;
    bool mStarted = false;
    bool mFinished = false;
};

// The events of one synthesised text piece, placed at byte offsets from `base`: a Sentence event at its start
// when it opens a sentence, one Word event per word (positions in the text as given), one Viseme event per
// phoneme. In order of position.
std::vector<SpeechEvent> pieceEvents(const SpeechPiece& piece, const Synthesis& synthesis, int stream, qint64 base);
