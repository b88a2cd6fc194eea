#pragma once

#include "speech/SpeechMarkup.h"
#include "core/TextSegmentation.h"

#include <deque>

// One piece of an utterance for the synthesiser: a stretch of text of at most one sentence, or a silence.
struct SpeechPiece
{
    enum Kind
    {
        Text,
        Silence
    };
    Kind kind = Text;
    int msec = 0;    // Silence: its length
    QString text;    // Text: what to synthesise
    QList<int> from; // Text: source position of each character of `text`
    QList<int> to;   // Text: source position just after it
    bool startsSentence = false;
    TextSpan sentence;         // when startsSentence: the whole sentence in the text as given
    bool endsSentence = false; // the synthesiser adds the pause that closes a sentence
    int sourceEnd = 0;         // how far into the text as given this piece reaches

    // The extent in the text as given of text[span].
    TextSpan sourceSpan(TextSpan span) const;
};

// Cuts a text as given into pieces, a sentence at a time, reading only as far as it needs: the first piece of a
// long text is ready as soon as its first sentence has been read.
class PieceReader
{
public:
    // Sentences longer than this are cut at a blank; pieces of a long sentence aim at about PieceLength.
    static constexpr int MaxSentenceLength = 1000;
    static constexpr int PieceLength = 300;

    PieceReader(const QString& source, bool markup);

    // The next piece; false when the text is used up.
    bool next(SpeechPiece& piece);
    int sourceLength() const { return mReader.size(); }

private:
    void readSentence();
    void addText(int from, int to, bool& first, const TextSpan& sentence);

    MarkupReader mReader;
    SpokenText mBuffer;
    int mPosition = 0; // start of the next sentence in mBuffer
    std::deque<SpeechPiece> mPending;
};

// All pieces of a text at once.
QList<SpeechPiece> speechPieces(const QString& source, bool markup);
