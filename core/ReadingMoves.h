#pragma once

#include "core/TextSegmentation.h"

#include <QStringView>
#include <optional>

// The moves a learner makes through a reading.
enum class ReadingMove
{
    PreviousSentence,
    NextSentence,
    SentenceAgain,
    PreviousParagraph,
    NextParagraph,
};

// Where a move from `position` lands in `text` (paragraphs end at '\n'): the sentence or paragraph to read from,
// without the blanks around it. The sentence or paragraph holding `position` is the current one; the previous one
// of the first is the first itself. Nothing when there is nothing to move to (past the last, or a blank text).
std::optional<TextSpan> readingMoveTarget(QStringView text, int position, ReadingMove move);

// The word at `position` (or the blank-free stretch that starts there); a position in blanks gives an empty span
// there. What "read from here" starts with.
TextSpan wordAt(QStringView text, int position);
