#include "speech/SpeechPieces.h"

namespace {

// How much of the text as given is read at a time.
constexpr int ReadAhead = 2048;
// The spoken buffer is shifted down once this much of it has been cut into pieces.
constexpr int CompactAfter = 8192;

} // namespace

TextSpan SpeechPiece::sourceSpan(TextSpan span) const
{
    if (span.length <= 0 || span.start < 0 || span.end() > text.size())
        return {};
    return {from[span.start], to[span.end() - 1] - from[span.start]};
}

PieceReader::PieceReader(const QString& source, bool markup) : mReader(source, markup) {}

bool PieceReader::next(SpeechPiece& piece)
{
    while (mPending.empty()) {
        if (mPosition >= mBuffer.text.size() && mBuffer.silences.isEmpty() && mReader.atEnd())
            return false;
        readSentence();
    }
    piece = std::move(mPending.front());
    mPending.pop_front();
    return true;
}

void PieceReader::readSentence()
{
    int end = -1;
    while (true) {
        if (mPosition >= mBuffer.text.size() && !mReader.atEnd()) {
            mReader.read(mBuffer, ReadAhead);
            continue;
        }
        end = findSentenceEnd(mBuffer.text, mPosition, mReader.atEnd(), MaxSentenceLength);
        if (end >= 0)
            break;
        mReader.read(mBuffer, ReadAhead);
    }
    const int size = int(mBuffer.text.size());
    const bool last = end >= size && mReader.atEnd();

    int first = mPosition;
    while (first < end && mBuffer.text[first].isSpace())
        ++first;
    int after = end;
    while (after > first && mBuffer.text[after - 1].isSpace())
        --after;
    TextSpan sentence;
    if (after > first)
        sentence = {mBuffer.from[first], mBuffer.to[after - 1] - mBuffer.from[first]};

    bool firstText = true;
    int position = mPosition;
    QList<SpokenText::Silence> laterSilences;
    for (const SpokenText::Silence& silence : std::as_const(mBuffer.silences)) {
        if (silence.at < mPosition || silence.at > end || (silence.at == end && !last)) {
            laterSilences.append(silence);
            continue;
        }
        addText(position, silence.at, firstText, sentence);
        SpeechPiece pause;
        pause.kind = SpeechPiece::Silence;
        pause.msec = silence.msec;
        pause.sourceEnd = silence.at < size ? mBuffer.from[silence.at] : mReader.position();
        mPending.push_back(std::move(pause));
        position = silence.at;
    }
    mBuffer.silences = laterSilences;
    addText(position, end, firstText, sentence);
    for (auto piece = mPending.rbegin(); piece != mPending.rend(); ++piece) {
        if (piece->kind == SpeechPiece::Text) {
            piece->endsSentence = true;
            break;
        }
    }

    mPosition = end;
    if (mPosition >= CompactAfter) {
        mBuffer.removeFront(mPosition);
        mPosition = 0;
    }
}

void PieceReader::addText(int from, int to, bool& first, const TextSpan& sentence)
{
    const QString& text = mBuffer.text;
    while (from < to && text[from].isSpace())
        ++from;
    while (to > from && text[to - 1].isSpace())
        --to;
    if (to <= from)
        return;
    int start = from;
    for (int end : splitLongSentence(text, {from, to - from}, PieceLength)) {
        int stop = end;
        while (stop > start && text[stop - 1].isSpace())
            --stop;
        if (stop > start) {
            SpeechPiece piece;
            piece.text = text.mid(start, stop - start);
            piece.from = mBuffer.from.mid(start, stop - start);
            piece.to = mBuffer.to.mid(start, stop - start);
            piece.startsSentence = first;
            piece.sentence = first ? sentence : TextSpan{};
            piece.sourceEnd = piece.to.last();
            first = false;
            mPending.push_back(std::move(piece));
        }
        start = end;
        while (start < to && text[start].isSpace())
            ++start;
    }
}

QList<SpeechPiece> speechPieces(const QString& source, bool markup)
{
    QList<SpeechPiece> pieces;
    PieceReader reader(source, markup);
    SpeechPiece piece;
    while (reader.next(piece))
        pieces.append(piece);
    return pieces;
}
