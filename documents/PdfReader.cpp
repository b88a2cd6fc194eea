#include "documents/PdfReader.h"

#include <QFileInfo>
#include <poppler-qt6.h>

#include <memory>
#include <mutex>

namespace {

QString displayName(const QString& path)
{
    return QFileInfo(path).fileName();
}

// Poppler reports every oddity of a file on standard error; the user hears of it through our own messages.
void silencePoppler()
{
    static std::once_flag once;
    std::call_once(once, [] { Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant()); });
}

PdfPageText pageText(const Poppler::Page& page)
{
    PdfPageText result;
    result.size = page.pageSizeF();
    const std::vector<std::unique_ptr<Poppler::TextBox>> words = page.textList();
    PdfLine line;
    for (const std::unique_ptr<Poppler::TextBox>& word : words) {
        line.text += expandLigatures(word->text());
        line.box = line.box.isNull() ? word->boundingBox() : line.box.united(word->boundingBox());
        // Poppler links the words of one line; the last word of a line has no next word.
        if (word->nextWord()) {
            if (word->hasSpaceAfter())
                line.text += QLatin1Char(' ');
        } else {
            result.lines << line;
            line = PdfLine();
        }
    }
    if (!line.text.isEmpty())
        result.lines << line;
    return result;
}

} // namespace

QList<PdfPageText> readPdfPages(const QString& path, ReadProgress* progress)
{
    silencePoppler();
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    // A locked document has no pages to count yet: asking crashes Poppler.
    if (document && document->isLocked())
        throw UnreadableDocument(
            UnreadableDocument::Reason::Protected,
            QStringLiteral("\"%1\" is protected by a password, so it cannot be read.").arg(displayName(path)));
    if (!document || document->numPages() <= 0)
        throw UnreadableDocument(
            UnreadableDocument::Reason::Damaged,
            QStringLiteral("\"%1\" is damaged or is not a PDF document, so it cannot be read.").arg(displayName(path)));
    const int count = document->numPages();
    if (progress)
        progress->total = count;
    QList<PdfPageText> pages;
    pages.reserve(count);
    for (int i = 0; i < count; ++i) {
        if (progress && progress->stop)
            throw ReadCancelled();
        const std::unique_ptr<Poppler::Page> page = document->page(i);
        if (!page)
            throw UnreadableDocument(UnreadableDocument::Reason::Damaged,
                                     QStringLiteral("\"%1\" is damaged (page %2 cannot be read), so it cannot be read.")
                                         .arg(displayName(path))
                                         .arg(i + 1));
        pages << pageText(*page);
        if (progress)
            progress->done = i + 1;
    }
    return pages;
}

TextBlocks readPdf(const QString& path, ReadProgress* progress)
{
    const QList<PdfPageText> pages = readPdfPages(path, progress);
    TextBlocks blocks = paragraphsFromPages(pages);
    if (blocks.isEmpty())
        throw UnreadableDocument(UnreadableDocument::Reason::NoText,
                                 QStringLiteral("\"%1\" has no text to read: its pages are pictures, as in a scan. "
                                                "Parlivo can only read a PDF that holds text.")
                                     .arg(displayName(path)));
    return blocks;
}
