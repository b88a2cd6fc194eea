#pragma once

#include "formats/DocumentFormats.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

// Turns the lines of text on a PDF's pages into the paragraphs a listener expects: running headers, footers and
// page numbers left out, the lines of a paragraph flowing into one, words broken by a hyphen at a line end made
// whole again. Knows nothing of PDF itself, so it is tested with lines made by hand.

// One line of text as it stands on the page, in points from the page's top left corner.
struct PdfLine
{
    QString text;
    QRectF box;
    bool startsParagraph = false; // recognised text: the recogniser found a paragraph beginning here
};

struct PdfPageText
{
    QSizeF size;
    QList<PdfLine> lines; // in reading order
};

// The paragraphs of the pages in order; a paragraph set in a larger type than the body is a heading.
TextBlocks paragraphsFromPages(const QList<PdfPageText>& pages);

// Ligatures (U+FB00 to U+FB06) written out as their letters, which the voice reads.
QString expandLigatures(const QString& text);
