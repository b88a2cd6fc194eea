#pragma once

#include "formats/DocumentFormats.h"

#include <QByteArray>

// The text of an EPUB book (EPUB 2 or 3): its chapters in the order of the spine, each heading and paragraph a
// paragraph of its own; scripts, styles and the head of a page are never read.

// Throws UnreadableDocument when the book is damaged, protected against copying, unreasonably large when
// unpacked (a zip bomb) or holds no text; ReadCancelled when `progress` asks to stop.
TextBlocks readEpub(const QString& path, ReadProgress* progress = nullptr);

// The paragraphs of one XHTML page. Pages that are not well-formed XML are read leniently.
TextBlocks xhtmlParagraphs(const QByteArray& page);
