#pragma once

#include "formats/DocumentFormats.h"
#include "formats/PdfLayout.h"

// The text layer of a PDF, read through Poppler.

// The lines of every page in reading order. Throws UnreadableDocument when the file is damaged or needs a
// password, ReadCancelled when `progress` asks to stop.
QList<PdfPageText> readPdfPages(const QString& path, ReadProgress* progress = nullptr);

// The document's paragraphs (see paragraphsFromPages). Throws UnreadableDocument also when no page holds any
// text, as with scanned pages.
TextBlocks readPdf(const QString& path, ReadProgress* progress = nullptr);
