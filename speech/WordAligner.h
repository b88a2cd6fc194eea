#pragma once

#include "core/TextSegmentation.h"

#include <QList>
#include <vector>

// A word boundary as the synthesiser reported it: where in the text (UTF-16 units) and at which audio sample.
struct WordMark
{
    int position = 0;
    int length = 0;
    qint64 sample = 0;
};

// The synthesiser's word marks are unreliable: some words get none ("the" after "of"), some several (a number
// read as four words), some one for two ("well-known"), and marks may point at the blank after a word. This
// gives every word exactly one start sample, in order: marks are attributed to the word they fall in (a mark on
// a blank belongs to the word before it, unless it reaches into the next), duplicates keep the earliest, marks
// that would run backwards are dropped, and words left without a mark are placed between their neighbours in
// proportion to their position in the text. `speechEnd` is the sample where speech ends, at text position
// `textLength`. The result is non-decreasing and lies within 0..speechEnd.
std::vector<qint64> alignWords(const QList<TextSpan>& words, const std::vector<WordMark>& marks, int textLength,
                               qint64 speechEnd);

// Converts the 1-based code-point positions the synthesiser reports into UTF-16 indexes of `text`
// (a character outside the Basic Multilingual Plane counts one code point but two units).
class CodePointIndex
{
public:
    explicit CodePointIndex(QStringView text);
    // The UTF-16 index of the code point at 1-based position `position`, clamped to the text.
    int unitIndex(int position) const;
    // The UTF-16 length of `count` code points starting at 1-based position `position`.
    int unitLength(int position, int count) const;

private:
    std::vector<int> mUnits; // unit index of each code point, plus the text length
};
