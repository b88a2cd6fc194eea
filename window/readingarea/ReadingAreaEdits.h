#pragma once

#include <QString>

class QTextDocument;
class QTextEdit;

// Changes of the whole reading area that Undo takes back in one step, as it does a word typed: Clear, text
// that replaces the reading area's, a document opened over it. Each leaves the caret at the start.

// Empties the reading area.
void ClearReadingAreaText(QTextEdit* readingArea);
// Replaces the reading area's text with plain text, without the formatting the old text had.
void ReplaceReadingAreaText(QTextEdit* readingArea, const QString& text);
// Replaces the reading area's content with `content`'s, its fonts, colours and paragraphs kept.
void ReplaceReadingAreaContent(QTextEdit* readingArea, const QTextDocument& content);
// Adds plain text at the end of the reading area, in a paragraph of its own; where the added text starts.
int AppendReadingAreaText(QTextEdit* readingArea, const QString& text);
