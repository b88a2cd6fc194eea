#include "formats/PdfReader.h"

#include "formats/TextRecognition.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <poppler-qt6.h>

#include <QThread>

#include <algorithm>
#include <cmath>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int PagesWorthAThread = 16;
constexpr int MostThreads = 4;
// Scanned pages are rendered at the resolution recognition reads best, within a bound on the pixels of a page.
constexpr double ScanDpi = 300;
constexpr double MostScanPixels = 40'000'000;

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
    const int threads = count < PagesWorthAThread ? 1 : std::clamp(QThread::idealThreadCount(), 1, MostThreads);
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

namespace {

// The pages without a text layer (scans) filled with their recognised text, in points as the others are.
void recogniseScannedPages(const QString& path, QList<PdfPageText>& pages, ReadProgress* progress)
{
    QList<int> scanned;
    for (int i = 0; i < pages.size(); ++i) {
        if (pages[i].lines.isEmpty())
            scanned << i;
    }
    if (scanned.isEmpty())
        return;
    // One Poppler document for each thread that renders at a time: a document is not to be shared.
    std::mutex poolMutex;
    std::vector<std::unique_ptr<Poppler::Document>> pool;
    const auto render = [&](int index) {
        std::unique_ptr<Poppler::Document> document;
        {
            const std::lock_guard lock(poolMutex);
            if (!pool.empty()) {
                document = std::move(pool.back());
                pool.pop_back();
            }
        }
        if (!document)
            document = Poppler::Document::load(path);
        if (!document || document->isLocked())
            throw UnreadableDocument(UnreadableDocument::Reason::Damaged,
                                     QStringLiteral("\"%1\" is damaged, so it cannot be read.").arg(displayName(path)));
        document->setRenderHint(Poppler::Document::Antialiasing);
        document->setRenderHint(Poppler::Document::TextAntialiasing);
        QImage image;
        if (const std::unique_ptr<Poppler::Page> page = document->page(scanned[index])) {
            const QSizeF inches = page->pageSizeF() / 72.0;
            const double area = std::max(inches.width() * inches.height(), 1e-6);
            const double dpi = std::min(ScanDpi, std::sqrt(MostScanPixels / area));
            image = page->renderToImage(dpi, dpi);
            image.setDotsPerMeterX(qRound(dpi / 0.0254));
            image.setDotsPerMeterY(qRound(dpi / 0.0254));
        }
        const std::lock_guard lock(poolMutex);
        pool.push_back(std::move(document));
        return image;
    };
    const QList<RecognisedPage> recognised =
        recognisePictures(int(scanned.size()), render, recognitionLanguage(), progress);
    for (int s = 0; s < scanned.size(); ++s) {
        PdfPageText& page = pages[scanned[s]];
        const QSizeF pixels = recognised[s].text.size;
        if (pixels.isEmpty() || page.size.isEmpty())
            continue;
        const double scale = page.size.width() / pixels.width();
        for (PdfLine line : recognised[s].text.lines) {
            line.box = QRectF(line.box.topLeft() * scale, line.box.size() * scale);
            page.lines << line;
        }
        // A turned scan stands upright now: its size follows the recognised picture.
        page.size = pixels * scale;
        if (progress && recognised[s].doubtful())
            progress->doubtfulPages << scanned[s] + 1;
    }
}

} // namespace

TextBlocks readPdf(const QString& path, ReadProgress* progress)
{
    QList<PdfPageText> pages = readPdfPages(path, progress);
    recogniseScannedPages(path, pages, progress);
    TextBlocks blocks = paragraphsFromPages(pages);
    if (blocks.isEmpty())
        throw UnreadableDocument(UnreadableDocument::Reason::NoText,
                                 QCoreApplication::translate(
                                     "PdfReader", "\"%1\" has no text to read, not even in the pictures of its pages.")
                                     .arg(displayName(path)));
    return blocks;
}
