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

PieceReader::PieceReader(const QString& source, bool markup) : FReader(source, markup) {}

bool PieceReader::next(SpeechPiece& piece)
{
    while (FPending.empty()) {
        if (FPosition >= FBuffer.text.size() && FBuffer.silences.isEmpty() && FReader.atEnd())
            return false;
        readSentence();
    }
    piece = std::move(FPending.front());
    FPending.pop_front();
    return true;
}

void PieceReader::readSentence()
{
    int end = -1;
    while (true) {
        if (FPosition >= FBuffer.text.size() && !FReader.atEnd()) {
            FReader.read(FBuffer, ReadAhead);
            continue;
        }
        end = findSentenceEnd(FBuffer.text, FPosition, FReader.atEnd(), MaxSentenceLength);
        if (end >= 0)
            break;
        FReader.read(FBuffer, ReadAhead);
    }
    const int size = int(FBuffer.text.size());
    const bool last = end >= size && FReader.atEnd();

    int first = FPosition;
    while (first < end && FBuffer.text[first].isSpace())
        ++first;
    int after = end;
    while (after > first && FBuffer.text[after - 1].isSpace())
        --after;
    TextSpan sentence;
    if (after > first)
        sentence = {FBuffer.from[first], FBuffer.to[after - 1] - FBuffer.from[first]};

    bool firstText = true;
    int position = FPosition;
    QList<SpokenText::Silence> laterSilences;
    for (const SpokenText::Silence& silence : std::as_const(FBuffer.silences)) {
        if (silence.at < FPosition || silence.at > end || (silence.at == end && !last)) {
            laterSilences.append(silence);
            continue;
        }
        addText(position, silence.at, firstText, sentence);
        SpeechPiece pause;
        pause.kind = SpeechPiece::Silence;
        pause.msec = silence.msec;
        pause.sourceEnd = silence.at < size ? FBuffer.from[silence.at] : FReader.position();
        FPending.push_back(std::move(pause));
        position = silence.at;
    }
    FBuffer.silences = laterSilences;
    addText(position, end, firstText, sentence);
    for (auto piece = FPending.rbegin(); piece != FPending.rend(); ++piece) {
        if (piece->kind == SpeechPiece::Text) {
            piece->endsSentence = true;
            break;
        }
    }

    FPosition = end;
    if (FPosition >= CompactAfter) {
        FBuffer.removeFront(FPosition);
        FPosition = 0;
    }
}

void PieceReader::addText(int from, int to, bool& first, const TextSpan& sentence)
{
    const QString& text = FBuffer.text;
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
            piece.from = FBuffer.from.mid(start, stop - start);
            piece.to = FBuffer.to.mid(start, stop - start);
            piece.startsSentence = first;
            piece.sentence = first ? sentence : TextSpan{};
            piece.sourceEnd = piece.to.last();
            first = false;
            FPending.push_back(std::move(piece));
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
