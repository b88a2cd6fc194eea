#pragma once

#include "formats/DocumentFormats.h"
#include "formats/PdfLayout.h"

// The text layer of a PDF, read through Poppler.

// The lines of every page in reading order. Throws UnreadableDocument when the file is damaged or needs a
// password, ReadCancelled when `progress` asks to stop.
QList<PdfPageText> readPdfPages(const QString& path, ReadProgress* progress = nullptr);

// The document's paragraphs (see paragraphsFromPages), the text of pages without a text layer (scans)
// recognised in their pictures. Throws UnreadableDocument also when no page holds any text, ReadCancelled when
// `progress` asks to stop. Recognised pages that may be misread are added to progress->doubtfulPages.
TextBlocks readPdf(const QString& path, ReadProgress* progress = nullptr);
