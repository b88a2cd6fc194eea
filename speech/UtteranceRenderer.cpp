#include "speech/UtteranceRenderer.h"

#include "speech/Visemes.h"
#include "speech/WordAligner.h"

#include <algorithm>

namespace {

constexpr qint64 BytesPerSecond = Synthesis::SampleRate * 2;
// After the first sound of a sentence, its audio goes out early in stretches of at least this much.
constexpr qint64 PartialBytes = BytesPerSecond / 2;

// Events at one audio position come in the order a listener meets them.
int rank(SpeechEvent::Type type)
{
    switch (type) {
    case SpeechEvent::StartStream:
        return 0;
    case SpeechEvent::Sentence:
        return 1;
    case SpeechEvent::Word:
        return 2;
    case SpeechEvent::Viseme:
        return 3;
    case SpeechEvent::EndStream:
        return 4;
    }
    return 5;
}

int millisecondsOf(qint64 samples)
{
    return int(samples * 1000 / Synthesis::SampleRate);
}

} // namespace

std::vector<SpeechEvent> pieceEvents(const SpeechPiece& piece, const Synthesis& synthesis, int stream, qint64 base)
{
    std::vector<SpeechEvent> events;
    const qint64 samples = synthesis.samples();
    auto add = [&](SpeechEvent::Type type, qint64 sample) -> SpeechEvent& {
        SpeechEvent event;
        event.type = type;
        event.stream = stream;
        event.audioPosition = base + std::clamp<qint64>(sample, 0, samples) * 2;
        events.push_back(event);
        return events.back();
    };

    if (piece.startsSentence && piece.sentence.length > 0) {
        SpeechEvent& sentence = add(SpeechEvent::Sentence, 0);
        sentence.position = piece.sentence.start;
        sentence.length = piece.sentence.length;
    }

    const QList<TextSpan> words = findWords(piece.text);
    const CodePointIndex index(piece.text);
    std::vector<WordMark> marks;
    marks.reserve(synthesis.words.size());
    for (const WordMark& raw : synthesis.words)
        marks.push_back({index.unitIndex(raw.position), index.unitLength(raw.position, raw.length), raw.sample});
    const std::vector<qint64> starts = alignWords(words, marks, int(piece.text.size()), synthesis.speechEnd);
    for (int i = 0; i < words.size(); ++i) {
        const TextSpan span = piece.sourceSpan(words[i]);
        SpeechEvent& word = add(SpeechEvent::Word, starts[i]);
        word.position = span.start;
        word.length = span.length;
    }

    std::vector<std::pair<qint64, int>> shapes;
    for (const PhonemeMark& phoneme : synthesis.phonemes) {
        const int viseme =
            phoneme.viseme >= 0 ? phoneme.viseme : visemeForPhoneme(std::string_view(phoneme.name.data()));
        if (viseme >= 0)
            shapes.emplace_back(std::clamp<qint64>(phoneme.sample, 0, samples), viseme);
    }
    for (size_t i = 0; i < shapes.size(); ++i) {
        const bool last = i + 1 == shapes.size();
        const qint64 until = last ? samples : shapes[i + 1].first;
        SpeechEvent& viseme = add(SpeechEvent::Viseme, shapes[i].first);
        viseme.viseme = shapes[i].second;
        viseme.nextViseme = last ? VisemeSilence : shapes[i + 1].second;
        viseme.duration = millisecondsOf(std::max<qint64>(until - shapes[i].first, 0));
    }

    std::stable_sort(events.begin(), events.end(), [](const SpeechEvent& a, const SpeechEvent& b) {
        if (a.audioPosition != b.audioPosition)
            return a.audioPosition < b.audioPosition;
        return rank(a.type) < rank(b.type);
    });
    return events;
}

UtteranceRenderer::UtteranceRenderer(int stream, const QString& text, bool markup, const QString& voice, bool live)
    : mStream(stream), mVoice(voice), mLive(live), mReader(text, markup)
{
}

void UtteranceRenderer::addEvent(AudioChunk& chunk, SpeechEvent::Type type, qint64 byte) const
{
    SpeechEvent event;
    event.type = type;
    event.stream = mStream;
    event.audioPosition = byte;
    chunk.events.push_back(event);
}

void UtteranceRenderer::prepare(Synthesizer& synthesizer, int wordsPerMinute) const
{
    if (!synthesizer.setVoice(mVoice))
        synthesizer.setVoice({});
    synthesizer.setWordsPerMinute(wordsPerMinute);
}

bool UtteranceRenderer::nextPart(Synthesizer& synthesizer, int wordsPerMinute, Part& part)
{
    if (!mParts.empty()) {
        part = std::move(mParts.front());
        mParts.pop_front();
        return true;
    }
    if (!mReader.next(part.piece))
        return false;
    SpeechPiece& piece = part.piece;
    part.endPause = piece.endsSentence;
    if (piece.kind != SpeechPiece::Text)
        return true;
    prepare(synthesizer, wordsPerMinute);
    const std::vector<Synthesizer::Cut> cuts = synthesizer.parts(piece.text, mLive && mOffset == 0);
    // Each part keeps the source positions of its letters; the sentence starts with the first and ends with the last.
    qsizetype start = 0;
    for (size_t i = 0; i <= cuts.size(); ++i) {
        const qsizetype end = i < cuts.size() ? std::clamp(cuts[i].end, start, piece.text.size()) : piece.text.size();
        if (end == start)
            continue;
        Part made;
        made.piece.text = piece.text.mid(start, end - start);
        made.piece.from = piece.from.mid(start, end - start);
        made.piece.to = piece.to.mid(start, end - start);
        made.piece.startsSentence = start == 0 && piece.startsSentence;
        made.piece.sentence = piece.sentence;
        made.piece.endsSentence = end == piece.text.size() && piece.endsSentence;
        made.piece.sourceEnd = end == piece.text.size() ? piece.sourceEnd : made.piece.to.last();
        made.endPause = i < cuts.size() ? cuts[i].pause : part.endPause;
        mParts.push_back(std::move(made));
        start = end;
    }
    if (mParts.empty())
        return true;
    part = std::move(mParts.front());
    mParts.pop_front();
    return true;
}

bool UtteranceRenderer::next(Synthesizer& synthesizer, int wordsPerMinute, AudioChunk& chunk,
                             const std::function<bool()>& cancelled, const Partial& partial)
{
    chunk = AudioChunk();
    chunk.stream = mStream;
    chunk.offset = mOffset;
    if (mFinished)
        return false;
    if (!mStarted) {
        addEvent(chunk, SpeechEvent::StartStream, mOffset);
        mStarted = true;
    }

    if (mSilenceLeft == 0) {
        Part part;
        if (!nextPart(synthesizer, wordsPerMinute, part)) {
            addEvent(chunk, SpeechEvent::EndStream, mOffset);
            chunk.ends = true;
            chunk.progress = 1;
            mFinished = true;
            return true;
        }
        const SpeechPiece& piece = part.piece;
        const double before = mProgress;
        mProgress = mReader.sourceLength() > 0 ? double(piece.sourceEnd) / mReader.sourceLength() : 1.0;
        if (piece.kind == SpeechPiece::Silence) {
            mSilenceLeft = (qint64(piece.msec) * BytesPerSecond / 1000) & ~qint64(1);
            SpeechEvent rest;
            rest.type = SpeechEvent::Viseme;
            rest.stream = mStream;
            rest.audioPosition = mOffset;
            rest.duration = piece.msec;
            chunk.events.push_back(rest);
        } else {
            prepare(synthesizer, wordsPerMinute);
            Synthesis synthesis;
            qint64 sent = 0;
            auto grown = [&](const Synthesis& sofar) {
                const qint64 ready = sofar.pcm.size() - sent;
                if (!partial || ready <= 0 || (sent > 0 && ready < PartialBytes))
                    return;
                AudioChunk early;
                early.stream = mStream;
                early.offset = mOffset + sent;
                early.pcm = sofar.pcm.mid(sent, ready);
                early.progress = before;
                early.events.swap(chunk.events); // the StartStream of a first sentence goes out with its sound
                sent += ready;
                partial(std::move(early));
            };
            const bool awaited = mLive && mOffset == 0;
            if (!synthesizer.synthesize(piece.text, part.endPause, awaited, synthesis, cancelled, grown))
                return false;
            for (const SpeechEvent& event : pieceEvents(piece, synthesis, mStream, mOffset))
                chunk.events.push_back(event);
            chunk.offset = mOffset + sent;
            chunk.pcm = synthesis.pcm.mid(sent);
            mOffset += synthesis.pcm.size();
            chunk.progress = mProgress;
            return true;
        }
    }

    // Long silences go out a second at a time, so a purge never waits behind them.
    const qint64 bytes = std::min(mSilenceLeft, BytesPerSecond);
    chunk.pcm = QByteArray(bytes, '\0');
    mSilenceLeft -= bytes;
    mOffset += bytes;
    chunk.progress = mProgress;
    return true;
}
