#pragma once

#include "speech/SpeechEngine.h"
#include "speech/WordAligner.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <vector>

// A phoneme as the synthesiser reported it: its mnemonic, the sample where it starts and, when the synthesiser
// knows it, the mouth shape (viseme) it shows; -1 leaves that to the espeak-ng phoneme table.
struct PhonemeMark
{
    std::array<char, 9> name{};
    qint64 sample = 0;
    int viseme = -1;
};

// What a synthesiser made of one piece of text.
struct Synthesis
{
    static constexpr int SampleRate = 22050;
    QByteArray pcm;              // 16-bit signed mono samples at SampleRate
    std::vector<WordMark> words; // 1-based code points of the piece, as espeak-ng counts them
    std::vector<PhonemeMark> phonemes;
    qint64 speechEnd = 0; // the sample where the closing pause begins
    qint64 samples() const { return pcm.size() / 2; }
};

// What turns text into speech for a SynthesisEngine. The engine's synthesis thread is the only one that calls it,
// after start() succeeded, so a library with global state needs no lock of its own.
class Synthesizer
{
public:
    virtual ~Synthesizer() = default;
    // Throws SpeechError when the library cannot start (its data or voices are missing).
    virtual void start() = 0;
    virtual void stop() {}
    virtual QList<EngineVoice> voices() = 0;
    // Selects the voice by its id (empty for the default one); false when it is not installed.
    virtual bool setVoice(const QString& id) = 0;
    virtual void setWordsPerMinute(int wordsPerMinute) = 0;
    // Where a part of a piece of text ends: `end` UTF-16 units into it, after a word; `pause` when speech pauses
    // there (a phrase ends), else the words run on into the next part.
    struct Cut
    {
        qsizetype end = 0;
        bool pause = false;
    };
    // Where the synthesiser would rather make a piece of text in parts, each synthesised on its own, in order; the
    // utterance can be stopped between any two. Empty (the default) keeps the piece whole: a synthesiser that makes
    // a sentence in a few milliseconds needs no parts. `awaited` as for synthesize.
    virtual std::vector<Cut> parts(const QString& text, bool awaited)
    {
        Q_UNUSED(text);
        Q_UNUSED(awaited);
        return {};
    }
    // Synthesises a piece of plain text. `grown` is told each time audio has been added to `out`; `cancelled` is
    // asked then, and when it answers true synthesis stops and this returns false. `endPause`: the piece closes with
    // the pause that ends a sentence or phrase; without it the words run on into the next piece. `awaited` says a
    // listener is waiting for the piece's first sound.
    virtual bool synthesize(const QString& text, bool endPause, bool awaited, Synthesis& out,
                            const std::function<bool()>& cancelled,
                            const std::function<void(const Synthesis&)>& grown) = 0;
};
