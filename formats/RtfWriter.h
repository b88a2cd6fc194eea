#pragma once

#include <QByteArray>

class QTextDocument;

// The document as rich text that word processors open with the same look: one \par per paragraph,
// fonts, sizes, bold, italic, underline, strike-out, super- and subscript, text and highlight colours,
// alignment, indents, paragraph spacing and hyperlinks. Characters outside ASCII are written as \uN with
// a Windows-1252 fallback for older readers. Text without an explicit font or size gets the
// document's default font, so other programs show it as it looks here.
QByteArray writeRtf(const QTextDocument* document);
