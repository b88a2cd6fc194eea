#pragma once

#include <QIODevice>
#include <QString>

// The text the reading area holds after opening the document at `path` (its toPlainText()), loaded as the
// window loads it. Throws CliFailure: an input error naming the file and the reason when it cannot be read or
// converted, an engine failure when the word processor is missing.
QString DocumentText(const QString& path);

// The article of a saved web page (.htm, .html), as "Read web page" reads it, one paragraph a line. Nothing is
// fetched from the network. Throws CliFailure (input error) naming the file and the reason when the page cannot
// be loaded or has no text.
QString ArticleText(const QString& path);

// Text given on standard input, decoded and broken into paragraphs as a plain-text document would be.
// Throws CliFailure (input error) when it cannot be read.
QString TextFromInput(QIODevice& input);
