#pragma once

#include <QList>
#include <QStringView>

// A stretch of text: start index and length, in UTF-16 units.
struct TextSpan
{
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    bool operator==(const TextSpan&) const = default;
};

// The words of a text as the reader highlights them: runs between blanks, without the punctuation around them
// ("(well-known," gives "well-known"), keeping the closing stop of an abbreviation ("e.g." stays whole). A run of
// punctuation alone is no word; symbols and emoji are.
QList<TextSpan> findWords(QStringView text);

// Where the sentence that begins at or after `from` ends: the index after its closing punctuation (and any
// closing quotes or brackets), after the line break that ends a line, or the end of the text. A full stop
// followed by a lower-case word, or after an initial or a title such as "Mr", ends nothing. Returns -1 when
// `complete` is false and the text runs out before the end is certain. A sentence longer than `maxLength`
// ends at its last blank before that length.
int findSentenceEnd(QStringView text, int from, bool complete, int maxLength = 1000);

// The sentences of a complete text, each without the blanks around it.
QList<TextSpan> findSentences(QStringView text);

// Splits a long sentence into pieces of about `target` units for the synthesiser: after a comma, semicolon or
// colon where there is one, else at a blank. Returns the piece ends, the last one being span.end().
QList<int> splitLongSentence(QStringView text, TextSpan span, int target);
