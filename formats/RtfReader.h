#pragma once

#include <QByteArrayView>

class QTextDocument;

// True when the bytes begin, after any white space, with "{\rtf", the mark of a rich text file.
bool isRtf(QByteArrayView data);

struct RtfReadLimits
{
    // Groups nested deeper than this keep the formatting of the deepest group tracked; their text still
    // arrives. The reader never recurses, so the limit bounds memory, not the stack.
    int maxDepth = 1000;
    // Longest font name and field instruction kept, in characters.
    int maxNameLength = 1024;
};

// Replaces the content of `document` with the rich text in `data`: paragraphs, line breaks, tabs, fonts,
// sizes, bold, italic, underline, strike-out, super- and subscript, text and highlight colours,
// alignment, indents and paragraph spacing, and hyperlinks (kept as anchors over their visible text).
// Pictures, headers, footers, footnotes, style sheets, document information and unknown destinations
// are skipped. Malformed or hostile input never throws: whatever text can be recovered is kept.
// Runs in time linear in the size of `data`.
void readRtf(QByteArrayView data, QTextDocument* document, const RtfReadLimits& limits = {});
