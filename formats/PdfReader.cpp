#include "formats/PdfReader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <poppler-qt6.h>

#include <QThread>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kPagesWorthAThread = 16;
constexpr int kMostThreads = 4;

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
            UnreadableDocument::Reason::PasswordProtected,
            QCoreApplication::translate("PdfReader", "\"%1\" is protected by a password, so it cannot be read.")
                .arg(displayName(path)));
    if (!document || document->numPages() <= 0)
        throw UnreadableDocument(UnreadableDocument::Reason::Damaged,
                                 QCoreApplication::translate(
                                     "PdfReader", "\"%1\" is damaged or is not a PDF document, so it cannot be read.")
                                     .arg(displayName(path)));
    const int count = document->numPages();
    if (progress)
        progress->total = count;
    QList<PdfPageText> pages(count);
    std::atomic<int> damagedPage{-1};
    std::atomic<bool> cancelled{false};
    // Poppler spends nearly all the time laying out each page's words; pages are independent, so several
    // threads share them, each with its own copy of the document (one document is not to be shared).
    const auto readEvery = [&](Poppler::Document& own, int first, int step) {
        for (int i = first; i < count && damagedPage < 0 && !cancelled; i += step) {
            if (progress && progress->stop) {
                cancelled = true;
                return;
            }
            const std::unique_ptr<Poppler::Page> page = own.page(i);
            if (!page) {
                damagedPage = i;
                return;
            }
            pages[i] = pageText(*page);
            if (progress)
                ++progress->done;
        }
    };
    const int threads = count < kPagesWorthAThread ? 1 : std::clamp(QThread::idealThreadCount(), 1, kMostThreads);
    std::vector<std::thread> helpers;
    std::vector<std::unique_ptr<Poppler::Document>> copies;
    for (int t = 1; t < threads; ++t) {
        std::unique_ptr<Poppler::Document> copy = Poppler::Document::load(path);
        if (!copy || copy->isLocked() || copy->numPages() != count)
            break;
        copies.push_back(std::move(copy));
    }
    const int step = int(copies.size()) + 1;
    for (int t = 0; t < int(copies.size()); ++t)
        helpers.emplace_back(readEvery, std::ref(*copies[t]), t + 1, step);
    readEvery(*document, 0, step);
    for (std::thread& helper : helpers)
        helper.join();
    if (cancelled)
        throw ReadCancelled();
    if (damagedPage >= 0)
        throw UnreadableDocument(UnreadableDocument::Reason::Damaged,
                                 QCoreApplication::translate(
                                     "PdfReader", "\"%1\" is damaged (page %2 cannot be read), so it cannot be read.")
                                     .arg(displayName(path))
                                     .arg(damagedPage + 1));
    return pages;
}

TextBlocks readPdf(const QString& path, ReadProgress* progress)
{
    const QList<PdfPageText> pages = readPdfPages(path, progress);
    TextBlocks blocks = paragraphsFromPages(pages);
    if (blocks.isEmpty())
        throw UnreadableDocument(UnreadableDocument::Reason::NoText,
                                 QCoreApplication::translate(
                                     "PdfReader", "\"%1\" has no text to read: its pages are pictures, as in a scan. "
                                                  "Parlivo can only read a PDF that holds text.")
                                     .arg(displayName(path)));
    return blocks;
}
