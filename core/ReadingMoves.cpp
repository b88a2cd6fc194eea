#include "core/ReadingMoves.h"

#include <QList>

namespace {

// The paragraphs of a text that hold more than blanks, each without the blanks around it.
QList<TextSpan> findParagraphs(QStringView text)
{
    QList<TextSpan> paragraphs;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QStringView line = text.sliced(start, end - start);
        const QStringView trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            paragraphs.append({int(start + (trimmed.data() - line.data())), int(trimmed.size())});
        start = end + 1;
    }
    return paragraphs;
}

// The span before, at or after the one holding `position`: the last that starts at or before it.
std::optional<TextSpan> stepFrom(const QList<TextSpan>& spans, int position, int step)
{
    if (spans.isEmpty())
        return std::nullopt;
    qsizetype current = 0;
    while (current + 1 < spans.size() && spans.at(current + 1).start <= position)
        ++current;
    const qsizetype target = qMax<qsizetype>(0, current + step);
    if (target >= spans.size())
        return std::nullopt;
    return spans.at(target);
}

} // namespace

std::optional<TextSpan> readingMoveTarget(QStringView text, int position, ReadingMove move)
{
    switch (move) {
    case ReadingMove::PreviousSentence:
        return stepFrom(findSentences(text), position, -1);
    case ReadingMove::NextSentence:
        return stepFrom(findSentences(text), position, 1);
    case ReadingMove::SentenceAgain:
        return stepFrom(findSentences(text), position, 0);
    case ReadingMove::PreviousParagraph:
        return stepFrom(findParagraphs(text), position, -1);
    case ReadingMove::NextParagraph:
        return stepFrom(findParagraphs(text), position, 1);
    }
    return std::nullopt;
}

TextSpan wordAt(QStringView text, int position)
{
    position = qBound(0, position, int(text.size()));
    for (const TextSpan& word : findWords(text)) {
        if (word.start > position)
            break;
        if (position < word.end())
            return word;
    }
    return {position, 0};
}
